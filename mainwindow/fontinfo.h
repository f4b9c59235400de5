#pragma once
// The naming information of a TrueType file as the information tab shows it.
#include <QString>

#include "fonts/nametable.h"

namespace gw {

// Version, copyright, trademark, then family, subfamily, full name and unique
// identifier, each after its label; lines end with CR LF. One trailing "?" of
// the version is dropped.
QString FontInformationText(const FontNameInfo& names);

} // namespace gw
