// Font files on the desktop under faults: where every byte ends up after a
// copy or a move to the trash, for awkward names and injected storage faults.
#include <QtTest>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

namespace {

// The bytes at a path given as bytes (names need not be UTF-8); "-" when there is no file.
QByteArray Bytes(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW);
    if (fd < 0)
        return "-";
    QByteArray bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

// How many entries a folder holds, counted by the system (any bytes in a name).
int EntryCount(const QString& folder)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    int n = 0;
    while (dir && ::readdir(dir))
        ++n;
    if (dir)
        ::closedir(dir);
    return qMax(0, n - 2);
}

bool Put(const QByteArray& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(QFile::decodeName(path)).path());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && ok;
}

// Files in folder (hidden ones too), sorted: where leftovers would show.
QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestDesktopFiles : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetDesktopFileFault({}); }

    // A copy: the source stays byte for byte; the target is the new font or
    // what it was before; never a temporary file left, never a link followed.
    void copyFaults_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("target"); // what the target name holds afterwards: "new", "old" or "none"
        QTest::newRow("capitals") << QByteArray("Roboto-Regular.ttf") << "" << 0 << "new";
        QTest::newRow("question mark and star") << QByteArray("q?*.ttf") << "" << 0 << "new";
        QTest::newRow("bracket") << QByteArray("[a].ttf") << "" << 0 << "new";
        QTest::newRow("control character") << QByteArray("a\x01\tb.ttf") << "" << 0 << "new";
        QTest::newRow("255 bytes") << QByteArray(251, 'n') + ".ttf" << "" << 0 << "new";
        QTest::newRow("Greek and Chinese") << QByteArray("\xCE\xA9mega \xE5\xAD\x97.ttf") << "" << 0 << "new";
        // Qt's file names are Unicode text: such a name cannot be opened, so it stays untouched.
        QTest::newRow("not UTF-8: left alone") << QByteArray("Caf\xE9.ttf") << "" << int(ENOENT) << "old";
        QTest::newRow("full disk keeps the old target") << QByteArray("Full.ttf") << "full" << int(ErrDiskFull) << "old";
        QTest::newRow("read-only disk") << QByteArray("Ro.ttf") << "readonly" << int(ErrPathFileAccess) << "old";
        QTest::newRow("missing target folder") << QByteArray("Gone.ttf") << "missing" << int(ENOENT) << "none";
        QTest::newRow("link swapped in is not followed") << QByteArray("Link.ttf") << "link" << int(ErrPathFileAccess) << "old";
        QTest::newRow("folder swapped in") << QByteArray("Dir.ttf") << "folder" << int(ErrPathFileAccess) << "old";
    }
    void copyFaults()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, fault);
        QFETCH(int, error);
        QFETCH(QString, target);
        TestEnv env;
        auto storage = MakeDesktopStorage();
        const QByteArray src = QFile::encodeName(env.root() + "/src/"), dst = QFile::encodeName(env.root() + "/dst/");
        const QByteArray font(70000, 'F'), old = "old font", secret = "private key";
        QVERIFY(WriteFile(env.root() + "/secret", secret));
        if (fault == "link")
            QVERIFY(QDir().mkpath(env.root() + "/src") && ::symlink(QFile::encodeName(env.root() + "/secret"), src + name) == 0);
        else if (fault == "folder")
            QVERIFY(QDir().mkpath(QFile::decodeName(src + name)));
        else
            QVERIFY(Put(src + name, font));
        ::chmod(src + name, 0640);
        if (fault != "missing")
            QVERIFY(Put(dst + name, old));
        if (fault == "full")
            SetDesktopFileFault({ENOSPC, 1000});
        if (fault == "readonly")
            SetDesktopFileFault({EROFS, 0});
        const QString dest = fault == "missing" ? env.root() + "/nowhere/" + QFile::decodeName(name)
                                                : QFile::decodeName(dst + name);
        QCOMPARE(storage->CopyFile(QFile::decodeName(src + name), dest), error);

        const QByteArray expected = target == "new" ? font : target == "old" ? old : QByteArray("-");
        QCOMPARE(Bytes(fault == "missing" ? QFile::encodeName(dest) : dst + name), expected);
        if (fault != "link" && fault != "folder")
            QCOMPARE(Bytes(src + name), font);
        if (!error) {
            struct stat st {};
            QVERIFY(::stat(QFile::encodeName(dest), &st) == 0);
            QCOMPARE(st.st_mode & 0777, mode_t(0640)); // the source's mode
        }
        QCOMPARE(Bytes(QFile::encodeName(env.root() + "/secret")), secret);
        QCOMPARE(EntryCount(env.root() + "/dst"), fault == "missing" ? 0 : 1); // no temporary file left
    }

    // Delete: the file goes to the trash with a percent-encoded path; where no
    // trash can take it, it stays and the answer says so.
    void trash_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("recorded"); // the Path= line, the part after the folder
        QTest::newRow("spaces and Greek") << QByteArray("\xCE\xA9mega Bold.ttf") << "" << 0 << QByteArray("%CE%A9mega%20Bold.ttf");
        QTest::newRow("pattern characters") << QByteArray("q?[*]%.ttf") << "" << 0 << QByteArray("q%3F%5B%2A%5D%25.ttf");
        QTest::newRow("line break") << QByteArray("a\nb.ttf") << "" << 0 << QByteArray("a%0Ab.ttf");
        QTest::newRow("not UTF-8: left alone") << QByteArray("Caf\xE9.ttf") << "" << int(ENOENT) << QByteArray();
        QTest::newRow("full disk: kept, no trash") << QByteArray("Full.ttf") << "full" << int(ErrNoTrash) << QByteArray();
        QTest::newRow("another file system reached through a link") << QByteArray("Other.ttf") << "otherfs" << 0
                                                                     << QByteArray("Other.ttf");
    }
    void trash()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, fault);
        QFETCH(int, error);
        QFETCH(QByteArray, recorded);
        TestEnv env;
        QString folder = env.root() + "/fonts";
        QString trash = env.dataHome() + "/Trash";
        QTemporaryDir other(QStringLiteral("/dev/shm/glyphwick-test-XXXXXX"));
        if (fault == "otherfs") {
            struct stat a {}, b {};
            if (!other.isValid() || ::stat("/dev/shm", &a) != 0 || ::stat(QFile::encodeName(env.root()), &b) != 0
                || a.st_dev == b.st_dev)
                QSKIP("no second file system here");
            QVERIFY(QFile::link(other.path(), env.root() + "/linked"));
            folder = env.root() + "/linked";
            trash = "/dev/shm/.Trash-" + QString::number(getuid());
        }
        const QByteArray path = QFile::encodeName(folder + "/") + name;
        QVERIFY(Put(path, "font bytes"));
        if (fault == "full")
            SetDesktopFileFault({ENOSPC, 0});
        bool trashed = false;
        QCOMPARE(MakeDesktopTrash()->MoveToTrash(QFile::decodeName(path), &trashed), error);
        QCOMPARE(trashed, error == 0);
        if (error == ENOENT) {
            QCOMPARE(Bytes(path), QByteArray("font bytes"));
            return;
        }
        const QByteArray inTrash = QFile::encodeName(trash + "/files/") + name;
        QCOMPARE(Bytes(path), error ? QByteArray("font bytes") : QByteArray("-"));
        QCOMPARE(Bytes(inTrash), error ? QByteArray("-") : QByteArray("font bytes"));
        if (!error) {
            const QByteArray info = Bytes(QFile::encodeName(trash + "/info/") + name + ".trashinfo");
            const QByteArray top = fault == "otherfs" ? QByteArray(QFile::encodeName(other.path()).mid(9) + "/")
                                                      : QFile::encodeName(folder + "/").toPercentEncoding("/");
            QVERIFY2(info.startsWith("[Trash Info]\nPath=" + top + recorded + "\nDeletionDate="), info.constData());
            ::unlink(inTrash.constData());
            ::unlink((QFile::encodeName(trash + "/info/") + name + ".trashinfo").constData());
            for (const char* sub : {"/files", "/info", ""})
                QDir().rmdir(trash + sub);
        } else {
            QVERIFY(Entries(trash + "/info").isEmpty() && Entries(trash + "/files").isEmpty());
        }
    }

    // At start only the program's own leftovers go: those of a process that is gone.
    void leftovers()
    {
        TestEnv env;
        const QString folder = env.root() + "/fonts";
        const QStringList gone = {".glyphwick-999999999-AbC123", ".glyphwick-999999999-Arial.fot"};
        const QStringList kept = {QString(".glyphwick-%1-Xy1234").arg(getppid()), "gw.ini.BACKUP", "gw.ini.2024v1",
                                  ".Arial.ttf.AbC123", "Arial.fot", ".glyphwick-notapid"};
        for (const QString& name : gone + kept)
            QVERIFY(WriteFile(folder + "/" + name, "x"));
        QCOMPARE(MakeDesktopStorage()->RemoveLeftovers(folder), 2);
        QStringList expected = kept;
        expected.sort();
        QCOMPARE(Entries(folder), expected);
    }
};

QTEST_MAIN(TestDesktopFiles)
#include "test_desktopfiles.moc"
