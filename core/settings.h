#pragma once
// The settings file "gw.ini" and the profile calls every window makes.
//
// The parsed file is kept in memory and read again only when it changed on
// disk. Every write replaces the file in one atomic rename; a file that exists
// but cannot be read (permissions, I/O error, not a regular file) or may not be
// written is never written over: the program says so once, in a message titled
// "Glyphwick", and goes on with what it has.
#include <QString>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace gw {

// The platform's private-profile string call: the value, or def, cut to
// bufferSize - 1 characters. A file given without a folder lies in UserDataDir;
// "ATM.INI" (any case) without a folder is the Type 1 view of the platform.
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& def, const QString& file, int bufferSize);

// At most 99 characters (a 100-character buffer), except for the texts the user
// typed (see IsUserText), which come back whole, line breaks included.
QString ReadIniString(const QString& section, const QString& key, const QString& def,
                      const QString& file);
// The leading number of the value (non-numeric text gives 0); def when missing.
int ReadIniInt(const QString& section, const QString& key, int16_t def, const QString& file);
// A switch such as "ShowTrueType": on for 1 and for "true", "yes" or "on" in any
// letter case, as people write them by hand.
bool ReadIniSwitch(const QString& section, const QString& key, const QString& file);
// The first write creates the file; other keys, sections and comments survive.
// A user text (IsUserText) is stored escaped on one line.
void WriteIniString(const QString& section, const QString& key, const QString& value,
                    const QString& file);

// The sample text, titles, footers, header, user name and quotations.
bool IsUserText(const QString& section, const QString& key);

// Collects every WriteIniString to one file while it lives and puts them in the
// file in one atomic replacement when it ends. Use one wherever a window
// writes several keys at once (a window's unload, a dialog's OK):
//
//     {
//         IniBatch batch(IniFile);
//         WriteIniString("GW", "ANSI", ..., IniFile);
//         WriteIniString("GW", "PointSize", ..., IniFile);
//     }   // the file is replaced here, once
//
// Reads inside the batch see the values written so far. Batches nest; the
// outermost one writes. Keys changed on disk meanwhile by another program are
// kept unless the batch writes them too.
class IniBatch {
public:
    explicit IniBatch(const QString& file);
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

private:
    QString path_;
};

// How the store tells the user that a settings file cannot be read or saved:
// by default a message box titled "Glyphwick". A program without windows
// passes its own (nullptr restores the default).
void SetSettingsWarning(std::function<void(const QString&)> warn);
// Replacements of settings files made by this process so far.
int SettingsSaveCount();

struct ParagraphError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// "papara1.txt" (n = 1) or "papara2.txt" (n = 2) of the program folder, lines run
// together. Throws ParagraphError when the file cannot be opened.
QString ReadParagraph(int n);

} // namespace gw
