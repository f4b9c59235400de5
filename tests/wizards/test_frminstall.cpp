// The install wizard on the fake platform: the scan, the preview resource, the
// installation with its questions and errors, the print run, the clean-up.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/settings.h"
#include "fonts/fonttable.h"
#include "print/recording.h"
#include "sfntbuilder.h"
#include "testenv.h"
#include "wizards/drivedir.h"
#include "wizards/frminstall.h"
#include "wizards/printrunner.h"

using namespace gw;

namespace {

// "file=Full Name" entries; a bare file name gets random bytes.
void MakeFolder(const QString& folder, const QStringList& files)
{
    QDir().mkpath(folder);
    for (const QString& f : files) {
        const QString name = f.section('=', 0, 0);
        const QString full = f.section('=', 1);
        WriteFile(folder + "/" + name, full.isEmpty() ? QByteArray("not a font at all")
                                                      : SfntBuilder::Simple(full.section(' ', 0, 0), full));
    }
}

QStringList RowTexts(const frmInstall& w)
{
    QStringList rows;
    for (QTreeWidgetItem* row : w.Rows())
        rows << row->text(0) + "|" + row->text(1) + "|" + row->text(2);
    return rows;
}

QTreeWidgetItem* Row(const frmInstall& w, const QString& face)
{
    for (QTreeWidgetItem* row : w.Rows())
        if (row->text(0) == face)
            return row;
    return nullptr;
}

} // namespace

class TestFrmInstall : public QObject {
    Q_OBJECT
    TestEnv* env = nullptr;
    QString source;
    QStringList successLines;

    // The wizard in a mode, on step 1 with the source folder read.
    std::unique_ptr<frmInstall> Open(int mode)
    {
        WizardMode = int16_t(mode);
        WriteIniString("CatalogWizard", "sourceDir", source, IniFile);
        auto w = std::make_unique<frmInstall>();
        w->ShowModal = [this](QDialog* d) {
            successLines.clear();
            if (auto* s = qobject_cast<frmSuccess*>(d))
                for (int i = 0; i < s->lstFonts->count(); ++i)
                    successLines << s->lstFonts->item(i)->text();
        };
        w->AdvanceStep(true);
        return w;
    }

    void GoToLastStep(frmInstall& w)
    {
        while (w.Step < w.LastStep)
            w.AdvanceStep(true);
    }

private slots:
    void init()
    {
        env = new TestEnv;
        source = env->root() + "/cd";
        env->fake.storage->drives = {{"Disk", env->root()}};
        ReadRegFontList();
    }
    void cleanup()
    {
        delete env;
        successLines.clear();
    }

    // ---- The scan ----

