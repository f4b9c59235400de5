#include "fonts/fontinfocommand.h"

#include <QFileInfo>

#include "fonts/fontfacts.h"

namespace gw {

int RunFontInfoCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString usage = QStringLiteral("usage: glyphwick-fonts info FILE [--face N]");
    QString file;
    int face = 0;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--face")) {
            bool number = false;
            face = i + 1 < args.size() ? args[i + 1].toInt(&number) : -1;
            if (!number || face < 0) {
                err << "glyphwick-fonts info: --face needs a face number from 0\n" << usage << '\n';
                return 2;
            }
            ++i;
        } else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            file = args[i];
        } else {
            err << "glyphwick-fonts info: unexpected \"" << args[i] << "\"\n" << usage << '\n';
            return 2;
        }
    }
    if (file.isEmpty()) {
        err << "glyphwick-fonts info: no font file given\n" << usage << '\n';
        return 2;
    }
    if (!QFileInfo(file).isFile()) {
        err << "glyphwick-fonts info: " << file << ": no such file\n";
        return 1;
    }
    const FontFacts facts = ReadFontFacts(file, face);
    if (!facts.readable) {
        if (facts.faceCount > 0)
            err << "glyphwick-fonts info: " << file << " has " << facts.faceCount
                << (facts.faceCount == 1 ? " face" : " faces") << " (0 to " << facts.faceCount - 1
                << "), not " << face << '\n';
        else
            err << "glyphwick-fonts info: " << file << ": not an OpenType or TrueType font\n";
        return facts.faceCount > 0 ? 2 : 1;
    }
    out << "File: " << file << '\n';
    out << "Face: " << face << " of " << facts.faceCount << '\n';
    for (const QString& line : FontFactsLines(facts))
        out << line << '\n';
    out.flush();
    return 0;
}

} // namespace gw
