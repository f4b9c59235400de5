#pragma once
// Writes sfnt (TrueType/OpenType) files: big-endian numbers, a Windows naming
// table and the whole file with its table directory and checksums.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <utility>

namespace gw {

void AppendU16(QByteArray& bytes, quint16 value);
void AppendU32(QByteArray& bytes, quint32 value);

// The text as big-endian UTF-16, as naming tables store it.
QByteArray Utf16BE(const QString& text);

// The sum of the data as big-endian 32-bit words, the last one padded with zeros.
quint32 SfntChecksum(const QByteArray& data);

// A naming table (format 0) of Windows, Unicode BMP, US-English records, in the order given.
QByteArray WindowsNameTable(const QList<std::pair<int, QString>>& names);

// The file of these tables: the directory in tag order, each table's checksum,
// each table padded to four bytes, and the whole file's checksum in 'head'
// (checkSumAdjustment) when there is a 'head' of at least 12 bytes.
// version: 0x00010000 for TrueType outlines, 'OTTO' for CFF.
QByteArray SfntFile(const QMap<QByteArray, QByteArray>& tables, quint32 version = 0x00010000);

} // namespace gw
