#pragma once
// Makes the benchmark's fonts out of one installed TrueType font: the glyphs of
// a chosen set of characters (and the glyphs they are built from), without
// hinting, under new names.
#include <QByteArray>
#include <QString>

namespace bench {

struct BenchFontSpec {
    QString family;      // name ID 1
    QString style;       // name ID 2: "Regular", "Bold", "Italic" or "Bold Italic"
    int weight = 400;    // OS/2 usWeightClass
    bool italic = false;
    QString characters;  // the characters mapped; a character the source lacks is left out
};

// The new font's bytes, or empty with *error set when the source cannot be used.
QByteArray MakeBenchFont(const QByteArray& source, const BenchFontSpec& spec, QString* error);

} // namespace bench
