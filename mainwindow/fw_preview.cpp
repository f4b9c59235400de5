// Pages 1 to 3 of the main window: the large character, the character chart,
// the sample text, and the point-size box they share.
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <memory>
#include <utility>

#include "core/codepage.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "mainwindow/fw.h"

namespace gw {

namespace {

constexpr int kCharSymCodes[] = {0, 33, 63, 34, 36, 163, 153, 169, 174, 149, 147, 188};

} // namespace

// The face-name field holds at most 31 bytes; a longer family name only
// matches an installed family that begins with it.
QString FamilyOf(const char (&faceName)[32])
{
    const QString face = BytesToText(faceName, sizeof faceName);
    if (ToCp1252(face).size() < int(sizeof faceName) - 1)
        return face;
    for (const QString& family : QFontDatabase::families())
        if (family.startsWith(face, Qt::CaseInsensitive))
            return family;
    return face;
}

namespace {

// A positive size is the cell height (ascent + descent), as a logical font's
// height; Qt sizes fonts by the em, so the em is scaled from the font's metrics.
QFont GlyphFont(const EnumLogFont& elf, int size)
{
    QFont font(FamilyOf(elf.lfFaceName));
    font.setWeight(QFont::Weight(std::clamp(elf.lfWeight > 0 ? elf.lfWeight : 400, 1, 1000)));
    font.setItalic(elf.lfItalic != 0);
    const QString style = BytesToText(elf.elfStyle, sizeof elf.elfStyle);
    if (!style.isEmpty())
        font.setStyleName(style);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (size > 0) {
        constexpr int probe = 1000;
        font.setPixelSize(probe);
        const QFontMetricsF metrics(font);
        const qreal cell = metrics.ascent() + metrics.descent();
        const int em = cell > 0 ? qRound(qreal(size) * probe / cell) : size;
        font.setPixelSize(std::max(em, 1));
    } else if (size < 0) {
        font.setPixelSize(-size);
    }
    return font;
}

} // namespace

QString CharacterText(int code)
{
    if (code < 0 || code > 255)
        return QString();
    return QString(Cp1252Char(code));
}

void FW::ConnectPreviewEvents()
{
    // A user's action on a slider is a Scroll and a value set by the program a
    // Change; actionTriggered comes just before the value moves.
    const auto wire = [this](QScrollBar* bar, int index, void (FW::*change)(int),
                             void (FW::*scroll)(int)) {
        auto byUser = std::make_shared<bool>(false);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [bar, byUser](int) { *byUser = bar->sliderPosition() != bar->value(); });
        connect(bar, &QAbstractSlider::valueChanged, this, [=](int) {
            const bool scrolled = std::exchange(*byUser, false);
            (this->*(scrolled ? scroll : change))(index);
        });
    };
    for (int i = 1; i <= 2; ++i)
        wire(scrAnsi[i], i, &FW::scrAnsi_Change, &FW::scrAnsi_Scroll);
    for (int i = 1; i <= 3; ++i)
        wire(ScrSize[i], i, &FW::ScrSize_Change, &FW::ScrSize_Scroll);

    Spec->installEventFilter(this);
    for (PictureBox* cell : picChar)
        cell->installEventFilter(this);

    // Sizes are typed whole; completing "1" to "10" would change what was typed.
    lstPointSize->setCompleter(nullptr);
    lstPointSize->installEventFilter(this);
    lstPointSize->lineEdit()->installEventFilter(this);
    connect(lstPointSize, &QComboBox::activated, this, [this](int) { lstPointSize_Click(); });

    connect(mnuCharUpper, &QAction::triggered, this, [this] { mnuCharUpper_Click(); });
    connect(mnuCharLower, &QAction::triggered, this, [this] { mnuCharLower_Click(); });
    connect(mnuCharNumbers, &QAction::triggered, this, [this] { mnuCharNumbers_Click(); });
    connect(mnuCharAccents, &QAction::triggered, this, [this] { mnuCharAccents_Click(); });
    for (int i = 1; i <= 11; ++i)
        if (mnuCharSym[i])
            connect(mnuCharSym[i], &QAction::triggered, this, [this, i] { mnuCharSym_Click(i); });
}

