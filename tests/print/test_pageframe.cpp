#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/pageframe.h"
#include "print/recording.h"
#include "testenv.h"

using namespace gw;

namespace {

struct Sheet {
    double width, height;
};
// A printer whose unprintable border is a quarter inch in all (9 points a side).
constexpr double QuarterInchBorder = 9;

QVector<PrintOp> OpsOf(const RecordingSurface& printer, PrintOp::Kind kind)
{
    QVector<PrintOp> found;
    for (const PrintOp& op : printer.ops) {
        if (op.kind == kind)
            found.append(op);
    }
    return found;
}

} // namespace

class TestPageFrame : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void sheets_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("margin");
        QTest::addColumn<double>("offset");
        QTest::newRow("letter, quarter inch border") << 1 << 612.0 << 792.0 << QuarterInchBorder << 9.0;
        QTest::newRow("A4, quarter inch border") << 9 << 595.0 << 842.0 << QuarterInchBorder << 9.0;
        QTest::newRow("letter, quarter inch a side") << 1 << 612.0 << 792.0 << 18.0 << 18.0;
        QTest::newRow("fractional border rounds") << 9 << 595.0 << 842.0 << 9.3 << 9.0;
    }
    void offsets_data() { sheets_data(); }
    void offsets()
    {
        QFETCH(int, paper);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, margin);
        QFETCH(double, offset);
        RecordingSurface printer(paper, width, height, margin);
        printer.SetScaleMode(ScalePoints);
        QCOMPARE(LeftOffset(printer), offset);
        QCOMPARE(printer.ScaleMode(), int(ScaleTwips));
        printer.SetScaleMode(ScalePoints);
        QCOMPARE(TopOffset(printer), offset);

        PrintJob job(printer, {});
        job.Start();
        QCOMPARE(job.Left, offset);
        QCOMPARE(job.Top, offset);
        QCOMPARE(printer.ScaleMode(), int(ScalePoints));
        printer.SetCurrent(job.X(54), job.Y(72));
        printer.Print("item");
        QCOMPARE(printer.Find("item")->x, 54 - offset);
        QCOMPARE(printer.Find("item")->y, 72 - offset);
    }

    void jobStart()
    {
        WriteIniString("Inventory", "EndDoc", "5", IniFile);
        RecordingSurface printer(PaperLetter, 612, 792, QuarterInchBorder);
        PrintJob job(printer, {});
        job.Start();
        QCOMPARE(printer.ops.size(), 1);
        QCOMPARE(printer.ops[0].kind, PrintOp::Text);
        QCOMPARE(printer.ops[0].text, QString());
        QCOMPARE(job.ResetEvery, 5);
        QCOMPARE(job.SavedBkMode, 2);
        QCOMPARE(printer.SetBkMode(0), 1);
        QCOMPARE(printer.SetTextAlign(0), int(AlignBaseLeft));
    }

    void catalogHeader_data() { sheets_data(); }
    void catalogHeader()
    {
        QFETCH(int, paper);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, margin);
        QFETCH(double, offset);
        RecordingSurface printer(paper, width, height, margin);
        printer.SetFontItalic(true);
        CatalogHeader(printer, 24, "Font Catalog", offset, offset);

        QCOMPARE(printer.ops.first().text, QString(" "));
        const PrintOp* title = printer.Find("Font Catalog");
        QVERIFY(title);
        QCOMPARE(QPointF(title->x, title->y), QPointF(54 - offset, 72 - offset));
        QCOMPARE(title->fontName, QString("Arial"));
        QCOMPARE(title->fontSize, 16.0);
        QVERIFY(title->bold);
        QVERIFY(!title->italic);
        QCOMPARE(title->align, int(AlignBaseLeft));

        const PrintOp* size = printer.Find("24 Points");
        QVERIFY(size);
        QCOMPARE(QPointF(size->x, size->y), QPointF(558 - offset, 72 - offset));
        QCOMPARE(size->align, int(AlignBaseRight));
        QCOMPARE(size->fontSize, 10.0);
        QVERIFY(size->bold);

        const QVector<PrintOp> rules = OpsOf(printer, PrintOp::Line);
        QCOMPARE(rules.size(), 1);
        QCOMPARE(QPointF(rules[0].x, rules[0].y), QPointF(54 - offset, 78 - offset));
        QCOMPARE(QPointF(rules[0].x2, rules[0].y2), QPointF(54 - offset + 504, 78 - offset));
        QCOMPARE(rules[0].drawWidth, 6);
        QVERIFY(!printer.FontBold());
        QCOMPARE(printer.SetTextAlign(0), int(AlignBaseLeft));
    }

    void catalogFooter_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("f");  // one inch above the sheet's bottom, printable-area
        QTest::newRow("letter") << 1 << 792.0 << 711.0;
        QTest::newRow("A4") << 9 << 842.0 << 761.0;
    }
    void catalogFooter()
    {
        QFETCH(int, paper);
        QFETCH(double, height);
        QFETCH(double, f);
        RecordingSurface printer(paper, paper == 1 ? 612 : 595, height, QuarterInchBorder);
        PrintJob job(printer, {});
        job.Start();
        printer.SetFontBold(true);
        CatalogFooter(printer, job.Left, job.Top, 3, "Left words", "Right side");

        const QVector<PrintOp> rules = OpsOf(printer, PrintOp::Line);
        QCOMPARE(rules.size(), 1);
        QCOMPARE(QPointF(rules[0].x, rules[0].y), QPointF(45, f));
        QCOMPARE(QPointF(rules[0].x2, rules[0].y2), QPointF(540, f));

        const PrintOp* left = printer.Find("Left words");
        QCOMPARE(QPointF(left->x, left->y), QPointF(45, f + 12));
        QCOMPARE(left->fontName, QString("Arial"));
        QCOMPARE(left->fontSize, 8.0);
        QVERIFY(!left->bold);

        const PrintOp* right = printer.Find("Right side");
        QCOMPARE(right->align, int(AlignBaseLeft));
        QCOMPARE(QPointF(right->x, right->y), QPointF(540 - 10 * 4.0, f + 12));

        const PrintOp* number = printer.Find("-3-");
        QVERIFY(number);
        QCOMPARE(number->align, int(AlignBaseCentre));
        QCOMPARE(QPointF(number->x, number->y), QPointF(297, f + 12));
    }

    void pageBreaks_data()
    {
        QTest::addColumn<QString>("resetEvery");  // "" leaves the default
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("endings");     // N NewPage, E EndDoc, in order
        QTest::addColumn<int>("documents");
        QTest::newRow("default 3, seven pages") << "" << 7 << "NNENNEE" << 3;
        QTest::newRow("every page") << "1" << 3 << "EEE" << 3;
        QTest::newRow("more than the job") << "10" << 4 << "NNNE" << 1;
        QTest::newRow("exactly the reset") << "2" << 4 << "NENE" << 2;
        QTest::newRow("zero resets every page") << "0" << 2 << "EE" << 2;
    }
    void pageBreaks()
    {
        QFETCH(QString, resetEvery);
        QFETCH(int, pages);
        QFETCH(QString, endings);
        QFETCH(int, documents);
        if (!resetEvery.isEmpty())
            WriteIniString("Inventory", "EndDoc", resetEvery, IniFile);
        RecordingSurface printer(PaperLetter, 612, 792, QuarterInchBorder);
        PrintJob job(printer, {});
        job.Start();
        for (int page = 1; page <= pages; ++page) {
            if (page > 1) {
                printer.SetTextAlign(AlignBaseCentre);
                printer.SetScaleMode(ScaleTwips);
                job.BreakPage();
                QCOMPARE(printer.ScaleMode(), int(ScalePoints));
                QCOMPARE(printer.SetTextAlign(AlignBaseLeft), int(AlignBaseLeft));
                QCOMPARE(printer.ops.last().text, QString());  // opens the next page
            }
            QCOMPARE(job.Page, page);
            printer.Print(QString("body %1").arg(page));
        }
        job.Finish();

        QString seen;
        for (const PrintOp& op : printer.ops) {
            if (op.kind == PrintOp::NewPage)
                seen += 'N';
            else if (op.kind == PrintOp::EndDoc)
                seen += 'E';
        }
        QCOMPARE(seen, endings);
        const PrintOp* last = printer.Find(QString("body %1").arg(pages));
        QCOMPARE(last->page, pages);
        QCOMPARE(last->document, documents);
        QCOMPARE(printer.SetBkMode(1), 2);  // the mode kept at the start
    }

    void gauge_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("drawn");
        QTest::newRow("one font") << 1 << QList<int>{0};
        QTest::newRow("two fonts") << 2 << QList<int>{0, 100};
        QTest::newRow("eight fonts") << 8 << QList<int>{0, 100};
        // 1/21 is 4.76 %, which converts to 5.
        QTest::newRow("twenty-two fonts") << 22 << QList<int>{0, 5, 10, 90, 95, 100};
        QTest::newRow("halves to even") << 41
            << QList<int>{0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85,
                          90, 95, 100};
    }
    void gauge()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, drawn);
        RecordingSurface printer;
        QList<int> seen;
        PrintJob job(printer, [&seen](int percent) { seen.append(percent); });
        for (int index = 0; index < count; ++index)
            job.Progress(index, count);
        QCOMPARE(seen, drawn);
    }

    void fitText_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<double>("maxWidth");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // Size 10: 5 points a character, 6 when bold.
        QTest::newRow("cut from the end") << false << 22.0 << "abcdefgh" << "abcd";
        QTest::newRow("exact width fits") << false << 20.0 << "abcdefgh" << "abcd";
        QTest::newRow("bold is wider") << true << 22.0 << "abcdefgh" << "abc";
        QTest::newRow("one character too wide") << false << 4.0 << "a" << "";
        QTest::newRow("fits whole") << false << 100.0 << "abc" << "abc";
        QTest::newRow("300 at most") << false << 1e6 << QString(400, 'w') << QString(300, 'w');
    }
    void fitText()
    {
        QFETCH(bool, bold);
        QFETCH(double, maxWidth);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        RecordingSurface printer;
        printer.SetFontSize(10);
        printer.SetFontBold(bold);
        printer.SetScaleMode(ScaleTwips);  // the width is in points whatever came before
        QCOMPARE(FitText(printer, "Nimbus Sans", maxWidth, text), expected);
        QCOMPARE(printer.FontName(), QString("Nimbus Sans"));
    }

    void sampleTextChoice_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letters") << 0 << "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";
        QTest::newRow("digits without 7") << 1 << "123456890";
        QTest::newRow("symbols") << 2 << "~!@#$%^&*()_+|`-=\\{}[]:;\"'<>?,./";
        QTest::newRow("3 is Quote1") << 3 << "First quote";
        QTest::newRow("11 is Quote9, unset") << 11 << "";
        QTest::newRow("12 is Quote10") << 12 << "Tenth quote";
        QTest::newRow("13") << 13 << "";
        QTest::newRow("negative") << -1 << "";
    }
    void sampleTextChoice()
    {
        QFETCH(int, index);
        QFETCH(QString, expected);
        WriteIniString("Quotes", "Quote1", "First quote", IniFile);
        WriteIniString("Quotes", "QUOTE10", "Tenth quote", IniFile);
        QCOMPARE(SampleTextChoice(index), expected);
        if (index == 2)
            QCOMPARE(SampleTextChoice(index).size(), 32);
    }

    void catalogSampleText_data()
    {
        QTest::addColumn<QString>("quoteIndex");  // "" leaves the default
        QTest::addColumn<QString>("upperCase");
        QTest::addColumn<QString>("expected");
        QTest::newRow("defaults") << "" << "" << "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";
        QTest::newRow("quote upper-cased") << "3" << "1" << "FIRST QUOTE";
        QTest::newRow("letters upper-cased") << "0" << "1" << "AABBCCDDEEFFGGHHIIJJKKLLMMNNOOPPQQRRSSTTUUVVWWXXYYZZ";
        QTest::newRow("only 1 upper-cases") << "3" << "2" << "First quote";
        QTest::newRow("out of range") << "13" << "1" << "";
    }
    void catalogSampleText()
    {
        QFETCH(QString, quoteIndex);
        QFETCH(QString, upperCase);
        QFETCH(QString, expected);
        WriteIniString("Quotes", "Quote1", "First quote", IniFile);
        if (!quoteIndex.isEmpty())
            WriteIniString("Inventory", "QuoteIndex", quoteIndex, IniFile);
        if (!upperCase.isEmpty())
            WriteIniString("SpecSheets", "UpperCase", upperCase, IniFile);
        // The sample sheets' own index must not be read.
        WriteIniString("SpecSheets", "QuoteIndex", "1", IniFile);
        QCOMPARE(CatalogSampleText(), expected);
    }

    void setPrinterFont_data()
    {
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("fallback");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("fontAfter");
        QTest::newRow("face taken, trimmed") << QStringList{} << "  Nimbus Sans " << "Other"
                                             << "Nimbus Sans" << "Nimbus Sans";
        QTest::newRow("fallback, trimmed") << QStringList{"missing face"} << "Missing Face"
                                           << " Alternate " << "Alternate" << "Alternate";
        QTest::newRow("both refused") << QStringList{"Missing Face", "ALTERNATE"} << "Missing Face"
                                      << "Alternate" << "Arial" << "Courier";
    }
    void setPrinterFont()
    {
        QFETCH(QStringList, refused);
        QFETCH(QString, face);
        QFETCH(QString, fallback);
        QFETCH(QString, result);
        QFETCH(QString, fontAfter);
        RecordingSurface printer;
        QVERIFY(printer.SetFontName("Courier"));
        printer.SetFontBold(true);
        printer.SetFontItalic(true);
        for (const QString& name : refused)
            printer.refusedFonts.insert(name);
        QCOMPARE(SetPrinterFont(face, fallback, printer), result);
        QCOMPARE(printer.FontName(), fontAfter);
        QVERIFY(!printer.FontBold());
        QVERIFY(!printer.FontItalic());
    }

    void applyStyle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("boldBefore");
        QTest::addColumn<bool>("italicBefore");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("bold italic") << "Arial Bold Italic" << false << false << true << true;
        QTest::newRow("bold oblique") << "Helvetica BoldOblique" << false << false << true << true;
        QTest::newRow("bold turns italic off") << "Arial bold" << false << true << true << false;
        QTest::newRow("italic turns bold off") << "Arial Italic" << true << false << false << true;
        QTest::newRow("oblique") << "Helvetica oblique" << true << false << false << true;
        QTest::newRow("no words: unchanged") << "Arial Black" << true << true << true << true;
    }
    void applyStyle()
    {
        QFETCH(QString, name);
        QFETCH(bool, boldBefore);
        QFETCH(bool, italicBefore);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        RecordingSurface printer;
        printer.SetFontBold(boldBefore);
        printer.SetFontItalic(italicBefore);
        ApplyStyle(printer, name);
        QCOMPARE(printer.FontBold(), bold);
        QCOMPARE(printer.FontItalic(), italic);
    }

    void paperRule_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("letter") << 1 << true;
        QTest::newRow("letter small") << 2 << true;
        QTest::newRow("A4") << 9 << true;
        QTest::newRow("A4 small") << 10 << true;
        QTest::newRow("note") << 18 << true;
        QTest::newRow("legal") << 5 << false;
        QTest::newRow("A3") << 8 << false;
        QTest::newRow("none") << 0 << false;
    }
    void paperRule()
    {
        QFETCH(int, paper);
        QFETCH(bool, accepted);
        RecordingSurface printer(paper);
        QCOMPARE(CheckPaperSize(printer), accepted);
        FakeMessageBoxes& boxes = *env_->fake.messages;
        if (accepted) {
            QVERIFY(boxes.texts.isEmpty());
            return;
        }
        QCOMPARE(boxes.texts, QStringList{QString::fromUtf8(
            "This program only works with letter-sized (8\u00bd\u00d711) or European A4 paper! "
            "Please change your printer setup.")});
        QCOMPARE(boxes.styles, QList<int>{vbInformation});
        QCOMPARE(boxes.titles, QStringList{"Glyphwick"});
        QVERIFY(printer.ops.isEmpty());
    }

    // The recording surface itself: what the layouts' tests rely on.
    void recordingScaleModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("perPoint");
        QTest::newRow("twips") << int(ScaleTwips) << 20.0;
        QTest::newRow("points") << int(ScalePoints) << 1.0;
        QTest::newRow("centimetres") << int(ScaleCentimetres) << 2.54 / 72;
    }
    void recordingScaleModes()
    {
        QFETCH(int, mode);
        QFETCH(double, perPoint);
        RecordingSurface printer(PaperA4, 595, 842, 18);
        printer.SetScaleMode(mode);
        QCOMPARE(printer.Width(), 11900);
        QCOMPARE(printer.Height(), 16840);
        QCOMPARE(printer.ScaleWidth(), 559 * perPoint);
        QCOMPARE(printer.ScaleHeight(), 806 * perPoint);
        printer.SetCurrent(100 * perPoint, 50 * perPoint);
        printer.SetFontSize(12);
        printer.Print("abcd");
        QCOMPARE(printer.ops.last().x, 100.0);
        QCOMPARE(printer.ops.last().y, 50.0);
        QCOMPARE(printer.TextWidth("abcd"), 24 * perPoint);
        QCOMPARE(printer.CurrentX(), 124 * perPoint);
        printer.Line(0, 0, 10 * perPoint, 20 * perPoint, LineFilledBox, ColourWhite);
        QCOMPARE(printer.ops.last().kind, PrintOp::FilledBox);
        QCOMPARE(QPointF(printer.ops.last().x2, printer.ops.last().y2), QPointF(10, 20));
    }

    void recordingDocuments()
    {
        RecordingSurface printer;
        printer.EndDoc();  // nothing open yet: nothing counted
        printer.Print("");
        printer.NewPage();
        printer.Print("second");
        printer.EndDoc();
        printer.EndDoc();  // the second has nothing to end
        printer.Print("third");
        QCOMPARE(printer.Find("second")->page, 2);
        QCOMPARE(printer.Find("second")->document, 1);
        QCOMPARE(printer.Find("third")->page, 3);
        QCOMPARE(printer.Find("third")->document, 2);
        QCOMPARE(printer.Count(PrintOp::EndDoc), 3);
        printer.refusedFonts.insert("Gone");
        QVERIFY(!printer.SetFontName("GONE"));
        QCOMPARE(printer.FontName(), QString("Arial"));
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestPageFrame)
#include "test_pageframe.moc"
