// Remove Font Wizard on the fake platform: selection, steps, settings, the
// order of the removal and where every file is after each fault.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QAction>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/linuxtexts.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/fonttable.h"
#include "sfntbuilder.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/folderpicker.h"
#include "wizards/removewizard.h"

using namespace gw;

namespace {

const QList<QPair<QString, QString>> kFonts = {
    {"Alpha", "Alpha"}, {"Alpha Bold", "Alpha"}, {"Alpha Italic", "Alpha"},
    {"Alpha Bold Italic", "Alpha"}, {"Beta", "Beta"}, {"Beta Oblique", "Beta"}};

QString FileOf(const QString& fullName)
{
    return fullName.toLower().remove(' ') + ".ttf";
}

void AddRecord(const QString& full, const QString& family, const QString& file)
{
    FontRecord record;
    record.FullName = full;
    record.FaceName = family;
    record.RegistryName = full + " (TrueType)";
    record.FontFile = file;
    record.FileSize = "1k";
    FontTable.push_back(record);
}

QString Text(const RemoveWizard& w, const char* label) { return Child<QLabel>(w, label).text(); }

QStringList Selected(const RemoveWizard& w)
{
    QStringList names;
    for (QTreeWidgetItem* item : Child<QTreeWidget>(w, "fontList").selectedItems())
        names << item->text(0);
    names.sort();
    return names;
}

} // namespace

class TestRemoveWizard : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env_;
    QString fonts_, target_;

    // Where a font's file is now: "source", "target", "trash", "source+target" or "gone".
    QString Where(const QString& fullName) const
    {
        const QString name = FileOf(fullName);
        QStringList at;
        if (QFileInfo::exists(fonts_ + "/" + name))
            at << "source";
        if (target_ != fonts_ && QFileInfo::exists(target_ + "/" + name))
            at << "target";
        if (QFileInfo::exists(env_->root() + "/fake/trash/" + name))
            at << "trash";
        return at.isEmpty() ? QStringLiteral("gone") : at.join('+');
    }

