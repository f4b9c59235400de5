// Font files on the desktop: where every byte ends up after a copy or a move to the trash, under faults.
#include <QtTest>
#include <QProcess>
#include <QStorageInfo>
#include <functional>
#include <csignal>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;
namespace fs = std::filesystem;

namespace {

// Paths as bytes: a name need not be UTF-8. "-" when there is no file.
QByteArray Bytes(const QByteArray& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path.toStdString(), error))
        return "-";
    std::ifstream in(path.toStdString(), std::ios::binary);
    return in ? QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {})) : "-";
}

void Put(const QByteArray& path, const QByteArray& bytes)
{
    fs::create_directories(fs::path(path.toStdString()).parent_path());
    std::ofstream(path.toStdString(), std::ios::binary) << bytes.toStdString();
}

// work's result as "nobody", given `tree`, in a child process when this one is root; -1000 when that fails.
int Unprivileged(const QString& tree, const std::function<int()>& work)
{
    if (::geteuid() != 0)
        return work();
    if (QProcess::execute("chown", {"-R", "65534:65534", tree}) != 0)
        return -1000;
    int fds[2];
    if (::pipe(fds) != 0)
        return -1000;
    const pid_t child = ::fork();
    if (child == 0) {
        int result = -1000;
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0)
            result = work();
        const bool sent = ::write(fds[1], &result, sizeof result) == sizeof result;
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    int result = -1000;
    if (child < 0 || ::read(fds[0], &result, sizeof result) != sizeof result)
        result = -1000;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return result;
}

} // namespace

