// The first three pages of the main window: the large character, the character chart,
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

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/picturebox.h"
#include "fonts/glyphs.h"
#include "mainwindow/mainwindow.h"

namespace gw {

namespace {

// The codes the items of Characters > Symbols show, in menu order.
constexpr int kSymbolCodes[] = {33, 63, 34, 36, 163, 153, 169, 174, 149, 147, 188};

} // namespace

QString CharacterText(int code)
{
    if (code < 0 || code > 255)
        return QString();
    return QString(Cp1252Char(code));
}

void MainWindow::ConnectPreviewEvents()
{
    // A slider moved by the user or set by the program shows its value alike.
    for (int i = 0; i < 2; ++i)
        connect(codeSliders_[i], &QAbstractSlider::valueChanged, this, [this, i] { ShowCode(i); });
    for (int i = 0; i < 3; ++i)
        connect(sizeSliders_[i], &QAbstractSlider::valueChanged, this, [this, i] { ShowSize(i); });

    glyphPicture_->installEventFilter(this);
    for (PictureBox* cell : cellPictures_) {
        cell->installEventFilter(this);
        // A click on a cell puts the focus on the chart, whose arrow keys move the selection.
        cell->setFocusPolicy(Qt::ClickFocus);
        cell->setFocusProxy(chartGrid_);
    }
    chartGrid_->setObjectName(QStringLiteral("chartGrid"));
    chartGrid_->setFocusPolicy(Qt::StrongFocus);
    chartGrid_->installEventFilter(this);
    for (QScrollBar* bar : {codeSliders_[0], codeSliders_[1], sizeSliders_[0], sizeSliders_[1], sizeSliders_[2]})
        bar->setFocusPolicy(Qt::StrongFocus);

    // Sizes are typed whole; completing "1" to "10" would change what was typed.
    sizeBox_->setCompleter(nullptr);
    sizeBox_->installEventFilter(this);
    sizeBox_->lineEdit()->installEventFilter(this);
    connect(sizeBox_, &QComboBox::activated, this, [this](int) { ApplyPickedSize(); });

    // Characters: "A", "a", "0", the first accented capital, and each symbol.
    connect(upperCaseAction_, &QAction::triggered, this, [this] { SetCharacterCode(65); });
    connect(lowerCaseAction_, &QAction::triggered, this, [this] { SetCharacterCode(97); });
    connect(numbersAction_, &QAction::triggered, this, [this] { SetCharacterCode(48); });
    connect(accentsAction_, &QAction::triggered, this, [this] { SetCharacterCode(192); });
    for (int i = 0; i < int(symbolActions_.size()); ++i)
        connect(symbolActions_[i], &QAction::triggered, this, [this, i] { SetCharacterCode(kSymbolCodes[i]); });
}

bool MainWindow::PreviewEvent(QObject* watched, QEvent* event)
{
    if (!watched || !event)
        return false;
    // The canvases keep their drawing, but a page shown again may show a
    // different style or character than when it was drawn.
    const bool redraw = event->type() == QEvent::Resize || event->type() == QEvent::Show;
    if (watched == glyphPicture_) {
        if (redraw)
            DrawLargeCharacter();
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

    const auto cell = std::find(cellPictures_.begin(), cellPictures_.end(), watched);
    if (cell != cellPictures_.end()) {
        const int k = int(cell - cellPictures_.begin());
        if (redraw)
            DrawCell(k);
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton
                && cellPictures_[k]->rect().contains(mouse->position().toPoint()))
                SelectCell(k);
            break;
        }
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                EnlargeCell(k);
            break;
        default:
            break;
        }
        return false;
    }

    if (sizeBox_ && (watched == sizeBox_ || watched == sizeBox_->lineEdit())) {
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
            if ((control || typing) && !AcceptSizeKey(k))
                return true;
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                // Enter applies the typed size at once, to the page it was typed on.
                ApplyTypedSize();
                return true;
            }
            if ((typing || k == Qt::Key_Backspace || k == Qt::Key_Delete) && CurrentTab() <= 2)
                sizeTypedOnPage_ = CurrentTab();
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                ApplyTypedSize();
        }
    }
    return false;
}

void MainWindow::DrawGlyph(PictureBox* target, int style, int size, const QString& character,
                           const QColor& colour)
{
    if (!target || loading_ || !fontModel_ || fontModel_->Count() == 0)
        return;
    if (style < 0 || style >= int(StyleFonts.size()))
        return;

    const bool chartCell = std::find(cellPictures_.begin(), cellPictures_.end(), target) != cellPictures_.end();
    if (chartCell && size != lastChartSize_) {
        target->Clear();
        lastChartSize_ = size;
    }
    target->Clear();

    const EnumLogFont& elf = StyleFonts[size_t(style)];
    CanvasPainter painter(target);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);
    const int x = target->width() / 2;
    const int y = target->height() / 2 + size / 4;
    DrawFontCharacter(painter, elf, ExactFont(elf, size), QPointF(x, y), character, colour, size);
}

void MainWindow::DrawLargeCharacter()
{
    DrawGlyph(glyphPicture_, SelectedStyle(), sizeSliders_[0]->value(), ChartCharacter(codeSliders_[0]->value()),
              Qt::black);
}

