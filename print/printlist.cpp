#include "print/printlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

#include "core/globals.h"
#include "core/helpers.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/fontresource.h"
#include "fonts/fontscan.h"
#include "fonts/fonttable.h"
#include "sfnt/instances.h"
#include "sfnt/sfnt.h"

namespace gw {

namespace {

bool Matches(const QString& family, const QStringList& patterns)
{
    if (patterns.isEmpty())
        return true;
    for (const QString& p : patterns)
        if (family.contains(p, Qt::CaseInsensitive))
            return true;
    return false;
}

// "BoldItalic" → "Bold Italic"; the regular style has no words.
QString StyleWords(const QString& style)
{
    if (style == QLatin1String("Normal"))
        return QString();
    QString words = style;
    if (words.size() > 6 && words.endsWith(QLatin1String("Italic")) && words[words.size() - 7] != ' ')
        words.insert(words.size() - 6, ' ');
    return words;
}

} // namespace

QString PrintSizeTextForLength(qint64 bytes)
{
    return FileSizeText(bytes);
}

QString PrintFontPath(const QString& file)
{
    if (file.isEmpty() || file.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0)
        return QString();
    QFileInfo info(file);
    // A Type 1 outline may be named relative to its folder (never to where the program runs).
    if (info.isRelative() && !Type1OutlineDir.isEmpty())
        info.setFile(Type1OutlineDir + file);
    if (info.isFile())
        return info.absoluteFilePath();
    // Registrations may carry the name lower-cased; the file keeps its own spelling.
    const QDir folder = info.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.absoluteFilePath(name);
    return QString();
}

QString PrintSizeText(const QString& file)
{
    const QString path = PrintFontPath(file);
    return path.isEmpty() ? QString() : PrintSizeTextForLength(QFileInfo(path).size());
}

PrintFontList MatchingPrintFonts(const PrintFontList& fonts, const QStringList& familyPatterns)
{
    PrintFontList out;
    for (const PrintFontEntry& f : fonts)
        if (Matches(f.FaceName, familyPatterns))
            out.push_back(f);
    return out;
}

PrintFontList FontTablePrintFonts(const QStringList& familyPatterns)
{
    PrintFontList fonts;
    const bool onlySentinel = FontTable.size() == 1 && FontTable[0].FullName == QLatin1String("X");
    if (onlySentinel)
        return fonts;
    for (const FontRecord& r : FontTable) {
        if (!Matches(r.FaceName, familyPatterns))
            continue;
        PrintFontEntry e;
        // Captions read better with the bare file name; the folder is beside the point.
        e.FileName = FileNamePart(r.FontFile);
        e.SizeText = PrintSizeText(r.FontFile);
        e.FontPath = PrintFontPath(r.FontFile);
        e.AlternateName = r.FullName;
        e.DisplayName = r.FullName;
        e.FontType = KindTrueType;
        e.FaceName = r.FaceName;
        e.Extra = r.FotFile;
        e.FaceIndex = r.FaceIndex;
        fonts.push_back(e);
    }
    return fonts;
}

void AppendType1PrintFonts(FontEnumerator& enumerator, const QString& family, PrintFontList& fonts)
{
    enumerator.EnumerateStyles(family, KindType1);
    QStringList seen;
    for (size_t i = 0; i < StyleTable.size(); ++i) {
        const FontRecord& style = StyleTable[i];
        const QString words = StyleWords(style.StyleName);
        PrintFontEntry e;
        e.DisplayName = words.isEmpty() ? family : family + " " + words;
        if (seen.contains(e.DisplayName))
            continue;
        seen << e.DisplayName;
        e.FileName = FileNamePart(style.FontFile);
        e.SizeText = PrintSizeText(style.FontFile);
        e.FontPath = PrintFontPath(style.FontFile);
        e.AlternateName = family;
        e.FontType = KindType1;
        // The name that draws the Type 1 files themselves when the family also
        // has OpenType files ("C059 [urw]"), else the family.
        e.FaceName = i < StyleFonts.size() && !StyleFonts[i].drawingFamily.isEmpty() ? StyleFonts[i].drawingFamily
                                                                                      : family;
        e.Extra = style.FotFile;
        fonts.push_back(e);
    }
}

PrintFontList InstalledPrintFonts(const QStringList& familyPatterns)
{
    FontListModel list;
    FontEnumerator enumerator(&list);
    // The passes themselves, not ReadFonts: it would take the options from gw.ini.
    enumerator.ShowTrueType = true;
    enumerator.ShowATM = true;
    enumerator.ShowDevice = false;
    FontCount = 0;
    FontsRead = 0;
    ResetFontTable();
    // Only the families printed need their styles read; no progress is drawn, so nothing is counted first.
    enumerator.WantStyles = [&familyPatterns](const QString& family) { return Matches(family, familyPatterns); };
    enumerator.CollectingPass(DeviceContext::Display);

    PrintFontList fonts = FontTablePrintFonts(familyPatterns);
    for (int row = 0; row < list.Count(); ++row) {
        const FontListModel::Item item = list.At(row);
        if (item.tag == KindType1 && Matches(item.text, familyPatterns))
            AppendType1PrintFonts(enumerator, item.text, fonts);
    }
    SortByDisplayName(fonts);
    return fonts;
}

TemporaryPrintFonts::~TemporaryPrintFonts()
{
    for (const QString& path : added_)
        Sys().fonts->RemoveFontResource(path);
    if (!added_.isEmpty())
        Sys().fonts->BroadcastFontChange();
    for (const QString& fot : fotFiles_)
        QFile::remove(fot);
}

void SortByDisplayName(PrintFontList& fonts)
{
    std::stable_sort(fonts.begin(), fonts.end(),
                     [](const PrintFontEntry& a, const PrintFontEntry& b) { return NameBefore(a.DisplayName, b.DisplayName); });
}

PrintFontList FolderPrintFonts(const QString& folder, QStringList* errors, TemporaryPrintFonts& fonts)
{
    auto fail = [errors](const QString& text) {
        if (errors)
            *errors << text;
    };
    PrintFontList list;
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) {
        fail(folder + ": the folder cannot be read");
        return list;
    }
    ReadRegFontList();
    const QString programFolder = Sys().system->ProgramFolder();
    QDir().mkpath(programFolder);

