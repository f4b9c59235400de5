#pragma once
// `glyphwick-fonts info FILE [--face N]`: the facts of one face of a font file,
// one "Name: value" line each.
#include <QStringList>
#include <QTextStream>

namespace gw {

// args are the words after "info". Returns the exit status: 0 printed, 1 the
// file is not a readable font, 2 a wrong command line.
int RunFontInfoCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace gw
