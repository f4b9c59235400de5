// "ATM.INI" on the desktop: the Type 1 fonts fontconfig lists, or a real file.
#include <QtTest>

#include <fontconfig/fontconfig.h>

#include "core/codepage.h"
#include "core/helpers.h"
#include "testenv.h"

using namespace gw;

class TestDesktopAtm : public QObject {
    Q_OBJECT
private slots:
    void settingsAndSetup()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        QCOMPARE(Sys().atm->GetProfileString("Settings", "ATM", "").toUpper(), QString("ON"));
        const int v = FcGetVersion();
        QCOMPARE(Sys().atm->GetProfileString("settings", "version", ""),
                 QString("%1.%2.%3").arg(v / 10000).arg(v / 100 % 100).arg(v % 100));
        const QString pfm = Sys().atm->GetProfileString("Setup", "PFM_DIR", "");
        const QString pfb = Sys().atm->GetProfileString("Setup", "PFB_Dir", "");
        QVERIFY2(QFileInfo(pfm).isDir() && !pfm.endsWith('/'), qPrintable(pfm));
        QVERIFY2(QFileInfo(pfb).isDir() && !pfb.endsWith('/'), qPrintable(pfb));
        QCOMPARE(Sys().atm->GetProfileString("Setup", "Nothing", "dflt"), QString("dflt"));
    }

    void styleKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("baseName");
        QTest::newRow("bold") << "Nimbus Sans,BOLD" << "NimbusSans-Bold";
        QTest::newRow("any case") << "nimbus sans,Bold" << "NimbusSans-Bold";
        QTest::newRow("regular is the face alone") << "Nimbus Sans" << "NimbusSans-Regular";
        QTest::newRow("italic") << "Nimbus Sans,ITALIC" << "NimbusSans-Italic";
        QTest::newRow("bold italic") << "Nimbus Sans,BOLDITALIC" << "NimbusSans-BoldItalic";
        QTest::newRow("book is regular") << "URW Gothic" << "URWGothic-Book";
        QTest::newRow("light") << "URW Bookman,LIGHT" << "URWBookman-Light";
        QTest::newRow("light italic") << "URW Bookman,LIGHTITALIC" << "URWBookman-LightItalic";
    }
    void styleKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, baseName);
        TestEnv env;
        env.UseDesktopPlatform();
        const QString value = Sys().atm->GetProfileString("Fonts", key, "");
        const QStringList parts = value.split(',');
        QCOMPARE(parts.size(), 2);
        QVERIFY2(QFileInfo(parts[0]).isFile(), qPrintable(value));
        QVERIFY2(QFileInfo(parts[1]).isFile(), qPrintable(value));
        QCOMPARE(QFileInfo(parts[0]).completeBaseName(), baseName);
        QCOMPARE(QFileInfo(parts[1]).completeBaseName(), baseName);
        QVERIFY(parts[0].endsWith(".afm") || parts[0].endsWith(".pfm"));
        QVERIFY(parts[1].endsWith(".pfb") || parts[1].endsWith(".pfa") || parts[1].endsWith(".t1"));
        QCOMPARE(QFileInfo(parts[0]).path(), Sys().atm->GetProfileString("Setup", "PFM_DIR", ""));
        QCOMPARE(Sys().atm->GetProfileString("Fonts", key + "X", "none"), QString("none"));
    }

    // Every Type 1 family the enumeration offers is found by the key it forms.
    void everyEnumeratedType1FamilyHasAKey()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        int families = 0;
        Sys().fonts->EnumFontFamilies(DeviceContext::Display, {}, [&](const EnumLogFont& elf, const TextMetric&,
                                                                     int type, int) {
            if (type != DEVICE_FONTTYPE)
                return;
            ++families;
            const QString face = FromCp1252(elf.lfFaceName, int(qstrlen(elf.lfFaceName)));
            QString style = WeightName(elf.lfWeight);
            if (elf.lfItalic == 1)
                style = elf.lfWeight == 400 ? QString("Italic") : style + "Italic";
            const QString key = style == "Normal" ? face : face + "," + style;
            QVERIFY2(!Sys().atm->GetProfileString("Fonts", key, "").isEmpty(), qPrintable(key));
        }, 1);
        QVERIFY(families >= 10);
    }

    void aRealFileTakesPrecedence_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("upper case") << "ATM.INI";
        QTest::newRow("lower case") << "atm.ini";
    }
    void aRealFileTakesPrecedence()
    {
        QFETCH(QString, fileName);
        TestEnv env;
        env.UseDesktopPlatform();
        // Looked at once before the file exists, so a cached view must not win.
        QCOMPARE(Sys().atm->GetProfileString("Settings", "ATM", ""), QString("On"));
        QVERIFY(WriteFile(env.dataHome() + "/" + fileName,
                          "[Settings]\r\nATM=Off\r\nVersion=4.0\r\n[Setup]\r\nPFM_DIR=c:\\psfonts\\pfm\r\n"
                          "[Fonts]\r\nFutura,BOLD=c:\\psfonts\\pfm\\fub.pfm,c:\\psfonts\\fub.pfb\r\n"));
        QCOMPARE(Sys().atm->GetProfileString("Settings", "ATM", ""), QString("Off"));
        QCOMPARE(Sys().atm->GetProfileString("Settings", "Version", ""), QString("4.0"));
        QCOMPARE(Sys().atm->GetProfileString("Fonts", "futura,bold", ""),
                 QString("c:\\psfonts\\pfm\\fub.pfm,c:\\psfonts\\fub.pfb"));
        QCOMPARE(Sys().atm->GetProfileString("Fonts", "Nimbus Sans,BOLD", "none"), QString("none"));
    }
};

QTEST_MAIN(TestDesktopAtm)
#include "test_desktopatm.moc"
