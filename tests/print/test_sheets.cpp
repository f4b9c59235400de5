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

// The recording surface's margin is 18 points on each side, so every sheet
// position lands 18 points lower and further left.
constexpr double kOff = 18;

PrintFontEntry TestFont(const QString& face = "Test Serif")
{
    PrintFontEntry f;
    f.FileName = "TestSerif-Bold.TTF";
    f.SizeText = "120 KB";
    f.AlternateName = "Alt Serif";
    f.DisplayName = face + " Bold";
    f.FaceName = face;
    return f;
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

QString Pos(double x, double y)
{
    return QString("%1,%2").arg(qRound(x * 100) / 100.0).arg(qRound(y * 100) / 100.0);
}
QString SheetPos(double x, double y) { return Pos(x - kOff, y - kOff); }

// Where each of those text ops is, "x,y" joined by ";".
QString At(const RecordingSurface& r, const QString& text, double size = 0, const QString& font = {})
{
    QStringList at;
    for (const PrintOp& op : Texts(r, text, size, font))
        at << Pos(op.x, op.y);
    return at.join(';');
}

const PrintOp* TextAt(const RecordingSurface& r, double x, double y, double size)
{
    for (const PrintOp& op : r.ops)
        if (op.kind == PrintOp::Text && qAbs(op.x - x) < 0.01 && qAbs(op.y - y) < 0.01 && op.fontSize == size)
            return &op;
    return nullptr;
}

void Ini(const QString& section, const QString& key, const QString& value)
{
    WriteIniString(section, key, value, IniFile);
}

} // namespace

