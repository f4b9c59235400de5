#include "keyboard/keyboardwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <cmath>

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "fonts/glyphs.h"
#include "keyboard/keypanel.h"

namespace gw {

namespace {

// Designed geometry, in twips.
constexpr int kMinWidth = 5775;
constexpr int kMinHeight = 2985;
constexpr int kKeysLeft = 75;
constexpr int kKeysTop = 540;
constexpr int kSeparator = 480;
constexpr int kButtonSide = 390;

// Widths of the wide keys in key units.
constexpr double kBackspace = 1.48, kTab = 1.48, kCaps = 1.8, kShift = 2.44, kCtrl = 1.8,
                 kAlt = 1.32, kSpace = 6.44;
// The widest row (the number row with Backspace), in key units.
constexpr double kWidestRow = 14 + kBackspace;

const char* const kSizes[] = {"6", "8", "10", "12", "14", "16", "18", "20"};

int Px(int twips)
{
    return TwipsToPixels(twips);
}

// The pictures of the two buttons, drawn rather than loaded.
QIcon ButtonPicture(bool copy, const QPalette& pal)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(pal.color(QPalette::ButtonText), 2));
    if (copy) {
        // Two sheets, one behind the other.
        p.setBrush(pal.color(QPalette::Base));
        p.drawRect(QRectF(5, 4, 15, 19));
        p.drawRect(QRectF(12, 10, 15, 19));
        for (int y = 16; y <= 24; y += 4)
            p.drawLine(QPointF(15, y), QPointF(24, y));
    } else {
        // A cross over a line of text: empty the box.
        for (int x = 4; x <= 24; x += 5)
            p.drawLine(QPointF(x, 25), QPointF(x + 3, 25));
        p.setPen(QPen(QColor(0xb0, 0x20, 0x20), 3));
        p.drawLine(QPointF(9, 5), QPointF(23, 19));
        p.drawLine(QPointF(23, 5), QPointF(9, 19));
    }
    return QIcon(pixmap);
}

} // namespace

KeyboardWindow::KeyboardWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("KeyboardWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    CreateControls();
    Form_Load();
}

KeyboardWindow::~KeyboardWindow()
{
    // Deleted without closing (with its owner): still save, but tell nobody.
    const QSignalBlocker quiet(this);
    Form_Unload();
}

// ---- Controls -------------------------------------------------------------------------

KeyPanel* KeyboardWindow::MakeKey(KeyRef ref, const QString& name, const QString& caption)
{
    auto* key = new KeyPanel(this);
    key->setObjectName(name);
    key->SetCaption(caption);
    connect(key, &KeyPanel::MouseDown, this, [this, ref] { Key_MouseDown(ref); });
    connect(key, &KeyPanel::MouseUp, this, [this, ref] { Key_MouseUp(ref); });
    if (ref.group == KeyGroup::Shift)
        connect(key, &KeyPanel::Click, this, [this, ref] { Shift_Click(ref.index); });
    else if (ref.group == KeyGroup::Caps)
        connect(key, &KeyPanel::Click, this, [this] { CapsKey_Click(); });
    return key;
}

