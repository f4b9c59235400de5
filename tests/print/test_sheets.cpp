#include <QtTest>

#include <memory>

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/settings.h"
#include "print/recording.h"
#include "print/sheets.h"
#include "testenv.h"

using namespace gw;

namespace {

PrintFontEntry TestFont(const QString& face = "Test Serif")
{
    return {"TestSerif-Bold.TTF", "120 KB", "Alt Serif", face + " Bold", 1, face, {}, {}, 0};
}

// One sheet of the test font on letter paper.
std::unique_ptr<RecordingSurface> Draw(void (*sheet)(PrinterSurface&, const PrintFontEntry&))
{
    auto r = std::make_unique<RecordingSurface>(PaperLetter, 612, 792, 18);
    sheet(*r, TestFont());
    return r;
}

// Text ops, optionally only those at this size in this font.
QVector<PrintOp> Texts(const RecordingSurface& r, const QString& text, double size = 0, const QString& font = {})
{
    QVector<PrintOp> found;
    for (const PrintOp& op : r.ops)
        if (op.kind == PrintOp::Text && op.text == text && (size == 0 || op.fontSize == size)
            && (font.isEmpty() || op.fontName == font))
            found << op;
    return found;
}

} // namespace

class TestSheets : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    // The ladder of sizes: the quotation in the font's style, upper-cased on request, cut only as far as 450
    // points need (bold: 0.6 x size a character), each line at 90 points beside its size label.
    void sheetOneLadder()
    {
        const QString quote = "The quick brown fox jumps over the lazy dog and keeps on running far away";
        WriteIniString("SpecSheets", "QuoteIndex", "3", IniFile);
        WriteIniString("SpecSheets", "UpperCase", "1", IniFile);
        WriteIniString("Quotes", "Quote1", quote, IniFile);
        auto r = Draw(SpecimenSheetI);
        for (int size : {8, 10, 12, 14, 18, 24, 30, 36, 48}) {
            const QString label = QString("%1 point").arg(size);
            const QVector<PrintOp> labels = Texts(*r, label, 8, "Arial");
            QCOMPARE(labels.size(), 1);
            const PrintOp* line = nullptr;
            for (const PrintOp& op : r->ops)
                if (op.kind == PrintOp::Text && op.x == 90 && op.y == labels[0].y && op.fontSize == size)
                    line = &op;
            QVERIFY2(line && line->fontName == "Test Serif" && line->bold && !line->italic, qPrintable(label));
            const double width = 0.6 * size * line->text.size();
            QVERIFY(!line->text.isEmpty() && quote.toUpper().startsWith(line->text) && width <= 450);
            QVERIFY(line->text == quote.toUpper() || width + 0.6 * size > 450);
        }
        // A font without the quotation's letters (Armenian, say) shows its own instead.
        RecordingSurface own(PaperLetter, 612, 792, 18);
        const PrintFontEntry armenian{"a.ttf", "1 KB", "", "Armenian", 1, "Armenian", {}, env_->root() + "/a.ttf", 0};
        env_->fake.characterMaps->maps[armenian.FontPath] = {0x531, 0x532};
        for (int capital = 'A'; capital <= 'Z'; ++capital)
            own.missingGlyphs.insert(capital);
        SpecimenSheetI(own, armenian);
        QCOMPARE(Texts(own, "\u0531\u0532", 48).size(), 1);
    }

    // The free sheets' frame: a rule under the name block and one above the header line, the samples
    // between them; a regular face's samples are regular after the bold name block.
    void frameOfTheFreeSheets_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::newRow("Specimen Sheet II") << 0;
        QTest::newRow("Specimen Sheet III") << 1;
        QTest::newRow("Specimen Sheet IV") << 2;
        QTest::newRow("Keyboard Chart") << 3;
    }
    void frameOfTheFreeSheets()
    {
        QFETCH(int, sheet);
        void (*const sheets[])(PrinterSurface&, const PrintFontEntry&) = {SpecimenSheetII, SpecimenSheetIII,
                                                                          SpecimenSheetIV, KeyboardChart};
        PrintFontEntry regular = TestFont();
        regular.DisplayName = regular.FaceName;
        RecordingSurface r;
        sheets[sheet](r, regular);
        QList<double> rules;
        double top = 1e9, bottom = -1e9;
        for (const PrintOp& op : r.ops) {
            if (op.kind == PrintOp::Line && op.drawWidth == 6 && op.y == op.y2 && qAbs(op.x2 - op.x - 504) < 0.01)
                rules << op.y;
            if (op.kind == PrintOp::Text && op.fontName == "Test Serif" && !op.text.trimmed().isEmpty()) {
                QVERIFY2(!op.bold && !op.italic, qPrintable(op.text));
                top = std::min(top, op.y);
                bottom = std::max(bottom, op.y);
            }
        }
        QCOMPARE(rules.size(), 2);
        QVERIFY2(rules[0] < top && bottom < rules[1], qPrintable(QString("%1 %2 %3 %4").arg(rules[0]).arg(top).arg(bottom).arg(rules[1])));
    }

    // Sheet IV's thirteen sample lines take the quotations in turn, passing over empty ones.
    void sheetFourTakesQuotationsInTurn()
    {
        const QStringList quotes = {"One", "", "Three", "Four", "Five", "Six", "Seven", "Eight"};
        for (int i = 0; i < 8; ++i)
            WriteIniString("Quotes", QString("Quote%1").arg(i + 1), quotes[i], IniFile);
        const auto r = Draw(SpecimenSheetIV);
        QStringList lines;
        for (const PrintOp& op : r->ops)
            if (op.kind == PrintOp::Text && op.fontName == "Test Serif" && quotes.contains(op.text, Qt::CaseInsensitive))
                lines << op.text;
        QCOMPARE(lines.join(' ').toLower(), QString("one three four five six seven eight one three four five six seven"));
    }

    // The 72 point set's letter pairs never reach the next column: set smaller when the widest one would.
    void seventyTwoPointPairsNeverTouch_data()
    {
        QTest::addColumn<QString>("wide");  // letters three times as wide as the rest
        QTest::newRow("every letter alike") << "";
        QTest::newRow("a wide first pair") << "Aa";
        QTest::newRow("a wide last pair") << "Zz";
    }
    void seventyTwoPointPairsNeverTouch()
    {
        QFETCH(QString, wide);
        RecordingSurface r;
        for (const QChar c : wide)
            r.widthFactors[c] = 3;
        SeventyTwoPointSet(r, TestFont());
        QVector<PrintOp> pairs;
        for (const PrintOp& op : r.ops)
            if (op.kind == PrintOp::Text && op.text.size() == 2 && op.text[0].isUpper() && op.text[1] == op.text[0].toLower())
                pairs << op;
        QCOMPARE(pairs.size(), 26);
        const double pitch = pairs[1].x - pairs[0].x, size = pairs[0].fontSize;
        QCOMPARE(size == 72, wide.isEmpty());
        for (const PrintOp& op : pairs) {
            const double width = op.fontSize * (op.bold ? 0.6 : 0.5) * (wide.contains(op.text[0]) ? 6 : 2);
            QVERIFY2(op.fontSize == size && width <= pitch - 9, qPrintable(op.text));
        }
    }

    void ansiChart()
    {
        RecordingSurface r;
        r.missingGlyphs = {65, 200};
        AnsiChart(r, TestFont());
        // No glyph: no character, but a crossed box over the character part of the cell.
        QVERIFY(Texts(r, "A", 12).isEmpty() && Texts(r, QString(Cp1252Char(200)), 12).isEmpty());
        QList<int> crossed;
        for (int i = 0; i + 1 < r.ops.size(); ++i) {
            const PrintOp& op = r.ops[i];
            if ((op.kind != PrintOp::Box && op.kind != PrintOp::FilledBox) || op.fillStyle != FillDiagonalCross)
                continue;
            for (int code : {65, 200}) {
                const PrintOp label = Texts(r, QString::number(code), 9)[0];
                if (label.y > op.y && label.y < op.y2 && op.x > label.x && op.x < label.x + 10)
                    crossed << code;
            }
            QCOMPARE(r.ops[i + 1].fillStyle, int(FillTransparent));
        }
        QCOMPARE(crossed, (QList<int>{65, 200}));
    }

    // The largest size from the start whose text (0.5 x size a character) is narrower than the room, or 1.
    void fitSize_data()
    {
        QTest::addColumn<double>("room");
        QTest::addColumn<double>("size");
        QTest::newRow("narrower at the start") << 20.5 << 10.0;
        QTest::newRow("exactly as wide: a point smaller") << 20.0 << 9.0;
        QTest::newRow("several points smaller") << 12.1 << 6.0;
        QTest::newRow("no room: 1 point") << 0.0 << 1.0;
    }
    void fitSize()
    {
        QFETCH(double, room);
        RecordingSurface s(PaperLetter, 612, 792, 18);
        s.SetScaleMode(ScalePoints);
        s.SetFontName("Face 0");
        QTEST(FitSize(s, "abcd", 10, room), "size");
    }

    // The checked sheets in order for each font, the fonts in list order, the gauge and status.
    void printSheets()
    {
        RecordingSurface r;
        std::array<bool, 8> checked{};
        checked[0] = checked[5] = checked[7] = true;
        QList<int> gauge;
        QStringList status;
        PrintSheets(r, {TestFont("First Face"), TestFont("Second Face")}, [&](int percent) { gauge << percent; },
                    checked, [&](const QString& s) { status << s; });
        QCOMPARE(gauge, (QList<int>{0, 17, 33, 50, 67, 83, 100}));
        QCOMPARE(status, (QStringList{"Printing...", "Ready to print"}));
        const QString marks[] = {"24 point alphabet, symbol, & numeral sample", "153", "  (72 points)"};
        for (int page = 1; page <= 6; ++page) {
            QStringList onPage;
            for (const PrintOp& op : r.ops)
                if (op.kind == PrintOp::Text && op.page == page)
                    onPage << op.text;
            QVERIFY2(onPage.contains(marks[(page - 1) % 3]), qPrintable(QString::number(page)));
            QVERIFY(onPage.contains(page <= 3 ? "First Face Bold" : "Second Face Bold"));
        }
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestSheets)
#include "test_sheets.moc"
