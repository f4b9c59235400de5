#include "fonts/nametable.h"

namespace gw {

void ReadNameTable(const QString& path, FontNameInfo& info, int faceIndex)
{
    ReadNameTableFile(path, info, faceIndex);
}

} // namespace gw
