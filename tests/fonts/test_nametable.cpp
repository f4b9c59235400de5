#include <QtTest>
#include <memory>

#include "fonts/nametable.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

QStringList Fields(const FontNameInfo& i)
{
    return {i.copyright, i.family, i.subfamily, i.uniqueId,
            i.fullName, i.version, i.postscriptName, i.trademark};
}

// Expected fields: only the given IDs set.
QStringList Only(std::initializer_list<std::pair<int, QString>> set)
{
    QStringList f(8);
    for (const auto& [id, text] : set)
        f[id] = text;
    return f;
}

QString Units(std::initializer_list<char16_t> units)
{
    QString s;
    for (char16_t u : units)
        s.append(QChar(u));
    return s;
}

SfntName Record(int nameId, const QByteArray& bytes, int length = -1, int offset = -1)
{
    SfntName r;
    r.nameId = nameId;
    r.bytes = bytes;
    r.length = length;
    r.offset = offset;
    return r;
}

} // namespace

class TestNameTable : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env_;

    QStringList ReadThroughFile(const QByteArray& bytes)
    {
        const QString path = env_->root() + "/font.ttf";
        if (!WriteFile(path, bytes))
            qFatal("cannot write the test font");
        FontNameInfo info;
        ReadNameTable(path, info);
        return Fields(info);
    }

    static QStringList ReadBytes(const QByteArray& bytes)
    {
        FontNameInfo info;
        ReadNameTableBytes(bytes, info);
        return Fields(info);
    }

