// glyphwick-fonts: installs, uninstalls, lists and restores fonts from the command line.
#include <QApplication>
#include <QTextStream>

#include "core/settings.h"
#include "platform/platform.h"
#include "wizards/fontscli.h"

int main(int argc, char** argv)
{
    // Fonts need a GUI application; without a display it still must run.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyphwick"));
    gw::SetPlatform(gw::MakeDesktopPlatform());

    QTextStream out(stdout);
    QTextStream err(stderr);
    gw::SetSettingsWarning([&err](const QString& text) {
        err << "glyphwick-fonts: " << text.simplified() << Qt::endl;
    });
    const int code = gw::RunFontsCommand(QApplication::arguments().mid(1), out, err);
    gw::SetSettingsWarning(nullptr);
    gw::SetPlatform(nullptr);
    return code;
}
