// The main window's menu commands that need no other window.
#include <QtTest>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <memory>

#include "core/globals.h"
#include "core/settings.h"
#include "mainwindow/about.h"
#include "mainwindow/fw.h"
#include "shots.h"
#include "testenv.h"

using namespace gw;

class FwMenusTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->fake.fonts->faces = {TrueTypeFace("DejaVu Sans", "Book"), TrueTypeFace("Liberation Sans")};
        SetShow(true, true, true);
        ATMInstalled = false;
    }
    void cleanup() { env.reset(); }

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
        FW w;
        QVERIFY(SelectFamily(w, "Liberation Sans"));
        env->fake.fonts->faces << TrueTypeFace("Arimo");  // seen only by a reread
        env->fake.printerSetup->choices = choices;
        w.mnuFilePrintSetup_Click();
        QCOMPARE(env->fake.printerSetup->shown, 1);
        QCOMPARE(w.fontList->Count(), families);
        QCOMPARE(w.fontList->At(w.SelectedRow()).text, QString("Liberation Sans"));
    }

    void runItemsStartTheirPrograms()
    {
        FW w;
        w.findChild<QAction*>("mnuRunControlPanel")->trigger();
        w.findChild<QAction*>("mnuRunClipboard")->trigger();
        w.findChild<QAction*>("mnuRunCharacterMap")->trigger();
        QCOMPARE(env->fake.programs->started, (QStringList{"CONTROL.EXE", "CLIPBRD.EXE", "CHARMAP.EXE"}));
        QCOMPARE(env->fake.programs->styles, (QList<int>{1, 1, 1}));
        w.resize(1000, 700);
        SaveShot(&w, "main-window");
    }

    void typeOneManagerItemAsksForThePathInOptions()
    {
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
        QCOMPARE(env->fake.messages->styles, QList<int>{vbInformation});
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

    void helpItemsAndF1()
    {
        FW w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F1);
        w.mnuHelpFAQ->trigger();
        QCOMPARE(env->fake.help->contexts, (QList<int>{-1, 120}));
        QCOMPARE(env->fake.help->files, (QStringList{HelpFile, HelpFile}));
    }

    void webItemsOpenTheirAddresses()
    {
        FW w;
        for (QAction* item : w.mnuHelpWeb->actions())
            item->trigger();
        QCOMPARE(env->fake.web->opened.size(), 4);
        QVERIFY(env->fake.web->opened.last().startsWith("mailto:"));
        for (const QString& address : env->fake.web->opened.mid(0, 3))
            QVERIFY(address.startsWith("https://"));
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
        QVERIFY(about.lblVersion->text().startsWith("Version "));
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(FwMenusTest)
#include "test_fw_menus.moc"