void KeyboardWindow::CreateControls()
{
    setWindowTitle(QStringLiteral("Keyboard"));

    KillTextBox = new QToolButton(this);
    KillTextBox->setObjectName(QStringLiteral("KillTextBox"));
    KillTextBox->setIcon(ButtonPicture(false, palette()));
    KillTextBox->setToolTip(QStringLiteral("Clear"));
    connect(KillTextBox, &QToolButton::clicked, this, [this] { KillTextBox_Click(); });

    cmdCopy = new QToolButton(this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setIcon(ButtonPicture(true, palette()));
    cmdCopy->setToolTip(QStringLiteral("Copy"));
    connect(cmdCopy, &QToolButton::clicked, this, [this] { cmdCopy_Click(); });

    cmbFontSize = new QComboBox(this);
    cmbFontSize->setObjectName(QStringLiteral("cmbFontSize"));
    for (const char* size : kSizes)
        cmbFontSize->addItem(QString::fromLatin1(size));
    connect(cmbFontSize, &QComboBox::currentIndexChanged, this, [this] { cmbFontSize_Click(); });

    TextBox = new QLineEdit(this);
    TextBox->setObjectName(QStringLiteral("TextBox"));
    for (QWidget* control : {static_cast<QWidget*>(TextBox), static_cast<QWidget*>(cmbFontSize),
                             static_cast<QWidget*>(KillTextBox), static_cast<QWidget*>(cmdCopy)})
        control->installEventFilter(this);

    const struct {
        KeyGroup row;
        std::function<KeyPanel*&(int)> slot;
        const char* name;
    } rows[] = {
        {KeyGroup::KB, [this](int i) -> KeyPanel*& { return KB[size_t(i)]; }, "KB"},
        {KeyGroup::KB2, [this](int i) -> KeyPanel*& { return KB2[size_t(i)]; }, "KB2"},
        {KeyGroup::KB3, [this](int i) -> KeyPanel*& { return KB3[size_t(i)]; }, "KB3"},
        {KeyGroup::KB4, [this](int i) -> KeyPanel*& { return KB4[size_t(i)]; }, "KB4"},
    };
    for (const auto& row : rows)
        for (int i = FirstKeyIndex(row.row); i <= LastKeyIndex(row.row); ++i)
            row.slot(i) = MakeKey({row.row, i}, QStringLiteral("%1_%2").arg(row.name).arg(i),
                                  KeyCaption(row.row, i, false, false));

    BackspaceKey = MakeKey({KeyGroup::Backspace, 0}, QStringLiteral("BackspaceKey"), {});
    TabKey = MakeKey({KeyGroup::Tab, 0}, QStringLiteral("TabKey"), QStringLiteral("Tab"));
    CapsKey = MakeKey({KeyGroup::Caps, 0}, QStringLiteral("CapsKey"), QStringLiteral("Caps"));
    SpaceBar = MakeKey({KeyGroup::Space, 0}, QStringLiteral("SpaceBar"), {});
    for (int i = 1; i <= 2; ++i) {
        Shift[size_t(i)] = MakeKey({KeyGroup::Shift, i}, QStringLiteral("Shift_%1").arg(i),
                                   QStringLiteral("Shift"));
        Ctrl[size_t(i)] = MakeKey({KeyGroup::Ctrl, i}, QStringLiteral("Ctrl_%1").arg(i),
                                  QStringLiteral("Ctrl"));
        Alt[size_t(i)] = MakeKey({KeyGroup::Alt, i}, QStringLiteral("Alt_%1").arg(i),
                                 QStringLiteral("Alt"));
    }

    setMinimumSize(Px(kMinWidth), Px(kMinHeight));
}

KeyPanel* KeyboardWindow::Key(KeyRef ref) const
{
    const auto at = [&ref](const auto& array) -> KeyPanel* {
        return ref.index >= 0 && ref.index < int(array.size()) ? array[size_t(ref.index)] : nullptr;
    };
    switch (ref.group) {
    case KeyGroup::KB: return at(KB);
    case KeyGroup::KB2: return at(KB2);
    case KeyGroup::KB3: return at(KB3);
    case KeyGroup::KB4: return at(KB4);
    case KeyGroup::Backspace: return BackspaceKey;
    case KeyGroup::Tab: return TabKey;
    case KeyGroup::Caps: return CapsKey;
    case KeyGroup::Space: return SpaceBar;
    case KeyGroup::Shift: return at(Shift);
    case KeyGroup::Ctrl: return at(Ctrl);
    case KeyGroup::Alt: return at(Alt);
    case KeyGroup::None: break;
    }
    return nullptr;
}

QVector<KeyPanel*> KeyboardWindow::TypingKeys() const
{
    QVector<KeyPanel*> keys;
    for (KeyGroup row : {KeyGroup::KB, KeyGroup::KB2, KeyGroup::KB3, KeyGroup::KB4})
        for (int i = FirstKeyIndex(row); i <= LastKeyIndex(row); ++i)
            keys.append(Key({row, i}));
    return keys;
}

QVector<KeyPanel*> KeyboardWindow::KeysOf(KeyRef ref) const
{
    const bool pair = ref.group == KeyGroup::Shift || ref.group == KeyGroup::Ctrl
                      || ref.group == KeyGroup::Alt;
    if (pair && ref.index == 0)
        return {Key({ref.group, 1}), Key({ref.group, 2})};
    if (KeyPanel* key = Key(ref))
        return {key};
    return {};
}

// ---- Loading and the font ----------------------------------------------------------------

void KeyboardWindow::Form_Load()
{
    int size = ReadIniInt(QStringLiteral("Keyboard"), QStringLiteral("FontSize"), 3, IniFile);
    if (size < 0 || size >= cmbFontSize->count())
        size = 3;
    {
        const QSignalBlocker quiet(cmbFontSize);
        cmbFontSize->setCurrentIndex(size);
    }
    ApplyFont({});

    // A first opening has no placement to restore: the designed size, centred.
    if (ReadIniString(QStringLiteral("Keyboard"), QStringLiteral("Width"), QString(), IniFile)
            .isEmpty()) {
        resize(minimumSize());
        CentreForm(this);
    } else {
        LoadFormPlacement(this, QStringLiteral("Keyboard"), IniFile);
    }
    Form_Resize();
    FollowCapsLock();
}

void KeyboardWindow::ApplyFont(const KeyFont& chosen)
{
    QFont font = this->font();
    if (!chosen.family.isEmpty()) {
        font = QFont(chosen.family);
        if (!chosen.styleName.isEmpty())
            font.setStyleName(chosen.styleName);
        font.setWeight(QFont::Weight(std::clamp(chosen.weight > 0 ? chosen.weight : 400, 1, 1000)));
        font.setItalic(chosen.italic);
        // A character the font lacks shows the font's own "missing" glyph, never another font's.
        font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferAntialias));
    }
    font.setPointSizeF(this->font().pointSizeF());
    TextBox->setFont(font);
    anyCaption_ = chosen.family.isEmpty();
    captionFile_ = chosen.file;
    captionFont_ = font;
    captionFont_.setPointSize(int(Val(cmbFontSize->currentText())));
    ShowCaptions();
}

