#include <QtTest>
#include <QDirIterator>
#include <memory>

#include "core/globals.h"
#include "fonts/fontresource.h"
#include "fonts/nametable.h"
#include "testenv.h"

using namespace gw;

// The fuzzing seeds, and whatever crash inputs were added to them, through the
// readers built with the regular compiler.
class TestCorpusReplay : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env_;

private slots:
    void initTestCase() { env_ = std::make_unique<TestEnv>(); }
    void cleanupTestCase() { env_.reset(); }

    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        QDirIterator it(QStringLiteral(GW_SOURCE_DIR "/fuzz/corpus"), QDir::Files, QDirIterator::Subdirectories);
        if (!it.hasNext())
            QTest::newRow("no corpus") << QString();
        while (it.hasNext()) {
            const QString path = it.next();
            QTest::newRow(qPrintable(QDir(QStringLiteral(GW_SOURCE_DIR)).relativeFilePath(path))) << path;
        }
    }
    void corpus()
    {
        QFETCH(QString, path);
        QVERIFY2(!path.isEmpty(), "fuzz/corpus holds no files");
        const QByteArray bytes = ReadFile(path);
        QVERIFY(!bytes.isEmpty());

        FontNameInfo fromBytes, fromFile;
        ReadNameTableBytes(bytes, fromBytes);
        ReadNameTable(path, fromFile);
        QCOMPARE(NameFields(fromFile), NameFields(fromBytes));
        QVERIFY(fromBytes.postscriptName.isEmpty());

        QString face1 = "x", style1 = "x", face2 = "x", style2 = "x";
        const QString r1 = ReadFontResourceBytes(bytes, face1, style1);
        QCOMPARE(ReadFontResource(path, face2, style2), r1);
        QCOMPARE(QStringList({face2, style2}), QStringList({face1, style1}));
        QVERIFY(r1.isEmpty() || r1 == QLatin1String("unknown"));
        if (r1.isEmpty())
            QVERIFY(!face1.isEmpty() && !style1.isEmpty());

        const QString target = GetFotTarget(path);
        QVERIFY(!target.isEmpty());
        QCOMPARE(target == QLatin1String("unknown"), GetFotTargetBytes(bytes, SysDir) == QLatin1String("unknown"));
    }
};

QTEST_GUILESS_MAIN(TestCorpusReplay)
#include "test_corpus_replay.moc"
