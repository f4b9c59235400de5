// Pages 1 and 2 past code 255: a range selector steps the character sliders
// through the Unicode blocks the selected font covers, and a read-out names the
// shown character ("U+00A9 COPYRIGHT SIGN").
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
    for (int page = 1; page <= 2; ++page) {
        cboRange[page] = new QComboBox(picSliders[page]);
        cboRange[page]->setObjectName(QStringLiteral("cboRange%1").arg(page));
        cboRange[page]->addItem(QStringLiteral("0 - 255"));
        cboRange[page]->setToolTip(QStringLiteral("The Unicode blocks this font covers"));
        auto* label = new QLabel(QStringLiteral("Range"), picSliders[page]);
        label->setObjectName(QStringLiteral("lblRange%1").arg(page));
        label->setBuddy(cboRange[page]);
        lblCharName[page] = new QLabel(picSliders[page]);
        lblCharName[page]->setObjectName(QStringLiteral("lblCharName%1").arg(page));
        lblCharName[page]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        connect(cboRange[page], &QComboBox::activated, this, [this](int index) { SelectRange(index); });
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
    for (int page = 1; page <= 2; ++page) {
        const QSignalBlocker block(cboRange[page]);
        cboRange[page]->setCurrentIndex(index);
    }
    const bool wasBytes = rangeIndex_ == 0;
    rangeIndex_ = index;
    int first = 0;
    int last = 255;
    if (index > 0) {
        first = int(rangeBlocks_[index - 1].first);
        last = int(rangeBlocks_[index - 1].last);
        if (wasBytes)
            byteRangeCodes_ = {0, scrAnsi[1]->value(), scrAnsi[2]->value()};
    }
    // The page step of the chart is one chart; the chart ends on the block's last code.
    for (int page = 1; page <= 2; ++page) {
        const QSignalBlocker block(scrAnsi[page]);
        const int top = page == 1 ? last : std::max(first, last - (kCellCount - 1));
        scrAnsi[page]->setRange(first, top);
        scrAnsi[page]->setPageStep(page == 1 ? 10 : kCellCount);
        scrAnsi[page]->setValue(index == 0 && !wasBytes ? byteRangeCodes_[size_t(page)] : first);
    }
    scrAnsi_Change(1);
    scrAnsi_Change(2);
}

void MainWindow::FillRanges()
{
    const uint shownFirst = rangeIndex_ > 0 ? rangeBlocks_[rangeIndex_ - 1].first : 0;
    rangeBlocks_.clear();
    const int index = StyleIndex();
    if (index >= 1 && index <= int(StyleFonts.size())) {
        const EnumLogFont& elf = StyleFonts[size_t(index - 1)];
        rangeBlocks_ = BlocksCovered(FontCharacters(elf.filePath, elf.faceIndex));
    }
    int keep = 0;
    for (int page = 1; page <= 2; ++page) {
        const QSignalBlocker block(cboRange[page]);
        while (cboRange[page]->count() > 1)
            cboRange[page]->removeItem(1);
        for (int i = 0; i < rangeBlocks_.size(); ++i) {
            cboRange[page]->addItem(BlockItemText(rangeBlocks_[i]));
            if (shownFirst > 0 && rangeBlocks_[i].first == shownFirst)
                keep = i + 1;
        }
    }
    if (keep > 0) {
        // Same block, new font: the sliders stay where they are.
        rangeIndex_ = keep;
        for (int page = 1; page <= 2; ++page) {
            const QSignalBlocker block(cboRange[page]);
            cboRange[page]->setCurrentIndex(keep);
        }
    } else if (rangeIndex_ != 0) {
        SelectRange(0);
    }
}

void MainWindow::ShowCharacterName(int page)
{
    if (page < 1 || page > 2 || !lblCharName[page])
        return;
    const int code = scrAnsi[page]->value() + (page == 2 ? SelectedCell : 0);
    const QString character = ChartCharacter(code);
    lblCharName[page]->setText(character.isEmpty() ? QString()
                                                   : CharacterReadout(character.toUcs4().value(0)));
}

} // namespace gw
