#pragma once
// What every command-line program of Glyphwick does around its work: a GUI
// application (offscreen when there is no display, since fonts need one), the
// desktop platform, and settings problems on the error output instead of boxes.
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace gw {

using CommandWork = std::function<int(const QStringList& arguments, QTextStream& out, QTextStream& err)>;

// Runs work with the program's arguments (without its name); its exit code.
int RunCommandLineProgram(int argc, char** argv, const QString& program, const CommandWork& work);

// "program: message" on the error output, with a pointer to --help after a
// wrong command line (usage); returns code.
int CommandFailure(QTextStream& err, const QString& program, int code, const QString& message, bool usage);

} // namespace gw
