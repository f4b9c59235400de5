#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/printlist.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

// A file of exactly `bytes` bytes.
QString SizedFile(const QString& path, qint64 bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize(bytes) ? path : QString();
}

// Arial (three styles, two registered), Verdana (unregistered), Type 1 Optima and Garamond, a printer font.
void InstallFakeFonts(TestEnv& env)
{
    const QString dir = env.root() + "/files/";
    ATMInstalled = true;
    env.fake.fonts->faces = {TrueTypeFace("Arial"), TrueTypeFace("Arial", "Bold", 700),
                             TrueTypeFace("Arial", "Italic", 400, true), TrueTypeFace("Verdana"),
                             DeviceFace("Optima"), DeviceFace("Optima", 400, true), DeviceFace("Optima", 700, true), DeviceFace("Courier 10cpi"),
                             FakeFontSystem::MakeFace("Garamond", "Garamond", "Semibold Italic", 600, true, DEVICE_FONTTYPE)};
    env.fake.registry->values = {{"Arial (TrueType)", SizedFile(dir + "arial.ttf", 58900)},
                                 {"Arial Bold (TrueType)", SizedFile(dir + "arialbd.ttf", 1000)}};
    env.fake.atm->text = "[Fonts]\nOptima=" + dir + "optima.pfm," + SizedFile(dir + "optima.pfb", 2000000)
                         + "\nOptima,BOLDITALIC=," + dir + "missing.pfb\nGaramond=," + dir + "garamond.pfb\n";
}

// Each entry as "DisplayName: FaceName | AlternateName | FileName | SizeText | FontType".
QStringList Entries(const PrintFontList& fonts)
{
    QStringList entries;
    for (const PrintFontEntry& f : fonts)
        entries << QString("%1: %2 | %3 | %4 | %5 | %6")
                       .arg(f.DisplayName, f.FaceName, f.AlternateName, f.FileName, f.SizeText)
                       .arg(f.FontType);
    return entries;
}

QStringList DisplayNames(const PrintFontList& fonts)
{
    return Entries(fonts).replaceInStrings(QRegularExpression(":.*"), QString());
}

// A font file whose naming table gives this full name and family.
QString FontFile(const QString& path, const QString& family, const QString& fullName)
{
    return WriteFile(path, SfntBuilder::Simple(family, fullName)) ? path : QString();
}

} // namespace

class PrintListTest : public QObject {
    Q_OBJECT

private slots:
    void installedFonts()
    {
        TestEnv env;
        InstallFakeFonts(env);
        // The display options of the main window do not narrow the list, nor are they written.
        for (const char* key : {"ShowTrueType", "ShowATM", "ShowDevice"})
            WriteIniString("GW", key, "0", IniFile);
        const QByteArray settings = ReadFile(IniFile);
        const PrintFontList fonts = InstalledPrintFonts({});
        QCOMPARE(Entries(fonts), QStringList({
            "Arial: Arial | Arial | arial.ttf | 57k | 1",
            "Arial Bold: Arial | Arial Bold | arialbd.ttf | 1K | 1",
            "Arial Italic: Arial | Arial Italic | arial.ttf | 57k | 1",  // through the family's registration
            "Garamond Semibold Italic: Garamond | Garamond | unknown |  | 2",  // the style as the font names it
            "Optima: Optima | Optima | optima.pfb | 1,953k | 2",
            "Optima Bold Italic: Optima | Optima | missing.pfb |  | 2",
            "Optima Italic: Optima | Optima | unknown |  | 2",  // a style of one word
            "Verdana: Verdana | Verdana | unknown |  | 1"}));
        QCOMPARE(fonts[0].Extra, QString("n/a"));
        QCOMPARE(ReadFile(IniFile), settings);
        // Family names only, any letter case, any one of the patterns.
        QCOMPARE(DisplayNames(InstalledPrintFonts({"RIA"})), QStringList({"Arial", "Arial Bold", "Arial Italic"}));
        QCOMPARE(DisplayNames(InstalledPrintFonts({"nothing", "opt"})), QStringList({"Optima", "Optima Bold Italic", "Optima Italic"}));
        QCOMPARE(DisplayNames(InstalledPrintFonts({"Bold"})), QStringList());
    }

    // By display name, letter case ignored, names equal but for case in code order
    // (capitals first) whatever order the font system lists them in.
    void installedOrder_data()
    {
        QTest::addColumn<QStringList>("faces");  // "family" or "family|style", as the system lists them
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("no fonts: nothing, not the empty table's placeholder") << QStringList() << QStringList();
        QTest::newRow("a single font") << QStringList{"Sans"} << QStringList{"Sans"};
        QTest::newRow("letter case ignored") << QStringList{"beta", "Gamma", "alpha"} << QStringList{"alpha", "beta", "Gamma"};
        QTest::newRow("equal but for case, small first") << QStringList{"alpha bold", "Alpha|Bold"} << QStringList{"Alpha Bold", "alpha bold"};
        QTest::newRow("equal but for case, capital first") << QStringList{"Alpha|Bold", "alpha bold"} << QStringList{"Alpha Bold", "alpha bold"};
    }
    void installedOrder()
    {
        QFETCH(QStringList, faces);
        QFETCH(QStringList, listed);
        TestEnv env;
        for (const QString& face : faces)
            env.fake.fonts->faces << TrueTypeFace(face.section('|', 0, 0), face.section('|', 1).isEmpty() ? "Regular" : face.section('|', 1));
        QCOMPARE(DisplayNames(InstalledPrintFonts({})), listed);
    }

