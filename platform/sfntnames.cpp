#include "platform/sfntnames.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <array>
#include <cstring>

#include "core/codepage.h"

namespace gw {

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

namespace {

// The design trusts its counts and loops that often; a damaged file must not.
constexpr int kMaxTables = 4095;

class Bytes {
public:
    explicit Bytes(const QByteArray& file)
        : data_(reinterpret_cast<const uchar*>(file.constData())), size_(file.size()) {}

    bool Fits(qint64 pos, qint64 length) const
    {
        return pos >= 0 && length >= 0 && pos <= size_ && length <= size_ - pos;
    }
    qint64 Size() const { return size_; }
    const uchar* At(qint64 pos) const { return data_ + pos; }
    int U16(qint64 pos) const { return qFromBigEndian<quint16>(data_ + pos); }
    int32_t I32(qint64 pos) const { return int32_t(qFromBigEndian<quint32>(data_ + pos)); }

private:
    const uchar* data_;
    qint64 size_;
};

// length bytes at pos as UTF-16 code units, big-endian when swapped (the bytes
// exchanged pair by pair, then read as they lie), else little-endian. False,
// with text untouched, when the bytes are not all in the file.
bool ReadUnits(const Bytes& file, qint64 pos, qint64 length, bool swapped, QString& text)
{
    if (!file.Fits(pos, length))
        return false;
    const uchar* p = file.At(pos);
    const qint64 units = length / 2;
    text.resize(units);
    QChar* out = text.data();
    for (qint64 i = 0; i < units; ++i) {
        const uchar b0 = p[2 * i];
        const uchar b1 = p[2 * i + 1];
        out[i] = QChar(char16_t(swapped ? (b0 << 8) | b1 : b0 | (b1 << 8)));
    }
    return true;
}

// "?" in the code page: a real question mark or a character it cannot show.
bool StartsWithQuestionMark(const QString& text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    return first == QLatin1Char('?') || Cp1252Code(first) < 0;
}

// The three reads of one string. Many fonts point the storage somewhere other
// than right after the records, and some store their strings little-endian, so a
// text that comes out as "?" is tried again at the real storage place. A read
// that would pass the end of the file counts as not done and the next one is
// tried. False when none could be done.
bool ReadNameString(const Bytes& file, qint64 tableOffset, int count, int stringOffset,
                    int offset, int length, QString& text)
{
    bool read = ReadUnits(file, tableOffset + 6 + 12LL * count + offset, length, true, text);
    if (!read || StartsWithQuestionMark(text))
        read = ReadUnits(file, tableOffset + stringOffset + offset - 1, length, false, text) || read;
    if (!read || StartsWithQuestionMark(text))
        read = ReadUnits(file, tableOffset + stringOffset + offset, length, false, text) || read;
    return read;
}

QString* FieldOf(FontNameInfo& info, int nameId)
{
    switch (nameId) {
    case 0: return &info.copyright;
    case 1: return &info.family;
    case 2: return &info.subfamily;
    case 3: return &info.uniqueId;
    case 4: return &info.fullName;
    case 5: return &info.version;
    case 7: return &info.trademark;
    default: return nullptr; // 6 (PostScript name) and the rest are kept nowhere
    }
}

struct TakenRecord {
    int nameId;
    int length;
    int offset;
};

} // namespace

qint64 FirstFontOffset(const QByteArray& bytes)
{
    const Bytes file(bytes);
    if (!file.Fits(0, 4) || std::memcmp(file.At(0), "ttcf", 4) != 0)
        return 0;
    // A collection: its header counts the fonts and lists where each one's
    // offset table lies; table offsets stay counted from the file's start.
    if (!file.Fits(0, 16) || file.I32(8) <= 0)
        return -1;
    const qint64 first = quint32(file.I32(12));
    return file.Fits(first, 12) ? first : -1;
}

void ReadNameTableBytes(const QByteArray& bytes, FontNameInfo& info)
{
    const Bytes file(bytes);
    const qint64 font = FirstFontOffset(bytes);
    if (font < 0 || !file.Fits(font, 12))
        return;
    const int numTables = std::min(file.U16(font + 4), kMaxTables);

    qint64 tableOffset = -1;
    for (int i = 0; i < numTables; ++i) {
        const qint64 entry = font + 12 + 16LL * i;
        if (!file.Fits(entry, 16))
            return;
        if (TagText(reinterpret_cast<const char*>(file.At(entry))) == QLatin1String("name")) {
            tableOffset = file.I32(entry + 8);
            break;
        }
    }
    if (tableOffset < 0 || !file.Fits(tableOffset, 6))
        return;

    const int count = file.U16(tableOffset + 2);
    const int stringOffset = file.U16(tableOffset + 4);
    const qint64 recordsInFile = (file.Size() - tableOffset - 6) / 12;
    const int records = int(std::min<qint64>(count, recordsInFile));

    std::vector<TakenRecord> taken;
    for (int j = 0; j < records; ++j) {
        const qint64 rec = tableOffset + 6 + 12LL * j;
        const int platformId = file.U16(rec);
        const int languageId = file.U16(rec + 4);
        const int length = file.U16(rec + 8);
        if (platformId == 3 && length != 0 && languageId == 0x409)
            taken.push_back({file.U16(rec + 6), length, file.U16(rec + 10)});
    }

    // The last record of an ID wins, so only the last readable one of each is read.
    std::array<bool, 8> done{};
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
        if (it->nameId > 7 || done[it->nameId])
            continue;
        QString* field = FieldOf(info, it->nameId);
        if (!field) {
            done[it->nameId] = true;
            continue;
        }
        QString text;
        if (ReadNameString(file, tableOffset, count, stringOffset, it->offset, it->length, text)) {
            *field = text;
            done[it->nameId] = true;
        }
    }
}

bool ReadNameTableFile(const QString& path, FontNameInfo& info)
{
    // Only regular files: a device or a pipe named like a font would never end.
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = f.size();
    // Mapping spares reading a large font file whole for a few hundred bytes.
    if (size > 0) {
        if (uchar* mapped = f.map(0, size)) {
            ReadNameTableBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size), info);
            f.unmap(mapped);
            return true;
        }
    }
    ReadNameTableBytes(f.read(size), info);
    return true;
}

} // namespace gw
