#include "sfnt/writer.h"

#include <QtEndian>

namespace gw {

void AppendU16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value >> 8)).append(char(value & 0xFF));
}

void AppendU32(QByteArray& bytes, quint32 value)
{
    AppendU16(bytes, quint16(value >> 16));
    AppendU16(bytes, quint16(value & 0xFFFF));
}

QByteArray Utf16BE(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(2 * text.size());
    for (QChar c : text)
        AppendU16(bytes, c.unicode());
    return bytes;
}

quint32 SfntChecksum(const QByteArray& data)
{
    quint32 sum = 0;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype whole = data.size() & ~qsizetype(3);
    for (qsizetype i = 0; i < whole; i += 4)
        sum += qFromBigEndian<quint32>(bytes + i);
    quint32 last = 0;
    for (qsizetype i = whole; i < whole + 4; ++i)
        last = (last << 8) | (i < data.size() ? bytes[i] : 0);
    return whole < data.size() ? sum + last : sum;
}

QByteArray WindowsNameTable(const QList<std::pair<int, QString>>& names)
{
    QByteArray table, strings;
    const int count = int(names.size());
    for (int v : {0, count, 6 + 12 * count})
        AppendU16(table, quint16(v));
    for (const auto& [id, text] : names) {
        const QByteArray utf16 = Utf16BE(text);
        for (int v : {3, 1, 0x409, id, int(utf16.size()), int(strings.size())})
            AppendU16(table, quint16(v));
        strings += utf16;
    }
    return table + strings;
}

QByteArray SfntFile(const QMap<QByteArray, QByteArray>& tables, quint32 version)
{
    const int count = int(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray file;
    AppendU32(file, version);
    for (int v : {count, 16 * power, log2, 16 * (count - power)})
        AppendU16(file, quint16(v));
    const quint32 start = quint32(12 + 16 * count);
    QByteArray data;
    qsizetype headAt = -1;
    for (auto it = tables.constBegin(); it != tables.constEnd(); ++it) {
        QByteArray table = it.value();
        if (it.key() == "head" && table.size() >= 12) {
            headAt = start + data.size();
            table.replace(8, 4, QByteArray(4, '\0'));  // checkSumAdjustment counts as 0
        }
        file += it.key().leftJustified(4, ' ', true);
        AppendU32(file, SfntChecksum(table));
        AppendU32(file, start + quint32(data.size()));
        AppendU32(file, quint32(table.size()));
        data += table;
        data.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
    }
    file += data;
    if (headAt >= 0)
        qToBigEndian<quint32>(0xB1B0AFBAu - SfntChecksum(file), file.data() + headAt + 8);
    return file;
}

} // namespace gw
