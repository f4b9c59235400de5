#pragma once
// One face of a font file as a PDF writer draws and embeds it: its character
// map, advances, kerning and outlines in font units, read with FreeType from
// the file itself (any face of a collection, a variable font's named
// instance, TrueType, CFF and Type 1 outlines).
#include <QByteArray>
#include <QPainterPath>
#include <QString>
#include <memory>

namespace gw {

// A glyph as a simple TrueType glyph record, with its advance and bounds.
struct TrueTypeGlyph {
    QByteArray record;  // empty for a glyph without outline (a space)
    int advance = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int points = 0, contours = 0;
};

class OutlineFace {
public:
    // faceIndex: the face's number in a collection, with a named instance's
    // number in its high 16 bits (sfnt/instances.h).
    OutlineFace(const QString& file, int faceIndex);
    ~OutlineFace();
    OutlineFace(const OutlineFace&) = delete;
    OutlineFace& operator=(const OutlineFace&) = delete;

    // false when the file cannot be read as a face with outlines.
    bool IsValid() const;
    // The face's PostScript name as a PDF may carry it; never empty for a valid face.
    QString PostScriptName() const;
    int UnitsPerEm() const;
    // Above and below the baseline (the descent positive), font units.
    int Ascent() const;
    int Descent() const;
    int CapHeight() const;
    // Bounds of all glyphs, font units.
    int XMin() const;
    int YMin() const;
    int XMax() const;
    int YMax() const;
    double ItalicAngle() const;
    bool IsBold() const;
    bool IsItalic() const;
    // The OS/2 embedding bits, -1 when the face has none.
    int EmbeddingBits() const;

    // The glyph of a character, 0 when the face has none. A symbol font's own
    // codes (0..255, also at U+F000..U+F0FF) answer for characters of those codes.
    unsigned GlyphIndex(char32_t character) const;
    int Advance(unsigned glyph) const;
    // The kerning between two glyphs (the 'kern' table), added to the first's advance.
    int Kerning(unsigned left, unsigned right) const;
    TrueTypeGlyph Glyph(unsigned glyph) const;
    // The glyph's outline, y up.
    QPainterPath Outline(unsigned glyph) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// A TrueType font program of these glyphs, glyph i of the program being
// glyphs[i] (glyph 0 the face's .notdef): what a PDF embeds as a CIDFontType2
// font program. Names no characters: the document maps them.
QByteArray TrueTypeProgram(const OutlineFace& face, const QList<TrueTypeGlyph>& glyphs);

} // namespace gw
