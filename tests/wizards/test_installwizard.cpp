// The install wizard on the fake platform: scan, preview, installation, print run, clean-up;
// its drive list and folder tree in "Select Folder"; on the desktop: the preview of a file not installed.
#include <QtTest>
#include <QHeaderView>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/fonttable.h"
#include "print/printrun.h"
#include "print/recording.h"
#include "sfntbuilder.h"
#include "print/pageframe.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/drivefolderlists.h"
#include "wizards/folderpicker.h"
#include "wizards/installwizard.h"
#include "wizards/printrunner.h"

using namespace gw;

namespace {

// A recording surface that notes what the wizard's status said as the first text was printed.
struct StatusWatchingSurface : RecordingSurface {
    explicit StatusWatchingSurface(const QLabel* label) : status(label) {}
    void Print(const QString& text) override
    {
        if (during.isEmpty())
            during = status->text();
        RecordingSurface::Print(text);
    }
    const QLabel* status;
    QString during;
};

// "file=Full Name" entries; a bare name gets random bytes; "file:kind" is empty, cut, folder, link or 100MB.
void MakeFolder(const QString& folder, const QStringList& files)
{
    QDir().mkpath(folder);
    for (const QString& f : files) {
        const QString path = folder + "/" + f.section(QRegularExpression("[=:]"), 0, 0);
        const QString full = f.section('=', 1), kind = f.section(':', 1);
        QFile sparse(path);
        if (kind == "folder")
            QDir().mkpath(path);
        else if (kind == "link")
            QFile::link(folder + "/gone.ttf", path);
        else if (kind == "100MB")
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(100 << 20));
        else
            WriteFile(path, kind == "empty" ? QByteArray() : kind == "cut" ? SfntBuilder::Simple("Cut", "Cut Sans").left(40)
                          : full.isEmpty() ? QByteArray("not a font at all") : SfntBuilder::Simple(full.section(' ', 0, 0), full));
    }
}

QTreeWidget& FontList(const InstallWizard& w) { return Child<QTreeWidget>(w, "fontList"); }
QPushButton& Button(const InstallWizard& w, const char* name) { return Child<QPushButton>(w, name); }
QString LabelText(const InstallWizard& w, const char* name) { return Child<QLabel>(w, name).text(); }

QStringList RowTexts(const InstallWizard& w)
{
    QStringList rows;
    for (const QTreeWidgetItem* row : FontList(w).findItems("*", Qt::MatchWildcard))
        rows << row->text(0) + "|" + row->text(1) + "|" + row->text(2);
    return rows;
}

// Previews a font as moving onto its row with the keyboard does.
void Preview(const InstallWizard& w, const QString& face)
{
    QTreeWidget& list = FontList(w);
    list.setCurrentItem(nullptr);
    list.setCurrentItem(list.findItems(face, Qt::MatchExactly).value(0), 0, QItemSelectionModel::NoUpdate);
}

// Chooses a filter (0 every file) as the user does; choosing reads the folder again.
void ChooseFilter(const InstallWizard& w, int filter)
{
    QComboBox& box = Child<QComboBox>(w, "filterBox");
    box.setCurrentIndex(filter);
    emit box.activated(filter);
}

int FotFiles()
{
    return QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}, QDir::Files | QDir::Hidden).size();
}

} // namespace

class TestInstallWizard : public QObject {
    Q_OBJECT
    TestEnv* env = nullptr;
    QString source;
    QStringList successLines, notInstalledLines;
    QString resultHeading;  // the result's title, then its message

    // The wizard in a mode over a source folder of these files (see MakeFolder); read: on the files step.
    std::unique_ptr<InstallWizard> Open(const QStringList& files = {},
                                        InstallWizard::Mode mode = InstallWizard::Mode::Install,
                                        bool read = true)
    {
        MakeFolder(source, files);
        WriteIniString("CatalogWizard", "sourceDir", source, IniFile);
        auto w = std::make_unique<InstallWizard>(mode);
        w->ShowModal = [this](QDialog* d) {
            successLines.clear();
            notInstalledLines.clear();
            if (qobject_cast<InstallDoneDialog*>(d)) {
                resultHeading = d->windowTitle() + ": " + Child<QLabel>(*d, "messageLabel").text().left(22);
                const QListWidget& lines = Child<QListWidget>(*d, "resultList");
                for (int i = 0; i < lines.count(); ++i) {
                    const QString line = lines.item(i)->text();
                    (line.contains(": not installed, ") ? notInstalledLines : successLines) << line;
                }
            }
            static QString shot; // the first run of each row
            if (shot != QTest::currentDataTag())
                SaveShot(d, QStringLiteral("install-result-") + (shot = QTest::currentDataTag()));
        };
        if (read)
            w->GoToNextStep();
        return w;
    }

private slots:
    void init()
    {
        env = new TestEnv;
        source = env->root() + "/cd";
        env->fake.storage->drives = {{"Disk", env->root()}};
        ReadRegFontList();
    }
    void cleanup() { delete env; }

