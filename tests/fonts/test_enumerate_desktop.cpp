// The inventory built on this machine's desktop fonts, checked against what
// fontconfig itself lists (fc-list, run as a separate program).
#include <QtTest>

#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include "core/codepage.h"
#include "core/globals.h"
#include "core/settings.h"
#include "core/startup/startup.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "testenv.h"

using namespace gw;

namespace {

// One style (file and face index) as fc-list reports it.
struct FcStyle {
    QStringList families;
    QStringList familyLangs;
    QStringList fullNames;
    QString format;
    QString file;
    QString index;
    bool scalable = false;

    bool IsSfnt() const { return scalable && (format == "TrueType" || format == "CFF"); }
    bool IsType1() const { return scalable && format == "Type 1"; }
    // The English family name, as a 32-byte face name field holds it.
    QString Face() const
    {
        int pick = 0;
        for (int i = 0; i < familyLangs.size() && i < families.size(); ++i)
            if (familyLangs[i] == "en" || familyLangs[i].startsWith("en-")) {
                pick = i;
                break;
            }
        return FromCp1252(ToCp1252(families.value(pick)).left(31));
    }
};

QString FieldText(const QString& name, int size)
{
    return FromCp1252(ToCp1252(name).left(size - 1));
}

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
                     "%{family}\t%{familylang}\t%{fullname}\t%{fontformat}\t%{scalable}\t%{file}\t%{index}\n"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        *error = "fc-list failed";
        return {};
    }
    QVector<FcStyle> styles;
    QSet<QString> seen;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        if (f.size() < 7)
            continue;
        FcStyle s;
        s.families = f[0].split(',', Qt::SkipEmptyParts);
        s.familyLangs = f[1].split(',', Qt::SkipEmptyParts);
        s.fullNames = f[2].split(',', Qt::SkipEmptyParts);
        s.format = f[3];
        s.scalable = f[4] == "True";
        s.file = QFileInfo(f[5]).canonicalFilePath();
        s.index = f[6];
        if (s.families.isEmpty() || s.file.isEmpty() || seen.contains(s.file + '\n' + s.index))
            continue;
        seen.insert(s.file + '\n' + s.index);
        styles.append(s);
    }
    return styles;
}

struct Families {
    QHash<QString, QString> sfnt;  // lower-cased face -> face
    QHash<QString, QString> type1;
};

Families FamiliesOf(const QVector<FcStyle>& styles)
{
    Families f;
    for (const FcStyle& s : styles) {
        if (s.IsSfnt())
            f.sfnt.insert(s.Face().toLower(), s.Face());
        else if (s.IsType1())
            f.type1.insert(s.Face().toLower(), s.Face());
    }
    return f;
}

// A temporary environment on the real desktop, prepared as start-up does.
struct DesktopRun {
    TestEnv env;
    FontListModel list;
    FontEnumerator enumerator{&list};
    qint64 elapsedMs = 0;

    DesktopRun(bool trueType, bool atm, bool device)
    {
        env.UseDesktopPlatform();
        WriteIniString("GW", "ShowTrueType", trueType ? "1" : "0", IniFile);
        WriteIniString("GW", "ShowATM", atm ? "1" : "0", IniFile);
        WriteIniString("GW", "ShowDevice", device ? "1" : "0", IniFile);
        DetectATM();
        ReadRegFontList();
        QElapsedTimer timer;
        timer.start();
        enumerator.ReadFonts();
        elapsedMs = timer.elapsed();
    }
};

} // namespace

class EnumerateDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void familiesAndKinds_data();
    void familiesAndKinds();
    void fontTableHasEveryTrueTypeStyle();

private:
    QVector<FcStyle> styles_;
};

void EnumerateDesktopTest::initTestCase()
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

void EnumerateDesktopTest::familiesAndKinds_data()
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