    // The file a registration names: as written, a Type 1 outline by its name in the outline folder, a
    // name in another case by the file's own spelling; none for "unknown" or a file not there.
    void fontPath_data()
    {
        QTest::addColumn<QString>("registered");  // ROOT: the test's folder
        QTest::addColumn<QString>("found");
        QTest::newRow("a whole path") << "ROOT/fonts/Sans.ttf" << "ROOT/fonts/Sans.ttf";
        QTest::newRow("a Type 1 outline by its name") << "Type.pfb" << "ROOT/psfonts/Type.pfb";
        QTest::newRow("a name in the outline folder, not where the program runs") << "Sans.ttf" << "";
        QTest::newRow("no name") << "" << "";
        QTest::newRow("another case: the file's spelling") << "ROOT/fonts/SANS.TTF" << "ROOT/fonts/Sans.ttf";
        QTest::newRow("unknown") << "UNKNOWN" << "";
        QTest::newRow("not there") << "ROOT/fonts/gone.ttf" << "";
    }
    void fontPath()
    {
        QFETCH(QString, registered);
        QFETCH(QString, found);
        TestEnv env;
        QVERIFY(WriteFile(env.root() + "/fonts/Sans.ttf", "x") && WriteFile(env.root() + "/psfonts/Type.pfb", "x"));
        Type1OutlineDir = env.root() + "/psfonts/";
        const auto back = qScopeGuard([cwd = QDir::currentPath()] { QDir::setCurrent(cwd); });
        QVERIFY(QDir::setCurrent(env.root() + "/fonts"));
        QCOMPARE(PrintFontPath(registered.replace("ROOT", env.root())), found.replace("ROOT", env.root()));
    }

    void folderFonts()
    {
        TestEnv env;
        const QString dir = env.root() + "/cd/";
        const QString program = env.fake.system->programFolder;
        const auto fot = [&](const QString& name) { return OwnFileName(program, name); };
        FontFile(dir + "testsans.ttf", "Test Sans", "Test Sans Bold");
        FontFile(dir + "SERIF.OTF", "Test Serif", "Test Serif");
        FontFile(dir + "installed.ttf", "Installed", "Installed Font");
        FontFile(dir + "regular.ttf", "Regular Only", "Regular Only");
        const QString refused = dir + "refused.ttc";  // a collection: said once, not once a face
        WriteFile(refused, SfntBuilder::Collection({SfntBuilder::Simple("Refused", "Refused"),
                                                    SfntBuilder::Simple("Refused", "Refused Bold", "Bold")}));
        WriteFile(dir + "broken.ttf", "not a font");
        FontFile(dir + "ignored.txt", "Ignored", "Ignored");
        FontFile(dir + "sub/deeper.ttf", "Deeper", "Deeper");
        env.fake.registry->values = {{"Installed Font (TrueType)", "installed.ttf"},
                                     {"Regular Only Regular (TrueType)", "regular.ttf"}};
        env.fake.fonts->addAnswers[fot("refused.fot")] = 0;
        // A name already taken in the program folder gets the counter name.
        WriteFile(fot("testsans.fot"), "kept");

        QStringList errors;
        {
            TemporaryPrintFonts added;
            // Read through a ".fot" per file, as the install wizard reads a folder.
            QCOMPARE(Entries(FolderPrintFonts(dir, &errors, added)),
                     QStringList({"Test Sans Bold (TrueType): Test Sans | Test Sans Bold | testsans.ttf | 1K | 1",
                                  "Test Serif (TrueType): Test Serif | Test Serif | SERIF.OTF | 1K | 1"}));
            QCOMPARE(env.fake.fonts->added,
                     QStringList({fot("SERIF.fot"), fot("refused.fot"), fot("testsan0.fot")}));
            QCOMPARE(env.fake.fonts->broadcasts, 1);
            QVERIFY(added.FotFiles().contains(fot("testsan0.fot")) && QFile::exists(fot("testsan0.fot")));
        }
        QCOMPARE(errors.size(), 2);
        QVERIFY(errors[0].startsWith(dir + "broken.ttf: ") && errors[1].startsWith(refused + ": "));
        // The refused font was never added, so it is not removed.
        QCOMPARE(env.fake.fonts->removed, QStringList({fot("SERIF.fot"), fot("testsan0.fot")}));
        QCOMPARE(env.fake.fonts->broadcasts, 2);
        QCOMPARE(QDir(program).entryList({"*.fot"}, QDir::Files | QDir::Hidden), QStringList({QFileInfo(fot("testsans.fot")).fileName()}));
        QCOMPARE(ReadFile(fot("testsans.fot")), QByteArray("kept"));
        // A first run, before the program folder exists, reads the folder all the same.
        QVERIFY(QDir(program).removeRecursively());
        TemporaryPrintFonts again;
        QCOMPARE(int(FolderPrintFonts(dir, nullptr, again).size()), 2);
    }
};

QTEST_MAIN(PrintListTest)
#include "test_printlist.moc"