bool FW::PreviewEvent(QObject* watched, QEvent* event)
{
    if (!watched || !event)
        return false;
    // The canvases keep their drawing, but a page shown again may show a
    // different style or character than when it was drawn.
    const bool redraw = event->type() == QEvent::Resize || event->type() == QEvent::Show;
    if (watched == Spec) {
        if (redraw)
            Spec_Paint();
        return false;
    }

    const auto cell = std::find(picChar.begin(), picChar.end(), watched);
    if (cell != picChar.end()) {
        const int k = int(cell - picChar.begin());
        if (redraw)
            picChar_Paint(k);
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton
                && picChar[k]->rect().contains(mouse->position().toPoint()))
                picChar_Click(k);
            break;
        }
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                picChar_DblClick(k);
            break;
        default:
            break;
        }
        return false;
    }

    if (lstPointSize && (watched == lstPointSize || watched == lstPointSize->lineEdit())) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const int k = key->key();
            const bool control = k == Qt::Key_Backspace || k == Qt::Key_Tab
                                 || k == Qt::Key_Return || k == Qt::Key_Enter;
            // Like a key-press event, only keys that type something are judged;
            // arrows, Delete and shortcuts keep their usual meaning.
            const bool typing = !key->text().isEmpty()
                                && !(key->modifiers()
                                     & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
            if ((control || typing) && !lstPointSize_KeyPress(k))
                return true;
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                lstPointSize_LostFocus();
        }
    }
    return false;
}

void FW::DrawGlyph(PictureBox* target, int styleIndex, int size, const QString& character,
                   const QColor& colour)
{
    if (!target || Loading || !fontList || fontList->Count() == 0)
        return;
    if (styleIndex < 1 || styleIndex > int(StyleFonts.size()))
        return;

    const bool chartCell = std::find(picChar.begin(), picChar.end(), target) != picChar.end();
    if (chartCell && size != LastChartSize) {
        target->Clear();
        LastChartSize = size;
    }
    target->Clear();

    const QFont font = GlyphFont(StyleFonts[size_t(styleIndex - 1)], size);
    CanvasPainter painter(target);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.setPen(colour);
    const int x = target->width() / 2;
    const int y = target->height() / 2 + size / 4;
    const qreal advance = QFontMetricsF(font, painter.device()).horizontalAdvance(character);
    painter.drawText(QPointF(x - advance / 2, y), character);
}

void FW::Spec_Paint()
{
    DrawGlyph(Spec, StyleIndex(), ScrSize[1]->value(), CharacterText(scrAnsi[1]->value()),
              Qt::black);
}

void FW::scrAnsi_Change(int index)
{
    if (index == 1) {
        const QString character = CharacterText(scrAnsi[1]->value());
        pnlAnsi[1]->setText(QString::number(scrAnsi[1]->value()));
        DrawGlyph(Spec, StyleIndex(), int(Val(lstPointSize->currentText())), character,
                  Qt::black);
        pnlKeystroke->setText(KeystrokeLabel(character));
    } else if (index == 2) {
        pnlAnsi[2]->setText(QString::number(scrAnsi[2]->value()));
        if (fontList && fontList->Count() > 0 && Attribs->count() > 0) {
            for (int k = 0; k < 16; ++k)
                picChar_Paint(k);
        }
    }
}

void FW::scrAnsi_Scroll(int index)
{
    scrAnsi_Change(index);
}

void FW::ScrSize_Change(int index)
{
    if (index < 1 || index > 3)
        return;
    const QString value = QString::number(ScrSize[index]->value());
    lstPointSize->setEditText(value);
    pnlSize[index]->setText(value);
    if (index == 1)
        Spec_Paint();
    else if (index == 2)
        scrAnsi_Change(2);
    else
        ApplySampleFont();
}

void FW::ScrSize_Scroll(int index)
{
    ScrSize_Change(index);
}

void FW::lstPointSize_Click()
{
    const int tab = CurrentTab();
    if (tab >= 1 && tab <= 3)
        ScrSize[tab]->setValue(int(Val(lstPointSize->currentText())));
}

bool FW::lstPointSize_KeyPress(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Backspace || key == Qt::Key_Tab
        || key == Qt::Key_Return || key == Qt::Key_Enter)
        return true;
    QApplication::beep();
    return false;
}

