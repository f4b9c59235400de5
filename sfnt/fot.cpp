#include "sfnt/fot.h"

#include <QFile>

#include "sfnt/codepage.h"
#include "sfnt/names.h"

namespace gw {

namespace {

const QLatin1String kFontRes("FONTRES:");
const QLatin1String kResourceMarker("Windows! Windows! Windows!");
constexpr int kFontResPos = 0x40;
constexpr int kPathPos = 1024;
// The face name after "FONTRES:" and its NUL must end before the path.
constexpr int kMaxFaceBytes = kPathPos - kFontResPos - 8 - 1;

// Texts are stored NUL-terminated, so a NUL inside one ends it.
QByteArray StoredText(const QString& text)
{
    QByteArray bytes = ToCp1252(text);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return bytes;
}

QString Unknown()
{
    return QStringLiteral("unknown");
}

} // namespace

QByteArray BuildFotFile(const QString& fontPath, const QString& fullName, const QString& familyName)
{
    const QByteArray full = StoredText(fullName);
    QByteArray file(kPathPos, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    const QByteArray header = kFontRes.latin1() + full.left(kMaxFaceBytes);
    file.replace(kFontResPos, header.size(), header);

    file += StoredText(fontPath) + '\0';
    file += QByteArray(kResourceMarker.latin1()) + '\0';
    file += StoredText(familyName) + '\0';
    file += full + '\0';
    return file;
}

QByteArray FotFileBytes(const QString& fontFile, int faceIndex)
{
    FontNameInfo info;
    if (!ReadNameTableFile(fontFile, info, faceIndex))
        return {};
    // A font without a full name is called by its family and style, as font tools do.
    if (info.fullName.isEmpty())
        info.fullName = info.subfamily.isEmpty() || info.subfamily.compare("Regular", Qt::CaseInsensitive) == 0
                            ? info.family
                            : info.family + QLatin1Char(' ') + info.subfamily;
    if (StoredText(info.fullName).isEmpty() || StoredText(info.family).isEmpty())
        return {};
    return BuildFotFile(fontFile, info.fullName, info.family);
}

int WriteFotFile(const QString& fotFile, const QString& fontFile, int faceIndex)
{
    const QByteArray bytes = FotFileBytes(fontFile, faceIndex);
    if (bytes.isEmpty())
        return 0;
    // A temporary file of the program: written plainly, without the flush to
    // disk a safe save makes.
    QFile out(fotFile);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    if (out.write(bytes) != bytes.size()) {
        out.close();
        QFile::remove(fotFile);
        return 0;
    }
    return 1;
}

QString ReadFontResourceBytes(const QByteArray& file, QString& faceName, QString& styleName)
{
    const QString s = FromCp1252(file);
    if (!s.startsWith(QLatin1String("MZ")))
        return Unknown();

    const qsizetype fontRes = s.indexOf(kFontRes);
    if (fontRes < 0)
        return Unknown();
    const qsizetype faceStart = fontRes + kFontRes.size();
    const qsizetype faceEnd = s.indexOf(QChar(0), faceStart);
    faceName = s.mid(faceStart, faceEnd < 0 ? -1 : faceEnd - faceStart);

    styleName.clear();
    const qsizetype marker = s.indexOf(kResourceMarker);
    if (marker < 0)
        return Unknown();
    const QString resources = s.mid(marker);
    if (faceName.isEmpty())
        return Unknown();

    // The style name is the NUL-separated piece just before the face name's second
    // occurrence (or its only one).
    const qsizetype first = resources.indexOf(faceName);
    if (first < 0)
        return Unknown();
    qsizetype second = resources.indexOf(faceName, first + 1);
    if (second < 0)
        second = first;
    const QString kept = resources.left(std::max<qsizetype>(0, second - 1));

    const qsizetype lastNul = kept.lastIndexOf(QChar(0));
    const QString tail = lastNul < 0 ? kept : kept.mid(lastNul);
    if (tail.isEmpty())
        return Unknown();
    styleName = tail.mid(1);
    if (styleName.isEmpty())
        styleName = faceName;
    return {};
}

QString FotFontPath(const QByteArray& file)
{
    if (!file.startsWith("MZ") || file.size() <= kPathPos)
        return {};
    const qsizetype end = file.indexOf('\0', kPathPos);
    return FromCp1252(file.mid(kPathPos, end < 0 ? -1 : end - kPathPos));
}

QString GetFotTargetBytes(const QByteArray& file, const QString& sysDir)
{
    QString name = FotFontPath(file);
    if (name.isEmpty())
        return Unknown();
    if (!name.contains(QLatin1Char('/')))
        name.prepend(sysDir);
    return name;
}

} // namespace gw
