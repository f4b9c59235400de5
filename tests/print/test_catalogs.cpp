#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/recording.h"
#include "testenv.h"

using namespace gw;

Q_DECLARE_METATYPE(gw::FakeFontSystem::Face)
Q_DECLARE_METATYPE(gw::PrintOp::Kind)

namespace {

PrintFontEntry Font(int i, int type = 1)
{
    PrintFontEntry f;
    f.FileName = QStringLiteral("FONT%1.TTF").arg(i);
    f.SizeText = QStringLiteral("%1k").arg(i + 10);
    f.AlternateName = QStringLiteral("Alt %1").arg(i);
    f.DisplayName = QStringLiteral("Font %1").arg(i);
    f.FontType = type;
    f.FaceName = QStringLiteral("Face %1").arg(i);
    return f;
}

PrintFontList Fonts(int n)
{
    PrintFontList list;
    for (int i = 0; i < n; ++i)
        list.push_back(Font(i));
    return list;
}

RecordingSurface Paper(bool letter, double margin = 18)
{
    return letter ? RecordingSurface(PaperLetter, 612, 792, margin)
                  : RecordingSurface(PaperA4, 595, 842, margin);
}

// The first visible text drawn in a face.
const PrintOp* FirstIn(const RecordingSurface& s, const QString& face)
{
    for (const PrintOp& op : s.ops)
        if (op.kind == PrintOp::Text && op.fontName == face && !op.text.isEmpty())
            return &op;
    return nullptr;
}

const PrintOp* TextAt(const RecordingSurface& s, const QString& text, QPointF at)
{
    for (const PrintOp& op : s.ops)
        if (op.kind == PrintOp::Text && op.text == text && qFuzzyCompare(op.x + 1, at.x() + 1)
            && qFuzzyCompare(op.y + 1, at.y() + 1))
            return &op;
    return nullptr;
}

QList<PrintOp::Kind> PageEnds(const RecordingSurface& s)
{
    QList<PrintOp::Kind> ends;
    for (const PrintOp& op : s.ops)
        if (op.kind == PrintOp::NewPage || op.kind == PrintOp::EndDoc)
            ends << op.kind;
    return ends;
}

} // namespace

