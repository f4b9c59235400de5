// The start-up sequence on the fake platform, and the program's end.
#include <QtTest>
#include <QLabel>
#include <QPointer>
#include <functional>
#include <optional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/rereadprogress.h"
#include "core/settings.h"
#include "core/splash.h"
#include "startup/startup.h"
#include "mainwindow/mainwindow.h"
#include "shots.h"
#include "testenv.h"

using namespace gw;

namespace {

void ClearProgramValues()
{
    for (QString* value :
         {&IniFile, &HelpFile, &ExeFile, &FontsKey, &SystemFontDir, &UserDataDir, &Type1MetricsDir, &Type1OutlineDir})
        value->clear();
    ATMInstalled = false;
    RegFontList.clear();
}

int Run(const std::function<QWidget*()>& makeWindow)
{
    char name[] = "glyphwick";
    char* argv[] = {name, nullptr};
    return RunGlyphwick(1, argv, makeWindow, false);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void init() { env.emplace(); }
    void cleanup()
    {
        UnloadSplash();
        UnloadRereadProgress();
        env.reset();
    }

    void stepsRunInOrder()
    {
        ClearProgramValues();
        env->fake.registry->values = {{"Arial (TrueType)", "arial.ttf"}};
        KeyboardOpen = true;

        // What the main window finds when it is made: everything before it is done.
        bool splashLoaded = false;
        size_t regRows = 0;
        QString winDir;
        StartupSequence sequence([&]() -> QWidget* {
            splashLoaded = Splash() && Splash()->isVisible();
            regRows = RegFontList.size();
            winDir = UserDataDir;
            return new QWidget;
        });
        QVERIFY(sequence.Run());
        std::unique_ptr<QWidget> window(sequence.MainWindow());

        QCOMPARE(sequence.Steps(), QStringList({"paths", "fonts key", "components", "first start", "atm", "splash",
                                                "folders", "registrations", "main window"}));
        QVERIFY(splashLoaded);
        QCOMPARE(Child<QLabel>(*Splash(), "statusLabel").text() + " | " + Child<QLabel>(*Splash(), "versionLabel").text(),
                 QStringLiteral("Loading... | Version 0.1, for Linux"));
        QCOMPARE(regRows, size_t(2));
        QCOMPARE(winDir, env->fake.system->windowsDirectory + "/");
        QVERIFY(!KeyboardOpen);
        // Leftovers of a killed run are looked for in the last PDF's folder too.
        WriteIniString("Inventory", "PdfFile", "/Out Put/Cat.pdf", IniFile);
        StartupFolders();
        QVERIFY(env->fake.storage->leftoverFolders.contains("/Out Put"));
    }

    // A start ended before the main window shows nothing more and writes no settings.
    void endsBeforeTheMainWindow_data()
    {
        QTest::addColumn<bool>("versionFails");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("version unknown") << true << QStringList{"paths", "fonts key"}
                                         << QStringList{"Error Getting Version Information"};
        QTest::newRow("Exit in the component checker") << false << QStringList{"paths", "fonts key", "components"}
                                                       << QStringList{};
    }
    void endsBeforeTheMainWindow()
    {
        QFETCH(bool, versionFails);
        ClearProgramValues();
        env->fake.system->versionFails = versionFails;
        SetComponentChecker([] { return false; });  // Exit
        bool made = false;
        auto makeWindow = [&]() -> QWidget* { made = true; return new QWidget; };
        StartupSequence sequence(makeWindow);
        QVERIFY(!sequence.Run());
        QTEST(sequence.Steps(), "steps");
        QVERIFY(!sequence.MainWindow() && !made && !Splash());
        QVERIFY(!QFile::exists(IniFile));
        QTEST(env->fake.messages->texts, "messages");
        if (versionFails) {
            QVERIFY(FontsKey.isEmpty());
            QCOMPARE(env->fake.messages->styles, QList<int>{vbOKOnly});
            QCOMPARE(Run(makeWindow), 1);
            QVERIFY(!made && !QFile::exists(IniFile));
        }
        SetComponentChecker(nullptr);
    }

    // Without a display the program says so and ends, before Qt would abort.
    void missingDisplay_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<bool>("missing");
        QTest::newRow("default platform, no display at all") << "" << "" << "" << true;
        QTest::newRow("default platform, X display") << "" << ":0" << "" << false;
        QTest::newRow("xcb needs DISPLAY") << "xcb" << "" << "wayland-0" << true;
        QTest::newRow("wayland needs WAYLAND_DISPLAY") << "wayland" << ":0" << "" << true;
        QTest::newRow("a list: one that can start is enough") << "wayland;xcb" << ":0" << "" << false;
        QTest::newRow("offscreen needs no display") << "offscreen" << "" << "" << false;
    }
    void missingDisplay()
    {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QTEST(MissingDisplayText(platform, display, wayland).contains("needs a graphical display"), "missing");
    }

