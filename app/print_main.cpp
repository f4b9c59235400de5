// glyphwick-print: catalogs and sample sheets from the command line.
#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "core/settings.h"
#include "platform/platform.h"
#include "print/printcli.h"
#include "print/qtprinter.h"

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
    // No message boxes from a command: settings problems go to the error output.
    gw::SetSettingsWarning([&err](const QString& text) {
        err << "glyphwick-print: " << text.simplified() << Qt::endl;
    });
    gw::QtPrinterSurface::RemovePartialPdfOnInterrupt();
    const int code = gw::RunPrintCommand(QApplication::arguments().mid(1), out, err);
    gw::SetSettingsWarning(nullptr);
    gw::SetPlatform(nullptr);
    return code;
}
