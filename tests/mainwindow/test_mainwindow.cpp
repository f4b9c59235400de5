// The main window on a fake font set: first start, selection, tabs, settings
// written at close and restored at the next start, rereading the fonts, and the
// menu commands that need no other window; the toolbar.
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
#include <functional>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "core/splash.h"
#include "fonts/fonttable.h"
#include "keyboard/keyboardwindow.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/toolbar.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/installwizard.h"
#include "wizards/removewizard.h"
#include "sfntbuilder.h"
#include <QDir>

using namespace gw;

namespace {

QStringList Styles(const MainWindow& w)
{
    QStringList out;
    for (int i = 0; i < w.Attribs->count(); ++i)
        out << w.Attribs->item(i)->text();
    return out;
}

QString Selected(const MainWindow& w)
{
    return w.SelectedRow() < 0 ? QString() : w.fontList->At(w.SelectedRow()).text;
}

// Character and size sliders of pages 1 to 3.
QList<QScrollBar*> Sliders(const MainWindow& w)
{
    return {w.scrAnsi[1], w.ScrSize[1], w.scrAnsi[2], w.ScrSize[2], w.ScrSize[3]};
}

QList<int> Values(const MainWindow& w)
{
    QList<int> out;
    for (QScrollBar* s : Sliders(w))
        out << s->value();
    return out;
}

void Enter(QWidget* w)
{
    QEnterEvent event(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &event);
}

void Leave(QWidget* w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

QList<int> VisibleTops(const MainWindow& w)
{
    QList<int> tops;
    for (QWidget* b : w.picTool)
        if (!b->isHidden())
            tops << b->y();
    return tops;
}

// Runs `act` on the first dialog of type T that runs modally.
template <typename T>
void WhenModal(QTimer& poll, const std::function<void(T*)>& act)
{
    poll.start(10);
    QObject::connect(&poll, &QTimer::timeout, [&poll, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll.stop();
            act(dialog);
        }
    });
}

} // namespace

class MainWindowTest : public QObject {
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
    void cleanup()
    {
        TooltipWindow()->hide();
        env.reset();
    }

    void firstStartWithEmptySettings()
    {
        auto w = std::make_unique<MainWindow>();
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
        auto w = std::make_unique<MainWindow>();
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
        w->resize(1000, 700);
        SaveShot(w.get(), "main-window");
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
        auto w = std::make_unique<MainWindow>();
        w->SelectTab(3);
        w->SelectTab(tab);
        QCOMPARE(w->lstPointSize->currentText(), size);
        QCOMPARE(w->mnuCharAccents->isEnabled(), charactersMenu);
        QCOMPARE(w->picControls->parentWidget(), w->picContainer[tab]);
    }

