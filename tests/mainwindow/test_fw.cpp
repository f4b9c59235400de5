// The stand-in main window: its load and the program's shut-down.
#include <QtTest>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <optional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/loader.h"
#include "core/settings.h"
#include "core/splash.h"
#include "mainwindow/fw.h"
#include "testenv.h"

using namespace gw;

namespace {

const QByteArray SavedIni = "[GW]\nPointSize=48\n"
                            "[Main]\nTop= 1500\nLeft= 1500\nHeight= 6000\nWidth= 9000\n";

} // namespace

class TestFW : public QObject {
    Q_OBJECT

private slots:
    void init() { env.emplace(); }
    void cleanup()
    {
        UnloadSplash();
        UnloadLoader();
        env.reset();
    }

    void loadWithSplash()
    {
        QPointer<frmSplash> splash = LoadSplash();
        splash->show();
        FontTable.resize(4);
        FW fw;
        QVERIFY(!splash);
        QVERIFY(!Splash());
        QVERIFY(fw.isVisible());
        QCOMPARE(fw.windowTitle(), QStringLiteral("Glyphwick"));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(FontTable.size(), size_t(1));
        QCOMPARE(FontTable[0].FullName, QStringLiteral("X"));
    }

    void firstStartIsCentred()
    {
        FW fw;
        const QRect screen = fw.screen()->geometry();
        QVERIFY(fw.width() > 200 && fw.height() > 150);
        QVERIFY(qAbs(fw.geometry().center().x() - screen.center().x()) <= 2);
        QVERIFY(qAbs(fw.geometry().center().y() - screen.center().y()) <= 2);
    }

    void closeWritesPlacement()
    {
        QVERIFY(!QFile::exists(IniFile));
        const QRect placed(30, 45, 640, 420);
        {
            FW fw;
            QVERIFY(fw.geometry() != placed);
            fw.setGeometry(placed);
            QVERIFY(fw.close());
        }
        QVERIFY(QFile::exists(IniFile));
        QCOMPARE(IniFile, env->fake.system->programFolder + "/gw.ini");

        const QString text = QString::fromLatin1(ReadFile(IniFile));
        for (const char* key : {"Top", "Left", "Height", "Width"}) {
            const QRegularExpression line(QStringLiteral("^%1= \\d+$").arg(QLatin1String(key)),
                                          QRegularExpression::MultilineOption);
            QVERIFY2(line.match(text).hasMatch(), qPrintable(QString(key) + " in\n" + text));
        }
        QCOMPARE(ReadIniInt("Main", "Width", -1, IniFile), 640 * TwipsPerPixel);
        QCOMPARE(ReadIniInt("Main", "Height", -1, IniFile), 420 * TwipsPerPixel);
        QCOMPARE(ReadIniString("GW", "CurrentFont", "none", IniFile), QStringLiteral("none"));

        // The next start opens where this one ended.
        FW next;
        QCOMPARE(next.geometry(), placed);
    }

    void closeWhileMinimised_data()
    {
        QTest::addColumn<bool>("minimised");
        QTest::newRow("minimised: placement kept") << true;
        QTest::newRow("normal: placement saved") << false;
    }
    void closeWhileMinimised()
    {
        QFETCH(bool, minimised);
        QVERIFY(WriteFile(IniFile, SavedIni));
        FW fw;
        fw.setGeometry(200, 100, 500, 300);
        if (minimised) {
            fw.showMinimized();
            QVERIFY(fw.isMinimized());
        }
        QVERIFY(fw.close());

        if (minimised) {
            QCOMPARE(ReadFile(IniFile), SavedIni);
        } else {
            QVERIFY(ReadFile(IniFile) != SavedIni);
            QCOMPARE(ReadIniInt("Main", "Width", -1, IniFile), 500 * TwipsPerPixel);
            QCOMPARE(ReadIniInt("Main", "Height", -1, IniFile), 300 * TwipsPerPixel);
            QCOMPARE(ReadIniInt("GW", "PointSize", -1, IniFile), 48);
        }
    }

    void closeUnloadsTheOtherWindows()
    {
        FW fw;
        QPointer<Loader> loader = LoadLoader();
        loader->show();
        QWidget other;
        other.show();
        QVERIFY(fw.close());
        QVERIFY(!loader);
        QVERIFY(!LoaderWindow());
        QVERIFY(!other.isVisible());
    }

private:
    std::optional<TestEnv> env;
};

QTEST_MAIN(TestFW)
#include "test_fw.moc"
