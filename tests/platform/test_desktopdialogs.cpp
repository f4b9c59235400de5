// Where the desktop's file dialogs start: a full path in a folder that exists.
#include <QtTest>

#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

class TestDesktopDialogs : public QObject {
    Q_OBJECT

private slots:
    void startFolderExists()
    {
        TestEnv env;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", env.root().toLocal8Bit());
        const QString h = env.root();
        // No documents folder: home; then the documents folder; a folder that exists is kept.
        QCOMPARE(DesktopDialogStart("glyphwick.pdf"), h + "/glyphwick.pdf");
        QVERIFY(QDir().mkpath(h + "/Documents"));
        QCOMPARE(DesktopDialogStart("glyphwick.pdf"), h + "/Documents/glyphwick.pdf");
        QCOMPARE(DesktopDialogStart(h + "/gone/a.pdf"), h + "/Documents/a.pdf");
        QCOMPARE(DesktopDialogStart(h + "/a.pdf"), h + "/a.pdf");
        qputenv("HOME", home);
    }
};

QTEST_MAIN(TestDesktopDialogs)
#include "test_desktopdialogs.moc"