    QStringList skipped;
    const QStringList names = FontFileNames(dir.absolutePath(), &skipped);
    for (const QString& line : skipped)
        fail(dir.absoluteFilePath(line));
    // The same reading as the install wizard's scan; a ".fot" per file, added for the run.
    for (const QString& name : names) {
        // Every face of a collection, every named instance of a variable font;
        // its file is added for the run once.
        const QList<int> faces = FileStyleFaces(dir.absoluteFilePath(name));
        int added = 0; // 1 added, -1 could not be loaded
        for (const int faceIndex : faces) {
            FontFileRecord r;
            const ScanResult result = ScanFontFile(dir.absolutePath(), name, r, faceIndex);
            if (result != ScanResult::Read) {
                fail(dir.absoluteFilePath(name) + (faces.size() > 1 ? " (face " + QString::number(faceIndex) + ")" : "")
                     + ": " + ScanResultText(result));
                continue;
            }
            if (r.AlreadyInstalled || added < 0)
                continue;
            if (added == 0) {
                const bool written = WriteTemporaryFot(r, programFolder);
                if (written)
                    fonts.fotFiles_ << r.FotPath;
                if (!written || Sys().fonts->AddFontForDrawing(r.FotPath) <= 0) {
                    fail(r.FilePath + ": the font could not be loaded");
                    added = -1;
                    continue;
                }
                fonts.added_ << r.FotPath;
                added = 1;
            }
            list.push_back(UninstalledPrintEntry(r));
        }
    }
    // One broadcast for the batch: each one makes the desktop rescan and reload its fonts.
    if (!fonts.added_.isEmpty())
        Sys().fonts->BroadcastFontChange();
    SortByDisplayName(list);
    return list;
}

PrintFontEntry UninstalledPrintEntry(const FontFileRecord& r)
{
    PrintFontEntry e;
    // Captions read better with the bare file name, as for installed fonts,
    // spelled as on disk (the scan lower-cases the name it installs under).
    e.FileName = QFileInfo(r.FilePath).fileName();
    e.SizeText = r.SizeText;
    e.FontPath = r.FilePath;
    e.AlternateName = r.FaceName;
    e.DisplayName = r.RegistryName;
    e.FontType = KindTrueType;
    e.FaceName = r.StyleName;
    e.FaceIndex = r.FaceIndex;
    return e;
}

} // namespace gw