void FW::lstPointSize_LostFocus()
{
    const int tab = CurrentTab();
    if (tab < 1 || tab > 3)
        return;
    QScrollBar* slider = ScrSize[tab];
    const QString text = lstPointSize->currentText();
    const int v = int(Val(text));
    if (!text.isEmpty() && v >= 0 && v <= slider->maximum())
        slider->setValue(v);
    if (v >= slider->maximum()) {
        lstPointSize->setEditText(QString::number(slider->maximum()));
        slider->setValue(slider->maximum());
    }
    if (v < 8) {
        lstPointSize->setEditText(QStringLiteral("8"));
        slider->setValue(8);
    }
}

void FW::ApplySampleFont()
{
    QFont font = txtSample->font();
    font.setStyleName(QString());
    font.setBold(false);
    font.setItalic(false);
    QString style;
    if (fontList && fontList->Count() > 0 && Attribs->count() > 0) {
        const int index = StyleIndex();
        if (CurrentFontType == 1 && index >= 1 && index <= int(StyleFonts.size())) {
            const EnumLogFont& elf = StyleFonts[size_t(index - 1)];
            font.setFamily(FamilyOf(elf.lfFaceName));
            style = BytesToText(elf.elfFullName, sizeof elf.elfFullName);
        } else if (SelectedRow() >= 0) {
            font.setFamily(fontList->At(SelectedRow()).text);
        }
    }
    font.setPointSize(ScrSize[3]->value());
    if (style.contains(QLatin1String("Bold Italic"))) {
        font.setBold(true);
        font.setItalic(true);
    } else if (style.contains(QLatin1String("Bold"))) {
        font.setBold(true);
    } else if (style.contains(QLatin1String("Italic"))) {
        font.setItalic(true);
    }
    txtSample->setFont(font);
}

// ---- Character chart -------------------------------------------------------------

void FW::picChar_Paint(int index)
{
    if (index < 0 || index > 15)
        return;
    DrawGlyph(picChar[index], StyleIndex(), ScrSize[2]->value(),
              CharacterText(scrAnsi[2]->value() + index),
              index == SelectedCell ? Qt::white : Qt::black);
}

void FW::picChar_Click(int index)
{
    if (index < 0 || index > 15)
        return;
    const int old = std::clamp(SelectedCell, 0, 15);
    SelectedCell = index;
    picChar[old]->SetBackColor(Qt::white);
    picChar_Paint(old);
    picChar[index]->SetBackColor(picChar[index]->palette().color(QPalette::Highlight));
    picChar_Paint(index);
    const int code = scrAnsi[2]->value() + index;
    pnlAnsi[2]->setText(QString::number(code));
    pnlKeystroke->setText(KeystrokeLabel(CharacterText(code)));
}

void FW::picChar_DblClick(int index)
{
    if (index < 0 || index > 15)
        return;
    SelectTab(1);
    scrAnsi[1]->setValue(scrAnsi[2]->value() + index);
}

void FW::SetCharacterCode(int code)
{
    scrAnsi[1]->setValue(code);
    scrAnsi[2]->setValue(code);
}

void FW::mnuCharUpper_Click()
{
    SetCharacterCode(65);
}

void FW::mnuCharLower_Click()
{
    SetCharacterCode(97);
}

void FW::mnuCharNumbers_Click()
{
    SetCharacterCode(48);
}

void FW::mnuCharAccents_Click()
{
    SetCharacterCode(192);
}

void FW::mnuCharSym_Click(int index)
{
    if (index >= 1 && index <= 11)
        SetCharacterCode(kCharSymCodes[index]);
}

void FW::mnuEditCopy_Click()
{
    Sys().clipboard->Clear();
    switch (CurrentTab()) {
    case 1:
        Sys().clipboard->SetText(CharacterText(scrAnsi[1]->value()));
        break;
    case 2:
        Sys().clipboard->SetText(CharacterText(scrAnsi[2]->value() + SelectedCell));
        break;
    case 3:
        Sys().clipboard->SetText(
            txtSample->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'));
        break;
    default:
        break;
    }
}

} // namespace gw
