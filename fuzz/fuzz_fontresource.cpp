// The font resource readers on any bytes, and the writer's output read back.
#include <cstddef>
#include <cstdint>

#include "sfnt/codepage.h"
#include "sfnt/fot.h"

namespace {

const QString kSysDir = QStringLiteral("/sys/fonts/");

QString CutAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

void ReadAny(const QByteArray& file)
{
    QString face, style;
    const QString result = gw::ReadFontResourceBytes(file, face, style);
    if (!result.isEmpty() && result != QLatin1String("unknown"))
        __builtin_trap();
    if (result.isEmpty() && (face.isEmpty() || style.isEmpty()))
        __builtin_trap();
    if (gw::GetFotTargetBytes(file, kSysDir).isEmpty())
        __builtin_trap();
}

// The input cut in three: path, full name (UTF-8, so also characters outside
// the code page) and family. What the writer stores must come back.
void WriteAndRead(const QByteArray& input)
{
    const qsizetype third = input.size() / 3;
    const QString path = gw::FromCp1252(input.left(third));
    const QString fullName = QString::fromUtf8(input.mid(third, third));
    const QString family = gw::FromCp1252(input.mid(2 * third));
    const QByteArray file = gw::BuildFotFile(path, fullName, family);

    QString face, style;
    gw::ReadFontResourceBytes(file, face, style);
    const QString storedFull = CutAtNul(gw::FromCp1252(gw::ToCp1252(fullName))).left(951);
    if (face != storedFull)
        __builtin_trap();

    const QString storedPath = CutAtNul(path);
    const QString target = gw::GetFotTargetBytes(file, kSysDir);
    const QString expected = storedPath.isEmpty() ? QStringLiteral("unknown")
                           : storedPath.contains(QLatin1Char('/')) ? storedPath
                           : kSysDir + storedPath;
    if (target != expected)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    ReadAny(input);
    WriteAndRead(input);
    return 0;
}
