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
#include "fonts/fonttable.h"

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

void SortByDisplayName(PrintFontList& fonts)
{
    std::stable_sort(fonts.begin(), fonts.end(), [](const PrintFontEntry& a, const PrintFontEntry& b) {
        const int c = a.DisplayName.compare(b.DisplayName, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.DisplayName < b.DisplayName;
    });
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

// The wizards' rule for a second file of the same name: the base loses its last
// character to a counter (arial.fot taken gives aria0.fot).
QString UniqueFotPath(const QString& path)
{
    if (!QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QString folder = info.path() + "/";
    QString base = info.fileName();
    base.chop(4);
    base.chop(1);
    const QString ext = path.right(4);
    for (int n = 0;; ++n) {
        const QString candidate = folder + base + QString::number(n) + ext;
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

} // namespace

QString PrintSizeTextForLength(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("1K");
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(bytes / 1024) + "k";
}

QString PrintSizeText(const QString& file)
{
    if (file.isEmpty() || file.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0)
        return QString();
    QFileInfo info(file);
    // A Type 1 outline may be named relative to its folder.
    if (!info.isFile() && info.isRelative() && !PFBDir.isEmpty())
        info.setFile(PFBDir + file);
    if (!info.isFile())
        return QString();
    return PrintSizeTextForLength(info.size());
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
        e.AlternateName = r.FullName;
        e.DisplayName = r.FullName;
        e.FontType = KindTrueType;
        e.FaceName = r.FaceName;
        e.Extra = r.FotFile;
        fonts.push_back(e);
    }
    return fonts;
}

void AppendType1PrintFonts(FontEnumerator& enumerator, const QString& family, PrintFontList& fonts)
{
    enumerator.EnumerateStyles(family, KindType1);
    QStringList seen;
    for (const FontRecord& style : StyleTable) {
        const QString words = StyleWords(style.StyleName);
        PrintFontEntry e;
        e.DisplayName = words.isEmpty() ? family : family + " " + words;
        if (seen.contains(e.DisplayName))
            continue;
        seen << e.DisplayName;
        e.FileName = FileNamePart(style.FontFile);
        e.SizeText = PrintSizeText(style.FontFile);
        e.AlternateName = family;
        e.FontType = KindType1;
        e.FaceName = family;
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
    enumerator.CountingPass(DeviceContext::Display);
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
    Release();
}

void TemporaryPrintFonts::Release()
{
    for (const QString& path : added_)
        Sys().fonts->RemoveFontResource(path);
    if (!added_.isEmpty())
        Sys().fonts->BroadcastFontChange();
    added_.clear();
    for (const QString& fot : fotFiles_)
        QFile::remove(fot);
    fotFiles_.clear();
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

    QStringList names = dir.entryList(QDir::Files | QDir::Readable, QDir::Name);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& n) {
                                   const QString lower = n.toLower();
                                   return !lower.endsWith(".ttf") && !lower.endsWith(".otf");
                               }),
                names.end());

    for (const QString& name : names) {
        const QString path = dir.absoluteFilePath(name);
        const QString fot = UniqueFotPath(programFolder + "/" + name.left(name.size() - 4) + ".fot");
        if (Sys().fonts->CreateScalableFontResource(0, fot, path, QString()) == 0) {
            fail(path + ": not a font file with readable names");
            continue;
        }
        fonts.fotFiles_ << fot;
        QString fullName, family;
        if (ReadFontResource(fot, fullName, family) != QString() || fullName.trimmed().isEmpty()) {
            fail(path + ": the font's names could not be read");
            continue;
        }
        fullName = fullName.trimmed();
        family = family.trimmed();
        if (IsRegisteredFont(fullName + " (TrueType)") || IsRegisteredFont(fullName + " Regular (TrueType)"))
            continue;
        if (Sys().fonts->AddFontResource(path) <= 0) {
            fail(path + ": the font could not be loaded");
            continue;
        }
        fonts.added_ << path;

        PrintFontEntry e;
        e.FileName = FileNamePart(path);
        e.SizeText = PrintSizeText(path);
        e.AlternateName = fullName;
        e.DisplayName = fullName;
        e.FontType = KindTrueType;
        e.FaceName = family.isEmpty() ? fullName : family;
        list.push_back(e);
    }
    // One broadcast for the batch: each one makes the desktop rescan and reload its fonts.
    if (!fonts.added_.isEmpty())
        Sys().fonts->BroadcastFontChange();
    SortByDisplayName(list);
    return list;
}

} // namespace gw
