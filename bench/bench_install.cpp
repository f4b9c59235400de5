// The install wizard's scan against fc-scan, and printing uninstalled fonts as
// Basic Catalog I to PDF (through the wizard and through glyphwick-print's
// --folder reading), at 100, 1,000 and 10,000 generated font files.
//
//   glyphwick-bench-install [N ...]     every size in a fresh process (peak memory per size)
//   glyphwick-bench-install --one N     one size in this process
//   glyphwick-bench-install --one N --scan-only   the scan and Cancel Read, no printing
//   GW_BENCH_FOLDER=dir ...             reads the fonts of dir instead of making copies
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QTextStream>
#include <sys/resource.h>

#include "../tests/sfntbuilder.h"
#include "core/globals.h"
#include "core/settings.h"
#include "startup/startup.h"
#include "platform/desktop.h"
#include "print/catalogs.h"
#include "print/printlist.h"
#include "print/pdfsurface.h"
#include "wizards/installwizard.h"

namespace {

QTreeWidget* FontList(const gw::InstallWizard& wizard)
{
    return wizard.findChild<QTreeWidget*>("fontList");
}

long PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The smallest installed sfnt font that has letters: the corpus is N copies
// of it, each with its own family and full name.
QString BaseFontFile()
{
    QString best;
    qint64 bestSize = 0;
    for (const gw::DesktopFace& face : gw::DesktopFontFaces()) {
        const QString suffix = QFileInfo(face.file).suffix().toLower();
        if (suffix != "ttf" && suffix != "otf")
            continue;
        const qint64 size = QFileInfo(face.file).size();
        if (!best.isEmpty() && size >= bestSize)
            continue;
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(face.family);
        if (!systems.contains(QFontDatabase::Latin) || systems.contains(QFontDatabase::Symbol))
            continue;
        QRawFont raw(face.file, 12);
        if (raw.isValid() && raw.supportsCharacter(QChar('A')) && raw.supportsCharacter(QChar('z'))) {
            best = face.file;
            bestSize = size;
        }
    }
    return best;
}

QString Letters(int n)
{
    QString s;
    for (int i = 0; i < 4; ++i, n /= 26)
        s.prepend(QChar('A' + n % 26));
    return s;
}

double Seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

// Processor time of this process, or of its finished children: on a shared
// machine the wall clock measures the neighbours as much as the code.
double CpuSeconds(int who = RUSAGE_SELF)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The first three fields of /proc/loadavg: the neighbours' share of the run.
QString LoadAverage()
{
    QFile f("/proc/loadavg");
    if (!f.open(QIODevice::ReadOnly))
        return "unknown";
    return QString::fromLatin1(f.readAll()).section(' ', 0, 2);
}

// Cancel Read in the middle of a scan of the folder the wizard read last: how
// long until the wizard is free again.
int CancelRead(int n)
{
    QTextStream out(stdout);
    {
        gw::InstallWizard again(gw::InstallWizard::Mode::Install);
        auto* cancelRead = again.findChild<QPushButton*>("cancelReadButton");
        QElapsedTimer clicked;
        QTimer::singleShot(300, &again, [&] {
            if (cancelRead->isHidden())
                return;  // done before the click (it shows while a folder is read)
            clicked.start();
            cancelRead->click();
        });
        again.GoToNextStep();
        const double answer = clicked.isValid() ? Seconds(clicked) : -1;
        out << n << " files, Cancel Read after 0.3 s: scan stopped " << QString::number(answer, 'f', 3)
            << " s after the click, " << FontList(again)->topLevelItemCount() << " rows kept\n";
        again.close();
    }
    out << "load average " << LoadAverage() << "\n";
    return 0;
}

int RunOne(int n, bool scanOnly)
{
    QTemporaryDir dir;
    QTextStream out(stdout);
    const QString base = BaseFontFile();
    if (base.isEmpty()) {
        out << "no installed font to derive a corpus from\n";
        return 1;
    }
    QFile baseFile(base);
    if (!baseFile.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray font = baseFile.readAll();
    // GW_BENCH_FOLDER: a folder of fonts to read instead of the copies (the
    // real-font corpus glyphwick-bench leaves in GW_BENCH_ROOT, say).
    const QString given = QString::fromLocal8Bit(qgetenv("GW_BENCH_FOLDER"));
    const QString corpus = given.isEmpty() ? dir.path() + "/corpus" : given;
    QDir().mkpath(corpus);
    const QString ext = QFileInfo(base).suffix().toLower();
    for (int i = 0; given.isEmpty() && i < n; ++i) {
        const QString family = "Bench " + Letters(i) + " Grotesk";
        QFile f(corpus + "/bench" + QString::number(i) + "." + ext);
        if (!f.open(QIODevice::WriteOnly) || f.write(gw::SfntBuilder::Renamed(font, family, family)) <= 0)
            return 1;
    }

    QElapsedTimer t;
    t.start();
    const double childCpu = CpuSeconds(RUSAGE_CHILDREN);
    QProcess fcScan;
    fcScan.setStandardOutputFile(QProcess::nullDevice());
    fcScan.start("fc-scan", {corpus});
    fcScan.waitForFinished(-1);
    const double fcSeconds = Seconds(t);
    const double fcCpu = CpuSeconds(RUSAGE_CHILDREN) - childCpu;

    gw::WriteIniString("CatalogWizard", "sourceDir", corpus, gw::IniFile);
    gw::InstallWizard wizard(gw::InstallWizard::Mode::PrintUninstalled);
    t.restart();
    double cpu = CpuSeconds();
    wizard.GoToNextStep(); // the files step reads the folder
    const double scanSeconds = Seconds(t);
    const double scanCpu = CpuSeconds() - cpu;
    const int listed = FontList(wizard)->topLevelItemCount();
    const QString what = given.isEmpty() ? QString::number(n) + " files (" + QFileInfo(base).fileName() + ")" : given;
    out << what << ", " << listed << " listed: scan "
        << QString::number(scanSeconds, 'f', 2) << " s (cpu " << QString::number(scanCpu, 'f', 2) << " s), fc-scan "
        << QString::number(fcSeconds, 'f', 2) << " s (cpu " << QString::number(fcCpu, 'f', 2) << " s), ratio "
        << QString::number(scanSeconds / fcSeconds, 'f', 2) << " wall, " << QString::number(scanCpu / fcCpu, 'f', 2)
        << " cpu\n";
    out.flush();

    if (scanOnly) {
        wizard.close();
        return CancelRead(n);
    }

    // The wizard's print run: every font selected, Basic Catalog I to PDF.
    wizard.SelectFonts("ALL");
    auto* next = wizard.findChild<QPushButton*>("nextButton");
    while (next->isEnabled())
        next->click();
    const QString pdf = dir.path() + "/wizard.pdf";
    wizard.OpenPrinter = [pdf] {
        return std::shared_ptr<gw::PrinterSurface>(gw::PdfSurface::Create(pdf, gw::PaperLetter).release());
    };
    t.restart();
    cpu = CpuSeconds();
    wizard.findChild<QPushButton*>("goButton")->click();
    const double wizardPrint = Seconds(t);
    const double wizardCpu = CpuSeconds() - cpu;
    out << n << " fonts, wizard Basic Catalog I: " << QString::number(n / wizardPrint, 'f', 0) << " fonts/s ("
        << QString::number(wizardPrint, 'f', 2) << " s; by cpu time " << QString::number(n / wizardCpu, 'f', 0)
        << " fonts/s), " << QFileInfo(pdf).size() / 1024 << " KB PDF, peak memory "
        << PeakMegabytes() << " MB\n";
    out.flush();
    // Closing removes the fonts added for the run.
    t.restart();
    wizard.close();
    out << n << " fonts, closing the wizard after printing: " << QString::number(Seconds(t), 'f', 2) << " s\n";

    // glyphwick-print --folder: the same reading of the folder, then the same layout.
    t.restart();
    cpu = CpuSeconds();
    {
        gw::TemporaryPrintFonts added;
        QStringList problems;
        const gw::PrintFontList fonts = gw::FolderPrintFonts(corpus, &problems, added);
        auto surface = gw::PdfSurface::Create(dir.path() + "/cli.pdf", gw::PaperLetter);
        gw::PrintCatalogs(*surface, "Basic Catalog I", fonts, [](int) {}, "Bench", corpus);
        surface->Finish(nullptr);
    }
    const double cliSeconds = Seconds(t);
    const double cliCpu = CpuSeconds() - cpu;
    out << n << " fonts, --folder Basic Catalog I (reading included): " << QString::number(n / cliSeconds, 'f', 0)
        << " fonts/s (" << QString::number(cliSeconds, 'f', 2) << " s; by cpu time "
        << QString::number(n / cliCpu, 'f', 0) << " fonts/s), peak memory " << PeakMegabytes() << " MB\n";
    out.flush();

    return CancelRead(n);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QStringList args = [&] {
        QStringList a;
        for (int i = 1; i < argc; ++i)
            a << QString::fromLocal8Bit(argv[i]);
        return a;
    }();
    if (args.value(0) != "--one") {
        // Each size in a fresh process, so that peak memory is that size's own.
        QCoreApplication app(argc, argv);
        const QStringList sizes = args.isEmpty() ? QStringList{"100", "1000", "10000"} : args;
        int code = 0;
        for (const QString& n : sizes) {
            QProcess one;
            one.setProcessChannelMode(QProcess::ForwardedChannels);
            one.start(QCoreApplication::applicationFilePath(), {"--one", n});
            one.waitForFinished(-1);
            code |= one.exitCode();
        }
        return code;
    }
    QTemporaryDir home;
    qputenv("GLYPHWICK_HOME", (home.path() + "/home").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    QApplication app(argc, argv);
    gw::SetPlatform(gw::MakeDesktopPlatform());
    gw::StartupValues();
    const int code = RunOne(args.value(1).toInt(), args.value(2) == "--scan-only");
    gw::SetPlatform(nullptr);
    return code;
}
