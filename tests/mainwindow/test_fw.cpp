// The main window on a fake font set: first start, selection, tabs, settings
// written at close and restored at the next start, rereading the fonts, and the
// menu commands that need no other window.
#include <QtTest>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "core/splash.h"
#include "fonts/fonttable.h"
#include "mainwindow/about.h"
#include "mainwindow/fw.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/frmwizard2.h"

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

    // Written once at close, restored at the next start; the sample text comes back whole.
    void settingsRoundTrip()
    {
        SetShow(true, false, false);
        const QString text = QString(300, 'x') + "\nsecond line\n\n  indented \\n";
        {
            auto w = std::make_unique<FW>();
            const QList<int> values{90, 300, 192, 100, 44};
            for (int i = 0; i < values.size(); ++i)
                Sliders(*w)[i]->setValue(values[i]);
            w->txtSample->setPlainText(text);
            QVERIFY(SelectFamily(*w, "Liberation Sans"));
            w->picChar_Click(6);
            w->SelectTab(3);
            w->resize(700, 500);
            const int saves = SettingsSaveCount();
            w->close();
            QCOMPARE(SettingsSaveCount() - saves, 1);
        }
        QCOMPARE(ReadIniInt("GW", "ChartSelected", -1, IniFile), 6);
        QVERIFY(ReadFile(IniFile).contains(QString("Width= %1").arg(700 * 15).toUtf8()));
        {
            auto w = std::make_unique<FW>();
            QCOMPARE(Values(*w), QList<int>({90, 300, 192, 100, 44}));
            QCOMPARE(w->txtSample->toPlainText(), text);
            QCOMPARE(w->CurrentTab(), 3);
            QCOMPARE(Selected(*w), QString("Liberation Sans"));
            QCOMPARE(w->SelectedCell, 0);  // the chart starts at cell 0 every time
            QCOMPARE(w->width(), 700);
        }
        // A stored tab 0 and a font uninstalled since: page 1 and the first family.
        WriteIniString("GW", "CurrentTab", "0", IniFile);
        WriteIniString("GW", "CurrentFont", "No Such Family", IniFile);
        auto w = std::make_unique<FW>();
        QCOMPARE(w->CurrentTab(), 1);
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
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
        // Each reread first has the system read its fonts afresh.
        QCOMPARE(env->fake.fonts->rescans, 2);
    }

    // A family in two kinds, shaped like C059: OpenType files and Type 1 files.
    void type1StylesThatExist_data()
    {
        QTest::addColumn<bool>("trueTypeShown");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("Type 1 only") << false << ".t1";
        QTest::newRow("both kinds: the OpenType files") << true << ".otf";
    }
    void type1StylesThatExist()
    {
        QFETCH(bool, trueTypeShown);
        QFETCH(QString, suffix);
        const QStringList styles{"Roman", "Italic", "Bold", "Bold Italic"}, files{"Roman", "Italic", "Bold", "BdIta"};
        env->fake.fonts->faces.clear();
        env->fake.atm->text = "[Fonts]\n";
        for (int i = 0; i < 4; ++i) {
            const QString key = QStringList{"", ",ITALIC", ",BOLD", ",BOLDITALIC"}[i];
            env->fake.atm->text += "C059" + key + "=," + "/f/C059-" + files[i] + ".t1\n";
            env->fake.registry->values.append({"C059 " + styles[i] + " (TrueType)", "/f/C059-" + files[i] + ".otf"});
            for (int type : {TRUETYPE_FONTTYPE, DEVICE_FONTTYPE})
                env->fake.fonts->faces << FakeFontSystem::MakeFace("C059", "C059 " + styles[i], styles[i], i < 2 ? 400 : 700,
                                                                   i % 2, type, "/f/C059-" + files[i]);
        }
        ReadRegFontList();
        SetShow(trueTypeShown, true, false);
        auto w = std::make_unique<FW>();
        QVERIFY(SelectFamily(*w, "C059"));
        QCOMPARE(Styles(*w), styles);
        for (int row = 0; row < 4; ++row) {
            w->Attribs->setCurrentRow(row);
            const size_t entry = size_t(w->StyleIndex() - 1);
            QVERIFY(StyleTable[entry].FontFile.endsWith("C059-" + files[row] + suffix, Qt::CaseInsensitive));
            QCOMPARE(int(StyleFonts[entry].lfItalic), row % 2);
        }
    }

    // Each Alt letter of the window's menus, labels and tabs reaches one control.
    void altLettersAreUnique()
    {
        auto w = std::make_unique<FW>();
        QStringList captions;
        for (QAction* menu : w->menuBar()->actions())
            captions << menu->text();
        for (QLabel* label : w->findChildren<QLabel*>())
            captions << (label->buddy() ? label->text() : QString());
        for (int i = 0; i < w->tabSpec->count(); ++i)
            captions << w->tabSpec->tabText(i);
        QSet<QChar> letters;
        for (const QString& caption : captions) {
            const int amp = caption.indexOf(QRegularExpression("&[^&]"));
            QVERIFY2(amp < 0 || !letters.contains(caption[amp + 1].toLower()), qPrintable(caption));
            letters << (amp < 0 ? QChar() : caption[amp + 1].toLower());
        }
    }

    // At any size the list shows eight rows and the chart's grid lines are one width.
    void windowGeometry_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("the minimum") << QSize();
        QTest::newRow("odd size") << QSize(913, 655);
    }
    void windowGeometry()
    {
        QFETCH(QSize, size);
        SetShow(true, false, false);
        auto w = std::make_unique<FW>();
        QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));  // a first start fits
        w->resize(size.isValid() ? size : w->minimumSize());
        w->SelectTab(2);
        QApplication::processEvents();
        QVERIFY(w->ListView1->viewport()->height() >= 8 * w->ListView1->sizeHintForRow(0));
        QWidget* grid = w->findChild<QWidget*>("chartGrid");
        const int border = w->picChar[0]->x() - grid->x();
        QCOMPARE(grid->geometry().bottom() - w->picChar[15]->geometry().bottom(), border);
        for (int k = 0; k < 15; ++k) {
            if (k % 4 != 3)
                QCOMPARE(w->picChar[k + 1]->x() - w->picChar[k]->geometry().right() - 1, border);
            if (k < 12)
                QCOMPARE(w->picChar[k + 4]->y() - w->picChar[k]->geometry().bottom() - 1, border);
        }
        // Arrow keys move the selected cell; past the last row the chart scrolls.
        QVERIFY(w->ScrSize[2]->focusPolicy() & Qt::TabFocus);
        w->picChar_Click(14);
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(w->SelectedCell, 13);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(w->SelectedCell, 13);
        QCOMPARE(w->scrAnsi[2]->value(), 69);
    }

    void findBoxNarrowsTheList()
    {
        SetShow(true, true, false);
        auto w = std::make_unique<FW>();
        auto* find = w->findChild<QLineEdit*>("txtFind");
        QVERIFY(find);
        auto shown = [&] {
            QStringList rows;
            for (int r = 0; r < w->fontList->Count(); ++r)
                if (!w->ListView1->isRowHidden(r, {}))
                    rows << w->fontList->At(r).text;
            return rows;
        };
        // Any part of the name, letter case ignored; the selection moves onto a match.
        QTest::keyClicks(find, "SANS");
        QCOMPARE(shown(), QStringList({"DejaVu Sans", "Liberation Sans", "Nimbus Sans"}));
        QTest::keyClicks(find, "b");  // "SANSb" matches nothing
        QCOMPARE(w->StatusPanel[1]->text(), QString("0 of 3 font families"));
        find->setText("ation");
        QCOMPARE(shown(), QStringList({"Liberation Sans"}));
        QCOMPARE(Selected(*w), QString("Liberation Sans"));
        QCOMPARE(w->StatusPanel[1]->text(), QString("1 of 3 font families"));

        // A reread keeps the list narrowed.
        env->fake.fonts->faces.prepend(TrueTypeFace("Arimo Liberation"));
        w->mnuOptionsRereadFonts_Click();
        QCOMPARE(shown(), QStringList({"Arimo Liberation", "Liberation Sans"}));
        QCOMPARE(w->StatusPanel[1]->text(), QString("2 of 4 font families"));

        QTest::keyClick(find, Qt::Key_Escape);
        QCOMPARE(shown().size(), 4);
        QCOMPARE(Selected(*w), QString("Liberation Sans"));
    }

    void uninstallRereadsAndSelectsTheFirstFamily()
    {
        SetShow(true, false, false);
        auto w = std::make_unique<FW>();
        QVERIFY(SelectFamily(*w, "Liberation Sans"));
        QStringList preselected;
        QTimer poll; // acts once the wizard runs modally
        poll.start(10);
        connect(&poll, &QTimer::timeout, [&] {
            auto* wizard = qobject_cast<frmWizard2*>(QApplication::activeModalWidget());
            if (!wizard)
                return;
            poll.stop();
            for (QTreeWidgetItem* item : wizard->ListView1->selectedItems())
                preselected << item->text(0);
            // The platform hides the family once it is uninstalled.
            auto& faces = env->fake.fonts->faces;
            faces.erase(faces.begin() + 2, faces.begin() + 6);
            wizard->AdvanceButton(2);
            wizard->cmdRemove_Click();
        });
        w->mnuFileRemoveFont->trigger();
        QCOMPARE(preselected, QStringList{"Liberation Sans"});
        QCOMPARE(w->fontList->Count(), 1);
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
        QVERIFY(!FontsChanged);
    }

    void shortcuts_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("install") << "mnuFileInstallFont" << QKeySequence(Qt::CTRL | Qt::Key_I);
        QTest::newRow("uninstall") << "mnuFileRemoveFont" << QKeySequence(Qt::CTRL | Qt::Key_U);
        QTest::newRow("print") << "mnuFileInventory" << QKeySequence(Qt::CTRL | Qt::Key_P);
        QTest::newRow("copy") << "mnuEditCopy" << QKeySequence(Qt::CTRL | Qt::Key_C);
        QTest::newRow("keyboard") << "mnuViewKeyboard" << QKeySequence(Qt::CTRL | Qt::Key_K);
        QTest::newRow("options") << "mnuOptionsSetup" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("help") << "mnuHelpContents" << QKeySequence(Qt::Key_F1);
    }
    void shortcuts()
    {
        QFETCH(QString, item);
        QFETCH(QKeySequence, keys);
        FW w;
        auto* action = w.findChild<QAction*>(item);
        QVERIFY(action);
        QCOMPARE(action->shortcut(), keys);
    }

    void printSetupRereadsOnlyForAnotherPrinter_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<int>("families");
        QTest::newRow("same printer: no reread") << QStringList{"Office Laser"} << 2;
        QTest::newRow("cancelled: no reread") << QStringList{} << 2;
        QTest::newRow("another printer: reread") << QStringList{"Proofer"} << 3;
    }
    void printSetupRereadsOnlyForAnotherPrinter()
    {
        QFETCH(QStringList, choices);
        QFETCH(int, families);
        SetShow(true, false, false);
        FW w;
        QVERIFY(SelectFamily(w, "Liberation Sans"));
        env->fake.fonts->faces << TrueTypeFace("Arimo");  // seen only by a reread
        env->fake.printerSetup->choices = choices;
        w.mnuFilePrintSetup_Click();
        QCOMPARE(env->fake.printerSetup->shown, 1);
        QCOMPARE(w.fontList->Count(), families);
        QCOMPARE(Selected(w), QString("Liberation Sans"));
    }

    // Programs, help (F1 and an item) and web addresses started from the menus.
    void menuItemsStartWhatTheyName()
    {
        FW w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const char* item : {"mnuRunControlPanel", "mnuRunClipboard", "mnuRunCharacterMap"})
            w.findChild<QAction*>(item)->trigger();
        QCOMPARE(env->fake.programs->started, (QStringList{"CONTROL.EXE", "CLIPBRD.EXE", "CHARMAP.EXE"}));
        QCOMPARE(env->fake.programs->styles, (QList<int>{1, 1, 1}));
        QTest::keyClick(&w, Qt::Key_F1);
        w.mnuHelpFAQ->trigger();
        QCOMPARE(env->fake.help->contexts, (QList<int>{-1, 120}));
        QCOMPARE(env->fake.help->files, (QStringList{HelpFile, HelpFile}));
        for (QAction* item : w.mnuHelpWeb->actions())
            item->trigger();
        QCOMPARE(env->fake.web->opened.size(), 4);
        QVERIFY(env->fake.web->opened.last().startsWith("mailto:"));
        w.resize(1000, 700);
        SaveShot(&w, "main-window");
    }

    void typeOneManagerItemAsksForThePathInOptions()
    {
        ATMInstalled = false;
        FW w;
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = dialog->objectName();
                dialog->close();
            }
        });
        w.mnuRunAdobeTypeManager_Click();
        QCOMPARE(opened, QString("frmOptions"));
        QCOMPARE(env->fake.messages->texts,
                 QStringList{"You have not specified the name of your Adobe Type Manager program executable."
                             "\r\n\r\nUse the Options dialog box to specify the file name and path of this program."});
        QVERIFY(env->fake.programs->started.isEmpty());
        WriteIniString("GW", "ATMPath", "/opt/atm/bin/atm", IniFile);
        w.mnuRunAdobeTypeManager_Click();
        QCOMPARE(env->fake.programs->started, QStringList{"/opt/atm/bin/atm"});
    }

    void printWithAnEmptyListSaysSo()
    {
        SetShow(false, false, false);
        FW w;
        w.mnuFileInventory_Click();
        QCOMPARE(env->fake.messages->texts, QStringList{"There are no installed fonts to print!"});
        QCOMPARE(env->fake.messages->styles, QList<int>{vbInformation});
    }

    void aboutBoxNamesVersions()
    {
        ComponentReference core;
        core.name = "Qt Core";
        core.fileName = "libQt6Core.so.6";
        env->fake.components->references = {core};
        ComponentFile loaded;
        loaded.inMemory = true;
        loaded.version = "6.4.2";
        env->fake.components->found["libQt6Core.so.6"] = {loaded};
        frmAbout about;
        QCOMPARE(about.lblComponents->text(), QString("Running with Qt 6.4.2 and fontconfig unknown"));
        QVERIFY(about.lblLicence->text().contains("GPL-3.0-or-later"));
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(FwTest)
#include "test_fw.moc"
