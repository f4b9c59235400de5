// The information read-outs: the naming text of a TrueType file, the file and
// size rows per kind of font, the notices, and the stacking of the rows.
#include <QtTest>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "fonts/fontlist.h"
#include "mainwindow/fontinfo.h"
#include "mainwindow/fw.h"
#include "platform/fotwriter.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

const QString kType1Notice = "Internal font information not available for Adobe Type 1 files.";
const QString kHardwareNotice = "Internal font information not available for hardware based fonts.";

FakeFontSystem::Face Regular(const QString& family, int fontType)
{
    return FakeFontSystem::MakeFace(family, family, fontType == TRUETYPE_FONTTYPE ? "Regular" : "",
                                    400, false, fontType);
}

} // namespace

class FwInfoTest : public QObject {
    Q_OBJECT

private slots:
    void informationText_data();
    void informationText();

    void init();
    void cleanup() { env.reset(); }

    void readouts_data();
    void readouts();
    void noStyleLeavesReadoutsAlone();
    void otherKindsLeaveTheInformationTab_data();
    void otherKindsLeaveTheInformationTab();
    void rowsStackWithoutGaps_data();
    void rowsStackWithoutGaps();

private:
    std::unique_ptr<FW> Window();
    void Select(FW& w, const QString& family);

    std::unique_ptr<TestEnv> env;
    QString ttf, fot, serifTtf;
};

void FwInfoTest::informationText_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("allNames");
    QTest::addColumn<QString>("expected");

    const QString names = "Copyright: (c) Type Co.\r\n\r\nTrademark: Sans is a mark\r\n\r\n"
                          "Font Family: Sans\r\nFont Subfamily: Bold\r\n"
                          "Full Font Name: Sans Bold\r\nFont Identifier: TC: Sans Bold: 1996\r\n";
    QTest::newRow("every name") << "Version 2.00" << true << "Version: Version 2.00\r\n\r\n" + names;
    QTest::newRow("one trailing ? dropped") << "1.00?" << true << "Version: 1.00\r\n\r\n" + names;
    QTest::newRow("of two, one is kept") << "1.00??" << true << "Version: 1.00?\r\n\r\n" + names;
    QTest::newRow("? inside kept") << "1.0?b" << true << "Version: 1.0?b\r\n\r\n" + names;
    QTest::newRow("lone ?") << "?" << true << "Version: \r\n\r\n" + names;
    QTest::newRow("no names: labels only")
        << "" << false
        << "Version: \r\n\r\nCopyright: \r\n\r\nTrademark: \r\n\r\nFont Family: \r\n"
           "Font Subfamily: \r\nFull Font Name: \r\nFont Identifier: \r\n";
}

void FwInfoTest::informationText()
{
    QFETCH(QString, version);
    QFETCH(bool, allNames);
    QFETCH(QString, expected);
    FontNameInfo info;
    info.version = version;
    if (allNames) {
        info.copyright = "(c) Type Co.";
        info.family = "Sans";
        info.subfamily = "Bold";
        info.uniqueId = "TC: Sans Bold: 1996";
        info.fullName = "Sans Bold";
        info.postscriptName = "Sans-Bold";  // never shown
        info.trademark = "Sans is a mark";
    }
    QCOMPARE(FontInformationText(info), expected);
}