void MainWindow::ShowCode(int page)
{
    if (page == 0) {
        const QString character = ChartCharacter(codeSliders_[0]->value());
        codeReadouts_[0]->setText(QString::number(codeSliders_[0]->value()));
        ShowCharacterName(0);
        DrawGlyph(glyphPicture_, SelectedStyle(), int(Val(sizeBox_->currentText())), character,
                  Qt::black);
        ShowKeystroke(character);
    } else if (page == 1) {
        codeReadouts_[1]->setText(QString::number(codeSliders_[1]->value()));
        ShowCharacterName(1);
        if (fontModel_ && fontModel_->Count() > 0 && styleList_->count() > 0) {
            for (int k = 0; k < 16; ++k)
                DrawCell(k);
        }
    }
}

void MainWindow::ShowSize(int page)
{
    if (page < 0 || page > 2)
        return;
    const QString value = QString::number(sizeSliders_[page]->value());
    sizeBox_->setEditText(value);
    sizeReadouts_[page]->setText(value);
    if (page == 0)
        DrawLargeCharacter();
    else if (page == 1)
        ShowCode(1);
    else
        ApplySampleFont();
}

void MainWindow::ApplyPickedSize()
{
    const int page = CurrentTab();
    if (page >= 0 && page <= 2)
        sizeSliders_[page]->setValue(int(Val(sizeBox_->currentText())));
}

bool MainWindow::AcceptSizeKey(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Backspace || key == Qt::Key_Tab
        || key == Qt::Key_Return || key == Qt::Key_Enter)
        return true;
    QApplication::beep();
    return false;
}

void MainWindow::ApplyTypedSize()
{
    // A size typed on one page belongs to that page, even when the focus
    // leaves the box because another tab was clicked.
    const int page = sizeTypedOnPage_ >= 0 ? sizeTypedOnPage_ : CurrentTab();
    sizeTypedOnPage_ = -1;
    if (page < 0 || page > 2)
        return;
    QScrollBar* slider = sizeSliders_[page];
    const QString text = sizeBox_->currentText();
    const int v = int(Val(text));
    const bool showing = page == CurrentTab();
    auto show = [&](const QString& value) {
        if (showing)
            sizeBox_->setEditText(value);
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
        sizeBox_->setEditText(QString::number(sizeSliders_[CurrentTab() <= 2 ? CurrentTab() : page]->value()));
}

// The sample shows the exact style chosen, as the large character and the chart
// do, for every kind of font; characters the font lacks are greyed out.
void MainWindow::ApplySampleFont()
{
    QFont font = sampleEdit_->font();
    EnumLogFont shown;
    const int style = SelectedStyle();
    if (fontModel_ && fontModel_->Count() > 0 && style >= 0 && style < int(StyleFonts.size())) {
        shown = StyleFonts[size_t(style)];
        font = ExactFont(shown, 0);
    }
    font.setPointSize(sizeSliders_[2]->value());
    sampleEdit_->setFont(font);
    if (!sampleMarks_)
        sampleMarks_ = new MissingCharacterMarks(sampleEdit_->document());
    sampleMarks_->SetFont(shown);
}

// ---- Character chart -------------------------------------------------------------

void MainWindow::DrawCell(int index)
{
    if (index < 0 || index > 15)
        return;
    DrawGlyph(cellPictures_[index], SelectedStyle(), sizeSliders_[1]->value(),
              ChartCharacter(codeSliders_[1]->value() + index),
              index == selectedCell_ ? Qt::white : Qt::black);
}

void MainWindow::SelectCell(int index)
{
    if (index < 0 || index > 15)
        return;
    const int old = std::clamp(selectedCell_, 0, 15);
    selectedCell_ = index;
    cellPictures_[old]->SetBackColor(Qt::white);
    DrawCell(old);
    cellPictures_[index]->SetBackColor(cellPictures_[index]->palette().color(QPalette::Highlight));
    DrawCell(index);
    const int code = codeSliders_[1]->value() + index;
    codeReadouts_[1]->setText(QString::number(code));
    ShowKeystroke(ChartCharacter(code));
    ShowCharacterName(1);
}

void MainWindow::EnlargeCell(int index)
{
    if (index < 0 || index > 15)
        return;
    SelectTab(0);
    codeSliders_[0]->setValue(codeSliders_[1]->value() + index);
}

void MainWindow::SetCharacterCode(int code)
{
    if (rangeIndex_ != 0)
        SelectRange(0);
    codeSliders_[0]->setValue(code);
    codeSliders_[1]->setValue(code);
}

// Copy never empties the clipboard: with nothing to copy it stays as it was
// (an emptied clipboard makes a later paste crash inside Qt on X11).
void MainWindow::CopyToClipboard()
{
    QString text;
    switch (CurrentTab()) {
    case 0:
        text = ChartCharacter(codeSliders_[0]->value());
        break;
    case 1:
        text = ChartCharacter(codeSliders_[1]->value() + selectedCell_);
        break;
    case 2:
    case 3: {
        // The selected text, or all of it when nothing is selected.
        const QPlainTextEdit* box = CurrentTab() == 2 ? sampleEdit_ : infoEdit_;
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
    int cell = selectedCell_ + step;
    if (cell < 0 || cell > 15) {
        // Past the chart's edge the chart scrolls; the selection keeps its cell.
        const int start = std::clamp(codeSliders_[1]->value() + step, 0, codeSliders_[1]->maximum());
        codeSliders_[1]->setValue(start);
        cell = selectedCell_;
    }
    SelectCell(cell);
}

} // namespace gw
