#include <QByteArray>
#include <cstdlib>
#include <cstring>

#include "sfnt/codepage.h"
#include "platformapi/platform.h"

namespace gw {

void SetLogFontName(char* field, int size, const QString& text)
{
    if (!field || size <= 0)
        return;
    // Written in place: three names per enumerated style.
    const int n = std::min(static_cast<int>(text.size()), size - 1);
    std::memset(field, 0, static_cast<size_t>(size));
    for (int i = 0; i < n; ++i) {
        const int code = Cp1252Code(text.at(i));
        field[i] = char(code < 0 ? '?' : code);
    }
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
