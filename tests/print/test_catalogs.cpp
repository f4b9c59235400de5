#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/recording.h"
#include "printtestfonts.h"
#include "testenv.h"

using namespace gw;

namespace {

// The operations of a catalog of n fonts on Letter paper.
RecordingSurface Catalog(const QString& layout, int n)
{
    RecordingSurface s(PaperLetter, 612, 792, 18);
    PrintCatalogs(s, layout, TestPrintFonts(n), {}, "T", {});
    return s;
}

// The first visible text drawn in a face.
const PrintOp* FirstIn(const RecordingSurface& s, const QString& face)
{
    for (const PrintOp& op : s.ops)
        if (op.kind == PrintOp::Text && op.fontName == face && !op.text.isEmpty())
            return &op;
    return nullptr;
}

} // namespace

class TestCatalogs : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void caption()
    {
        struct Row { const char* file; const char* display; int type; const char* expected; };
        const Row rows[] = {{" arialbd.ttf", "  Arial Bold ", 1, "Arial Bold (TrueType)  arialbd.ttf  12k"},
                            {" arialbd.ttf", "Arial (TrueType)", 1, "Arial (TrueType)  arialbd.ttf  12k"},
                            {"C059-Bold.otf", "C059 Bold", 1, "C059 Bold (OpenType)  C059-Bold.otf  12k"},
                            // The kind once: a registration's "(TrueType)" gives way to the file's own.
                            {"C059-Bold.otf", "C059 Bold (TrueType)", 1, "C059 Bold (OpenType)  C059-Bold.otf  12k"},
                            {" arialbd.ttf", "Utopia", 2, "Utopia  (Adobe Type 1)  arialbd.ttf  12k"},
                            {" arialbd.ttf", "Courier", 3, "Courier  (Printer font)  arialbd.ttf  12k"}};
        for (const Row& r : rows)
            QCOMPARE(FontCaption({r.file, "12k ", {}, r.display, r.type, {}, {}, {}, 0}), QString(r.expected));
    }

    // Every catalog's gauge moves with each font, from 0 even for one font.
    void gaugeMovesWithEachFont()
    {
        for (const QString& layout : CatalogNames())
            for (const QList<int>& expected : {QList<int>{0}, QList<int>{0, 25, 50, 75, 100}}) {
                QList<int> gauge;
                PrintCatalogs(*std::make_unique<RecordingSurface>(), layout, TestPrintFonts(expected.size()),
                              [&](int percent) { gauge << percent; }, "T", {});
                QCOMPARE(gauge, expected);
            }
    }

    // No sample's descender reaches the caption under it, nor the caption's the next sample's ascenders.
    void captionClearsTheSample()
    {
        for (const QString layout : {"Basic Catalog I", "Basic Catalog II", "Two Column II"}) {
            for (const int size : {6, 24, 72}) {
                WriteIniString("Inventory", "PointSize", QString::number(size), IniFile);
                const RecordingSurface s = Catalog(layout, 4);
                for (int i = 0; i < 4; ++i) {
                    const PrintOp* sample = FirstIn(s, QString("Face %1").arg(i));
                    const PrintOp* caption = s.Find(FontCaption(TestPrintFonts(4)[size_t(i)]));
                    const PrintOp* next = i < 3 ? FirstIn(s, QString("Face %1").arg(i + 1)) : nullptr;
                    // The recording's descent is a quarter of the size; ascenders reach 0.8 of it.
                    QVERIFY2(sample && caption && caption->y - sample->y >= 0.25 * size + 2 + 0.75 * 10 - 1e-9
                                 && (!next || next->page != caption->page || next->x != caption->x
                                     || next->y - 0.8 * size > caption->y + 0.25 * 10),
                             qPrintable(layout + QString(" %1 pt, font %2").arg(size).arg(i)));
                }
            }
        }
    }

    // A sample taller than the page still prints in the layouts that fill a page as far as there is
    // room: each font's caption once, no page without one.
    void everyPageHoldsAFont()
    {
        WriteIniString("Inventory", "PointSize", "800", IniFile);
        for (const QString layout : {"Basic Catalog I", "Basic Catalog II", "Two Column I", "Two Column II",
                                     "Three Column Catalog"}) {
            const RecordingSurface s = Catalog(layout, 3);
            QSet<int> pages;
            for (const PrintFontEntry& font : TestPrintFonts(3)) {
                const PrintOp* caption = s.Find(FontCaption(font));
                QVERIFY2(caption, qPrintable(layout));
                pages << caption->page;
            }
            QVERIFY2(pages.size() == s.ops.last().page && pages.contains(s.ops.last().page), qPrintable(layout));
        }
    }

    void sixUpSevenFonts()
    {
        QVERIFY(WriteFile(Sys().system->ProgramFolder() + "/papara1.txt",
                          QByteArray("The five boxing wizards jump quickly over the fence. ").repeated(40)));
        const RecordingSurface s = Catalog("Six Up Catalog", 7);
        QVERIFY(std::any_of(s.ops.begin(), s.ops.end(), [](const PrintOp& op) { return op.text.contains("boxing"); }));
        for (int i = 0; i < 7; ++i) {
            const PrintOp* name = s.Find(QString("Font %1").arg(i));
            QVERIFY(name && name->page == (i < 6 ? 1 : 2));
            // A long paragraph still stops at the cell's bottom and right edge, every size shown.
            const double bottom = (i % 6 < 3 ? 396 : 738) - 18;
            QSet<double> sizes;
            for (const PrintOp& op : s.ops)
                if (op.kind == PrintOp::Text && op.fontName == QString("Face %1").arg(i) && !op.text.isEmpty()) {
                    QVERIFY(op.y <= bottom && op.x + op.fontSize * 0.5 * op.text.size() <= name->x + 16 + 138 + 1e-6);
                    sizes << op.fontSize;
                }
            QCOMPARE(sizes, (QSet<double>{8, 10, 12, 14, 16, 18}));
        }
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestCatalogs)
#include "test_catalogs.moc"