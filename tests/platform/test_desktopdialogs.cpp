// Where the desktop's file dialogs start: always a folder that exists, as a full path.
#include <QtTest>

#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

class TestDesktopDialogs : public QObject {
    Q_OBJECT

private slots:
    void startFolderExists_data()
    {
        QTest::addColumn<QString>("start");      // {home} is the home folder
        QTest::addColumn<bool>("documents");     // the documents folder exists
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare name: documents") << "glyphwick.pdf" << true << "{home}/Documents/glyphwick.pdf";
        QTest::newRow("bare name, no documents: home") << "glyphwick.pdf" << false << "{home}/glyphwick.pdf";
        QTest::newRow("folder gone: documents") << "{home}/gone/a.pdf" << true << "{home}/Documents/a.pdf";
        QTest::newRow("folder there: kept") << "{home}/a.pdf" << true << "{home}/a.pdf";
    }
    void startFolderExists()
    {
        QFETCH(QString, start);
        QFETCH(bool, documents);
        QFETCH(QString, expected);
        TestEnv env;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", env.root().toLocal8Bit());
        if (documents)
            QVERIFY(QDir().mkpath(env.root() + "/Documents"));
        const QString shown = DesktopDialogStart(QString(start).replace("{home}", env.root()));
        qputenv("HOME", home);
        QCOMPARE(shown, expected.replace("{home}", env.root()));
    }
};

QTEST_MAIN(TestDesktopDialogs)
#include "test_desktopdialogs.moc"
