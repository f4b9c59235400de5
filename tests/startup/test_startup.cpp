// The start-up sequence on the fake platform, and the program's end.
#include <QtTest>
#include <QLabel>
#include <QPointer>
#include <functional>
#include <optional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/loader.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "core/splash.h"
#include "startup/startup.h"
#include "startup/version.h"
#include "mainwindow/fw.h"
#include "testenv.h"

using namespace gw;

namespace {

const QString NtKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
const QString OtherKey = QStringLiteral("software\\microsoft\\windows\\currentversion\\fonts");

void ClearProgramValues()
{
    for (QString* value : {&IniFile, &HelpFile, &ExeFile, &FontsKey, &SysDir, &WinDir, &WinIni, &PFMDir, &PFBDir})
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

QColor MiddlePixel(PictureBox* box, qreal where)
{
    const QImage image = box->ToImage();
    return image.pixelColor(int(image.width() * where), image.height() / 2);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void init() { env.emplace(); }
    void cleanup()
    {
        UnloadSplash();
        UnloadLoader();
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
            winDir = WinDir;
            return new QWidget;
        });
        QVERIFY(sequence.Run());
        std::unique_ptr<QWidget> window(sequence.MainWindow());

        const QStringList expected{"paths",  "fonts key", "components",   "first start", "atm",
                                   "splash", "folders",   "registrations", "main window"};
        QCOMPARE(sequence.Steps(), expected);
        QVERIFY(window);
        QVERIFY(splashLoaded);
        QCOMPARE(Splash()->lblStatus->text(), QStringLiteral("Loading..."));
        QCOMPARE(regRows, size_t(2));
        QCOMPARE(winDir, env->fake.system->windowsDirectory + "/");
        QVERIFY(!KeyboardOpen);
        QCOMPARE(env->fake.registry->openKeys, 0);
    }

    void exitInTheComponentCheckerEndsTheProgram()
    {
        ClearProgramValues();
        int checks = 0;
        SetComponentChecker([&] { return ++checks > 1; });  // Exit the first time, Continue after
        bool made = false;
        StartupSequence ended([&]() -> QWidget* { made = true; return new QWidget; });
        QVERIFY(!ended.Run());
        QCOMPARE(ended.Steps(), (QStringList{"paths", "fonts key", "components"}));
        QVERIFY(!made);
        QVERIFY(!Splash());
        StartupSequence goesOn([&]() -> QWidget* { made = true; return new QWidget; });
        QVERIFY(goesOn.Run());
        std::unique_ptr<QWidget> window(goesOn.MainWindow());
        QVERIFY(made);
        SetComponentChecker(nullptr);
    }

    void windowsVersionText_data()
    {
        QTest::addColumn<QList<uint>>("version");  // platform, major, minor, build
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fontsKey");
        QTest::newRow("Win32s") << QList<uint>{VER_PLATFORM_WIN32s, 3, 11, 0}
                                << "Windows 32s 3.11 (Build 0)\r\n\r\n" << OtherKey;
        QTest::newRow("Windows NT") << QList<uint>{VER_PLATFORM_WIN32_NT, 4, 0, 1381}
                                    << "Windows NT 4.0 (Build 1381)\r\n\r\n" << NtKey;
        QTest::newRow("Linux, whole 32-bit build") << QList<uint>{VER_PLATFORM_LINUX, 6, 1, 4294967295u}
                                                   << "Linux 6.1 (Build 4294967295)\r\n\r\n" << OtherKey;
        QTest::newRow("unknown platform") << QList<uint>{7, 1, 2, 3} << "1.2 (Build 3)\r\n\r\n" << OtherKey;
    }
    void windowsVersionText()
    {
        QFETCH(QString, text);
        QFETCH(QString, fontsKey);
        QFETCH(QList<uint>, version);
        OsVersionInfo& v = env->fake.system->version;
        v.dwPlatformId = version[0];
        v.dwMajorVersion = version[1];
        v.dwMinorVersion = version[2];
        v.dwBuildNumber = version[3];
        bool failed = true;
        QCOMPARE(GetWindowsVersion(&failed), text);
        QVERIFY(!failed);
        QCOMPARE(IsWindowsNT(), fontsKey == NtKey);
        FontsKey.clear();
        QVERIFY(StartupFontsKey());
        QCOMPARE(FontsKey, fontsKey);
    }

    void versionFailureEndsTheProgram()
    {
        ClearProgramValues();
        env->fake.system->versionFails = true;
        bool made = false;
        auto makeWindow = [&]() -> QWidget* {
            made = true;
            return new QWidget;
        };
        StartupSequence sequence(makeWindow);
        QVERIFY(!sequence.Run());
        QCOMPARE(sequence.Steps(), (QStringList{"paths", "fonts key"}));
        QVERIFY(!sequence.MainWindow());
        QVERIFY(!Splash());
        QVERIFY(FontsKey.isEmpty());
        QCOMPARE(env->fake.messages->texts, QStringList{"Error Getting Version Information"});
        QCOMPARE(env->fake.messages->titles, QStringList{"Glyphwick"});
        QCOMPARE(env->fake.messages->styles, QList<int>{vbOKOnly});

        QCOMPARE(Run(makeWindow), 1);
        QCOMPARE(env->fake.messages->texts.size(), 2);
        QVERIFY(!made);
        QVERIFY(!QFile::exists(IniFile));
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
        QFETCH(bool, on);
        StartupPaths();
        QFile::remove(IniFile);
        if (!existing.isNull())
            QVERIFY(WriteFile(IniFile, existing.toLatin1()));
        FirstStartSettings();
        for (const char* key : {"ShowTrueType", "ShowATM", "ShowDevice"})
            QCOMPARE(ReadIniSwitch("GW", key, IniFile), on);
    }

