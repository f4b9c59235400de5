// What a folder scan, `glyphwick-fonts info` and the embedding rules read of a font file; the files written from a
// face's outlines. Approved in tests/data/fontfiles and tests/data/outlinecopies (GW_APPROVE=1 rewrites them).
#include <QtTest>
#include <QFontDatabase>
#include <QtEndian>

#include "fonts/fontfacts.h"
#include "fonts/fontinfocommand.h"
#include "fonts/fontscan.h"
#include "fonts/glyphs.h"
#include "fonts/outlineface.h"
#include "fonts/staticinstance.h"
#include "platformapi/platform.h"
#include "sfnt/instances.h"
#include "sfnt/sfnt.h"
#include "sfnt/writer.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

int Word(const QByteArray& b, qsizetype at) { return at >= 0 && at + 2 <= b.size() ? qFromBigEndian<qint16>(b.constData() + at) : 0; }
quint32 Long(const QByteArray& b, qsizetype at) { return at >= 0 && at + 4 <= b.size() ? qFromBigEndian<quint32>(b.constData() + at) : 0; }

QString ApprovedFile(const QString& folder)
{
    return folder + "/" + QString(QTest::currentDataTag()).replace(' ', '-') + ".txt";
}

// An sfnt file's directory, each table's checksum checked, header fields and names.
QStringList TablesText(const QString& path)
{
    const QByteArray file = ReadFile(path), name = FileTable(path, "name");
    QStringList lines{QString("version %1, file checksum %2").arg(Long(file, 0), 8, 16, QChar('0')).arg(SfntChecksum(file), 0, 16)};
    for (int i = 0, entry = 12; i < Word(file, 4); ++i, entry += 16) {
        QByteArray table = file.mid(Long(file, entry + 8), Long(file, entry + 12));
        if (file.mid(entry, 4) == "head")
            table.replace(8, 4, QByteArray(4, '\0'));
        lines << QString("%1 at %2, %3 bytes, checksum %4 %5").arg(file.mid(entry, 4)).arg(Long(file, entry + 8)).arg(table.size())
                     .arg(Long(file, entry + 4), 0, 16).arg(SfntChecksum(table) == Long(file, entry + 4) ? "right" : "WRONG");
    }
    for (const QString& field : QString("head:18:unitsPerEm head:36:xMin head:38:yMin head:40:xMax head:42:yMax head:44:macStyle "
             "head:50:indexToLocFormat hhea:4:ascender hhea:6:descender hhea:10:advanceWidthMax hhea:12:minLeftSideBearing "
             "hhea:14:minRightSideBearing hhea:16:xMaxExtent hhea:34:numberOfHMetrics maxp:0:version maxp:4:numGlyphs maxp:6:maxPoints "
             "maxp:8:maxContours maxp:10:maxCompositePoints maxp:12:maxCompositeContours maxp:14:maxZones maxp:16:maxTwilightPoints "
             "maxp:18:maxStorage maxp:20:maxFunctionDefs maxp:22:maxInstructionDefs maxp:24:maxStackElements "
             "maxp:26:maxSizeOfInstructions maxp:28:maxComponentElements maxp:30:maxComponentDepth OS/2:4:usWeightClass "
             "OS/2:6:usWidthClass OS/2:8:fsType post:0:version post:4:italicAngle").split(' '))
        lines << field.section(':', 0, 0) + ' ' + field.section(':', 2) + ' '
                     + QString::number(Word(FileTable(path, field.section(':', 0, 0).toLatin1()), field.section(':', 1, 1).toInt()));
    for (int i = 0, at = 6; i < Word(name, 2); ++i, at += 12)
        lines << QString("name %1 %2 %3 %4: %5").arg(Word(name, at)).arg(Word(name, at + 2)).arg(Word(name, at + 4), 0, 16).arg(Word(name, at + 6))
                     .arg(QString(QStringDecoder(QStringDecoder::Utf16BE)(name.mid(Word(name, 4) + Word(name, at + 10), Word(name, at + 8)))).replace('\n', "\\n"));
    return lines;
}

