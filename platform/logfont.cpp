#include <QByteArray>
#include <cstring>

#include "sfnt/codepage.h"
#include "platform/platform.h"

namespace gw {

void SetLogFontName(char* field, int size, const QString& text)
{
    if (!field || size <= 0)
        return;
    const QByteArray bytes = ToCp1252(text);
    const int n = std::min(static_cast<int>(bytes.size()), size - 1);
    std::memset(field, 0, static_cast<size_t>(size));
    std::memcpy(field, bytes.constData(), static_cast<size_t>(n));
}

} // namespace gw
