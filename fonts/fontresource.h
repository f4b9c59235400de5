#pragma once
// Reads a font resource (".fot") file as plain bytes, without loading it.
#include <QString>

#include "sfnt/fot.h" // ReadFontResourceBytes, GetFotTargetBytes

namespace gw {

// The face and style names recorded in the file. Returns "" on success, else
// "unknown"; the face name is set as soon as it is found, the style name is
// cleared before it is looked for.
QString ReadFontResource(const QString& path, QString& faceName, QString& styleName);

// The lower-cased full path of the TrueType file the ".fot" points to, a bare
// file name taken as lying in SystemFontDir; "unknown" on failure.
QString GetFotTarget(const QString& path);

} // namespace gw