private slots:
    void initTestCase() { env_ = std::make_unique<TestEnv>(); }
    void cleanupTestCase() { env_.reset(); }

    void swaps()
    {
        QCOMPARE(Swap16(0x3412), 0x1234);
        QCOMPARE(Swap16(0x0100), 1);
        QCOMPARE(Swap16(0x00FF), 0xFF00);   // no sign: 65280, not negative
        QCOMPARE(Swap32(0x78563412u), int32_t(0x12345678));
        QCOMPARE(Swap32(0x01000000u), 1);
        QCOMPARE(Swap32(0x00000080u), std::numeric_limits<int32_t>::min()); // sign bit carried
        QCOMPARE(Swap32(0x000000FFu) < 0, true);
        QCOMPARE(SwapBytePairs(QByteArray()), QByteArray());
        QCOMPARE(SwapBytePairs("a"), QByteArray("a"));
        QCOMPARE(SwapBytePairs("abc"), QByteArray("bac"));
        QCOMPARE(SwapBytePairs("abcd"), QByteArray("badc"));
        QCOMPARE(TagText("name"), QStringLiteral("name"));
        QCOMPARE(TagText("\x80\x41\x42\x43"), QString(QChar(0x20AC)) + "ABC");
    }

    void labels_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("label");
        QTest::newRow("-1") << -1 << "Unknown";
        QTest::newRow("0") << 0 << "Copyright";
        QTest::newRow("1") << 1 << "Font Family";
        QTest::newRow("2") << 2 << "Font subfamily";
        QTest::newRow("3") << 3 << "Font Identifier";
        QTest::newRow("4") << 4 << "Full Font Name";
        QTest::newRow("5") << 5 << "Version";
        QTest::newRow("6") << 6 << "Postscript name";
        QTest::newRow("7") << 7 << "Trademark";
        QTest::newRow("8") << 8 << "Unknown";
        QTest::newRow("256") << 256 << "Unknown";
    }
    void labels()
    {
        QFETCH(int, id);
        QFETCH(QString, label);
        QCOMPARE(NameIdLabel(id), label);
    }

    void records_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("fields");

        {
            SfntBuilder b;
            b.AddTable("head", QByteArray(54, '\0')).AddTable("cmap", QByteArray(7, 'x'));
            for (int id = 0; id <= 7; ++id)
                b.AddName(id, QStringLiteral("text %1").arg(id));
            QStringList all;
            for (int id = 0; id <= 7; ++id)
                all << (id == 6 ? QString() : QStringLiteral("text %1").arg(id));
            QTest::newRow("IDs 0 to 7, ID 6 never kept") << b.Build() << all;
        }
        {
            SfntBuilder b;
            b.AddName(1, "Mac Family", 1, 0).AddName(4, "Mac Full", 1, 0);
            QTest::newRow("Macintosh names only") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Unicode", 0, 0x409);
            QTest::newRow("Unicode platform") << b.Build() << Only({});
        }
        for (int lang : {0x809, 0x407, 0x1409, 0x9, 0x4090}) {
            SfntBuilder b;
            b.AddName(1, "Other", 3, lang).AddName(4, "Other Full", 3, lang);
            QTest::addRow("language %x", lang) << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Symbol", 3, 0x409, 0).AddName(4, "Big5", 3, 0x409, 4);
            QTest::newRow("encoding not examined") << b.Build() << Only({{1, "Symbol"}, {4, "Big5"}});
        }
        {
            SfntBuilder b;
            b.AddName(1, "First").AddName(4, "Full").AddName(1, "Second").AddName(1, "Mac", 1, 0);
            QTest::newRow("last record wins") << b.Build() << Only({{1, "Second"}, {4, "Full"}});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Kept");
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("Empty"), 0));
            QTest::newRow("zero length not taken") << b.Build() << Only({{1, "Kept"}});
        }
        {
            SfntBuilder b;
            b.AddName(8, "Designer").AddName(256, "Custom").AddName(6, "PSName").AddName(2, "Bold");
            QTest::newRow("IDs 6 and above 7 stored nowhere") << b.Build() << Only({{2, "Bold"}});
        }
        {
            SfntBuilder b;
            b.AddName(1, QString());
            QTest::newRow("empty string has length 0") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("Fam"), 5));
            QTest::newRow("odd length drops the last byte") << b.Build() << Only({{1, "Fa"}});
        }
        {
            SfntBuilder b;
            b.AddName(1, QStringLiteral("Caf\u00e9 \u20ac"));
            QTest::newRow("code page characters") << b.Build() << Only({{1, QStringLiteral("Caf\u00e9 \u20ac")}});
        }
        {
            // The first read lands on the gap and shows "?"; one byte before the
            // storage, unswapped, gives "0" then "A".
            SfntBuilder b;
            b.SetGap(QByteArray("\x3F\x30", 2));
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("AB")));
            QTest::newRow("second read") << b.Build() << Only({{1, "0A"}});
        }
        {
            // Little-endian storage: the second read shows "?" too, the third is right.
            SfntBuilder b;
            b.SetGap(QByteArray("\x00\x3F", 2));
            b.AddRecord(Record(4, SfntBuilder::Utf16LE("AB")));
            QTest::newRow("third read") << b.Build() << Only({{4, "AB"}});
        }
        {
            // A big-endian string read unswapped by the third read comes out swapped.
            SfntBuilder b;
            b.SetGap(QByteArray("\x00\x3F", 2));
            b.AddRecord(Record(4, SfntBuilder::Utf16BE("AB")));
            QTest::newRow("third read of big-endian text") << b.Build() << Only({{4, Units({0x4100, 0x4200})}});
        }
        {
            // A real "?" first also triggers the second read: the byte before is the
            // record's offset (0).
            SfntBuilder b;
            b.AddName(1, "?x");
            QTest::newRow("leading question mark") << b.Build() << Only({{1, Units({0, '?'})}});
        }
        {
            SfntBuilder b;
            b.AddName(1, QStringLiteral("\u4e2d\u6587"));
            QTest::newRow("first character outside the code page")
                << b.Build() << Only({{1, Units({0x2D4E, 0x8765})}});
        }
        {
            SfntBuilder b;
            b.SetGap(QByteArray("\x00\x41", 2));
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("BC")));
            QTest::newRow("storage not after the records, no ?")
                << b.Build() << Only({{1, Units({'A', 'B'})}});
        }
    }
    void records()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, fields);
        QCOMPARE(ReadThroughFile(file), fields);
        QCOMPARE(ReadBytes(file), fields);
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("fields");

        const QByteArray good = SfntBuilder::Simple("Fam", "Fam Bold", "Bold");
        const QStringList goodFields = Only({{1, "Fam"}, {2, "Bold"}, {4, "Fam Bold"}});
        QTest::newRow("well-formed") << good << goodFields;
        QTest::newRow("empty file") << QByteArray() << Only({});
        QTest::newRow("header cut") << good.left(11) << Only({});
        QTest::newRow("header only") << good.left(12) << Only({});
        QTest::newRow("directory cut") << good.left(12 + 16 + 8) << Only({});
        QTest::newRow("not a font") << QByteArray(500, 'x') << Only({});
        {
            SfntBuilder b;
            b.AddName(1, "Fam");
            b.numTables = 0;
            QTest::newRow("numTables 0") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Fam");
            b.numTables = 65535;
            QTest::newRow("numTables 65535, 'name' first") << b.Build() << Only({{1, "Fam"}});
        }
        {
            SfntBuilder b;
            b.withNameTable = false;
            b.AddTable("head", QByteArray(54, 'n'));
            b.numTables = 65535;
            QTest::newRow("numTables 65535, no 'name'") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            for (int i = 0; i < 4095; ++i)
                b.AddTable("fill", QByteArray());
            b.AddName(1, "Fam");
            QTest::newRow("'name' beyond 4095 tables") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Fam");
            b.nameOffset = 1 << 20;
            QTest::newRow("name offset beyond EOF") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Fam");
            b.nameOffset = 0x80000000LL;
            QTest::newRow("name offset negative") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Fam");
            const QByteArray f = b.Build();
            b.nameOffset = f.size() - 5;
            QTest::newRow("name header cut by EOF") << b.Build() << Only({});
        }
        {
            // Records that do not fit are not read; the first read lands past EOF,
            // the second one byte before each string: the last record's offset (6)
            // for "Fam", the low byte of "m" for "Reg".
            SfntBuilder b;
            b.AddName(1, "Fam").AddName(2, "Reg");
            b.count = 65535;
            b.stringOffset = 6 + 24;
            QTest::newRow("record count larger than file")
                << b.Build() << Only({{1, Units({6, 'F', 'a'})}, {2, "mRe"}});
        }
        {
            SfntBuilder b;
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("Fam"), -1, 60000));
            QTest::newRow("string offset past EOF") << b.Build() << Only({});
        }
        {
            SfntBuilder b;
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("Fam"), 200));
            QTest::newRow("string length past EOF") << b.Build() << Only({});
        }
        {
            // One byte short for the first read, the second read still fits.
            SfntBuilder b;
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("Fam"), 7));
            QTest::newRow("string one byte past EOF") << b.Build() << Only({{1, Units({0, 'F', 'a'})}});
        }
        {
            SfntBuilder b;
            b.AddName(1, "Good");
            b.AddRecord(Record(1, SfntBuilder::Utf16BE("Bad"), 0xFFFF));
            QTest::newRow("unreadable last record keeps the earlier text") << b.Build() << Only({{1, "Good"}});
        }
        {
            SfntBuilder b;
            b.AddRecord(Record(4, QByteArray(), 0xFFFF, 0xFFFF));
            b.stringOffset = 0xFFFF;
            QTest::newRow("huge length, offset and storage offset") << b.Build() << Only({});
        }
    }
    void damaged()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, fields);
        QCOMPARE(ReadThroughFile(file), fields);
        QCOMPARE(ReadBytes(file), fields);
    }

    void everyTruncation()
    {
        SfntBuilder b;
        b.AddTable("head", QByteArray(54, '\0'));
        b.AddName(0, "(c) Someone").AddName(1, "Fam").AddName(4, "Fam Bold");
        const QByteArray file = b.Build();
        const int header = b.NameTableOffset() + 6;
        for (int n = 0; n <= file.size(); ++n) {
            FontNameInfo info;
            ReadNameTableBytes(file.left(n), info);
            if (n < header)
                QVERIFY2(Fields(info) == Only({}), qPrintable(QString::number(n)));
            if (n == file.size())
                QCOMPARE(Fields(info), Only({{0, "(c) Someone"}, {1, "Fam"}, {4, "Fam Bold"}}));
        }
    }

    void fieldsNotFoundKeepTheirText()
    {
        FontNameInfo info;
        info.copyright = "old copyright";
        info.family = "old family";
        const QString path = env_->root() + "/keep.ttf";
        QVERIFY(WriteFile(path, SfntBuilder::Simple("New", "New Full")));
        ReadNameTable(path, info);
        QCOMPARE(info.copyright, QStringLiteral("old copyright"));
        QCOMPARE(info.family, QStringLiteral("New"));

        for (const QString& notAFile : {env_->root() + "/missing.ttf", env_->root(), QStringLiteral("/dev/zero")})
            ReadNameTable(notAFile, info);
        QCOMPARE(info.family, QStringLiteral("New"));
        QCOMPARE(info.fullName, QStringLiteral("New Full"));
    }

    void caseSensitivePath()
    {
        const QString path = env_->root() + "/MixedCase.TTF";
        QVERIFY(WriteFile(path, SfntBuilder::Simple("Mixed", "Mixed Regular")));
        FontNameInfo info;
        ReadNameTable(path, info);
        QCOMPARE(info.fullName, QStringLiteral("Mixed Regular"));
    }
};

QTEST_GUILESS_MAIN(TestNameTable)
#include "test_nametable.moc"
