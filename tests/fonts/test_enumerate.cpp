// The inventory built from a fake font set: list items, FontTable, style lists,
// the Type 1 classification and the progress gauge.
#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "platform/fotwriter.h"
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

void SetShow(bool trueType, bool atm, bool device)
{
    WriteIniString("GW", "ShowTrueType", trueType ? "1" : "0", IniFile);
    WriteIniString("GW", "ShowATM", atm ? "1" : "0", IniFile);
    WriteIniString("GW", "ShowDevice", device ? "1" : "0", IniFile);
}

QString Items(const FontListModel& list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << list.At(i).text + ":" + QString::number(list.At(i).tag);
    return out.join(' ');
}

const FontRecord* Record(const QString& fullName)
{
    for (const FontRecord& r : FontTable)
        if (r.FullName == fullName)
            return &r;
    return nullptr;
}

} // namespace

class EnumerateTest : public QObject {
    Q_OBJECT

private slots:
    void trueTypeFamiliesFillListAndTable();
    void fileLookupForms_data();
    void fileLookupForms();
    void fotRegistration();
    void deviceThenTrueTypeIsOneTrueTypeItem();
    void trueTypeOffMakesNothing();
    void type1KeyForms_data();
    void type1KeyForms();
    void printerFontsFollowShowDevice();
    void withoutAtmEveryDeviceFamilyStays();
    void gaugeAtMultiplesOfFive();
    void styleListKinds();
    void stylePresence_data();
    void stylePresence();
    void rereadReplacesEverything();
};

void EnumerateTest::trueTypeFamiliesFillListAndTable()
{
    TestEnv env;
    env.fake.fonts->faces = {TT("Arial", "Regular", 400, false), TT("Arial", "Bold", 700, false),
                             TT("Arial", "Italic", 400, true), TT("Arial", "Bold Italic", 700, true),
                             TT("Courier New", "Regular", 400, false)};
    QVERIFY(WriteFile(WinDir + "fonts/arial.ttf", QByteArray(65536, 'x')));
    QVERIFY(WriteFile(WinDir + "fonts/arialbd.ttf", QByteArray(1536, 'x')));
    env.fake.registry->values = {{"Arial (TrueType)", "arial.ttf"},
                                 {"Arial Bold (TrueType)", "arialbd.ttf"}};
    SetShow(true, false, false);

    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();

    QCOMPARE(Items(list), QString("Arial:1 Courier New:1"));
    QCOMPARE(int(FontCount), 2);
    QCOMPARE(int(FontsRead), 2);
    QCOMPARE(int(FontTable.size()), 5);
    const FontRecord* regular = Record("Arial");
    QVERIFY(regular);
    QCOMPARE(regular->FaceName, QString("Arial"));
    QCOMPARE(regular->RegistryName, QString("Arial (TrueType)"));
    QCOMPARE(regular->FontFile, WinDir + "fonts/arial.ttf");
    QCOMPARE(regular->FotFile, QString("n/a"));
    QCOMPARE(regular->FileSize, QString("64k"));
    QCOMPARE(Record("Arial Bold")->FileSize, QString("2k"));
    const FontRecord* italic = Record("Arial Italic");
    QCOMPARE(italic->Italic, int16_t(1));
    QCOMPARE(italic->StyleName, QString("Italic"));
    // Not registered under its own name: the family's registration is taken.
    QCOMPARE(italic->FontFile, WinDir + "fonts/arial.ttf");
    // Nothing registered at all: the record stays, with unknown files.
    const FontRecord* courier = Record("Courier New");
    QCOMPARE(courier->FontFile, QString("unknown"));
    QCOMPARE(courier->FotFile, QString("unknown"));
    QCOMPARE(courier->FileSize, QString("unknown"));
}

