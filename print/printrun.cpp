#include "print/printrun.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/pdfsurface.h"
#include "print/qtprinter.h"
#include "print/sheets.h"

namespace gw {

namespace {

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

size_t FirstPageFonts(const QString& layout)
{
    const int index = CatalogNames().indexOf(QRegularExpression(
        QRegularExpression::escape(layout), QRegularExpression::CaseInsensitiveOption));
    if (index == 5)
        return 3;  // Three Up
    if (index == 6)
        return 6;  // Six Up
    static const int columns[8] = {1, 1, 2, 2, 3, 1, 1, 1};
    const double s = CatalogSampleSize(), c = CatalogCaptionSize();
    // The least height any layout gives a font (caption, gap, part of the sample).
    const double perFont = std::max(1.0, c + 4 + 0.8 * s);
    return size_t(columns[index < 0 ? 0 : index] * (std::ceil(842 / perFont) + 1));
}

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

QStringList UnprintableFaces(PrinterSurface& printer, const PrintFontList& fonts)
{
    QStringList names;
    for (const PrintFontEntry& f : fonts)
        if (!f.FontPath.isEmpty() && printer.SetFontFace(f.FontPath, f.FaceIndex).isEmpty()
            && !names.contains(f.DisplayName.trimmed()))
            names << f.DisplayName.trimmed();
    return names;
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
                                      fonts.begin() + std::min(fonts.size(), FirstPageFonts(choice.Layout)));
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
        const QString name = Sys().printerSetup->DeviceName();  // as chosen in Print Setup
        if (name.isEmpty())
            return DefaultPdfPaper();
        QPrinter printer;
        printer.setPrinterName(name);
        return printer.pageLayout().pageSize().windowsId();
    };
    target.Open = [](QString* error) -> std::unique_ptr<PrinterSurface> {
        error->clear();
        const QString name = Sys().printerSetup->DeviceName();  // as chosen in Print Setup
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
        auto surface = PdfSurface::Create(file, DefaultPdfPaper());
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
