#pragma once
// The naming table ('name') of a TrueType/OpenType (sfnt) file, parsed from its
// bytes. Lives in the platform layer because the ".fot" writer needs it and the
// font readers build on the platform, not the other way round.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace gw {

// The naming-table texts of a TrueType file, by name ID 0..7. Empty until a
// Windows US-English record fills them.
struct FontNameInfo {
    QString copyright;      // 0
    QString family;         // 1
    QString subfamily;      // 2
    QString uniqueId;       // 3
    QString fullName;       // 4
    QString version;        // 5
    QString postscriptName; // 6, never filled
    QString trademark;      // 7
};

// The file stores big-endian numbers; these turn a value read little-endian into
// the big-endian one. Swap16: low byte * 256 + high byte (0..65535). Swap32: the
// two swapped halves exchanged; a set top bit of the result makes it negative.
int Swap16(uint16_t value);
int32_t Swap32(uint32_t value);
// Exchanges bytes 0 and 1, 2 and 3, ...; an odd last byte stays where it is.
QByteArray SwapBytePairs(const QByteArray& bytes);
// Four bytes of a table tag as text.
QString TagText(const char* tag);

// Where the offset table of the file's first font lies: 0 for a single font,
// the first entry of a collection's ("ttcf") header, -1 for a damaged header.
qint64 FirstFontOffset(const QByteArray& file);

// Fills the fields found in the naming table of an sfnt file given as bytes
// (of a collection: its first font); fields not found keep what they held.
// Safe on any input.
void ReadNameTableBytes(const QByteArray& file, FontNameInfo& info);

// The same on a file; false when it cannot be opened.
bool ReadNameTableFile(const QString& path, FontNameInfo& info);

} // namespace gw