void KeyboardWindow::cmbFontSize_Click()
{
    captionFont_.setPointSize(int(Val(cmbFontSize->currentText())));
    ShowCaptions();
}

// ---- Captions, Shift and Caps --------------------------------------------------------------

void KeyboardWindow::ShowCaptions()
{
    const bool shift = shiftLatched_ || realShift_;
    for (KeyGroup row : {KeyGroup::KB, KeyGroup::KB2, KeyGroup::KB3, KeyGroup::KB4}) {
        for (int i = FirstKeyIndex(row); i <= LastKeyIndex(row); ++i) {
            KeyPanel* key = Key({row, i});
            const QString caption = KeyCaption(row, i, shift, capsLatched_);
            key->SetCaption(caption);
            const bool own = anyCaption_ || FontDrawsCharacter(captionFont_, captionFile_, 0, caption.at(0).unicode());
            key->SetCaptionFont(captionFont_, own);
        }
    }
}

void KeyboardWindow::SetShiftKeys(bool down)
{
    Shift[1]->SetDown(down);
    Shift[2]->SetDown(down);
}

void KeyboardWindow::Shift_Click(int index)
{
    if (index < 1 || index > 2)
        return;
    if (capsLatched_) {
        capsLatched_ = false;
        CapsKey->SetDown(false);
        Sys().keyboard->SetCapsLock(false);
    }
    shiftLatched_ = !Shift[size_t(index)]->IsDown();
    SetShiftKeys(shiftLatched_);
    ShowCaptions();
}

void KeyboardWindow::CapsKey_Click()
{
    shiftLatched_ = false;
    SetShiftKeys(false);
    capsLatched_ = !capsLatched_;
    CapsKey->SetDown(capsLatched_);
    Sys().keyboard->SetCapsLock(capsLatched_);
    ShowCaptions();
}

void KeyboardWindow::FollowCapsLock()
{
    const bool on = Sys().keyboard->CapsLock();
    CapsKey->SetDown(on);
    if (on != capsLatched_) {
        capsLatched_ = on;
        ShowCaptions();
    }
}

// ---- Clicking keys --------------------------------------------------------------------------

void KeyboardWindow::Key_MouseDown(KeyRef key)
{
    if (key.group == KeyGroup::Shift || key.group == KeyGroup::Caps)
        return;  // these latch on Click
    if (KeyPanel* panel = Key(key))
        panel->SetDown(true);
    if (key.group == KeyGroup::Backspace)
        TextBox->backspace();
}

void KeyboardWindow::Key_MouseUp(KeyRef key)
{
    if (key.group == KeyGroup::Shift || key.group == KeyGroup::Caps)
        return;
    KeyPanel* panel = Key(key);
    if (!panel)
        return;
    panel->SetDown(false);
    TextBox->setFocus(Qt::OtherFocusReason);
    switch (key.group) {
    case KeyGroup::KB:
    case KeyGroup::KB2:
    case KeyGroup::KB3:
    case KeyGroup::KB4:
        // Inserted as text, so "%", "^", "{" and the like arrive as themselves.
        TextBox->insert(panel->Caption());
        break;
    case KeyGroup::Space:
        TextBox->insert(QStringLiteral(" "));
        break;
    default:
        break;  // Ctrl, Alt and Tab only change their look
    }
}

// ---- The real keyboard --------------------------------------------------------------------------

void KeyboardWindow::AnimateKey(const QKeyEvent& event, bool down)
{
    const KeyRef key = KeyForCode(KeyCodeOf(event));
    switch (key.group) {
    case KeyGroup::None:
        return;
    case KeyGroup::Shift:
        realShift_ = down;
        SetShiftKeys(down || shiftLatched_);
        ShowCaptions();
        return;
    case KeyGroup::Caps:
        if (down)
            Sys().keyboard->CapsKeyPressed();
        CapsKey->SetDown(true);
        if (!down)
            FollowCapsLock();
        return;
    default:
        for (KeyPanel* panel : KeysOf(key))
            panel->SetDown(down);
        return;
    }
}

