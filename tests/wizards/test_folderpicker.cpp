// "Select Folder": what PickFolder returns and how a drive that is not ready is answered.
#include <QtTest>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "testenv.h"
#include "wizards/drivefolderlists.h"
#include "wizards/folderpicker.h"

using namespace gw;

class TestFolderPicker : public QObject {
    Q_OBJECT
    TestEnv* env = nullptr;
    QString driveA, driveC;

private slots:
    void init()
    {
        env = new TestEnv;
        driveA = env->root() + "/floppy";
        driveC = env->root() + "/disk";
        QDir().mkpath(driveC + "/fonts/sub");
        QDir().mkpath(driveA);
        env->fake.storage->drives = {{"Floppy", driveA}, {"Disk", driveC}};
    }
    void cleanup() { delete env; }

    // OK untouched returns the start folder, Cancel nothing; a folder typed or pasted
    // into the field is taken by OK, one that does not exist refused.
    void typedFolder_data()
    {
        QTest::addColumn<QString>("typed");     // under the disk drive; "" untouched
        QTest::addColumn<QString>("expected");  // under the disk drive; "" cancelled
        QTest::newRow("OK untouched returns the start folder") << "" << "/fonts/sub";
        QTest::newRow("a typed folder is taken") << "/fonts" << "/fonts";
        QTest::newRow("a trailing slash is no other folder") << "/fonts/" << "/fonts";
        QTest::newRow("no such folder: said, and the dialog stays") << "/nothing" << "";
    }
    void typedFolder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<FolderPicker*>(QApplication::activeModalWidget());
            if (!typed.isEmpty())
                Child<QLineEdit>(*d, "folderEdit").setText(driveC + typed);
            Child<QPushButton>(*d, "okButton").click();
            if (d->isVisible())
                Child<QPushButton>(*d, "cancelButton").click();
        });
        QCOMPARE(PickFolder(driveC + "/fonts/sub"), expected.isEmpty() ? QString() : driveC + expected);
        QCOMPARE(env->fake.messages->texts.size(), expected.isEmpty() ? 1 : 0);
    }

    void driveChange_data()
    {
        QTest::addColumn<QList<int>>("errors");   // FolderError answers for the floppy
        QTest::addColumn<QList<int>>("answers");  // Retry/Cancel answers
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("moved");
        QTest::newRow("ready drive") << QList<int>{} << QList<int>{} << 0 << true;
        QTest::newRow("not ready, Cancel goes back") << QList<int>{71} << QList<int>{vbCancel} << 1 << false;
        QTest::newRow("device unavailable, Retry then ready") << QList<int>{68} << QList<int>{vbRetry} << 1 << true;
        QTest::newRow("access error goes back silently") << QList<int>{75} << QList<int>{} << 0 << false;
    }
    void driveChange()
    {
        QFETCH(QList<int>, errors);
        QFETCH(QList<int>, answers);
        QFETCH(int, messages);
        QFETCH(bool, moved);
        FolderPicker d;
        FolderTree& folders = Child<FolderTree>(d, "folderTree");
        DriveList& drives = Child<DriveList>(d, "driveList");
        d.StartAt(driveC + "/fonts");
        env->fake.storage->folderErrors[driveA] = errors;
        env->fake.messages->answers = answers;
        drives.setCurrentIndex(0); // the floppy
        QCOMPARE(env->fake.messages->texts.size(), messages);
        for (int i = 0; i < messages; ++i) {
            QCOMPARE(env->fake.messages->texts[i], DriveNotReadyText());
            QCOMPARE(env->fake.messages->styles[i], vbRetryCancel | vbCritical);
        }
        QCOMPARE(folders.Path(), moved ? driveA : driveC + "/fonts");
        QCOMPARE(drives.Drive(), moved ? driveA : driveC);
        QCOMPARE(Child<QLineEdit>(d, "folderEdit").text(), folders.Path());  // the folder shown follows the tree
    }

    void driveOfPathIsLongestRoot()
    {
        const QVector<DriveEntry> drives{{"Root", "/"}, {"Home", "/home/u"}, {"Stick", "/media/u/STICK"}};
        QCOMPARE(DriveIndexOf(drives, "/home/u/fonts"), 1);
        QCOMPARE(DriveIndexOf(drives, "/home/uv"), 0);
        QCOMPARE(DriveIndexOf(drives, "/media/u/STICK"), 2);
        QCOMPARE(DriveIndexOf(drives, "/usr/share"), 0);
        QCOMPARE(DriveIndexOf({{"Stick", "/media/s"}}, "/usr"), -1);
    }
};

QTEST_MAIN(TestFolderPicker)
#include "test_folderpicker.moc"