    // A folder read into the list: filters, names as written, damaged files left out, no ".fot" file written.
    // Cancel Read keeps what was read; moving on in the (usable) folder tree reads the new folder whole.
    void scan_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("action");  // at the first turn of the reading: "cancel" or "move" on
        QTest::addColumn<QStringList>("rows");
        auto row = [](const char* name, QStringList files, int filter, QString action, QStringList rows) {
            QTest::newRow(name) << files << filter << action << rows;
        };
        row("no font files", {"readme.txt=Text Doc"}, 0, "", {"no font files||"});
        row("filter E-H takes a lower-case e", {"e.ttf=eins Sans", "one.ttf=1 Sans", "h.ttf=Hat Sans"}, 2, "",
            {"eins Sans|e.ttf|1K", "Hat Sans|h.ttf|1K"});
        row("digits only under A-D, Numbers", {"one.ttf=1 Sans", "b.ttf=Bee Sans", "z.ttf=Zed Sans"}, 1, "",
            {"1 Sans|one.ttf|1K", "Bee Sans|b.ttf|1K"});
        row("upper-case CD-ROM names keep their case, .otf too; damaged files left out",
            {"ARIAL.TTF=Arial", "Cff.Otf=Cff Sans", "e.ttf:empty", "f.ttf:folder", "h.ttf:100MB", "l.ttf:link", "x.ttf:cut"},
            0, "", {"Arial|ARIAL.TTF|1K", "Cff Sans|Cff.Otf|1K"});
        const QStringList abc{"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "c.ttf=Gamma Sans"};
        row("Cancel Read keeps what was read", abc, 0, "cancel", {"Alpha Sans|a.ttf|1K"});
        row("closing stops the reading, then closes", abc, 0, "close", {"Alpha Sans|a.ttf|1K"});
        row("moving on reads the other folder whole", abc, 0, "move",
            {"Delta Sans|d.ttf|1K", "Epsilon Sans|e.ttf|1K", "Zeta Sans|z.ttf|1K"});
    }
    void scan()
    {
        QFETCH(QStringList, files);
        QFETCH(int, filter);
        QFETCH(QString, action);
        QFETCH(QStringList, rows);
        MakeFolder(source + "/next", {"d.ttf=Delta Sans", "e.ttf=Epsilon Sans", "z.ttf=Zeta Sans"});
        env->fake.storage->drives.prepend({"Stick", env->root() + "/stick"});
        auto w = Open(files, InstallWizard::Mode::Install, false);
        QCOMPARE(Child<DriveList>(*w, "driveList").currentIndex(), 1);  // the drive of the last folder
        FolderTree& tree = Child<FolderTree>(*w, "folderTree");
        QPushButton& cancelRead = Button(*w, "cancelReadButton");
        const QLabel& reading = Child<QLabel>(*w, "readingLabel");
        bool treeEnabled = false;
        QString during;  // what the reading shows at its first turn
        QObject turn;    // gone before the locals the first turn writes (no reading: no turn)
        QTimer::singleShot(0, &turn, [&] {
            treeEnabled = tree.isEnabled();
            during = (reading.isHidden() ? "hidden" : reading.text()) + " " + cancelRead.text()
                     + (!cancelRead.isHidden() && cancelRead.isEnabled() ? "" : " (off)");
            if (action == "move")
                tree.SetPath(source + "/next");
            else if (action == "cancel")
                cancelRead.click();
            else if (action == "close")
                w->close();
        });
        if (action == "close")
            w->show();
        w->GoToNextStep();
        if (filter)
            ChooseFilter(*w, filter);
        QCOMPARE(RowTexts(*w), rows);
        QCOMPARE(FotFiles(), 0);
        QVERIFY(action.isEmpty() || treeEnabled);
        QVERIFY2(during.isEmpty() || during == "Reading directory... Cancel Read", qPrintable(during));
        QVERIFY(cancelRead.isHidden() && reading.isHidden() && Button(*w, "nextButton").isEnabled());
        QVERIFY(!QApplication::overrideCursor());  // the busy pointer ends with the reading
        if (action == "close") {
            QVERIFY(w->isVisible());
            QTRY_VERIFY(!w->isVisible());
            return;
        }
        ChooseFilter(*w, 0);  // reads the folder whole again
        QVERIFY(action.isEmpty() || RowTexts(*w).size() == 3);
    }

    // Choosing another drive reads its top folder; choosing a folder in the tree reads that.
    void choosingADriveOrFolderReadsIt()
    {
        MakeFolder(env->root() + "/stick", {"s.ttf=Stick Sans"});
        MakeFolder(env->root() + "/stick/More", {"m.ttf=More Sans"});
        QVERIFY(QDir().mkpath(env->root() + "/stick/None"));
        env->fake.storage->drives.prepend({"Stick", env->root() + "/stick"});
        auto w = Open({"a.ttf=Alpha Sans"});
        QCOMPARE(RowTexts(*w), QStringList{"Alpha Sans|a.ttf|1K"});
        DriveList& drives = Child<DriveList>(*w, "driveList");
        const int sourceDrive = drives.currentIndex();
        drives.setCurrentIndex(0);
        FolderTree& tree = Child<FolderTree>(*w, "folderTree");
        QCOMPARE(tree.Path(), env->root() + "/stick");
        QCOMPARE(RowTexts(*w), QStringList{"Stick Sans|s.ttf|1K"});
        tree.expandItem(tree.topLevelItem(0));
        tree.setCurrentItem(tree.topLevelItem(0)->child(0));
        QCOMPARE(tree.Path(), env->root() + "/stick/More");
        QCOMPARE(RowTexts(*w), QStringList{"More Sans|m.ttf|1K"});
        // A folder that is gone: the tree stays on its nearest parent.
        tree.SetPath(env->root() + "/stick/More/Gone/Deeper");
        QCOMPARE(tree.Path(), env->root() + "/stick/More");
        // Files opened from the folder shown read it again.
        MakeFolder(env->root() + "/stick/More", {"n.ttf=New Sans"});
        QString during;  // a read shows that it reads, and how far
        QTimer::singleShot(0, [&] {
            const QLabel& label = Child<QLabel>(*w, "readingLabel");
            during = (label.isVisibleTo(w.get()) ? label.text() : "hidden")
                     + QString(Child<QWidget>(*w, "readingGauge").isVisibleTo(w.get()) ? " gauge" : "");
        });
        w->ShowFiles(env->root() + "/stick/More", {});
        QCOMPARE(during, QString("Reading directory... gauge"));
        Preview(*w, "New Sans");  // a font of the folder read last, not of one before
        QVERIFY(Child<QPlainTextEdit>(*w, "infoEdit").toPlainText().contains("Full Font Name: New Sans"));
        QVERIFY(!Child<QWidget>(*w, "readingGauge").isVisibleTo(w.get()));
        QCOMPARE(RowTexts(*w), (QStringList{"More Sans|m.ttf|1K", "New Sans|n.ttf|1K"}));
        QVERIFY(QDir().mkpath(env->root() + "/stick/More/Sub"));  // a folder made since shows at the next reading
        ChooseFilter(*w, 0);
        QCOMPARE(tree.currentItem()->childCount(), 1);
        // A folder without fonts after a choice: nothing is left selected or counted.
        FontList(*w).selectAll();
        w->ShowFiles(env->root() + "/stick/None", {});
        QCOMPARE(LabelText(*w, "fontNamesLabel") + ", " + LabelText(*w, "selectionCountLabel"),
                 QString("Font Names, No fonts selected."));
        // Files opened from another drive's folder: the drive box follows.
        w->ShowFiles(source, {});
        QCOMPARE(drives.currentIndex(), sourceDrive);
        // The folder shown last is where the next wizard opens.
        w->ShowFiles(env->root() + "/stick/More", {});
        w->close();
        QCOMPARE(ReadIniString("CatalogWizard", "sourceDir", {}, IniFile), env->root() + "/stick/More");
        // Unless it is gone by then: the next one opens at home.
        QVERIFY(QDir(env->root() + "/stick/More").removeRecursively());
        InstallWizard next(InstallWizard::Mode::Install);
        QCOMPARE(Child<FolderTree>(next, "folderTree").Path(), QDir::homePath());
    }

    // Options from the CD-ROM wizard leaves alone the kinds of installed font the main list shows.
    void optionsLeaveFontKindsAlone()
    {
        auto w = Open({"a.ttf=Alpha Sans"}, InstallWizard::Mode::PrintUninstalled);
        QStringList kinds;
        QTimer::singleShot(0, [&] {
            QWidget* options = QApplication::activeModalWidget();
            for (const char* kind : {"trueTypeCheck", "typeOneCheck", "printerFontsCheck", "userNameEdit"})
                kinds << QString(kind) + (Child<QWidget>(*options, kind).isEnabled() ? " on" : " off");
            options->close();
        });
        QCOMPARE(Button(*w, "cancelReadButton").text(), QString("Options"));
        Button(*w, "cancelReadButton").click();
        QCOMPARE(kinds, QStringList({"trueTypeCheck off", "typeOneCheck off", "printerFontsCheck off", "userNameEdit on"}));
    }

