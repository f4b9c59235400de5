#include "fonts/fontscan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "core/helpers.h"
#include "fonts/fontresource.h"
#include "fonts/fonttable.h"
#include "platformapi/platform.h"
#include "sfnt/sfnt.h"

namespace gw {

QString FileSizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("1K");
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(bytes / 1024) + "k";
}

QString UniqueFileName(const QString& path)
{
    if (!QFileInfo::exists(path))
        return path;
    const int slash = path.lastIndexOf('/');
    const QString folder = path.left(slash + 1);
    QString base = path.mid(slash + 1);
    if (base.contains('.'))
        base.chop(4);
    base.chop(1);
    const QString ext = path.right(4);
    for (int n = 0;; ++n) {
        const QString candidate = folder + base + QString::number(n) + ext;
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QStringList FontFileNames(const QString& folder, QStringList* skipped)
{
    QStringList names;
    const QDir dir(folder);
    const QStringList all = dir.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                                          QDir::Name);
    for (const QString& name : all) {
        const QString lower = name.toLower();
        const QString ext = lower.right(4);
        if (ext != QLatin1String(".ttf") && ext != QLatin1String(".otf") && ext != QLatin1String(".ttc")
            && ext != QLatin1String(".otc"))
            continue;
        const QFileInfo info(dir.filePath(name));
        if (info.isFile()) {
            names << name;
        } else if (skipped) {
            *skipped << name + ": " + (NameNotUtf8(info.filePath()) ? NameNotUtf8Text()
                                       : info.isSymLink() && !info.exists() ? QStringLiteral("a link to nothing")
                                       : info.isDir()                    ? QStringLiteral("a folder")
                                                                         : QStringLiteral("not a file"));
        }
    }
    return names;
}

QString ScanResultText(ScanResult result)
{
    switch (result) {
    case ScanResult::Read: return {};
    case ScanResult::Unreadable: return QStringLiteral("unreadable");
    case ScanResult::NotAFont: return QStringLiteral("not a font");
    case ScanResult::NoName: return QStringLiteral("a name that cannot be decoded");
    }
    return {};
}

bool IsRegisteredFace(const QString& faceName)
{
    return IsRegisteredFont(faceName + " (TrueType)") || IsRegisteredFont(faceName + " Regular (TrueType)");
}

ScanResult ScanFontFile(const QString& folder, const QString& name, FontFileRecord& record, int faceIndex)
{
    const QString path = folder.endsWith('/') ? folder + name : folder + '/' + name;
    // The resource's bytes only: writing a file per face cost more than
    // reading the fonts (the disk looks for a free inode each time).
    const QByteArray fot = FotFileBytes(path, faceIndex);
    if (fot.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return ScanResult::Unreadable;
        return IsSfntSignature(file.read(4)) ? ScanResult::NoName : ScanResult::NotAFont;
    }
    QString face, style;
    if (!ReadFontResourceBytes(fot, face, style).isEmpty() || face.trimmed().isEmpty())
        return ScanResult::NoName;
    record = FontFileRecord();
    record.FileName = name;
    record.FilePath = path;
    record.FaceName = face.trimmed();
    record.StyleName = style.trimmed();
    record.FaceIndex = faceIndex;
    record.RegistryName = record.FaceName + " (TrueType)";
    record.AlreadyInstalled = IsRegisteredFace(record.FaceName);
    record.SizeText = FileSizeText(QFileInfo(path).size());
    return ScanResult::Read;
}

bool WriteTemporaryFot(FontFileRecord& record, const QString& fotFolder)
{
    if (!record.FotPath.isEmpty() && QFileInfo::exists(record.FotPath))
        return true;
    record.FotPath.clear();
    const QString& name = record.FileName;
    // Short, so a long font name still fits.
    const QString fot = UniqueFileName(OwnFileName(fotFolder, name.left(qMin(40, name.size() - 4)) + ".fot"));
    if (Sys().fonts->CreateScalableFontResource(0, fot, record.FilePath, QString(), record.FaceIndex) == 0)
        return false;
    record.FotPath = fot;
    return true;
}

} // namespace gw
