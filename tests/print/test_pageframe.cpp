#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/pageframe.h"
#include "print/printrun.h"
#include "print/recording.h"
#include "printtestfonts.h"
#include "testenv.h"

using namespace gw;

class TestPageFrame : public QObject {
    Q_OBJECT
private slots:
    // The layout picture is the printer's sheet to scale (unknown paper as letter): its lowest ink is the
    // footer's text, 12 points under the rule an inch above the sheet's bottom.
    void thumbnailFollowsThePaper_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<double>("heightPerWidth");
        QTest::newRow("letter") << int(PaperLetter) << 792.0 / 612;
        QTest::newRow("A4") << int(PaperA4) << 842.0 / 595;
        QTest::newRow("legal: shown as letter") << int(PaperLegal) << 792.0 / 612;
    }
    void thumbnailFollowsThePaper()
    {
        QFETCH(int, paper);
        QFETCH(double, heightPerWidth);
        PrintChoice choice;
        choice.Layout = QStringLiteral("Basic Catalog I");
        const QImage picture = LayoutThumbnail(TestPrintFonts(1), choice, heightPerWidth > 1.35 ? 595 : 612, paper);  // a pixel a point
        QVERIFY(qAbs(double(picture.height()) / picture.width() - heightPerWidth) < 0.01);
        int lowestInk = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                lowestInk = qGray(picture.pixel(x, y)) < 160 ? y : lowestInk;
        QVERIFY2(qAbs(lowestInk - (picture.height() - 60)) <= 3, qPrintable(QString::number(lowestInk)));
    }

    // The picture shows every font of the first page; of sample sheets, the first sheet checked, whichever it is.
    void thumbnailShowsTheFirstPage()
    {
        PrintChoice choice;
        for (const auto& [layout, fonts] : {std::pair("Three Up Catalog", 3), std::pair("Six Up Catalog", 6)}) {
            choice.Layout = layout;
            PrintFontList lastChanged = TestPrintFonts(fonts);
            lastChanged.back() = lastChanged.front();
            LayoutThumbnail(lastChanged, choice, 300, PaperLetter);  // a face's first drawing differs by a few pixels
            QVERIFY(LayoutThumbnail(TestPrintFonts(fonts), choice, 300, PaperLetter)
                    != LayoutThumbnail(lastChanged, choice, 300, PaperLetter));
        }
        choice.Sheets = true;
        QList<QImage> shown{LayoutThumbnail({}, choice, 300, PaperLetter)};  // a blank sheet
        for (int i = 7; i >= 0; --i) {
            choice.Checked[size_t(i)] = true;
            const QImage sheet = LayoutThumbnail(TestPrintFonts(1), choice, 300, PaperLetter);
            QVERIFY2(!shown.contains(sheet), qPrintable(QString::number(i)));
            shown << sheet;
        }
        choice.Checked = {true};  // only the first: as when all are checked
        QCOMPARE(LayoutThumbnail(TestPrintFonts(1), choice, 300, PaperLetter), shown.last());
    }

    // The picture of a catalog draws every font of its first page, in every layout, paper and size.
    void firstPageFonts_data()
    {
        QTest::addColumn<QString>("pointSize");
        QTest::addColumn<QString>("infoPointSize");
        QTest::newRow("small samples and captions") << "8" << "6";
        QTest::newRow("16-point samples") << "16" << "10";
        QTest::newRow("the default sizes") << "24" << "10";
        QTest::newRow("large samples and captions") << "72" << "14";
    }
    void firstPageFonts()
    {
        QFETCH(QString, pointSize);
        QFETCH(QString, infoPointSize);
        WriteIniString("Inventory", "PointSize", pointSize, IniFile);
        WriteIniString("Inventory", "InfoPointSize", infoPointSize, IniFile);
        for (const QString& layout : CatalogNames()) {
            for (RecordingSurface s : {RecordingSurface(PaperLetter, 612, 792, 18), RecordingSurface(PaperA4, 595, 842, 18)}) {
                PrintCatalogs(s, layout, TestPrintFonts(200), {}, "Title", {});
                QSet<QString> faces;  // each font's sample is in its own face
                for (const PrintOp& op : s.ops)
                    if (op.page == 1 && op.fontName.startsWith("Face "))
                        faces << op.fontName;
                QVERIFY2(s.ops.last().page > 1 && FirstPageFonts(layout.toLower()) >= size_t(faces.size()), qPrintable(layout));
            }
        }
    }

    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void pageBreaks_data()
    {
        QTest::addColumn<QString>("resetEvery");  // "" leaves the default
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("endings");     // N NewPage, E EndDoc, in order
        QTest::newRow("default 3, seven pages") << "" << 7 << "NNENNEE";
        QTest::newRow("read from the settings") << "10" << 4 << "NNNE";
        QTest::newRow("zero resets every page") << "0" << 2 << "EE";
    }
    void pageBreaks()
    {
        QFETCH(QString, resetEvery);
        QFETCH(int, pages);
        QFETCH(QString, endings);
        if (!resetEvery.isEmpty())
            WriteIniString("Inventory", "EndDoc", resetEvery, IniFile);
        RecordingSurface printer(PaperA4, 595, 842, 9.3);
        PrintJob job(printer, {});
        job.Start();
        // The printable area's offset in whole points (the header's places are in the approved pages).
        QCOMPARE(QPointF(job.Left, job.Top), QPointF(9, 9));
        for (int page = 2; page <= pages; ++page) {
            printer.SetTextAlign(AlignBaseCentre);
            printer.SetScaleMode(ScaleTwips);
            job.BreakPage();
            // The next page opens in points, baseline-left.
            QCOMPARE(printer.ScaleMode(), int(ScalePoints));
            QCOMPARE(printer.SetTextAlign(AlignBaseLeft), int(AlignBaseLeft));
            QCOMPARE(job.Page, page);
        }
        job.Finish();
        QString seen;
        for (const PrintOp& op : printer.ops)
            if (op.kind == PrintOp::NewPage || op.kind == PrintOp::EndDoc)
                seen += op.kind == PrintOp::NewPage ? 'N' : 'E';
        QCOMPARE(seen, endings);
    }

    void catalogSampleText()
    {
        WriteIniString("Quotes", "Quote1", "First quote", IniFile);
        WriteIniString("Quotes", "Quote10", "Tenth quote", IniFile);
        WriteIniString("Quotes", "Quote11", "Not on the list", IniFile);
        // The sample sheets' own index must not be read.
        WriteIniString("SpecSheets", "QuoteIndex", "4", IniFile);
        const QString letters = "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";
        QCOMPARE(CatalogSampleText(), letters);  // nothing set
        struct Row { const char* quoteIndex; const char* upperCase; QString expected; };
        const Row rows[] = {{"0", "1", letters.toUpper()},
                            {"1", "0", "1234567890"},
                            {"2", "0", "~!@#$%^&*()_+|`-=\\{}[]:;\"'<>?,./"},
                            {"3", "0", "First quote"},
                            {"12", "1", "TENTH QUOTE"},
                            {"13", "1", ""},
                            {"3", "2", "First quote"}};  // only 1 upper-cases
        for (const Row& r : rows) {
            WriteIniString("Inventory", "QuoteIndex", r.quoteIndex, IniFile);
            WriteIniString("SpecSheets", "UpperCase", r.upperCase, IniFile);
            QCOMPARE(CatalogSampleText(), r.expected);
        }
    }

    // Lines end where the user ended them, else at the last blank that fits (7 characters here).
    void takeLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("user's break kept") << "ab\ncd" << QStringList{"ab", "cd"};
        QTest::newRow("blank line kept") << "ab\n\ncd" << QStringList{"ab", "", "cd"};
        QTest::newRow("exactly as wide: whole") << "aaa bbb" << QStringList{"aaa bbb"};
        QTest::newRow("broken at a blank, then the break") << "aaa bbb ccc\nd" << QStringList{"aaa bbb", "ccc", "d"};
    }
    void takeLine()
    {
        QFETCH(QString, text);
        RecordingSurface printer;
        printer.SetScaleMode(ScalePoints);
        QStringList taken;
        for (QString rest; !text.isEmpty() && taken.size() < 9; text = rest)
            taken << TakeLine(printer, text, 35, &rest);
        QTEST(taken, "lines");
    }

    // Labels are set smaller down to a limit (10 to 8 here), then shortened after a whole word.
    void fitLabel_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("size");
        QTest::newRow("set smaller") << 65.0 << "Times New Roman" << 8.5;
        QTest::newRow("shortened after a word") << 50.0 << "Times New\u2026" << 8.0;
        QTest::newRow("within the first word") << 20.0 << "Time\u2026" << 8.0;
    }
    void fitLabel()
    {
        QFETCH(double, width);
        RecordingSurface printer;
        QTEST(FitLabel(printer, "Times New Roman", width, 10, 8), "shown");
        QTEST(printer.FontSize(), "size");
    }

    void setPrinterFont()
    {
        struct Row { QStringList refused; QString face, fallback, result, fontAfter; };
        const Row rows[] = {
            {{}, "  Nimbus Sans ", "Other", "Nimbus Sans", "Nimbus Sans"},
            {{"missing face"}, "Missing Face", " Alternate ", "Alternate", "Alternate"},
            {{"Missing Face", "ALTERNATE"}, "Missing Face", "Alternate", "Arial", "Courier"}};
        for (const Row& r : rows) {
            RecordingSurface printer;
            QVERIFY(printer.SetFontName("Courier"));
            printer.SetFontBold(true);
            printer.SetFontItalic(true);
            printer.refusedFonts = QSet<QString>(r.refused.begin(), r.refused.end());
            QCOMPARE(SetPrinterFont(r.face, r.fallback, printer), r.result);
            QCOMPARE(printer.FontName(), r.fontAfter);
            QVERIFY(!printer.FontBold() && !printer.FontItalic());
        }
    }

    // A catalog line shows a font's own glyphs: the sample, or the font's own characters.
    void sampleInOwnCharacters_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QList<uint>>("mapped");
        QTest::addColumn<QString>("printed");
        QTest::newRow("the sample when the font maps it") << "AaBb" << QList<uint>{'A', 'a', 'B', 'b'} << "AaBb";
        QTest::newRow("the sample when the map is unknown") << "AaBb" << QList<uint>{} << "AaBb";
        QTest::newRow("the sample when half of it is mapped") << "AaBb" << QList<uint>{'A', 'a'} << "AaBb";
        QTest::newRow("another script: own letters and figures first, no marks") << "AaBb"
            << QList<uint>{0x3B2, 0x301, ' ', '!', 0x3B1, '1'} << "1\u03B1\u03B2";
        QTest::newRow("cut to the sample's length") << "AaBb"
            << QList<uint>{0x5D0, 0x5D1, 0x5D2, 0x5D3, 0x5D4} << "\u05D0\u05D1\u05D2\u05D3";
        QTest::newRow("an icon font: its visible characters") << "AaBb"
            << QList<uint>{0xE001, 0xE002, 0x200B} << "\uE001\uE002";
        QTest::newRow("spaces count as the font's own") << "Aa  B" << QList<uint>{'A', 'a'} << "Aa  B";
    }
    void sampleInOwnCharacters()
    {
        QFETCH(QString, sample);
        QFETCH(QList<uint>, mapped);
        QFETCH(QString, printed);
        QCOMPARE(SampleInOwnCharacters(sample, QSet<uint>(mapped.begin(), mapped.end())), printed);
        // In a catalog: the file's map is read only for a selected font that lacks most of the sample.
        RecordingSurface printer;
        PrintFontEntry font;
        font.FontPath = env_->root() + "/font.ttf";
        env_->fake.characterMaps->maps[font.FontPath] = QSet<uint>(mapped.begin(), mapped.end());
        for (uint code : sample.toUcs4())  // the printer lacks what the map lacks, a space too
            if (!mapped.contains(code) && !mapped.isEmpty())
                printer.missingGlyphs.insert(code);
        QCOMPARE(EntrySample(printer, font, sample), printed);
        QCOMPARE(env_->fake.characterMaps->reads, printed == sample ? 0 : 1);
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestPageFrame)
#include "test_pageframe.moc"