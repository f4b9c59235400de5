// The large character and chart pages past code 255: a range selector steps the
// character sliders through the Unicode blocks the selected font covers, and a
// read-out names the shown character ("U+00A9 COPYRIGHT SIGN").
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "core/globals.h"
#include "fonts/glyphs.h"
#include "mainwindow/mainwindow.h"

namespace gw {

namespace {

constexpr int kCellCount = 16;

// The names of pages 0 and 1, as their other sliders and boxes are named.
const char* const kPageNames[] = {"glyph", "chart"};

QString BlockItemText(const UnicodeBlock& block)
{
    return QStringLiteral("U+%1 %2 (%3)")
        .arg(QString::number(block.first, 16).toUpper().rightJustified(4, QLatin1Char('0')))
        .arg(block.name)
        .arg(block.count);
}

} // namespace

void MainWindow::CreateRangeSelectors()
{
    for (int page = 0; page < 2; ++page) {
        const QString name = QLatin1String(kPageNames[page]);
        rangeBoxes_[page] = new QComboBox(sliderPanels_[page]);
        rangeBoxes_[page]->setObjectName(name + QStringLiteral("RangeBox"));
        rangeBoxes_[page]->addItem(QStringLiteral("0 - 255"));
        rangeBoxes_[page]->setToolTip(QStringLiteral("The Unicode blocks this font covers"));
        rangeLabels_[page] = new QLabel(QStringLiteral("Range"), sliderPanels_[page]);
        rangeLabels_[page]->setObjectName(name + QStringLiteral("RangeLabel"));
        rangeLabels_[page]->setBuddy(rangeBoxes_[page]);
        characterNameLabels_[page] = new QLabel(sliderPanels_[page]);
        characterNameLabels_[page]->setObjectName(name + QStringLiteral("CharacterNameLabel"));
        characterNameLabels_[page]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        connect(rangeBoxes_[page], &QComboBox::activated, this, [this](int index) { SelectRange(index); });
    }
}

QString MainWindow::ChartCharacter(int code) const
{
    if (rangeIndex_ == 0)
        return CharacterText(code);
    return code >= 0 ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1) : QString();
}

void MainWindow::SelectRange(int index)
{
    if (index < 0 || index > int(rangeBlocks_.size()))
        index = 0;
    for (int page = 0; page < 2; ++page) {
        const QSignalBlocker block(rangeBoxes_[page]);
        rangeBoxes_[page]->setCurrentIndex(index);
    }
    const bool wasBytes = rangeIndex_ == 0;
    rangeIndex_ = index;
    int first = 0;
    int last = 255;
    if (index > 0) {
        first = int(rangeBlocks_[index - 1].first);
        last = int(rangeBlocks_[index - 1].last);
        if (wasBytes)
            byteRangeCodes_ = {codeSliders_[0]->value(), codeSliders_[1]->value()};
    }
    // The page step of the chart is one chart; the chart ends on the block's last code.
    for (int page = 0; page < 2; ++page) {
        const QSignalBlocker block(codeSliders_[page]);
        const int top = page == 0 ? last : std::max(first, last - (kCellCount - 1));
        codeSliders_[page]->setRange(first, top);
        codeSliders_[page]->setPageStep(page == 0 ? 10 : kCellCount);
        codeSliders_[page]->setValue(index == 0 && !wasBytes ? byteRangeCodes_[size_t(page)] : first);
    }
    ShowCode(0);
    ShowCode(1);
}

void MainWindow::FillRanges()
{
    const uint shownFirst = rangeIndex_ > 0 ? rangeBlocks_[rangeIndex_ - 1].first : 0;
    rangeBlocks_.clear();
    const int style = SelectedStyle();
    if (style >= 0 && style < int(StyleFonts.size())) {
        const EnumLogFont& elf = StyleFonts[size_t(style)];
        rangeBlocks_ = BlocksCovered(FontCharacters(elf.filePath, elf.faceIndex));
    }
    int keep = 0;
    for (int page = 0; page < 2; ++page) {
        const QSignalBlocker block(rangeBoxes_[page]);
        while (rangeBoxes_[page]->count() > 1)
            rangeBoxes_[page]->removeItem(1);
        for (int i = 0; i < rangeBlocks_.size(); ++i) {
            rangeBoxes_[page]->addItem(BlockItemText(rangeBlocks_[i]));
            if (shownFirst > 0 && rangeBlocks_[i].first == shownFirst)
                keep = i + 1;
        }
    }
    if (keep > 0) {
        // Same block, new font: the sliders stay where they are.
        rangeIndex_ = keep;
        for (int page = 0; page < 2; ++page) {
            const QSignalBlocker block(rangeBoxes_[page]);
            rangeBoxes_[page]->setCurrentIndex(keep);
        }
    } else if (rangeIndex_ != 0) {
        SelectRange(0);
    }
}

void MainWindow::ShowCharacterName(int page)
{
    if (page < 0 || page > 1 || !characterNameLabels_[page])
        return;
    const int code = codeSliders_[page]->value() + (page == 1 ? selectedCell_ : 0);
    const QString character = ChartCharacter(code);
    characterNameLabels_[page]->setText(character.isEmpty() ? QString()
                                                            : CharacterReadout(character.toUcs4().value(0)));
}

} // namespace gw
