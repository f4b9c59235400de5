#pragma once
// Reading a folder of font files that are not installed, the way the install
// wizard and glyphwick-print --folder both do it: each face's names read back
// from the ".fot" resource made for it (a collection has several faces in one
// file), the registered ones marked. The ".fot" file itself is written only
// when the face is to be used (a preview, a print run).
#include <QString>
#include <QStringList>
#include <vector>

namespace gw {

// One scanned font file.
struct FontFileRecord {
    QString FileName;      // as found: the name shown, the copy's name, the registered data
    QString FilePath;      // folder + the real file name
    QString FotPath;       // the temporary ".fot"; empty until written, and once deleted
    QString FaceName;      // read back from the ".fot" (the full name)
    QString RegistryName;  // FaceName + " (TrueType)"
    bool CopyNeeded = false;
    QString DestPath;
    bool InstalledNow = false;
    bool AlreadyInstalled = false;
    QString SizeText;
    QString StyleName;     // read back from the ".fot" (the family name)
    int FaceIndex = 0;     // the face's number in its file (a collection's)
};
// Slots 1..n; slot 0 stays empty.
using FontFileTable = std::vector<FontFileRecord>;

// "1K" under 1024 bytes, else whole kilobytes as "###,###" + "k".
QString FileSizeText(qint64 bytes);

// path when no file has that name; else the base loses its last character to
// the first free counter (arial.fot taken gives aria0.fot, then aria1.fot).
QString UniqueFileName(const QString& path);

// The names a scan takes, sorted: files ending ".ttf", ".otf", ".ttc" or ".otc"
// in any case.
// Other entries so named (a folder, a broken link) go to skipped as
// "name: reason" when asked for.
QStringList FontFileNames(const QString& folder, QStringList* skipped = nullptr);

enum class ScanResult { Read, Unreadable, NotAFont, NoName };
// Why a file was left out, for messages: "unreadable", "not a font", ...
QString ScanResultText(ScanResult result);

// Reads face faceIndex of folder/name into record; writes no file. Every face
// of a file is ScanFontFile(..., i) for i below FileFaceCount(path).
ScanResult ScanFontFile(const QString& folder, const QString& name, FontFileRecord& record, int faceIndex = 0);

// Writes the record's temporary ".fot" in fotFolder unless it is there already,
// the program's own name for it (removed at the next start if a run is killed).
// True when record.FotPath names one.
bool WriteTemporaryFot(FontFileRecord& record, const QString& fotFolder);

// IsRegisteredFont of the face name with " (TrueType)" or " Regular (TrueType)".
bool IsRegisteredFace(const QString& faceName);

} // namespace gw
