// The information read-outs of the main window: the font file rows, the file
// size, and the naming information on the "TrueType Information" page.
#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>
#include <initializer_list>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "fonts/enumerate.h"
#include "fonts/fontfacts.h"
#include "mainwindow/fontinfo.h"
#include "mainwindow/mainwindow.h"

namespace gw {

namespace {

constexpr int kReadoutGap = 30;  // twips between rows that follow one another

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString FontInformationText(const FontNameInfo& names)
{
    QString version = names.version;
    if (version.endsWith(QLatin1Char('?')))
        version.chop(1);
    return "Version: " + version + kCrLf + kCrLf
           + "Copyright: " + names.copyright + kCrLf + kCrLf
           + "Trademark: " + names.trademark + kCrLf + kCrLf
           + "Font Family: " + names.family + kCrLf
           + "Font Subfamily: " + names.subfamily + kCrLf
           + "Full Font Name: " + names.fullName + kCrLf
           + "Font Identifier: " + names.uniqueId + kCrLf;
}

// A path does not fit its panel: the file name is shown, the whole path
// (its folder) in the tooltip. "unknown" and "n/a" are shown as they are.
static void ShowFilePath(QLabel* panel, const QString& path)
{
    const bool file = path.contains('/');
    panel->setText(file ? FileNamePart(path) : path);
    panel->setToolTip(file ? path : QString());
}

void MainWindow::ShowFontInfo()
{
    const int style = SelectedStyle();
    if (style < 0 || style >= int(StyleTable.size()))
        return;
    const FontRecord& entry = StyleTable[size_t(style)];
    infoEdit_->clear();

    const bool hardware = fontKind_ == KindPrinter;
    for (QWidget* row : {fontFilesLabel_, fontFileReadout_, companionFileReadout_, fileSizeLabel_, fileSizeReadout_})
        row->setHidden(hardware);

    switch (fontKind_) {
    case KindPrinter:
        infoEdit_->setPlainText(
            QStringLiteral("Internal font information not available for hardware based fonts."));
        break;
    case KindType1:
        fontFilesLabel_->setText(QStringLiteral("Adobe Type 1 files"));
        ShowFilePath(fontFileReadout_, entry.FontFile);
        ShowFilePath(companionFileReadout_, entry.FotFile);
        fileSizeReadout_->setText(FileSizeOf(entry));
        infoEdit_->setPlainText(
            QStringLiteral("Internal font information not available for Adobe Type 1 files."));
        break;
    case KindTrueType:
        ShowFilePath(fontFileReadout_, entry.FontFile);
        if (entry.FotFile == QLatin1String("n/a")) {
            fontFilesLabel_->setText(FontKindWord(entry.FontFile) + " file");
            companionFileReadout_->hide();
        } else {
            fontFilesLabel_->setText(FontKindWord(entry.FontFile) + " files");
            ShowFilePath(companionFileReadout_, entry.FotFile);
        }
        fileSizeReadout_->setText(FileSizeOf(entry));
        if (entry.FontFile != QLatin1String("unknown")) {
            // The face of a collection the style is.
            const int face = style < int(StyleFonts.size()) ? StyleFonts[size_t(style)].faceIndex : 0;
            FontNameInfo names;
            ReadNameTable(entry.FontFile, names, face);
            // Below the naming information: what else the file holds.
            const FontFacts facts = ReadFontFacts(entry.FontFile, face);
            infoEdit_->setPlainText(FontInformationText(names)
                                  + (facts.readable ? kCrLf + FontFactsLines(facts).join(kCrLf) + kCrLf
                                                    : QString()));
        }
        break;
    default:
        break;
    }
    StackReadouts();
}

// The stack starts where the font files caption stands, so a printer font's keystroke row
// takes the place of the hidden file rows.
void MainWindow::StackReadouts()
{
    const int gap = TwipsToPixels(kReadoutGap);
    int top = fontFilesLabel_->y();
    if (!fontFilesLabel_->isHidden())
        top += fontFilesLabel_->height() + gap;
    auto placeRow = [&](std::initializer_list<QWidget*> row) {
        int height = -1;
        for (QWidget* w : row)
            if (!w->isHidden())
                height = std::max(height, w->height());
        if (height < 0)
            return;
        for (QWidget* w : row)
            w->move(w->x(), top);
        top += height + gap;
    };
    placeRow({fontFileReadout_});
    placeRow({companionFileReadout_});
    placeRow({fileSizeLabel_, fileSizeReadout_});
    placeRow({keystrokeLabel_, keystrokeReadout_});
}

} // namespace gw
