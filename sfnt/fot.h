#pragma once
// The program's own small font resource (".fot") file, read back by ReadFontResource
// and GetFotTarget. Layout, texts in code page 1252:
//   "MZ" at 0; within the first 1024 bytes "FONTRES:" + full name + NUL;
//   at 1024 the font file's full path + NUL; then "Windows! Windows! Windows!" + NUL
//   + family name + NUL + full name + NUL.
#include <QByteArray>
#include <QString>

namespace gw {

// The file's bytes for a font with these names at fontPath.
QByteArray BuildFotFile(const QString& fontPath, const QString& fullName, const QString& familyName);

// The bytes of the file WriteFotFile writes; empty when it would write none.
QByteArray FotFileBytes(const QString& fontFile, int faceIndex = 0);

// Writes fotFile for face faceIndex of fontFile (its number in a collection);
// returns 0 (and writes nothing) when that face has no readable naming table
// with a full name and a family, else 1.
int WriteFotFile(const QString& fotFile, const QString& fontFile, int faceIndex = 0);

// The readers of such files, on their bytes (the path versions are in
// fonts/fontresource.h). ReadFontResourceBytes returns "" on success, else
// "unknown". GetFotTargetBytes returns the stored font path, a bare file name
// completed with sysDir, not lower-cased; "unknown" on failure.
QString ReadFontResourceBytes(const QByteArray& file, QString& faceName, QString& styleName);
QString GetFotTargetBytes(const QByteArray& file, const QString& sysDir);
// The font path stored at 1024 as it stands; "" when the file has none.
QString FotFontPath(const QByteArray& file);

} // namespace gw