// The farthest a point of either outline (curves flattened) lies from the other's edges, font units.
double OutlineDistance(const QPainterPath& a, const QPainterPath& b)
{
    double farthest = 0;
    for (const auto& [from, to] : {std::pair{a, b}, {b, a}})
        for (const QPolygonF& polygon : from.toSubpathPolygons())
            for (const QPointF p : polygon) {
                double nearest = 1e9;
                for (const QPolygonF& e : to.toSubpathPolygons())
                    for (int i = 1; i < e.size(); ++i) {
                        const QPointF d = e[i] - e[i - 1];
                        const double t = std::clamp(QPointF::dotProduct(p - e[i - 1], d) / std::max(QPointF::dotProduct(d, d), 1e-9), 0.0, 1.0);
                        nearest = std::min(nearest, QLineF(p, e[i - 1] + t * d).length());
                    }
                farthest = std::max(farthest, nearest);
            }
    return farthest;
}

} // namespace

class TestFontFacts : public QObject {
    Q_OBJECT

private slots:
    // A static copy's OS/2 classes: the nearest width class (the narrower on a tie), the weight rounded to 1..1000.
    void classOfAxisValue_data()
    {
        QTest::addColumn<QString>("axis");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("osClass");
        const std::tuple<const char*, double, int> rows[] = {
            {"wdth", 10, 1}, {"wdth", 50, 1}, {"wdth", 56.25, 1}, {"wdth", 56.3, 2}, {"wdth", 62.5, 2},
            {"wdth", 75, 3}, {"wdth", 87.5, 4}, {"wdth", 93.7, 4}, {"wdth", 93.8, 5}, {"wdth", 100, 5},
            {"wdth", 106.2, 5}, {"wdth", 106.3, 6}, {"wdth", 125, 7}, {"wdth", 137.5, 7}, {"wdth", 150, 8},
            {"wdth", 175, 8}, {"wdth", 175.1, 9}, {"wdth", 200, 9}, {"wdth", 500, 9},
            {"wght", 0, 1}, {"wght", 1, 1}, {"wght", 99.5, 100}, {"wght", 400.4, 400}, {"wght", 999.6, 1000},
            {"wght", 1000, 1000}, {"wght", 1200, 1000}};
        for (const auto& [axis, value, osClass] : rows)
            QTest::addRow("%s %g", axis, value) << axis << value << osClass;
    }
    void classOfAxisValue()
    {
        QFETCH(QString, axis);
        QFETCH(double, value);
        QTEST(axis == "wdth" ? WidthClass(value) : WeightClass(value), "osClass");
    }