    // The Show keys as a first start writes them, and as people write them by hand.
    void showSwitches_data()
    {
        QTest::addColumn<QString>("existing");  // null: no gw.ini
        QTest::addColumn<bool>("on");
        QTest::newRow("first start lists every kind") << QString() << true;
        QTest::newRow("an existing file keeps the defaults") << "[Main]\nTop=1\n" << false;
        QTest::newRow("words count as 1") << "[GW]\nShowTrueType=Yes\nShowATM= true \nShowDevice=ON\n" << true;
        QTest::newRow("other values are off") << "[GW]\nShowTrueType=2\nShowATM=no\nShowDevice=onward\n" << false;
    }
    void showSwitches()
    {
        QFETCH(QString, existing);
        StartupPaths();
        QFile::remove(IniFile);
        if (!existing.isNull())
            QVERIFY(WriteFile(IniFile, existing.toLatin1()));
        FirstStartSettings();
        for (const char* key : {"ShowTrueType", "ShowATM", "ShowDevice"})
            QTEST(ReadIniSwitch("GW", key, IniFile), "on");
    }

    void atmDetection_data()
    {
        QTest::addColumn<QString>("atmIni");
        QTest::addColumn<QString>("pfmDir");  // empty: not installed; the PFB folder alike
        QTest::addColumn<QString>("adobe");
        const QString setup = "[Setup]\nPFM_DIR=/t1/pfm\nPFB_Dir=/t1/pfb\n";
        QTest::newRow("on") << "[Settings]\nATM=on\nVersion=4.1\n" + setup << "/t1/pfm/"
                            << "Adobe Type Manager version 4.1 detected";
        QTest::newRow("without setup folders") << "[Settings]\nATM=On\n" << "/" << "Adobe Type Manager version  detected";
        QTest::newRow("Off") << "[Settings]\nATM=Off\nVersion=4.1\n" + setup << "" << "";
        QTest::newRow("no file: the view made from fontconfig") << "view:[Settings]\nATM=On\nVersion=2.14.1\n" << "/"
                                                                 << "Type 1 fonts found through fontconfig 2.14.1";
        QTest::newRow("no ATM.INI") << QString() << "" << "";
    }
    void atmDetection()
    {
        QFETCH(QString, atmIni);
        QFETCH(QString, pfmDir);
        if (atmIni.startsWith("view:"))
            env->fake.atm->text = atmIni.mid(5);
        else if (!atmIni.isNull())
            QVERIFY(WriteFile(UserDataDir + "ATM.INI", atmIni.toLatin1()));
        DetectATM();
        QCOMPARE(ATMInstalled, !pfmDir.isEmpty());
        QCOMPARE(Type1MetricsDir, pfmDir);
        QCOMPARE(Type1OutlineDir, QString(pfmDir).replace("pfm", "pfb"));
        QTEST(Child<QLabel>(*LoadSplash(), "type1Label").text(), "adobe");
    }

    // The logo, drawn by Qt alone (no style, no platform), has its approved pixels.
    void logoAsApproved_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("window icon") << 48;
        QTest::newRow("splash") << 256;
    }
    void logoAsApproved()
    {
        QFETCH(int, size);
        const QString file = QString(GW_TEST_DATA "/pictures/logo-%1.png").arg(size);
        const QString differs = PictureDiffers(GlyphwickLogo(size).toImage(), file, 2);
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
    }

    void wholeProgramRunsAndEnds()
    {
        QPointer<MainWindow> made;
        QCOMPARE(Run([&]() -> QWidget* {
                     made = new MainWindow;
                     QTimer::singleShot(0, made.data(), &QWidget::close);
                     return made.data();
                 }),
                 0);
        QVERIFY(!made);  // deleted once the loop ended
        QVERIFY(!Splash());
        QCOMPARE(IniFile, env->fake.system->programFolder + "/gw.ini");
        QVERIFY(ReadFile(IniFile).contains("[Main]"));
    }

private:
    std::optional<TestEnv> env;
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
