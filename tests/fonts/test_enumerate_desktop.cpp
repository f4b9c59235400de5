// The inventory built on this machine's desktop fonts, checked against what fc-list lists.
#include <QtTest>

#include <QSet>

#include "core/globals.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "sfntbuilder.h"
#include "startup/startup.h"
#include "testenv.h"

using namespace gw;

namespace {

// The lower-cased English family names of the scalable faces fc-list reports, by kind; empty with `error` set
// when fc-list cannot be run.
QMap<int, QSet<QString>> FcListFamilies(QString* error)
{
    const QString listed = ToolOutput("fc-list", {"--format", "%{family}\t%{familylang}\t%{fontformat}\t"
                                                              "%{scalable}\t%{file}\t%{index}\n"});
    if (listed.isEmpty()) {
        *error = "fc-list cannot be run";
        return {};
    }
    QMap<int, QSet<QString>> families;
    QSet<QString> seen;
    for (const QString& line : listed.split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        const QString file = QFileInfo(f.value(4)).canonicalFilePath() + '\n' + f.value(5);
        const QStringList names = f[0].split(',', Qt::SkipEmptyParts), langs = f.value(1).split(',');
        if (f.size() < 6 || names.isEmpty() || file.startsWith('\n') || seen.contains(file) || f[3] != "True")
            continue;
        seen.insert(file);
        int en = 0;
        while (en < langs.size() && en < names.size() && langs[en] != "en" && !langs[en].startsWith("en-"))
            ++en;
        const int kind = f[2] == "Type 1" ? KindType1 : f[2] == "TrueType" || f[2] == "CFF" ? KindTrueType : 0;
        families[kind].insert(names.value(en < langs.size() && en < names.size() ? en : 0).toLower());
    }
    return families;
}

} // namespace

class EnumerateDesktopTest : public QObject {
    Q_OBJECT

    QMap<int, QSet<QString>> families_;

private slots:
    void initTestCase()
    {
        // fc-list sees the same temporary configuration folders as the program.
        TestEnv env;
        QString error;
        families_ = FcListFamilies(&error);
        if (!error.isEmpty())
            QSKIP(qPrintable(error));
        if (families_.isEmpty())
            QSKIP("fontconfig lists no fonts on this machine");
    }

    void familiesAndKinds_data()
    {
        QTest::addColumn<bool>("trueType");
        QTest::addColumn<bool>("atm");
        QTest::addColumn<bool>("device");

        QTest::newRow("all three") << true << true << true;
        // Every Type 1 family is known to the profile, so none is a printer font.
        QTest::newRow("printer fonts only") << false << false << true;
    }

    void familiesAndKinds()
    {
        QFETCH(bool, trueType);
        QFETCH(bool, atm);
        QFETCH(bool, device);
        DesktopTestEnv env;
        SetShow(trueType, atm, device);
        DetectATM();
        ReadRegFontList();
        FontListModel list;
        FontEnumerator(&list).ReadFonts();
        QCOMPARE(ATMInstalled, !families_[KindType1].isEmpty());

        // Lower-cased face and kind: a family listed twice or missing shows; one in both kinds is listed per kind.
        QStringList expected, listed;
        for (int kind : {int(KindType1), int(KindTrueType)})
            for (const QString& face : (kind == KindType1 ? atm : trueType) ? families_[kind] : QSet<QString>())
                expected << face + ":" + QString::number(kind);
        for (int row = 0; row < list.Count(); ++row)
            listed << list.At(row).text.toLower() + ":" + QString::number(list.At(row).tag);
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
