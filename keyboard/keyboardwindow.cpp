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

// The window's geometry at its smallest, in twips.
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

// The typing rows from the top, and the names their keys' objects take.
constexpr std::array<KeyGroup, 4> kTypingRows = {KeyGroup::NumberRow, KeyGroup::TopRow, KeyGroup::HomeRow,
                                                  KeyGroup::BottomRow};
const char* const kTypingRowNames[] = {"numberRow", "topRow", "homeRow", "bottomRow"};

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
    RestoreSettings();
}

KeyboardWindow::~KeyboardWindow()
{
    // Deleted without closing (with its owner): still save, but tell nobody.
    const QSignalBlocker quiet(this);
    Unload();
}

// ---- Controls -------------------------------------------------------------------------

KeyPanel* KeyboardWindow::MakeKey(KeyRef ref, const QString& name, const QString& caption)
{
    auto* key = new KeyPanel(this);
    key->setObjectName(name);
    key->SetCaption(caption);
    connect(key, &KeyPanel::MouseDown, this, [this, ref] { PressKey(ref); });
    connect(key, &KeyPanel::MouseUp, this, [this, ref] { ReleaseKey(ref); });
    if (ref.group == KeyGroup::Shift)
        connect(key, &KeyPanel::Click, this, [this, ref] { LatchShift(ref.index); });
    else if (ref.group == KeyGroup::Caps)
        connect(key, &KeyPanel::Click, this, [this] { ToggleCaps(); });
    return key;
}

void KeyboardWindow::CreateControls()
{
    setWindowTitle(QStringLiteral("Keyboard"));

    clearButton_ = new QToolButton(this);
    clearButton_->setObjectName(QStringLiteral("clearButton"));
    clearButton_->setIcon(ButtonPicture(false, palette()));
    clearButton_->setToolTip(QStringLiteral("Clear"));
    connect(clearButton_, &QToolButton::clicked, this, [this] { ClearText(); });

    copyButton_ = new QToolButton(this);
    copyButton_->setObjectName(QStringLiteral("copyButton"));
    copyButton_->setIcon(ButtonPicture(true, palette()));
    copyButton_->setToolTip(QStringLiteral("Copy"));
    connect(copyButton_, &QToolButton::clicked, this, [this] { CopyText(); });

    keySizeBox_ = new QComboBox(this);
    keySizeBox_->setObjectName(QStringLiteral("keySizeBox"));
    for (const char* size : kSizes)
        keySizeBox_->addItem(QString::fromLatin1(size));
    connect(keySizeBox_, &QComboBox::currentIndexChanged, this, [this] { ApplyKeySize(); });

    textEdit_ = new QLineEdit(this);
    textEdit_->setObjectName(QStringLiteral("textEdit"));
    for (QWidget* control : {static_cast<QWidget*>(textEdit_), static_cast<QWidget*>(keySizeBox_),
                             static_cast<QWidget*>(clearButton_), static_cast<QWidget*>(copyButton_)})
        control->installEventFilter(this);

    for (size_t row = 0; row < kTypingRows.size(); ++row) {
        const KeyGroup group = kTypingRows[row];
        for (int column = FirstColumn(group); column <= LastColumn(group); ++column)
            typingKeys_[row][size_t(column)] =
                MakeKey({group, column}, QStringLiteral("%1Key%2").arg(QLatin1String(kTypingRowNames[row])).arg(column),
                        KeyCaption(group, column, false, false));
    }

    backspaceKey_ = MakeKey({KeyGroup::Backspace, 0}, QStringLiteral("backspaceKey"), {});
    tabKey_ = MakeKey({KeyGroup::Tab, 0}, QStringLiteral("tabKey"), QStringLiteral("Tab"));
    capsKey_ = MakeKey({KeyGroup::Caps, 0}, QStringLiteral("capsKey"), QStringLiteral("Caps"));
    spaceBar_ = MakeKey({KeyGroup::Space, 0}, QStringLiteral("spaceBar"), {});
    for (int side = 0; side < 2; ++side) {
        const QString sideName = side == 0 ? QStringLiteral("left") : QStringLiteral("right");
        shiftKeys_[size_t(side)] =
            MakeKey({KeyGroup::Shift, side}, sideName + QStringLiteral("ShiftKey"), QStringLiteral("Shift"));
        ctrlKeys_[size_t(side)] =
            MakeKey({KeyGroup::Ctrl, side}, sideName + QStringLiteral("CtrlKey"), QStringLiteral("Ctrl"));
        altKeys_[size_t(side)] =
            MakeKey({KeyGroup::Alt, side}, sideName + QStringLiteral("AltKey"), QStringLiteral("Alt"));
    }

    setMinimumSize(Px(kMinWidth), Px(kMinHeight));
}

