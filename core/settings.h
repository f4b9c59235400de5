#pragma once
// The settings file "gw.ini" and the profile calls every window makes.
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace gw {

// The platform's private-profile string call: the value, or def, cut to
// bufferSize - 1 characters. A file given without a folder lies in WinDir;
// "ATM.INI" (any case) without a folder is the Type 1 view of the platform.
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& def, const QString& file, int bufferSize);

// At most 99 characters (a 100-character buffer).
QString ReadIniString(const QString& section, const QString& key, const QString& def,
                      const QString& file);
// The leading number of the value (non-numeric text gives 0); def when missing.
int ReadIniInt(const QString& section, const QString& key, int16_t def, const QString& file);
// A switch such as "ShowTrueType": on for 1 and for "true", "yes" or "on" in any
// letter case, as people write them by hand.
bool ReadIniSwitch(const QString& section, const QString& key, const QString& file);
// The first write creates the file; other keys, sections and comments survive.
void WriteIniString(const QString& section, const QString& key, const QString& value,
                    const QString& file);

struct ParagraphError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// "papara1.txt" (n = 1) or "papara2.txt" (n = 2) of the program folder, lines run
// together. Throws ParagraphError when the file cannot be opened.
QString ReadParagraph(int n);

} // namespace gw
