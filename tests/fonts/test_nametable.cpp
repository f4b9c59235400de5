// The naming-table reader on made and damaged files; the fuzzing seeds through every font reader.
#include <QtTest>
#include <QDirIterator>
#include <memory>

#include "core/globals.h"
#include "fonts/fontresource.h"
#include "fonts/nametable.h"
#include "sfnt/fot.h"
#include "sfnt/writer.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

// Expected fields: only the given IDs set.
QStringList Only(std::initializer_list<std::pair<int, QString>> set)
{
    QStringList f(8);
    for (const auto& [id, text] : set)
        f[id] = text;
    return f;
}

} // namespace

class TestNameTable : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env_;

private slots:
    void initTestCase() { env_ = std::make_unique<TestEnv>(); }
    void cleanupTestCase() { env_.reset(); }

    // Well-formed and damaged files alike, read from the file and from its bytes.
    void read_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("fields");
        using B = SfntBuilder;
        const auto row = [](const char* name, const std::function<void(B&)>& setUp, const QStringList& fields) {
            QTest::newRow(name) << B::Make(setUp) << fields;
        };

        QStringList all;
        for (int id = 0; id <= 7; ++id)
            all << (id == 6 ? QString() : QStringLiteral("text %1").arg(id));
        row("IDs 0 to 7, ID 6 never kept", [](B& b) {
            b.AddTable("head", QByteArray(54, '\0')).AddTable("cmap", QByteArray(7, 'x'));
            for (int id = 0; id <= 7; ++id)
                b.AddName(id, QStringLiteral("text %1").arg(id));
        }, all);
        row("Macintosh names only", [](B& b) { b.AddName(1, "Mac Family", 1, 0).AddName(4, "Mac Full", 1, 0); }, Only({}));
        row("language 809", [](B& b) { b.AddName(1, "Other", 3, 0x809); }, Only({}));
        row("encoding not examined", [](B& b) { b.AddName(1, "Symbol", 3, 0x409, 0).AddName(4, "Big5", 3, 0x409, 4); },
            Only({{1, "Symbol"}, {4, "Big5"}}));
        row("last record wins", [](B& b) { b.AddName(1, "First").AddName(4, "Full").AddName(1, "Second").AddName(1, "Mac", 1, 0); },
            Only({{1, "Second"}, {4, "Full"}}));
        row("zero length not taken", [](B& b) { b.AddName(1, "Kept").AddRecord(1, Utf16BE("Empty"), 0); }, Only({{1, "Kept"}}));
        row("odd length drops the last byte", [](B& b) { b.AddRecord(1, Utf16BE("Fam"), 5); }, Only({{1, "Fa"}}));
        row("little-endian storage: the third read is right", [](B& b) { b.SetGap(QByteArray("\x00\x3F", 2)).AddRecord(4, B::Utf16LE("AB")); },
            Only({{4, "AB"}}));

        const QByteArray good = SfntBuilder::Simple("Fam", "Fam Bold", "Bold");
        QTest::newRow("well-formed") << good << Only({{1, "Fam"}, {2, "Bold"}, {4, "Fam Bold"}});
        QTest::newRow("empty file") << QByteArray() << Only({});
        QByteArray noFonts = SfntBuilder::Collection({good});
        noFonts[11] = 0;
        QTest::newRow("collection of no fonts") << noFonts << Only({});
        QTest::newRow("not a font") << QByteArray(500, 'x') << Only({});
        row("numTables 65535, 'name' first", [](B& b) { b.AddName(1, "Fam").numTables = 65535; }, Only({{1, "Fam"}}));
        row("name offset beyond EOF", [](B& b) { b.AddName(1, "Fam").nameOffset = 1 << 20; }, Only({}));
        // Records that do not fit are not read; the second read starts a byte early: at the last record's offset
        // (6) for "Fam", the low byte of "m" for "Reg".
        row("record count larger than file", [](B& b) {
            b.AddName(1, "Fam").AddName(2, "Reg").count = 65535;
            b.stringOffset = 6 + 24;
        }, Only({{1, QString::fromUtf16(u"\u0006Fa", 3)}, {2, "mRe"}}));
        row("string offset past EOF", [](B& b) { b.AddRecord(1, Utf16BE("Fam"), -1, 60000); }, Only({}));
        row("string length past EOF", [](B& b) { b.AddRecord(1, Utf16BE("Fam"), 200); }, Only({}));
        row("string one byte past EOF: the second read fits", [](B& b) { b.AddRecord(1, Utf16BE("Fam"), 7); },
            Only({{1, QString::fromUtf16(u"\0Fa", 3)}}));
        row("unreadable last record keeps the earlier text",
            [](B& b) { b.AddName(1, "Good").AddRecord(1, Utf16BE("Bad"), 0xFFFF); }, Only({{1, "Good"}}));
    }
    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, fields);
        const QString path = env_->root() + "/MixedCase.TTF";
        QVERIFY(WriteFile(path, file));
        FontNameInfo fromFile, fromBytes;
        ReadNameTable(path, fromFile);
        ReadNameTableBytes(file, fromBytes);
        QCOMPARE(NameFields(fromFile), fields);
        QCOMPARE(NameFields(fromBytes), fields);
    }

    void fieldsNotFoundAndFilesNotReadKeepTheirText()
    {
        FontNameInfo info;
        info.copyright = "old copyright";
        info.family = "old family";
        const QString path = env_->root() + "/keep.ttf";
        QVERIFY(WriteFile(path, SfntBuilder::Simple("New", "New Full")));
        ReadNameTable(path, info);
        QCOMPARE(info.copyright, QStringLiteral("old copyright"));
        QCOMPARE(info.family, QStringLiteral("New"));

        // Missing, a folder, an endless device, a file beyond 16 MB: no reader takes anything.
        const QString huge = env_->root() + "/huge.fot";
        QVERIFY(WriteFile(huge, BuildFotFile("/x/a.ttf", "A", "B")) && QFile(huge).resize(16 * 1024 * 1024 + 1));
        for (const QString& notAFile : {env_->root() + "/missing.ttf", env_->root(), QStringLiteral("/dev/zero"), huge}) {
            ReadNameTable(notAFile, info);
            QString face = "old", style = "old";
            QCOMPARE(ReadFontResource(notAFile, face, style), QStringLiteral("unknown"));
            QCOMPARE(face, QStringLiteral("old"));
            QCOMPARE(GetFotTarget(notAFile), QStringLiteral("unknown"));
        }
        QCOMPARE(info.family, QStringLiteral("New"));
        QCOMPARE(info.fullName, QStringLiteral("New Full"));
    }

    // Each face of a collection has its own names; a face not there gives none.
    void collectionFaces_data()
    {
        QTest::addColumn<int>("face");
        QTest::addColumn<QString>("family");
        QTest::newRow("first face") << 0 << "Fam";
        QTest::newRow("second face") << 1 << "Other";
        QTest::newRow("past the last face") << 2 << "";
        QTest::newRow("negative face") << -1 << "";
    }
    void collectionFaces()
    {
        QFETCH(int, face);
        const QString path = env_->root() + "/two.ttc";
        QVERIFY(WriteFile(path, SfntBuilder::Collection({SfntBuilder::Simple("Fam", "Fam"), SfntBuilder::Simple("Other", "Other")})));
        FontNameInfo info;
        ReadNameTable(path, info, face);
        QTEST(info.family, "family");
    }

    // The fuzzing seeds, and whatever crash inputs were added to them, through every reader.
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
        QString face1 = "x", style1 = "x", face2 = "x", style2 = "x";
        QCOMPARE(ReadFontResource(path, face2, style2), ReadFontResourceBytes(bytes, face1, style1));
        QCOMPARE(QStringList({face2, style2}), QStringList({face1, style1}));
        QCOMPARE(GetFotTarget(path) == QLatin1String("unknown"),
                 GetFotTargetBytes(bytes, SystemFontDir) == QLatin1String("unknown"));
    }
};

QTEST_GUILESS_MAIN(TestNameTable)
#include "test_nametable.moc"