private slots:
    void init()
    {
        env_ = std::make_unique<TestEnv>();
        fonts_ = env_->root() + "/fonts";
        target_ = env_->root() + "/target";
        QDir().mkpath(target_);
        ResetFontTable();
        FontTable.clear();
        for (const auto& [full, family] : kFonts) {
            const QString file = fonts_ + "/" + FileOf(full);
            QVERIFY(WriteFile(file, SfntBuilder::Simple(family, full)));
            AddRecord(full, family, file);
            env_->fake.registry->values.append({full + " (TrueType)", file});
            env_->fake.fonts->faces << FakeFontSystem::MakeFace(family, full, "Regular", 400, false,
                                                                TRUETYPE_FONTTYPE, file);
        }
        // Beta Oblique has no registration: its entry is "unknown".
        env_->fake.registry->values.removeAt(5);
        ReadRegFontList();
        FontsChanged = false;
    }
    void cleanup() { env_.reset(); }

    // A table of one font lists it; the placeholder record of an empty table is not listed.
    void oneFontOrNone()
    {
        FontTable.resize(1);
        QCOMPARE(Child<QTreeWidget>(RemoveWizard(), "fontList").topLevelItemCount(), 1);
        ResetFontTable();
        QCOMPARE(Child<QTreeWidget>(RemoveWizard(), "fontList").topLevelItemCount(), 0);
    }

    // Every font listed, sorted, with its size and entry; those in the system folder or not UTF-8 marked unchangeable.
    // The menus' selections only add; Exit keeps the choices, but every run starts keeping the files.
    void listMenusAndSettings()
    {
        AddRecord("gamma", "gamma", Sys().system->SystemFontDirectory() + "/gamma.ttf");
        AddRecord("Zeta", "Zeta", fonts_ + QStringLiteral("/caf\uFFFD.ttf"));
        AddRecord("Zz Gone", "Zz Gone", fonts_ + "/gone/zz.ttf");  // its folder gone: nothing to protect
        {
            RemoveWizard w;
            w.show();
            QTreeWidget& list = Child<QTreeWidget>(w, "fontList");
            QStringList rows;  // name and size; "*" when the row is grey and its tooltip says why
            for (const QTreeWidgetItem* row : list.findItems("*", Qt::MatchWildcard))
                rows << row->text(0) + " " + row->text(2) + (row->toolTip(0).isEmpty()
                    || row->foreground(3) != list.palette().brush(QPalette::Disabled, QPalette::Text) ? "" : " *");
            QCOMPARE(rows, QStringList({"Alpha 1k", "Alpha Bold 1k", "Alpha Bold Italic 1k",
                                        "Alpha Italic 1k", "Beta 1k", "Beta Oblique 1k",
                                        "gamma 1k (system) *", "Zeta 1k *", "Zz Gone 1k"}));
            QCOMPARE(list.topLevelItem(5)->text(3), QString("unknown"));
            QVERIFY(list.topLevelItem(7)->toolTip(0).contains("not valid UTF-8"));
            const QLabel& sample = Child<QLabel>(w, "sampleLabel");
            QStringList shown;  // the items of the last menu, "-" a separator
            QPoint shownAt;
            w.PopupMenu = [&](QMenu* menu, const QPoint& at) {
                shownAt = at;
                shown.clear();
                for (QAction* a : menu->actions())
                    if (a->isVisible())
                        shown << (a->isSeparator() ? "-" : a->text());
            };
            const auto choose = [&w](const QString& item) {
                Child<QAction>(w, qPrintable(item + "Action")).trigger();
                return Selected(w).join(", ") + ": " + Text(w, "selectedCountLabel") + " / "
                       + Text(w, "statusLabel");
            };
            // The sample follows the current row, in the family, weight and slant the name says.
            for (const auto& [name, font] : {std::pair{"Beta Oblique", "Beta 0 1"}, {"Alpha Bold Italic", "Alpha 1 1"},
                                             {"Alpha", "Alpha 0 0"}, {"Alpha Bold", "Alpha 1 0"}}) {
                list.setCurrentItem(list.findItems(name, Qt::MatchExactly).value(0));
                const QFont f = sample.font();
                QCOMPARE(QString("%1: %2 %3 %4").arg(sample.text(), f.family()).arg(f.bold()).arg(f.italic()),
                         QString(name) + ": " + font);
            }
            QCOMPARE(Text(w, "selectedCountLabel"), QString("1 font selected"));
            QPushButton& selectButton = Child<QPushButton>(w, "selectButton");
            selectButton.click();
            QCOMPARE(shown.value(0), QString("&Regular Fonts")); // no family item under the button
            QCOMPARE(shownAt, selectButton.mapToGlobal(selectButton.rect().bottomLeft() + QPoint(0, 1)));  // right below it
            QCOMPARE(choose("regular"), QString("Alpha, Alpha Bold, Beta, Zeta, Zz Gone, gamma: 6 fonts selected / Ready to uninstall 6 fonts."));
            QCOMPARE(choose("none"), QString(": No fonts selected / No fonts selected."));
            QCOMPARE(choose("italic"), QString("Alpha Italic, Beta Oblique: 2 fonts selected / Ready to uninstall 2 fonts."));
            choose("none");
            list.setCurrentItem(list.findItems("Alpha", Qt::MatchExactly).value(0));
            // Right button over "Beta Oblique": the family item names Beta; the selection stays.
            QTreeWidgetItem* row = list.findItems("Beta Oblique", Qt::MatchExactly).value(0);
            shown.clear();  // opened on the release, not the press
            QTest::mousePress(list.viewport(), Qt::RightButton, {}, list.visualItemRect(row).center());
            QVERIFY(shown.isEmpty());
            QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, list.visualItemRect(row).center());
            QCOMPARE(shown.mid(0, 3), QStringList({"Beta", "-", "&Regular Fonts"}));
            QCOMPARE(Selected(w), QStringList{"Alpha"});
            QCOMPARE(choose("family"), QString("Alpha, Beta, Beta Oblique: 3 fonts selected / Ready to uninstall 3 fonts."));
            QPushButton& next = Child<QPushButton>(w, "nextButton");
            next.click();
            QVERIFY(Child<QWidget>(w, "stepPage1").isVisibleTo(&w) && !Child<QWidget>(w, "stepPage0").isVisibleTo(&w));
            next.click();
            QCOMPARE(Child<QTreeWidget>(w, "chosenList").topLevelItemCount(), 3);
            Child<QPushButton>(w, "previousButton").click();
            QLineEdit& target = Child<QLineEdit>(w, "targetEdit");  // a folder only to copy or move to
            for (const auto& [radio, folder] : {std::pair{"keepRadio", false}, {"moveRadio", true}, {"deleteRadio", false}, {"copyRadio", true}}) {
                Child<QRadioButton>(w, radio).click();
                QCOMPARE(target.isEnabled(), folder);
            }
            QVERIFY(Child<QWidget>(w, "stepPage1").isVisibleTo(&w));
            Child<QPushButton>(w, "previousButton").click();  // back to the list, and on again
            QVERIFY(Child<QWidget>(w, "stepPage0").isVisibleTo(&w));
            next.click();
            w.GoToNextStep();
            QCOMPARE(Child<QTreeWidget>(w, "chosenList").topLevelItemCount(), 3);  // shown again, not added to
            target.setText("/Tmp/Kept");
            Child<QCheckBox>(w, "confirmDeletesCheck").setChecked(false);
            Child<QPushButton>(w, "closeButton").click();
            QVERIFY(!w.isVisible() && w.result() == QDialog::Rejected);
        }
        QCOMPARE(ReadIniString("RemoveWizard", "Action", "", IniFile), QString::number(ActionCopy));
        QCOMPARE(ReadIniString("RemoveWizard", "DestDir", "", IniFile), QString("/Tmp/Kept"));
        QCOMPARE(ReadIniString("RemoveWizard", "ConfirmDeletes", "", IniFile), QString("0"));
        RemoveWizard again("Alpha");
        QVERIFY(!Child<QCheckBox>(again, "confirmDeletesCheck").isChecked() && Child<QRadioButton>(again, "keepRadio").isChecked()
                && Child<QLineEdit>(again, "targetEdit").text() == "/Tmp/Kept");
        // Help: the button and F1 open the wizard's topic.
        Child<QPushButton>(again, "helpButton").click();
        QTest::keyClick(&again, Qt::Key_F1);
        QCOMPARE(env_->fake.help->contexts, (QList<int>{615, 615}));
    }

    // Each action, then faults: the message, whether the run goes on, and where each file is.
    void faultMatrix_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QList<int>>("errors");  // of the copies, or of the trash when deleting
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message"); // a part of the first message; "" none
        QTest::addColumn<QString>("after");   // where Alpha's and Beta's files are; OK when the wizard closed
        using L = QList<int>;
        const int del = ActionDelete, copy = ActionCopy, move = ActionMove, keep = ActionKeep;
        auto row = [](const char* name, int action, L errors, L answers, QString setup, QString message,
                      QString after) {
            QTest::newRow(name) << action << errors << answers << setup << message << after;
        };
        row("keep", keep, {}, {}, "", "", "source source OK");
        row("delete", del, {}, {}, "", "", "trash trash OK");
        row("copy", copy, {}, {}, "", "", "source+target source+target OK");
        row("move", move, {}, {}, "", "", "target target OK");
        row("61 disk full: next font goes on", move, {ErrDiskFull}, {}, "",
            "This drive is full! Glyphwick cannot place a file there!", "source target OK");
        row("71 not ready, Retry copies", move, {ErrDiskNotReady}, {vbRetry}, "", "Disk not ready...", "target target OK");
        row("68 not ready, Cancel ends the run", move, {ErrDeviceUnavailable}, {vbCancel}, "",
            "Click Retry to continue or Cancel to stop removing fonts...", "source source OK");
        row("source removed by another program: said, the rest go on", move, {}, {}, "vanish",
            "is no longer there: another program removed it", "gone target OK");
        row("copy came out short", move, {}, {}, "short", "cannot access a font file", "source+target target OK");
        row("75 delete: font hidden", del, {ErrPathFileAccess}, {}, "", "marked as a read-only file", "source trash OK");
        row("no trash: asked, No keeps, Yes deletes", del, {}, {vbNo, vbYes}, "notrash",
            "No trash can take the font file", "source gone OK");
        row("missing target folder, No: nothing uninstalled", move, {}, {vbNo}, "notarget",
            "does not exist", "source source");
        row("missing target folder, Yes: made and moved into", move, {}, {vbYes}, "maketarget", "does not exist",
            "target target OK");
        row("target folder cannot be made: nothing uninstalled", move, {}, {vbYes}, "notarget-blocked",
            "does not exist", "source source");
        row("target is a file: nothing uninstalled", copy, {}, {}, "notarget-file",
            "is not a folder Glyphwick can copy into. Please choose another with Pick Folder.", "source source");
        row("57 I/O error: the run stops, the rest kept", move, {57}, {}, "ioerror", "", "source source");
        row("reject file unwritable: delete keeps files", del, {}, {}, "faildelete",
            "This font could not be removed!", "source source OK");
        row("resource not removed: file kept", del, {}, {}, "noremove", "This font could not be removed!",
            "source trash OK");
        row("confirm: No keeps, Yes trashes", del, {}, {vbNo, vbYes}, "confirm", "to the trash?", "source trash OK");
        row("confirm: Cancel keeps the rest", move, {}, {vbCancel}, "confirm",
            "Its copy is complete in the target folder.", "source+target source+target OK");
        row("same folder", copy, {}, {}, "samefolder", "The source file and destination file cannot be the same!",
            "source source OK");
        row("same folder through a link: the move keeps the file", move, {}, {}, "samefolder-link",
            "cannot be the same!", "source+target source+target OK");
        row("move over existing, No", move, {}, {vbNo, vbOK, vbNo, vbOK}, "existing",
            "already exists in the target directory.", "source+target source+target OK");
        row("move over existing, Yes: written over", move, {}, {vbYes, vbYes}, "existing",
            "already exists in the target directory.", "target target OK");
        row("unknown entry, No: untouched", del, {}, {vbNo}, "unknown", "could not be determined", "source trash OK");
        row("unknown entry, Yes: deleted", del, {}, {vbYes}, "unknown", "could not be determined", "trash trash OK");
        row("unknown entry, 75: not said to be hidden", del, {0, ErrPathFileAccess}, {vbYes}, "unknown",
            "could not be determined", "source trash OK");
        row("file not known: no file is copied or deleted", move, {}, {}, "nofile", "still located at unknown.", "source target OK");
    }
    void faultMatrix()
    {
        QFETCH(int, action);
        QFETCH(QList<int>, errors);
        QFETCH(QList<int>, answers);
        QFETCH(QString, setup);
        QFETCH(QString, message);
        QFETCH(QString, after);
        (action == ActionDelete ? env_->fake.trash->errors : env_->fake.storage->copyErrors) = errors;
        env_->fake.messages->answers = answers;
        env_->fake.trash->noTrash = setup == "notrash";
        env_->fake.registry->failDelete = setup == "faildelete";
        env_->fake.storage->shortCopies = setup == "short" ? 1 : 0;
        if (setup == "vanish")
            QFile::remove(fonts_ + "/alpha.ttf");
        if (setup == "noremove")
            env_->fake.fonts->removeAnswers.insert(fonts_ + "/alpha.ttf", 0);
        const bool notStarted = setup.startsWith("notarget");
        if (setup == "samefolder")
            target_ = fonts_;
        else if (setup == "samefolder-link")
            QVERIFY(QFile::link(fonts_, target_ = env_->root() + "/Fonts Link"));
        else if (notStarted || setup == "maketarget") {  // a plain file where the folder or its parent belongs
            target_ = env_->root() + "/Font Backup";
            if (setup != "notarget" && setup != "maketarget")
                QVERIFY(WriteFile(target_, "a file"));
            if (setup == "notarget-blocked")
                target_ += "/Fonts";
        }
        if (setup == "existing")
            QVERIFY(WriteFile(target_ + "/alpha.ttf", "other") && WriteFile(target_ + "/beta.ttf", "other"));
        if (setup == "nofile")
            FontTable[0].FontFile = "unknown";
        RemoveWizard w;
        const QString first = setup == "unknown" ? "Beta Oblique" : "Alpha";
        for (const QString& name : {first, QString("Beta")})
            Child<QTreeWidget>(w, "fontList").findItems(name, Qt::MatchExactly).value(0)->setSelected(true);
        const char* radios[] = {"", "deleteRadio", "copyRadio", "moveRadio", "keepRadio"};  // by action
        Child<QRadioButton>(w, radios[action]).setChecked(true);
        Child<QLineEdit>(w, "targetEdit").setText(target_);
        w.GoToNextStep();
        w.GoToNextStep();
        FakeCallLog().clear();
        Child<QCheckBox>(w, "confirmDeletesCheck").setChecked(setup == "confirm");
        QStringList report;  // the lines of the closing report
        QString reportMessage;  // and what it says above them
        w.ShowReport = [&](QDialog* dialog) {
            const auto* lines = dialog->findChild<QListWidget*>("resultList");
            for (int i = 0; i < lines->count(); ++i)
                report << lines->item(i)->text();
            reportMessage = dialog->findChild<QLabel*>("messageLabel")->text();
            SaveShot(dialog, "remove-report");
        };
        bool enabledDuring = false;  // Uninstall cannot be pressed again while fonts go
        env_->fake.fonts->onRemove = [&](const QString&) { enabledDuring |= Child<QPushButton>(w, "uninstallButton").isEnabled(); };
        w.RemoveChosenFonts();
        env_->fake.fonts->onRemove = nullptr;
        QVERIFY(!enabledDuring);
        if (setup == "vanish")  // the vanished font's withdrawal is told to other programs before the next font goes
            QCOMPARE(FakeCallLog().value(2), QString("BroadcastFontChange"));
        // A font whose file is not known has no file to copy, move or trash.
        QVERIFY(FakeCallLog().filter(QRegularExpression("^(CopyFile|MoveToTrash|DeleteFile) unknown")).isEmpty());

        // Fonts are removed under the busy pointer.
        QCOMPARE(env_->fake.fonts->removedBusy, env_->fake.fonts->removed);
        const QStringList& texts = env_->fake.messages->texts;
        QVERIFY2(message.isEmpty() ? texts.isEmpty() : texts.value(0).contains(message), qPrintable(texts.join(" | ")));
        // A file left after its registration went is said to be hidden; one never registered is not.
        QCOMPARE(texts.join(' ').contains(FontHiddenNote()), errors.contains(ErrPathFileAccess) && setup != "unknown");
        const QString closed = w.result() == QDialog::Accepted ? " OK" : "";
        QCOMPARE(Where(first) + " " + Where("Beta") + closed, after);
        QVERIFY(FontsChanged != notStarted);
        if (setup == "notarget-file")  // the user may choose another folder
            QVERIFY(Child<QPushButton>(w, "uninstallButton").isEnabled());
        // Every chosen file has its line, also those a cancelled run did not reach; the report says
        // when one did not go as asked.
        QCOMPARE(report.size(), notStarted ? 0 : 2);
        const bool asked = report.filter(QRegularExpression("not (uninstalled|copied)|stopped|no trash")).isEmpty()
                           && !errors.contains(ErrPathFileAccess);  // the trash refused a file: kept, said in a message
        if (!notStarted)
            QVERIFY2(reportMessage.startsWith(asked ? "The Remove Font Wizard has uninstalled these fonts."
                                                     : "Not every font was uninstalled"), qPrintable(reportMessage));
        if (setup == "notarget-blocked")
            QVERIFY(texts.value(1).contains("is not a folder Glyphwick can copy into"));
        if (setup == "notrash")  // Enter keeps the file
            QVERIFY(env_->fake.messages->styles.value(0) & vbDefaultButton2);
        if (setup == "unknown")  // the report says what became of the file the user was asked about
            QVERIFY2(report.filter("/betaoblique.ttf: ").value(0).endsWith(answers == QList<int>{vbNo} ? ": not uninstalled: no registration was found; the file is kept"
                                                                           : errors.isEmpty() ? ": uninstalled; the file is in the trash"
                                                                                              : ": uninstalled; the file is kept"),
                     qPrintable(report.join('\n')));
        if ((answers == QList<int>{vbCancel} && action == ActionMove && setup.isEmpty()) || setup == "ioerror")
            QVERIFY2(report.value(1).endsWith("the run stopped before its file, which is kept"), qPrintable(report.join('\n')));
        if (errors.value(0) == ErrPathFileAccess)
            QVERIFY(texts.first().contains("hidden from every program"));
        if (setup == "existing" && answers.value(0) == vbNo)
            QCOMPARE(texts.value(1), "The original file " + fonts_ + "/alpha.ttf will not be deleted.");
        if (setup == "existing")  // the font written over the other file, or that file kept
            QCOMPARE(ReadFile(target_ + "/alpha.ttf") == "other", answers.value(0) == vbNo);
        if (setup == "faildelete" || notStarted)
            QCOMPARE(env_->fake.registry->values.size(), 5); // nothing was hidden
        // What the last step says will happen (by action); without faults, the order of the removal
        // and the report's line for Alpha's file.
        const QString file = fonts_ + "/alpha.ttf", copied = target_ + "/alpha.ttf";
        const QStringList told{"", "will be moved to the trash", "will be copied to \"" + target_ + "\"",
                               "will be moved to \"" + target_ + "\"", "will be hidden"};
        QVERIFY2(Text(w, "actionLabel").contains(told[action]), qPrintable(Text(w, "actionLabel")));
        if (!message.isEmpty() || closed.isEmpty())
            return;
        QCOMPARE(Child<PictureBox>(w, "gauge").accessibleDescription(), QString("100%"));
        const QStringList said{"", "in the trash", "copied to " + copied, "moved to " + copied, "kept"};
        QCOMPARE(report.value(0), file + ": uninstalled; the file is " + said[action]);
        const QString fot = OwnFileName(Sys().system->ProgramFolder(), "alpha.fot");
        QStringList calls{"RegDeleteValue Alpha (TrueType)", "RegDeleteValue Beta (TrueType)",
                          "CreateScalableFontResource " + fot, "RemoveFontResource " + fot,
                          "BroadcastFontChange"};
        const QStringList onFile[] = {{}, {"MoveToTrash " + file}, {"CopyFile " + file + " -> " + copied},
                                      {"CopyFile " + file + " -> " + copied, "DeleteFile " + file}, {}};
        calls += onFile[action];
        QCOMPARE(FakeCallLog().mid(0, calls.size()), calls);
        QVERIFY(!QFileInfo::exists(fot));
    }

    // The folder picked goes into the target field; Cancel leaves the field as it was.
    void pickTargetFolder()
    {
        env_->fake.storage->drives = {{"Disk", env_->root()}};
        RemoveWizard w;
        Child<QRadioButton>(w, "moveRadio").click();
        QLineEdit& target = Child<QLineEdit>(w, "targetEdit");
        const QString gone = target_ + "/gone";  // a folder removed since: the picker opens at home
        target.setText(gone);
        int shown = 0;
        QString opened;
        for (const bool ok : {false, true}) {
            QTimer::singleShot(0, [&] {
                if (auto* picker = qobject_cast<FolderPicker*>(QApplication::activeModalWidget())) {
                    ++shown;
                    opened = Child<QLineEdit>(*picker, "folderEdit").text();
                    Child<QLineEdit>(*picker, "folderEdit").setText(fonts_);
                    Child<QPushButton>(*picker, ok ? "okButton" : "cancelButton").click();
                }
            });
            Child<QPushButton>(w, "pickFolderButton").click();
            QCOMPARE(target.text() + " " + opened, (ok ? fonts_ : gone) + " " + QDir::homePath());
            target.setText(gone);
        }
        QCOMPARE(shown, 2);
        QCOMPARE(env_->fake.messages->texts, QStringList());
    }

    // The gauge moves with every row, selected or not, up to 100.
    void gaugeFollowsTheRows()
    {
        QList<int> gauge;
        RemoveFonts(QVector<RemovalRow>(4), RemovalChoice{}, [&](int percent) { gauge << percent; });
        QCOMPARE(gauge, QList<int>({0, 25, 50, 75, 100}));
    }
};

QTEST_MAIN(TestRemoveWizard)
#include "test_removewizard.moc"
