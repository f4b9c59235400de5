// glyphwick-print: its failures and exit codes, help, a failed write, and a run as a child process
// (fonts of a folder are printed in print_test_facesprinted).
#include <QtTest>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "core/globals.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/printcli.h"
#include "print/sheets.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

class CliTest : public QObject {
    Q_OBJECT

private slots:
    // Bad arguments and failures: exit code 2 for misuse, 1 for a run that failed.
    void failures()
    {
        // Arguments split at "|" ({tmp} is the test folder), exit code, a key part of the message.
        const QString six = "--layout|Six Up Catalog|", pdf = "|--output|{tmp}/x.pdf";
        const struct { QString arguments; int code; QString message; } cases[] = {
            {"", 2, "give either --layout or --sheets"},
            {"--layout|Four Up" + pdf, 2, "unknown layout \"Four Up\"; the layouts are \"Basic Catalog I\", \"Basic"},
            {"--sheets|ansi chart,Poster" + pdf, 2, "unknown sheet \"Poster\"; the sheets are \"Specimen Sheet I\""},
            {six + "--printer|x" + pdf, 2, "give either --output FILE.pdf or --printer NAME"},
            {six + "--paper|legal" + pdf, 2, "unknown paper \"legal\""},
            {six + six + pdf, 2, "--layout may be given only once"},
            {six + "--folder|{tmp}/none" + pdf, 1, "cannot read the folder \"{tmp}/none\""},
            {six + "--folder|{tmp}/home" + pdf, 1, "no uninstalled fonts in \"{tmp}/home\""},
            {six + "--folder|{tmp}/dir.pdf" + pdf, 1, "skipped {tmp}/dir.pdf/fonts.ttf: a folder\n"},
            {six + "--family|No Such Family" + pdf, 1, "no installed font matches \"No Such Family\""},
            {six + "--printer|No Such Printer", 1, "unknown printer \"No Such Printer\""},
            {six + "--output|{tmp}/none/x.pdf", 1, "cannot write \"{tmp}/none/x.pdf\""},
            {six + "--output|{tmp}/x.ttf", 2, "the --output file name must end in \".pdf\""},
            // Refused at once: a pipe would wait for a reader.
            {six + "--output|{tmp}/dir.pdf", 2, "\"{tmp}/dir.pdf\" is a folder, a device or a pipe"},
            {six + "--output|{tmp}/pipe.pdf", 2, "\"{tmp}/pipe.pdf\" is a folder, a device or a pipe"},
            {six + "--output|{tmp}/null.pdf", 2, "\"{tmp}/null.pdf\" is a folder, a device or a pipe"},
        };
        for (auto c : cases) {
            TestEnv env;
            env.UseDesktopPlatform();
            QVERIFY(QDir().mkpath(env.root() + "/dir.pdf/fonts.ttf") && QFile::link("/dev/null", env.root() + "/null.pdf")
                    && mkfifo(QFile::encodeName(env.root() + "/pipe.pdf").constData(), 0600) == 0);
            const QString arguments = c.arguments.replace("{tmp}", env.root());
            const CommandResult r = RunCommand(RunPrintCommand, arguments.split('|', Qt::SkipEmptyParts));
            const QString message = c.message.replace("{tmp}", env.root());
            QVERIFY2(r.code == c.code && r.err.startsWith("glyphwick-print: ") && r.err.contains(message),
                     qPrintable(c.arguments + " gave " + QString::number(r.code) + ": " + r.err));
            QCOMPARE(r.err.contains("--help"), c.code == 2);
            QVERIFY(r.out.isEmpty() && !QFileInfo::exists(env.root() + "/x.pdf"));
        }
    }

    void helpAndVersion()
    {
        TestEnv env;
        const CommandResult r = RunCommand(RunPrintCommand, {"--help"});
        QVERIFY(r.code == 0 && r.err.isEmpty() && r.out.startsWith("Usage: glyphwick-print"));
        for (const QString& name : CatalogNames() + SheetNames())
            QVERIFY2(r.out.contains("  " + name + "\n"), qPrintable(name));
        QCOMPARE(RunCommand(RunPrintCommand, {"--version"}).out, QString("glyphwick-print 0.1\n"));
        QCOMPARE(ProgressBarText(5, 10) + ProgressBarText(150, 4), QString("[..........]   5%[####] 100%"));  // one width
    }

