#pragma once
// The command-line printer, glyphwick-print: a catalog or sample sheets of the
// installed fonts, or of the uninstalled fonts of a folder, to a PDF file or a
// printer. Everything but the process lives here so tests can run it in-process.
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace gw {

enum PrintExitCodes : int { PrintExitOk = 0, PrintExitFailed = 1, PrintExitUsage = 2 };

// The usage text of --help.
QString PrintUsage();

// "[#####.....]  45%": a bar of `width` cells for percent (clamped to 0..100).
QString ProgressBarText(int percent, int width = 30);

// Runs one command. `arguments` are the command-line arguments without the
// program name. The platform must be set; the program-wide paths are set here.
// Returns the exit code (PrintExitCodes).
int RunPrintCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace gw
