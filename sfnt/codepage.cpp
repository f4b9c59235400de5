#include "sfnt/codepage.h"

#include <array>

namespace gw {

namespace {
// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
} // namespace

QChar Cp1252Char(int code)
{
    code &= 0xFF;
    if (code >= 0x80 && code <= 0x9F)
        return QChar(kHigh[code - 0x80]);
    return QChar(char16_t(code));
}

// Both directions write into storage sized once: every enumerated style
// converts several names, and appending one character at a time showed.
QString FromCp1252(const char* bytes, int length)
{
    if (length <= 0)
        return QString();
    QString out(length, Qt::Uninitialized);
    QChar* d = out.data();
    for (int i = 0; i < length; ++i)
        d[i] = Cp1252Char(static_cast<unsigned char>(bytes[i]));
    return out;
}

QString FromCp1252(const QByteArray& bytes)
{
    return FromCp1252(bytes.constData(), int(bytes.size()));
}

int Cp1252Code(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}

QByteArray ToCp1252(const QString& text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        const int code = u < 0x80 ? u : Cp1252Code(ch);
        *d++ = char(code < 0 ? '?' : code);
    }
    return out;
}

} // namespace gw
