#include "fonts/nametable.h"

namespace gw {

void ReadNameTable(const QString& path, FontNameInfo& info, int faceIndex)
{
    ReadNameTableFile(path, info, faceIndex);
}

QString NameIdLabel(int id)
{
    switch (id) {
    case 0: return QStringLiteral("Copyright");
    case 1: return QStringLiteral("Font Family");
    case 2: return QStringLiteral("Font subfamily");
    case 3: return QStringLiteral("Font Identifier");
    case 4: return QStringLiteral("Full Font Name");
    case 5: return QStringLiteral("Version");
    case 6: return QStringLiteral("Postscript name");
    case 7: return QStringLiteral("Trademark");
    default: return QStringLiteral("Unknown");
    }
}

} // namespace gw
