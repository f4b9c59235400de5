#include "startup/commandline.h"

#include <QApplication>

#include "core/settings.h"
#include "platformapi/platform.h"

namespace gw {

int RunCommandLineProgram(int argc, char** argv, const QString& program, const CommandWork& work)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyphwick"));
    SetPlatform(MakeDesktopPlatform());

    QTextStream out(stdout);
    QTextStream err(stderr);
    // No message boxes from a command: settings problems go to the error output.
    SetSettingsWarning([&err, &program](const QString& text) { err << program << ": " << text.simplified() << Qt::endl; });
    const int code = work(QApplication::arguments().mid(1), out, err);
    SetSettingsWarning(nullptr);
    SetPlatform(nullptr);
    return code;
}

int CommandFailure(QTextStream& err, const QString& program, int code, const QString& message, bool usage)
{
    err << program << ": " << message << "\n";
    if (usage)
        err << "Try '" << program << " --help' for more information.\n";
    err.flush();
    return code;
}

} // namespace gw
