#pragma once
// The TrueType naming table reader: the texts the information tab and the
// install preview show for a font file.
#include <QString>

#include "sfnt/names.h" // FontNameInfo, Swap16, Swap32, SwapBytePairs, TagText

namespace gw {

// Fills the fields found in the file's naming table (Windows, US English);
// fields not found keep what they held. Any failure leaves them as they were.
// faceIndex chooses the face of a collection.
void ReadNameTable(const QString& path, FontNameInfo& info, int faceIndex = 0);

} // namespace gw
