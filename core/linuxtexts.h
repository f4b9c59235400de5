#pragma once
// Texts that would tell a Linux user something untrue, beside what is shown
// instead. Every window passes its designed texts through here, so the two can
// be read side by side in one place (linuxtexts.cpp).
#include <QString>

namespace gw {

// The designed text with every untrue part replaced; other texts come back as they are.
QString ForLinux(const QString& designed);

// Said when an uninstalled font's file could not be deleted: the reject file
// hides the font anyway (the designed system could not do that).
QString FontHiddenNote();
// The question "Con&firm file deletes" asks before a font file goes to the
// trash (delete) or, after its copy, away for good (move).
QString ConfirmDeleteText(const QString& file, bool toTrash);

// The splash line about Type 1 fonts: the designed text when a real "ATM.INI"
// file exists, else the fontconfig wording.
QString Type1FoundText(const QString& version, bool realAtmIni);
// A real "ATM.INI" file lies in the Windows folder (WinDir), rather than the
// view made from fontconfig.
bool RealAtmIniExists();
// The Run menu's Type 1 manager item and its toolbar button are shown: a Type 1
// manager is switched on and has a real "ATM.INI" file.
bool ShowAtmItems();

// What follows the designed keystroke read-out: the character's Unicode code
// point and how to type it here ("  (U+00A9: Ctrl+Shift+U a9)"); empty for none.
QString UnicodeKeystrokeSuffix(const QString& character);
// The keystroke read-out: the designed label, and for an Alt code the suffix above;
// a character beyond code page 1252 gets "U+03B1: Ctrl+Shift+U 3b1".
QString KeystrokeReadout(const QString& character);

// "OpenType" for a CFF OpenType file (".otf", or an sfnt holding "CFF "),
// else "TrueType"; for captions, read-out labels and catalog captions.
QString FontKindWord(const QString& fontFile);

// The user font folder as the texts name it: "your font folder (/home/…/fonts)".
QString FontFolderText();

} // namespace gw