void EnumerateTest::fileLookupForms_data()
{
    QTest::addColumn<QString>("valueName");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("expected"); // relative to WinDir when not absolute

    QTest::newRow("full name") << "Gill Sans Bold (TrueType)" << "gillb.ttf" << "fonts/gillb.ttf";
    QTest::newRow("true type with a blank") << "Gill Sans Bold (True Type)" << "gillb.ttf"
                                            << "fonts/gillb.ttf";
    QTest::newRow("face name") << "Gill Sans (TrueType)" << "gill.ttf" << "fonts/gill.ttf";
    QTest::newRow("full name and style") << "Gill Sans Bold Bold (TrueType)" << "gbb.ttf"
                                         << "fonts/gbb.ttf";
    QTest::newRow("upper-case data is lower-cased") << "Gill Sans Bold (TrueType)" << "GILLB.TTF"
                                                    << "fonts/gillb.ttf";
    QTest::newRow("opentype file") << "Gill Sans Bold (TrueType)" << "gillb.otf" << "fonts/gillb.otf";
    QTest::newRow("unknown ending leaves fields empty") << "Gill Sans Bold (TrueType)" << "gillb.xyz"
                                                        << "";
}

void EnumerateTest::fileLookupForms()
{
    QFETCH(QString, valueName);
    QFETCH(QString, data);
    QFETCH(QString, expected);
    TestEnv env;
    env.fake.fonts->faces = {TT("Gill Sans", "Bold", 700, false)};
    env.fake.registry->values = {{valueName, data}};
    SetShow(true, false, false);
    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();
    const FontRecord* r = Record("Gill Sans Bold");
    QVERIFY(r);
    QCOMPARE(r->FontFile, expected.isEmpty() ? QString() : WinDir + expected);
    QCOMPARE(r->FotFile, expected.isEmpty() ? QString() : QString("n/a"));
}

void EnumerateTest::fotRegistration()
{
    TestEnv env;
    const QString ttf = SysDir + "lucon.ttf";
    QVERIFY(WriteFile(ttf, QByteArray(2048, 'x')));
    const QString fot = WinDir + "fonts/lucon.fot";
    QVERIFY(WriteFile(fot, BuildFotFile(ttf, "Lucida Console", "Lucida Console")));
    env.fake.fonts->faces = {TT("Lucida Console", "Regular", 400, false)};
    env.fake.registry->values = {{"Lucida Console (TrueType)", fot}};
    SetShow(true, false, false);
    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();
    const FontRecord* r = Record("Lucida Console");
    QVERIFY(r);
    QCOMPARE(r->FotFile, fot);
    QCOMPARE(r->FontFile, ttf);
    QCOMPARE(r->FileSize, QString("2k"));
}

void EnumerateTest::deviceThenTrueTypeIsOneTrueTypeItem()
{
    TestEnv env;
    env.fake.fonts->faces = {Device("Courier"), TT("Courier", "Regular", 400, false),
                             TT("Symbol", "Regular", 400, false), Device("Symbol")};
    SetShow(true, false, true);
    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();
    QCOMPARE(Items(list), QString("Courier:1 Symbol:1"));
}

void EnumerateTest::trueTypeOffMakesNothing()
{
    TestEnv env;
    env.fake.fonts->faces = {TT("Arial", "Regular", 400, false), Device("Courier")};
    SetShow(false, true, true);
    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();
    QCOMPARE(Items(list), QString("Courier:3"));
    QCOMPARE(int(FontTable.size()), 1);
    QCOMPARE(FontTable[0].FullName, QString("X"));
}

void EnumerateTest::type1KeyForms_data()
{
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("atmKey");
    QTest::addColumn<int>("kind"); // 0: removed

    QTest::newRow("regular, face alone") << 400 << false << "Optima" << 2;
    QTest::newRow("bold key") << 700 << false << "Optima,BOLD" << 2;
    QTest::newRow("italic key") << 400 << true << "Optima,ITALIC" << 2;
    QTest::newRow("bolditalic key") << 700 << true << "Optima,BOLDITALIC" << 2;
    QTest::newRow("bold family found through face alone") << 700 << false << "Optima" << 2;
    QTest::newRow("light family found through ,ITALIC") << 300 << false << "Optima,ITALIC" << 2;
    QTest::newRow("light family found through ,BOLD") << 300 << false << "Optima,BOLD" << 2;
    QTest::newRow("regular family: no retries") << 400 << false << "Optima,BOLD" << 0;
    QTest::newRow("unknown to the profile") << 400 << false << "Futura" << 0;
}

