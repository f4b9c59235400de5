#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "testenv.h"

using namespace gw;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void namesMatchWithoutCase()
    {
        WriteIniString("CatalogWizard", "sourceDir", "/opt/atm", IniFile);
        QCOMPARE(ReadIniString("catalogWizard", "SOURCEDIR", "", IniFile), QString("/opt/atm"));
        // Writing again through the other spelling replaces, it does not add.
        WriteIniString("CATALOGWIZARD", "sourcedir", "second", IniFile);
        QCOMPARE(ReadIniString("CatalogWizard", "sourceDir", "", IniFile), QString("second"));
        QCOMPARE(ReadFile(IniFile), QByteArray("[CatalogWizard]\nsourceDir=second\n"));
    }

    void defaults_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("missing file") << false << "GW" << "SampleText";
        QTest::newRow("missing section") << true << "Keyboard" << "SampleText";
        QTest::newRow("missing key") << true << "GW" << "CurrentFont";
    }
    void defaults()
    {
        QFETCH(bool, fileExists);
        QFETCH(QString, section);
        QFETCH(QString, key);
        if (fileExists)
            QVERIFY(WriteFile(IniFile, "[GW]\nSampleText=hello\nTextSize=40\n"));
        QCOMPARE(ReadIniString(section, key, "fallback", IniFile), QString("fallback"));
        QCOMPARE(ReadIniInt(section, key, -5, IniFile), -5);
        QVERIFY(env_->fake.messages->texts.isEmpty());
        QCOMPARE(QFileInfo::exists(IniFile), fileExists); // reading creates nothing
    }

    void stringCutTo99_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("expected");
        QTest::newRow("99") << 99 << 99;
        QTest::newRow("100") << 100 << 99;
    }
    void stringCutTo99()
    {
        QFETCH(int, length);
        QFETCH(int, expected);
        QString value;
        for (int i = 0; i < length; ++i)
            value += QChar('a' + i % 26);
        WriteIniString("Quotes", "Quote1", value, IniFile);
        QCOMPARE(ReadIniString("Quotes", "Quote1", "", IniFile), value.left(expected));
        // A long default is cut the same way.
        QCOMPARE(ReadIniString("Quotes", "Quote2", value, IniFile), value.left(expected));
    }

    void bufferSize()
    {
        WriteIniString("S", "k", "0123456789", IniFile);
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 5), QString("0123"));
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 1), QString());
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 0), QString());
        QCOMPARE(GetPrivateProfileString("S", "none", "defaults", IniFile, 4), QString("def"));
    }

    void readInt_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("leading blank") << " 1200" << 1200;
        QTest::newRow("negative") << "-15" << -15;
        QTest::newRow("plus sign") << "+7" << 7;
        QTest::newRow("trailing text") << "12abc" << 12;
        QTest::newRow("non-numeric") << "abc" << 0;
        QTest::newRow("blank after sign") << "- 3" << 0;
        QTest::newRow("beyond 16 bits") << "100000" << 100000;
        QTest::newRow("empty value gives default") << "" << 33;
    }
    void readInt()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        WriteIniString("GW", "PointSize", stored, IniFile);
        QCOMPARE(ReadIniInt("GW", "PointSize", 33, IniFile), expected);
    }

    void firstWriteCreatesFile()
    {
        const QString elsewhere = env_->root() + "/not/yet/there.ini";
        WriteIniString("A", "b", "c", elsewhere);
        QCOMPARE(ReadFile(elsewhere), QByteArray("[A]\nb=c\n"));
        // A file given without a folder lies in the per-user data folder.
        WriteIniString("S", "k", "v", "other.ini");
        QCOMPARE(ReadIniString("S", "k", "", WinDir + "other.ini"), QString("v"));
    }

    void writeKeepsOtherContent()
    {
        const QByteArray before = "; my own notes\n[GW]\nShowTrueType=1\nFutureKey=  spaced value \n"
                                  "garbage without equals\n\n[Inventory]\nTitle=Fonts\n\n[Strange Section]\nx=y\n";
        QVERIFY(WriteFile(IniFile, before));
        WriteIniString("GW", "ShowTrueType", "0", IniFile);
        WriteIniString("Inventory", "EndDoc", "3", IniFile);
        QByteArray expected = before;
        expected.replace("ShowTrueType=1", "ShowTrueType=0");
        expected.replace("Title=Fonts\n", "Title=Fonts\nEndDoc=3\n");
        QCOMPARE(ReadFile(IniFile), expected);
        QCOMPARE(ReadIniString("GW", "FutureKey", "", IniFile), QString("spaced value"));
    }

    void atmIniGoesToPlatform()
    {
        const QString file = "Atm.Ini";
        env_->fake.atm->text = "[Settings]\nATM=On\n[Setup]\nPFM_DIR=/psfonts/pfm\n";
        QCOMPARE(GetPrivateProfileString("Settings", "ATM", "Off", file, 100), QString("On"));
        QCOMPARE(ReadIniString("setup", "pfm_dir", "", file), QString("/psfonts/pfm"));
        QCOMPARE(ReadIniInt("Settings", "Missing", 9, file), 9);
        // With a folder it is an ordinary file.
        QVERIFY(WriteFile(env_->root() + "/elsewhere/" + file, "[Settings]\nATM=Off\n"));
        QCOMPARE(ReadIniString("Settings", "ATM", "", env_->root() + "/elsewhere/" + file), QString("Off"));
    }

    void paragraph_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lines run together") << 1 << QByteArray("The quick\nfox\nover.\n") << "The quickfoxover.";
        QTest::newRow("CRLF, CR, blank lines") << 2 << QByteArray("a\r\nb\rc\r\n\n\nd") << "abcd";
        QTest::newRow("empty file") << 1 << QByteArray() << "";
        QTest::newRow("UTF-8") << 1 << QByteArray("caf\xC3\xA9\n\xE2\x80\x9Cq\xE2\x80\x9D") << "caf\u00E9\u201Cq\u201D";
        QTest::newRow("code page 1252") << 2 << QByteArray("caf\xE9\n\x93q\x94") << "caf\u00E9\u201Cq\u201D";
    }
    void paragraph()
    {
        QFETCH(int, n);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QVERIFY(WriteFile(QFileInfo(IniFile).path() + QString("/papara%1.txt").arg(n), bytes));
        QCOMPARE(ReadParagraph(n), expected);
    }

    void paragraphMissingThrows()
    {
        const QString folder = QFileInfo(IniFile).path();
        QVERIFY(WriteFile(folder + "/papara1.txt", "first"));
        QCOMPARE(ReadParagraph(1), QString("first"));
        QVERIFY_THROWS_EXCEPTION(ParagraphError, ReadParagraph(2));
        QVERIFY(QDir().mkpath(folder + "/papara2.txt"));  // a folder is no file either
        QVERIFY_THROWS_EXCEPTION(ParagraphError, ReadParagraph(2));
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