    // A face's exact font: a positive size is the cell (ascent and descent) in pixels, a negative one the em.
    void exactFontSizes_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("0 leaves the size alone") << 0;
        QTest::newRow("a positive size is the cell") << 40;
        QTest::newRow("a cell of one pixel") << 1;
        QTest::newRow("a negative size is the em") << -30;
        QTest::newRow("a face of no height: the size is the em") << 20;  // a damaged file's metrics
    }
    void exactFontSizes()
    {
        QFETCH(int, size);
        EnumLogFont elf;
        elf.drawingFamily = "Liberation Sans";
        const bool flat = QString(QTest::currentDataTag()).contains("no height");
        if (flat) {
            QByteArray bytes = SfntBuilder::Renamed(ReadFile(SystemFile("LiberationSans-Regular.ttf")), "GW Flat", "GW Flat");
            TableEntry hhea, os2;
            QVERIFY(FindTable(BoundedReader(bytes), 0, "hhea", hhea) && FindTable(BoundedReader(bytes), 0, "OS/2", os2));
            for (int at : {4, 6, 8})
                qToBigEndian<qint16>(0, bytes.data() + hhea.offset + at);
            for (int at : {68, 70, 72, 74, 76})
                qToBigEndian<qint16>(0, bytes.data() + os2.offset + at);
            QVERIFY(QFontDatabase::addApplicationFontFromData(bytes) >= 0);
            elf.drawingFamily = "GW Flat";
        }
        const QFont font = ExactFont(elf, size);
        const QFontMetricsF metrics(font);
        if (flat)
            QCOMPARE(font.pixelSize(), size);
        else if (size == 0)
            QVERIFY(font.pixelSize() == -1 && font.pointSizeF() == QFont(elf.drawingFamily).pointSizeF());
        else if (size < 0)
            QCOMPARE(font.pixelSize(), -size);
        else
            QVERIFY2(font.pixelSize() > 0 && qAbs(metrics.ascent() + metrics.descent() - size) <= 1,
                     qPrintable(QString::number(metrics.height())));
    }

    // A face-name field holds 31 bytes: a field that full is the start of a longer family, found by it.
    void fullFaceNameFieldFindsItsFamily()
    {
        TestEnv env;
        const QString path = env.root() + "/long.ttf", family = "GW Family Whose Name Runs On And On";
        QVERIFY(WriteFile(path, SfntBuilder::Renamed(ReadFile(SystemFile("LiberationSans-Regular.ttf")), family, family)));
        const int id = QFontDatabase::addApplicationFont(path);
        QVERIFY(id >= 0);
        QCOMPARE(QStringList({FamilyOfFaceName(family.left(30)), FamilyOfFaceName(family.left(31))}),
                 QStringList({family.left(30), family}));
        QFontDatabase::removeApplicationFont(id);
    }

    // A face's characters come from its own file's map; a face whose file is not known has none.
    void charactersOfAFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("reads");  // a chart asks for each of its characters: the map is read once
        QTest::newRow("a file's own map") << "own.ttf" << 2 << 1;
        QTest::newRow("no file") << "" << 0 << 0;
        QTest::newRow("a file not known") << "unknown" << 0 << 0;
    }
    void charactersOfAFile()
    {
        QFETCH(QString, file);
        TestEnv env;
        env.fake.characterMaps->maps[file] = {'A', 'B'};
        QTEST(int(FontCharacters(file, 0).size()), "characters");
        for (uint c = 'A'; c <= 'Z'; ++c)
            QCOMPARE(FontHasCharacter(file, 0, c), c <= 'B' || file != "own.ttf");
        QTEST(env.fake.characterMaps->reads, "reads");
    }

    // A face closed gives its file back: nothing of it stays mapped into memory.
    void closedFaceLeavesNothingMapped()
    {
        const QString file = QFileInfo(SystemFile("LiberationSans-Regular.ttf")).canonicalFilePath();
        if (file.isEmpty())
            QSKIP("font not installed");
        const auto mapped = [&file] { return QString::fromLocal8Bit(ReadFile("/proc/self/maps")).count(file); };
        const qsizetype before = mapped();
        {
            const OutlineFace face(file, 0);
            QVERIFY(face.IsValid() && mapped() > before);
        }
        QCOMPARE(mapped(), before);
    }

    // A face with nothing to draw (no em, no glyphs) is not opened for its outlines.
    void faceWithoutOutlinesIsRefused_data()
    {
        QTest::addColumn<QByteArray>("field");  // "table:offset" of a 16-bit field set to 0
        QTest::addColumn<bool>("valid");
        QTest::newRow("whole") << QByteArray() << true;
        QTest::newRow("no glyphs") << QByteArray("maxp:4") << false;
        QTest::newRow("no em") << QByteArray("head:18") << false;
    }
    void faceWithoutOutlinesIsRefused()
    {
        QFETCH(QByteArray, field);
        TestEnv env;
        QByteArray font = SfntBuilder::VariableFont("GW Empty", 0);
        for (int i = 0, entry = 12; !field.isEmpty() && i < Word(font, 4); ++i, entry += 16)
            if (font.mid(entry, 4) == field.left(4))
                font.replace(qsizetype(Long(font, entry + 8)) + field.mid(5).toInt(), 2, QByteArray(2, '\0'));
        const QString file = env.root() + "/f.ttf";
        QVERIFY(WriteFile(file, font));
        QTEST(OutlineFace(file, 0).IsValid(), "valid");
    }

    // A font without a no-break space or a tab prints both as its space, not as its missing glyph.
    void blanksWithoutGlyphsAreSpaces()
    {
        TestEnv env;
        const QString file = env.root() + "/blank.ttf";
        QVERIFY(WriteFile(file, SfntBuilder::VariableFont("GW Blank", 0)));
        const OutlineFace face(file, 0);
        QVERIFY(face.GlyphIndex(' ') != 0);
        for (const char32_t blank : {char32_t(0xA0), char32_t('\t')})
            QCOMPARE(face.GlyphIndex(blank), face.GlyphIndex(' '));
    }

    // A file named like a font: whether the scan takes it, each face's names (or why not), its .fot made again
    // once deleted, its embedding bits, what `glyphwick-fonts info` prints of it (or of no file), its styles.
    void fileKinds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // empty: the installed file of that name; "/": a folder
        QTest::newRow("single font") << "one.ttf" << SfntBuilder::WithEmbedding("GW One", 0x0104);
        QTest::newRow("collection of embedding levels") << "three.TTC" << SfntBuilder::Collection({SfntBuilder::WithEmbedding("Restricted", 2),
            SfntBuilder::WithEmbedding("Two Levels", 0x000C), SfntBuilder::WithEmbedding("Restricted Print", 6), SfntBuilder::Simple("Q", "Q", "B")});
        QTest::newRow("variable font") << "var.otf" << SfntBuilder::VariableFont("GW Var", 0x0208);
        QTest::newRow("signature only") << "short.ttf" << QByteArray("\0\1\0\0", 4);
        QTest::newRow("name table past the end") << "badname.ttf" << SfntBuilder::Make([](SfntBuilder& b) {
            b.AddName(1, "Bad").AddName(4, "Bad Name").nameOffset = 1 << 20;
        });
        QTest::newRow("no names") << "nameless.otc" << SfntBuilder::Make([](SfntBuilder&) {});
        QTest::newRow("text") << "notes.ttf" << QByteArray("not a font at all");
        QTest::newRow("folder") << "folder.ttf" << QByteArray("/");
        QTest::newRow("Type 1") << "NimbusSans-Bold.pfb" << QByteArray();
        QTest::newRow("CFF with GSUB and GPOS") << "C059-Roman.otf" << QByteArray();
        QTest::newRow("TrueType with GSUB and GPOS") << "LiberationSans-Regular.ttf" << QByteArray();
        QTest::newRow("TrueType with many scripts") << "DejaVuSans.ttf" << QByteArray();
    }
    void fileKinds()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        TestEnv env;
        const QString folder = env.root() + "/fonts", path = folder + "/" + name, fots = env.root() + "/fot";
        if (bytes.isEmpty() && SystemFile(name).isEmpty())
            QSKIP("font not installed");
        QVERIFY(QDir().mkpath(bytes == "/" ? path : folder) && QDir().mkpath(fots));
        QVERIFY(bytes == "/" || (bytes.isEmpty() ? QFile::copy(SystemFile(name), path) : WriteFile(path, bytes)));
        QStringList skipped, lines{"listed: " + FontFileNames(folder, &skipped).join(", ") + "; skipped: " + skipped.join(", ")};
        for (int face = 0; face <= FileFaceCount(path); ++face) {
            FontFileRecord r;
            const ScanResult result = ScanFontFile(folder, name, r, face);
            lines << QString("face %1: %2 | %3 | %4 | %5 | %6 | %7 | embedding bits %8, outlines %9, A by the fake's maps %10").arg(face).arg(ScanResultText(result), r.FaceName,
                         r.StyleName, r.RegistryName, r.SizeText).arg(r.FaceIndex).arg(EmbeddingBits(path, face))
                         .arg(EmbeddingAllowed(EmbeddingBits(path, face)) ? "may be embedded" : "may not be embedded").arg(FontHasCharacter(path, face, 'A'));
            if (result == ScanResult::Read && WriteTemporaryFot(r, fots) && QFile::remove(r.FotPath))  // then made again
                lines << QString(".fot %1 written again: %2").arg(QString(r.FotPath).remove(OwnFileName(fots, ""))).arg(WriteTemporaryFot(r, fots) && QFile::exists(r.FotPath));
            for (const QStringList& args : QList<QStringList>{{path, "--face", QString::number(face)}}
                                               + (face ? QList<QStringList>{} : QList<QStringList>{{path}, {path, "--face", "x"}, {}, {path + "x"}})) {
                const CommandResult info = RunCommand(RunFontInfoCommand, args);
                lines += QString("info %1 -> %2\n%3%4").arg(args.mid(1).join(' ')).arg(info.code).arg(info.out, info.err).replace(env.root(), "ROOT").split('\n', Qt::SkipEmptyParts);
            }
        }
        for (const int style : FileStyleFaces(path))
            lines << QString("style face %1: %2").arg(style, 0, 16).arg(ReadFontFacts(path, style).style);
        QVERIFY(QDir(fots).removeRecursively());  // as the scan's caller does with its .fot files
        CompareApproved(lines, ApprovedFile("fontfiles"));
    }

    // A file written from a face's outlines (an instance's static copy, a PDF's TrueType program) draws as its
    // source: TrueType outlines point for point, cubic ones within a unit, every advance the same.
    void outlineCopies_data()
    {
        QTest::addColumn<QString>("font");        // a system font file, or one of the fonts made below
        QTest::addColumn<int>("face");
        QTest::addColumn<bool>("program");        // TrueTypeProgram of the characters' glyphs
        QTest::addColumn<QString>("characters");  // the glyphs approved (and the program's)
        QTest::addColumn<double>("tolerance");    // 0: the same outline, element for element
        QTest::newRow("instance Bold Condensed") << "var.ttf" << InstanceFace(0, 1) << false << "Ho" << 0.0;
        QTest::newRow("instance Thin at the default") << "thin.ttf" << InstanceFace(0, 0) << false << "H" << 0.0;
        QTest::newRow("PostScript name without what it forbids") << "odd.ttf" << InstanceFace(0, 0) << false << "" << 0.0;
        QTest::newRow("instance in a collection") << "two.ttc" << InstanceFace(1, 1) << false << "H" << 0.0;
        QTest::newRow("head table with its padding counted") << "padded.ttf" << InstanceFace(0, 1) << false << "" << 0.0;
        QTest::newRow("the default FreeType adds as an instance") << "var.ttf" << InstanceFace(0, 2) << false << "" << 0.0;
        QTest::newRow("no such instance") << "var.ttf" << InstanceFace(0, 3) << false << "" << 0.0;
        QTest::newRow("composites and instructions") << "LiberationSans-Regular.ttf" << 0 << false << "Ä" << 0.0;
        QTest::newRow("CFF") << "URWBookman-Light.otf" << 0 << false << "So" << 1.0;
        QTest::newRow("Type 1 has no tables to copy") << "NimbusSans-Bold.pfb" << 0 << false << "" << 0.0;
        QTest::newRow("program of Type 1") << "NimbusSans-Bold.pfb" << 0 << true << "So" << 1.0;
        QTest::newRow("program of italic CFF") << "C059-Italic.otf" << 0 << true << "Sa" << 1.0;
        QTest::newRow("program of an instance") << "two.ttc" << InstanceFace(1, 0) << true << "oH" << 0.0;
    }
    void outlineCopies()
    {
        QFETCH(QString, font);
        QFETCH(int, face);
        QFETCH(bool, program);
        QFETCH(QString, characters);
        QFETCH(double, tolerance);
        TestEnv env;
        QHash<QString, QByteArray> made{{"var.ttf", SfntBuilder::VariableFont("GW Var", 8)}, {"thin.ttf", SfntBuilder::VariableFont("GW Thin", 0, 100)},
            {"odd.ttf", SfntBuilder::VariableFont(QString::fromUtf8("GW [Odd] (1%)/{2}<3>\x7F\xC3\xA9"), 0)},
            {"two.ttc", SfntBuilder::Collection({SfntBuilder::Simple("GW One", "GW One"), SfntBuilder::VariableFont("GW Two", 4)})},
            {"padded.ttf", SfntBuilder::VariableFont("GW Padded", 8)}};
        if (font == "padded.ttf") {  // the head table's length says 56, its two bytes of padding counted
            QByteArray& bytes = made["padded.ttf"];
            for (int i = 0, entry = 12; i < Word(bytes, 4); ++i, entry += 16)
                if (bytes.mid(entry, 4) == "head" && Long(bytes, entry + 12) == 54)
                    qToBigEndian<quint32>(56, bytes.data() + entry + 12);
        }
        const QString file = made.contains(font) ? env.root() + "/" + font : SystemFile(font), copy = env.root() + "/copy.ttf";
        if (file.isEmpty())
            QSKIP("font not installed");
        QVERIFY(!made.contains(font) || WriteFile(file, made[font]));
        const OutlineFace source(file, face);
        QStringList lines{QString("source %1, %2 units, ascent %3, descent %4, cap %5, box %6 %7 %8 %9, angle %10, bold %11, italic %12, embedding %13, "
                                  "kerning %14").arg(source.PostScriptName()).arg(source.UnitsPerEm()).arg(source.Ascent()).arg(source.Descent())
                              .arg(source.CapHeight()).arg(source.XMin()).arg(source.YMin()).arg(source.XMax()).arg(source.YMax()).arg(source.ItalicAngle())
                              .arg(source.IsBold()).arg(source.IsItalic()).arg(source.EmbeddingBits()).arg(source.Kerning(source.GlyphIndex('T'), source.GlyphIndex('o')))};
        QList<unsigned> glyphs{0};
        QList<TrueTypeGlyph> records{source.Glyph(0)};
        for (const QChar c : characters)
            records << source.Glyph(glyphs.emplace_back(source.GlyphIndex(c.unicode())));
        QString ps, error = program ? QString() : WriteStaticInstance(file, face, copy, &ps);
        QVERIFY(!program || WriteFile(copy, TrueTypeProgram(source, records)));
        lines << (error.isEmpty() ? "written, PostScript name " + ps : error + (QFile::exists(copy) ? ", a file left" : ""));
        if (error.isEmpty()) {
            lines += TablesText(copy);
            const OutlineFace written(copy, 0);
            for (int i = 0, count = program ? int(glyphs.size()) : Word(FileTable(copy, "maxp"), 4); i < count; ++i) {
                const unsigned from = program ? glyphs[i] : unsigned(i);
                const QPainterPath a = source.Outline(from), b = written.Outline(i);
                QVERIFY2(tolerance ? OutlineDistance(a, b) <= tolerance : a == b, qPrintable(QString("glyph %1").arg(i)));
                QCOMPARE(written.Advance(i), source.Advance(from));
                for (int e = 0; glyphs.indexOf(from) > 0 && e <= b.elementCount(); ++e)  // the characters' glyphs
                    lines << (e ? QString(" %1%2,%3").arg("MLCc"[b.elementAt(e - 1).type]).arg(b.elementAt(e - 1).x).arg(b.elementAt(e - 1).y)
                                : QString("glyph %1, %2 wide:").arg(from).arg(written.Advance(i)));
            }
        }
        CompareApproved(lines, ApprovedFile("outlinecopies"));
    }
};

QTEST_MAIN(TestFontFacts)
#include "test_fontfacts.moc"
