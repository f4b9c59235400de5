#pragma once
// The eight sample sheets: one font on a whole page each.
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "print/pageframe.h"

namespace gw {

// The sheet captions, in the order they are printed for each font.
QStringList SheetNames();

// "BOLD ITALIC", "BOLD", "ITALIC" or "Regular" from the style words of a display name.
QString StyleLabel(const QString& displayName);

// The largest size from startSize down at which the text, in the printer's font and
// style, is narrower than maxWidth.
double FitSize(PrinterSurface& printer, const QString& text, double startSize, double maxWidth);

// One page each, for one font.
void SpecimenSheetI(PrinterSurface& printer, const PrintFontEntry& font);
void SpecimenSheetII(PrinterSurface& printer, const PrintFontEntry& font);
void SpecimenSheetIII(PrinterSurface& printer, const PrintFontEntry& font);
void SpecimenSheetIV(PrinterSurface& printer, const PrintFontEntry& font);
void KeyboardChart(PrinterSurface& printer, const PrintFontEntry& font);
void AnsiChart(PrinterSurface& printer, const PrintFontEntry& font);
void CharacterSet(PrinterSurface& printer, const PrintFontEntry& font);
void SeventyTwoPointSet(PrinterSurface& printer, const PrintFontEntry& font);

// Every checked sheet (in SheetNames order) for every font: NewPage between
// pages, EndDoc every ResetEvery pages and at the end, the gauge per page.
// status receives "Printing..." and then "Ready to print".
// order: the sheets (indexes of SheetNames) in the order they print for each font.
void PrintSheets(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                 const std::array<bool, 8>& checked,
                 const std::function<void(const QString&)>& status = {},
                 const std::array<int, 8>& order = {0, 1, 2, 3, 4, 5, 6, 7});

} // namespace gw
