// The HTML help: one anchor per context number the windows open, and a copy
// next to the executable where the program looks for it.
#include <QtTest>

#include "core/globals.h"
#include "core/helpers.h"
#include "testenv.h"

using namespace gw;

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void everyContextHasAnAnchor_data()
    {
        QTest::addColumn<int>("context");
        for (int c : {120, 550, 555, 560, 565, 570, 610, 615, 710, 725})
            QTest::newRow(qPrintable(QString::number(c))) << c;
    }
    void everyContextHasAnAnchor()
    {
        QFETCH(int, context);
        for (const QString& file : {QString(GW_SOURCE_DIR "/help/gw.html"),
                                    QCoreApplication::applicationDirPath() + "/../app/gw.html"}) {
            const QByteArray html = ReadFile(file);
            QVERIFY2(!html.isEmpty(), qPrintable(file));
            QCOMPARE(html.count(QString("id=\"ctx-%1\"").arg(context).toUtf8()), 1);
        }
    }

    void showHelpContextGoesToTheService()
    {
        TestEnv env;
        ShowHelpContext(710);
        QCOMPARE(env.fake.help->files, QStringList(HelpFile));
        QCOMPARE(env.fake.help->contexts, QList<int>({710}));
    }
};

QTEST_MAIN(HelpTest)
#include "test_help.moc"