void EnumerateDesktopTest::familiesAndKinds()
{
    QFETCH(bool, trueType);
    QFETCH(bool, atm);
    QFETCH(bool, device);
    const Families fc = FamiliesOf(styles_);

    DesktopRun run(trueType, atm, device);
    QCOMPARE(ATMInstalled, !fc.type1.isEmpty());
    qInfo("ReadFonts on this desktop: %lld ms for %d families counted, %d listed, %d styles in FontTable",
          run.elapsedMs, int(FontCount), run.list.Count(), int(FontTable.size()));

    QHash<QString, int> expected; // lower-cased face -> kind
    if (atm)
        for (auto it = fc.type1.cbegin(); it != fc.type1.cend(); ++it)
            expected.insert(it.key(), KindType1);
    if (trueType)
        for (auto it = fc.sfnt.cbegin(); it != fc.sfnt.cend(); ++it)
            expected.insert(it.key(), KindTrueType);

    QHash<QString, int> listed;
    for (int row = 0; row < run.list.Count(); ++row) {
        const QString face = run.list.At(row).text;
        QVERIFY2(!listed.contains(face.toLower()), qPrintable("listed twice: " + face));
        listed.insert(face.toLower(), run.list.At(row).tag);
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QString face = fc.sfnt.value(it.key(), fc.type1.value(it.key()));
        QVERIFY2(listed.contains(it.key()), qPrintable("missing: " + face));
        QVERIFY2(listed.value(it.key()) == it.value(),
                 qPrintable(QString("%1: kind %2, expected %3").arg(face).arg(listed.value(it.key())).arg(it.value())));
    }
    for (auto it = listed.cbegin(); it != listed.cend(); ++it)
        QVERIFY2(expected.contains(it.key()), qPrintable("not a font of that kind: " + it.key()));

    int both = 0;
    for (auto it = fc.type1.cbegin(); it != fc.type1.cend(); ++it)
        both += fc.sfnt.contains(it.key());
    qInfo("fontconfig: %d TrueType/OpenType families, %d Type 1 families, %d in both formats",
          int(fc.sfnt.size()), int(fc.type1.size()), both);
}

void EnumerateDesktopTest::fontTableHasEveryTrueTypeStyle()
{
    QVector<FcStyle> sfnt;
    for (const FcStyle& s : styles_)
        if (s.IsSfnt())
            sfnt.append(s);
    if (sfnt.isEmpty())
        QSKIP("no TrueType or OpenType font on this machine");

    DesktopRun run(true, false, false);

    // A full name several styles share is one record (the first file enumerated).
    QHash<QString, int> nameUses;
    for (const FcStyle& s : sfnt)
        for (const QString& n : QSet<QString>(s.fullNames.cbegin(), s.fullNames.cend()))
            ++nameUses[FieldText(n, 64)];
    auto matches = [](const FontRecord& r, const FcStyle& s, const QString& canonical) {
        if (canonical != s.file || s.Face() != r.FaceName)
            return false;
        for (const QString& n : s.fullNames)
            if (FieldText(n, 64) == r.FullName)
                return true;
        return false;
    };

    QSet<QString> names;
    QHash<int, int> recordsOfStyle;
    for (const FontRecord& r : FontTable) {
        QVERIFY2(!names.contains(r.FullName), qPrintable("two records: " + r.FullName));
        names.insert(r.FullName);
        const QFileInfo file(r.FontFile);
        QVERIFY2(file.isFile(), qPrintable(r.FullName + ": no file " + r.FontFile));
        QCOMPARE(r.FotFile, QString("n/a"));
        QCOMPARE(r.FileSize, QString::number(qRound64(double(file.size()) / 1024.0)) + "k");
        const QString canonical = file.canonicalFilePath();
        int found = 0;
        for (int i = 0; i < sfnt.size(); ++i)
            if (matches(r, sfnt[i], canonical)) {
                ++found;
                ++recordsOfStyle[i];
            }
        QVERIFY2(found == 1, qPrintable(QString("%1 (%2) matches %3 fontconfig styles")
                                            .arg(r.FullName, r.FontFile).arg(found)));
    }
    for (int i = 0; i < sfnt.size(); ++i) {
        bool shared = false;
        for (const QString& n : sfnt[i].fullNames)
            shared = shared || nameUses.value(FieldText(n, 64)) > 1;
        const int records = recordsOfStyle.value(i);
        QVERIFY2(records == 1 || (shared && records == 0),
                 qPrintable(QString("%1 (%2): %3 records")
                                .arg(sfnt[i].fullNames.value(0), sfnt[i].file).arg(records)));
    }
    qInfo("FontTable: %d records for %d TrueType/OpenType styles", int(FontTable.size()), int(sfnt.size()));
}

QTEST_MAIN(EnumerateDesktopTest)
#include "test_enumerate_desktop.moc"
