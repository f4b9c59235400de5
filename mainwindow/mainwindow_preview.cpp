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

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/picturebox.h"
#include "fonts/glyphs.h"
#include "mainwindow/mainwindow.h"

namespace gw {

namespace {

constexpr int kCharSymCodes[] = {0, 33, 63, 34, 36, 163, 153, 169, 174, 149, 147, 188};

} // namespace

QString CharacterText(int code)
{
    if (code < 0 || code > 255)
        return QString();
    return QString(Cp1252Char(code));
}

void MainWindow::ConnectPreviewEvents()
{
    // A user's action on a slider is a Scroll and a value set by the program a
    // Change; actionTriggered comes just before the value moves.
    const auto wire = [this](QScrollBar* bar, int index, void (MainWindow::*change)(int),
                             void (MainWindow::*scroll)(int)) {
        auto byUser = std::make_shared<bool>(false);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [bar, byUser](int) { *byUser = bar->sliderPosition() != bar->value(); });
        connect(bar, &QAbstractSlider::valueChanged, this, [=](int) {
            const bool scrolled = std::exchange(*byUser, false);
            (this->*(scrolled ? scroll : change))(index);
        });
    };
    for (int i = 1; i <= 2; ++i)
        wire(scrAnsi[i], i, &MainWindow::scrAnsi_Change, &MainWindow::scrAnsi_Scroll);
    for (int i = 1; i <= 3; ++i)
        wire(ScrSize[i], i, &MainWindow::ScrSize_Change, &MainWindow::ScrSize_Scroll);

    Spec->installEventFilter(this);
    for (PictureBox* cell : picChar) {
        cell->installEventFilter(this);
        // A click on a cell puts the focus on the chart, whose arrow keys move the selection.
        cell->setFocusPolicy(Qt::ClickFocus);
        cell->setFocusProxy(chartGrid_);
    }
    chartGrid_->setObjectName(QStringLiteral("chartGrid"));
    chartGrid_->setFocusPolicy(Qt::StrongFocus);
    chartGrid_->installEventFilter(this);
    for (QScrollBar* bar : {scrAnsi[1], scrAnsi[2], ScrSize[1], ScrSize[2], ScrSize[3]})
        bar->setFocusPolicy(Qt::StrongFocus);

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

bool MainWindow::PreviewEvent(QObject* watched, QEvent* event)
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

    if (watched == chartGrid_ && event->type() == QEvent::KeyPress) {
        const int steps[][2] = {{Qt::Key_Left, -1}, {Qt::Key_Right, 1}, {Qt::Key_Up, -4}, {Qt::Key_Down, 4}};
        for (const auto& s : steps)
            if (static_cast<QKeyEvent*>(event)->key() == s[0]) {
                MoveSelectedCell(s[1]);
                return true;
            }
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
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                // Enter applies the typed size at once, to the page it was typed on.
                lstPointSize_LostFocus();
                return true;
            }
            if ((typing || k == Qt::Key_Backspace || k == Qt::Key_Delete) && CurrentTab() <= 3)
                sizeTypedOnTab_ = CurrentTab();
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                lstPointSize_LostFocus();
        }
    }
    return false;
}

void MainWindow::DrawGlyph(PictureBox* target, int styleIndex, int size, const QString& character,
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

    const EnumLogFont& elf = StyleFonts[size_t(styleIndex - 1)];
    CanvasPainter painter(target);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);
    const int x = target->width() / 2;
    const int y = target->height() / 2 + size / 4;
    DrawFontCharacter(painter, elf, ExactFont(elf, size), QPointF(x, y), character, colour, size);
}

void MainWindow::Spec_Paint()
{
    DrawGlyph(Spec, StyleIndex(), ScrSize[1]->value(), ChartCharacter(scrAnsi[1]->value()),
              Qt::black);
}

void MainWindow::scrAnsi_Change(int index)
{
    if (index == 1) {
        const QString character = ChartCharacter(scrAnsi[1]->value());
        pnlAnsi[1]->setText(QString::number(scrAnsi[1]->value()));
        ShowCharacterName(1);
        DrawGlyph(Spec, StyleIndex(), int(Val(lstPointSize->currentText())), character,
                  Qt::black);
        ShowKeystroke(character);
    } else if (index == 2) {
        pnlAnsi[2]->setText(QString::number(scrAnsi[2]->value()));
        ShowCharacterName(2);
        if (fontList && fontList->Count() > 0 && Attribs->count() > 0) {
            for (int k = 0; k < 16; ++k)
                picChar_Paint(k);
        }
    }
}

void MainWindow::scrAnsi_Scroll(int index)
{
    scrAnsi_Change(index);
}

void MainWindow::ScrSize_Change(int index)
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

void MainWindow::ScrSize_Scroll(int index)
{
    ScrSize_Change(index);
}

void MainWindow::lstPointSize_Click()
{
    const int tab = CurrentTab();
    if (tab >= 1 && tab <= 3)
        ScrSize[tab]->setValue(int(Val(lstPointSize->currentText())));
}

