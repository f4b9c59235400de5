// The main window on a fake font set: first start, selection, tabs, settings
// written at close and restored at the next start, rereading the fonts.
#include <QtTest>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QAction>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "core/splash.h"
#include "mainwindow/fw.h"
#include "testenv.h"

using namespace gw;

namespace {

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

// Character and size sliders of pages 1 to 3.
QList<QScrollBar*> Sliders(const FW& w)
{
    return {w.scrAnsi[1], w.ScrSize[1], w.scrAnsi[2], w.ScrSize[2], w.ScrSize[3]};
}

QList<int> Values(const FW& w)
{
    QList<int> out;
    for (QScrollBar* s : Sliders(w))
        out << s->value();
    return out;
}

} // namespace

class FwTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->fake.fonts->faces = {
            TrueTypeFace("DejaVu Sans", "Book"), TrueTypeFace("DejaVu Sans", "Bold", 700),
            TrueTypeFace("Liberation Sans"), TrueTypeFace("Liberation Sans", "Bold", 700),
            TrueTypeFace("Liberation Sans", "Italic", 400, true),
            // A second file of the same style shows the style once.
            TrueTypeFace("Liberation Sans", "Italic", 400, true),
            DeviceFace("Nimbus Sans"),
        };
        env->fake.fonts->faces[5].elf.elfFullName[0] = 'X';
        ATMInstalled = true;
        env->fake.atm->text = "[Fonts]\nNimbus Sans=/x/n.afm,/x/n.pfb\n";
    }
    void cleanup() { env.reset(); }

    void firstStartWithEmptySettings()
    {
        auto w = std::make_unique<FW>();
        QVERIFY(w->isVisible());
        QCOMPARE(w->fontList->Count(), 0);  // nothing listed until the filters are on
        QCOMPARE(w->CurrentTab(), 1);
        QCOMPARE(Values(*w), QList<int>({65, 72, 65, 65, 30}));
        QCOMPARE(w->txtSample->toPlainText(), QString());
        QCOMPARE(w->lstPointSize->currentText(), QString("72"));

        WriteIniString("GW", "CurrentFont", "Kept From Before", IniFile);
        w->close();
        // With an empty list the previous font survives.
        QCOMPARE(ReadIniString("GW", "CurrentFont", "", IniFile), QString("Kept From Before"));
        QCOMPARE(ReadIniInt("GW", "CurrentTab", 0, IniFile), 1);
    }

    void selectingFamilies()
    {
        SetShow(true, true, false);
        auto w = std::make_unique<FW>();
        QCOMPARE(w->fontList->Count(), 3);
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
        QCOMPARE(Styles(*w), QStringList({"Book", "Bold"}));
        QCOMPARE(w->StyleIndex(), 1);
        QVERIFY(!Splash());

        QVERIFY(SelectFamily(*w, "Liberation Sans"));
        QCOMPARE(Styles(*w), QStringList({"Regular", "Bold", "Italic"}));
        QCOMPARE(int(StyleCount), 4);
        QVERIFY(SelectFamily(*w, "Nimbus Sans"));
        QCOMPARE(w->CurrentFontType, 2);
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
        SetShow(true, false, false);
        auto w = std::make_unique<FW>();
        w->SelectTab(3);
        w->SelectTab(tab);
        QCOMPARE(w->lstPointSize->currentText(), size);
        QCOMPARE(w->mnuCharAccents->isEnabled(), charactersMenu);
        QCOMPARE(w->picControls->parentWidget(), w->picContainer[tab]);
        // Once the window has its size the font controls sit flush right on the
        // page, and the preview keeps the room left of them.
        // (The tab widget may size its pages after the window's own resize.)
        QWidget* page = w->picContainer[tab];
        page->resize(page->width() + 37, page->height() + 23);
        QCOMPARE(w->picControls->geometry().right(), page->width() - 1);
        QCOMPARE(w->picControls->height(), page->height());
        QCOMPARE(w->FreeWidth, PixelsToTwips(w->picControls->x()) - 2 * 60);
    }

    void settingsRoundTrip()
    {
        SetShow(true, false, false);
        {
            auto w = std::make_unique<FW>();
            const QList<int> values{90, 300, 192, 100, 44};
            for (int i = 0; i < values.size(); ++i)
                Sliders(*w)[i]->setValue(values[i]);
            w->txtSample->setPlainText("Hamburgefonstiv");
            QVERIFY(SelectFamily(*w, "Liberation Sans"));
            w->picChar_Click(6);
            w->SelectTab(3);
            w->resize(700, 500);
            w->close();
        }
        QCOMPARE(ReadIniInt("GW", "ChartSelected", -1, IniFile), 6);
        QVERIFY(ReadFile(IniFile).contains(QString("Width= %1").arg(700 * 15).toUtf8()));

        auto w = std::make_unique<FW>();
        QCOMPARE(Values(*w), QList<int>({90, 300, 192, 100, 44}));
        QCOMPARE(w->txtSample->toPlainText(), QString("Hamburgefonstiv"));
        QCOMPARE(w->CurrentTab(), 3);
        QCOMPARE(Selected(*w), QString("Liberation Sans"));
        QCOMPARE(w->SelectedCell, 0);  // the chart starts at cell 0 every time
        QCOMPARE(w->width(), 700);
    }

    void storedTabZeroAndMissingFont()
    {
        SetShow(true, false, false);
        WriteIniString("GW", "CurrentTab", "0", IniFile);
        WriteIniString("GW", "CurrentFont", "No Such Family", IniFile);
        auto w = std::make_unique<FW>();
        QCOMPARE(w->CurrentTab(), 1);
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
    }

    // One replacement of the file per close, and the sample text back whole.
    void closeWritesOnceAndKeepsSampleText()
    {
        SetShow(true, false, false);
        const QString text = QString(300, 'x') + "\nsecond line\n\n  indented \\n";
        {
            auto w = std::make_unique<FW>();
            w->txtSample->setPlainText(text);
            const int saves = SettingsSaveCount();
            w->close();
            QCOMPARE(SettingsSaveCount() - saves, 1);
        }
        auto w = std::make_unique<FW>();
        QCOMPARE(w->txtSample->toPlainText(), text);
    }

    void closingMinimisedKeepsPlacement()
    {
        WriteIniString("Main", "Width", " 9000", IniFile);
        auto w = std::make_unique<FW>();
        w->resize(400, 300);
        w->setWindowState(Qt::WindowMinimized);
        w->close();
        QCOMPARE(ReadIniInt("Main", "Width", 0, IniFile), 9000);
    }

    void rereadKeepsTheSelectedFamily()
    {
        SetShow(true, false, false);
        auto w = std::make_unique<FW>();
        QVERIFY(SelectFamily(*w, "Liberation Sans"));
        env->fake.fonts->faces.prepend(TrueTypeFace("Arimo"));
        w->mnuOptionsRereadFonts_Click();
        QCOMPARE(w->fontList->Count(), 3);
        QCOMPARE(Selected(*w), QString("Liberation Sans"));

        // Gone after the reread: the first family is selected.
        env->fake.fonts->faces.erase(env->fake.fonts->faces.begin() + 3,
                                     env->fake.fonts->faces.begin() + 7);
        w->mnuOptionsRereadFonts_Click();
        QCOMPARE(Selected(*w), QString("Arimo"));
        QCOMPARE(w->StatusPanel[1]->text(), QString("2 font families"));
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(FwTest)
#include "test_fw.moc"
