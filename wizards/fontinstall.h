#pragma once
// Installing one scanned font file into the user's font folder: the copy, the
// name-clash question, the font resource and the registration. The install
// wizard and `glyphwick-fonts install` both run it; questions and error
// messages go through the platform's message boxes.
#include <QString>

#include "fonts/fontscan.h"
#include "platformapi/platform.h"

namespace gw {

struct InstallResult {
    bool installed = false;
    bool stop = false;  // the run cannot go on (disk full, Cancel on "Disk not ready", ...)
    QString reason;     // why the font was not installed, for the result list
};

// Installs font into destFolder (no trailing "/") and registers it in key
// (may be null). Installed means the system lists the font file afterwards.
InstallResult InstallFontFile(FontFileRecord& font, const QString& destFolder, RegistryKey* key);

// A further face (of a collection) of the file that InstallFontFile installed
// for installedFace in this run: registered in key beside it, not copied again.
void AddInstalledFace(FontFileRecord& face, const FontFileRecord& installedFace, RegistryKey* key);

// The line of the result list for a font that was not installed.
QString NotInstalledLine(const FontFileRecord& font, const QString& reason);

} // namespace gw
