// Which faces of a font file are its styles (named instances, collections), and their names.
#include <QtTest>

#include "sfnt/instances.h"
#include "sfnt/names.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

class TestInstances : public QObject {
    Q_OBJECT
private slots:
    void listedFace_data()
    {
        QTest::addColumn<int>("faceIndex");
        QTest::addColumn<bool>("wholeVariableFont");
        QTest::addColumn<int>("namedInstances");
        QTest::addColumn<bool>("listed");
        QTest::newRow("a named instance is a style") << InstanceFace(0, 1) << false << 2 << true;
        QTest::newRow("the stored default repeats an instance") << 0 << false << 2 << false;
        QTest::newRow("the whole variable font is never a style") << 0 << true << 2 << false;
        QTest::newRow("without named instances the default is the style") << 0 << false << 0 << true;
        QTest::newRow("an instance the font does not name (FreeType's default)") << InstanceFace(0, 2) << false << 2 << false;
    }
    void listedFace()
    {
        QFETCH(int, faceIndex);
        QFETCH(bool, wholeVariableFont);
        QFETCH(int, namedInstances);
        QTEST(IsListedFace(faceIndex, wholeVariableFont, namedInstances), "listed");
    }

    void styleFacesAndNames_data()
    {
        QTest::addColumn<QByteArray>("font");
        QTest::addColumn<QList<int>>("faces");
        QTest::addColumn<QString>("lastFullName");
        QTest::newRow("a variable font by its named instances")
            << SfntBuilder::VariableFont("GW Var", 0) << QList<int>{0x10000, 0x20000} << "GW Var Bold Condensed";
        QTest::newRow("a collection's variable font, numbered in the collection")
            << SfntBuilder::Collection({SfntBuilder::Simple("GW One", "GW One"), SfntBuilder::VariableFont("GW Var", 0)})
            << QList<int>{0, 0x10001, 0x20001} << "GW Var Bold Condensed";
    }
    void styleFacesAndNames()
    {
        QFETCH(QByteArray, font);
        QFETCH(QList<int>, faces);
        TestEnv env;
        const QString file = env.root() + "/font.ttf";
        QVERIFY(WriteFile(file, font));
        QCOMPARE(FileStyleFaces(file), faces);
        FontNameInfo names;
        QVERIFY(ReadNameTableFile(file, names, faces.last()));
        QTEST(names.fullName, "lastFullName");
    }
};

QTEST_GUILESS_MAIN(TestInstances)
#include "test_instances.moc"
