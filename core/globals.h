#pragma once
// Program-wide values. Set at start-up unless noted; every window reads them.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "platformapi/platform.h"

namespace gw {

// Paths and platform facts (start-up).
extern QString IniFile;   // program folder + "/gw.ini"
extern QString HelpFile;  // the help file
extern QString ExeFile;   // the running program
extern QString FontsKey;  // name of the font registrations store
extern QString SystemFontDir;  // system font folder, with a trailing "/"
// The per-user data folder, with a trailing "/"; UserDataDir + "fonts/" is the user font folder.
extern QString UserDataDir;
extern bool ATMInstalled;
extern QString Type1MetricsDir;  // Type 1 metrics folder + "/" (only when ATMInstalled)
extern QString Type1OutlineDir;  // Type 1 outline folder + "/" (only when ATMInstalled)
extern bool KeyboardOpen;

// Set by the install and remove wizards when they changed the set of fonts.
extern bool FontsChanged;

// One TrueType style.
struct FontRecord {
    QString FullName;
    QString FaceName;
    QString RegistryName;
    QString StyleName;
    QString FotFile;
    QString FontFile;
    QString FileSize;
    int16_t Italic = 0;
    int FaceIndex = 0;  // the face's number in FontFile (a collection's)
    // The remove wizard's own bookkeeping.
    int16_t Remove = 0;
    QString Target;
    bool Done = false;
};

// The font inventory, stored from index 0.
// Reset state: one record whose FullName is the sentinel "X".
extern std::vector<FontRecord> FontTable;
extern int16_t FontCount;  // families counted by the counting pass
extern int16_t FontsRead;  // families seen by the collecting pass

// Styles of the family selected in the main window.
extern int16_t StyleCount;
extern std::vector<EnumLogFont> StyleFonts;
extern std::vector<FontRecord> StyleTable;

// Snapshot of the font registrations: rows 0..value count, {name, data}; the extra last row stays empty.
extern std::vector<std::array<QString, 2>> RegFontList;

} // namespace gw