    void scan_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("fontNames");
        QTest::newRow("no font files") << QStringList{"readme.txt=Text Doc"} << 0 << QStringList{"no font files||"} << "Font Names";
        QTest::newRow("upper-case CD-ROM names, .otf too") << QStringList{"ARIAL.TTF=Arial", "Cff.Otf=Cff Sans"} << 0
                                                           << QStringList{"Arial|arial.ttf|1K", "Cff Sans|cff.otf|1K"} << "2 Font Names";
        QTest::newRow("filter E-H takes a lower-case e") << QStringList{"e.ttf=eins Sans", "one.ttf=1 Sans", "h.ttf=Hat Sans"} << 2
                                                         << QStringList{"eins Sans|e.ttf|1K", "Hat Sans|h.ttf|1K"} << "2 Font Names";
        QTest::newRow("digits only under A-D, Numbers") << QStringList{"one.ttf=1 Sans", "b.ttf=Bee Sans", "z.ttf=Zed Sans"} << 1
                                                        << QStringList{"1 Sans|one.ttf|1K", "Bee Sans|b.ttf|1K"} << "2 Font Names";
    }
    void scan()
    {
        QFETCH(QStringList, files);
        QFETCH(int, filter);
        QFETCH(QStringList, rows);
        QFETCH(QString, fontNames);
        MakeFolder(source, files);
        auto w = Open(1);
        w->cmbFilter->setCurrentIndex(filter);
        w->cmbFilter_Click();
        QCOMPARE(RowTexts(*w), rows);
        QCOMPARE(w->lblFontNames->text(), fontNames);
        QCOMPARE(w->lblCount->text(), QString("No fonts selected."));
        QVERIFY(!w->Reading);
        QVERIFY(w->cmdNext->isEnabled());
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"empty", "truncated", "folder", "broken link", "100 MB"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void damagedFiles()
    {
        QFETCH(QString, kind);
        MakeFolder(source, {"good.ttf=Good Sans"});
        const QString bad = source + "/x.ttf";
        if (kind == "empty")
            WriteFile(bad, "");
        else if (kind == "truncated")
            WriteFile(bad, SfntBuilder::Simple("Cut", "Cut Sans").left(40));
        else if (kind == "folder")
            QDir().mkpath(bad);
        else if (kind == "broken link")
            QFile::link(source + "/gone.ttf", bad);
        else {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(100 << 20)); // sparse
        }
        auto w = Open(1);
        QCOMPARE(RowTexts(*w), QStringList{"Good Sans|good.ttf|1K"});
        QCOMPARE(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}).size(), 1);
        QStringList skipped;
        FontFileNames(source, &skipped);
        if (kind == "folder" || kind == "broken link")
            QCOMPARE(skipped.size(), 1);
    }

    void sizeTextsAndRegisteredSpellings()
    {
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "c.ttf=Gamma Sans"});
        // 58,000 bytes shows as 56k.
        QByteArray big = SfntBuilder::Simple("Gamma", "Gamma Sans");
        WriteFile(source + "/c.ttf", big + QByteArray(58000 - big.size(), '\0'));
        env->fake.registry->values = {{"Alpha Sans (TrueType)", "a.ttf"}, {"beta sans regular (truetype)", "b.ttf"}};
        ReadRegFontList();
        auto w = Open(1);
        QCOMPARE(RowTexts(*w), (QStringList{"Alpha Sans|a.ttf|1K", "Beta Sans|b.ttf|1K", "Gamma Sans|c.ttf|56k"}));
        QCOMPARE(w->Fonts.size(), size_t(4));
        QVERIFY(w->Fonts[1].AlreadyInstalled);
        QVERIFY(w->Fonts[2].AlreadyInstalled);
        QVERIFY(!w->Fonts[3].AlreadyInstalled);
    }

    void fotNamesGetCounters()
    {
        MakeFolder(source, {"arial.ttf=Arial"});
        WriteFile(Sys().system->ProgramFolder() + "/arial.fot", "someone else's");
        auto w = Open(1);
        QCOMPARE(QFileInfo(w->Fonts[1].FotPath).fileName(), QString("aria0.fot"));
    }

    void cancelReadKeepsWhatWasRead()
    {
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "c.ttf=Gamma Sans"});
        WizardMode = 1;
        WriteIniString("CatalogWizard", "sourceDir", source, IniFile);
        frmInstall w;
        // The first file's pending events press Cancel Read.
        QTimer::singleShot(0, &w, [&w] { w.cmdCancelRead_Click(); });
        w.AdvanceStep(true);
        QCOMPARE(RowTexts(w), QStringList{"Alpha Sans|a.ttf|1K"});
        QVERIFY(!w.CancelRead);
    }

    // ---- Preview ----

    void previewHoldsOneResource()
    {
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Bold"});
        auto w = Open(1);
        const QString fotA = w->Fonts[1].FotPath, fotB = w->Fonts[2].FotPath;
        w->ListView1_ItemClick(Row(*w, "Alpha Sans"));
        w->ListView1_ItemClick(Row(*w, "Beta Bold"));
        QCOMPARE(env->fake.fonts->added, (QStringList{fotA, fotB}));
        QCOMPARE(env->fake.fonts->removed, QStringList{fotA});
        QCOMPARE(w->PreviewFontFile, fotB);
        QVERIFY(w->txtInfo->toPlainText().startsWith("Version: "));
        QVERIFY(w->txtInfo->toPlainText().contains("Full Font Name: Beta Bold"));
        // A new folder removes the preview before anything else.
        w->dirlist_Change();
        QCOMPARE(env->fake.fonts->removed.value(1), fotB);
        QVERIFY(w->PreviewFontFile.isEmpty());
        // A font that vanished after the scan is answered with a message.
        QFile::remove(source + "/a.ttf");
        env->fake.fonts->added.clear();
        w->ListView1_ItemClick(Row(*w, "Alpha Sans"));
        QVERIFY(env->fake.fonts->added.isEmpty());
        QVERIFY(env->fake.messages->texts.value(0).contains("is no longer there"));
    }

    void selectionCommands_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("count");
        QTest::newRow("italic takes oblique") << "ITALIC" << QStringList{"Sans Italic", "Sans Oblique"} << "2 fonts to install";
        QTest::newRow("family caption") << "Sans Bold" << QStringList{"Sans Bold", "Sans Bold Italic"} << "2 fonts to install";
        QTest::newRow("none") << "NONE" << QStringList{} << "No fonts to install";
    }
    void selectionCommands()
    {
        QFETCH(QString, style);
        QFETCH(QStringList, selected);
        QFETCH(QString, count);
        MakeFolder(source, {"r.ttf=Sans", "b.ttf=Sans Bold", "i.ttf=Sans Italic", "o.ttf=Sans Oblique", "bi.ttf=Sans Bold Italic"});
        auto w = Open(1);
        w->SelectFonts("ALL");
        w->SelectFonts(style);
        QStringList got;
        for (QTreeWidgetItem* row : w->Rows())
            if (row->isSelected())
                got << row->text(0);
        got.sort();
        QCOMPARE(got, selected);
        QCOMPARE(w->lblCount->text(), count);
        QCOMPARE(w->lstChanges->count(), selected.size());
    }

    // ---- Installation ----

    void install_data()
    {
        QTest::addColumn<QStringList>("registered");   // value names present before
        QTest::addColumn<QStringList>("inFontsFolder"); // files already in the font folder
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("messages");      // start of each message
        QTest::addColumn<QStringList>("success");
        QTest::addColumn<int>("copies");
        QTest::newRow("two new fonts") << QStringList{} << QStringList{} << QList<int>{} << QStringList{}
                                       << QStringList{"Alpha Sans (TrueType) (a.ttf)", "Beta Sans (TrueType) (b.ttf)"} << 2;
        QTest::newRow("overwrite Yes copies") << QStringList{} << QStringList{"a.ttf"} << QList<int>{vbYes}
                                              << QStringList{"The TrueType font file for Alpha Sans already exists"}
                                              << QStringList{"Alpha Sans (TrueType) (a.ttf)", "Beta Sans (TrueType) (b.ttf)"} << 2;
        QTest::newRow("overwrite No installs the file there") << QStringList{} << QStringList{"a.ttf"} << QList<int>{vbNo}
                                              << QStringList{"The TrueType font file for Alpha Sans already exists"}
                                              << QStringList{"Alpha Sans (TrueType) (a.ttf)", "Beta Sans (TrueType) (b.ttf)"} << 1;
    }
    void install()
    {
        QFETCH(QStringList, registered);
        QFETCH(QStringList, inFontsFolder);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, success);
        QFETCH(int, copies);
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans"});
        for (const QString& f : inFontsFolder)
            WriteFile(WinDir + "fonts/" + f, "older file");
        auto w = Open(1);
        w->SelectFonts("ALL");
        GoToLastStep(*w);
        QCOMPARE(w->lblNumber->text(), QString("2 fonts to install"));
        QVERIFY(w->cmdGo->isEnabled());
        env->fake.messages->answers = answers;
        w->cmdGo->click();
        QCOMPARE(env->fake.messages->texts.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            QVERIFY2(env->fake.messages->texts[i].startsWith(messages[i]), qPrintable(env->fake.messages->texts[i]));
        if (!messages.isEmpty()) // both sizes and dates
            QVERIFY(env->fake.messages->texts[0].contains("    10    ") && env->fake.messages->texts[0].contains("\n\nwith\n\n    "));
        QCOMPARE(successLines, success);
        QCOMPARE(env->fake.storage->copies.size(), copies);
        QCOMPARE(env->fake.registry->values.size(), 2);
        QCOMPARE(env->fake.registry->values[0], qMakePair(QString("Alpha Sans (TrueType)"), QString("a.ttf")));
        QCOMPARE(env->fake.registry->openKeys, 0);
        QVERIFY(!w->cmdGo->isEnabled());
        QVERIFY(FontsChanged);
        // The .fot files are gone; stepping back and on again skips what is installed.
        QVERIFY(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}).isEmpty());
        w->AdvanceStep(false);
        w->AdvanceStep(true);
        QVERIFY(w->cmdGo->isEnabled());
        env->fake.storage->copies.clear();
        w->cmdGo->click();
        QVERIFY(env->fake.storage->copies.isEmpty());
        QVERIFY(successLines.isEmpty());
    }

    void alreadyRegisteredAndFontsFolderSource()
    {
        // Reading the font folder itself: nothing to copy, nothing to ask.
        source = WinDir + "fonts";
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans"});
        auto w = Open(1);
        w->SelectFonts("ALL");
        // Registered after the scan: reported, not copied, added or registered.
        env->fake.registry->values = {{"Beta Sans (TrueType)", "elsewhere.ttf"}};
        ReadRegFontList();
        env->fake.fonts->added.clear();
        GoToLastStep(*w);
        w->cmdGo->click();
        QCOMPARE(env->fake.messages->texts.size(), 1);
        QVERIFY(env->fake.messages->texts[0].startsWith("The TrueType font \"Beta Sans\" is already installed"));
        QVERIFY(env->fake.storage->copies.isEmpty());
        QCOMPARE(env->fake.fonts->added, QStringList{WinDir + "fonts/a.ttf"});
        QCOMPARE(successLines, QStringList{"Alpha Sans (TrueType) (a.ttf)"});
        QCOMPARE(env->fake.registry->values.size(), 2);
    }

    void notAFontLeavesNoRegistration()
    {
        MakeFolder(source, {"a.ttf=Alpha Sans"});
        auto w = Open(1);
        w->SelectFonts("ALL");
        env->fake.fonts->addAnswers[WinDir + "fonts/a.ttf"] = 0;
        GoToLastStep(*w);
        w->cmdGo->click();
        QVERIFY(env->fake.registry->values.isEmpty());
        QVERIFY(successLines.isEmpty());
    }

    void copyErrors_data()
    {
        QTest::addColumn<QList<int>>("errors");   // per copy
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("installed");
        QTest::newRow("disk full on the third of five") << QList<int>{0, 0, 61} << QList<int>{}
                                                        << "The hard drive is full! Glyphwick cannot continue" << 2;
        QTest::newRow("not ready, Retry, then copied") << QList<int>{0, 71, 0} << QList<int>{vbRetry}
                                                       << "Disk not ready... Please make sure the floppy or CD-ROM" << 5;
        QTest::newRow("device unavailable, Cancel") << QList<int>{68} << QList<int>{vbCancel}
                                                    << "Disk not ready... Please make sure the floppy or CD-ROM" << 0;
        QTest::newRow("any other error stops silently") << QList<int>{0, 0, 0, 13} << QList<int>{} << "" << 3;
    }
    void copyErrors()
    {
        QFETCH(QList<int>, errors);
        QFETCH(QList<int>, answers);
        QFETCH(QString, message);
        QFETCH(int, installed);
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "c.ttf=Gamma Sans", "d.ttf=Delta Sans", "e.ttf=Epsilon Sans"});
        auto w = Open(1);
        w->SelectFonts("ALL");
        GoToLastStep(*w);
        env->fake.storage->copyErrors = errors;
        env->fake.messages->answers = answers;
        w->cmdGo->click();
        if (message.isEmpty())
            QVERIFY(env->fake.messages->texts.isEmpty());
        else
            QVERIFY2(env->fake.messages->texts.value(0).startsWith(message), qPrintable(env->fake.messages->texts.value(0)));
        QCOMPARE(env->fake.registry->values.size(), installed);
        QCOMPARE(successLines.size(), installed);
        QCOMPARE(QDir(WinDir + "fonts").entryList(QDir::Files).size(), installed);
        QCOMPARE(env->fake.registry->openKeys, 0);
    }

    // ---- Printing uninstalled fonts ----

    void printRun()
    {
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans", "c.ttf=Gamma Sans"});
        auto w = Open(2);
        w->SelectFonts("ALL");
        Row(*w, "Gamma Sans")->setSelected(false);
        GoToLastStep(*w);
        w->optSheets->click();
        QVERIFY(!w->cmbStyle->isEnabled() && w->chkSpec1->isEnabled());
        QCOMPARE(w->lblNumber->text(), QString("No fonts selected"));
        w->chkSpec1->click();
        w->chkSpec3->click();
        QCOMPARE(w->lblNumber->text(), QString("2 fonts to print"));
        auto surface = std::make_shared<RecordingSurface>();
        w->OpenPrinter = [surface] { return surface; };
        w->cmdGo->click();
        QCOMPARE(surface->ops.last().page, 4);
        QCOMPARE(surface->Count(PrintOp::EndDoc), 2);
        // The layout picture previewed the first font; the run added both, in list order.
        QCOMPARE(env->fake.fonts->added, (QStringList{w->Fonts[1].FotPath, w->Fonts[1].FotPath, w->Fonts[2].FotPath}));
        QCOMPARE(w->lblStatus->text(), QString("Ready to print!"));
        // Font 1's pages come before font 2's.
        int lastPageOfAlpha = 0, firstPageOfBeta = 99;
        for (const PrintOp& op : surface->ops) {
            if (op.kind != PrintOp::Text || op.text.isEmpty()) // "" opens a job in the font at hand
                continue;
            if (op.fontName == "Alpha")
                lastPageOfAlpha = qMax(lastPageOfAlpha, op.page);
            if (op.fontName == "Beta")
                firstPageOfBeta = qMin(firstPageOfBeta, op.page);
        }
        QCOMPARE(lastPageOfAlpha, 2);
        QCOMPARE(firstPageOfBeta, 3);
        // Closing removes what the run added, then the .fot files.
        w->close();
        QCOMPARE(env->fake.fonts->removed.size(), 4);
        QVERIFY(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}).isEmpty());
    }

    void paperAndCatalog()
    {
        MakeFolder(source, {"a.ttf=Alpha Sans"});
        auto w = Open(2);
        w->SelectFonts("ALL");
        GoToLastStep(*w);
        auto legal = std::make_shared<RecordingSurface>(PaperLegal);
        w->OpenPrinter = [legal] { return legal; };
        w->cmdGo->click();
        QVERIFY(legal->ops.isEmpty());
        QVERIFY(env->fake.messages->texts.value(0).startsWith("This program only works with letter-sized"));
        auto letter = std::make_shared<RecordingSurface>();
        w->OpenPrinter = [letter] { return letter; };
        w->txtTitle->setText("My CD");
        w->cmdGo->click();
        QVERIFY(letter->Find("My CD"));
        QCOMPARE(w->lblStatus->text(), QString("Ready to print"));
    }

    void helpContexts()
    {
        MakeFolder(source, {});
        for (int mode : {1, 2})
            Open(mode)->cmdHelp->click();
        QCOMPARE(env->fake.help->contexts, (QList<int>{610, 725}));
    }

    // ---- Unload ----

    void unloadLeavesNothing()
    {
        MakeFolder(source, {"a.ttf=Alpha Sans", "b.ttf=Beta Sans"});
        auto w = Open(2);
        w->ListView1_ItemClick(Row(*w, "Alpha Sans"));
        w->chkUpper->setChecked(true);
        w->txtTitle->setText("Font CD 7");
        w.reset();
        QVERIFY(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}).isEmpty());
        QStringList added = env->fake.fonts->added, removed = env->fake.fonts->removed;
        for (const QString& path : added)
            QVERIFY2(removed.removeOne(path), qPrintable(path));
        QCOMPARE(ReadIniString("catalogWizard", "sourceDir", "", IniFile), source);
        QCOMPARE(ReadIniString("Inventory", "Title", "", IniFile), QString("Font CD 7"));
        QCOMPARE(ReadIniString("SpecSheets", "UpperCase", "", IniFile), QString("1"));
    }
};

QTEST_MAIN(TestFrmInstall)
#include "test_frminstall.moc"
