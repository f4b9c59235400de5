// Embedding rights on paper: the sheets' information lines and the notice after a run.
#include <QtTest>

#include "core/globals.h"
#include "print/embedding.h"
#include "print/recording.h"
#include "print/sheets.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

// fsType -1: a font entry without a file (a printer font).
PrintFontEntry FontWith(const TestEnv& env, const QString& name, int fsType)
{
    PrintFontEntry f{name + ".ttf", "1K", {}, name, 1, name, {}, {}, 0};
    if (fsType >= 0 && WriteFile(env.root() + "/" + f.FileName, SfntBuilder::WithEmbedding(name, fsType)))
        f.FontPath = env.root() + "/" + f.FileName;
    return f;
}

} // namespace

class TestEmbedding : public QObject {
    Q_OBJECT
    std::optional<TestEnv> env;

private slots:
    void init() { env.emplace(); }
    void cleanup() { env.reset(); }

    // Row: fsType of the file (-1 none), the information line of Specimen Sheet I.
    void sheetInformationLine_data()
    {
        QTest::addColumn<int>("fsType");
        QTest::addColumn<QString>("line");
        QTest::newRow("installable") << 0 << "Font.ttf  1K  Embedding: Installable";
        QTest::newRow("editable, no subsetting") << 0x0108 << "Font.ttf  1K  Embedding: Editable, no subsetting";
        QTest::newRow("no file: the line as before") << -1 << "Font.ttf  1K";
    }
    void sheetInformationLine()
    {
        QFETCH(int, fsType);
        QFETCH(QString, line);
        RecordingSurface r(PaperLetter, 612, 792, 18);
        SpecimenSheetI(r, FontWith(*env, "Font", fsType));
        QStringList texts;
        for (const PrintOp& op : r.ops)
            if (op.kind == PrintOp::Text)
                texts << op.text;
        QVERIFY2(texts.contains(line), qPrintable(texts.join('|')));
    }

    // Row: fsType of three fonts A, B, C; what the notice names.
    void noticeNamesFontsWithoutEmbedding_data()
    {
        QTest::addColumn<QList<int>>("bits");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("all may embed") << QList<int>{0, 4, 8} << QStringList{};
        QTest::newRow("restricted and bitmap only") << QList<int>{2, 0x0204, 0}
                                                    << QStringList{"A (Restricted)", "B (Print and preview, bitmap only)"};
        QTest::newRow("no subsetting still embeds") << QList<int>{0x0100, -1, 0x0102}
                                                    << QStringList{"C (Restricted, no subsetting)"};
    }
    void noticeNamesFontsWithoutEmbedding()
    {
        QFETCH(QList<int>, bits);
        QFETCH(QStringList, named);
        PrintFontList fonts;
        for (int i = 0; i < bits.size(); ++i)
            fonts.push_back(FontWith(*env, QString(QChar('A' + i)), bits[i]));
        fonts.push_back(fonts.front());  // a font printed twice is named once
        QCOMPARE(FontsWithoutEmbedding(fonts), named);
        const QString notice = PrintRunNotice({"Refused Font"}, {}, FontsWithoutEmbedding(fonts));
        QVERIFY(notice.startsWith("The printer could not use these fonts"));
        QCOMPARE(notice.contains("do not allow embedding"), !named.isEmpty());
        for (const QString& name : named)
            QVERIFY(notice.contains("\n" + name));
        QCOMPARE(PrintRunNotice({}, {}, {}), QString());
    }

    // A notice names ten faces at most, then how many more; each kind of trouble in its own paragraph.
    void noticeNamesTenAtMost()
    {
        QStringList eleven, ten;
        for (int i = 1; i <= 11; ++i)
            eleven << QString("Face %1").arg(i);
        ten = eleven.mid(0, 10);
        QCOMPARE(PrintRunNotice({}, eleven, {}),
                 "These faces could not be printed; the printout says so in their place:\n\n" + ten.join('\n') + "\nand 1 more");
        QCOMPARE(PrintRunNotice({}, ten, {}).count('\n'), 11);
        QCOMPARE(PrintRunNotice({"A"}, {"B"}, {"C"}).split("\n\n").size(), 6);
    }
};

QTEST_MAIN(TestEmbedding)
#include "test_embedding.moc"