bool MainWindow::lstPointSize_KeyPress(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Backspace || key == Qt::Key_Tab
        || key == Qt::Key_Return || key == Qt::Key_Enter)
        return true;
    QApplication::beep();
    return false;
}

void MainWindow::lstPointSize_LostFocus()
{
    // A size typed on one page belongs to that page, even when the focus
    // leaves the box because another tab was clicked.
    const int tab = sizeTypedOnTab_ ? sizeTypedOnTab_ : CurrentTab();
    sizeTypedOnTab_ = 0;
    if (tab < 1 || tab > 3)
        return;
    QScrollBar* slider = ScrSize[tab];
    const QString text = lstPointSize->currentText();
    const int v = int(Val(text));
    const bool showing = tab == CurrentTab();
    auto show = [&](const QString& value) {
        if (showing)
            lstPointSize->setEditText(value);
    };
    if (!text.isEmpty() && v >= 0 && v <= slider->maximum())
        slider->setValue(v);
    if (v >= slider->maximum()) {
        show(QString::number(slider->maximum()));
        slider->setValue(slider->maximum());
    }
    if (v < 8) {
        show(QStringLiteral("8"));
        slider->setValue(8);
    }
    if (!showing)
        lstPointSize->setEditText(QString::number(ScrSize[CurrentTab() <= 3 ? CurrentTab() : tab]->value()));
}

// The sample shows the exact style chosen, as the large character and the chart
// do, for every kind of font; characters the font lacks are greyed out.
void MainWindow::ApplySampleFont()
{
    QFont font = txtSample->font();
    EnumLogFont shown;
    const int index = StyleIndex();
    if (fontList && fontList->Count() > 0 && index >= 1 && index <= int(StyleFonts.size())) {
        shown = StyleFonts[size_t(index - 1)];
        font = ExactFont(shown, 0);
    }
    font.setPointSize(ScrSize[3]->value());
    txtSample->setFont(font);
    if (!sampleMarks_)
        sampleMarks_ = new MissingCharacterMarks(txtSample->document());
    sampleMarks_->SetFont(shown);
}

// ---- Character chart -------------------------------------------------------------

void MainWindow::picChar_Paint(int index)
{
    if (index < 0 || index > 15)
        return;
    DrawGlyph(picChar[index], StyleIndex(), ScrSize[2]->value(),
              ChartCharacter(scrAnsi[2]->value() + index),
              index == SelectedCell ? Qt::white : Qt::black);
}

void MainWindow::picChar_Click(int index)
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
    ShowKeystroke(ChartCharacter(code));
    ShowCharacterName(2);
}

void MainWindow::picChar_DblClick(int index)
{
    if (index < 0 || index > 15)
        return;
    SelectTab(1);
    scrAnsi[1]->setValue(scrAnsi[2]->value() + index);
}

void MainWindow::SetCharacterCode(int code)
{
    if (rangeIndex_ != 0)
        SelectRange(0);
    scrAnsi[1]->setValue(code);
    scrAnsi[2]->setValue(code);
}

void MainWindow::mnuCharUpper_Click()
{
    SetCharacterCode(65);
}

void MainWindow::mnuCharLower_Click()
{
    SetCharacterCode(97);
}

void MainWindow::mnuCharNumbers_Click()
{
    SetCharacterCode(48);
}

void MainWindow::mnuCharAccents_Click()
{
    SetCharacterCode(192);
}

void MainWindow::mnuCharSym_Click(int index)
{
    if (index >= 1 && index <= 11)
        SetCharacterCode(kCharSymCodes[index]);
}

// Copy never empties the clipboard: with nothing to copy it stays as it was
// (an emptied clipboard makes a later paste crash inside Qt on X11).
void MainWindow::mnuEditCopy_Click()
{
    QString text;
    switch (CurrentTab()) {
    case 1:
        text = ChartCharacter(scrAnsi[1]->value());
        break;
    case 2:
        text = ChartCharacter(scrAnsi[2]->value() + SelectedCell);
        break;
    case 3:
    case 4: {
        // The selected text, or all of it when nothing is selected.
        const QPlainTextEdit* box = CurrentTab() == 3 ? txtSample : txtInfo;
        text = box->textCursor().hasSelection() ? box->textCursor().selectedText() : box->toPlainText();
        text.replace(QChar::ParagraphSeparator, '\n');
        break;
    }
    default:
        break;
    }
    if (!text.isEmpty())
        Sys().clipboard->SetText(text);
}

void MainWindow::MoveSelectedCell(int step)
{
    int cell = SelectedCell + step;
    if (cell < 0 || cell > 15) {
        // Past the chart's edge the chart scrolls; the selection keeps its cell.
        const int start = std::clamp(scrAnsi[2]->value() + step, 0, scrAnsi[2]->maximum());
        scrAnsi[2]->setValue(start);
        cell = SelectedCell;
    }
    picChar_Click(cell);
}

} // namespace gw
