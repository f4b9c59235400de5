// Print lists: installed TrueType and Type 1 styles as entries, pattern
// filtering, size texts, and uninstalled folder fonts with their clean-up.
#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "core/startup/startup.h"
#include "print/printlist.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

using Face = FakeFontSystem::Face;

Face TT(const QString& family, const QString& style, int weight, bool italic)
{
    const QString full = style == "Regular" ? family : family + " " + style;
    return FakeFontSystem::MakeFace(family, full, style, weight, italic, TRUETYPE_FONTTYPE);
}

Face Device(const QString& family, int weight = 400, bool italic = false)
{
    return FakeFontSystem::MakeFace(family, family, QString(), weight, italic, DEVICE_FONTTYPE);
}

// A file of exactly `bytes` bytes.
QString SizedFile(const QString& path, qint64 bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !f.resize(bytes))
        return QString();
    return path;
}

// Arial (three styles, two registered), Verdana (not registered), Optima as a Type 1 family with two
// styles, and a printer font that must not be listed.
void InstallFakeFonts(TestEnv& env)
{
    const QString dir = env.root() + "/files/";
    ATMInstalled = true;
    env.fake.fonts->faces = {TT("Arial", "Regular", 400, false), TT("Arial", "Bold", 700, false),
                             TT("Arial", "Italic", 400, true), TT("Verdana", "Regular", 400, false),
                             Device("Optima"),
                             Device("Optima", 700, true), Device("Courier 10cpi")};
    env.fake.registry->values = {{"Arial (TrueType)", SizedFile(dir + "arial.ttf", 58900)},
                                 {"Arial Bold (TrueType)", SizedFile(dir + "arialbd.ttf", 1000)}};
    env.fake.atm->text = "[Fonts]\nOptima=" + dir + "optima.pfm," + SizedFile(dir + "optima.pfb", 2000000)
                         + "\nOptima,BOLDITALIC=," + dir + "missing.pfb\n";
}

QStringList DisplayNames(const PrintFontList& fonts)
{
    QStringList names;
    for (const PrintFontEntry& f : fonts)
        names << f.DisplayName;
    return names;
}

const PrintFontEntry* Entry(const PrintFontList& fonts, const QString& displayName)
{
    for (const PrintFontEntry& f : fonts)
        if (f.DisplayName == displayName)
            return &f;
    return nullptr;
}

// A font file whose naming table gives this full name and family.
QString FontFile(const QString& path, const QString& family, const QString& fullName)
{
    return WriteFile(path, SfntBuilder::Simple(family, fullName)) ? path : QString();
}

QStringList FotFilesIn(const QString& folder)
{
    return QDir(folder).entryList({"*.fot"}, QDir::Files, QDir::Name);
}

} // namespace

class PrintListTest : public QObject {
    Q_OBJECT

private slots:
    void installedEntries();
    void displayOptionsAreIgnored();
    void patterns_data();
    void patterns();
    void sizeText_data();
    void sizeText();
    void folderFonts();
    void folderFontsRemovedWhenPrintingFails();
    void folderWithInstalledFontDesktop();
};

void PrintListTest::installedEntries()
{
    TestEnv env;
    InstallFakeFonts(env);
    const PrintFontList fonts = InstalledPrintFonts({});
    QCOMPARE(DisplayNames(fonts), QStringList({"Arial", "Arial Bold", "Arial Italic", "Optima",
                                               "Optima Bold Italic", "Verdana"}));

    const PrintFontEntry* arial = Entry(fonts, "Arial");
    QCOMPARE(arial->FileName, QString("arial.ttf"));
    QCOMPARE(arial->SizeText, QString("57k"));
    QCOMPARE(arial->AlternateName, QString("Arial"));
    QCOMPARE(arial->FaceName, QString("Arial"));
    QCOMPARE(arial->FontType, 1);
    QCOMPARE(arial->Extra, QString("n/a"));
    const PrintFontEntry* bold = Entry(fonts, "Arial Bold");
    QCOMPARE(bold->AlternateName, QString("Arial Bold"));
    QCOMPARE(bold->FaceName, QString("Arial"));
    QCOMPARE(bold->SizeText, QString("1K"));
    // Found through the family's registration.
    QCOMPARE(Entry(fonts, "Arial Italic")->FileName, QString("arial.ttf"));
    const PrintFontEntry* verdana = Entry(fonts, "Verdana");
    QCOMPARE(verdana->FileName, QString("unknown"));
    QCOMPARE(verdana->SizeText, QString());

    const PrintFontEntry* optima = Entry(fonts, "Optima");
    QCOMPARE(optima->FontType, 2);
    QCOMPARE(optima->FaceName, QString("Optima"));
    QCOMPARE(optima->AlternateName, QString("Optima"));
    QCOMPARE(optima->FileName, QString("optima.pfb"));
    QCOMPARE(optima->SizeText, QString("1,953k"));
    const PrintFontEntry* optimaBI = Entry(fonts, "Optima Bold Italic");
    QCOMPARE(optimaBI->FaceName, QString("Optima"));
    QCOMPARE(optimaBI->FileName, QString("missing.pfb"));
    QCOMPARE(optimaBI->SizeText, QString());
}

void PrintListTest::displayOptionsAreIgnored()
{
    TestEnv env;
    InstallFakeFonts(env);
    for (const char* key : {"ShowTrueType", "ShowATM", "ShowDevice"})
        WriteIniString("GW", key, "0", IniFile);
    const QByteArray before = ReadFile(IniFile);
    QCOMPARE(int(InstalledPrintFonts({}).size()), 6);
    QCOMPARE(ReadFile(IniFile), before);
}

