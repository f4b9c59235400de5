// The main window on a fake font set: first start, selection, tabs, settings kept,
// rereading the fonts, the menu commands that need no other window; the toolbar.
#include <QtTest>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/fonttable.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/toolbar.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/installwizard.h"
#include "wizards/removewizard.h"
#include "sfntbuilder.h"

using namespace gw;

namespace {

QStringList Styles(const MainWindow& w)
{
    const auto& list = Child<QListWidget>(w, "styleList");
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

QTreeView& FontList(const MainWindow& w)
{
    return Child<QTreeView>(w, "fontList");
}

QString Selected(const MainWindow& w)
{
    return FontList(w).currentIndex().data().toString();
}

// The character and size sliders of the first three pages, after setting them to `set` if given.
QList<int> Values(const MainWindow& w, const QList<int>& set = {})
{
    QList<int> out;
    for (const char* name : {"glyphCodeSlider", "glyphSizeSlider", "chartCodeSlider", "chartSizeSlider",
                             "sampleSizeSlider"}) {
        if (!set.isEmpty())
            Child<QScrollBar>(w, name).setValue(set[out.size()]);
        out << Child<QScrollBar>(w, name).value();
    }
    return out;
}

PictureBox* Cell(const MainWindow& w, int k)
{
    for (PictureBox* cell : w.findChildren<PictureBox*>("cellPicture"))
        if (cell->property("index").toInt() == k)
            return cell;
    qFatal("no chart cell %d", k);
}

// The chart cell shown in the highlight colour.
int SelectedCell(const MainWindow& w)
{
    for (int k = 0; k < 16; ++k)
        if (Cell(w, k)->BackColor() != QColor(Qt::white))
            return k;
    return -1;
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

// The message label of a window of this name, as the window shows.
struct ShowWatcher : QObject {
    explicit ShowWatcher(const QString& name) : name(name) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && o->objectName() == name)
            said = o->findChild<QLabel*>("messageLabel")->text();
        return false;
    }
    QString name, said;
};

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

    // Nothing listed, nothing to print; without a Type 1 manager path its item asks for one in the options.
    void firstStartWithEmptySettings()
    {
        auto w = std::make_unique<MainWindow>();
        QCOMPARE(FontList(*w).model()->rowCount(), 0);  // nothing listed until the filters are on
        QCOMPARE(Values(*w), QList<int>({65, 72, 65, 65, 30}));
        Child<QAction>(*w, "printAction").trigger();
        ATMInstalled = false;
        QString opened;
        QTimer::singleShot(0, [&] {
            opened = QApplication::activeModalWidget()->objectName();
            QApplication::activeModalWidget()->close();
        });
        Child<QAction>(*w, "typeManagerAction").trigger();
        QCOMPARE(opened, QString("OptionsDialog"));
        QCOMPARE(env->fake.messages->texts,
                 QStringList({"There are no installed fonts to print!",
                              "You have not specified the name of your Adobe Type Manager program executable."
                              "\r\n\r\nUse the Options dialog box to specify the file name and path of "
                              "this program."}));
        QVERIFY(env->fake.programs->started.isEmpty());
        WriteIniString("GW", "ATMPath", "/opt/atm/bin/atm", IniFile);
        Child<QAction>(*w, "typeManagerAction").trigger();
        QCOMPARE(env->fake.programs->started, QStringList{"/opt/atm/bin/atm"});

        WriteIniString("GW", "CurrentFont", "Kept From Before", IniFile);
        w->close();
        // With an empty list the previous font survives.
        QCOMPARE(ReadIniString("GW", "CurrentFont", "", IniFile), QString("Kept From Before"));
        QCOMPARE(ReadIniInt("GW", "CurrentTab", 0, IniFile), 1);
    }

    // Written at close, restored at the next start; the sample text comes back
    // whole, its blanks at both ends, tabs, line breaks and typed escapes too.
    void settingsRoundTrip()
    {
        SetShow(true, false, false);
        const QString text = " \t" + QString(300, 'x') + "\nsecond line\n\n  indented \\n C:\\new\\ ";
        const QList<int> values{90, 300, 192, 100, 44};
        {
            auto w = std::make_unique<MainWindow>();
            QCOMPARE(Values(*w, values), values);
            Child<QPlainTextEdit>(*w, "sampleEdit").setPlainText(text);
            QVERIFY(SelectFamily(*w, "Liberation Sans"));
            w->SelectTab(1);
            QTest::mouseClick(Cell(*w, 6), Qt::LeftButton);
            w->SelectTab(2);
            w->resize(700, 500);
            w->close();
        }
        QCOMPARE(ReadIniInt("GW", "ChartSelected", -1, IniFile), 6);
        QVERIFY(ReadFile(IniFile).contains(QString("Width= %1").arg(700 * 15).toUtf8()));
        {
            auto w = std::make_unique<MainWindow>();
            QCOMPARE(Values(*w), values);
            QCOMPARE(Child<QPlainTextEdit>(*w, "sampleEdit").toPlainText(), text);
            QCOMPARE(Child<QTabWidget>(*w, "previewTabs").currentIndex(), 2);
            QCOMPARE(Selected(*w), QString("Liberation Sans"));
            QCOMPARE(SelectedCell(*w), 0);  // the chart starts at cell 0 every time
            QCOMPARE(w->width(), 700);
        }
        // A font uninstalled since: the first family.
        WriteIniString("GW", "CurrentFont", "No Such Family", IniFile);
        auto w = std::make_unique<MainWindow>();
        QCOMPARE(Selected(*w), QString("DejaVu Sans"));
    }

