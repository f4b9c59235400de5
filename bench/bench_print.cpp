// Prints every installed style as Basic Catalog I and as Six Up Catalog to PDF
// files in a temporary folder and reports speed, peak memory and file size.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <sys/resource.h>

#include "core/startup/startup.h"
#include "platform/platform.h"
#include "print/catalogs.h"
#include "print/printlist.h"
#include "print/qtprinter.h"

namespace {

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    // Default settings, and nothing written into the user's own folders.
    qputenv("GLYPHWICK_HOME", (dir.path() + "/home").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (dir.path() + "/cache").toLocal8Bit());
    QApplication app(argc, argv);
    gw::SetPlatform(gw::MakeDesktopPlatform());
    gw::StartupPaths();
    gw::StartupFontsKey();
    gw::DetectATM();
    gw::StartupFolders();
    gw::ReadRegistrations();

    QTextStream out(stdout);
    QElapsedTimer timer;
    timer.start();
    const gw::PrintFontList fonts = gw::InstalledPrintFonts({});
    const double listSeconds = timer.nsecsElapsed() / 1e9;
    out << "Installed styles: " << fonts.size() << " (listed in " << QString::number(listSeconds, 'f', 2)
        << " s, peak memory " << PeakKilobytes() / 1024 << " MB)\n";
    if (fonts.empty())
        return 1;

    const gw::Gauge gauge = [](int) {};
    int code = 0;
    for (const QString& layout : {QStringLiteral("Basic Catalog I"), QStringLiteral("Six Up Catalog")}) {
        const QString file = dir.path() + "/" + QString(layout).replace(' ', '-') + ".pdf";
        timer.restart();
        {
            auto surface = gw::QtPrinterSurface::ForPdf(file, gw::PaperLetter);
            if (!surface || !surface->IsValid()) {
                out << layout << ": cannot write " << file << "\n";
                code = 1;
                continue;
            }
            gw::PrintCatalogs(*surface, layout, fonts, gauge, QStringLiteral("Glyphwick Benchmark"), QString());
            surface->Close();
        }
        const double seconds = timer.nsecsElapsed() / 1e9;
        const qint64 bytes = QFileInfo(file).size();
        out << qSetFieldWidth(16) << Qt::left << layout << qSetFieldWidth(0)
            << QString::number(fonts.size() / seconds, 'f', 1) << " fonts/s, "
            << QString::number(seconds, 'f', 2) << " s, peak memory " << PeakKilobytes() / 1024 << " MB, "
            << bytes / qint64(fonts.size()) << " PDF bytes/font (" << bytes / 1024 << " KB)\n";
        out.flush();
        if (bytes == 0)
            code = 1;
    }
    gw::SetPlatform(nullptr);
    return code;
}