void PrintListTest::patterns_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("none: all") << QStringList() << QStringList({"Arial", "Arial Bold", "Arial Italic",
                                                                "Optima", "Optima Bold Italic", "Verdana"});
    QTest::newRow("substring, any case") << QStringList({"RIA"}) << QStringList({"Arial", "Arial Bold",
                                                                                 "Arial Italic"});
    QTest::newRow("either of two") << QStringList({"nothing", "opt"})
                                   << QStringList({"Optima", "Optima Bold Italic"});
    QTest::newRow("family only, not style") << QStringList({"Bold"}) << QStringList();
    QTest::newRow("printer font never") << QStringList({"Courier"}) << QStringList();
}

void PrintListTest::patterns()
{
    QFETCH(QStringList, patterns);
    QFETCH(QStringList, names);
    TestEnv env;
    InstallFakeFonts(env);
    QCOMPARE(DisplayNames(InstalledPrintFonts(patterns)), names);
}

void PrintListTest::sizeText_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty file") << qint64(0) << "1K";
    QTest::newRow("just under 1 KB") << qint64(1023) << "1K";
    QTest::newRow("1 KB") << qint64(1024) << "1k";
    QTest::newRow("fraction dropped") << qint64(58900) << "57k";
    QTest::newRow("below a thousand") << qint64(999 * 1024 + 1023) << "999k";
    QTest::newRow("thousands separator") << qint64(1000 * 1024) << "1,000k";
    QTest::newRow("millions") << qint64(1024) * 1024 * 1024 << "1,048,576k";
}

void PrintListTest::sizeText()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(PrintSizeTextForLength(bytes), text);
}

void PrintListTest::folderFonts()
{
    TestEnv env;
    const QString dir = env.root() + "/cd/";
    const QString program = env.fake.system->programFolder;
    const QString sans = FontFile(dir + "testsans.ttf", "Test Sans", "Test Sans Bold");
    const QString serif = FontFile(dir + "SERIF.OTF", "Test Serif", "Test Serif");
    FontFile(dir + "installed.ttf", "Installed", "Installed Font");
    FontFile(dir + "regular.ttf", "Regular Only", "Regular Only");
    const QString refused = FontFile(dir + "refused.ttf", "Refused", "Refused");
    WriteFile(dir + "broken.ttf", "not a font");
    FontFile(dir + "ignored.txt", "Ignored", "Ignored");
    FontFile(dir + "sub/deeper.ttf", "Deeper", "Deeper");
    env.fake.registry->values = {{"Installed Font (TrueType)", "installed.ttf"},
                                 {"Regular Only Regular (TrueType)", "regular.ttf"}};
    env.fake.fonts->addAnswers[refused] = 0;
    // A name already taken in the program folder gets the counter name.
    WriteFile(program + "/testsans.fot", "kept");

    QStringList errors;
    {
        TemporaryPrintFonts added;
        const PrintFontList fonts = FolderPrintFonts(dir, &errors, added);
        QCOMPARE(DisplayNames(fonts), QStringList({"Test Sans Bold", "Test Serif"}));
        const PrintFontEntry& e = fonts[0];
        QCOMPARE(e.FileName, QFileInfo(sans).fileName());
        QCOMPARE(e.FaceName, QString("Test Sans"));
        QCOMPARE(e.AlternateName, QString("Test Sans Bold"));
        QCOMPARE(e.FontType, 1);
        QCOMPARE(e.SizeText, QString("1K"));
        QCOMPARE(env.fake.fonts->added, QStringList({serif, refused, sans}));
        QCOMPARE(env.fake.fonts->broadcasts, 1);
        QVERIFY(added.FotFiles().contains(program + "/testsan0.fot"));
        QVERIFY(FotFilesIn(program).contains("testsan0.fot"));
    }
    QCOMPARE(errors.size(), 2);
    QVERIFY(errors[0].startsWith(dir + "broken.ttf: "));
    QVERIFY(errors[1].startsWith(refused + ": "));
    // The refused font was never added, so it is not removed.
    QCOMPARE(env.fake.fonts->removed, QStringList({serif, sans}));
    QCOMPARE(env.fake.fonts->broadcasts, 2);
    QCOMPARE(FotFilesIn(program), QStringList({"testsans.fot"}));
    QCOMPARE(ReadFile(program + "/testsans.fot"), QByteArray("kept"));
}

void PrintListTest::folderFontsRemovedWhenPrintingFails()
{
    TestEnv env;
    const QString dir = env.root() + "/cd/";
    const QString font = FontFile(dir + "a.ttf", "Alpha", "Alpha");
    try {
        TemporaryPrintFonts added;
        QCOMPARE(int(FolderPrintFonts(dir, nullptr, added).size()), 1);
        throw std::runtime_error("printer gone");
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(env.fake.fonts->removed, QStringList({font}));
    QVERIFY(FotFilesIn(env.fake.system->programFolder).isEmpty());
}

void PrintListTest::folderWithInstalledFontDesktop()
{
    TestEnv env;
    env.UseDesktopPlatform();
    StartupFontsKey();
    const QString system = SystemFile("DejaVuSans.ttf");
    if (system.isEmpty())
        QSKIP("DejaVuSans.ttf is not installed");
    const QString dir = env.root() + "/cd";
    QDir().mkpath(dir);
    QVERIFY(QFile::copy(system, dir + "/DejaVuSans.ttf"));
    QStringList errors;
    TemporaryPrintFonts added;
    // Installed under its full name, so the copy is not printed as uninstalled.
    QVERIFY(FolderPrintFonts(dir, &errors, added).empty());
    QVERIFY(errors.isEmpty());
    QVERIFY(added.AddedFonts().isEmpty());
    added.Release();
    QVERIFY(FotFilesIn(Sys().system->ProgramFolder()).isEmpty());
}

QTEST_MAIN(PrintListTest)
#include "test_printlist.moc"