    // Written once at close, restored at the next start; the sample text comes back
    // whole, its blanks at both ends, tabs, line breaks and typed escapes too.
    void settingsRoundTrip()
    {
        SetShow(true, false, false);
        const QString text = " \t" + QString(300, 'x') + "\nsecond line\n\n  indented \\n C:\\new\\ ";
        {
            auto w = std::make_unique<MainWindow>();
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
            auto w = std::make_unique<MainWindow>();
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
        auto w = std::make_unique<MainWindow>();
        QCOMPARE(w->CurrentTab(), 1);
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
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
        auto w = std::make_unique<MainWindow>();
        QVERIFY(SelectFamily(*w, "C059"));
        QCOMPARE(Styles(*w), styles);
        for (int row = 0; row < 4; ++row) {
            w->Attribs->setCurrentRow(row);
            const size_t entry = size_t(w->StyleIndex() - 1);
            QVERIFY(StyleTable[entry].FontFile.endsWith("C059-" + files[row] + suffix, Qt::CaseInsensitive));
            QCOMPARE(int(StyleFonts[entry].lfItalic), row % 2);
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
        auto w = std::make_unique<MainWindow>();
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
        auto w = std::make_unique<MainWindow>();
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
        QCOMPARE(env->fake.fonts->rescans, 1);  // the system reads its fonts afresh first

        QTest::keyClick(find, Qt::Key_Escape);
        QCOMPARE(shown().size(), 4);
        QCOMPARE(Selected(*w), QString("Liberation Sans"));
    }

    // After an uninstall the list is read again and nothing shows a removed
    // font: the first family left is shown, or nothing when none is left.
    void uninstallShowsOnlyFontsLeft_data()
    {
        QTest::addColumn<int>("left");  // faces the platform still lists, from the front
        QTest::addColumn<QString>("shown");
        QTest::newRow("the selected family goes: the first left") << 2 << "DejaVu Sans";
        QTest::newRow("every font goes: none shown") << 0 << "";
    }
    void uninstallShowsOnlyFontsLeft()
    {
        QFETCH(int, left);
        QFETCH(QString, shown);
        SetShow(true, false, false);
        auto w = std::make_unique<MainWindow>();
        w->mnuViewKeyboard_Click();
        QVERIFY(SelectFamily(*w, "Liberation Sans"));
        QStringList preselected;
        QTimer poll;
        WhenModal<RemoveWizard>(poll, [&](RemoveWizard* wizard) {
            for (QTreeWidgetItem* item : wizard->ListView1->selectedItems())
                preselected << item->text(0);
            for (QTreeWidgetItem* item : wizard->ListView1->findItems("Liberation Sans", Qt::MatchStartsWith))
                item->setSelected(true);
            // The platform hides the fonts once they are uninstalled.
            env->fake.fonts->faces.resize(left);
            wizard->ShowModal = [](QDialog*) {};
            wizard->AdvanceButton(2);
            wizard->cmdRemove_Click();
        });
        w->mnuFileRemoveFont->trigger();
        QCOMPARE(preselected, QStringList{}); // nothing is chosen for the user
        QCOMPARE(w->fontList->Count(), left ? 1 : 0);
        QCOMPARE(Selected(*w), shown);
        const QImage spec = w->Spec->ToImage();
        bool blank = true;
        for (int y = 0; y < spec.height() && blank; ++y)
            for (int x = 0; x < spec.width() && blank; ++x)
                blank = spec.pixel(x, y) == w->Spec->BackColor().rgb();
        SaveShot(w.get(), shown.isEmpty() ? "uninstalled-all" : "uninstalled-one");
        QCOMPARE(blank, shown.isEmpty());
        QCOMPARE(w->pnlTTF->text().isEmpty(), shown.isEmpty());
        const QString typed = w->Keyboard()->TextBox->font().family();
        QVERIFY2(shown.isEmpty() ? typed != "Liberation Sans" : typed == shown, qPrintable(typed));
        QVERIFY(!FontsChanged);
    }

    // "glyphwick FILE..." (a launcher, a drop): the install wizard on the first
    // one's folder with the given fonts selected and the first previewed.
    void fontFilesOpenTheInstallWizard_data()
    {
        QTest::addColumn<QStringList>("given");     // under Downloads; "." the folder itself
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("said");          // part of the one message, "" none
        QTest::newRow("a file is selected") << QStringList{"b.ttf"} << QStringList{"b.ttf"} << "";
        QTest::newRow("a folder selects all its fonts") << QStringList{"."} << QStringList{"a.ttf", "b.ttf"} << "";
        QTest::newRow("a file the wizard cannot install is named") << QStringList{"b.ttf", "t.pfb"}
                                                                   << QStringList{"b.ttf"} << "t.pfb";
        QTest::newRow("a file of another folder is named") << QStringList{"b.ttf", "../x.ttf"}
                                                           << QStringList{"b.ttf"} << "x.ttf";
    }
    void fontFilesOpenTheInstallWizard()
    {
        QFETCH(QStringList, given);
        QFETCH(QStringList, selected);
        QFETCH(QString, said);
        const QString folder = env->root() + "/Downloads";
        QDir().mkpath(folder);
        for (const char* file : {"a.ttf", "b.ttf", "../x.ttf"})
            WriteFile(folder + "/" + file, SfntBuilder::Simple(file, QString(file) + " Sans"));
        WriteFile(folder + "/t.pfb", "%!PS-AdobeFont-1.0");
        auto w = std::make_unique<MainWindow>();
        QStringList shown;
        QString previewed;
        QTimer poll;
        WhenModal<InstallWizard>(poll, [&](InstallWizard* wizard) {
            const QTreeWidget& fontList = Child<QTreeWidget>(*wizard, "fontList");
            for (QTreeWidgetItem* item : fontList.selectedItems())
                shown << item->text(1);
            previewed = fontList.currentItem() ? fontList.currentItem()->text(1) : QString();
            wizard->close();
        });
        QStringList paths;
        for (const QString& g : given)
            paths << QDir::cleanPath(folder + "/" + g);
        w->InstallFromFiles(paths);
        shown.sort();
        QCOMPARE(shown, selected);
        QCOMPARE(previewed, selected[0]);
        QCOMPARE(env->fake.messages->texts.size(), said.isEmpty() ? 0 : 1);
        QVERIFY(said.isEmpty() || env->fake.messages->texts[0].contains(said));
    }

    void typeOneManagerItemAsksForThePathInOptions()
    {
        ATMInstalled = false;
        MainWindow w;
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = dialog->objectName();
                dialog->close();
            }
        });
        w.mnuRunAdobeTypeManager_Click();
        QCOMPARE(opened, QString("OptionsDialog"));
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
        MainWindow w;
        w.mnuFileInventory_Click();
        QCOMPARE(env->fake.messages->texts, QStringList{"There are no installed fonts to print!"});
        QCOMPARE(env->fake.messages->styles, QList<int>{vbInformation});
    }

    // The toolbar: buttons with and without the Type 1 manager, press, release
    // and leave; menu help.
    void buttonsStackWithoutGap_data()
    {
        QTest::addColumn<bool>("realAtmIni");
        QTest::addColumn<int>("visible");
        QTest::newRow("fontconfig view hides the Type 1 button") << false << 7;
        QTest::newRow("a real ATM.INI shows it") << true << 8;
    }
    void buttonsStackWithoutGap()
    {
        QFETCH(bool, realAtmIni);
        QFETCH(int, visible);
        ATMInstalled = true;
        if (realAtmIni)
            QVERIFY(WriteFile(WinDir + "ATM.INI", "[Settings]\nATM=On\n"));
        MainWindow w;
        const QList<int> tops = VisibleTops(w);
        QCOMPARE(tops.size(), visible);
        const int step = w.picTool[1]->y() - w.picTool[0]->y();
        for (int i = 1; i < tops.size(); ++i)
            QCOMPARE(tops[i] - tops[i - 1], step);
        QCOMPARE(w.findChild<QAction*>("mnuRunAdobeTypeManager")->isVisible(), realAtmIni);
    }

    void pressAndReleaseRunTheCommand()
    {
        MainWindow w;
        QWidget* settings = w.picTool[6];
        QCOMPARE(settings->property("Tag").toString(), QString("Open the desktop's system settings"));
        Enter(settings);
        QTest::mousePress(settings, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(w.ButtonState(6), 1);
        QVERIFY(env->fake.programs->started.isEmpty());
        QTest::mouseRelease(settings, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(w.ButtonState(6), 0);
        QCOMPARE(env->fake.programs->started, QStringList{"CONTROL.EXE"});

        // Released off the button: nothing runs.
        QTest::mousePress(settings, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(settings, Qt::LeftButton, {}, QPoint(-20, 10));
        QCOMPARE(env->fake.programs->started.size(), 1);
        Leave(settings);
        QCOMPARE(w.ButtonState(6), 2);  // flat
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
