#pragma once
// The command-line font installer, glyphwick-fonts: installs, uninstalls,
// lists and restores fonts with the install and remove wizards' own code,
// without a window. Everything but the process lives here so tests can run
// it in-process.
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace gw {

enum FontsExitCodes : int { FontsExitOk = 0, FontsExitFailed = 1, FontsExitUsage = 2 };

// The usage text of --help.
QString FontsUsage();

// Runs one command; `arguments` without the program name. The platform must
// be set. Returns the exit code (FontsExitCodes).
int RunFontsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace gw
