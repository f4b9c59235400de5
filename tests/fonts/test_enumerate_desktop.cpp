// The inventory built on this machine's desktop fonts, checked against what
// fontconfig itself lists (fc-list, run as a separate program).
#include <QtTest>

#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include "core/globals.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "sfntbuilder.h"
#include "startup/startup.h"
#include "testenv.h"

using namespace gw;

namespace {

// One style (file and face index) as fc-list reports it.
struct FcStyle {
    QString face; // the English family name, whole
    QString format;
    bool scalable = false;

    bool IsSfnt() const { return scalable && (format == "TrueType" || format == "CFF"); }
    bool IsType1() const { return scalable && format == "Type 1"; }
};

// Empty (with `error` set) when fc-list cannot be run.
QVector<FcStyle> FcListStyles(QString* error)
{
    const QString fcList = QStandardPaths::findExecutable("fc-list");
    if (fcList.isEmpty()) {
        *error = "fc-list is not installed";
        return {};
    }
    QProcess p;
    p.start(fcList, {"--format",
                     "%{family}\t%{familylang}\t%{fontformat}\t%{scalable}\t%{file}\t%{index}\n"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        *error = "fc-list failed";
        return {};
    }
    QVector<FcStyle> styles;
    QSet<QString> seen;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        const QString file = QFileInfo(f.value(4)).canonicalFilePath() + '\n' + f.value(5);
        const QStringList families = f[0].split(',', Qt::SkipEmptyParts), langs = f.value(1).split(',');
        if (f.size() < 6 || families.isEmpty() || file.startsWith('\n') || seen.contains(file))
            continue;
        seen.insert(file);
        int en = 0;
        while (en < langs.size() && en < families.size() && langs[en] != "en" && !langs[en].startsWith("en-"))
            ++en;
        const bool english = en < langs.size() && en < families.size();
        styles.append({families.value(english ? en : 0), f[2], f[3] == "True"});
    }
    return styles;
}

// A temporary environment on the real desktop, prepared as start-up does.
struct DesktopRun {
    DesktopTestEnv env;
    FontListModel list;
    FontEnumerator enumerator{&list};

    DesktopRun(bool trueType, bool atm, bool device)
    {
        SetShow(trueType, atm, device);
        DetectATM();
        ReadRegFontList();
        enumerator.ReadFonts();
    }
};

} // namespace

class EnumerateDesktopTest : public QObject {
    Q_OBJECT

    QVector<FcStyle> styles_;

private slots:
    void initTestCase()
    {
        // fc-list sees the same temporary configuration folders as the program.
        TestEnv env;
        QString error;
        styles_ = FcListStyles(&error);
        if (!error.isEmpty())
            QSKIP(qPrintable(error));
        if (styles_.isEmpty())
            QSKIP("fontconfig lists no fonts on this machine");
    }

    void familiesAndKinds_data()
    {
        QTest::addColumn<bool>("trueType");
        QTest::addColumn<bool>("atm");
        QTest::addColumn<bool>("device");

        QTest::newRow("TrueType only") << true << false << false;
        QTest::newRow("Type 1 only") << false << true << false;
        QTest::newRow("all three") << true << true << true;
        // Every Type 1 family is known to the profile, so none is a printer font.
        QTest::newRow("printer fonts only") << false << false << true;
    }

    void familiesAndKinds()
    {
        QFETCH(bool, trueType);
        QFETCH(bool, atm);
        QFETCH(bool, device);
        QSet<QString> sfnt, type1;  // lower-cased faces by format
        for (const FcStyle& s : styles_)
            if (s.IsSfnt() || s.IsType1())
                (s.IsSfnt() ? sfnt : type1).insert(s.face.toLower());

        DesktopRun run(trueType, atm, device);
        QCOMPARE(ATMInstalled, !type1.isEmpty());

        // Lower-cased face and kind; a family listed twice or missing shows as a difference.
        QStringList expected, listed;
        // A family in both kinds is listed once per kind.
        for (const QString& face : atm ? type1 : QSet<QString>())
            expected << face + ":" + QString::number(KindType1);
        for (const QString& face : trueType ? sfnt : QSet<QString>())
            expected << face + ":" + QString::number(KindTrueType);
        for (int row = 0; row < run.list.Count(); ++row)
            listed << run.list.At(row).text.toLower() + ":" + QString::number(run.list.At(row).tag);
        expected.sort();
        listed.sort();
        QCOMPARE(listed, expected);
    }

    // Names alike in the 31 bytes a face name field holds are still two families.
    void longFamiliesStayApart()
    {
        DesktopTestEnv env;
        const QStringList families{"Glyphwick Long Family Name Test Condensed", "Glyphwick Long Family Name Test Wide"};
        for (const QString& family : families) {
            const QString path = env.root() + "/" + QString(family).remove(' ') + ".ttf";
            const QByteArray liberation = ReadFile(SystemFile("LiberationSans-Regular.ttf"));
            QVERIFY(WriteFile(path, SfntBuilder::Renamed(liberation, family, family)));
            QCOMPARE(Sys().fonts->AddFontResource(path), 1);
        }
        SetShow(true, false, false);
        FontListModel list;
        FontEnumerator(&list).ReadFonts();
        for (const QString& family : families)
            QVERIFY(list.FindItem(family) >= 0 && std::count_if(FontTable.begin(), FontTable.end(), [&](const FontRecord& r) {
                        return r.FaceName == family;
                    }) == 1);
    }
};

QTEST_MAIN(EnumerateDesktopTest)
#include "test_enumerate_desktop.moc"
