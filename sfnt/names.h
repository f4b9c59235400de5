#pragma once
// The naming table ('name') of a TrueType/OpenType (sfnt) file, parsed from its
// bytes.
#include <QByteArray>
#include <QString>

#include "sfnt/sfnt.h" // Swap16, Swap32, SwapBytePairs, TagText

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

// Fills the fields found in the naming table of an sfnt file given as bytes
// (of a collection: its first font); fields not found keep what they held.
// A variable font's named instance (see sfnt/instances.h) gets its own
// subfamily and the full name "Family Instance".
// Safe on any input.
void ReadNameTableBytes(const QByteArray& file, FontNameInfo& info, int faceIndex = 0);

// The same on a file; false when it cannot be opened.
bool ReadNameTableFile(const QString& path, FontNameInfo& info, int faceIndex = 0);

} // namespace gw
