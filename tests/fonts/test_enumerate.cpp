// The inventory built from a fake font set: list items, FontTable, style lists, Type 1 kinds, the progress gauge.
#include <QtTest>
#include <QAbstractItemModelTester>
#include <optional>

#include "core/globals.h"
#include "core/settings.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "shots.h"
#include "testenv.h"

using namespace gw;

namespace {

// "T/Arial;D/Optima/700/1": TrueType or device, family, weight, italic.
QVector<FakeFontSystem::Face> Faces(const QString& list)
{
    QVector<FakeFontSystem::Face> faces;
    for (const QString& s : list.split(';')) {
        const QStringList f = s.split('/');
        const int weight = f.value(2, "400").toInt();
        faces << (f[0] == "T" ? TrueTypeFace(f[1]) : DeviceFace(f[1], weight, f.value(3) == "1"));
    }
    return faces;
}

QString Items(const FontListModel& list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << list.At(i).text + ":" + QString::number(list.At(i).tag);
    return out.join(' ');
}

// StyleTable as "full name|style|font file|fot file" rows.
QStringList Styles()
{
    QStringList out;
    for (int i = 0; i < int(StyleCount); ++i) {
        const FontRecord& r = StyleTable[size_t(i)];
        out << QStringList{r.FullName, r.StyleName, r.FontFile, r.FotFile}.join('|');
    }
    return out;
}

} // namespace

class EnumerateTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestEnv env;
        FontListModel list;
        QAbstractItemModelTester listRules{&list};  // the list keeps the rules of a Qt model throughout
        FontEnumerator e{&list};
    };
    std::optional<Fixture> f;

    // ReadFonts with the Show keys "TAD" (TrueType, ATM, device) given as 0/1.
    QString Read(const char* show)
    {
        SetShow(show[0] == '1', show[1] == '1', show[2] == '1');
        f->e.ReadFonts();
        return Items(f->list);
    }