// Five families, one of each case: a .ttf registration, a .fot registration,
// no registration, a Type 1 font and a printer font.
void FwInfoTest::init()
{
    env = std::make_unique<TestEnv>();
    for (const char* key : {"ShowTrueType", "ShowATM", "ShowDevice"})
        WriteIniString("GW", key, "1", IniFile);

    ttf = env->root() + "/fonts/gwsans.ttf";
    SfntBuilder sans;
    sans.AddName(0, "Copyright 1996 Type Co.").AddName(1, "GW Sans").AddName(2, "Regular");
    sans.AddName(3, "TypeCo: GW Sans: 1996").AddName(4, "GW Sans").AddName(5, "Version 1.00?");
    sans.AddName(7, "GW Sans is a trademark of Type Co.");
    sans.AddTable("glyf", QByteArray(3000, '\1'));  // 3 KiB and a bit: "3k"
    QVERIFY(WriteFile(ttf, sans.Build()));

    serifTtf = env->root() + "/fonts/gwserif.ttf";
    QVERIFY(WriteFile(serifTtf, SfntBuilder::Simple("GW Serif", "GW Serif")));
    fot = env->root() + "/fonts/gwserif.fot";
    QVERIFY(WriteFile(fot, BuildFotFile(serifTtf, "GW Serif", "GW Serif")));

    env->fake.fonts->faces = {Regular("GW Sans", TRUETYPE_FONTTYPE),
                              Regular("GW Serif", TRUETYPE_FONTTYPE),
                              Regular("GW Mono", TRUETYPE_FONTTYPE),
                              Regular("GW Type", DEVICE_FONTTYPE),
                              Regular("GW Printer", DEVICE_FONTTYPE)};
    env->fake.registry->values = {{"GW Sans (TrueType)", ttf}, {"GW Serif (TrueType)", fot}};
    ATMInstalled = true;
    env->fake.atm->text = "[Fonts]\nGW Type=/x/face.afm,/x/face.pfb\n";
}

std::unique_ptr<FW> FwInfoTest::Window()
{
    return std::make_unique<FW>();
}

void FwInfoTest::Select(FW& w, const QString& family)
{
    const int row = w.fontList->FindItem(family);
    QVERIFY2(row >= 0, qPrintable(family));
    w.SelectRow(row);
    w.ListView1_ItemClick(row);
    QVERIFY(w.StyleIndex() == 1);
}

void FwInfoTest::readouts_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");  // empty: the file and size rows are hidden
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");   // empty: pnlFOT hidden
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("info");     // "{names}": the naming text of GW Sans

    QTest::newRow("registered .ttf") << "GW Sans" << 1 << "TrueType file" << "{ttf}" << ""
                                     << "3k" << "{names}";
    QTest::newRow("registered .fot") << "GW Serif" << 1 << "TrueType files" << "{serif}" << "{fot}"
                                     << "0k" << "{serif names}";
    QTest::newRow("not registered") << "GW Mono" << 1 << "TrueType files" << "unknown" << "unknown"
                                    << "unknown" << "";
    QTest::newRow("Type 1") << "GW Type" << 2 << "Adobe Type 1 files" << "/x/face.pfb"
                            << "/x/face.afm" << "unknown" << kType1Notice;
    QTest::newRow("printer font") << "GW Printer" << 3 << "" << "" << "" << "" << kHardwareNotice;
}

void FwInfoTest::readouts()
{
    QFETCH(QString, family);
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, size);
    QFETCH(QString, info);
    auto fill = [&](QString text) {
        return text.replace("{ttf}", ttf).replace("{serif}", serifTtf).replace("{fot}", fot);
    };
    const QString names = "Version: Version 1.00\n\nCopyright: Copyright 1996 Type Co.\n\n"
                          "Trademark: GW Sans is a trademark of Type Co.\n\n"
                          "Font Family: GW Sans\nFont Subfamily: Regular\nFull Font Name: GW Sans\n"
                          "Font Identifier: TypeCo: GW Sans: 1996\n";
    const QString serifNames = "Version: \n\nCopyright: \n\nTrademark: \n\nFont Family: GW Serif\n"
                               "Font Subfamily: Regular\nFull Font Name: GW Serif\nFont Identifier: \n";
    info.replace("{names}", names).replace("{serif names}", serifNames);

    auto w = Window();
    // Every row starts from another kind's read-outs.
    Select(*w, kind == 3 ? "GW Serif" : "GW Printer");
    Select(*w, family);
    QCOMPARE(w->CurrentFontType, kind);

    const bool rows = !caption.isEmpty();
    for (QWidget* row : {(QWidget*)w->lblFontfiles, (QWidget*)w->pnlTTF, (QWidget*)w->lblFileSize,
                         (QWidget*)w->pnlFileSize})
        QCOMPARE(row->isVisibleTo(w->picControls), rows);
    QCOMPARE(w->pnlFOT->isVisibleTo(w->picControls), !second.isEmpty());
    QVERIFY(w->pnlKeystroke->isVisibleTo(w->picControls));
    if (rows) {
        QCOMPARE(w->lblFontfiles->text(), caption);
        QCOMPARE(w->pnlTTF->text(), fill(first));
        if (!second.isEmpty())
            QCOMPARE(w->pnlFOT->text(), fill(second));
        QCOMPARE(w->pnlFileSize->text(), size);
    }
    // The CR LF line breaks show as plain line breaks.
    QCOMPARE(w->txtInfo->toPlainText(), info);
}

