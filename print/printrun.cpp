#include "print/printrun.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/globals.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/qtprinter.h"
#include "print/sheets.h"

namespace gw {

namespace {

// A picture needs no more fonts than one page can hold: the smallest sizes in
// three columns fit about a hundred and fifty.
constexpr int ThumbnailFonts = 160;
// The resolution the page is drawn at before it is scaled down.
constexpr int ThumbnailDrawDpi = 96;

using SheetRoutine = void (*)(PrinterSurface&, const PrintFontEntry&);
const SheetRoutine kSheetRoutines[8] = {SpecimenSheetI, SpecimenSheetII, SpecimenSheetIII,
                                        SpecimenSheetIV, KeyboardChart,  AnsiChart,
                                        CharacterSet,    SeventyTwoPointSet};

int DefaultPdfPaper()
{
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const int code = pdf.pageLayout().pageSize().windowsId();
    return PaperSizeAccepted(code) ? code : PaperLetter;
}

} // namespace

bool PrintChoice::AnySheet() const
{
    for (bool c : Checked)
        if (c)
            return true;
    return false;
}

void PrintChoiceOn(PrinterSurface& printer, const PrintFontList& fonts, const PrintChoice& choice,
                   const Gauge& gauge, const std::function<void(const QString&)>& status)
{
    if (choice.Sheets) {
        PrintSheets(printer, fonts, gauge, choice.Checked, status);
        return;
    }
    if (status)
        status(QStringLiteral("Printing..."));
    PrintCatalogs(printer, choice.Layout, fonts, gauge, choice.Title, choice.Folder);
    if (status)
        status(QStringLiteral("Ready to print"));
}

QImage LayoutThumbnail(const PrintFontList& fonts, const PrintChoice& choice, int width,
                       int paperCode)
{
    if (!PaperSizeAccepted(paperCode))
        paperCode = PaperLetter;
    const bool a4 = paperCode == PaperA4 || paperCode == PaperA4Small;
    const double sheetW = a4 ? 595 : 612, sheetH = a4 ? 842 : 792, margin = 18;
    const double scale = ThumbnailDrawDpi / 72.0;

    QImage page(qRound((sheetW - 2 * margin) * scale), qRound((sheetH - 2 * margin) * scale),
                QImage::Format_RGB32);
    if (!fonts.empty()) {
        QuietPrinting quiet;
        auto surface = QtPrinterSurface::ForImage(&page, paperCode);
        if (choice.Sheets) {
            for (int i = 0; i < 8; ++i) {
                if (choice.Checked[i]) {
                    kSheetRoutines[i](*surface, fonts.front());
                    break;
                }
            }
        } else {
            const PrintFontList first(fonts.begin(),
                                      fonts.begin() + std::min<size_t>(fonts.size(), ThumbnailFonts));
            PrintCatalogs(*surface, choice.Layout, first, Gauge(), choice.Title, choice.Folder);
        }
        surface->Close();
    } else {
        page.fill(Qt::white);
    }

    QImage sheet(qRound(sheetW * scale), qRound(sheetH * scale), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter p(&sheet);
        p.drawImage(QPointF(margin * scale, margin * scale), page);
    }
    return sheet.scaledToWidth(width, Qt::SmoothTransformation);
}

PrintTarget& SystemPrintTarget()
{
    static PrintTarget target = DesktopPrintTarget();
    return target;
}

PrintTarget DesktopPrintTarget()
{
    PrintTarget target;
    target.PaperSize = [] {
        const QString name = QPrinterInfo::defaultPrinterName();
        if (name.isEmpty())
            return DefaultPdfPaper();
        QPrinter printer;
        printer.setPrinterName(name);
        return printer.pageLayout().pageSize().windowsId();
    };
    target.Open = [](QString* error) -> std::unique_ptr<PrinterSurface> {
        error->clear();
        const QString name = QPrinterInfo::defaultPrinterName();
        if (!name.isEmpty()) {
            auto surface = QtPrinterSurface::ForPrinter(name);
            if (!surface->IsValid()) {
                *error = "The printer \"" + name + "\" cannot be used. Please check that it is "
                         "connected and set up, or choose another printer.";
                return nullptr;
            }
            return surface;
        }
        const QString last = ReadIniString(QStringLiteral("Inventory"), QStringLiteral("PdfFile"),
                                           QStringLiteral("glyphwick.pdf"), IniFile);
        const QString file = Sys().dialogs->SaveFile(
            QStringLiteral("There is no printer: save the printout as a PDF file"),
            QStringLiteral("pdf"), last, QStringLiteral("PDF files (*.pdf)"));
        if (file.isEmpty())
            return nullptr;
        auto surface = QtPrinterSurface::ForPdf(file, DefaultPdfPaper());
        if (!surface->IsValid()) {
            *error = "The file \"" + file + "\" cannot be written. Please choose another "
                     "file or folder.";
            return nullptr;
        }
        WriteIniString(QStringLiteral("Inventory"), QStringLiteral("PdfFile"), file, IniFile);
        return surface;
    };
    return target;
}

} // namespace gw
