#pragma once
// Previews that show only what a font holds. Whether a font has a character is
// decided from the font file's own character map, and a character it lacks is
// drawn as a light grey mark, never with a glyph of another font. The main
// window, the install wizard and the keyboard window preview fonts this way.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>
#include <QSyntaxHighlighter>

#include "platformapi/platform.h"

class QPainter;

namespace gw {

// true when the font file maps the character to a glyph of its own. A font
// without a file (a printer font) cannot be asked: it counts as having every
// character; a file that is there but not a readable font has none. Each
// file's map is read once and kept.
bool FontHasCharacter(const QString& fontFile, int faceIndex, uint character);
bool FontHasCharacter(const EnumLogFont& elf, uint character);
// Every character the font file maps (kept as above); empty when it cannot be read.
QSet<uint> FontCharacters(const QString& fontFile, int faceIndex);
// Whether Qt draws the character in `font` with a glyph of that font's own:
// the file's map says it has it (when the file is known) and Qt has the
// family itself rather than a substitute.
bool FontDrawsCharacter(const QFont& font, const QString& fontFile, int faceIndex, uint character);
// Drops the kept maps, so that changed files are read again.
void ForgetCharacterMaps();

// The family Qt knows for a face-name field: the field holds at most 31 bytes,
// so a longer family only matches an installed family that begins with it.
QString FamilyOfFaceName(const QString& faceName);
// The family Qt draws an enumerated record's own file by: its drawing family
// when it has one (a family in two kinds), else FamilyOfFaceName of its face.
QString DrawingFamily(const EnumLogFont& elf);
// The exact style of an enumerated record (weight, slant and style name) as a
// font that never takes glyphs from another family. A positive size is the
// cell height (ascent + descent) in pixels, as a logical font's height; a
// negative one the em in pixels; 0 leaves the size alone.
QFont ExactFont(const EnumLogFont& elf, int size);

// The colour of the mark that stands for a missing character.
QColor MissingMarkColour();
// The mark for a missing character of a font `size` pixels high, centred on x
// with its foot on the baseline y.
void DrawMissingMark(QPainter& painter, QPointF baselineCentre, int size);
// One character of the font centred on x with its baseline at y, in colour;
// the mark when the font lacks it.
void DrawFontCharacter(QPainter& painter, const EnumLogFont& elf, const QFont& font,
                       QPointF baselineCentre, const QString& character, const QColor& colour,
                       int size);

// Greys out, in a text box showing a font, every character that font lacks
// (the font shows its own "missing" glyph for it, in the mark's colour).
class MissingCharacterMarks : public QSyntaxHighlighter {
public:
    explicit MissingCharacterMarks(QTextDocument* document);
    // The font the text is shown in; an empty record marks nothing.
    void SetFont(const EnumLogFont& elf);

protected:
    void highlightBlock(const QString& text) override;

private:
    EnumLogFont elf_;
    bool active_ = false;
};

} // namespace gw