class TestCatalogs : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        env_.reset(new TestEnv);
        WriteIniString("Inventory", "FooterLeft", "LeftFoot", IniFile);
        WriteIniString("Inventory", "FooterRight", "RightFoot", IniFile);
    }
    void cleanup() { env_.reset(); }

    void caption_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("expected");
        QTest::newRow("TrueType") << "Arial Bold" << 1 << "Arial Bold (TrueType)  arialbd.ttf  12k";
        QTest::newRow("TrueType already marked")
            << "Arial (TrueType)" << 1 << "Arial (TrueType)  arialbd.ttf  12k";
        QTest::newRow("Type 1") << "Utopia" << 2 << "Utopia  (Adobe Type 1)  arialbd.ttf  12k";
        QTest::newRow("printer") << "Courier" << 3 << "Courier  (Printer font)  arialbd.ttf  12k";
        QTest::newRow("blanks trimmed")
            << "  Arial  " << 1 << "Arial (TrueType)  arialbd.ttf  12k";
    }
    void caption()
    {
        QFETCH(QString, display);
        QFETCH(int, type);
        QFETCH(QString, expected);
        PrintFontEntry f;
        f.DisplayName = display;
        f.FontType = type;
        f.FileName = " arialbd.ttf";
        f.SizeText = "12k ";
        QCOMPARE(FontCaption(f), expected);
    }

    void dispatch()
    {
        QCOMPARE(CatalogNames().size(), 8);
        QCOMPARE(CatalogNames().first(), QString("Basic Catalog I"));
        QCOMPARE(CatalogNames().last(), QString("Bar Divided Catalog"));
        RecordingSurface unknown = Paper(true);
        QVERIFY(!PrintCatalogs(unknown, "Basic Catalog III", Fonts(2), {}, "T", {}));
        QVERIFY(unknown.ops.isEmpty());
        for (const QString& name : CatalogNames()) {
            RecordingSurface s = Paper(true);
            QVERIFY(PrintCatalogs(s, name.toLower(), Fonts(1), {}, "T", {}));
            QVERIFY2(FirstIn(s, "Face 0"), qPrintable(name));
        }
    }

    // Title, first font line and left footer, in sheet positions; one font, one page.
    void pageGeometry_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("letter");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QPointF>("titleAt");
        QTest::addColumn<QPointF>("firstAt");
        QTest::addColumn<QPointF>("footerAt");
        QTest::addColumn<bool>("heightsUncorrected");
        struct Row {
            const char* layout;
            QPointF title[2], first[2], footer[2];  // letter, A4
            bool uncorrected;
        };
        const Row rows[] = {
            {"Basic Catalog I", {{54, 72}, {54, 72}}, {{54, 106}, {54, 106}}, {{54, 732}, {54, 782}}, false},
            {"Basic Catalog II", {{306, 84}, {306, 84}}, {{54, 139.2}, {54, 139.2}}, {{54, 732}, {54, 782}}, false},
            {"Two Column I", {{54, 72}, {54, 72}}, {{54, 106}, {54, 106}}, {{54, 732}, {54, 782}}, false},
            {"Two Column II", {{54, 52}, {36, 52}}, {{54, 90}, {36, 90}}, {{36, 787}, {36, 787}}, false},
            {"Three Column Catalog", {{54, 72}, {54, 72}}, {{54, 106}, {54, 106}}, {{54, 732}, {54, 782}}, false},
            {"Three Up Catalog", {{54, 40}, {54, 40}}, {{75, 76}, {75, 76}}, {{54, 734}, {54, 758}}, true},
            {"Six Up Catalog", {{54, 50}, {54, 50}}, {{54, 98}, {54, 98}}, {{54, 750}, {54, 804}}, false},
            {"Bar Divided Catalog", {{54, 72}, {54, 72}}, {{54, 116}, {54, 116}}, {{54, 732}, {54, 782}}, false},
        };
        for (const Row& r : rows) {
            QTest::addRow("%s letter", r.layout) << r.layout << true << 18.0 << "My Title"
                                                 << r.title[0] << r.first[0] << r.footer[0] << r.uncorrected;
            QTest::addRow("%s A4", r.layout) << r.layout << false << 18.0 << "My Title" << r.title[1]
                                             << r.first[1] << r.footer[1] << r.uncorrected;
            QTest::addRow("%s margin 9, no title", r.layout) << r.layout << true << 9.0 << ""
                                                << r.title[0] << r.first[0] << r.footer[0] << r.uncorrected;
        }
    }
    void pageGeometry()
    {
        QFETCH(QString, layout);
        QFETCH(bool, letter);
        QFETCH(double, margin);
        QFETCH(QString, title);
        QFETCH(QPointF, titleAt);
        QFETCH(QPointF, firstAt);
        QFETCH(QPointF, footerAt);
        QFETCH(bool, heightsUncorrected);
        RecordingSurface s = Paper(letter, margin);
        QVERIFY(PrintCatalogs(s, layout, Fonts(1), {}, title, {}));
        auto drawn = [&](QPointF sheet) {
            return QPointF(sheet.x() - margin, heightsUncorrected ? sheet.y() : sheet.y() - margin);
        };
        QVERIFY(TextAt(s, title, drawn(titleAt)));
        const PrintOp* first = FirstIn(s, "Face 0");
        QVERIFY(first);
        QCOMPARE(QPointF(first->x, first->y), drawn(firstAt));
        QVERIFY(TextAt(s, "LeftFoot", drawn(footerAt)));
        // One font: one page, closed by the single EndDoc.
        QCOMPARE(PageEnds(s), QList<PrintOp::Kind>{PrintOp::EndDoc});
        QCOMPARE(s.ops.last().kind, PrintOp::EndDoc);
    }

    // Fonts fill each column from the top, then the next column, then a new page.
    void columns_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("letter");
        QTest::addColumn<QList<double>>("columnX");
        QTest::addColumn<int>("perColumn");
        QTest::addColumn<double>("firstY");
        QTest::addColumn<double>("pitch");
        // S 24, C 10: a font takes C + 4 + 0.8 S = 33.2; a column breaks once y
        // reaches ScaleHeight - 72 (684 letter, 734 A4).
        QTest::newRow("Two Column I letter") << "Two Column I" << true << QList<double>{54, 324} << 18 << 106.0 << 33.2;
        QTest::newRow("Two Column I A4") << "Two Column I" << false << QList<double>{54, 324} << 19 << 106.0 << 33.2;
        QTest::newRow("Three Column letter")
            << "Three Column Catalog" << true << QList<double>{54, 225, 396} << 18 << 106.0 << 33.2;
        QTest::newRow("Three Column A4")
            << "Three Column Catalog" << false << QList<double>{54, 225, 396} << 19 << 106.0 << 33.2;
        // S + 8 + C + 4 = 46 a font from 58; the caption stays above 710 / 773.
        QTest::newRow("Two Column II letter") << "Two Column II" << true << QList<double>{54, 357} << 14 << 90.0 << 46.0;
        QTest::newRow("Two Column II A4") << "Two Column II" << false << QList<double>{36, 333} << 15 << 90.0 << 46.0;
    }
    void columns()
    {
        QFETCH(QString, layout);
        QFETCH(bool, letter);
        QFETCH(QList<double>, columnX);
        QFETCH(int, perColumn);
        QFETCH(double, firstY);
        QFETCH(double, pitch);
        RecordingSurface s = Paper(letter);
        const int pageFull = perColumn * int(columnX.size());
        QVERIFY(PrintCatalogs(s, layout, Fonts(pageFull + 1), {}, "T", {}));
        for (int i = 0; i <= pageFull; ++i) {
            const PrintOp* op = FirstIn(s, QStringLiteral("Face %1").arg(i));
            QVERIFY(op);
            const int slot = i % pageFull;
            QCOMPARE(op->page, 1 + i / pageFull);
            QCOMPARE(op->x, columnX[slot / perColumn] - 18);
            QVERIFY2(qAbs(op->y - (firstY + pitch * (slot % perColumn) - 18)) < 1e-6,
                     qPrintable(QStringLiteral("font %1 at %2").arg(i).arg(op->y)));
        }
        QCOMPARE(PageEnds(s), (QList<PrintOp::Kind>{PrintOp::NewPage, PrintOp::EndDoc}));
    }

    void sixUpSevenFonts()
    {
        QVERIFY(WriteFile(Sys().system->ProgramFolder() + "/papara1.txt",
                          QByteArray("The five boxing wizards jump quickly over the fence. ").repeated(40)));
        RecordingSurface s = Paper(true);
        SixUpCatalog(s, Fonts(7), {}, "T");
        QCOMPARE(PageEnds(s), (QList<PrintOp::Kind>{PrintOp::NewPage, PrintOp::EndDoc}));
        QCOMPARE(s.ops.last().kind, PrintOp::EndDoc);
        const QPointF origins[] = {{54, 54}, {228, 54}, {402, 54}, {54, 396}, {228, 396}, {402, 396}, {54, 54}};
        for (int i = 0; i < 7; ++i) {
            const QString face = QStringLiteral("Face %1").arg(i);
            const PrintOp* name = s.Find(QStringLiteral("Font %1").arg(i));
            QVERIFY(name);
            QCOMPARE(name->page, i < 6 ? 1 : 2);
            QCOMPARE(QPointF(name->x, name->y), origins[i] + QPointF(2 - 18, 14 - 18));
            // A long paragraph still stops at the cell's bottom, every size shown.
            const double bottom = (i % 6 < 3 ? 396 : 738) - 18;
            QSet<double> sizes;
            for (const PrintOp& op : s.ops)
                if (op.kind == PrintOp::Text && op.fontName == face && !op.text.isEmpty()) {
                    QVERIFY2(op.y <= bottom, qPrintable(QStringLiteral("%1 %2").arg(face).arg(op.y)));
                    QVERIFY(op.x + op.fontSize * 0.5 * op.text.size() <= origins[i].x() + 156 - 18 + 1e-6);
                    sizes << op.fontSize;
                }
            QCOMPARE(sizes, (QSet<double>{8, 10, 12, 14, 16, 18}));
        }
    }

    void barEntriesAtPointSize72()
    {
        WriteIniString("Inventory", "PointSize", "72", IniFile);
        RecordingSurface s = Paper(true);
        BarDividedCatalog(s, Fonts(4), {}, "T", {});
        QList<QPair<int, double>> bars;
        for (const PrintOp& op : s.ops)
            if (op.kind == PrintOp::FilledBox)
                bars << qMakePair(op.page, op.y);
        // 170 apart; a fourth would reach past the footer at 720.
        QCOMPARE(bars, (QList<QPair<int, double>>{{1, 60}, {1, 230}, {1, 400}, {2, 60}}));
        QVERIFY(s.Find("72 points"));
        const PrintOp* file = s.Find("font3.ttf  13k");
        QVERIFY(file);
        QCOMPARE(file->align, int(AlignBaseRight));
    }

    void printerReset_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("fonts");
        QTest::addColumn<QList<PrintOp::Kind>>("ends");
        const auto N = PrintOp::NewPage;
        const auto E = PrintOp::EndDoc;
        // 17 fonts fill a letter page of Basic Catalog I.
        QTest::newRow("Basic Catalog I") << "Basic Catalog I" << 6 * 17 + 1 << QList<PrintOp::Kind>{N, N, E, N, N, E, E};
        QTest::newRow("Six Up") << "Six Up Catalog" << 6 * 6 + 1 << QList<PrintOp::Kind>{N, N, E, N, N, E, E};
        QTest::newRow("Three Up ignores it") << "Three Up Catalog" << 6 * 3 + 1 << QList<PrintOp::Kind>{N, N, N, N, N, N, E};
    }
    void printerReset()
    {
        QFETCH(QString, layout);
        QFETCH(int, fonts);
        QFETCH(QList<PrintOp::Kind>, ends);
        RecordingSurface s = Paper(true);
        QVERIFY(PrintCatalogs(s, layout, Fonts(fonts), {}, "T", {}));
        QCOMPARE(PageEnds(s), ends);
        QVERIFY(s.Find("- 7 -") || s.Find("-7-"));
    }

    void refusedFontFallsBack_data()
    {
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QString>("expected");
        QTest::newRow("face refused") << QStringList{"Face 0"} << "Alt 0";
        QTest::newRow("both refused") << QStringList{"Face 0", "Alt 0"} << "Arial";
    }
    void refusedFontFallsBack()
    {
        QFETCH(QStringList, refused);
        QFETCH(QString, expected);
        for (const QString& layout : {QStringLiteral("Basic Catalog I"), QStringLiteral("Bar Divided Catalog")}) {
            RecordingSurface s = Paper(true);
            s.refusedFonts = QSet<QString>(refused.begin(), refused.end());
            QVERIFY(PrintCatalogs(s, layout, Fonts(1), {}, "T", {}));
            const QString sample = layout.startsWith("Bar") ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ !@#$%^&*()"
                                                            : "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUu";
            const PrintOp* op = s.Find(sample);
            QVERIFY2(op, qPrintable(layout));
            QCOMPARE(op->fontName, expected);
        }
    }

    // Which style words a Three Up cell prints comes from the printer's enumeration.
    void threeUpStyleWords_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<FakeFontSystem::Face>>("faces");
        QTest::addColumn<QStringList>("words");
        const int tt = TRUETYPE_FONTTYPE;
        QTest::newRow("TrueType regular and bold italic")
            << 1
            << QList<FakeFontSystem::Face>{FakeFontSystem::MakeFace("Face 0", "Face 0", "Regular", 400, false, tt),
                                           FakeFontSystem::MakeFace("Face 0", "Face 0 Bold Italic", "Bold Italic", 700, true, tt)}
            << QStringList{"Normal", "BoldItalic"};
        QTest::newRow("Type 1 bold only")
            << 2 << QList<FakeFontSystem::Face>{FakeFontSystem::MakeFace("Face 0", "Face 0 Bold", "Bold", 700, false, 2)}
            << QStringList{"Bold"};
        QTest::newRow("printer font: all four")
            << 3 << QList<FakeFontSystem::Face>{FakeFontSystem::MakeFace("Face 0", "Face 0", "Regular", 400, false, 2)}
            << QStringList{"Normal", "Bold", "Italic", "BoldItalic"};
        QTest::newRow("not on the printer") << 1 << QList<FakeFontSystem::Face>{} << QStringList{};
    }
    void threeUpStyleWords()
    {
        QFETCH(int, type);
        QFETCH(QList<FakeFontSystem::Face>, faces);
        QFETCH(QStringList, words);
        env_->fake.fonts->printerFaces = QVector<FakeFontSystem::Face>(faces.begin(), faces.end());
        RecordingSurface s = Paper(false);
        ThreeUpCatalog(s, {Font(0, type)}, {}, "T");
        QStringList printed;
        double end = 54 - 18;
        for (const PrintOp& op : s.ops)
            if (op.kind == PrintOp::Text && op.y == 60 + 192 && op.fontName == "Face 0"
                && !op.text.startsWith("The quick") && !op.text.isEmpty()) {
                printed << op.text;
                QCOMPARE(op.bold, op.text.startsWith("Bold"));
                QCOMPARE(op.italic, op.text.endsWith("Italic"));
                end = op.x + op.text.size() * 16 * (op.bold ? 0.6 : 0.5);
            }
        QCOMPARE(printed, words);
        for (const PrintOp& op : s.ops)
            if (op.kind == PrintOp::Text && op.text.startsWith("The quick")) {
                QCOMPARE(op.x, printed.isEmpty() ? end : end + 10);
                QVERIFY(op.x + op.text.size() * 8 <= 540);  // 0.5 x 16 a character
            }
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestCatalogs)
#include "test_catalogs.moc"
