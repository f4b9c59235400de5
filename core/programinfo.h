#pragma once
// What the program says about itself and its makers: the About box, the
// component report, the Help menu's web items and the desktop files share these.
namespace gw {

constexpr const char ProgramLicence[] = "GPL-3.0-or-later";
constexpr const char ProgramLicenceName[] = "GNU General Public License, version 3 or later";
constexpr const char ProgramHomePage[] = "https://glyphwick.org/";
constexpr const char ProgramFaqPage[] = "https://glyphwick.org/faq";
constexpr const char ProgramBugPage[] = "https://glyphwick.org/bugs";
constexpr const char ProgramSupportMail[] = "support@glyphwick.org";

} // namespace gw