    // Reading draws its gauge as it goes, under the busy pointer, with Cancel Read at hand; after it, the CD-ROM
    // wizard's button is Options again, the installer's gone. Help and F1 open the page of the wizard's kind.
    void readingGaugeGrows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("help");
        QTest::newRow("install") << int(InstallWizard::Mode::Install) << 610;
        QTest::newRow("print") << int(InstallWizard::Mode::PrintUninstalled) << 725;
    }
    void readingGaugeGrows()
    {
        QFETCH(int, mode);
        QFETCH(int, help);
        auto w = Open(QString("f0.ttf=F0;f1.ttf=F1;f2.ttf=F2;f3.ttf=F3;f4.ttf=F4;f5.ttf=F5;f6.ttf=F6;f7.ttf=F7;f8.ttf=F8;"
                              "f9.ttf=F9").split(';'), InstallWizard::Mode(mode), false);
        const PictureBox& gauge = Child<PictureBox>(*w, "readingGauge");
        const QPushButton& cancel = Button(*w, "cancelReadButton");
        QList<QImage> seen;
        QTimer everyTurn;  // of the event loop the reading keeps turning
        bool busy = true;
        QSet<QString> buttons;
        connect(&everyTurn, &QTimer::timeout, [&] {
            seen << gauge.ToImage();
            busy &= QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            buttons << cancel.text() + (cancel.isVisibleTo(w.get()) && cancel.isEnabled() ? "" : " (off)");
        });
        everyTurn.start(0);
        for (int reading = 0; reading < 2; ++reading)  // the second after the first ended
            reading ? ChooseFilter(*w, 0) : w->GoToNextStep();
        QVERIFY(busy && seen.size() > 1);
        QVERIFY(std::any_of(seen.begin(), seen.end(), [&](const QImage& i) { return i != seen[0] && i != gauge.ToImage(); }));
        QCOMPARE(buttons.values(), QStringList{"Cancel Read"});
        everyTurn.stop();
        QCOMPARE(cancel.text() + (cancel.isVisibleTo(w.get()) ? "" : " (hidden)"),
                 mode == int(InstallWizard::Mode::Install) ? QString("Cancel Read (hidden)") : QString("Options"));
        Button(*w, "helpButton").click();
        QTest::keyClick(w.get(), Qt::Key_F1);
        QCOMPARE(env->fake.help->contexts, QList<int>({help, help}));
    }

    // On the desktop: the file's own glyphs in the preview, grey marks for what it lacks (damaged: all).
    void desktopPreviewUsesTheFilesOwnMap_data()
    {
        QTest::addColumn<QString>("system");   // the file the test font is made from; empty: damaged
        QTest::addColumn<bool>("letters");     // the font has it, and the sample "A\u00f0"
        QTest::newRow("CFF OpenType") << "NimbusSans-Regular.otf" << true;
        // Dingbats maps its pictures to the ASCII codes and has no accented letters.
        QTest::newRow("symbol font without letters") << "D050000L.otf" << false;
        QTest::newRow("damaged file") << "" << false;
    }
    void desktopPreviewUsesTheFilesOwnMap()
    {
        QFETCH(QString, system);
        QFETCH(bool, letters);
        QByteArray font = SfntBuilder::Simple("Glyphwick Damaged", "Glyphwick Damaged");
        if (!system.isEmpty()) {
            const QString file = SystemFile(system);
            if (file.isEmpty())
                QSKIP("font file not on this machine");
            font = SfntBuilder::Renamed(ReadFile(file), "Glyphwick Preview", "Glyphwick Preview");
        }
        env->UseDesktopPlatform();
        QVERIFY(WriteFile(source + "/PREVIEW.OTF", font));
        if (letters)  // the same glyphs under the name of an installed family
            QVERIFY(WriteFile(source + "/twin.otf", SfntBuilder::Renamed(font, "Liberation Serif", "Liberation Serif Twin")));
        auto w = Open();
        w->resize(900, 640);
        w->show();
        // On the characters tab already, the preview draws the large character shown.
        Child<QTabWidget>(*w, "previewTabs").setCurrentIndex(1);
        Child<QScrollBar>(*w, "characterSlider").setValue(0xF0);
        QCOMPARE(LabelText(*w, "characterCodeLabel"), QString("240"));
        Preview(*w, system.isEmpty() ? "Glyphwick Damaged" : "Glyphwick Preview");
        QPlainTextEdit& sample = Child<QPlainTextEdit>(*w, "sampleEdit");
        sample.setPlainText(QStringLiteral("A\u00f0"));
        const QImage picture = Child<QLabel>(*w, "characterLabel").pixmap().toImage();
        int ink = 0, marks = 0, left = picture.width(), right = -1, top = picture.height(), bottom = -1;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                ink += c.value() < 100;
                marks += c == QColor(0xc8, 0xc8, 0xc8);
                if (c.value() < 100)
                    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
            }
        QCOMPARE(ink > 50, letters);
        QVERIFY2(!letters || right - left < picture.height() * 2 / 3 * 3 / 4, qPrintable(QString::number(right - left)));  // one letter
        QVERIFY2(!letters || bottom - top > picture.height() / 3, qPrintable(QString::number(bottom - top)));  // at the box's size
        QCOMPARE(marks > 100, !letters);
        Child<QScrollBar>(*w, "characterSlider").setValue('A');  // another character, drawn at once
        QCOMPARE(Child<QLabel>(*w, "characterLabel").pixmap().toImage() != picture, !system.isEmpty());  // damaged: marks both
        Child<QScrollBar>(*w, "characterSlider").setValue(0xF0);
        if (letters) {  // drawn from the file, not from the installed family of that name
            Preview(*w, "Liberation Serif Twin");
            QCOMPARE(Child<QLabel>(*w, "characterLabel").pixmap().toImage(), picture);
            QVERIFY(Child<QPlainTextEdit>(*w, "sampleEdit").font().family().startsWith("Liberation Serif ["));  // its maker named
        }
        // The sample text greys out exactly what the file lacks, a character beyond 16 bits as one.
        sample.setPlainText(QStringLiteral("A\uFFFF\U0001F600\u00f0"));
        QSet<int> greyed;
        for (const QTextLayout::FormatRange& r : sample.document()->firstBlock().layout()->formats())
            for (int i = r.start; i < r.start + r.length; ++i)
                greyed << i;
        const QSet<int> lacked = system.isEmpty() ? QSet<int>{0, 1, 2, 3, 4} : letters ? QSet<int>{1, 2, 3} : QSet<int>{1, 2, 3, 4};
        QCOMPARE(greyed, lacked);
        SaveShot(w.get(), "preview-" + QString(QTest::currentDataTag()).replace(' ', '-').toLower());        // A larger window draws the character anew at its box's new size.
        const QLabel& character = Child<QLabel>(*w, "characterLabel");
        w->resize(1000, 720);
        QTRY_VERIFY(character.width() > picture.width());
        QCOMPARE(character.pixmap().size(), character.size());
        // Resized while another tab shows, it is drawn at its new size when its tab comes back.
        QTabWidget& tabs = Child<QTabWidget>(*w, "previewTabs");
        tabs.setCurrentIndex(0);
        w->resize(900, 640);
        QTest::qWait(20);
        tabs.setCurrentIndex(1);
        QTRY_COMPARE(character.pixmap().size(), character.size());
        ChooseFilter(*w, 4);  // M-P, none of these: nothing previewed, nothing greyed
        QVERIFY(sample.document()->firstBlock().layout()->formats().isEmpty());
    }

    // Each face of a collection previews from itself: a narrow face is not drawn as its regular sister.
    void collectionFacesPreviewApart()
    {
        const QString regular = SystemFile("NimbusSans-Regular.otf"), narrow = SystemFile("NimbusSansNarrow-Regular.otf");
        if (regular.isEmpty() || narrow.isEmpty())
            QSKIP("font files not on this machine");
        env->UseDesktopPlatform();
        QVERIFY(WriteFile(source + "/pair.otc", SfntBuilder::Collection({SfntBuilder::Renamed(ReadFile(regular), "GW Pair", "GW Pair"),
            SfntBuilder::Renamed(ReadFile(narrow), "GW Pair", "GW Pair Narrow", "Narrow")})));
        auto w = Open();
        w->resize(900, 640);
        w->show();
        Child<QTabWidget>(*w, "previewTabs").setCurrentIndex(1);
        Child<QScrollBar>(*w, "characterSlider").setValue('M');
        QList<int> inkedColumns;  // how wide the M is drawn
        for (const char* face : {"GW Pair", "GW Pair Narrow"}) {
            Preview(*w, face);
            const QImage picture = Child<QLabel>(*w, "characterLabel").pixmap().toImage();
            int inked = 0;
            for (int x = 0; x < picture.width(); ++x)
                for (int y = 0; y < picture.height(); ++y)
                    if (picture.pixelColor(x, y).value() < 100 && ++inked)
                        break;
            inkedColumns << inked;
        }
        QVERIFY2(inkedColumns[1] < inkedColumns[0] * 9 / 10, qPrintable(QString("%1 against %2").arg(inkedColumns[1]).arg(inkedColumns[0])));
    }

    // Each selection command replaces the selection (italic takes oblique); the count and the changes follow.
    // The preview holds one font resource at a time.
    void selectionAndPreview()
    {
        auto w = Open({"r.ttf=Sans", "b.ttf=Sans Bold", "i.ttf=Sans Italic", "o.ttf=Sans Oblique",
                       "bi.ttf=Sans Bold Italic"});
        const auto select = [&w](const QString& style) {
            w->SelectFonts(style);
            QStringList got;
            for (const QTreeWidgetItem* row : FontList(*w).selectedItems())
                got << row->text(0);
            got.sort();
            return got.join(", ") + ": " + LabelText(*w, "selectionCountLabel")
                   + QString(", %1 changes").arg(Child<QListWidget>(*w, "changesList").count());
        };
        QCOMPARE(select("ITALIC"), QString("Sans Italic, Sans Oblique: 2 fonts to install, 2 changes"));
        QCOMPARE(select("Sans Bold"), QString("Sans Bold, Sans Bold Italic: 2 fonts to install, 2 changes"));
        // On and back again: the folder is not read again, so the choice stays.
        Button(*w, "nextButton").click();
        Button(*w, "previousButton").click();
        QCOMPARE(FontList(*w).selectedItems().size(), 2);
        // One font is enough to install.
        QVERIFY(select("REGULAR").startsWith("Sans: 1 font to install") && Button(*w, "installNowButton").isEnabled());
        int steps = 0;
        for (; Button(*w, "nextButton").isEnabled(); ++steps)
            Button(*w, "nextButton").click();
        QVERIFY(Button(*w, "goButton").isEnabled());
        while (steps-- > 0)
            Button(*w, "previousButton").click();
        QCOMPARE(select("NONE"), QString(": No fonts to install, 0 changes"));
        // The Select button's menu has no family item; the list's has the row's.
        w->show();
        QAction& family = Child<QAction>(*w, "selectFamilyAction");
        Button(*w, "selectButton").click();
        QVERIFY(Child<QMenu>(*w, "selectMenu").isVisible());
        const bool onButtonMenu = family.isVisible();
        Child<QMenu>(*w, "selectMenu").hide();
        emit FontList(*w).customContextMenuRequested(FontList(*w).visualItemRect(FontList(*w).topLevelItem(1)).center());
        QVERIFY(!onButtonMenu && family.isVisible() && !family.text().isEmpty() && Child<QMenu>(*w, "selectMenu").isVisible());
        Child<QMenu>(*w, "selectMenu").hide();
        // Below the last row there is no row and no menu.
        emit FontList(*w).customContextMenuRequested(FontList(*w).viewport()->rect().bottomLeft() - QPoint(-2, 2));
        QVERIFY(!Child<QMenu>(*w, "selectMenu").isVisible());
        Preview(*w, "Sans");
        // The program's folder removed meanwhile is made again for the preview's own file.
        QVERIFY(QDir(Sys().system->ProgramFolder()).removeRecursively());
        Preview(*w, "Sans Bold");
        const QStringList added = env->fake.fonts->added;
        QCOMPARE(added.size(), 2);
        QVERIFY2(QFileInfo(added[1]).isFile(), qPrintable(added[1]));
        QVERIFY(added[0] != added[1]);
        QCOMPARE(env->fake.fonts->removed, QStringList{added[0]});
        QVERIFY(Child<QPlainTextEdit>(*w, "infoEdit").toPlainText().contains("Full Font Name: Sans Bold"));
        // The sample follows the size bar; a column's header sorts by that column.
        Child<QScrollBar>(*w, "sizeSlider").setValue(40);
        QCOMPARE(Child<QWidget>(*w, "sampleEdit").font().pointSize(), 40);
        emit FontList(*w).header()->sectionClicked(1);
        QCOMPARE(FontList(*w).topLevelItem(0)->text(1), QString("b.ttf"));
        emit FontList(*w).header()->sectionClicked(0);
        QCOMPARE(FontList(*w).topLevelItem(0)->text(0), QString("Sans"));
        // Reading the folder again removes the preview before anything else, its character too.
        const auto inked = [&w] {
            const QImage picture = Child<QLabel>(*w, "characterLabel").pixmap().toImage();
            int n = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    n += picture.pixel(x, y) != qRgb(255, 255, 255);
            return n;
        };
        QVERIFY(inked() > 0);
        ChooseFilter(*w, 0);
        QCOMPARE(env->fake.fonts->removed, (QStringList{added[0], added[1]}));
        QCOMPARE(inked(), 0);
        // A font that vanished after the scan is answered with a message.
        QFile::remove(source + "/r.ttf");
        const qsizetype addedBefore = env->fake.fonts->added.size();
        Preview(*w, "Sans");
        QCOMPARE(env->fake.fonts->added.size(), addedBefore);
        QVERIFY(env->fake.messages->texts.value(0).contains("is no longer there"));
        // A click previews the row once, not as the row becomes current and again as it is clicked.
        QTreeWidget& list = FontList(*w);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.findItems("Sans Italic", Qt::MatchExactly).value(0)).center());
        QCOMPARE(env->fake.fonts->added.size(), addedBefore + 1);
    }

    // Fonts a..e (and p, q of a collection) installed at once, or a and b chosen in the file manager and installed
    // with Install Now: questions, messages, what is installed; a collection's file copied once; no second install.
    void install_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QList<int>>("copyErrors");  // per copy
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("message");         // start of the first message; "" none
        QTest::addColumn<QString>("installed");       // the fonts installed, by letter
        QTest::addColumn<int>("copies");
        using L = QList<int>;
        auto row = [](const char* name, QString setup, L errors, L answers, QString message, QString installed, int copies) {
            QTest::newRow(name) << setup << errors << answers << message << installed << copies;
        };
        const QString exists = "The font file a.ttf already exists in your font folder";
        row("five new fonts", "", {}, {}, "", "abcde", 5);
        row("no fonts folder yet: made", "nofolder", {}, {}, "", "abcde", 5);
        row("Install Now on the files the file manager chose; those it cannot read are said", "installnow", {}, {},
            "This wizard installs TrueType and OpenType font files", "ab", 2);
        row("overwrite Yes copies", "existing", {}, {vbYes}, exists, "abcde", 5);
        row("overwrite No installs nothing", "existing unreadable", {}, {vbNo}, exists, "bcde", 4);
        // Reading the font folder itself; Beta registered after the scan is reported, not installed.
        row("font folder, registered since the scan", "fontsfolder", {}, {},
            "The TrueType font \"Beta Sans\" is already installed", "acde", 0);
        row("not a font: no registration", "notafont", {}, {}, "", "abde", 5);
        row("added but not listed: not installed", "unlisted", {}, {}, "", "abde", 5);
        row("disk full on the third", "", {0, 0, 61}, {}, "The hard drive is full! Glyphwick cannot continue", "ab", 3);
        row("not ready, Retry, then copied", "", {0, 71, 0}, {vbRetry},
            "Disk not ready... Please make sure the floppy or CD-ROM", "abcde", 6);
        row("device unavailable, Cancel", "", {68}, {vbCancel}, "Disk not ready... Please make sure the floppy or CD-ROM", "", 1);
        row("any other error: said, the rest go on", "", {0, 0, 0, 13}, {}, "The font file", "abce", 5);
        row("a file gone since the scan: said, the rest go on", "gone", {}, {}, "The font file", "abde", 4);
        row("both faces of a collection: one copy", "collection", {}, {}, "", "abcdepq", 6);
        row("the collection's one copy fails: neither face", "collection", {0, 0, 0, 0, 0, 13}, {},
            "The font file", "abcde", 6);
    }
    void install()
    {
        QFETCH(QString, setup);
        QFETCH(QList<int>, copyErrors);
        QFETCH(QList<int>, answers);
        QFETCH(QString, message);
        QFETCH(QString, installed);
        QFETCH(int, copies);
        const QStringList names{"Alpha", "Beta", "Chi", "Delta", "Epsilon"};
        if (setup == "fontsfolder")
            source = UserDataDir + "fonts";
        const QByteArray older = setup == "existing" ? SfntBuilder::Simple("Older", "Older Sans") : "older file";
        if (setup.startsWith("existing"))  // a font, or a file named by its name
            WriteFile(UserDataDir + "fonts/a.ttf", older);
        if (setup == "nofolder")  // as in a new home
            QVERIFY(QDir(UserDataDir + "fonts").removeRecursively());
        const QString downloads = env->root() + "/disk/Downloads";
        if (setup == "installnow") {  // the last folder on a stick, the files on the first disk
            env->fake.storage->drives = {{"Disk", env->root() + "/disk"}, {"Stick", source}};
            MakeFolder(downloads, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "z.txt", "m.pfb"});
        }
        const auto pair = SfntBuilder::Collection({SfntBuilder::Simple("Pair", "Pair Sans"),
                                                   SfntBuilder::Simple("Pair", "Pair Sans Bold", "Bold")});
        if (setup == "collection")
            WriteFile(source + "/pair.ttc", pair);
        auto w = Open({"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "c.ttf=Chi Sans", "d.ttf=Delta Sans",
                       "e.ttf=Epsilon Sans"}, InstallWizard::Mode::Install, setup != "installnow");  // files open a new wizard
        w->SelectFonts("ALL");
        if (setup == "fontsfolder") {
            env->fake.registry->values = {{"Beta Sans (TrueType)", "elsewhere.ttf"}};
            ReadRegFontList();
        }
        if (setup == "notafont")
            env->fake.fonts->addAnswers[UserDataDir + "fonts/c.ttf"] = 0;
        if (setup == "unlisted")
            env->fake.fonts->unlisted << UserDataDir + "fonts/c.ttf";
        const int registered = env->fake.registry->values.size();
        QPushButton& go = Button(*w, "goButton");
        if (setup == "installnow") {
            w->ShowFiles(downloads, {downloads + "/z.txt", downloads + "/a.ttf", downloads + "/m.pfb", downloads + "/b.ttf"});
            QVERIFY(env->fake.messages->texts.value(0).endsWith("\n\nm.pfb\nz.txt"));  // in order
            QCOMPARE(FontList(*w).topLevelItemCount(), 2);  // the new folder's fonts, not the five shown before
            // The keyboard is on the list, whose first chosen font is previewed.
            QVERIFY(w->focusWidget() == &FontList(*w));
            QVERIFY(Child<QPlainTextEdit>(*w, "infoEdit").toPlainText().contains("Full Font Name: Alpha Sans"));
            // The tree starts at the drive holding the folder, so the user can move up from it.
            QCOMPARE(Child<FolderTree>(*w, "folderTree").topLevelItem(0)->text(0), env->root() + "/disk");
            QVERIFY(Button(*w, "installNowButton").isDefault());
            Button(*w, "installNowButton").click();
            QCOMPARE(LabelText(*w, "fontCountLabel"), QString("2 fonts to install"));
        } else {
            while (Button(*w, "nextButton").isEnabled())
                Button(*w, "nextButton").click();
            env->fake.storage->copyErrors = copyErrors;
            env->fake.messages->answers = answers;
            if (setup == "gone")
                QVERIFY(QFile::remove(source + "/c.ttf"));
            QString during;  // at the first turn of the installation
            QTimer::singleShot(0, w.get(), [&] {
                const QCursor* pointer = QApplication::overrideCursor();
                during = LabelText(*w, "statusLabel") + (pointer && pointer->shape() == Qt::WaitCursor ? ", busy" : "");
            });
            go.click();
            QCOMPARE(during, QString("Installing fonts..., busy"));
            QVERIFY(!QApplication::overrideCursor());
        }
        const QStringList& texts = env->fake.messages->texts;
        QVERIFY2(message.isEmpty() ? texts.isEmpty() : texts.value(0).startsWith(message), qPrintable(texts.join(" | ")));
        QVERIFY(setup != "gone" || texts.value(0).endsWith("/c.ttf is no longer there. It was not installed."));
        if (setup.startsWith("existing"))  // both sizes and dates
            QVERIFY(texts[0].contains(QString("    %1    ").arg(older.size())) && texts[0].contains("\n\nwith\n\n    ")
                    && texts[0].contains(setup == "existing" ? "holds the font \"Older Sans\"" : "holds the font \"a.ttf\"")
                    && texts[0].endsWith("Alpha Sans?"));
        QStringList success;
        for (QChar c : installed)
            success << (c < 'p' ? QString("%1 Sans (TrueType) (%2.ttf)").arg(names[c.unicode() - 'a'], c)
                                : QString("Pair Sans%1 (TrueType) (pair.ttc)").arg(c == 'q' ? " Bold" : ""));
        QCOMPARE(successLines, success);
        // The result list names every font not installed too.
        const int chosen = setup == "collection" ? 7 : setup == "installnow" ? 2 : 5;
        QCOMPARE(notInstalledLines.size(), chosen - int(installed.size()));
        QCOMPARE(resultHeading, notInstalledLines.isEmpty() ? "TrueType Install Wizard: The Installation Wizar"
                                : installed.isEmpty()       ? "Glyphwick: No font was installed."
                                                            : "Glyphwick: Some fonts were not in");
        QCOMPARE(env->fake.storage->copies.size(), copies);
        QCOMPARE(env->fake.registry->values.size(), registered + installed.size() + (setup == "unlisted"));
        QStringList registrations;  // each names the font's file, as the success line does
        for (const auto& [name, file] : env->fake.registry->values)
            registrations << name + " (" + file + ")";
        for (const QString& line : success)
            QVERIFY2(registrations.contains(line), qPrintable(line));
        // "Copy to clipboard" copies the changes made, a line each.
        const QListWidget& changes = Child<QListWidget>(*w, "changesList");
        Button(*w, "copyChangesButton").click();
        QCOMPARE(env->fake.clipboard->text.count("\r\n"), changes.count());
        QVERIFY(changes.count() == 0 || env->fake.clipboard->text.startsWith(changes.item(0)->text() + "\r\n"));
        QVERIFY(!go.isEnabled());
        // The gauge ends full unless the user stopped.
        const bool stopped = LabelText(*w, "statusLabel") == "Installing fonts stopped.";
        QCOMPARE(stopped, answers == QList<int>{vbCancel} || message.startsWith("The hard drive is full"));
        QCOMPARE(Child<PictureBox>(*w, "progressGauge").accessibleDescription() == "100%", !stopped);
        QVERIFY(FontsChanged || installed.isEmpty());
        QCOMPARE(FotFiles(), 0);  // a preview's own file is gone too
        // Stepping back and on again, Go installs none of them twice.
        Button(*w, "previousButton").click();
        Button(*w, "nextButton").click();
        env->fake.messages->answers.clear();
        go.click();
        for (const QString& line : success)
            QVERIFY2(!successLines.contains(line), qPrintable(line));
        w->show();
        Button(*w, "closeButton").click();
        QVERIFY(!w->isVisible());
    }

    // Two of three fonts on two sheets each; a file gone since the scan is left out; a failed printout says so.
    void printRun_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QString>("failure");
        QTest::newRow("both files there") << false << "";
        QTest::newRow("one file gone since the scan") << true << "";
        QTest::newRow("the file could not be written") << false << "the disk is full";
    }
    void printRun()
    {
        QFETCH(bool, gone);
        QFETCH(QString, failure);
        auto w = Open({"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "c.ttf=Gamma Sans"},
                      InstallWizard::Mode::PrintUninstalled);
        w->SelectFonts("ALL");
        FontList(*w).findItems("Gamma Sans", Qt::MatchExactly).value(0)->setSelected(false);
        while (Button(*w, "nextButton").isEnabled())
            Button(*w, "nextButton").click();
        Child<QRadioButton>(*w, "sheetsRadio").click();
        QCheckBox& firstSheet = Child<QCheckBox>(*w, "specimenSheet1Check");
        QVERIFY(!Child<QComboBox>(*w, "layoutBox").isEnabled() && firstSheet.isEnabled());
        QCOMPARE(LabelText(*w, "fontCountLabel"), QString("No fonts selected"));
        firstSheet.click();
        Child<QCheckBox>(*w, "specimenSheet3Check").click();
        QCOMPARE(LabelText(*w, "fontCountLabel"), QString("2 fonts to print"));
        Child<QCheckBox>(*w, "upperCaseCheck").setChecked(true);  // no click: saved as the wizard closes
        auto surface = std::make_shared<StatusWatchingSurface>(&Child<QLabel>(*w, "statusLabel"));
        surface->failReason = failure;
        w->OpenPrinter = [surface] { return surface; };
        if (gone)
            QFile::remove(source + "/b.ttf");
        const int broadcasts = env->fake.fonts->broadcasts;
        Button(*w, "goButton").click();
        QCOMPARE(env->fake.fonts->broadcasts, broadcasts + 2);  // as the preview's fonts go and the run's come
        QCOMPARE(env->fake.messages->texts.filter("could not be finished: " + failure).size(), failure.isEmpty() ? 0 : 1);
        QCOMPARE(surface->ops.last().page, gone ? 2 : 4);
        QVERIFY(std::all_of(surface->ops.begin(), surface->ops.end(), [](const PrintOp& op) { return op.busy; }));
        QCOMPARE(surface->Count(PrintOp::EndDoc), gone ? 1 : 2);
        // The layout picture previewed the first font; the run added those there, in list order.
        const QStringList added = env->fake.fonts->added;
        QCOMPARE(added.size(), gone ? 2 : 3);
        QCOMPARE(added[1], added[0]);
        QVERIFY(gone || added[2] != added[0]);
        QCOMPARE(FotFiles(), gone ? 1 : 2);  // written for the fonts drawn only
        QCOMPARE(surface->during + " / " + LabelText(*w, "statusLabel"), QString("Printing specimen sheets... / Ready to print!"));
        // A second run draws with the fonts the first one added.
        const int documents = surface->Count(PrintOp::EndDoc);
        Button(*w, "goButton").click();
        QVERIFY(surface->Count(PrintOp::EndDoc) > documents);
        QCOMPARE(env->fake.fonts->added, added);
        // Closing (as the dialog is rejected) removes what the run and the preview added, then the .fot files
        // under the busy pointer, and keeps the choices.
        QSignalSpy rejected(w.get(), &QDialog::rejected);
        w->show();
        QStringList said;  // while each font is removed
        env->fake.fonts->onRemove = [&](const QString&) {
            said << (Child<QLabel>(*w, "readingLabel").isHidden() ? "hidden" : LabelText(*w, "readingLabel"));
        };
        w->close();
        env->fake.fonts->onRemove = nullptr;
        QVERIFY2(!said.isEmpty() && said.count("Cleaning up...") == said.size(), qPrintable(said.join('|')));
        QCOMPARE(rejected.size(), 1);
        QCOMPARE(FotFiles(), 0);
        const QStringList& busy = env->fake.fonts->removedBusy;  // the last removals, of .fot files only
        QVERIFY2(!busy.isEmpty() && env->fake.fonts->removed.mid(env->fake.fonts->removed.size() - busy.size()) == busy
                     && busy.filter(QRegularExpression("\\.fot$")) == busy, qPrintable(busy.join(' ')));
        QStringList removed = env->fake.fonts->removed;
        for (const QString& path : env->fake.fonts->added)
            QVERIFY2(removed.removeOne(path), qPrintable(path));
        w.reset();
        QCOMPARE(ReadIniString("SpecSheets", "UpperCase", "", IniFile), QString("1"));
    }

    // A catalog of a folder's fonts: the layout, title and fonts chosen; the capitals choice shown as saved and kept.
    void catalogRun()
    {
        WriteIniString("SpecSheets", "UpperCase", "1", IniFile);
        QVERIFY(WriteFile(source + "/pair.ttc", SfntBuilder::Collection({SfntBuilder::Simple("Pair", "Pair One"),
                                                                          SfntBuilder::Simple("Pair", "Pair Two")})));
        auto w = Open({"a.ttf=Alpha Sans", "b.ttf=Beta Sans"}, InstallWizard::Mode::PrintUninstalled);
        w->SelectFonts("ALL");
        while (Button(*w, "nextButton").isEnabled())
            Button(*w, "nextButton").click();
        // On its step the picture follows the choice.
        Button(*w, "previousButton").click();
        w->show();
        const auto picture = [&w] {
            QTest::qWait(200);
            return Child<QLabel>(*w, "layoutPicture").pixmap().toImage();
        };
        Child<QRadioButton>(*w, "sheetsRadio").click();
        const QImage sheet = picture();
        Child<QRadioButton>(*w, "catalogRadio").click();
        QVERIFY(!sheet.isNull() && picture() != sheet);
        Button(*w, "nextButton").click();
        Child<QComboBox>(*w, "layoutBox").setCurrentIndex(1);
        QLineEdit& title = Child<QLineEdit>(*w, "titleEdit");
        title.setText("Font CD 8");
        QFocusEvent clicked(QEvent::FocusIn, Qt::MouseFocusReason);  // the title is selected, to be typed over
        QApplication::sendEvent(&title, &clicked);
        QCOMPARE(title.selectedText(), QString("Font CD 8"));
        QCheckBox& upper = Child<QCheckBox>(*w, "upperCaseCheck");
        QVERIFY(upper.isChecked());
        upper.click();
        // A printer that cannot be opened is said with its reason; one not chosen (no reason) says nothing.
        const auto kept = SystemPrintTarget().Open;
        for (const QString reason : {"No printer is set up.", ""}) {
            SystemPrintTarget().Open = [reason](QString* error) -> std::unique_ptr<PrinterSurface> {
                *error = reason;
                return nullptr;
            };
            env->fake.messages->texts.clear();
            Button(*w, "goButton").click();
            QCOMPARE(env->fake.messages->texts, reason.isEmpty() ? QStringList() : QStringList(reason));
        }
        SystemPrintTarget().Open = kept;
        // Paper the layouts do not fit is refused first: the user is told, nothing is printed.
        auto legal = std::make_shared<RecordingSurface>(5);
        w->OpenPrinter = [legal] { return legal; };
        Button(*w, "goButton").click();
        QVERIFY(legal->ops.isEmpty() && env->fake.messages->texts == QStringList(PaperSizeMessage()));
        auto surface = std::make_shared<StatusWatchingSurface>(&Child<QLabel>(*w, "statusLabel"));
        w->OpenPrinter = [surface] { return surface; };
        Button(*w, "goButton").click();
        QStringList texts;
        for (const PrintOp& op : surface->ops)
            if (op.kind == PrintOp::Text)
                texts << op.text;
        QVERIFY2(texts.contains("Font CD 8") && texts.filter("Alpha Sans (TrueType)").size() == 1
                     && texts.filter("Beta Sans (TrueType)").size() == 1 && texts.filter("Pair Two (TrueType)").size() == 1,
                 qPrintable(texts.join('|')));
        // A collection's file is added once for both its faces: three files, three fonts added.
        const QStringList& added = env->fake.fonts->added;
        QCOMPARE(QSet<QString>(added.begin(), added.end()).size(), 3);
        QCOMPARE(surface->Count(PrintOp::EndDoc), 1);
        QCOMPARE(surface->during + " / " + LabelText(*w, "statusLabel"), QString("Printing... / Ready to print"));
        QCOMPARE(Child<PictureBox>(*w, "progressGauge").accessibleDescription(), QString("100%"));
        // Reading the folder again removes the run's fonts before their files go, and closing not again.
        const qsizetype removed = env->fake.fonts->removed.size();
        ChooseFilter(*w, 0);
        QCOMPARE(env->fake.fonts->removed.size(), removed + 3);
        w.reset();
        QCOMPARE(ReadIniString("Inventory", "Title", "", IniFile), QString("Font CD 8"));
        QCOMPARE(ReadIniString("SpecSheets", "UpperCase", "", IniFile), QString("0"));
    }

    // Every sheet of a folder's font, a page each, in the order of the printed set.
    void everySheetInOrder()
    {
        auto w = Open({"a.ttf=Alpha Sans"}, InstallWizard::Mode::PrintUninstalled);
        w->SelectFonts("ALL");
        LayoutPicture& picture = Child<LayoutPicture>(*w, "layoutPicture");  // the sheets' picture, not the catalog's
        while (!picture.isVisibleTo(w.get()) && Button(*w, "nextButton").isEnabled())
            Button(*w, "nextButton").click();
        picture.DrawPending();
        const QImage catalog = picture.Picture();
        Child<QRadioButton>(*w, "sheetsRadio").click();
        picture.DrawPending();
        QVERIFY(!catalog.isNull() && picture.Picture() != catalog);
        while (Button(*w, "nextButton").isEnabled())
            Button(*w, "nextButton").click();
        for (const char* box : {"specimenSheet1Check", "specimenSheet2Check", "specimenSheet3Check", "specimenSheet4Check",
                                "keyboardChartCheck", "ansiChartCheck", "characterSetCheck", "pointSet72Check"})
            Child<QCheckBox>(*w, box).click();
        auto surface = std::make_shared<RecordingSurface>();
        w->OpenPrinter = [surface] { return surface; };
        Button(*w, "goButton").click();
        QList<int> texts;  // each sheet told by how many texts its page holds
        for (const PrintOp& op : surface->ops)
            if (op.kind == PrintOp::Text) {
                while (texts.size() < op.page)
                    texts << 0;
                ++texts[op.page - 1];
            }
        QStringList counts;
        for (int n : texts)
            counts << QString::number(n);
        // 72 Point Set 32, Character Set 504, ANSI Chart 512, Keyboard Chart 356, Specimen Sheets 52, 36, 27, 39.
        QCOMPARE(counts.join(' '), QString("32 504 512 356 52 36 27 39"));
    }

    // "Select Folder" from the disk's fonts/sub: the floppy once ready (Retry asks again), else back; the field
    // follows the tree. OK takes a folder typed into the field; one that does not exist is said, the dialog stays.
    void folderPicker_data()
    {
        QTest::addColumn<QList<int>>("errors");   // FolderError answers for the floppy; {-1} not chosen
        QTest::addColumn<QList<int>>("answers");  // Retry/Cancel answers
        QTest::addColumn<QString>("typed");       // "" untouched
        QTest::addColumn<QString>("chosen");      // "" cancelled
        using L = QList<int>;
        QTest::newRow("OK untouched returns the start folder") << L{-1} << L{} << "" << "/disk/fonts/sub";
        QTest::newRow("a typed folder is taken") << L{-1} << L{} << "/disk/fonts" << "/disk/fonts";
        QTest::newRow("a trailing slash, no other folder") << L{-1} << L{} << "/disk/fonts/" << "/disk/fonts";
        QTest::newRow("no such folder: said, and the dialog stays") << L{-1} << L{} << "/disk/nothing" << "";
        QTest::newRow("a relative path is no folder") << L{-1} << L{} << "." << "";
        QTest::newRow("ready drive") << L{} << L{} << "" << "/floppy";
        QTest::newRow("not ready, Cancel goes back") << L{71} << L{vbCancel} << "" << "/disk/fonts/sub";
        QTest::newRow("unavailable, Retry then ready") << L{68} << L{vbRetry} << "" << "/floppy";
        QTest::newRow("access error goes back silently") << L{75} << L{} << "" << "/disk/fonts/sub";
    }
    void folderPicker()
    {
        QFETCH(QList<int>, errors);
        QFETCH(QList<int>, answers);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        const QString root = env->root();
        QDir().mkpath(root + "/disk/fonts/sub");
        QDir().mkpath(root + "/floppy");
        env->fake.storage->drives = {{"Disk", root + "/disk"}, {"Floppy", root + "/floppy"}};
        env->fake.storage->folderErrors[root + "/floppy"] = errors;
        env->fake.messages->answers = answers;
        QString drive;
        QString top;  // the tree's root at the start
        bool fieldFollows = false, retype = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<FolderPicker*>(QApplication::activeModalWidget());
            DriveList& drives = Child<DriveList>(*d, "driveList");
            top = Child<FolderTree>(*d, "folderTree").topLevelItem(0)->text(0);
            if (errors != QList<int>{-1})
                drives.setCurrentIndex(1);  // the floppy
            drive = drives.Drive();
            QLineEdit& field = Child<QLineEdit>(*d, "folderEdit");
            fieldFollows = field.text() == Child<FolderTree>(*d, "folderTree").Path();
            if (!typed.isEmpty())
                field.setText(typed.startsWith('/') ? root + typed : typed);
            Child<QPushButton>(*d, "okButton").click();
            // A folder that is not there: the field again, its text selected to type over.
            retype = d->isVisible() && d->focusWidget() == &field && field.selectedText() == field.text();
            if (d->isVisible())
                Child<QPushButton>(*d, "cancelButton").click();
        });
        QCOMPARE(PickFolder(root + "/disk/fonts/sub"), chosen.isEmpty() ? QString() : root + chosen);
        QVERIFY(fieldFollows);
        QCOMPARE(top, root + "/disk");
        QCOMPARE(retype, !typed.isEmpty() && chosen.isEmpty());
        QCOMPARE(drive, root + (chosen == "/floppy" ? "/floppy" : "/disk"));
        const int said = chosen.isEmpty() || answers.size();
        const QString text = typed.isEmpty() ? DriveNotReadyText() : NoSuchFolderText(typed.startsWith('/') ? root + typed : typed);
        const int style = typed.isEmpty() ? vbRetryCancel | vbCritical : vbInformation;
        QCOMPARE(env->fake.messages->texts, QStringList(said, text));
        QCOMPARE(env->fake.messages->styles, QList<int>(said, style));
    }

    // A folder closed and opened again keeps what was open and chosen under it; Refresh lists a folder made since.
    void folderTreeKeepsItsOpenFolders()
    {
        const QString root = env->root() + "/disk";
        QVERIFY(QDir().mkpath(root + "/a/b") && QDir().mkpath(root + "/z"));
        FolderTree tree;
        tree.SetPath(root + "/a/b", root);
        QTreeWidgetItem* top = tree.topLevelItem(0);
        top->setExpanded(false);
        top->setExpanded(true);
        QCOMPARE(tree.Path(), root + "/a/b");
        QCOMPARE(tree.currentItem()->data(0, Qt::DisplayRole).toString(), QString("b"));
        QVERIFY(top->child(0)->isExpanded());
        // A folder not opened yet can be opened; once opened and found empty, no longer.
        QTreeWidgetItem* z = top->child(1);
        QCOMPARE(z->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        z->setExpanded(true);
        QCOMPARE(z->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
        QVERIFY(QDir().mkpath(root + "/a/b/new"));
        tree.Refresh();
        QCOMPARE(tree.currentItem()->childCount(), 1);
        QCOMPARE(tree.currentItem()->child(0)->text(0), QString("new"));
    }

    void driveOfPathIsLongestRoot()
    {
        const QVector<DriveEntry> drives{{"Root", "/"}, {"Home", "/home/u"}, {"Stick", "/media/u/STICK"}};
        QCOMPARE(DriveIndexOf(drives, "/home/u/fonts"), 1);
        QCOMPARE(DriveIndexOf(drives, "/home/uv"), 0);
        QCOMPARE(DriveIndexOf(drives, "/media/u/STICK"), 2);
        QCOMPARE(DriveIndexOf({{"Stick", "/media/s"}}, "/usr"), -1);
        QCOMPARE(DriveIndexOf({{"Stick", "/media/s"}, {"Same stick", "/media/s/"}}, "/media/s/fonts"), 0);  // the first of a tie
    }
};

QTEST_MAIN(TestInstallWizard)
#include "test_installwizard.moc"