void FwInfoTest::noStyleLeavesReadoutsAlone()
{
    auto w = Window();
    Select(*w, "GW Sans");
    const QString info = w->txtInfo->toPlainText();
    w->Attribs->clear();
    QCOMPARE(w->StyleIndex(), 0);
    w->CurrentFontType = KindPrinter;
    w->ShowFontInfo();
    QCOMPARE(w->txtInfo->toPlainText(), info);
    QCOMPARE(w->lblFontfiles->text(), QString("TrueType file"));
    QVERIFY(w->pnlTTF->isVisibleTo(w->picControls));
}

void FwInfoTest::otherKindsLeaveTheInformationTab_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("notice");
    QTest::newRow("printer font") << "GW Printer" << kHardwareNotice;
    QTest::newRow("Type 1") << "GW Type" << kType1Notice;
}

void FwInfoTest::otherKindsLeaveTheInformationTab()
{
    QFETCH(QString, family);
    QFETCH(QString, notice);
    auto w = Window();
    Select(*w, "GW Sans");
    w->SelectTab(4);
    QCOMPARE(w->CurrentTab(), 4);
    Select(*w, family);
    QCOMPARE(w->CurrentTab(), 1);
    // Clicking the tab afterwards shows the notice.
    w->SelectTab(4);
    QCOMPARE(w->txtInfo->toPlainText(), notice);

    // A TrueType font keeps the tab.
    Select(*w, "GW Sans");
    QCOMPARE(w->CurrentTab(), 4);
    QVERIFY(w->txtInfo->toPlainText().startsWith("Version: Version 1.00\n"));
}

void FwInfoTest::rowsStackWithoutGaps_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<int>("rows");  // visible rows from lblFontfiles to the keystroke row

    QTest::newRow("one file after a printer font") << "GW Sans" << "GW Printer" << 4;
    QTest::newRow("two files after one") << "GW Serif" << "GW Sans" << 5;
    QTest::newRow("Type 1 files") << "GW Type" << "GW Sans" << 5;
    QTest::newRow("printer font after two files") << "GW Printer" << "GW Serif" << 1;
}

void FwInfoTest::rowsStackWithoutGaps()
{
    QFETCH(QString, family);
    QFETCH(QString, previous);
    QFETCH(int, rows);
    auto w = Window();
    Select(*w, previous);
    Select(*w, family);

    const int gap = TwipsToPixels(30);
    auto check = [&] {
        // One widget per row; a label and its panel share their row.
        QCOMPARE(w->pnlFileSize->y(), w->lblFileSize->y());
        QCOMPARE(w->pnlKeystroke->y(), w->lblKeystroke->y());
        QList<QWidget*> order;
        for (QWidget* row : {(QWidget*)w->lblFontfiles, (QWidget*)w->pnlTTF, (QWidget*)w->pnlFOT,
                             (QWidget*)w->pnlFileSize, (QWidget*)w->pnlKeystroke})
            if (row->isVisibleTo(w->picControls))
                order << row;
        QCOMPARE(order.size(), rows);
        // Without the caption the stack begins where the caption stands.
        int expectedTop = w->lblFontfiles->y();
        for (QWidget* row : order) {
            QVERIFY2(row->y() == expectedTop,
                     qPrintable(QString("%1 at %2, expected %3").arg(row->objectName()).arg(row->y()).arg(expectedTop)));
            expectedTop = row->y() + row->height() + gap;
        }
        // The lead's panel leaves room for the tallest stack.
        QVERIFY(order.last()->geometry().bottom() < w->picControls->height());
    };
    check();
    if (QTest::currentTestFailed())
        return;
    // A new layout of the panel keeps the stack.
    w->resize(w->width() + 120, w->height() + 90);
    QApplication::processEvents();
    check();
}

QTEST_MAIN(FwInfoTest)
#include "test_fw_info.moc"
