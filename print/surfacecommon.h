#pragma once
// What every printer surface decides alike: its units, the font names it
// takes, and how a hatched box is drawn.
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>

namespace gw {

// A length in the scale mode (twips, points, centimetres) in points, and back.
double ScaleToPoints(int scaleMode, double value);
double PointsToScale(int scaleMode, double value);

// A sheet of this paper (a Windows paper code; letter when unknown) as a PDF
// file prints it: portrait, 0.25 inch margins, whole points.
QPageLayout SheetLayout(int paperCode);

// Whether the font system lists the family (in any case).
bool IsKnownFamily(const QString& name);
// The family to draw a name with: itself when the font system lists it, else
// the one the system maps it to (Arial to Liberation Sans), which draws the same glyphs.
QString DrawingFamily(const QString& name);
// Whether a printer takes the (trimmed, non-empty) font name: a font added for
// the run (*added then true), a listed family, or a name the system maps to a
// metric-compatible family; not one that only falls back to the default.
bool PrinterTakesFontName(const QString& name, bool* added);

// The lines of a hatched box: one pixel wide, `step` apart. Fill styles: 2
// horizontal, 3 vertical, 4 upward and 5 downward diagonal, 6 cross, 7
// diagonal cross. Diagonals run past the box: draw them clipped to it.
QList<QLineF> HatchLines(const QRectF& box, int fillStyle, double step);

} // namespace gw
