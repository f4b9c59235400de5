#pragma once
// FreeType outlines as TrueType glyph records, for the font files and font
// programs the program writes (static instances, PDF embedding). Used inside
// this library only: it speaks FreeType's types.
#include <QByteArray>
#include <QString>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace gw {

// The table tagged `tag` of an sfnt face; empty when there is none.
QByteArray SfntTable(FT_Face face, FT_ULong tag);

// What a PostScript name may hold: printable ASCII but []{}()<>/% and space,
// 63 characters at most.
QString PostScriptText(const QString& text);

// The bounds of a glyph record, in font units.
struct GlyphBox {
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int points = 0;
};

// One glyph's outline (font units, y up) as a simple TrueType glyph record,
// padded to four bytes: quadratic segments as they are, each cubic one (CFF,
// CFF2, Type 1) as four quadratic ones. Empty for an outline without points.
QByteArray SimpleGlyph(const FT_Outline& outline, GlyphBox* box);

} // namespace gw
