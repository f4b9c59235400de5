#include <QtTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/globals.h"
#include "core/profilefile.h"
#include "core/settings.h"
#include "testenv.h"

using namespace gw;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    // A settings file up to the limit is read whole, a larger one refused with the reason; none left open.
    void sizeLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("read");
        QTest::newRow("exactly the limit") << MaxProfileBytes << true;
        QTest::newRow("one byte more") << MaxProfileBytes + 1 << false;
    }
    void sizeLimit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, read);
        QFile file(IniFile);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
        file.close();
        const qsizetype open = QDir("/proc/self/fd").count();
        const ProfileFile profile = ReadProfileFile(IniFile);
        QCOMPARE(QDir("/proc/self/fd").count(), open);  // read whole or refused, the file is closed
        QCOMPARE(profile.state, read ? ProfileState::Ok : ProfileState::Unreadable);
        QCOMPARE(profile.bytes.size(), read ? size : 0);
        QCOMPARE(profile.reason, read ? QString() : QString("it is larger than 64 MB"));
    }

    // The texts a user types come back whole; other values are one line of at most 99 characters.
    void userTexts_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("whole");
        for (const char* key : {"GW/SampleText", "gw/username", "Inventory/Title", "Inventory/FooterLeft",
                                "Inventory/FooterRight", "SpecSheets/Header", "Quotes/QUOTE1", "quotes/quote12"})
            QTest::newRow(key) << QString(key).section('/', 0, 0) << QString(key).section('/', 1) << true;
        for (const char* key : {"GW/ATMPath", "Inventory/PointSize", "SpecSheets/Title", "Quotes/QUOTEx",
                                "Quotes/1", "Other/QUOTE1", "Other/SampleText"})
            QTest::newRow(key) << QString(key).section('/', 0, 0) << QString(key).section('/', 1) << false;
    }
    void userTexts()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, whole);
        const QString typed = "line one\n" + QString(100, 'x');
        QVERIFY(!QFileInfo::exists(IniFile));  // the first write creates the file
        WriteIniString(section, key, typed, IniFile);
        QVERIFY(QString::fromUtf8(ReadFile(IniFile)).contains("\n" + key + "="));
        const mode_t mask = ::umask(0);  // with the mode of any new file
        ::umask(mask);
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(IniFile).constData(), &st) == 0 && (st.st_mode & 07777) == (0666 & ~mask));
        QCOMPARE(ReadIniString(section, key, "", IniFile), whole ? typed : QString(typed).replace('\n', ' ').left(99));
    }

    void bufferSize()
    {
        WriteIniString("S", "k", "0123456789", IniFile);
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 5), QString("0123"));
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 1), QString());
        QCOMPARE(GetPrivateProfileString("S", "k", "", IniFile, 0), QString());
        QCOMPARE(GetPrivateProfileString("S", "none", "defaults", IniFile, 4), QString("def"));
        // ReadIniString keeps 99 characters of a default too (of a value: userTexts).
        QCOMPARE(ReadIniString("S", "none", QString(100, 'a'), IniFile), QString(99, 'a'));
    }

    void readInt_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("leading blank") << " 1200" << 1200;
        QTest::newRow("negative") << "-15" << -15;
        QTest::newRow("blank after sign") << "- 3" << 0;
        QTest::newRow("beyond 16 bits") << "100000" << 100000;
        QTest::newRow("empty value gives default") << "" << 33;
        QTest::newRow("no settings file: nothing created") << QString() << 33;
    }
    void readInt()
    {
        QFETCH(QString, stored);
        QVERIFY(stored.isNull() || WriteFile(IniFile, "[GW]\nPointSize=" + stored.toUtf8() + "\n"));
        errno = EINTR;  // an interrupted call that failed before, its error number still set, stops no reading
        QTEST(ReadIniInt("GW", "PointSize", 33, IniFile), "expected");
        QCOMPARE(QFileInfo::exists(IniFile), !stored.isNull()); // reading creates nothing
    }

    void firstWriteCreatesFile()
    {
        const QString elsewhere = env_->root() + "/not/yet/there.ini";
        WriteIniString("A", "b", "c", elsewhere);
        QCOMPARE(ReadFile(elsewhere), QByteArray("[A]\nb=c\n"));
        QCOMPARE(QDir(env_->root() + "/not/yet").entryList(QDir::Files | QDir::Hidden), QStringList{"there.ini"});
        // A file given without a folder lies in the per-user data folder.
        WriteIniString("S", "k", "v", "other.ini");
        QCOMPARE(ReadIniString("S", "k", "", UserDataDir + "other.ini"), QString("v"));
    }

    // A settings file that cannot be read or written is left alone and said once; a writable one keeps its mode.
    void fileLeftAloneUnlessWritable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not readable (mode 0200)") << "0200";
        QTest::newRow("read-only (mode 0444)") << "0444";
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("0640 keeps its mode") << "0640";
        QTest::newRow("another user's file written by root keeps its owner") << "owned";
        QTest::newRow("a link to the user's file is written through") << "link";
    }
    void fileLeftAloneUnlessWritable()
    {
        QFETCH(QString, kind);
        const QByteArray path = QFile::encodeName(IniFile);
        const QByteArray before = "; mine\n[GW]\nANSI=70\n";
        const bool owned = kind == "owned";
        const bool regular = kind.startsWith('0') || owned, readable = (regular && kind != "0200") || kind == "link";
        const bool writable = kind == "0640" || kind == "link" || owned;
        const QString linked = env_->root() + "/dotfiles/gw.ini";
        if (kind == "link") {
            QVERIFY(WriteFile(linked, before) && QFile::link(linked, IniFile));
        } else if (regular) {
            if (kind == "0200" && ::geteuid() == 0)
                QSKIP("root reads any file");
            if (owned && ::geteuid() != 0)
                QSKIP("only root gives a file to another user");
            QVERIFY(WriteFile(IniFile, before));
            QVERIFY(::chmod(path, owned ? 0640 : mode_t(kind.toInt(nullptr, 8))) == 0);
            QVERIFY(!owned || ::chown(path, 4321, 4321) == 0);
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(path, 0600) == 0);
        } else {
            QVERIFY(QDir().mkpath(IniFile));
        }
        const QFile::Permissions mode = QFile::permissions(IniFile);
        const int saves = SettingsSaveCount();

        QCOMPARE(ReadIniInt("GW", "ANSI", 65, IniFile), readable ? 70 : 65); // a FIFO returns at once
        WriteIniString("GW", "ANSI", "70", IniFile); // unchanged: nothing to save
        WriteIniString("GW", "ANSI", "71", IniFile);
        {
            IniBatch batch(IniFile);
            WriteIniString("GW", "PointSize", "12", IniFile);
        }
        QCOMPARE(ReadIniInt("GW", "ANSI", 0, IniFile), 71);
        QCOMPARE(SettingsSaveCount() - saves, writable ? 2 : 0);

        QCOMPARE(QFile::permissions(IniFile), mode);
        if (regular)
            QCOMPARE(ReadFile(IniFile) == before, !writable);
        if (kind == "link")
            QVERIFY(QFileInfo(IniFile).isSymLink() && ReadFile(linked).contains("ANSI=71"));
        struct stat st;
        QVERIFY(!owned || (::lstat(path, &st) == 0 && st.st_uid == 4321 && st.st_gid == 4321));
        QCOMPARE(env_->fake.messages->texts.size(), writable ? 0 : 1);
        if (!readable) {
            QCOMPARE(env_->fake.messages->titles, QStringList("Glyphwick"));
            QVERIFY(env_->fake.messages->texts[0].contains("cannot read its settings"));
            QVERIFY(env_->fake.messages->texts[0].contains("will not save"));
        } else if (!writable) {  // said once, naming the file, as a warning
            QCOMPARE(env_->fake.messages->texts[0], "Glyphwick cannot save its settings: the settings file\n" + IniFile
                                                        + "\nis read-only.\n\nChanges to the settings will not be saved.");
            QCOMPARE(env_->fake.messages->styles, QList<int>{vbOKOnly | vbExclamation});
        }
        ::chmod(path, 0600);
    }

    // Another program's changes are read again, one in place at the same size too, and survive a batch.
    void batchWritesOnce()
    {
        QVERIFY(WriteFile(IniFile, "[GW]\nANSI=60\n"));
        QCOMPARE(ReadIniInt("GW", "ANSI", 0, IniFile), 60);
        QFile file(IniFile);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(10) && file.write("7") == 1);
        file.close();
        QCOMPARE(ReadIniInt("GW", "ANSI", 0, IniFile), 70);
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
            QVERIFY(WriteFile(IniFile, "[GW]\nANSI=70\nShowATM=1\n"));
        }
        QCOMPARE(SettingsSaveCount() - saves, 1);
        QCOMPARE(ReadFile(IniFile), QByteArray("[GW]\nANSI=71\nShowATM=1\n\n[Main]\nTop= 15\n"));
    }

    void staleTemporaryFilesRemoved()
    {
        const QString dir = QFileInfo(IniFile).path() + "/";
        // The first a dead process's, listed before any running one's.
        const QStringList stale = {"gw.ini.0999999999.saving", QString("gw.ini.%1.saving").arg(::getpid())};
        // Only our own names go, not a running program's (never signalled) nor the user's copies.
        QProcess running;
        running.start("sleep", {"60"});
        QVERIFY(running.waitForStarted());
        const QStringList kept = {"gw.ini.backup", QString("gw.ini.%1.saving").arg(running.processId()), "gw.ini.bak",
                                  "other.ini.999999999.saving", "gw.ini.BACKUP", "gw.ini.2024v1", "gw.ini.aB3xYz"};
        for (const QString& name : stale + kept) {
            QVERIFY(WriteFile(dir + name, "x"));
            QVERIFY(::chmod(QFile::encodeName(dir + name), 0600) == 0);
        }
        const QString link = "gw.ini.999999998.saving";  // named like ours, but a link: it stays
        QVERIFY(QFile::link(dir + "gw.ini.bak", dir + link));
        ReadIniString("GW", "ANSI", "", IniFile); // the first use in this run
        const QStringList left = QDir(dir).entryList(QDir::Files);
        QCOMPARE(QSet<QString>(left.begin(), left.end()), QSet<QString>(kept.begin(), kept.end()) << link);
        QVERIFY(!running.waitForFinished(100));
        running.kill();
        running.waitForFinished();
        QVERIFY(WriteFile(dir + stale[1], "x"));  // ours, left after the first use: written over on saving
        WriteIniString("GW", "ANSI", "5", IniFile);
        QCOMPARE(ReadFile(IniFile), QByteArray("[GW]\nANSI=5\n"));
    }

    // A save that fails says why and leaves the old file and no temporary file behind.
    void failedSaveLeavesNoTrace_data()
    {
        QTest::addColumn<QString>("name");  // under the test's root; "blocker" is a plain file
        QTest::addColumn<QString>("reason");
        QTest::newRow("its folder is a file") << "blocker/gw.ini" << "its folder cannot be created";
        QTest::newRow("no room in the name for the temporary file") << QString(248, 'n') + ".ini" << QString(strerror(ENAMETOOLONG));
        QTest::newRow("a folder in the file's place") << "folder.ini" << QString(strerror(EISDIR));
        QTest::newRow("no file may grow, as on a full disk") << "full.ini" << QString(strerror(EFBIG));
    }
    void failedSaveLeavesNoTrace()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString dir = env_->root() + "/save/", path = dir + name;
        QVERIFY(WriteFile(dir + "blocker", "mine") && WriteFile(dir + "folder.ini/kept", "mine"));
        struct rlimit before {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit none = before;
        none.rlim_cur = name == "full.ini" ? 0 : before.rlim_cur;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &none) == 0);
        QString why;
        const bool saved = ReplaceProfileFile(path, "[GW]\n", &why);
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved);
        QCOMPARE(why, reason);
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"blocker", "folder.ini"}));
        QCOMPARE(ReadFile(dir + "blocker") + ReadFile(dir + "folder.ini/kept"), QByteArray("minemine"));
    }

    // Settings that cannot be saved say so once, with why, and are kept for the run.
    void unsavableSettingsWarnOnce()
    {
        const QString path = env_->root() + "/blocker/gw.ini";
        QVERIFY(WriteFile(env_->root() + "/blocker", "mine"));
        WriteIniString("GW", "ANSI", "1", path);
        WriteIniString("GW", "ANSI", "2", path);
        QCOMPARE(env_->fake.messages->texts, QStringList("Glyphwick cannot save its settings to\n" + path
                                                         + "\n(its folder cannot be created).\n\nChanges to the settings will not be saved."));
        QCOMPARE(ReadIniString("GW", "ANSI", "", path), QString("2"));
        QCOMPARE(ReadFile(env_->root() + "/blocker"), QByteArray("mine"));
    }

    // Text the user typed reads back up to a NUL character, as the platform's strings end there.
    void userTextEndsAtNul()
    {
        for (const auto& [typed, read] : {std::pair(QString(QChar(0)) + "abc", QString()),
                                          std::pair("ab" + QString(QChar(0)) + "cd", QString("ab"))}) {
            WriteIniString("GW", "UserName", typed, IniFile);
            QCOMPARE(ReadIniString("GW", "UserName", "default", IniFile), read);
        }
    }

    // A save writes the bytes whole, however few, and replaces what was there.
    void saveWritesEveryByte()
    {
        const QString path = env_->root() + "/whole.ini";
        for (const QByteArray& bytes : {QByteArray("x"), QByteArray(), QByteArray(300000, 'y'), QByteArray("\n")}) {
            QString why;
            QVERIFY(ReplaceProfileFile(path, bytes, &why));
            QCOMPARE(ReadFile(path), bytes);
        }
    }

    void paragraph_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line breaks kept") << 1 << QByteArray("The quick\nfox\nover.\n") << "The quick\nfox\nover.";
        QTest::newRow("CRLF, CR, blank lines") << 2 << QByteArray("a\r\nb\rc\r\n\n\nd") << "a\nb\nc\n\n\nd";
        QTest::newRow("empty file") << 1 << QByteArray() << "";
        QTest::newRow("UTF-8") << 1 << QByteArray("caf\xC3\xA9\n\xE2\x80\x9Cq\xE2\x80\x9D") << "caf\u00E9\n\u201Cq\u201D";
        QTest::newRow("code page 1252") << 2 << QByteArray("caf\xE9\n\x93q\x94") << "caf\u00E9\n\u201Cq\u201D";
        QTest::newRow("missing file: an error") << 3 << QByteArray() << "";
    }
    void paragraph()
    {
        QFETCH(int, n);
        QFETCH(QByteArray, bytes);
        const QString file = QFileInfo(IniFile).path() + QString("/papara%1.txt").arg(n);
        QVERIFY(n == 3 || WriteFile(file, bytes));
        if (n == 3)
            QVERIFY_THROWS_EXCEPTION(ParagraphError, ReadParagraph(n));
        else
            QTEST(ReadParagraph(n), "expected");
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
