#include "sfnt/names.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <vector>

#include "sfnt/codepage.h"
#include "sfnt/instances.h"

namespace gw {

namespace {

// length bytes at pos as UTF-16 code units, big-endian when swapped (the bytes
// exchanged pair by pair, then read as they lie), else little-endian. False,
// with text untouched, when the bytes are not all in the file.
bool ReadUnits(const BoundedReader& file, qint64 pos, qint64 length, bool swapped, QString& text)
{
    const uchar* p = file.Bytes(pos, length);
    if (!p)
        return false;
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
bool ReadNameString(const BoundedReader& file, qint64 tableOffset, int count, int stringOffset,
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

// The Windows US-English text of name ID nameId (the last readable record);
// empty when there is none.
QString NameText(const BoundedReader& file, qint64 tableOffset, int nameId)
{
    quint16 count = 0, stringOffset = 0;
    if (!file.U16(tableOffset + 2, count) || !file.U16(tableOffset + 4, stringOffset))
        return {};
    QString found;
    for (int j = 0; j < count; ++j) {
        const qint64 rec = tableOffset + 6 + 12LL * j;
        quint16 platformId = 0, languageId = 0, id = 0, length = 0, offset = 0;
        if (!file.U16(rec, platformId) || !file.U16(rec + 4, languageId) || !file.U16(rec + 6, id)
            || !file.U16(rec + 8, length) || !file.U16(rec + 10, offset))
            break;
        QString text;
        if (id == nameId && platformId == 3 && languageId == 0x409 && length != 0
            && ReadNameString(file, tableOffset, count, stringOffset, offset, length, text))
            found = text;
    }
    return found;
}

// A named instance is a style of its font's family: its own subfamily, and a
// full name of the family and that subfamily.
void NameInstance(const QByteArray& bytes, qint64 fontOffset, qint64 nameOffset, int instance, FontNameInfo& info)
{
    const BoundedReader file(bytes);
    TableEntry fvar;
    const uchar* table = FindTable(file, fontOffset, "fvar", fvar) ? file.Bytes(fvar.offset, fvar.length) : nullptr;
    const QList<FvarInstance> instances =
        table ? ReadFvarInstances(QByteArray::fromRawData(reinterpret_cast<const char*>(table), fvar.length))
              : QList<FvarInstance>();
    if (instance >= instances.size())
        return;
    const QString style = NameText(file, nameOffset, instances[instance].subfamilyNameId);
    const QString typographic = NameText(file, nameOffset, 16);
    if (style.isEmpty())
        return;
    if (!typographic.isEmpty())
        info.family = typographic;
    info.subfamily = style;
    info.fullName = info.family + QLatin1Char(' ') + style;
}

} // namespace

void ReadNameTableBytes(const QByteArray& bytes, FontNameInfo& info, int faceIndex)
{
    const BoundedReader file(bytes);
    TableEntry name;
    const qint64 fontOffset = FontOffset(bytes, faceIndex);
    if (!FindTable(file, fontOffset, "name", name))
        return;
    const qint64 tableOffset = name.offset;
    quint16 count = 0, stringOffset = 0;
    if (!file.Fits(tableOffset, 6) || !file.U16(tableOffset + 2, count) || !file.U16(tableOffset + 4, stringOffset))
        return;

    std::vector<TakenRecord> taken;
    for (int j = 0; j < count; ++j) {
        const qint64 rec = tableOffset + 6 + 12LL * j;
        quint16 platformId = 0, languageId = 0, nameId = 0, length = 0, offset = 0;
        if (!file.U16(rec, platformId) || !file.U16(rec + 4, languageId) || !file.U16(rec + 6, nameId)
            || !file.U16(rec + 8, length) || !file.U16(rec + 10, offset))
            break; // the records run past the end of the file
        if (platformId == 3 && length != 0 && languageId == 0x409)
            taken.push_back({nameId, length, offset});
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
    if (InstanceOfFace(faceIndex) > 0)
        NameInstance(bytes, fontOffset, tableOffset, InstanceOfFace(faceIndex) - 1, info);
}

bool ReadNameTableFile(const QString& path, FontNameInfo& info, int faceIndex)
{
    // Only regular files: a device or a pipe named like a font would never end.
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = f.size();
    // Mapping spares reading a large font file whole for a few hundred bytes.
    if (size > 0) {
        if (uchar* mapped = f.map(0, size)) {
            ReadNameTableBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size), info,
                               faceIndex);
            f.unmap(mapped);
            return true;
        }
    }
    ReadNameTableBytes(f.read(size), info, faceIndex);
    return true;
}

} // namespace gw
