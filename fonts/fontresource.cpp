#include "fonts/fontresource.h"

#include <QFile>
#include <QFileInfo>

#include "core/globals.h"
#include "core/helpers.h"

namespace gw {

namespace {

// A resource file is a few kilobytes; anything this large is not one.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

bool ReadWholeFile(const QString& path, QByteArray& bytes)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly) || f.size() > kMaxFileSize)
        return false;
    // A buffer of the file's own size: asking for the largest allowed size
    // allocates (and maps) that much for every small file. One byte more
    // tells a file that grew meanwhile.
    bytes = f.read(f.size() + 1);
    return bytes.size() <= kMaxFileSize;
}

} // namespace

QString ReadFontResource(const QString& path, QString& faceName, QString& styleName)
{
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return QStringLiteral("unknown");
    return ReadFontResourceBytes(bytes, faceName, styleName);
}

QString GetFotTarget(const QString& path)
{
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return QStringLiteral("unknown");
    const QString target = GetFotTargetBytes(bytes, SystemFontDir);
    if (target == QLatin1String("unknown"))
        return target;
    return LowerCasePath(target);
}

} // namespace gw
