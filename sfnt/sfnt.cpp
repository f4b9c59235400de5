#include "sfnt/sfnt.h"

#include <QFile>

#include <algorithm>
#include <cstring>

#include "sfnt/codepage.h"

namespace gw {

namespace {

// The format trusts its counts; a damaged file must not be looped over that often.
constexpr int kMaxTables = 4095;

} // namespace

int Swap16(uint16_t value)
{
    return ((value & 0xFF) << 8) | (value >> 8);
}

int32_t Swap32(uint32_t value)
{
    const uint32_t high = uint32_t(Swap16(uint16_t(value & 0xFFFF)));
    const uint32_t low = uint32_t(Swap16(uint16_t(value >> 16)));
    return int32_t((high << 16) | low);
}

QByteArray SwapBytePairs(const QByteArray& bytes)
{
    QByteArray out = bytes;
    for (qsizetype i = 0; i + 1 < out.size(); i += 2)
        std::swap(out[i], out[i + 1]);
    return out;
}

QString TagText(const char* tag)
{
    return FromCp1252(tag, 4);
}

bool IsSfntSignature(const QByteArray& firstBytes)
{
    const QByteArray tag = firstBytes.left(4);
    return tag == QByteArray("\0\1\0\0", 4) || tag == "OTTO" || tag == "true" || tag == "ttcf";
}

qint64 FontOffset(const QByteArray& bytes, int faceIndex)
{
    // A variable font's named instance (the high bits) has the tables of its font.
    faceIndex = faceIndex >= 0 ? faceIndex & 0xFFFF : faceIndex;
    const BoundedReader file(bytes);
    const uchar* tag = file.Bytes(0, 4);
    if (!tag || std::memcmp(tag, "ttcf", 4) != 0)
        return faceIndex == 0 ? 0 : -1;
    // A collection: its header counts the fonts and lists where each one's
    // offset table lies.
    quint32 fonts = 0, offset = 0;
    if (!file.U32(8, fonts) || fonts == 0 || fonts > 0x7FFFFFFF || faceIndex < 0
        || quint32(faceIndex) >= fonts || !file.U32(12 + 4LL * faceIndex, offset))
        return -1;
    return file.Fits(offset, 12) ? qint64(offset) : -1;
}

int FileFaceCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray header = f.read(12);
    const BoundedReader file(header);
    quint32 fonts = 0;
    if (!header.startsWith("ttcf") || !file.U32(8, fonts) || fonts == 0)
        return 1;
    // Each face needs its offset in the header: a count the file cannot hold is damage.
    return int(std::min<qint64>(fonts, qMax<qint64>(1, (f.size() - 12) / 4)));
}

bool FindTable(const BoundedReader& file, qint64 fontOffset, const char* tag, TableEntry& entry)
{
    quint16 numTables = 0;
    if (fontOffset < 0 || !file.Fits(fontOffset, 12) || !file.U16(fontOffset + 4, numTables))
        return false;
    for (int i = 0; i < std::min<int>(numTables, kMaxTables); ++i) {
        const qint64 at = fontOffset + 12 + 16LL * i;
        const uchar* entryTag = file.Bytes(at, 16);
        if (!entryTag)
            return false;
        if (std::memcmp(entryTag, tag, 4) == 0)
            return file.U32(at + 8, entry.offset) && file.U32(at + 12, entry.length);
    }
    return false;
}

QByteArray FileTable(const QString& path, const char* tag, int faceIndex)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() <= 0)
        return {};
    // Mapped: only the pages read are loaded, also of a large font.
    const uchar* mapped = f.map(0, f.size());
    if (!mapped)
        return {};
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), f.size());
    const BoundedReader file(bytes);
    TableEntry entry;
    const uchar* table = FindTable(file, FontOffset(bytes, faceIndex), tag, entry) ? file.Bytes(entry.offset, entry.length)
                                                                              : nullptr;
    return table ? QByteArray(reinterpret_cast<const char*>(table), entry.length) : QByteArray();
}

} // namespace gw
