#pragma once
// What an OpenType/TrueType file holds beyond its names: glyph and character
// counts, Unicode blocks, layout features, variation axes and named instances,
// embedding rights, version, vendor, designer and licence. Read with HarfBuzz,
// which is bounded against damaged files.
#include <QList>
#include <QString>
#include <QStringList>

#include "fonts/unicodeblocks.h"

namespace gw {

struct VariationAxis {
    QString tag;          // "wght"
    double minimum = 0;
    double defaultValue = 0;
    double maximum = 0;
};

struct NamedInstance {
    QString name;             // the instance's style name ("Bold Condensed")
    QList<double> coordinates;  // one per axis, in the order of the axes
};

struct FontFacts {
    bool readable = false;    // false: not an sfnt font, or the face is not there
    int faceCount = 0;        // faces in the file (1 for a single font)
    QString family;
    QString style;
    int glyphs = 0;
    int characters = 0;       // code points the character map maps
    QList<UnicodeBlock> blocks;
    QStringList features;     // GSUB and GPOS feature tags, sorted, each once
    QList<VariationAxis> axes;
    QList<NamedInstance> instances;
    int fsType = 0;           // OS/2 embedding bits; 0 when there is no OS/2 table
    QString version;
    QString vendor;           // OS/2 vendor identifier
    QString designer;
    QString licence;
    QString licenceUrl;
};

// The facts of face `faceIndex` (from 0) of the file.
FontFacts ReadFontFacts(const QString& fontFile, int faceIndex = 0);

// The OS/2 fsType of a face, without reading the rest of the facts; -1 when
// the file is not an sfnt font or has no OS/2 table.
int EmbeddingBits(const QString& fontFile, int faceIndex = 0);

// The fsType of an OS/2 table's bytes; -1 when the table is too short.
int EmbeddingBitsOfTable(const QByteArray& os2);

// The embedding rights of OS/2 fsType, most permissive level first:
// "Installable", "Editable", "Print and preview" or "Restricted", followed by
// ", no subsetting" and ", bitmap only" when those bits are set.
QString EmbeddingRightsText(int fsType);
// Whether a PDF may embed the font's outlines: neither restricted licence
// embedding alone nor bitmap embedding only. A face without an OS/2 table
// (fsType -1) may be embedded.
bool EmbeddingAllowed(int fsType);

// The facts as "Name: value" lines: Family, Style, Glyphs, Characters, Blocks,
// Features, Axes, Instances, Embedding, Version, Vendor, Designer, Licence, Licence URL.
QStringList FontFactsLines(const FontFacts& facts);

} // namespace gw
