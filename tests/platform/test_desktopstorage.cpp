// The copy that never leaves half a file, and the error numbers it gives.
#include <QtTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

class TestDesktopStorage : public QObject {
    Q_OBJECT
private slots:
    void copy()
    {
        TestEnv env;
        auto storage = MakeDesktopStorage();
        const QString src = env.root() + "/src/a.ttf", dest = env.root() + "/dest/a.ttf";
        QVERIFY(WriteFile(src, QByteArray(200000, 'x')));
        QVERIFY(WriteFile(dest, "old"));
        {
            QFile f(src);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
        }
        QCOMPARE(storage->CopyFile(src, dest), 0);
        QCOMPARE(ReadFile(dest), ReadFile(src));
        QCOMPARE(QFileInfo(dest).lastModified().date(), QDate(2001, 2, 3));
        QCOMPARE(QDir(env.root() + "/dest").entryList(QDir::Files | QDir::Hidden), QStringList{"a.ttf"});

        QCOMPARE(storage->CopyFile(env.root() + "/src/missing.ttf", dest), ENOENT);
        if (geteuid() != 0) { // root writes anywhere
            QVERIFY(QFile::setPermissions(env.root() + "/dest", QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QCOMPARE(storage->CopyFile(src, env.root() + "/dest/b.ttf"), 75);
            QFile::setPermissions(env.root() + "/dest", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        QCOMPARE(QDir(env.root() + "/dest").entryList(QDir::Files | QDir::Hidden), QStringList{"a.ttf"});
        QCOMPARE(storage->FolderError(env.root() + "/nowhere"), ENOENT);
        QCOMPARE(storage->FolderError(env.root()), 0);
        QVERIFY(!storage->Drives().isEmpty());
    }
};

QTEST_MAIN(TestDesktopStorage)
#include "test_desktopstorage.moc"
