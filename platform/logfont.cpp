#include <QByteArray>
#include <cstdlib>
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

const AddedFace* ClosestStyle(const QVector<AddedFace>& faces, bool bold, bool italic)
{
    const int weight = bold ? 700 : 400;
    const AddedFace* best = nullptr;
    int bestCost = 0;
    for (const AddedFace& face : faces) {
        const int cost = (face.italic != italic ? 1000 : 0) + std::abs(face.weight - weight);
        if (!best || cost < bestCost) {
            best = &face;
            bestCost = cost;
        }
    }
    return best;
}

} // namespace gw
