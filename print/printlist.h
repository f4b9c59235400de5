#pragma once
// Lists of fonts to print, built outside the wizards: every installed TrueType
// and Type 1 style, or the font files of a folder that are not installed.
#include <QString>
#include <QStringList>

#include "fonts/fontscan.h"
#include "print/pageframe.h"

namespace gw {

class FontEnumerator;

// The size text of the wizards' "Size" column: "" for an unknown or missing
// file, "1K" under 1024 bytes, else whole kilobytes as "###,###" + "k".
QString PrintSizeText(const QString& file);
// The full path of a listed font file (a Type 1 outline may be named relative
// to its folder); empty for an unknown or missing file.
QString PrintFontPath(const QString& file);
QString PrintSizeTextForLength(qint64 bytes);

// Entries whose face name contains one of the patterns (letter case ignored);
// no patterns keeps them all.
PrintFontList MatchingPrintFonts(const PrintFontList& fonts, const QStringList& familyPatterns);
// In the order of every font list (NameBefore); fonts of one name keep their order.
void SortByDisplayName(PrintFontList& fonts);

// The TrueType styles of FontTable as it stands, in table order, of the
// families matching the patterns.
PrintFontList FontTablePrintFonts(const QStringList& familyPatterns = {});
// The styles of one Type 1 family, appended; uses (and leaves changed) the
// style list of StyleCount/StyleFonts/StyleTable.
void AppendType1PrintFonts(FontEnumerator& enumerator, const QString& family, PrintFontList& fonts);

// Every installed TrueType style (from FontTable) and Type 1 style, whatever the
// display options say, of the families matching the patterns, sorted by display
// name. Rebuilds FontTable and the style list; writes no setting.
PrintFontList InstalledPrintFonts(const QStringList& familyPatterns);

// The fonts FolderPrintFonts added for one run. Destroying it
// removes them from the system again and deletes their temporary ".fot" files.
class TemporaryPrintFonts {
public:
    TemporaryPrintFonts() = default;
    TemporaryPrintFonts(const TemporaryPrintFonts&) = delete;
    TemporaryPrintFonts& operator=(const TemporaryPrintFonts&) = delete;
    ~TemporaryPrintFonts();

    const QStringList& FotFiles() const { return fotFiles_; }

private:
    friend PrintFontList FolderPrintFonts(const QString&, QStringList*, TemporaryPrintFonts&);
    QStringList added_;
    QStringList fotFiles_;
};

// The faces of the ".ttf", ".otf", ".ttc" and ".otc" files of a folder (not its subfolders) that are not
// installed, each added to the system for the run through `fonts`, sorted by
// display name. Files that cannot be read or added are left out, with one
// line each in errors.
PrintFontList FolderPrintFonts(const QString& folder, QStringList* errors,
                               TemporaryPrintFonts& fonts);

// The print entry of a scanned font file that is not installed.
PrintFontEntry UninstalledPrintEntry(const FontFileRecord& record);

} // namespace gw
