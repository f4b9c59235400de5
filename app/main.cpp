#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "checker/versioncheck.h"
#include "mainwindow/mainwindow.h"
#include "startup/startup.h"

int main(int argc, char** argv)
{
    // Qt would abort with advice about reinstalling; say what is missing instead.
    const QString noDisplay = gw::MissingDisplayText(argc, argv);
    if (!noDisplay.isEmpty()) {
        std::fputs(noDisplay.toLocal8Bit().constData(), stderr);
        return 1;
    }
    gw::SetComponentChecker(gw::RunComponentCheck);
    return gw::RunGlyphwick(argc, argv, [] {
        auto* window = new gw::MainWindow;
        // "glyphwick FILE..." (a file manager's "Open With"): font files or a
        // folder open the install wizard on them once the window is up.
        const QStringList paths = QApplication::arguments().mid(1);
        if (!paths.isEmpty())
            QTimer::singleShot(0, window, [window, paths] { window->InstallFromFiles(paths); });
        return window;
    });
}