KeyPanel* KeyboardWindow::Key(KeyRef ref) const
{
    const auto at = [&ref](const auto& array) -> KeyPanel* {
        return ref.index >= 0 && ref.index < int(array.size()) ? array[size_t(ref.index)] : nullptr;
    };
    switch (ref.group) {
    case KeyGroup::NumberRow: return at(typingKeys_[0]);
    case KeyGroup::TopRow: return at(typingKeys_[1]);
    case KeyGroup::HomeRow: return at(typingKeys_[2]);
    case KeyGroup::BottomRow: return at(typingKeys_[3]);
    case KeyGroup::Backspace: return backspaceKey_;
    case KeyGroup::Tab: return tabKey_;
    case KeyGroup::Caps: return capsKey_;
    case KeyGroup::Space: return spaceBar_;
    case KeyGroup::Shift: return at(shiftKeys_);
    case KeyGroup::Ctrl: return at(ctrlKeys_);
    case KeyGroup::Alt: return at(altKeys_);
    case KeyGroup::None: break;
    }
    return nullptr;
}

QVector<KeyPanel*> KeyboardWindow::KeysOf(KeyRef ref) const
{
    const bool pair = ref.group == KeyGroup::Shift || ref.group == KeyGroup::Ctrl
                      || ref.group == KeyGroup::Alt;
    if (pair && ref.index == kBothSides)
        return {Key({ref.group, 0}), Key({ref.group, 1})};
    if (KeyPanel* key = Key(ref))
        return {key};
    return {};
}

// ---- Loading and the font ----------------------------------------------------------------

void KeyboardWindow::RestoreSettings()
{
    int size = ReadIniInt(QStringLiteral("Keyboard"), QStringLiteral("FontSize"), 3, IniFile);
    if (size < 0 || size >= keySizeBox_->count())
        size = 3;
    {
        const QSignalBlocker quiet(keySizeBox_);
        keySizeBox_->setCurrentIndex(size);
    }
    ApplyFont({});

    // A first opening has no placement to restore: the smallest size, centred.
    if (ReadIniString(QStringLiteral("Keyboard"), QStringLiteral("Width"), QString(), IniFile)
            .isEmpty()) {
        resize(minimumSize());
        CentreForm(this);
    } else {
        LoadFormPlacement(this, QStringLiteral("Keyboard"), IniFile);
    }
    LayOutKeys();
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
    textEdit_->setFont(font);
    anyCaption_ = chosen.family.isEmpty();
    captionFile_ = chosen.file;
    captionFont_ = font;
    captionFont_.setPointSize(int(Val(keySizeBox_->currentText())));
    ShowCaptions();
}

void KeyboardWindow::ApplyKeySize()
{
    captionFont_.setPointSize(int(Val(keySizeBox_->currentText())));
    ShowCaptions();
}

// ---- Captions, Shift and Caps --------------------------------------------------------------