private slots:
    void init() { f.emplace(); }
    void cleanup() { f.reset(); }

    void fileLookupForms_data()
    {
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("expected"); // relative to UserDataDir

        QTest::newRow("full name") << "Gill Sans Bold (TrueType)" << "gillb.ttf" << "fonts/gillb.ttf";
        QTest::newRow("face name") << "Gill Sans (TrueType)" << "gill.ttf" << "fonts/gill.ttf";
        QTest::newRow("full name and style") << "Gill Sans Bold Bold (TrueType)" << "gbb.ttf" << "fonts/gbb.ttf";
        QTest::newRow("upper-case data keeps its case") << "Gill Sans Bold (TrueType)" << "GILLB.TTF"
                                                        << "fonts/GILLB.TTF";
        QTest::newRow("opentype file") << "Gill Sans Bold (TrueType)" << "gillb.otf" << "fonts/gillb.otf";
        QTest::newRow("unknown ending leaves fields empty") << "Gill Sans Bold (TrueType)" << "gillb.xyz" << "";
    }
    void fileLookupForms()
    {
        QFETCH(QString, valueName);
        QFETCH(QString, data);
        QFETCH(QString, expected);
        f->env.fake.fonts->faces = {TrueTypeFace("Gill Sans", "Bold", 700)};
        f->env.fake.registry->values = {{valueName, data}};
        Read("100");
        const auto r = std::find_if(FontTable.begin(), FontTable.end(),
                                    [](const FontRecord& f) { return f.FullName == "Gill Sans Bold"; });
        QVERIFY(r != FontTable.end());
        QCOMPARE(r->FontFile, expected.isEmpty() ? QString() : UserDataDir + expected);
        QCOMPARE(r->FotFile, expected.isEmpty() ? QString() : QString("n/a"));
    }

    // Which families are listed, and as which kind, by font set, profile and Show keys.
    void listItems_data()
    {
        QTest::addColumn<QString>("faces");
        QTest::addColumn<QString>("atmKey");  // in ATM.INI with optima's files; empty: ATM not installed
        QTest::addColumn<QString>("show");
        QTest::addColumn<QString>("expected");

        QTest::newRow("device then TrueType is one TrueType item")
            << "D/Courier;T/Courier;T/Symbol;D/Symbol" << "" << "101" << "Courier:1 Symbol:1";
        QTest::newRow("TrueType off: only the sentinel record") << "T/Arial;D/Courier" << "" << "011" << "Courier:3";
        QTest::newRow("regular, face alone") << "D/Optima" << "Optima" << "010" << "Optima:2";
        QTest::newRow("bold key") << "D/Optima/700" << "Optima,BOLD" << "010" << "Optima:2";
        QTest::newRow("bold family found through face alone") << "D/Optima/700" << "Optima" << "010" << "Optima:2";
        QTest::newRow("light family found through ,ITALIC") << "D/Optima/300" << "Optima,ITALIC" << "010"
                                                            << "Optima:2";
        QTest::newRow("regular family: no retries") << "D/Optima" << "Optima,BOLD" << "010" << "";
        QTest::newRow("unknown to the profile") << "D/Optima" << "Futura" << "010" << "";
        QTest::newRow("bold, unknown to the profile under every retry") << "D/Optima/700" << "Futura" << "010" << "";
        QTest::newRow("Type 1 and printer fonts") << "D/Optima;D/Courier 10cpi" << "Optima" << "011"
                                                  << "Optima:2 Courier 10cpi:3";
        QTest::newRow("printer fonts only") << "D/Optima;D/Courier 10cpi" << "Optima" << "001" << "Courier 10cpi:3";
        QTest::newRow("family in two kinds: one item per kind") << "T/Optima;D/Optima" << "Optima" << "111"
                                                                << "Optima:1 Optima:2";
        QTest::newRow("two kinds, Type 1 hidden") << "T/Optima;D/Optima" << "Optima" << "101" << "Optima:1";
        QTest::newRow("without ATM every device family stays")
            << "D/Optima;D/Courier 10cpi" << "" << "000" << "Optima:3 Courier 10cpi:3";
    }
    void listItems()
    {
        QFETCH(QString, faces);
        QFETCH(QString, atmKey);
        QFETCH(QString, show);
        ATMInstalled = !atmKey.isEmpty();
        // Without ATM the profile still knows Optima; it must not be asked.
        f->env.fake.atm->text = "[Fonts]\n" + (atmKey.isEmpty() ? "Optima" : atmKey) + "=optima.pfm,optima.pfb\n";
        f->env.fake.fonts->faces = Faces("T/Gone;D/Gone Printer");
        Read("111");
        f->env.fake.fonts->faces = Faces(faces);
        QTEST(Read(qPrintable(show)), "expected");  // read again: what went is gone
    }

    // A face found twice (two files of one name) has one record.
    void oneRecordPerFullName()
    {
        f->env.fake.fonts->faces = Faces("T/Arial;T/Arial;T/Zeta");
        Read("100");
        QStringList names;
        for (const FontRecord& r : FontTable)
            names << r.FullName;
        QCOMPARE(names, QStringList({"Arial", "Zeta"}));
    }

    void gaugeAtMultiplesOfFive()
    {
        for (int i = 0; i < 40; ++i)
            f->env.fake.fonts->faces << DeviceFace(QString("Printer Font %1").arg(i, 2, 10, QChar('0')));
        QList<int> drawn;
        QString status;
        f->e.DrawProgress = [&](int percent) { drawn << percent; };
        f->e.ShowStatus = [&](const QString& text) { status = text; };
        Read("001");
        QCOMPARE(status, QString("Reading 40 fonts from your system..."));
        // 40 families: every second one lands on a multiple of 5, then the final 100.
        const QList<int> steps{5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100, 100};
        QCOMPARE(drawn, steps);
        drawn.clear();  // reading again counts from the start: 20 families, one a step
        f->env.fake.fonts->faces.resize(20);
        f->e.RereadFonts();
        QCOMPARE(status, QString("Reading 20 fonts from your system..."));
        QCOMPARE(drawn, steps);
    }

    // The styles of each kind; each item of a family in two kinds (C059) shows only its own styles and files.
    void styleListKinds()
    {
        ATMInstalled = true;
        f->env.fake.atm->text = "[Fonts]\nOptima=a/optima.pfm,a/optima.pfb\nOptima,BOLDITALIC=,a/optimabi.pfb\n"
                              "C059=,/t1/C059-Roman.t1\nC059,BOLD=,/t1/C059-Bold.t1\n";
        using F = FakeFontSystem;
        f->env.fake.fonts->faces = Faces("T/Arial;D/Optima;D/Optima/700/1;D/Optima/400/1;D/LinePrinter");
        f->env.fake.fonts->faces.insert(1, TrueTypeFace("Arial", "Bold", 700));
        F::Face raster = TrueTypeFace("Arial");
        raster.fontType = RASTER_FONTTYPE;
        f->env.fake.fonts->faces
            << raster
            << F::MakeFace("C059", "C059 Roman", "Roman", 400, false, TRUETYPE_FONTTYPE, "/otf/c059-roman.otf")
            << F::MakeFace("C059", "C059", "", 400, false, DEVICE_FONTTYPE, "/t1/C059-Roman.t1")
            << F::MakeFace("C059", "C059", "", 700, false, DEVICE_FONTTYPE, "/t1/C059-Bold.t1");
        f->env.fake.registry->values = {{"Arial Bold (TrueType)", "/x/arialbd.ttf"},
                                      {"C059 Roman (TrueType)", "/otf/c059-roman.otf"}};
        QCOMPARE(Read("110"), QString("Arial:1 Optima:2 C059:1 C059:2"));

        f->e.EnumerateStyles("Arial", KindTrueType);  // the raster style is skipped
        QCOMPARE(Styles(), QStringList({"Arial|Regular|unknown|unknown", "Arial Bold|Bold|/x/arialbd.ttf|n/a"}));
        f->e.EnumerateStyles("Optima", KindType1);
        QCOMPARE(Styles(), QStringList({"Optima|Normal|a/optima.pfb|a/optima.pfm",
                                        "Optima|BoldItalic|a/optimabi.pfb|n/a", "Optima|Italic|unknown|unknown"}));
        f->e.EnumerateStyles("C059", KindTrueType);
        QCOMPARE(Styles(), QStringList({"C059 Roman|Roman|/otf/c059-roman.otf|n/a"}));
        f->e.EnumerateStyles("C059", KindType1);
        QCOMPARE(Styles(), QStringList({"C059|Normal|/t1/C059-Roman.t1|n/a", "C059|Bold|/t1/C059-Bold.t1|n/a"}));
        f->e.EnumerateStyles("LinePrinter", KindPrinter);
        QCOMPARE(Styles(), QStringList({"LinePrinter|Normal|unknown|unknown"}));
        QCOMPARE(int(StyleFonts.size()), 1);
    }

    void stylePresence_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("styles"); // weight/italic/style name, ';' separated
        QTest::addColumn<QString>("expected"); // R B I X flags

        QTest::newRow("truetype oblique and 499") << "TrueType" << "499/0/Book;499/1/Book Oblique" << "RI";
        QTest::newRow("truetype 500 is bold") << "TrueType" << "500/0/Medium" << "B";
        QTest::newRow("atm light is regular") << "ATM" << "300/0/;400/1/" << "RI";
        QTest::newRow("atm bold italic by weight") << "ATM" << "600/1/;500/0/" << "BX";
        QTest::newRow("atm past 400 is bold, upright or italic") << "ATM" << "401/0/;401/1/" << "BX";
        QTest::newRow("the style says italic in any case and place") << "TrueType" << "400/0/italic Display;700/0/Bold oblique"
                                                                        << "IX";
        QTest::newRow("a printer has every style") << "Device" << "400/0/Regular" << "RBIX";
    }
    void stylePresence()
    {
        QFETCH(QString, kind);
        QFETCH(QString, styles);
        for (const QString& s : styles.split(';')) {
            const QStringList w = s.split('/');
            f->env.fake.fonts->faces << TrueTypeFace("Fam", w[2], w[0].toInt(), w[1] == "1");
        }
        f->e.PresenceKind = kind;
        QString got;
        if (f->e.HasRegular("Fam")) got += 'R';
        if (f->e.HasBold("Fam")) got += 'B';
        if (f->e.HasItalic("Fam")) got += 'I';
        if (f->e.HasBoldItalic("Fam")) got += 'X';
        QTEST(got, "expected");
    }

    void rereadReplacesEverything()
    {
        f->env.fake.fonts->faces = {TrueTypeFace("Arial")};
        f->env.fake.fonts->printerFaces = {DeviceFace("Printer Gothic")};
        QCOMPARE(Read("101"), QString("Arial:1"));

        f->env.fake.fonts->faces << TrueTypeFace("Verdana");
        f->env.fake.registry->values = {{"Verdana (TrueType)", "verdana.ttf"}};
        QList<int> drawn;
        f->e.DrawProgress = [&](int percent) { drawn << percent; };
        f->e.RereadFonts();
        // The collecting pass runs on the printer, which offers one family more than counted.
        QCOMPARE(Items(f->list), QString("Arial:1 Verdana:1 Printer Gothic:3"));
        QCOMPARE(RegFontList[0][0], QString("Verdana (TrueType)"));
        QVERIFY(drawn.contains(150));
        QCOMPARE(drawn.last(), 100);  // and it ends full
    }

    // The icons of the font kinds, as approved in tests/data/pictures (GW_APPROVE=1 rewrites them).
    void kindIconsAsApproved()
    {
        for (int kind : {KindNotInstalled, int(KindTrueType), int(KindType1), int(KindPrinter)}) {
            const QString differs = PictureDiffers(FontKindIcon(kind).pixmap(32, 32).toImage(),
                                                   QString(GW_TEST_DATA) + QString("/pictures/kind-icon-%1.png").arg(kind));
            QVERIFY2(differs.isEmpty(), qPrintable(differs));
        }
    }
};

QTEST_MAIN(EnumerateTest)
#include "test_enumerate.moc"
