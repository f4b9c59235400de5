#include <QtTest>

#include <memory>

#include "core/codepage.h"
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
    f.FontType = 1;
    f.FaceName = face;
    return f;
}

std::unique_ptr<RecordingSurface> Letter()
{
    return std::make_unique<RecordingSurface>(PaperLetter, 612, 792, 18);
}

// Text ops, optionally only those at this size.
QVector<PrintOp> Texts(const RecordingSurface& r, const QString& text, double size = 0)
{
    QVector<PrintOp> found;
    for (const PrintOp& op : r.ops)
        if (op.kind == PrintOp::Text && op.text == text && (size == 0 || op.fontSize == size))
            found << op;
    return found;
}

const PrintOp* TextAt(const RecordingSurface& r, double x, double y, double size)
{
    for (const PrintOp& op : r.ops)
        if (op.kind == PrintOp::Text && qAbs(op.x - x) < 0.01
            && qAbs(op.y - y) < 0.01 && op.fontSize == size)
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

    void styleLabel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::newRow("bold italic") << "Arial Bold Italic" << "BOLD ITALIC";
        QTest::newRow("lower case words") << "arial italic bold" << "BOLD ITALIC";
        QTest::newRow("bold oblique is only bold") << "Helvetica Bold Oblique" << "BOLD";
        QTest::newRow("bold") << "Arial Bold" << "BOLD";
        QTest::newRow("italic") << "Arial Italic" << "ITALIC";
        QTest::newRow("oblique") << "Courier Oblique" << "ITALIC";
        QTest::newRow("plain") << "Times New Roman" << "Regular";
        QTest::newRow("empty") << "" << "Regular";
    }
    void styleLabel()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QCOMPARE(StyleLabel(name), label);
    }

    void fitSize_data()
    {
        // Ten characters are 5 × size wide on the recording surface.
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("maxWidth");
        QTest::addColumn<double>("size");
        QTest::newRow("exact width is not narrower") << 36.0 << 100.0 << 19.0;
        QTest::newRow("just wider") << 36.0 << 100.5 << 20.0;
        QTest::newRow("start already fits") << 12.0 << 100.0 << 12.0;
        QTest::newRow("nothing fits stops at 1") << 10.0 << 1.0 << 1.0;
    }
    void fitSize()
    {
        QFETCH(double, start);
        QFETCH(double, maxWidth);
        QFETCH(double, size);
        auto r = Letter();
        r->SetScaleMode(ScalePoints);
        QCOMPARE(FitSize(*r, "ABCDEFGHIJ", "Some Face", start, maxWidth), size);
        QCOMPARE(r->FontName(), QString("Some Face"));
        QCOMPARE(r->FontSize(), size);
    }

    void sheetOneTitleBlock()
    {
        auto r = Letter();
        SpecimenSheetI(*r, TestFont());
        QList<QLineF> lines;
        for (const PrintOp& op : r->ops) {
            if (op.kind != PrintOp::Line)
                continue;
            QCOMPARE(op.drawWidth, 5);
            lines << QLineF(op.x + kOff, op.y + kOff, op.x2 + kOff, op.y2 + kOff);
        }
        const QList<QLineF> expected = {{54, 54, 558, 54}, {558, 54, 558, 108},
                                        {558, 108, 54, 108}, {54, 108, 54, 54},
                                        {72, 54, 72, 108},   {540, 54, 540, 108}};
        QCOMPARE(lines, expected);

        const auto name = Texts(*r, "Test Serif Bold");
        QCOMPARE(name.size(), 1);
        QCOMPARE(name[0].align, int(AlignBaseCentre));
        QCOMPARE(QPointF(name[0].x, name[0].y), QPointF(306 - kOff, 78 - kOff));
        QCOMPARE(name[0].fontName, QString("Arial"));
        QCOMPARE(name[0].fontSize, 20.0);
        QVERIFY(name[0].bold);
        const auto file = Texts(*r, "TestSerif-Bold.TTF  120 KB");
        QCOMPARE(file.size(), 1);
        QCOMPARE(QPointF(file[0].x, file[0].y), QPointF(306 - kOff, 96 - kOff));
        QCOMPARE(file[0].fontSize, 10.0);
        QVERIFY(!file[0].bold);
    }

    void sheetOneSamples_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("first pair") << "Aa" << 73.0 << 180.0;
        QTest::newRow("end of row 1") << "Ff" << 432.0 << 180.0;
        QTest::newRow("start of row 2") << "Gg" << 73.0 << 216.0;
        QTest::newRow("end of row 4") << "Xx" << 432.0 << 288.0;
        QTest::newRow("last row") << "Yy" << 73.0 << 324.0;
        QTest::newRow("last pair") << "Zz" << 144.0 << 324.0;
        QTest::newRow("figures") << "1234567890" << 216.0 << 324.0;
        QTest::newRow("symbols") << "!@#$%&*()\"?.," << 72.0 << 360.0;
    }
    void sheetOneSamples()
    {
        QFETCH(QString, text);
        QFETCH(double, x);
        QFETCH(double, y);
        auto r = Letter();
        SpecimenSheetI(*r, TestFont());
        const auto found = Texts(*r, text, 24);
        QCOMPARE(found.size(), 1);
        QCOMPARE(QPointF(found[0].x, found[0].y), QPointF(x - kOff, y - kOff));
        QCOMPARE(found[0].fontName, QString("Test Serif"));
        QVERIFY(found[0].bold);
    }

    void sheetOneLadder_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("baseline");
        const int sizes[] = {8, 10, 12, 14, 18, 24, 30, 36, 48};
        const double baselines[] = {460, 472, 487, 505, 526, 553, 589, 634, 686};
        for (int i = 0; i < 9; ++i)
            QTest::addRow("%d point", sizes[i]) << sizes[i] << baselines[i];
    }
    void sheetOneLadder()
    {
        QFETCH(int, size);
        QFETCH(double, baseline);
        const QString quote = "The quick brown fox jumps over the lazy dog and keeps on running far away";
        Ini("SpecSheets", "QuoteIndex", "3");
        Ini("Quotes", "Quote1", quote);
        auto r = Letter();
        SpecimenSheetI(*r, TestFont());

        const auto label = Texts(*r, QString("%1 point").arg(size), 8);
        QCOMPARE(label.size(), 1);
        QCOMPARE(QPointF(label[0].x, label[0].y), QPointF(72 - kOff, baseline - kOff));
        QCOMPARE(label[0].fontName, QString("Arial"));

        // The sample's x is a printable-area position.
        const PrintOp* line = TextAt(*r, 90, baseline - kOff, size);
        QVERIFY(line);
        QCOMPARE(line->fontName, QString("Test Serif"));
        QVERIFY(quote.startsWith(line->text));
        QVERIFY(!line->text.isEmpty());
        const double width = 0.6 * size * line->text.size();  // bold
        QVERIFY(width <= 450);
        QVERIFY(line->text == quote || width + 0.6 * size > 450);  // cut only as far as needed
    }

    void sheetQuotation_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default is the digits") << "" << "" << "123456890";
        QTest::newRow("letters") << "0" << "0" << "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";
        QTest::newRow("quote, upper case") << "4" << "1" << "SECOND QUOTE";
        QTest::newRow("out of range is empty") << "13" << "1" << "";
    }
    void sheetQuotation()
    {
        QFETCH(QString, index);
        QFETCH(QString, upper);
        QFETCH(QString, expected);
        if (!index.isEmpty())
            Ini("SpecSheets", "QuoteIndex", index);
        if (!upper.isEmpty())
            Ini("SpecSheets", "UpperCase", upper);
        Ini("Quotes", "Quote2", "Second quote");
        Ini("SpecSheets", "Header", "Shop header");
        auto r = Letter();
        SpecimenSheetI(*r, TestFont());
        // The 8-point line; each of these texts fits 450 points whole.
        const PrintOp* line = TextAt(*r, 90, 460 - kOff, 8);
        QVERIFY(line);
        QCOMPARE(line->text, expected);
        const auto header = Texts(*r, "Shop header", 8);
        QCOMPARE(header.size(), 1);
        QCOMPARE(QPointF(header[0].x, header[0].y), QPointF(54 - kOff, 720 - kOff));
    }

    void characterSet_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<double>("x");  // printable-area position
        QTest::addColumn<double>("y");  // sheet baseline
        QTest::newRow("0") << 0 << 70.0 << 72.0;
        QTest::newRow("11 inside the gap") << 11 << 70.0 << 424.0;
        QTest::newRow("19 column end") << 19 << 70.0 << 680.0;
        QTest::newRow("20 second column") << 20 << 106.0 << 72.0;
        QTest::newRow("65") << 65 << 182.0 << 232.0;
        QTest::newRow("153") << 153 << 326.0 << 488.0;
        QTest::newRow("255 last") << 255 << 506.0 << 552.0;
    }
    void characterSet()
    {
        QFETCH(int, code);
        QFETCH(double, x);
        QFETCH(double, y);
        auto r = Letter();
        CharacterSet(*r, TestFont());
        const auto ch = Texts(*r, QString(Cp1252Char(code)), 20);
        QCOMPARE(ch.size(), 1);
        QCOMPARE(QPointF(ch[0].x, ch[0].y), QPointF(x, y - kOff));
        QCOMPARE(ch[0].align, int(AlignBaseCentre));
        QCOMPARE(ch[0].fontName, QString("Test Serif"));
        const auto label = Texts(*r, QString::number(code), 4);
        QCOMPARE(label.size(), 1);
        QCOMPARE(QPointF(label[0].x, label[0].y), QPointF(x, y + 8 - kOff));
        QCOMPARE(label[0].fontName, QString("Arial"));
    }

    void characterSetSkipsControlCodes()
    {
        Ini("SpecSheets", "Header", "Shop header");
        auto r = Letter();
        CharacterSet(*r, TestFont());
        for (int code : {8, 9, 10, 12, 13, 14}) {
            QVERIFY2(Texts(*r, QString(Cp1252Char(code))).isEmpty(), qPrintable(QString::number(code)));
            QVERIFY2(Texts(*r, QString::number(code), 4).isEmpty(), qPrintable(QString::number(code)));
        }
        int characters = 0;
        for (const PrintOp& op : r->ops)
            characters += op.kind == PrintOp::Text && op.fontSize == 20;
        QCOMPARE(characters, 250);
        // The one text placed in centimetres: 1.75 cm, 24.5 cm into the printable area.
        const auto header = Texts(*r, "Shop header", 8);
        QCOMPARE(header.size(), 1);
        QVERIFY(qAbs(header[0].x - 1.75 * 72 / 2.54) < 0.01);
        QVERIFY(qAbs(header[0].y - 24.5 * 72 / 2.54) < 0.01);
        QCOMPARE(r->ScaleMode(), int(ScalePoints));
    }

    void seventyTwoPointSet_data()
    {
        QTest::addColumn<bool>("upper");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("Aa") << false << "Aa" << 117.0 << 120.0;
        QTest::newRow("Dd") << false << "Dd" << 495.0 << 120.0;
        QTest::newRow("Xx") << false << "Xx" << 495.0 << 520.0;
        QTest::newRow("Yy") << false << "Yy" << 243.0 << 600.0;
        QTest::newRow("Zz") << false << "Zz" << 369.0 << 600.0;
        QTest::newRow("digits") << false << "1234567890" << 306.0 << 680.0;
        QTest::newRow("AA") << true << "AA" << 117.0 << 120.0;
        QTest::newRow("ZZ") << true << "ZZ" << 369.0 << 600.0;
    }
    void seventyTwoPointSet()
    {
        QFETCH(bool, upper);
        QFETCH(QString, text);
        QFETCH(double, x);
        QFETCH(double, y);
        if (upper)
            Ini("SpecSheets", "UpperCase", "1");
        auto r = Letter();
        SeventyTwoPointSet(*r, TestFont());
        const auto found = Texts(*r, text, 72);
        QCOMPARE(found.size(), 1);
        QCOMPARE(QPointF(found[0].x, found[0].y), QPointF(x - kOff, y - kOff));
        QCOMPARE(found[0].align, int(AlignBaseCentre));
        int pairs = 0;
        for (const PrintOp& op : r->ops)
            if (op.kind == PrintOp::Text && op.fontSize == 72 && op.text.size() == 2) {
                ++pairs;
                QCOMPARE(op.text[1].isUpper(), upper);
            }
        QCOMPARE(pairs, 26);
        // The name block: lower-cased file name right-aligned at 558.
        const auto file = Texts(*r, "testserif-bold.ttf  120 KB", 10);
        QCOMPARE(file.size(), 1);
        QCOMPARE(file[0].align, int(AlignBaseRight));
        QCOMPARE(QPointF(file[0].x, file[0].y), QPointF(558 - kOff, 50 - kOff));
    }

    void ansiChartGrid_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("2") << 2 << 0 << 0;
        QTest::newRow("46") << 46 << 0 << 44;
        QTest::newRow("47") << 47 << 1 << 0;
        QTest::newRow("153") << 153 << 3 << 16;
        QTest::newRow("227") << 227 << 5 << 0;
        QTest::newRow("255") << 255 << 5 << 28;
    }
    void ansiChartGrid()
    {
        QFETCH(int, code);
        QFETCH(int, column);
        QFETCH(int, row);
        auto r = Letter();
        AnsiChart(*r, TestFont());
        const auto first = Texts(*r, "2", 9);
        const auto label = Texts(*r, QString::number(code), 9);
        QCOMPARE(first.size(), 1);
        QCOMPARE(label.size(), 1);
        QCOMPARE(label[0].fontName, QString("Arial"));
        // Equal pitches from the first cell: six columns of 45 rows.
        const double rowPitch = Texts(*r, "3", 9)[0].y - first[0].y;
        const double columnPitch = Texts(*r, "47", 9)[0].x - first[0].x;
        QVERIFY(rowPitch > 12 && columnPitch > 70);
        QVERIFY(qAbs(label[0].x - first[0].x - column * columnPitch) < 0.01);
        QVERIFY(qAbs(label[0].y - first[0].y - row * rowPitch) < 0.01);
        // The character at 12 points in the font, in the same cell.
        const auto ch = Texts(*r, QString(Cp1252Char(code)), 12);
        QCOMPARE(ch.size(), 1);
        QCOMPARE(ch[0].fontName, QString("Test Serif"));
        QVERIFY(ch[0].x > label[0].x && ch[0].x < label[0].x + columnPitch);
        QVERIFY(qAbs(ch[0].y - label[0].y) < rowPitch / 2);
    }

    void ansiChartCells()
    {
        auto r = Letter();
        r->missingGlyphs = {65, 200};
        AnsiChart(*r, TestFont());
        QCOMPARE(Texts(*r, QString::fromUtf8("\u2122"), 12).size(), 1);  // 153
        QVERIFY(Texts(*r, "A", 12).isEmpty());
        QVERIFY(Texts(*r, QString(Cp1252Char(200)), 12).isEmpty());
        QCOMPARE(Texts(*r, "B", 12).size(), 1);
        for (int code = 2; code <= 255; ++code)
            QCOMPARE(Texts(*r, QString::number(code), 9).size(), 1);
        QVERIFY(Texts(*r, "1", 9).isEmpty());
        QVERIFY(Texts(*r, "256", 9).isEmpty());

        QList<int> crossed;
        for (int i = 0; i < r->ops.size(); ++i) {
            const PrintOp& op = r->ops[i];
            if (op.kind == PrintOp::Line)
                QCOMPARE(op.drawWidth, 4);
            if ((op.kind == PrintOp::Box || op.kind == PrintOp::FilledBox)
                && op.fillStyle == FillDiagonalCross) {
                // The box covers the character part of the cell whose code is beside it.
                for (int code : {65, 200}) {
                    const PrintOp label = Texts(*r, QString::number(code), 9)[0];
                    if (label.y > op.y && label.y < op.y2 && op.x > label.x && op.x < label.x + 10)
                        crossed << code;
                }
                QVERIFY(i + 1 < r->ops.size());
                QCOMPARE(r->ops[i + 1].fillStyle, int(FillTransparent));
            }
        }
        QCOMPARE(crossed, (QList<int>{65, 200}));
    }

    void keyboardChart()
    {
        auto r = Letter();
        KeyboardChart(*r, TestFont());
        QCOMPARE(Texts(*r, "Tab", 14).size(), 1);
        for (const char* name : {"BKSP", "Caps", "Return", "Ctrl", "Alt", "Shift"})
            QVERIFY2(!Texts(*r, name, 8).isEmpty(), name);
        double keyboardBottom = 0;
        int keys = 0;
        for (const PrintOp& op : r->ops)
            if (op.kind == PrintOp::Box && op.drawWidth == 3) {
                ++keys;
                keyboardBottom = qMax(keyboardBottom, op.y2);
            }
        QCOMPARE(keys, 58);
        const auto title = Texts(*r, "Windows ANSI Extended Character Set (Alt + 0 +...)");
        QCOMPARE(title.size(), 1);
        QVERIFY(title[0].y - title[0].fontSize > keyboardBottom);

        int entries = 0;
        for (int code = 128; code <= 255; ++code) {
            const auto alt = Texts(*r, QString("0%1").arg(code));
            const bool undefined = code == 129 || code == 141 || code == 143 || code == 144 || code == 157;
            QCOMPARE(alt.size(), undefined ? 0 : 1);
            if (undefined)
                continue;
            ++entries;
            QVERIFY(alt[0].y > title[0].y);
            const auto ch = Texts(*r, QString(Cp1252Char(code)));
            QVERIFY(!ch.isEmpty());
            QCOMPARE(ch.last().y, alt[0].y);
        }
        QCOMPARE(entries, 123);
    }

    void printSheets_data()
    {
        QTest::addColumn<int>("resetEvery");
        QTest::addColumn<QString>("breaks");  // N NewPage, E EndDoc, in order
        QTest::newRow("reset every 3") << 3 << "NNENNE";
        QTest::newRow("reset every 4") << 4 << "NNNENE";
        QTest::newRow("reset every page") << 1 << "EEEEEE";
        QTest::newRow("never within the run") << 10 << "NNNNNE";
    }
    void printSheets()
    {
        QFETCH(int, resetEvery);
        QFETCH(QString, breaks);
        Ini("Inventory", "EndDoc", QString::number(resetEvery));
        auto r = Letter();
        const PrintFontList fonts = {TestFont("First Face"), TestFont("Second Face")};
        std::array<bool, 8> checked{};
        checked[0] = checked[5] = checked[7] = true;
        QList<int> gauge;
        QStringList status;
        PrintSheets(
            *r, fonts, [&](int percent) { gauge << percent; }, checked,
            [&](const QString& s) { status << s; });

        QString seen;
        for (const PrintOp& op : r->ops)
            if (op.kind == PrintOp::NewPage || op.kind == PrintOp::EndDoc)
                seen += op.kind == PrintOp::NewPage ? 'N' : 'E';
        QCOMPARE(seen, breaks);
        QCOMPARE(gauge, (QList<int>{0, 17, 33, 50, 67, 83, 100}));
        QCOMPARE(status, (QStringList{"Printing...", "Ready to print"}));

        // Page by page: sheet order within each font, fonts in list order.
        struct Mark { QString text; double size; QString face; };
        const QList<Mark> pages = {{"24 point alphabet, symbol, & numeral sample", 14, "First Face"},
                                   {"153", 9, "First Face"},
                                   {"  (72 points)", 10, "First Face"},
                                   {"24 point alphabet, symbol, & numeral sample", 14, "Second Face"},
                                   {"153", 9, "Second Face"},
                                   {"  (72 points)", 10, "Second Face"}};
        for (int i = 0; i < pages.size(); ++i) {
            QList<int> onPages;
            for (const PrintOp& op : Texts(*r, pages[i].text, pages[i].size))
                onPages << op.page;
            QVERIFY(onPages.contains(i + 1));
            const auto name = Texts(*r, pages[i].face + " Bold");
            QVERIFY(std::any_of(name.begin(), name.end(), [&](const PrintOp& op) { return op.page == i + 1; }));
        }
        int documents = 0;
        for (const PrintOp& op : r->ops)
            documents = qMax(documents, op.document);
        QCOMPARE(documents, int(breaks.count('E')));
    }

    void printSheetsWithNothingChecked()
    {
        auto r = Letter();
        QList<int> gauge;
        PrintSheets(*r, {TestFont()}, [&](int p) { gauge << p; }, std::array<bool, 8>{});
        QVERIFY(r->ops.isEmpty());
        QCOMPARE(gauge, QList<int>{0});
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestSheets)
#include "test_sheets.moc"
