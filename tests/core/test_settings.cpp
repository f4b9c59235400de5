#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

#include "core/globals.h"
#include "core/settings.h"
#include "testenv.h"

using namespace gw;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

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

    void bufferSize()
    {
        WriteIniString("S", "k", "0123456789", IniFile);
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 5), QString("0123"));
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 1), QString());
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 0), QString());
        QCOMPARE(GetPrivateProfileString("S", "none", "defaults", IniFile, 4), QString("def"));
        // ReadIniString keeps 99 characters, of a default too.
        const QString hundred(100, 'a');
        WriteIniString("S", "long", hundred, IniFile);
        QCOMPARE(ReadIniString("S", "long", "", IniFile), hundred.left(99));
        QCOMPARE(ReadIniString("S", "none", hundred, IniFile), hundred.left(99));
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

    // Texts the user typed come back whole; files written before read as they were.
    void userTextsComeBackWhole_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QString longText;
        for (int i = 0; i < 500; ++i)
            longText += QChar('a' + i % 26);
        QTest::newRow("long sample text") << "GW" << "SampleText" << longText;
        QTest::newRow("line breaks") << "GW" << "SampleText" << "one\ntwo\r\nthree\n\n";
        QTest::newRow("backslashes and escapes typed") << "Quotes" << "Quote10" << "C:\\new\\table \\n \\u0041 \\";
        QTest::newRow("blanks at both ends, tab inside") << "Inventory" << "Title" << "  \u00A0Catalog\tx  ";
    }
    void userTextsComeBackWhole()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QVERIFY(IsUserText(section, key));
        WriteIniString(section, key, text, IniFile);
        QCOMPARE(ReadFile(IniFile).count('\n'), 2); // header and one line
        QCOMPARE(ReadIniString(section, key, "", IniFile), text);
    }

    // A settings file that exists but cannot be read is never written over.
    void unreadableFileLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not readable (mode 0200)") << "0200";
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a device") << "device";
    }
    void unreadableFileLeftAlone()
    {
        QFETCH(QString, kind);
        const QByteArray path = QFile::encodeName(IniFile);
        if (kind == "0200") {
            if (::geteuid() == 0)
                QSKIP("root reads any file");
            QVERIFY(WriteFile(IniFile, "[GW]\nANSI=70\n[Main]\nWidth= 9000\n"));
            QVERIFY(::chmod(path, 0200) == 0);
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(path, 0600) == 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(IniFile));
        } else {
            QVERIFY(QFile::link("/dev/null", IniFile));
        }
        struct stat before {};
        QVERIFY(::lstat(path, &before) == 0);

        QCOMPARE(ReadIniInt("GW", "ANSI", 65, IniFile), 65); // a FIFO returns at once
        WriteIniString("Main", "Width", " 13500", IniFile);
        {
            IniBatch batch(IniFile);
            WriteIniString("GW", "ANSI", "66", IniFile);
        }
        QCOMPARE(ReadIniString("GW", "CurrentFont", "dflt", IniFile), QString("dflt"));

        struct stat after {};
        QVERIFY(::lstat(path, &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        QCOMPARE(env_->fake.messages->texts.size(), 1); // said once
        QCOMPARE(env_->fake.messages->titles, QStringList("Glyphwick"));
        QVERIFY(env_->fake.messages->texts[0].contains("cannot read its settings"));
        QVERIFY(env_->fake.messages->texts[0].contains("will not save"));
        ::chmod(path, 0600);
    }

    void readOnlyFileLeftAloneWritableKeepsMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("read-only 0444 left alone") << 0444 << false;
        QTest::newRow("0640 keeps its mode") << 0640 << true;
        QTest::newRow("0604 keeps its mode") << 0604 << true;
    }
    void readOnlyFileLeftAloneWritableKeepsMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, replaced);
        const QByteArray before = "; mine\n[GW]\nANSI=70\n";
        QVERIFY(WriteFile(IniFile, before));
        const QByteArray path = QFile::encodeName(IniFile);
        QVERIFY(::chmod(path, mode_t(mode)) == 0);
        const int saves = SettingsSaveCount();
        WriteIniString("GW", "ANSI", "70", IniFile); // unchanged: nothing to save
        WriteIniString("GW", "ANSI", "71", IniFile);
        WriteIniString("GW", "PointSize", "12", IniFile);
        QCOMPARE(ReadFile(IniFile) == before, !replaced);
        QCOMPARE(SettingsSaveCount() - saves, replaced ? 2 : 0);
        struct stat st {};
        QVERIFY(::stat(path, &st) == 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
        QCOMPARE(env_->fake.messages->texts.size(), replaced ? 0 : 1);
        // The program goes on with what it was told.
        QCOMPARE(ReadIniInt("GW", "ANSI", 0, IniFile), 71);
    }

    void batchWritesOnce()
    {
        QVERIFY(WriteFile(IniFile, "[GW]\nANSI=70\n"));
        const int saves = SettingsSaveCount();
        {
            IniBatch outer(IniFile);
            WriteIniString("GW", "ANSI", "71", IniFile);
            {
                IniBatch inner(IniFile);
                WriteIniString("Main", "Top", " 15", IniFile);
            }
            QCOMPARE(ReadIniInt("GW", "ANSI", 0, IniFile), 71); // seen before the file has it
            QCOMPARE(ReadFile(IniFile), QByteArray("[GW]\nANSI=70\n"));
            // Another program's change meanwhile survives the batch.
            QVERIFY(WriteFile(IniFile, "[GW]\nANSI=70\nShowATM=1\n"));
        }
        QCOMPARE(SettingsSaveCount() - saves, 1);
        QCOMPARE(ReadFile(IniFile), QByteArray("[GW]\nANSI=71\nShowATM=1\n\n[Main]\nTop= 15\n"));
    }

    void fileChangedOnDiskBetweenReads_data()
    {
        QTest::addColumn<bool>("sameSize");
        QTest::newRow("same size, rewritten in place") << true;
        QTest::newRow("replaced by another file") << false;
    }
    void fileChangedOnDiskBetweenReads()
    {
        QFETCH(bool, sameSize);
        QVERIFY(WriteFile(IniFile, "[GW]\nANSI=70\n"));
        QCOMPARE(ReadIniInt("GW", "ANSI", 0, IniFile), 70);
        if (sameSize) {
            QFile file(IniFile);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(10);
            file.write("8");
        } else {
            QVERIFY(WriteFile(IniFile + ".other", "[GW]\nANSI=90\n"));
            QVERIFY(::rename(QFile::encodeName(IniFile + ".other"), QFile::encodeName(IniFile)) == 0);
        }
        QCOMPARE(ReadIniInt("GW", "ANSI", 0, IniFile), sameSize ? 80 : 90);
    }

    void staleTemporaryFilesRemoved()
    {
        const QString dir = QFileInfo(IniFile).path() + "/";
        const QStringList stale = {"gw.ini.999999999.saving", QString("gw.ini.%1.saving").arg(::getpid()),
                                   "gw.ini.aB3xYz"};
        const QStringList kept = {"gw.ini.backup", QString("gw.ini.%1.saving").arg(::getppid()), "gw.ini.bak",
                                  "other.ini.999999999.saving"};
        for (const QString& name : stale + kept) {
            QVERIFY(WriteFile(dir + name, "x"));
            QVERIFY(::chmod(QFile::encodeName(dir + name), 0600) == 0);
        }
        ReadIniString("GW", "ANSI", "", IniFile); // the first use in this run
        QStringList left = QDir(dir).entryList(QDir::Files);
        left.sort();
        QStringList expected = kept;
        expected.sort();
        QCOMPARE(left, expected);
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
