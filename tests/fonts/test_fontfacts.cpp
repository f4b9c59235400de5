// What a font file holds (glyphs, characters, features, axes, instances,
// embedding rights) and `glyphwick-fonts info`, against values read here
// straight from the tables; the tables of a static copy of an instance.
#include <QtTest>
#include <QRawFont>
#include <QtEndian>

#include "fonts/fontfacts.h"
#include "fonts/fontinfocommand.h"
#include "fonts/nametable.h"
#include "fonts/staticinstance.h"
#include "sfnt/instances.h"
#include "sfnt/reader.h"
#include "sfnt/sfnt.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

class TestFontFacts : public QObject {
    Q_OBJECT

private slots:
    void realFonts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("features"); // of its GSUB and GPOS tables
        QTest::newRow("TrueType with GSUB and GPOS")
            << "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf" << "ccmp dlig kern mark mkmk subs sups";
        QTest::newRow("TrueType with many scripts") << "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
            << "RQD aalt case ccmp dlig fina hlig init kern liga locl mark medi mkmk rlig salt";
        QTest::newRow("CFF OpenType, print and preview") << "/usr/share/fonts/opentype/urw-base35/C059-Roman.otf"
            << "aalt dnom fina frac hist kern liga numr ordn sups";
    }
    void realFonts()
    {
        QFETCH(QString, file);
        if (!QFile::exists(file))
            QSKIP("font not installed");
        const FontFacts facts = ReadFontFacts(file);
        quint16 glyphs = 0, fsType = 0;
        QVERIFY(BoundedReader(FileTable(file, "maxp")).U16(4, glyphs));
        QVERIFY(BoundedReader(FileTable(file, "OS/2")).U16(8, fsType));
        QCOMPARE(facts.glyphs, int(glyphs));
        QCOMPARE(facts.fsType, int(fsType));
        const QRawFont raw(file, 12);
        int characters = 0;
        for (uint c = 0; c <= 0x10FFFF; ++c)
            characters += c != 0x09 && raw.supportsCharacter(c) ? 1 : 0;  // Qt answers the tab with the space
        QCOMPARE(facts.characters, characters);
        int inBlocks = 0;
        for (const UnicodeBlock& b : facts.blocks)
            inBlocks += b.count;
        QCOMPARE(inBlocks, facts.characters);
        QTEST(facts.features.join(' '), "features");
        FontNameInfo names;
        ReadNameTable(file, names);
        QCOMPARE(facts.version, names.version);
    }

    void embeddingRights_data()
    {
        QTest::addColumn<int>("fsType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("no bits: installable") << 0 << "Installable" << true;
        QTest::newRow("restricted alone") << 0x0002 << "Restricted" << false;
        QTest::newRow("print and preview") << 0x0004 << "Print and preview" << true;
        QTest::newRow("editable") << 0x0008 << "Editable" << true;
        QTest::newRow("the most permissive of two levels") << 0x000C << "Editable" << true;
        QTest::newRow("restricted with print bit is print") << 0x0006 << "Print and preview" << true;
        QTest::newRow("no subsetting") << 0x0100 << "Installable, no subsetting" << true;
        QTest::newRow("bitmap only cannot embed outlines") << 0x0204 << "Print and preview, bitmap only" << false;
    }
    void embeddingRights()
    {
        QFETCH(int, fsType);
        QTEST(EmbeddingRightsText(fsType), "text");
        QTEST(EmbeddingAllowed(fsType), "allowed");
    }

    // Row: the command's words (FILE stands for a two-face collection), exit status, a line printed.
    void command_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("line");
        QTest::newRow("second face of a collection") << QStringList{"FILE", "--face", "1"} << 0 << "Family: Second";
        QTest::newRow("first face by default") << QStringList{"FILE"} << 0 << "Face: 0 of 2";
        QTest::newRow("a one-letter name, face 0 named") << QStringList{"ONE", "--face", "0"} << 0 << "Family: Q\n";
        QTest::newRow("a face past the last") << QStringList{"FILE", "--face", "2"} << 2 << "has 2 faces (0 to 1), not 2";
        QTest::newRow("a face past a single font's one") << QStringList{"ONE", "--face", "1"} << 2
                                                         << "has 1 face (0 to 0), not 1";
        QTest::newRow("no file") << QStringList{} << 2 << "no font file given";
        QTest::newRow("face not a number") << QStringList{"FILE", "--face", "x"} << 2 << "--face needs";
        QTest::newRow("missing file") << QStringList{"/nonexistent.ttf"} << 1 << "no such file";
        QTest::newRow("not a font") << QStringList{"TEXT"} << 1 << "not an OpenType or TrueType font";
    }
    void command()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString ttc = dir.filePath("two.ttc"), text = dir.filePath("notes.ttf");
        QVERIFY(WriteFile(ttc, SfntBuilder::Collection({SfntBuilder::Simple("First", "First"),
                                                        SfntBuilder::Simple("Second", "Second")})));
        QVERIFY(WriteFile(text, "not a font at all"));
        QVERIFY(WriteFile(dir.filePath("one.ttf"), SfntBuilder::Simple("Q", "Q")));
        args.replaceInStrings(QRegularExpression("^FILE$"), ttc).replaceInStrings(QRegularExpression("^TEXT$"), text);
        args.replaceInStrings(QRegularExpression("^ONE$"), dir.filePath("one.ttf"));
        const CommandResult r = RunCommand(RunFontInfoCommand, args);
        QCOMPARE(r.code, status);
        QVERIFY2((status == 0 ? r.out : r.err).contains(line), qPrintable(r.out + r.err));
    }

    // A static copy, of an instance or of a hinted font with composites: each glyph starts on 4 bytes where
    // the one before ends, the header's box is the union of theirs, the profile allows no instructions.
    void staticInstanceTablesAgreeWithGlyphs()
    {
        TestEnv env;
        const QString var = env.root() + "/var.ttf", copy = env.root() + "/copy.ttf";
        QVERIFY(WriteFile(var, SfntBuilder::VariableFont("GW Var", 0)));
        for (const auto& [file, face] : {std::pair{var, InstanceFace(0, 1)}, {SystemFile("LiberationSans-Regular.ttf"), 0}}) {
            QCOMPARE(WriteStaticInstance(file, face, copy), QString());
            const QByteArray glyf = FileTable(copy, "glyf"), loca = FileTable(copy, "loca"), head = FileTable(copy, "head");
            const QByteArray maxp = FileTable(copy, "maxp");
            const auto word = [](const QByteArray& b, qint64 at) { return int(qFromBigEndian<qint16>(b.constData() + at)); };
            const auto offset = [&](int g) { return qint64(qFromBigEndian<quint32>(loca.constData() + 4 * g)); };
            QRect box;
            for (int g = 0; g < word(maxp, 4); ++g) {
                const qint64 at = offset(g);
                QVERIFY2(at % 4 == 0 && at <= offset(g + 1), qPrintable(QString("%1: glyph %2").arg(file).arg(g)));
                if (offset(g + 1) > at)
                    box |= QRect(QPoint(word(glyf, at + 2), word(glyf, at + 4)), QPoint(word(glyf, at + 6), word(glyf, at + 8)));
            }
            QCOMPARE(offset(word(maxp, 4)), glyf.size());
            QCOMPARE(QRect(QPoint(word(head, 36), word(head, 38)), QPoint(word(head, 40), word(head, 42))), box);
            for (int at = 10; at < 32; at += 2)
                QCOMPARE(word(maxp, at), at == 14 ? 2 : 0);
        }
    }
};

QTEST_MAIN(TestFontFacts)
#include "test_fontfacts.moc"