void KeyboardWindow::ShowCaptions()
{
    const bool shift = shiftLatched_ || realShift_;
    for (KeyGroup row : {KeyGroup::NumberRow, KeyGroup::TopRow, KeyGroup::HomeRow, KeyGroup::BottomRow}) {
        for (int i = FirstColumn(row); i <= LastColumn(row); ++i) {
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
    shiftKeys_[0]->SetDown(down);
    shiftKeys_[1]->SetDown(down);
}

void KeyboardWindow::LatchShift(int side)
{
    if (side < 0 || side > 1)
        return;
    if (capsLatched_) {
        capsLatched_ = false;
        capsKey_->SetDown(false);
        Sys().keyboard->SetCapsLock(false);
    }
    shiftLatched_ = !shiftKeys_[size_t(side)]->IsDown();
    SetShiftKeys(shiftLatched_);
    ShowCaptions();
}

void KeyboardWindow::ToggleCaps()
{
    shiftLatched_ = false;
    SetShiftKeys(false);
    capsLatched_ = !capsLatched_;
    capsKey_->SetDown(capsLatched_);
    Sys().keyboard->SetCapsLock(capsLatched_);
    ShowCaptions();
}

void KeyboardWindow::FollowCapsLock()
{
    const bool on = Sys().keyboard->CapsLock();
    capsKey_->SetDown(on);
    if (on != capsLatched_) {
        capsLatched_ = on;
        ShowCaptions();
    }
}

// ---- Clicking keys --------------------------------------------------------------------------

void KeyboardWindow::PressKey(KeyRef key)
{
    if (key.group == KeyGroup::Shift || key.group == KeyGroup::Caps)
        return;  // these latch on Click
    if (KeyPanel* panel = Key(key))
        panel->SetDown(true);
    if (key.group == KeyGroup::Backspace)
        textEdit_->backspace();
}

void KeyboardWindow::ReleaseKey(KeyRef key)
{
    if (key.group == KeyGroup::Shift || key.group == KeyGroup::Caps)
        return;
    KeyPanel* panel = Key(key);
    if (!panel)
        return;
    panel->SetDown(false);
    textEdit_->setFocus(Qt::OtherFocusReason);
    switch (key.group) {
    case KeyGroup::NumberRow:
    case KeyGroup::TopRow:
    case KeyGroup::HomeRow:
    case KeyGroup::BottomRow:
        // Inserted as text, so "%", "^", "{" and the like arrive as themselves.
        textEdit_->insert(panel->Caption());
        break;
    case KeyGroup::Space:
        textEdit_->insert(QStringLiteral(" "));
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
        capsKey_->SetDown(true);
        if (!down)
            FollowCapsLock();
        return;
    default:
        for (KeyPanel* panel : KeysOf(key))
            panel->SetDown(down);
        return;
    }
}

void KeyboardWindow::RealKeyPressed(const QKeyEvent& event)
{
    if (!event.isAutoRepeat())
        AnimateKey(event, true);
}

void KeyboardWindow::RealKeyReleased(const QKeyEvent& event)
{
    if (!event.isAutoRepeat())
        AnimateKey(event, false);
}

void KeyboardWindow::ShowTypedCode(QChar ch)
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
            RealKeyReleased(*key);
        } else {
            RealKeyPressed(*key);
            if (watched == textEdit_ && !key->text().isEmpty() && key->text().at(0).isPrint())
                ShowTypedCode(key->text().at(0));
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

void KeyboardWindow::CopyText()
{
    Sys().clipboard->Clear();
    Sys().clipboard->SetText(textEdit_->text());
}

void KeyboardWindow::ClearText()
{
    textEdit_->clear();
}

// ---- Layout -------------------------------------------------------------------------------------------

bool KeyboardWindow::LayOutKeys()
{
    if (width() < Px(kMinWidth) || height() < Px(kMinHeight))
        return false;

    const int side = Px(kButtonSide);
    clearButton_->setGeometry(Px(60), Px(40), side, side);
    copyButton_->setGeometry(Px(480), Px(40), side, side);
    const int boxHeight = std::min(side, std::max(keySizeBox_->sizeHint().height(),
                                                  textEdit_->sizeHint().height()));
    const int boxTop = Px(40) + (side - boxHeight) / 2;
    keySizeBox_->setGeometry(Px(1005), boxTop, Px(735), boxHeight);
    // The text box takes the width left of it, 3495 twips at least.
    textEdit_->setGeometry(Px(1815), boxTop, std::max(Px(3495), width() - Px(1815) - Px(60)),
                         boxHeight);

    const double byWidth = (width() - 2 * Px(kKeysLeft)) / kWidestRow;
    const double byHeight = (height() - Px(kKeysTop) - Px(kKeysLeft)) / 5.0;
    const double u = std::max(1.0, std::floor(std::min(byWidth, byHeight)));
    const int unit = int(u);

    int top = Px(kKeysTop);
    auto placeRow = [&](const QVector<QPair<KeyPanel*, double>>& keys) {
        double x = Px(kKeysLeft);
        for (const auto& [key, units] : keys) {
            const int left = int(std::lround(x));
            x += units * u;
            key->setGeometry(left, top, int(std::lround(x)) - left, unit);
        }
        top += unit;
    };
    QVector<QPair<KeyPanel*, double>> row;
    for (int column = 0; column <= 13; ++column)
        row.append({typingKeys_[0][size_t(column)], 1});
    row.append({backspaceKey_, kBackspace});
    placeRow(row);

    row = {{tabKey_, kTab}};
    for (int column = 1; column <= 12; ++column)
        row.append({typingKeys_[1][size_t(column)], 1});
    placeRow(row);

    row = {{capsKey_, kCaps}};
    for (int column = 1; column <= 11; ++column)
        row.append({typingKeys_[2][size_t(column)], 1});
    placeRow(row);

    row = {{shiftKeys_[0], kShift}};
    for (int column = 1; column <= 10; ++column)
        row.append({typingKeys_[3][size_t(column)], 1});
    row.append({shiftKeys_[1], kShift});
    placeRow(row);

    placeRow({{ctrlKeys_[0], kCtrl}, {altKeys_[0], kAlt}, {spaceBar_, kSpace}, {altKeys_[1], kAlt}, {ctrlKeys_[1], kCtrl}});
    update();
    return true;
}

void KeyboardWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutKeys();
}

void KeyboardWindow::paintEvent(QPaintEvent*)
{
    // An etched separator under the text box, the window's width.
    QPainter p(this);
    const int y = Px(kSeparator);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, y, width(), y);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, y + 1, width(), y + 1);
}

// ---- Closing -----------------------------------------------------------------------------------------------

void KeyboardWindow::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    KeyboardOpen = false;
    WriteIniString(QStringLiteral("Keyboard"), QStringLiteral("FontSize"),
                   QString::number(keySizeBox_->currentIndex()), IniFile);
    SaveFormPlacement(this, QStringLiteral("Keyboard"), IniFile);
    emit Unloaded();
}

void KeyboardWindow::closeEvent(QCloseEvent* event)
{
    Unload();
    event->accept();
}

} // namespace gw