class TestDesktopFiles : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetDesktopFileFault({}); }

    // A copy keeps the source; the target is the new font or the old one; no temporary file left, no link followed.
    void copyFaults_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("target"); // what the target name holds afterwards: "new", "old" or "none"
        QTest::newRow("capitals and pattern characters") << QByteArray("Q?*[a].ttf") << "" << 0 << "new";
        QTest::newRow("255 bytes") << QByteArray(251, 'n') + ".ttf" << "" << 0 << "new";
        QTest::newRow("Greek, Chinese, controls") << QByteArray("\xCE\xA9 \xE5\xAD\x97\x01\t.ttf") << "" << 0 << "new";
        // Qt's file names are Unicode text: such a name cannot be opened, so it stays untouched.
        QTest::newRow("not UTF-8: left alone") << QByteArray("Caf\xE9.ttf") << "" << int(ENOENT) << "old";
        QTest::newRow("full disk keeps the old target") << QByteArray("Full.ttf") << "full" << int(ErrDiskFull) << "old";
        QTest::newRow("read-only disk") << QByteArray("Ro.ttf") << "readonly" << int(ErrPathFileAccess) << "old";
        QTest::newRow("missing target folder") << QByteArray("Gone.ttf") << "missing" << int(ENOENT) << "none";
        QTest::newRow("missing source") << QByteArray("Src.ttf") << "nosource" << int(ENOENT) << "old";
        QTest::newRow("target folder not writable") << QByteArray("Rw.ttf") << "nowrite"
                                                    << int(ErrPathFileAccess) << "old";
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
        const QByteArray src = QFile::encodeName(env.root() + "/src/") + name;
        const QByteArray dst = QFile::encodeName(env.root() + (fault == "missing" ? "/nowhere/" : "/dst/")) + name;
        const QByteArray font(70000, 'F'), old = "old font", secret = QFile::encodeName(env.root() + "/secret");
        Put(secret, "private key");
        Put(src, font);
        // The copy keeps the source's time and mode.
        const auto when = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(src.toStdString()))
                          - std::chrono::hours(24 * 400);
        fs::last_write_time(src.toStdString(), when);
        if (fault == "nosource")
            QVERIFY(::unlink(src) == 0);
        if (fault == "link" || fault == "folder")
            QVERIFY(::unlink(src) == 0 && (fault == "link" ? ::symlink(secret, src) : ::mkdir(src, 0700)) == 0);
        ::chmod(src, 0640);
        if (fault != "missing")
            Put(dst, old);
        const QByteArray dstFolder = QFile::encodeName(env.root() + "/dst");
        SetDesktopFileFault({fault == "full" ? ENOSPC : fault == "readonly" ? EROFS : 0, 1000});
        const auto copy = [&] { return MakeDesktopStorage()->CopyFile(QFile::decodeName(src), QFile::decodeName(dst)); };
        if (fault == "nowrite") {
            QVERIFY(::chmod(dstFolder, 0500) == 0);
            QCOMPARE(Unprivileged(env.root(), copy), error);
        } else {
            QCOMPARE(copy(), error);
        }
        ::chmod(dstFolder, 0700);

        QCOMPARE(Bytes(dst), target == "new" ? font : target == "old" ? old : QByteArray("-"));
        const bool srcGone = fault == "folder" || fault == "nosource";
        QCOMPARE(Bytes(src), fault == "link" ? QByteArray("private key") : srcGone ? QByteArray("-") : font);
        struct stat st {};
        QVERIFY(error || (::stat(dst, &st) == 0 && (st.st_mode & 0777) == 0640));
        QVERIFY(error || fs::last_write_time(dst.toStdString()) == when);
        std::error_code noFolder;  // no temporary file left
        const fs::directory_iterator dstEntries(QFile::encodeName(env.root() + "/dst").toStdString(), noFolder);
        QCOMPARE(std::distance(dstEntries, {}), fault == "missing" ? 0 : 1);
    }

    // Delete: the file goes to the trash with a percent-encoded path; where no trash can take it, it stays, said.
    void trash_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("recorded"); // the Path= line, the part after the folder
        QTest::newRow("spaces, Greek, line break") << QByteArray("\xCE\xA9mega Bold\n.ttf") << "" << 0
                                                   << QByteArray("%CE%A9mega%20Bold%0A.ttf");
        QTest::newRow("pattern characters") << QByteArray("q?[*]%.ttf") << "" << 0 << QByteArray("q%3F%5B%2A%5D%25.ttf");
        QTest::newRow("not UTF-8: left alone") << QByteArray("Caf\xE9.ttf") << "" << int(ENOENT) << QByteArray();
        QTest::newRow("full disk: kept, no trash") << QByteArray("Full.ttf") << "full" << int(ErrNoTrash) << QByteArray();
        QTest::newRow("a trash whose files folder is a file: kept, no record left") << QByteArray("Odd.ttf") << "filesfile"
                                                                                  << int(ErrNoTrash) << QByteArray();
        QTest::newRow("no data folder yet: made") << QByteArray("Fresh.ttf") << "nodata" << 0 << QByteArray("Fresh.ttf");
        QTest::newRow("a data folder named beyond ASCII") << QByteArray("Home.ttf") << "unicode" << 0 << QByteArray("Home.ttf");
        // The trash holds a file of that name, and a record of the next one: the one after is taken.
        QTest::newRow("names taken in the trash") << QByteArray("Taken.ttf") << "taken" << 0 << QByteArray("Taken.ttf");
        QTest::newRow("another file system reached through a link") << QByteArray("Other.ttf") << "otherfs" << 0
                                                                     << QByteArray("Other.ttf");
        // The volume's .Trash is the user's own folder in it only when it has the sticky bit.
        QTest::newRow("a shared .Trash with the sticky bit") << QByteArray("Other.ttf") << "otherfs sticky" << 0
                                                             << QByteArray("Other.ttf");
        QTest::newRow("a shared .Trash without it: not used") << QByteArray("Other.ttf") << "otherfs plain" << 0
                                                              << QByteArray("Other.ttf");
    }
    void trash()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, fault);
        QFETCH(int, error);
        QFETCH(QByteArray, recorded);
        const bool otherFs = fault.startsWith("otherfs");
        if (otherFs)  // the volume's trash is shared with every other run: a name of this run's own
            name = recorded = "Other-" + QByteArray::number(getpid()) + ".ttf";
        TestEnv env;
        QString folder = env.root() + "/fonts", trash = env.dataHome() + "/Trash";
        QByteArray top = QFile::encodeName(folder + "/").toPercentEncoding("/");
        QTemporaryDir other(QStringLiteral("/dev/shm/glyphwick-test-XXXXXX"));
        if (otherFs) {
            struct stat a {}, b {};
            if (!other.isValid() || ::stat("/dev/shm", &a) != 0 || ::stat(QFile::encodeName(env.root()), &b) != 0
                || a.st_dev == b.st_dev)
                QSKIP("no second file system here");
            QVERIFY(QFile::link(other.path(), env.root() + "/linked"));
            folder = env.root() + "/linked";
            trash = "/dev/shm/.Trash-" + QString::number(getuid());
            top = QFile::encodeName(other.path()).mid(9) + "/"; // relative to the volume's top
        }
        if (fault == "nodata")
            QVERIFY(QDir(env.dataHome()).removeRecursively());
        if (fault == "unicode") {  // the variable's bytes are the file system's (UTF-8)
            trash = env.root() + "/d\u00e4ta \u03a9/Trash";
            qputenv("XDG_DATA_HOME", QFile::encodeName(env.root() + "/d\u00e4ta \u03a9"));
        }
        const bool shared = fault.contains(' ');
        if (shared) {  // made for this row, and only then
            if (QFileInfo::exists("/dev/shm/.Trash") || ::mkdir("/dev/shm/.Trash", 0777) != 0)
                QSKIP("the volume's .Trash is someone else's");
            ::chmod("/dev/shm/.Trash", fault.endsWith("sticky") ? 01777 : 0777);
            if (fault.endsWith("sticky"))
                trash = "/dev/shm/.Trash/" + QString::number(getuid());
        }
        const auto removeShared = qScopeGuard([&] {
            if (shared)
                QDir("/dev/shm/.Trash").removeRecursively();
        });
        const QByteArray path = QFile::encodeName(folder + "/") + name;
        const QByteArray trashName = fault == "taken" ? "Taken.3.ttf" : name;
        const QByteArray inTrash = QFile::encodeName(trash + "/files/") + trashName;
        const QByteArray info = QFile::encodeName(trash + "/info/") + trashName + ".trashinfo";
        Put(path, "font bytes");
        if (fault == "filesfile")
            Put(QFile::encodeName(trash + "/files"), "not a folder");
        if (fault == "taken") {
            Put(QFile::encodeName(trash + "/files/") + name, "older");
            Put(QFile::encodeName(trash + "/info/Taken.2.ttf.trashinfo"), "another's record");
        }
        // Only what this run put in a shared trash goes, whatever the outcome.
        const auto cleanup = qScopeGuard([&] {
            if (otherFs)
                ::unlink(inTrash), ::unlink(info);
        });
        SetDesktopFileFault({fault == "full" ? ENOSPC : 0, 0});
        bool trashed = false;
        QCOMPARE(MakeDesktopTrash()->MoveToTrash(QFile::decodeName(path), &trashed), error);
        QCOMPARE(trashed, error == 0);
        QCOMPARE(Bytes(path), error ? QByteArray("font bytes") : QByteArray("-"));
        QCOMPARE(Bytes(inTrash), error ? QByteArray("-") : QByteArray("font bytes"));
        // The date as file managers read it: local time, to the second, no zone.
        const QByteArray record = "[Trash Info]\nPath=" + top + recorded + "\nDeletionDate=";
        QVERIFY(error ? Bytes(info) == "-" : Bytes(info).startsWith(record));
        const QDateTime date = QDateTime::fromString(Bytes(info).mid(record.size()), "yyyy-MM-dd'T'HH:mm:ss\n");
        QVERIFY(error || (date.isValid() && qAbs(date.secsTo(QDateTime::currentDateTime())) < 60));
        for (const QString& made : {trash, trash + "/files", trash + "/info"}) {  // made private to the user
            struct stat st {};
            QVERIFY(error || fault == "taken"
                    || (::stat(QFile::encodeName(made).constData(), &st) == 0 && (st.st_mode & 07777) == 0700));
        }
        if (fault == "taken")
            QVERIFY(Bytes(QFile::encodeName(trash + "/files/") + name) == "older"
                    && Bytes(QFile::encodeName(trash + "/info/Taken.2.ttf.trashinfo")) == "another's record");
    }

    // A file its folder does not let go of stays, and the trash keeps no record of it.
    void trashRefusedByTheFolder()
    {
        TestEnv env;
        const QString folder = env.root() + "/locked", file = folder + "/Locked.ttf", trash = env.dataHome() + "/Trash";
        Put(QFile::encodeName(file), "font bytes");
        QVERIFY(QDir().mkpath(env.dataHome()) && ::chmod(QFile::encodeName(folder), 0555) == 0);
        const int error = Unprivileged(env.root(), [&] {
            bool trashed = true;
            const int result = MakeDesktopTrash()->MoveToTrash(file, &trashed);
            return trashed ? -1 : result;
        });
        ::chmod(QFile::encodeName(folder), 0755);
        QCOMPARE(error, ErrorNumberFromErrno(EACCES));
        QCOMPARE(Bytes(QFile::encodeName(file)), QByteArray("font bytes"));
        QCOMPARE(QDir(trash + "/info").entryList(QDir::Files) + QDir(trash + "/files").entryList(QDir::Files), QStringList());
    }

    // Deleting for good: the file, or a link without its target; nothing else.
    void deleteFile_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("error");
        QTest::newRow("a file") << "file" << 0;
        QTest::newRow("a link: its target stays") << "link" << 0;
        QTest::newRow("missing") << "missing" << ErrorNumberFromErrno(ENOENT);
        QTest::newRow("a folder") << "folder" << ErrorNumberFromErrno(EISDIR);
    }
    void deleteFile()
    {
        QFETCH(QString, what);
        TestEnv env;
        const QString target = env.root() + "/target.ttf", path = env.root() + "/" + what;
        Put(QFile::encodeName(target), "font bytes");
        if (what == "file")
            Put(QFile::encodeName(path), "font bytes");
        else if (what == "link")
            QVERIFY(QFile::link(target, path));
        else if (what == "folder")
            QVERIFY(QDir().mkpath(path + "/inside"));
        QTEST(MakeDesktopTrash()->DeleteFile(path), "error");
        QCOMPARE(QFileInfo::exists(path), what == "folder");
        QCOMPARE(Bytes(QFile::encodeName(target)), QByteArray("font bytes"));
    }

    // At start only leftovers of a process that is gone go; a running one keeps its files and gets no signal.
    void leftovers()
    {
        TestEnv env;
        const QString folder = env.root() + "/fonts";
        QProcess running;  // a new program: the default action for every signal
        running.start("sleep", {"1000"});
        QVERIFY(running.waitForStarted());
        const QStringList kept = {".Arial.ttf.AbC123", QString(".glyphwick-%1-Xy1234").arg(running.processId()),
                                  ".glyphwick-notapid", "Arial.fot", "gw.ini.2024v1", "gw.ini.BACKUP"};
        for (const QString& name : kept + QStringList{".glyphwick-999999999-AbC123", ".glyphwick-999999999-Arial.fot"})
            QVERIFY(WriteFile(folder + "/" + name, "x"));
        const auto storage = MakeDesktopStorage();
        QCOMPARE(storage->FolderError(env.root() + "/nowhere"), ENOENT);
        QCOMPARE(storage->FolderError(folder), 0);
        QCOMPARE(storage->RemoveLeftovers(folder), 2);
        ::kill(pid_t(running.processId()), SIGTERM);  // one sent earlier would have ended it first
        QVERIFY(running.waitForFinished());
        QVERIFY(running.exitStatus() == QProcess::CrashExit && running.exitCode() == SIGTERM);
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        left.sort();
        QCOMPARE(left, kept);
    }

    // The drives: the home folder first, then each mounted volume once, none of the system's own.
    void drives()
    {
        TestEnv env;
        const QVector<DriveEntry> drives = MakeDesktopStorage()->Drives();
        QVERIFY(!drives.isEmpty());
        QCOMPARE(drives[0].name + " " + drives[0].rootPath, "Home " + QDir::homePath());
        QStringList roots;
        for (const DriveEntry& d : drives) {
            QVERIFY2(!roots.contains(d.rootPath) && !d.name.isEmpty(), qPrintable(d.rootPath));
            roots << d.rootPath;
            for (const char* system : {"/proc", "/sys", "/dev"})
                QVERIFY2(!d.rootPath.startsWith(system), qPrintable(d.rootPath));
        }
        // The root file system is one, unless it is of a system kind (a tmpfs root).
        QVERIFY(roots.contains("/") || IsSystemVolume(QStorageInfo::root().fileSystemType(), "/"));
    }

    // Each library as loaded (first, with its version), then every other copy the loader could pick, once each.
    void componentsAsLoaded()
    {
        TestEnv env;
        const QString other = env.root() + "/lib/libfontconfig.so.1";
        QVERIFY(WriteFile(other, "a copy"));
        const QByteArray kept = qgetenv("LD_LIBRARY_PATH");
        qputenv("LD_LIBRARY_PATH", (env.root() + "/none:" + env.root() + "/lib").toLocal8Bit());
        const std::unique_ptr<ComponentVersions> versions = MakeDesktopComponentVersions();
        const QVector<ComponentReference> references = versions->References();
        QStringList names;
        for (const ComponentReference& r : references) {
            names << r.name;
            const QVector<ComponentFile> found = versions->Found(r);
            QVERIFY2(!found.isEmpty() && found[0].inMemory && found[0].path.contains("/" + r.fileName), qPrintable(r.name));
            QStringList paths;
            for (const ComponentFile& f : found) {
                QVERIFY2(f.inMemory == paths.isEmpty() && !paths.contains(f.path), qPrintable(f.path));
                QCOMPARE(f.size, QFileInfo(f.path).size());
                paths << f.path;
            }
            if (r.name == "Qt Core")
                QCOMPARE(found[0].version, QString(qVersion()));
            if (r.name == "fontconfig") {
                QCOMPARE(found[0].version, DesktopFontconfigVersion());
                QVERIFY2(paths.contains(other), qPrintable(paths.join(' ')));
                QCOMPARE(found[paths.indexOf(other)].version, QString("1"));
            }
        }
        kept.isNull() ? qunsetenv("LD_LIBRARY_PATH") : qputenv("LD_LIBRARY_PATH", kept);
        QCOMPARE(names.mid(0, 2), QStringList({"Qt Core", "Qt Gui"}));
        QVERIFY(names.contains("fontconfig"));
    }

    void systemVolumes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("system");
        QTest::newRow("the root file system") << "ext4" << "/" << false;
        QTest::newRow("a memory file system") << "tmpfs" << "/media/ram" << true;
        QTest::newRow("a snap's image") << "squashfs" << "/mnt/image" << true;
        QTest::newRow("the boot partition") << "vfat" << "/boot" << true;
        QTest::newRow("under the boot partition") << "vfat" << "/boot/efi" << true;
        QTest::newRow("a name that only starts like a system folder") << "ext4" << "/bootleg" << false;
        QTest::newRow("a disk under /var/lib") << "ext4" << "/var/lib/docker" << true;
        QTest::newRow("a disk under /var") << "ext4" << "/var/fonts" << false;
        QTest::newRow("removable media under /run/media") << "vfat" << "/run/media/ann/STICK" << false;
        QTest::newRow("elsewhere under /run") << "ext4" << "/run/user/1000/doc" << true;
        QTest::newRow("/run itself") << "ext4" << "/run" << false;
        QTest::newRow("removable media under /media") << "exfat" << "/media/ann/CD" << false;
    }
    void systemVolumes()
    {
        QFETCH(QString, type);
        QFETCH(QString, root);
        QTEST(IsSystemVolume(type.toLatin1(), root), "system");
    }
};

QTEST_MAIN(TestDesktopFiles)
#include "test_desktopfiles.moc"
