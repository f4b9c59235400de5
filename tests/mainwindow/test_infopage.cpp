// The information read-outs: a TrueType file's names, the file and size rows per kind, the notices.
#include <QtTest>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeView>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "fonts/fontlist.h"
#include "mainwindow/mainwindow.h"
#include "sfnt/fot.h"
#include "sfntbuilder.h"
#include "shots.h"
#include "testenv.h"

using namespace gw;

namespace {

const QString kType1Notice = "Internal font information not available for Adobe Type 1 files.";
const QString kHardwareNotice = "Internal font information not available for hardware based fonts.";

QLabel* Readout(const MainWindow& w, const char* name)
{
    return &Child<QLabel>(w, name);
}

QString InfoText(const MainWindow& w)
{
    return Child<QPlainTextEdit>(w, "infoEdit").toPlainText();
}

} // namespace

class InfoPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    QString ttf, fot, serifTtf, variable;

    // A window with `family` selected after `previous`.
    std::unique_ptr<MainWindow> Window(const QString& family, const QString& previous = {})
    {
        auto w = std::make_unique<MainWindow>();
        for (const QString& f : {previous, family})
            if (!f.isEmpty() && (!SelectFamily(*w, f) || w->SelectedStyle() != 0))
                qFatal("cannot select %s", qPrintable(f));
        return w;
    }

private slots:
    // One family per case: .ttf, .fot and no registration, a variable font, Type 1, a printer font.
    void init()
    {
        env = std::make_unique<TestEnv>();
        SetShow(true, true, true);

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

        variable = env->root() + "/fonts/gwvariable.ttf";
        QVERIFY(WriteFile(variable, SfntBuilder::VariableFont("GW Variable", 0x0002)));

        env->fake.fonts->faces = {TrueTypeFace("GW Sans"), TrueTypeFace("GW Serif"),
                                  TrueTypeFace("GW Mono"), DeviceFace("GW Type"),
                                  DeviceFace("GW Printer"), TrueTypeFace("GW Variable")};
        env->fake.registry->values = {{"GW Sans (TrueType)", ttf}, {"GW Serif (TrueType)", fot},
                                      {"GW Variable (TrueType)", variable}};
        ATMInstalled = true;
        env->fake.atm->text = "[Fonts]\nGW Type=/x/face.afm,/x/face.pfb\n";
    }
    void cleanup() { env.reset(); }

    void readouts_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");  // empty: the file and size rows are hidden
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");   // empty: the companion file row hidden
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

    void readouts()
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
        info.replace("{names}", "Version: Version 1.00\n\nCopyright: Copyright 1996 Type Co.\n\n"
                                "Trademark: GW Sans is a trademark of Type Co.\n\n"
                                "Font Family: GW Sans\nFont Subfamily: Regular\nFull Font Name: GW Sans\n"
                                "Font Identifier: TypeCo: GW Sans: 1996\n");
        info.replace("{serif names}", "Version: \n\nCopyright: \n\nTrademark: \n\nFont Family: GW Serif\n"
                                      "Font Subfamily: Regular\nFull Font Name: GW Serif\nFont Identifier: \n");

        // Every row starts from another kind's read-outs.
        auto w = Window(family, kind == 3 ? "GW Serif" : "GW Printer");
        QCOMPARE(Child<QTreeView>(*w, "fontList").currentIndex().data(FontListModel::TagRole).toInt(), kind);
        const QWidget* panel = &Child<QWidget>(*w, "controlPanel");
        QLabel *captionRow = Readout(*w, "fontFilesLabel"), *fileRow = Readout(*w, "fontFileReadout"),
               *companionRow = Readout(*w, "companionFileReadout"), *sizeLabel = Readout(*w, "fileSizeLabel"),
               *sizeRow = Readout(*w, "fileSizeReadout"), *keystrokeLabel = Readout(*w, "keystrokeLabel"),
               *keystrokeRow = Readout(*w, "keystrokeReadout");
        const bool rows = !caption.isEmpty();
        for (QWidget* row : {captionRow, fileRow, sizeLabel, sizeRow})
            QCOMPARE(row->isVisibleTo(panel), rows);
        QCOMPARE(companionRow->isVisibleTo(panel), !second.isEmpty());
        QVERIFY(keystrokeRow->isVisibleTo(panel));
        // A path shows its file name, the whole path in the tooltip.
        auto shown = [](const QString& path) { return path.contains('/') ? FileNamePart(path) : path; };
        auto tip = [](const QString& path) { return path.contains('/') ? path : QString(); };
        if (rows) {
            QCOMPARE(captionRow->text(), caption);
            QCOMPARE(fileRow->text(), shown(fill(first)));
            QCOMPARE(fileRow->toolTip(), tip(fill(first)));
            if (!second.isEmpty())
                QCOMPARE(companionRow->text(), shown(fill(second)));
            QCOMPARE(sizeRow->text(), size);
        }
        // The visible rows stack without gaps; a label and its panel share their row.
        QCOMPARE(sizeRow->y(), sizeLabel->y());
        QCOMPARE(keystrokeRow->y(), keystrokeLabel->y());
        int top = captionRow->y();
        for (QWidget* row : {captionRow, fileRow, companionRow, sizeRow, keystrokeRow})
            if (row->isVisibleTo(panel)) {
                QVERIFY2(row->y() == top, qPrintable(row->objectName()));
                top = row->y() + row->height() + TwipsToPixels(30);
            }
        QVERIFY(top - TwipsToPixels(30) <= panel->height());
        // CR LF shows as plain line breaks; a TrueType file's names are followed by what else it holds.
        const QString page = InfoText(*w);
        QCOMPARE(page.left(info.size()), info);
        QCOMPARE(page.mid(info.size()).startsWith("\nFamily: ") && page.contains("\nEmbedding: Installable\n"),
                 info.contains("Font Identifier"));
    }

    // A variable font's page lists its axes, named instances, embedding rights and licence.
    void variableFont()
    {
        auto w = Window("GW Variable");
        w->SelectTab(3);
        const QStringList lines = InfoText(*w).split('\n');
        SaveShot(w.get(), "info-variable");
        for (const char* line : {"Axes: wght 100 to 900 (default 400), wdth 75 to 100 (default 100)",
                                    "Instances: Thin (wght=100 wdth=100), Bold Condensed (wght=700 wdth=75)",
                                    "Embedding: Restricted", "Font Family: GW Variable", "Version: Version 3.0",
                                    "Vendor: GWTS", "Designer: A. Designer", "Licence: Test licence",
                                    "Licence URL: https://example.org/l", "Glyphs: 96", "Characters: 95"})
            QVERIFY2(lines.contains(QString::fromUtf8(line)), qPrintable(lines.join('\n')));
    }

    // Another kind of font leaves the information tab; clicking it then shows the notice.
    void otherKindsLeaveTheInformationTab()
    {
        auto w = Window("GW Sans");
        const QTabWidget& tabs = Child<QTabWidget>(*w, "previewTabs");
        w->SelectTab(3);
        QVERIFY(SelectFamily(*w, "GW Type"));
        QCOMPARE(tabs.currentIndex(), 0);
        w->SelectTab(3);
        QCOMPARE(InfoText(*w), kType1Notice);
        // A TrueType font keeps the tab.
        QVERIFY(SelectFamily(*w, "GW Sans"));
        QCOMPARE(tabs.currentIndex(), 3);
    }

};

QTEST_MAIN(InfoPageTest)
#include "test_infopage.moc"
