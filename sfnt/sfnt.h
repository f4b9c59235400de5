#pragma once
// The container of every TrueType/OpenType (sfnt) font: the offset table, its
// table directory, and collections ("ttcf") of several fonts in one file.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "sfnt/reader.h"

namespace gw {

// The file stores big-endian numbers; these turn a value read little-endian into
// the big-endian one. Swap16: low byte * 256 + high byte (0..65535). Swap32: the
// two swapped halves exchanged; a set top bit of the result makes it negative.
int Swap16(uint16_t value);
int32_t Swap32(uint32_t value);
// Exchanges bytes 0 and 1, 2 and 3, ...; an odd last byte stays where it is.
QByteArray SwapBytePairs(const QByteArray& bytes);
// Four bytes of a table tag as text.
QString TagText(const char* tag);

// Whether a file starting with these bytes is an sfnt font or collection.
bool IsSfntSignature(const QByteArray& firstBytes);

// Where the offset table of face faceIndex lies: 0 for a single font's face 0,
// a collection's ("ttcf") header entry for its faces; -1 when there is no such
// face or the header is damaged. A named instance's face
// number (high 16 bits set) gives its font's offset.
qint64 FontOffset(const QByteArray& file, int faceIndex);
// How many faces the file at `path` holds: a collection's count, 1 for any
// other file (a single font, or what is not a font at all: its reader says so).
int FileFaceCount(const QString& path);

// A table as the directory lists it; offsets count from the file's start, also
// in a collection.
struct TableEntry {
    quint32 offset = 0;
    quint32 length = 0;
};

// The directory entry tagged `tag` (four bytes) of the font whose offset table
// lies at fontOffset: the first one that matches. False when the directory is
// damaged before it or has none.
bool FindTable(const BoundedReader& file, qint64 fontOffset, const char* tag, TableEntry& entry);

// The table tagged `tag` of a font in the file at `path` (faceIndex: its
// number in a collection), read without reading the rest of the file; empty
// when the file or its directory is damaged or there is no such face.
QByteArray FileTable(const QString& path, const char* tag, int faceIndex = 0);

} // namespace gw