void EnumerateTest::type1KeyForms()
{
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(QString, atmKey);
    QFETCH(int, kind);
    TestEnv env;
    ATMInstalled = true;
    env.fake.atm->text = "[Fonts]\n" + atmKey + "=optima.pfm,optima.pfb\n";
    env.fake.fonts->faces = {Device("Optima", weight, italic)};
    SetShow(false, true, false);
    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();
    QCOMPARE(Items(list), kind ? QString("Optima:%1").arg(kind) : QString());
}

void EnumerateTest::printerFontsFollowShowDevice()
{
    TestEnv env;
    ATMInstalled = true;
    env.fake.atm->text = "[Fonts]\nOptima=optima.pfm,optima.pfb\n";
    env.fake.fonts->faces = {Device("Optima"), Device("Courier 10cpi")};
    FontListModel list;
    FontEnumerator e(&list);

    SetShow(false, true, true);
    e.ReadFonts();
    QCOMPARE(Items(list), QString("Optima:2 Courier 10cpi:3"));
    SetShow(false, false, true);
    e.ReadFonts();
    QCOMPARE(Items(list), QString("Courier 10cpi:3"));
    SetShow(false, true, false);
    e.ReadFonts();
    QCOMPARE(Items(list), QString("Optima:2"));
}

void EnumerateTest::withoutAtmEveryDeviceFamilyStays()
{
    TestEnv env;
    env.fake.atm->text = "[Fonts]\nOptima=optima.pfm,optima.pfb\n";
    env.fake.fonts->faces = {Device("Optima"), Device("Courier 10cpi")};
    SetShow(false, false, false);
    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();
    QCOMPARE(Items(list), QString("Optima:3 Courier 10cpi:3"));
}

void EnumerateTest::gaugeAtMultiplesOfFive()
{
    TestEnv env;
    for (int i = 0; i < 40; ++i)
        env.fake.fonts->faces << Device(QString("Printer Font %1").arg(i, 2, 10, QChar('0')));
    SetShow(false, false, true);
    FontListModel list;
    FontEnumerator e(&list);
    QList<int> drawn;
    QString status;
    e.DrawProgress = [&](int percent) { drawn << percent; };
    e.ShowStatus = [&](const QString& text) { status = text; };
    e.ReadFonts();
    QCOMPARE(status, QString("Reading 40 fonts from your system..."));
    // 40 families: every second one lands on a multiple of 5, then the final 100.
    QList<int> expected;
    for (int p = 5; p <= 100; p += 5)
        expected << p;
    expected << 100;
    QCOMPARE(drawn, expected);
}

void EnumerateTest::styleListKinds()
{
    TestEnv env;
    ATMInstalled = true;
    env.fake.atm->text = "[Fonts]\nOptima=a/optima.pfm,a/optima.pfb\nOptima,BOLDITALIC=,a/optimabi.pfb\n";
    env.fake.fonts->faces = {TT("Arial", "Regular", 400, false), TT("Arial", "Bold", 700, false),
                             Device("Optima"), Device("Optima", 700, true), Device("Optima", 400, true),
                             Device("LinePrinter")};
    env.fake.fonts->faces.last().fontType = DEVICE_FONTTYPE;
    Face raster = TT("Arial", "Regular", 400, false);
    raster.fontType = RASTER_FONTTYPE;
    env.fake.fonts->faces << raster;
    env.fake.registry->values = {{"Arial Bold (TrueType)", "/x/arialbd.ttf"}};
    FontListModel list;
    FontEnumerator e(&list);

    e.EnumerateStyles("Arial", KindTrueType);
    QCOMPARE(int(StyleCount), 2); // the raster style is skipped
    QCOMPARE(StyleTable[1].FullName, QString("Arial Bold"));
    QCOMPARE(StyleTable[1].StyleName, QString("Bold"));
    QCOMPARE(StyleTable[1].FontFile, QString("/x/arialbd.ttf"));
    QCOMPARE(StyleTable[0].FontFile, QString("unknown"));

    e.EnumerateStyles("Optima", KindType1);
    QCOMPARE(int(StyleCount), 3);
    QCOMPARE(StyleTable[0].StyleName, QString("Normal"));
    QCOMPARE(StyleTable[0].FontFile, QString("a/optima.pfb"));
    QCOMPARE(StyleTable[0].FotFile, QString("a/optima.pfm"));
    QCOMPARE(StyleTable[1].StyleName, QString("BoldItalic"));
    QCOMPARE(StyleTable[1].FontFile, QString("a/optimabi.pfb"));
    QCOMPARE(StyleTable[1].FotFile, QString("n/a"));
    QCOMPARE(StyleTable[2].StyleName, QString("Italic"));
    QCOMPARE(StyleTable[2].FontFile, QString("unknown"));

    e.EnumerateStyles("LinePrinter", KindPrinter);
    QCOMPARE(int(StyleCount), 1);
    QCOMPARE(StyleTable[0].FullName, QString("LinePrinter"));
    QCOMPARE(StyleTable[0].FontFile, QString("unknown"));
    QCOMPARE(int(StyleFonts.size()), 1);
}