class TestSheets : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void styleLabel()
    {
        const QStringList cases[] = {{"arial italic bold", "BOLD ITALIC"}, {"Helvetica Bold Oblique", "BOLD"},
                                     {"Arial Italic", "ITALIC"}, {"Courier Oblique", "ITALIC"},
                                     {"Times New Roman", "Regular"}};
        for (const QStringList& c : cases)
            QCOMPARE(StyleLabel(c[0]), c[1]);
    }

    void fitSize()
    {
        // start, maxWidth, result: ten characters are 5 × size wide on the recording surface.
        const double cases[][3] = {{36, 100, 19}, {12, 100, 12}, {10, 1, 1}};
        for (const auto& c : cases) {
            RecordingSurface r;
            r.SetScaleMode(ScalePoints);
            QCOMPARE(FitSize(r, "ABCDEFGHIJ", "Some Face", c[0], c[1]), c[2]);
            QVERIFY(r.FontName() == "Some Face" && r.FontSize() == c[2]);
        }
    }

    void sheetOne_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("quote");  // the whole sample text of the ladder
        QTest::newRow("default: the digits") << "" << "1234567890";
        QTest::newRow("a quotation, upper case")
            << "3" << "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG AND KEEPS ON RUNNING FAR AWAY";
    }
    void sheetOne()
    {
        QFETCH(QString, index);
        QFETCH(QString, quote);
        if (!index.isEmpty())
            Ini("SpecSheets", "QuoteIndex", index);
        Ini("SpecSheets", "UpperCase", "1");
        Ini("Quotes", "Quote1", "The quick brown fox jumps over the lazy dog and keeps on running far away");
        auto r = Draw(SpecimenSheetI);
        QList<QLineF> lines;
        for (const PrintOp& op : r->ops)
            if (op.kind == PrintOp::Line && op.drawWidth == 5)
                lines << QLineF(op.x + kOff, op.y + kOff, op.x2 + kOff, op.y2 + kOff);
        QCOMPARE(lines, (QList<QLineF>{{54, 54, 558, 54}, {558, 54, 558, 108}, {558, 108, 54, 108},
                                      {54, 108, 54, 54}, {72, 54, 72, 108}, {540, 54, 540, 108}}));
        QCOMPARE(At(*r, "Test Serif Bold", 20), SheetPos(306, 78));
        const PrintOp name = Texts(*r, "Test Serif Bold", 20)[0];
        QVERIFY(name.align == AlignBaseCentre && name.fontName == "Arial" && name.bold);
        QCOMPARE(At(*r, "TestSerif-Bold.TTF  120 KB", 10), SheetPos(306, 96));

        const struct { const char* text; double x, y; } samples[] = {
            {"Aa", 73, 180}, {"Ff", 432, 180}, {"Gg", 73, 216}, {"Zz", 144, 324},
            {"1234567890", 216, 324}, {"!@#$%&*()\"?.,", 72, 360}};
        // (With the digits as the sheet quotation, its 24-point row prints them again.)
        for (const auto& s : samples)
            QCOMPARE(At(*r, s.text, 24, "Test Serif").section(';', 0, 0), SheetPos(s.x, s.y));

        const int sizes[] = {8, 10, 12, 14, 18, 24, 30, 36, 48};
        const double baselines[] = {460, 472, 487, 505, 526, 553, 589, 634, 686};
        for (int i = 0; i < 9; ++i) {
            const QString label = QString("%1 point").arg(sizes[i]);
            QCOMPARE(At(*r, label, 8, "Arial"), SheetPos(72, baselines[i]));
            // The sample's x is a printable-area position.
            const PrintOp* line = TextAt(*r, 90, baselines[i] - kOff, sizes[i]);
            QVERIFY2(line && line->fontName == "Test Serif", qPrintable(label));
            // Cut only as far as 450 points need (bold: 0.6 × size a character).
            const double width = 0.6 * sizes[i] * line->text.size();
            QVERIFY(!line->text.isEmpty() && quote.startsWith(line->text) && width <= 450);
            QVERIFY(line->text == quote || width + 0.6 * sizes[i] > 450);
        }
    }

    // Without paragraph files or quotations the sample lines show the alphabet,
    // and a paragraph written by the user replaces it.
    void emptySamplesShowTheAlphabet()
    {
        const QString letters = "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";
        auto countIn = [](const RecordingSurface& r, const QString& text) {
            int n = 0;
            for (const PrintOp& op : r.ops)
                n += op.kind == PrintOp::Text && op.fontName == "Test Serif" && !op.text.isEmpty()
                     && text.startsWith(op.text);
            return n;
        };
        QVERIFY(countIn(*Draw(SpecimenSheetII), letters) >= 9);
        QVERIFY(countIn(*Draw(SpecimenSheetIV), letters) >= 13);
        QVERIFY(WriteFile(QFileInfo(IniFile).path() + "/papara1.txt", "Quartz glyph job vex'd cwm finks."));
        QCOMPARE(countIn(*Draw(SpecimenSheetII), letters), 0);
    }

    void characterSet()
    {
        Ini("SpecSheets", "Header", "Shop header");
        auto r = Draw(CharacterSet);
        // code, x in the printable area, y on the sheet: 20 codes a column, skipped codes keep their place.
        const double cells[][3] = {{11, 70, 424}, {20, 106, 72}, {153, 326, 488}, {255, 506, 552}};
        for (const auto& c : cells) {
            const QString ch(Cp1252Char(int(c[0]))), code = QString::number(int(c[0]));
            QCOMPARE(At(*r, ch, 20, "Test Serif"), Pos(c[1], c[2] - kOff));
            QCOMPARE(At(*r, code, 4, "Arial"), Pos(c[1], c[2] + 8 - kOff));
            QCOMPARE(Texts(*r, ch, 20)[0].align, int(AlignBaseCentre));
        }
        QCOMPARE(At(*r, QString::number(9), 4), QString());
        int characters = 0;
        for (const PrintOp& op : r->ops)
            characters += op.kind == PrintOp::Text && op.fontSize == 20;
        QCOMPARE(characters, 250);
        // The one text placed in centimetres.
        QCOMPARE(At(*r, "Shop header", 8), Pos(1.75 * 72 / 2.54, 24.5 * 72 / 2.54));
        QCOMPARE(r->ScaleMode(), int(ScalePoints));
    }

    void seventyTwoPointSet()
    {
        Ini("SpecSheets", "UpperCase", "1");
        auto r = Draw(SeventyTwoPointSet);
        const struct { QString text; double x, y; } cells[] = {
            {"AA", 117, 120}, {"XX", 495, 520}, {"ZZ", 369, 600}, {"1234567890", 306, 680}};
        for (const auto& c : cells)
            QCOMPARE(At(*r, c.text, 72), SheetPos(c.x, c.y));
        QCOMPARE(Texts(*r, "1234567890", 72)[0].align, int(AlignBaseCentre));
        // The file name, right-aligned at 558.
        QCOMPARE(At(*r, "TestSerif-Bold.TTF  120 KB", 10), SheetPos(558, 50));
        QCOMPARE(Texts(*r, "TestSerif-Bold.TTF  120 KB", 10)[0].align, int(AlignBaseRight));
    }

    void ansiChart()
    {
        RecordingSurface r;
        r.missingGlyphs = {65, 200};
        AnsiChart(r, TestFont());
        // Codes 2..255 down six columns of 45 at equal pitches from the first cell.
        const PrintOp first = Texts(r, "2", 9, "Arial").value(0);
        const double rowPitch = Texts(r, "3", 9).value(0).y - first.y;
        const double columnPitch = Texts(r, "47", 9).value(0).x - first.x;
        QVERIFY(rowPitch > 12 && columnPitch > 70);
        for (int code = 1; code <= 256; ++code) {
            const int i = code - 2;
            QCOMPARE(At(r, QString::number(code), 9), code < 2 || code > 255 ? QString()
                     : Pos(first.x + i / 45 * columnPitch, first.y + i % 45 * rowPitch));
        }
        // The character at 12 points in the font, in the cell beside its code.
        const PrintOp label = Texts(r, "153", 9)[0];
        const auto tm = Texts(r, QString::fromUtf8("\u2122"), 12, "Test Serif");
        QCOMPARE(tm.size(), 1);
        QVERIFY(tm[0].x > label.x && tm[0].x < label.x + columnPitch && qAbs(tm[0].y - label.y) < rowPitch / 2);
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
