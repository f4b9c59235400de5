#pragma once
// Texts that would tell a Linux user something untrue, beside what is shown
// instead. Every window passes its original texts through here, so the two can
// be read side by side in one place (linuxtexts.cpp).
#include <QString>
#include <QStringList>
#include <functional>

namespace gw {

// The original text with every untrue part replaced; other texts come back as they are.
QString ForLinux(const QString& original);

// Said when an uninstalled font's file could not be deleted: the reject file
// hides the font anyway.
QString FontHiddenNote();
// The question "Con&firm file deletes" asks before a font file goes to the
// trash (delete) or, after its copy, away for good (move).
QString ConfirmDeleteText(const QString& file, bool toTrash);

// The splash line about Type 1 fonts: the original text when a real "ATM.INI"
// file exists, else the fontconfig wording.
QString Type1FoundText(const QString& version, bool realAtmIni);
// A real "ATM.INI" file lies in the Windows folder (UserDataDir), rather than the
// view made from fontconfig.
bool RealAtmIniExists();
// The Run menu's Type 1 manager item and its toolbar button are shown: a Type 1
// manager is switched on and has a real "ATM.INI" file.
bool ShowAtmItems();

// How to type the character on a Linux desktop, with its code point:
// "Ctrl+Shift+U a9  (U+00A9)"; empty for a control character.
QString UnicodeKeystroke(const QString& character);
// The keystroke read-out. Where the classic label is an Alt code, the Linux
// keystroke above comes first and whole; the Alt code (" ALT+0+169") follows
// only when `fits` accepts the longer text, and where even the code point does
// not fit only the keystroke is given. A character beyond code page 1252 gets
// the keystroke alone. Other labels stay as they are.
QString KeystrokeReadout(const QString& character,
                         const std::function<bool(const QString&)>& fits = {});

// "OpenType" for a CFF OpenType file (".otf", or an sfnt holding "CFF "),
// else "TrueType"; for captions, read-out labels and catalog captions.
QString FontKindWord(const QString& fontFile);

// Said when a Run item finds none of the programs that stand for it: what it
// looked for, what was tried, and the package that provides the first.
QString NoProgramText(const QString& what, const QStringList& tried);
// Said when a program given by its path cannot be started.
QString ProgramNotStartedText(const QString& program, const QString& reason);
// Said when no browser could open a page of the help or the web.
QString NotOpenedText(const QString& address, const QStringList& tried);

// The user font folder as the texts name it: "your font folder (/home/…/fonts)".
QString FontFolderText();

} // namespace gw