void EnumerateTest::stylePresence_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("styles"); // weight/italic/style name, ';' separated
    QTest::addColumn<QString>("expected"); // R B I X flags

    QTest::newRow("truetype four styles") << "TrueType"
        << "400/0/Regular;700/0/Bold;400/1/Italic;700/1/Bold Italic" << "RBIX";
    QTest::newRow("truetype oblique and 499") << "TrueType" << "499/0/Book;499/1/Book Oblique"
                                              << "RI";
    QTest::newRow("truetype 500 is bold") << "TrueType" << "500/0/Medium" << "B";
    QTest::newRow("atm light is regular") << "ATM" << "300/0/;400/1/" << "RI";
    QTest::newRow("atm bold italic by weight") << "ATM" << "600/1/;500/0/" << "BX";
    QTest::newRow("device has everything") << "Device" << "400/0/" << "RBIX";
}

void EnumerateTest::stylePresence()
{
    QFETCH(QString, kind);
    QFETCH(QString, styles);
    QFETCH(QString, expected);
    TestEnv env;
    for (const QString& s : styles.split(';')) {
        const QStringList f = s.split('/');
        env.fake.fonts->faces << FakeFontSystem::MakeFace("Fam", "Fam " + f[2], f[2], f[0].toInt(),
                                                          f[1] == "1", TRUETYPE_FONTTYPE);
    }
    FontListModel list;
    FontEnumerator e(&list);
    e.PresenceKind = kind;
    QString got;
    if (e.HasRegular("Fam")) got += 'R';
    if (e.HasBold("Fam")) got += 'B';
    if (e.HasItalic("Fam")) got += 'I';
    if (e.HasBoldItalic("Fam")) got += 'X';
    QCOMPARE(got, expected);
}

void EnumerateTest::rereadReplacesEverything()
{
    TestEnv env;
    env.fake.fonts->faces = {TT("Arial", "Regular", 400, false)};
    env.fake.fonts->printerFaces = {Device("Printer Gothic")};
    SetShow(true, false, true);
    FontListModel list;
    FontEnumerator e(&list);
    e.ReadFonts();
    QCOMPARE(Items(list), QString("Arial:1"));

    env.fake.fonts->faces << TT("Verdana", "Regular", 400, false);
    env.fake.registry->values = {{"Verdana (TrueType)", "verdana.ttf"}};
    QList<int> drawn;
    e.DrawProgress = [&](int percent) { drawn << percent; };
    e.RereadFonts();
    // The collecting pass runs on the printer, which offers one family more than counted.
    QCOMPARE(Items(list), QString("Arial:1 Verdana:1 Printer Gothic:3"));
    QCOMPARE(int(FontCount), 2);
    QCOMPARE(int(FontsRead), 3);
    QCOMPARE(e.ReadingMode, 1);
    QCOMPARE(int(FontTable.size()), 2);
    QCOMPARE(int(RegFontList.size()), 2);
    QCOMPARE(RegFontList[0][0], QString("Verdana (TrueType)"));
    QVERIFY(drawn.contains(150));
}

QTEST_MAIN(EnumerateTest)
#include "test_enumerate.moc"
