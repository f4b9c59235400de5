// glyphwick-print: its failures and exit codes, help, and real PDF output of
// installed fonts, sample sheets and uninstalled fonts of a folder.
#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/printcli.h"
#include "print/sheets.h"
#include "testenv.h"

using namespace gw;

namespace {

struct Result {
    int code = -1;
    QString out, err;
};

Result Run(const QStringList& arguments)
{
    Result r;
    QTextStream out(&r.out), err(&r.err);
    r.code = RunPrintCommand(arguments, out, err);
    return r;
}

QString Tool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString PdfText(const QString& pdf) { return Tool("pdftotext", {pdf, "-"}); }

int PdfPages(const QString& pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption)
            .match(Tool("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// A copy of DejaVu Sans renamed "Glyphw Test" throughout its naming table:
// a real font that is not installed.
bool WriteRenamedFont(const QString& path)
{
    QByteArray bytes = ReadFile(SystemFile("DejaVuSans.ttf"));
    if (bytes.isEmpty())
        return false;
    const QString from = "DejaVu Sans", to = "Glyphw Test";
    bytes.replace(from.toLatin1(), to.toLatin1());
    QByteArray wideFrom, wideTo;
    for (int i = 0; i < from.size(); ++i) {
        wideFrom += '\0' + from.toLatin1().mid(i, 1);
        wideTo += '\0' + to.toLatin1().mid(i, 1);
    }
    bytes.replace(wideFrom, wideTo);
    return WriteFile(path, bytes);
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void failures_data();
    void failures();
    void help();
    void catalogTitle_data();
    void catalogTitle();
    void sheets();
    void uninstalledFolder();
    void progressBar_data();
    void progressBar();
    void executable();
};

void CliTest::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString pdf = "{tmp}/x.pdf";
    QTest::newRow("nothing") << QStringList() << 2 << "give either --layout or --sheets";
    QTest::newRow("layout and sheets")
        << QStringList({"--layout", "Six Up Catalog", "--sheets", "ANSI Chart", "--output", pdf}) << 2
        << "give either --layout or --sheets";
    QTest::newRow("unknown option") << QStringList({"--colour", "red"}) << 2 << "Unknown option";
    QTest::newRow("stray argument") << QStringList({"--layout", "Six Up Catalog", "--output", pdf, "more"})
                                    << 2 << "unexpected argument \"more\"";
    QTest::newRow("bad layout lists the layouts")
        << QStringList({"--layout", "Four Up", "--output", pdf}) << 2
        << "unknown layout \"Four Up\"; the layouts are \"Basic Catalog I\", \"Basic Catalog II\"";
    QTest::newRow("bad sheet lists the sheets")
        << QStringList({"--sheets", "ansi chart,Poster", "--output", pdf}) << 2
        << "unknown sheet \"Poster\"; the sheets are \"" + SheetNames().first() + "\"";
    QTest::newRow("no destination") << QStringList({"--layout", "Six Up Catalog"}) << 2
                                    << "give either --output FILE.pdf or --printer NAME";
    QTest::newRow("two destinations")
        << QStringList({"--layout", "Six Up Catalog", "--output", pdf, "--printer", "x"}) << 2
        << "give either --output FILE.pdf or --printer NAME";
    QTest::newRow("bad paper") << QStringList({"--layout", "Six Up Catalog", "--paper", "legal", "--output", pdf})
                               << 2 << "unknown paper \"legal\"";
    QTest::newRow("missing folder")
        << QStringList({"--layout", "Six Up Catalog", "--folder", "{tmp}/none", "--output", pdf}) << 1
        << "cannot read the folder \"{tmp}/none\"";
    QTest::newRow("folder without fonts")
        << QStringList({"--layout", "Six Up Catalog", "--folder", "{tmp}/home", "--output", pdf}) << 1
        << "no uninstalled fonts in \"{tmp}/home\"";
    QTest::newRow("no matching font")
        << QStringList({"--layout", "Six Up Catalog", "--family", "No Such Family", "--output", pdf}) << 1
        << "no installed font matches \"No Such Family\"";
    QTest::newRow("unknown printer")
        << QStringList({"--layout", "Six Up Catalog", "--printer", "No Such Printer"}) << 1
        << "unknown printer \"No Such Printer\"";
    QTest::newRow("output folder missing")
        << QStringList({"--layout", "Six Up Catalog", "--output", "{tmp}/none/x.pdf"}) << 1
        << "cannot write \"{tmp}/none/x.pdf\"";
    QTest::newRow("output is a folder") << QStringList({"--layout", "Six Up Catalog", "--output", "{tmp}"})
                                        << 1 << "cannot write \"{tmp}\"";
}

void CliTest::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    TestEnv env;
    env.UseDesktopPlatform();
    arguments.replaceInStrings("{tmp}", env.root());
    message.replace("{tmp}", env.root());

    const Result r = Run(arguments);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.startsWith("glyphwick-print: ") && r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.err.contains("--help"), code == 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFileInfo::exists(env.root() + "/x.pdf"));
}