    // The stored tab (counted from 1) opens with its size in the size box; another number opens the
    // first. A placement without a width or a height opens as a first start does.
    void storedTabAndPlacement_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("size");  // Width and Height stored; "" none
        for (int i = 1; i <= 4; ++i)
            QTest::addRow("tab %d", i) << QString::number(i) << i - 1 << "";
        QTest::newRow("0: the first") << "0" << 0 << "";
        QTest::newRow("5: the first") << "5" << 0 << "";
        QTest::newRow("a width without a height: as a first start") << "1" << 0 << "9000 0";
        QTest::newRow("a height without a width: as a first start") << "1" << 0 << "0 6000";
    }
    void storedTabAndPlacement()
    {
        QFETCH(QString, tab);
        QFETCH(int, shown);
        QFETCH(QString, size);
        const QSize firstStart = std::make_unique<MainWindow>()->size();
        WriteIniString("GW", "CurrentTab", tab, IniFile);
        if (!size.isEmpty()) {
            WriteIniString("Main", "Width", size.section(' ', 0, 0), IniFile);
            WriteIniString("Main", "Height", size.section(' ', 1, 1), IniFile);
        }
        auto w = std::make_unique<MainWindow>();
        QCOMPARE(Child<QTabWidget>(*w, "previewTabs").currentIndex(), shown);
        if (shown < 3)
            QCOMPARE(Child<QComboBox>(*w, "sizeBox").currentText(), QString::number(Values(*w)[QList<int>{1, 3, 4}[shown]]));
        if (!size.isEmpty())
            QCOMPARE(w->size(), firstStart);
    }

    // A family in two kinds, shaped like C059: its Type 1 files alone, or with TrueType
    // shown its OpenType files.
    void type1StylesThatExist()
    {
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
        for (bool trueTypeShown : {false, true}) {
            SetShow(trueTypeShown, true, false);
            auto w = std::make_unique<MainWindow>();
            QVERIFY(SelectFamily(*w, "C059"));
            QCOMPARE(Styles(*w), styles);
            for (int row = 0; row < 4; ++row) {
                Child<QListWidget>(*w, "styleList").setCurrentRow(row);
                const size_t entry = size_t(w->SelectedStyle());
                const QString file = "C059-" + files[row] + (trueTypeShown ? ".otf" : ".t1");
                QVERIFY2(StyleTable[entry].FontFile.endsWith(file, Qt::CaseInsensitive), qPrintable(file));
                QCOMPARE(int(StyleFonts[entry].lfItalic), row % 2);
            }
        }
    }

    // A first start fits the screen; the styles of the family selected; the find box narrows the
    // list. The size box shows the tab's size; the Characters menu serves the first two tabs. At
    // the minimum and an odd size the list shows eight rows.
    void selectingFindingAndTabs()
    {
        SetShow(true, true, false);
        auto w = std::make_unique<MainWindow>();
        QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
        QCOMPARE(Styles(*w), QStringList({"Book", "Bold"}));
        QVERIFY(SelectFamily(*w, "Nimbus Sans"));
        QCOMPARE(Styles(*w), QStringList({"Normal"}));
        QVERIFY(SelectFamily(*w, "Liberation Sans"));
        QCOMPARE(Styles(*w), QStringList({"Regular", "Bold", "Italic"}));
        w->resize(1000, 700);
        SaveShot(w.get(), "main-window");
        auto* find = &Child<QLineEdit>(*w, "findEdit");
        const QTreeView& list = FontList(*w);
        auto shown = [&] {
            QStringList rows;
            for (int r = 0; r < list.model()->rowCount(); ++r)
                if (!list.isRowHidden(r, {}))
                    rows << list.model()->index(r, 0).data().toString();
            return rows;
        };
        const QLabel& count = Child<QLabel>(*w, "familyCountLabel");
        // Any part of the name, letter case ignored; the selection moves onto a match.
        QTest::keyClicks(find, "SANS");
        QCOMPARE(shown(), QStringList({"DejaVu Sans", "Liberation Sans", "Nimbus Sans"}));
        QTest::keyClicks(find, "b");  // "SANSb" matches nothing
        QCOMPARE(count.text(), QString("0 of 3 font families"));
        find->setText("ation");
        QCOMPARE(shown(), QStringList({"Liberation Sans"}));
        QCOMPARE(Selected(*w), QString("Liberation Sans"));
        QCOMPARE(count.text(), QString("1 of 3 font families"));

        // A reread keeps the list narrowed.
        env->fake.fonts->faces.prepend(TrueTypeFace("Arimo Liberation"));
        ShowWatcher progress("RereadProgress");  // says what it does as it shows
        Child<QAction>(*w, "rereadAction").trigger();
        QCOMPARE(progress.said, QString("Reading 4 fonts from your system..."));
        QCOMPARE(shown(), QStringList({"Arimo Liberation", "Liberation Sans"}));
        QCOMPARE(count.text(), QString("2 of 4 font families"));
        QCOMPARE(env->fake.fonts->rescans, 1);  // the system reads its fonts afresh first

        QTest::keyClick(find, Qt::Key_Escape);
        QCOMPARE(shown().size(), 4);
        QCOMPARE(Selected(*w), QString("Liberation Sans"));

        for (int tab : {0, 2, 3, 0, 1}) {
            w->SelectTab(tab);
            QCOMPARE(Child<QAction>(*w, "accentsAction").isEnabled(), tab < 2);
            QCOMPARE(Child<QWidget>(*w, "controlPanel").parentWidget(), Child<QTabWidget>(*w, "previewTabs").widget(tab));
        }
        QWidget* grid = &Child<QWidget>(*w, "chartGrid");
        for (const QSize& size : {w->minimumSize(), QSize(913, 655)}) {
            w->resize(size);
            QApplication::processEvents();
            QVERIFY(FontList(*w).viewport()->height() >= 8 * FontList(*w).sizeHintForRow(0));
        }
        // Arrow keys move the selected cell; past the last row the chart scrolls.
        QTest::mouseClick(Cell(*w, 14), Qt::LeftButton);
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(SelectedCell(*w), 13);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(SelectedCell(*w), 13);
        QCOMPARE(Child<QScrollBar>(*w, "chartCodeSlider").value(), 69);
    }

    // After an uninstall the list is reread: the first family left is shown, or nothing.
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
        Child<QAction>(*w, "keyboardAction").trigger();
        QVERIFY(SelectFamily(*w, "Liberation Sans"));
        QTimer poll;
        WhenModal<RemoveWizard>(poll, [&](RemoveWizard* wizard) {
            for (QTreeWidgetItem* item : Child<QTreeWidget>(*wizard, "fontList").findItems("Liberation Sans", Qt::MatchStartsWith))
                item->setSelected(true);
            // The platform hides the fonts once they are uninstalled.
            env->fake.fonts->faces.resize(left);
            wizard->ShowReport = [](QDialog*) {};
            wizard->GoToNextStep();
            wizard->GoToNextStep();
            wizard->RemoveChosenFonts();
        });
        Child<QAction>(*w, "uninstallAction").trigger();
        QCOMPARE(FontList(*w).model()->rowCount(), left ? 1 : 0);
        QCOMPARE(Selected(*w), shown);
        const PictureBox& glyph = Child<PictureBox>(*w, "glyphPicture");
        QImage blank = glyph.ToImage();
        blank.fill(glyph.BackColor());
        QCOMPARE(glyph.ToImage() == blank, shown.isEmpty());
        QCOMPARE(Child<QLabel>(*w, "fontFileReadout").text().isEmpty(), shown.isEmpty());
        const QString typed = Child<QLineEdit>(*w->Keyboard(), "textEdit").font().family();
        QVERIFY2(shown.isEmpty() ? typed != "Liberation Sans" : typed == shown, qPrintable(typed));
    }

    // "glyphwick FILE...": the install wizard on the first one's folder, the files selected.
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

    // The fontconfig view hides the Type 1 button, a real ATM.INI shows it. A button runs
    // its command when released on it.
    void toolbar()
    {
        QVERIFY(Child<QWidget>(MainWindow(), "typeManagerButton").isHidden());
        QVERIFY(!Child<QAction>(MainWindow(), "typeManagerAction").isVisible());
        QVERIFY(WriteFile(UserDataDir + "ATM.INI", "[Settings]\nATM=On\n"));
        MainWindow w;
        QVERIFY(!Child<QWidget>(w, "typeManagerButton").isHidden());
        QVERIFY(Child<QAction>(w, "typeManagerAction").isVisible());
        QWidget* settings = &Child<QWidget>(w, "controlPanelButton");
        QCOMPARE(settings->property("tipText").toString(), QString("Open the desktop's system settings"));
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
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