    void atmDetection_data()
    {
        QTest::addColumn<QString>("atmIni");
        QTest::addColumn<QString>("pfmDir");  // empty: not installed
        QTest::addColumn<QString>("pfbDir");
        QTest::addColumn<QString>("adobe");
        const QString setup = "[Setup]\nPFM_DIR=/t1/pfm\nPFB_Dir=/t1/pfb\n";
        QTest::newRow("on") << "[Settings]\nATM=on\nVersion=4.1\n" + setup << "/t1/pfm/" << "/t1/pfb/"
                            << "Adobe Type Manager version 4.1 detected";
        QTest::newRow("ON, no version") << "[Settings]\nATM=ON\n" + setup << "/t1/pfm/" << "/t1/pfb/"
                                        << "Adobe Type Manager version  detected";
        QTest::newRow("without setup folders") << "[Settings]\nATM=On\n" << "/" << "/"
                                               << "Adobe Type Manager version  detected";
        QTest::newRow("Off") << "[Settings]\nATM=Off\nVersion=4.1\n" + setup << "" << "" << "";
        QTest::newRow("no file: the view made from fontconfig") << "view:[Settings]\nATM=On\nVersion=2.14.1\n" << "/"
                                                                 << "/" << "Type 1 fonts found through fontconfig 2.14.1";
        QTest::newRow("no ATM.INI") << QString() << "" << "" << "";
    }
    void atmDetection()
    {
        QFETCH(QString, atmIni);
        QFETCH(QString, pfmDir);
        QFETCH(QString, pfbDir);
        QFETCH(QString, adobe);
        if (atmIni.startsWith("view:"))
            env->fake.atm->text = atmIni.mid(5);
        else if (!atmIni.isNull())
            QVERIFY(WriteFile(WinDir + "ATM.INI", atmIni.toLatin1()));
        DetectATM();
        QCOMPARE(ATMInstalled, !pfmDir.isEmpty());
        QCOMPARE(PFMDir, pfmDir);
        QCOMPARE(PFBDir, pfbDir);
        QCOMPARE(LoadSplash()->lblAdobe->text(), adobe);
    }

    void splashAndLoaderGauges()
    {
        frmSplash* splash = LoadSplash();
        QCOMPARE(splash->lblVersion->text(), QStringLiteral("Version 0.1, for Linux"));
        const QColor bar = splash->palette().color(QPalette::Highlight);
        const QColor face = splash->palette().color(QPalette::Button);
        QCOMPARE(MiddlePixel(splash->picGauge, 0.5), face);
        splash->DrawProgress(50);
        QCOMPARE(MiddlePixel(splash->picGauge, 0.25), bar);
        QCOMPARE(MiddlePixel(splash->picGauge, 0.75), face);
        UnloadSplash();
        QVERIFY(!Splash());

        Loader* loader = LoadLoader();
        QVERIFY(!loader->isVisible());
        QCOMPARE(MiddlePixel(loader->Picture1, 0.1), face);
        loader->DrawProgress(100);
        QCOMPARE(MiddlePixel(loader->Picture1, 0.9), bar);
        UnloadLoader();
        QVERIFY(!LoaderWindow());
    }

    void foldersAreLowerCased_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("folder that does not exist") << false;
        QTest::newRow("existing folder keeps its case") << true;
    }
    void foldersAreLowerCased()
    {
        QFETCH(bool, exists);
        const QString base = env->root() + "/Mixed";
        env->fake.system->windowsDirectory = base + "/Windows";
        env->fake.system->systemDirectory = base + "/System";
        if (exists) {
            QVERIFY(QDir().mkpath(base + "/Windows"));
            QVERIFY(QDir().mkpath(base + "/System"));
        }
        StartupFolders();
        // The existing temporary root keeps its spelling; only what is missing is lower-cased.
        const QString winDir = exists ? base + "/Windows/" : env->root() + "/mixed/windows/";
        const QString sysDir = exists ? base + "/System/" : env->root() + "/mixed/system/";
        QCOMPARE(WinDir, winDir);
        QCOMPARE(SysDir, sysDir);
        QCOMPARE(WinIni, winDir + "win.ini");
    }

    void wholeProgramRunsAndEnds()
    {
        env->fake.registry->values = {{"Arial (TrueType)", "arial.ttf"},
                                      {"Courier (TrueType)", "cour.ttf"}};
        QPointer<FW> made;
        QCOMPARE(Run([&]() -> QWidget* {
                     made = new FW;
                     // Close it from inside the event loop, as the user would.
                     QTimer::singleShot(0, made.data(), &QWidget::close);
                     return made.data();
                 }),
                 0);
        QVERIFY(!made);  // deleted once the loop ended
        QVERIFY(!Splash());
        QCOMPARE(RegFontList.size(), size_t(3));
        QCOMPARE(FontTable.size(), size_t(1));
        QCOMPARE(FontTable[0].FullName, QStringLiteral("X"));
        QCOMPARE(IniFile, env->fake.system->programFolder + "/gw.ini");
        QVERIFY(ReadFile(IniFile).contains("[Main]"));
    }

private:
    std::optional<TestEnv> env;
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