void KeyboardWindow::Form_KeyDown(const QKeyEvent& event)
{
    if (!event.isAutoRepeat())
        AnimateKey(event, true);
}

void KeyboardWindow::Form_KeyUp(const QKeyEvent& event)
{
    if (!event.isAutoRepeat())
        AnimateKey(event, false);
}

void KeyboardWindow::TextBox_KeyPress(QChar ch)
{
    if (ch == QChar(8) || !ShowCharacterCode)
        return;
    const int code = Cp1252Code(ch);
    if (code >= 0)
        ShowCharacterCode(code);
}

// Every control that can hold the focus passes its keys here first, so each
// real key is seen once, whichever control has the focus.
bool KeyboardWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyRelease) {
            Form_KeyUp(*key);
        } else {
            Form_KeyDown(*key);
            if (watched == TextBox && !key->text().isEmpty() && key->text().at(0).isPrint())
                TextBox_KeyPress(key->text().at(0));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KeyboardWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Caps Lock may have changed while another window had the keyboard.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FollowCapsLock();
}

// ---- Copy and clear --------------------------------------------------------------------------------

void KeyboardWindow::cmdCopy_Click()
{
    Sys().clipboard->Clear();
    Sys().clipboard->SetText(TextBox->text());
}

void KeyboardWindow::KillTextBox_Click()
{
    TextBox->clear();
}

// ---- Layout -------------------------------------------------------------------------------------------

bool KeyboardWindow::Form_Resize()
{
    if (width() < Px(kMinWidth) || height() < Px(kMinHeight))
        return false;

    const int side = Px(kButtonSide);
    KillTextBox->setGeometry(Px(60), Px(40), side, side);
    cmdCopy->setGeometry(Px(480), Px(40), side, side);
    const int boxHeight = std::min(side, std::max(cmbFontSize->sizeHint().height(),
                                                  TextBox->sizeHint().height()));
    const int boxTop = Px(40) + (side - boxHeight) / 2;
    cmbFontSize->setGeometry(Px(1005), boxTop, Px(735), boxHeight);
    // The text box takes the width left of it, the designed width at least.
    TextBox->setGeometry(Px(1815), boxTop, std::max(Px(3495), width() - Px(1815) - Px(60)),
                         boxHeight);

    const double byWidth = (width() - 2 * Px(kKeysLeft)) / kWidestRow;
    const double byHeight = (height() - Px(kKeysTop) - Px(kKeysLeft)) / 5.0;
    const double u = std::max(1.0, std::floor(std::min(byWidth, byHeight)));
    unit_ = int(u);

    int top = Px(kKeysTop);
    auto placeRow = [&](const QVector<QPair<KeyPanel*, double>>& keys) {
        double x = Px(kKeysLeft);
        for (const auto& [key, units] : keys) {
            const int left = int(std::lround(x));
            x += units * u;
            key->setGeometry(left, top, int(std::lround(x)) - left, unit_);
        }
        top += unit_;
    };
    QVector<QPair<KeyPanel*, double>> row;
    for (int i = 0; i <= 13; ++i)
        row.append({KB[size_t(i)], 1});
    row.append({BackspaceKey, kBackspace});
    placeRow(row);

    row = {{TabKey, kTab}};
    for (int i = 1; i <= 12; ++i)
        row.append({KB2[size_t(i)], 1});
    placeRow(row);

    row = {{CapsKey, kCaps}};
    for (int i = 1; i <= 11; ++i)
        row.append({KB3[size_t(i)], 1});
    placeRow(row);

    row = {{Shift[1], kShift}};
    for (int i = 1; i <= 10; ++i)
        row.append({KB4[size_t(i)], 1});
    row.append({Shift[2], kShift});
    placeRow(row);

    placeRow({{Ctrl[1], kCtrl}, {Alt[1], kAlt}, {SpaceBar, kSpace}, {Alt[2], kAlt}, {Ctrl[2], kCtrl}});
    update();
    return true;
}

void KeyboardWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void KeyboardWindow::paintEvent(QPaintEvent*)
{
    // Line1 and Line2: an etched separator under the text box, the window's width.
    QPainter p(this);
    const int y = Px(kSeparator);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, y, width(), y);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, y + 1, width(), y + 1);
}

// ---- Closing -----------------------------------------------------------------------------------------------

void KeyboardWindow::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    KeyboardOpen = false;
    WriteIniString(QStringLiteral("Keyboard"), QStringLiteral("FontSize"),
                   QString::number(cmbFontSize->currentIndex()), IniFile);
    SaveFormPlacement(this, QStringLiteral("Keyboard"), IniFile);
    emit Unloaded();
}

void KeyboardWindow::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

} // namespace gw
