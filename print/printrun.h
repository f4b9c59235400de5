#pragma once
// One print run as the wizards start it: what to print, the printer it goes
// to, the whole job on any surface, and a picture of its first page.
#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "print/pageframe.h"
#include "print/printer.h"

namespace gw {

// A catalog in one layout, or the checked sample sheets.
struct PrintChoice {
    bool Sheets = false;
    QString Layout;                 // a name of CatalogNames()
    QString Title;
    QString Folder;                 // the folder of uninstalled fonts, else empty
    std::array<bool, 8> Checked{};  // in SheetNames() order
    bool AnySheet() const;
};

// The whole job on a surface. status receives "Printing..." and "Ready to print".
void PrintChoiceOn(PrinterSurface& printer, const PrintFontList& fonts, const PrintChoice& choice,
                   const Gauge& gauge, const std::function<void(const QString&)>& status = {});

// The display names of the fonts whose own face the printer cannot draw (the
// layouts print a notice in their place), each once.
QStringList UnprintableFaces(PrinterSurface& printer, const PrintFontList& fonts);

// The first page of the choice as the layouts draw it for the first fonts of
// the list, on a white sheet `width` pixels wide. Sample sheets show the first
// checked sheet of the first font; none checked gives an empty sheet. No
// printer is touched and no window event runs meanwhile.
QImage LayoutThumbnail(const PrintFontList& fonts, const PrintChoice& choice, int width,
                       int paperCode = PaperLetter);
// How many fonts the picture of a catalog layout is drawn with: at least as
// many as its first page holds at the sizes of the settings, and no whole list,
// whose later fonts would be laid out for pages the picture never shows.
size_t FirstPageFonts(const QString& layout);

// Where the wizards print: the system printer unless a test puts its own in place.
struct PrintTarget {
    // The paper code of the printer the next run goes to.
    std::function<int()> PaperSize;
    // The surface of one run; null when there is none, with the reason in
    // *error, or with *error empty when the user cancelled the save dialog.
    std::function<std::unique_ptr<PrinterSurface>(QString* error)> Open;
};
PrintTarget& SystemPrintTarget();

// The default CUPS printer, else the PDF writer on a file chosen with the save
// dialog (the last name is kept in "PdfFile" of "Inventory").
PrintTarget DesktopPrintTarget();

} // namespace gw
