#pragma once
// The one mapping between byte codes 0..255 and characters: code page 1252.
#include <QByteArray>
#include <QChar>
#include <QString>

namespace gw {

// The character with code `code` (0..255) in code page 1252. The five codes the
// code page leaves undefined map to the C1 control characters of the same value.
QChar Cp1252Char(int code);

// Bytes to text, byte by byte.
QString FromCp1252(const QByteArray& bytes);
QString FromCp1252(const char* bytes, int length);

// Text to bytes; a character the code page cannot show becomes "?" (63).
QByteArray ToCp1252(const QString& text);

// The code of one character in code page 1252, or -1 when it has none.
int Cp1252Code(QChar ch);

} // namespace gw
