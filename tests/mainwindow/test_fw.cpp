// The main window on a fake font set: first start, selection, tabs, settings
// written at close and restored at the next start, rereading the fonts.
#include <QtTest>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeView>
#include <QAction>
#include <memory>

#include "core/globals.h"
#include "core/settings.h"
#include "core/splash.h"
#include "mainwindow/fw.h"
#include "testenv.h"

using namespace gw;

namespace {

FakeFontSystem::Face TT(const QString& family, const QString& style, int weight, bool italic)
{
    const QString full = style == "Regular" ? family : family + " " + style;
    return FakeFontSystem::MakeFace(family, full, style, weight, italic, TRUETYPE_FONTTYPE);
}

void Show(const char* key)
{
    WriteIniString("GW", key, "1", IniFile);
}

QStringList Styles(const FW& w)
{
    QStringList out;
    for (int i = 0; i < w.Attribs->count(); ++i)
        out << w.Attribs->item(i)->text();
    return out;
}

QString Selected(const FW& w)
{
    return w.SelectedRow() < 0 ? QString() : w.fontList->At(w.SelectedRow()).text;
}

} // namespace

class FwTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->fake.fonts->faces = {
            TT("DejaVu Sans", "Book", 400, false), TT("DejaVu Sans", "Bold", 700, false),
            TT("Liberation Sans", "Regular", 400, false), TT("Liberation Sans", "Bold", 700, false),
            TT("Liberation Sans", "Italic", 400, true),
            // A second file of the same style shows the style once.
            TT("Liberation Sans", "Italic", 400, true),
            FakeFontSystem::MakeFace("Nimbus Sans", "Nimbus Sans", "", 400, false, DEVICE_FONTTYPE),
        };
        env->fake.fonts->faces[5].elf.elfFullName[0] = 'X';
        ATMInstalled = true;
        env->fake.atm->text = "[Fonts]\nNimbus Sans=/x/n.afm,/x/n.pfb\n";
    }
    void cleanup()
    {
        env.reset();
    }

    void firstStartWithEmptySettings()
    {
        auto w = std::make_unique<FW>();
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QString("Glyphwick"));
        QCOMPARE(w->fontList->Count(), 0);  // nothing listed until the filters are on
        QCOMPARE(w->CurrentTab(), 1);
        QCOMPARE(w->scrAnsi[1]->value(), 65);
        QCOMPARE(w->ScrSize[1]->value(), 72);
        QCOMPARE(w->scrAnsi[2]->value(), 65);
        QCOMPARE(w->ScrSize[2]->value(), 65);
        QCOMPARE(w->ScrSize[3]->value(), 30);
        QCOMPARE(w->txtSample->toPlainText(), QString());
        QCOMPARE(w->lstPointSize->currentText(), QString("72"));
        QCOMPARE(w->SelectedCell, 0);

        WriteIniString("GW", "CurrentFont", "Kept From Before", IniFile);
        w->close();
        // With an empty list the previous font survives.
        QCOMPARE(ReadIniString("GW", "CurrentFont", "", IniFile), QString("Kept From Before"));
        QCOMPARE(ReadIniInt("GW", "CurrentTab", 0, IniFile), 1);
    }

    void firstFamilyAndStyleSelected()
    {
        Show("ShowTrueType");
        Show("ShowATM");
        auto w = std::make_unique<FW>();
        QCOMPARE(w->fontList->Count(), 3);
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
        QCOMPARE(Styles(*w), QStringList({"Book", "Bold"}));
        QCOMPARE(w->StyleIndex(), 1);
        QCOMPARE(w->CurrentFontType, 1);
        QVERIFY(!Splash());
    }

    void selectingFamilies()
    {
        Show("ShowTrueType");
        Show("ShowATM");
        auto w = std::make_unique<FW>();
        w->SelectRow(1);
        w->ListView1_ItemClick(1);
        QCOMPARE(Styles(*w), QStringList({"Regular", "Bold", "Italic"}));
        QCOMPARE(int(StyleCount), 4);

        // Tab 4 belongs to TrueType fonts: a Type 1 family moves to tab 1.
        w->SelectTab(4);
        QCOMPARE(w->CurrentTab(), 4);
        w->SelectRow(2);
        w->ListView1_ItemClick(2);
        QCOMPARE(w->CurrentFontType, 2);
        QCOMPARE(w->CurrentTab(), 1);
        QCOMPARE(Styles(*w), QStringList({"Normal"}));
    }

    void tabsMirrorTheirSizeSlider_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("charactersMenu");
        QTest::newRow("text") << 1 << "72" << true;
        QTest::newRow("chart") << 2 << "65" << true;
        QTest::newRow("sample") << 3 << "30" << false;
        QTest::newRow("information") << 4 << "30" << false;
    }
    void tabsMirrorTheirSizeSlider()
    {
        QFETCH(int, tab);
        QFETCH(QString, size);
        QFETCH(bool, charactersMenu);
        Show("ShowTrueType");
        auto w = std::make_unique<FW>();
        w->SelectTab(3);
        w->SelectTab(tab);
        QCOMPARE(w->lstPointSize->currentText(), size);
        QCOMPARE(w->mnuCharAccents->isEnabled(), charactersMenu);
        QCOMPARE(w->picControls->parentWidget(), w->picContainer[tab]);
        // The preview sits left of the font controls, with equal margins.
        QVERIFY(w->FreeWidth > 0 && w->FreeHeight > 0);
        QVERIFY(w->picControls->x() > 0);
    }

    void settingsRoundTrip()
    {
        Show("ShowTrueType");
        {
            auto w = std::make_unique<FW>();
            w->scrAnsi[1]->setValue(90);
            w->ScrSize[1]->setValue(300);
            w->scrAnsi[2]->setValue(192);
            w->ScrSize[2]->setValue(100);
            w->ScrSize[3]->setValue(44);
            w->txtSample->setPlainText("Hamburgefonstiv");
            w->SelectRow(1);
            w->ListView1_ItemClick(1);
            w->picChar_Click(6);
            w->SelectTab(3);
            w->resize(700, 500);
            w->close();
        }
        QCOMPARE(ReadIniInt("GW", "ChartSelected", -1, IniFile), 6);
        QCOMPARE(ReadIniString("GW", "CurrentFont", "", IniFile), QString("Liberation Sans"));
        QVERIFY(ReadFile(IniFile).contains(QString("Width= %1").arg(700 * 15).toUtf8()));

        auto w = std::make_unique<FW>();
        QCOMPARE(w->scrAnsi[1]->value(), 90);
        QCOMPARE(w->ScrSize[1]->value(), 300);
        QCOMPARE(w->scrAnsi[2]->value(), 192);
        QCOMPARE(w->ScrSize[2]->value(), 100);
        QCOMPARE(w->ScrSize[3]->value(), 44);
        QCOMPARE(w->txtSample->toPlainText(), QString("Hamburgefonstiv"));
        QCOMPARE(w->CurrentTab(), 3);
        QCOMPARE(Selected(*w), QString("Liberation Sans"));
        QCOMPARE(w->SelectedCell, 0);  // the chart starts at cell 0 every time
        QCOMPARE(w->width(), 700);
    }

    void storedTabZeroAndMissingFont()
    {
        Show("ShowTrueType");
        WriteIniString("GW", "CurrentTab", "0", IniFile);
        WriteIniString("GW", "CurrentFont", "No Such Family", IniFile);
        auto w = std::make_unique<FW>();
        QCOMPARE(w->CurrentTab(), 1);
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
    }

    void closingMinimisedKeepsPlacement()
    {
        WriteIniString("Main", "Width", " 9000", IniFile);
        WriteIniString("Main", "Height", " 6000", IniFile);
        auto w = std::make_unique<FW>();
        w->resize(400, 300);
        w->setWindowState(Qt::WindowMinimized);
        w->close();
        QCOMPARE(ReadIniInt("Main", "Width", 0, IniFile), 9000);
    }

    void rereadKeepsTheSelectedFamily()
    {
        Show("ShowTrueType");
        auto w = std::make_unique<FW>();
        w->SelectRow(1);
        w->ListView1_ItemClick(1);
        env->fake.fonts->faces.prepend(TT("Arimo", "Regular", 400, false));
        w->mnuOptionsRereadFonts_Click();
        QCOMPARE(w->fontList->Count(), 3);
        QCOMPARE(Selected(*w), QString("Liberation Sans"));

        // Gone after the reread: the first family is selected.
        env->fake.fonts->faces.erase(env->fake.fonts->faces.begin() + 3,
                                     env->fake.fonts->faces.begin() + 7);
        w->mnuOptionsRereadFonts_Click();
        QCOMPARE(Selected(*w), QString("Arimo"));
        QCOMPARE(w->StatusPanel[2]->text(), QString("2 font families"));
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(FwTest)
#include "test_fw.moc"