    // A write that fails half-way (a full disk) leaves the earlier file as it was and no other.
    void failedWriteKeepsEarlierFile()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QString pdf = env.root() + "/out/fonts.pdf";
        const QStringList arguments = {"--layout", "Basic Catalog I", "--family", "DejaVu Sans", "--output", pdf};
        QVERIFY(WriteFile(pdf, "the earlier printout"));
        // A partial PDF of a killed run (a process that is gone) goes too.
        QVERIFY(WriteFile(env.root() + "/out/.glyphwick-999999999-AbC123.pdf", "%PDF-1.4 cut"));
        signal(SIGXFSZ, SIG_IGN);
        rlimit before{}, small{};
        getrlimit(RLIMIT_FSIZE, &before);
        small = {4096, before.rlim_max};  // no PDF of a catalog is this small
        setrlimit(RLIMIT_FSIZE, &small);
        const CommandResult r = RunCommand(RunPrintCommand, arguments);
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY2(r.code == 1 && r.err.contains("cannot write \"" + pdf + "\": the file could not be written whole"), qPrintable(r.err));
        QCOMPARE(ReadFile(pdf), QByteArray("the earlier printout"));
        QCOMPARE(QDir(env.root() + "/out").entryList(QDir::Files | QDir::Hidden), QStringList{"fonts.pdf"});
        // Without the limit the same run replaces it whole; many fonts, but no progress bar into a log.
        const CommandResult whole = RunCommand(RunPrintCommand, arguments);
        QVERIFY2(whole.code == 0 && !whole.err.contains('\r'), qPrintable(whole.err));
        QVERIFY(ReadFile(pdf).startsWith("%PDF") && ReadFile(pdf).trimmed().endsWith("%%EOF"));
    }

    // On a terminal a run of four fonts or more draws one progress bar in place: from 0 % to 100 %, each
    // step once, then a new line; fewer print too fast for one.
    void progressOnATerminal_data()
    {
        QTest::addColumn<int>("fonts");  // in a folder; 0: the DejaVu Sans family, of many pages
        QTest::newRow("many pages: a bar growing") << 0;
        QTest::newRow("four fonts: a bar") << 4;
        QTest::newRow("three fonts: none") << 3;
        QTest::newRow("one font: none") << 1;
    }
    void progressOnATerminal()
    {
        QFETCH(int, fonts);
        TestEnv env;
        env.UseDesktopPlatform();
        const QByteArray sans = ReadFile(SystemFile("LiberationSans-Regular.ttf"));
        for (int i = 0; i < fonts; ++i)
            QVERIFY(WriteFile(env.root() + QString("/folder/f%1.ttf").arg(i),
                              SfntBuilder::Renamed(sans, QString("Bar %1").arg(i), QString("Bar %1").arg(i))));
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        const auto closeMaster = qScopeGuard([master] { ::close(master); });
        QFile terminal(QString::fromLocal8Bit(ptsname(master)));
        QVERIFY(terminal.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        // Both on the terminal, the output written when the terminal closes: the bar's line must end first.
        QTextStream out(&terminal), err(&terminal);
        const QStringList where = fonts ? QStringList{"--folder", env.root() + "/folder"} : QStringList{"--family", "DejaVu Sans"};
        QCOMPARE(RunPrintCommand(QStringList{"--layout", "Basic Catalog I", "--output", env.root() + "/fonts.pdf"} + where,
                                 out, err), 0);
        terminal.close();
        QByteArray shown;
        QVERIFY(fcntl(master, F_SETFL, O_NONBLOCK) == 0);
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, n);
        const QByteArray printed = QString("Printed %1 (Basic Catalog I) to %2/fonts.pdf\r\n")  // a terminal ends a line with \r\n
                                       .arg(fonts == 1 ? "1 font" : QString::number(fonts) + " fonts", env.root()).toUtf8();
        QVERIFY2(!fonts || shown.endsWith(printed), shown.constData());
        shown.chop(shown.size() - shown.lastIndexOf("Printed "));
        if (fonts && fonts < 4) {
            QVERIFY2(shown.isEmpty(), shown.constData());
            return;
        }
        QVERIFY2(shown.startsWith("\r[") && shown.endsWith("] 100%\r\n"), shown.constData());
        QList<int> percents;
        for (const QByteArray& bar : shown.chopped(2).split('\r'))
            if (!bar.isEmpty())
                percents << bar.mid(bar.indexOf(']') + 1).chopped(1).trimmed().toInt();
        QVERIFY2(percents.size() > (fonts ? 1 : 2) && percents.first() == 0 && percents.last() == 100
                     && std::is_sorted(percents.begin(), percents.end())
                     && std::adjacent_find(percents.begin(), percents.end()) == percents.end(),
                 shown.constData());
    }

    // The catalog run as a child process, without a display.
    void executable()
    {
        const QString exe = QCoreApplication::applicationDirPath() + "/../app/glyphwick-print";
        if (!QFileInfo(exe).isExecutable())
            QSKIP("glyphwick-print is not built");
        TestEnv env;
        // The title last used in Glyphwick.
        WriteIniString("Inventory", "Title", "Saved Settings Title", env.home() + "/gw.ini");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        const QString pdf = env.root() + "/child.pdf";
        QProcess p;
        p.setProcessEnvironment(environment);  // the test folders of TestEnv
        p.start(exe, {"--layout", "basic catalog i", "--family", "Liberation Mono", "--output", pdf});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains("(Basic Catalog I) to " + pdf));
        const QString text = ToolOutput("pdftotext", {pdf, "-"});
        QVERIFY(text.contains("Liberation Mono") && text.contains("Saved Settings Title"));
        QVERIFY(!text.contains("Liberation Sans") && !text.contains("DejaVu"));
        // Settings it cannot read are said on the error output, not in a message box, and the run goes on.
        QVERIFY(QFile::remove(env.home() + "/gw.ini") && QDir().mkpath(env.home() + "/gw.ini"));
        p.start(exe, {"--layout", "basic catalog i", "--family", "Liberation Mono", "--output", pdf});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("glyphwick-print: Glyphwick cannot read its settings file"));
    }
};

QTEST_MAIN(CliTest)
#include "test_printcli.moc"
