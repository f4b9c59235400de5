#pragma once
// What the platform says about itself.
#include <QString>

namespace gw {

// Platform word, major "." minor, " (Build " + build + ")", then two line breaks.
// When the query fails it shows "Error Getting Version Information", sets
// *failed and returns the empty text; the caller ends the program.
QString GetWindowsVersion(bool* failed = nullptr);
// true when the version text contains "Windows NT".
bool IsWindowsNT(bool* failed = nullptr);

} // namespace gw
