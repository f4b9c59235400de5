#pragma once
// Texts that would tell a Linux user something untrue, beside what is shown
// instead. Every window passes its designed texts through here, so the two can
// be read side by side in one place (linuxtexts.cpp).
#include <QString>

namespace gw {

// The designed text with every untrue part replaced; other texts come back as they are.
QString ForLinux(const QString& designed);

// The splash line about Type 1 fonts: the designed text when a real "ATM.INI"
// file exists, else the fontconfig wording.
QString Type1FoundText(const QString& version, bool realAtmIni);

// A real "ATM.INI" file exists in WinDir (not the view made from fontconfig).
bool RealAtmIni();
// The Run menu's Type 1 manager item and its toolbar button are shown: a Type 1
// manager is switched on and has a real "ATM.INI" file.
bool ShowAtmItems();

// What follows the designed keystroke read-out: the character's Unicode code
// point and how to type it here ("  (U+00A9: Ctrl+Shift+U a9)"); empty for none.
QString UnicodeKeystrokeSuffix(const QString& character);

// "OpenType" for a CFF OpenType file (".otf", or an sfnt holding "CFF "),
// else "TrueType"; for captions, read-out labels and catalog captions.
QString FontKindWord(const QString& fontFile);

// The user font folder as the texts name it: "your font folder (/home/…/fonts)".
QString FontFolderText();

} // namespace gw