void CliTest::help()
{
    TestEnv env;
    env.UseDesktopPlatform();
    const Result r = Run({"--help"});
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    QVERIFY(r.out.startsWith("Usage: glyphwick-print"));
    for (const QString& name : CatalogNames() + SheetNames())
        QVERIFY2(r.out.contains("  " + name + "\n"), qPrintable(name));
}

void CliTest::catalogTitle_data()
{
    QTest::addColumn<QStringList>("titleArguments");
    QTest::addColumn<QString>("title");
    QTest::newRow("from the settings") << QStringList() << "Saved Settings Title";
    QTest::newRow("from the command line") << QStringList({"--title", "Command Line Title"})
                                           << "Command Line Title";
}

void CliTest::catalogTitle()
{
    QFETCH(QStringList, titleArguments);
    QFETCH(QString, title);
    TestEnv env;
    env.UseDesktopPlatform();
    WriteIniString("Inventory", "Title", "Saved Settings Title", Sys().system->ProgramFolder() + "/gw.ini");
    const QString pdf = env.root() + "/catalog.pdf";

    const Result r = Run(QStringList({"--layout", "basic catalog i", "--family", "Liberation",
                                      "--output", pdf}) + titleArguments);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains("(Basic Catalog I) to " + pdf), qPrintable(r.out));
    const QString text = PdfText(pdf);
    QVERIFY(text.contains("Liberation Sans"));
    QVERIFY(text.contains(title));
    QVERIFY(!text.contains("DejaVu"));
}

void CliTest::sheets()
{
    TestEnv env;
    env.UseDesktopPlatform();
    const QString pdf = env.root() + "/sheets.pdf";
    const QStringList names = SheetNames();
    const Result r = Run({"--sheets", names[0].toUpper() + " , " + names[7].toLower(), "--family",
                          "Liberation Serif", "--paper", "A4", "--output", pdf});
    QCOMPARE(r.code, 0);
    // Four styles, two sheets each.
    QCOMPARE(PdfPages(pdf), 8);
    QVERIFY(Tool("pdfinfo", {pdf}).contains("(A4)"));
}

void CliTest::uninstalledFolder()
{
    TestEnv env;
    env.UseDesktopPlatform();
    const QString dir = env.root() + "/cd";
    if (!WriteRenamedFont(dir + "/glyphwtest.ttf"))
        QSKIP("DejaVuSans.ttf is not installed");
    QVERIFY(QFile::copy(SystemFile("DejaVuSans.ttf"), dir + "/installed.ttf"));
    WriteFile(dir + "/broken.ttf", "not a font");
    const QString pdf = env.root() + "/cd.pdf";

    const Result r = Run({"--layout", "Basic Catalog II", "--folder", dir, "--title", "My CD", "--output", pdf});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains("Printed 1 font (Basic Catalog II)"), qPrintable(r.out));
    QVERIFY2(r.err.contains("skipped " + dir + "/broken.ttf"), qPrintable(r.err));
    const QString text = PdfText(pdf);
    QVERIFY(text.contains("Glyphw Test"));
    QVERIFY(text.contains(dir)); // the folder line of this layout
    // The sample is drawn in the added font itself, not in the Arial fallback.
    QVERIFY(Tool("pdffonts", {pdf}).contains("DejaVuSans "));
    QVERIFY(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}).isEmpty());
}

void CliTest::progressBar_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("bar");
    QTest::newRow("empty") << 0 << "[..........]   0%";
    QTest::newRow("part, rounded down") << 45 << "[####......]  45%";
    QTest::newRow("full") << 100 << "[##########] 100%";
    QTest::newRow("below 0") << -5 << "[..........]   0%";
    QTest::newRow("over 100") << 130 << "[##########] 100%";
}

void CliTest::progressBar()
{
    QFETCH(int, percent);
    QFETCH(QString, bar);
    QCOMPARE(ProgressBarText(percent, 10), bar);
}

void CliTest::executable()
{
    const QString exe = QCoreApplication::applicationDirPath() + "/../app/glyphwick-print";
    if (!QFileInfo(exe).isExecutable())
        QSKIP("glyphwick-print is not built");
    TestEnv env;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("GLYPHWICK_HOME", env.home());
    environment.insert("XDG_CONFIG_HOME", env.configHome());
    environment.insert("XDG_DATA_HOME", env.dataHome());
    environment.insert("XDG_CACHE_HOME", env.root() + "/cache");
    // Without a display it must pick the offscreen platform itself.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    const QString pdf = env.root() + "/child.pdf";

    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(exe, {"--layout", "Three Up Catalog", "--family", "Liberation Mono", "--output", pdf});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(PdfText(pdf).contains("Liberation Mono"));

    p.start(exe, {"--layout", "Nine Up", "--output", pdf});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("unknown layout \"Nine Up\""));
}

QTEST_MAIN(CliTest)
#include "test_printcli.moc"
