#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include "print/pageframe.h"
#include "print/qtprinter.h"
#include "testenv.h"

using namespace gw;

namespace {

struct Word {
    QString text;
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every word of the file with its box in points from the sheet's top-left corner.
QList<Word> Words(const QString& pdf)
{
    const QString html = Run("pdftotext", {"-bbox", pdf, "-"});
    QList<Word> words;
    int page = 0;
    static const QRegularExpression pageTag("<page ");
    static const QRegularExpression wordTag(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    for (const QString& line : html.split('\n')) {
        if (line.contains(pageTag))
            ++page;
        const QRegularExpressionMatch m = wordTag.match(line);
        if (m.hasMatch())
            words.append({m.captured(5), page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                          m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

Word FindWord(const QList<Word>& words, const QString& text)
{
    for (const Word& word : words) {
        if (word.text == text)
            return word;
    }
    return {};
}

QString Info(const QString& pdf, const QString& field)
{
    const QString info = Run("pdfinfo", {pdf});
    const QRegularExpression line("^" + field + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}

} // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()
            || QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("needs pdftotext and pdfinfo (poppler-utils)");
    }
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void pdfSheet_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<int>("heightTwips");
        QTest::addColumn<QString>("pageSize");
        QTest::newRow("letter") << int(PaperLetter) << 12240 << 15840 << "612 x 792 pts (letter)";
        QTest::newRow("A4") << int(PaperA4) << 11900 << 16840 << "595 x 842 pts (A4)";
    }
    void pdfSheet()
    {
        QFETCH(int, paper);
        QFETCH(int, widthTwips);
        QFETCH(int, heightTwips);
        QFETCH(QString, pageSize);
        const QString pdf = env_->root() + "/sheet.pdf";
        auto printer = QtPrinterSurface::ForPdf(pdf, paper);
        QVERIFY(printer->IsValid());
        QCOMPARE(printer->PaperSize(), paper);
        QCOMPARE(printer->Width(), widthTwips);
        QCOMPARE(printer->Height(), heightTwips);

        PrintJob job(*printer, {});
        job.Start();
        QCOMPARE(job.Left, 18.0);  // a quarter inch a side
        QCOMPARE(job.Top, 18.0);
        QCOMPARE(printer->ScaleWidth(), widthTwips / 20.0 - 36);

        QVERIFY(printer->SetFontName("Nimbus Sans"));
        printer->SetFontSize(12);
        const double footY = printer->ScaleHeight() - 72 + job.Top;  // one inch above the bottom
        printer->SetCurrent(job.X(100), footY);
        printer->Print("Leftword");
        printer->SetTextAlign(AlignBaseRight);
        printer->SetCurrent(job.X(400), job.Y(200));
        printer->Print("Rightword");
        printer->SetTextAlign(AlignBaseCentre);
        printer->SetCurrent(job.X(306), job.Y(300));
        printer->Print("Centreword");
        printer->SetTextAlign(AlignBaseLeft);
        printer->NewPage();
        printer->Print("Second");
        job.Finish();
        printer->Close();

        QCOMPARE(Info(pdf, "Pages"), QString("2"));
        QCOMPARE(Info(pdf, "Page size"), pageSize);

        const QList<Word> words = Words(pdf);
        const Word left = FindWord(words, "Leftword");
        QCOMPARE(left.page, 1);
        QVERIFY2(qAbs(left.xMin - 100) <= 1, qPrintable(QString::number(left.xMin)));
        // The baseline lies inside the box, nearer its bottom (descenders only below).
        const double baseline = heightTwips / 20.0 - 72;
        QVERIFY2(left.yMin < baseline - 6 && left.yMax > baseline && left.yMax < baseline + 5,
                 qPrintable(QString("%1 %2").arg(left.yMin).arg(left.yMax)));
        const Word right = FindWord(words, "Rightword");
        QVERIFY2(qAbs(right.xMax - 400) <= 1, qPrintable(QString::number(right.xMax)));
        const Word centre = FindWord(words, "Centreword");
        QVERIFY2(qAbs((centre.xMin + centre.xMax) / 2 - 306) <= 1,
                 qPrintable(QString::number(centre.xMin)));
        QCOMPARE(FindWord(words, "Second").page, 2);
    }

    void measuredWidthIsDrawnWidth_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::newRow("regular") << false;
        QTest::newRow("bold") << true;
    }
    void measuredWidthIsDrawnWidth()
    {
        QFETCH(bool, bold);
        const QString pdf = env_->root() + "/width.pdf";
        auto printer = QtPrinterSurface::ForPdf(pdf, PaperLetter);
        printer->SetScaleMode(ScalePoints);
        QVERIFY(printer->SetFontName("Liberation Serif"));
        printer->SetFontSize(20);
        printer->SetFontBold(bold);
        printer->SetCurrent(50, 100);
        printer->Print("Hamburgefonstiv");
        const double end = printer->CurrentX();
        printer->SetScaleMode(ScaleTwips);
        const double twips = printer->TextWidth("Hamburgefonstiv");
        printer->Close();
        QCOMPARE(twips, (end - 50) * 20);
        const Word word = FindWord(Words(pdf), "Hamburgefonstiv");
        QVERIFY2(qAbs(word.xMin - 68) <= 1 && qAbs(word.xMax - (end + 18)) <= 1,
                 qPrintable(QString("%1 %2 %3").arg(word.xMin).arg(word.xMax).arg(end)));
    }

    // All documents of a run go into one file, each after the last.
    void endDocKeepsOneFile()
    {
        const QString pdf = env_->root() + "/run.pdf";
        auto printer = QtPrinterSurface::ForPdf(pdf, PaperA4);
        printer->SetScaleMode(ScalePoints);
        printer->SetCurrent(100, 100);
        printer->Print("");
        printer->Print("First");
        printer->EndDoc();
        printer->EndDoc();  // nothing open: no empty page
        printer->SetCurrent(100, 100);
        printer->Print("Second");
        printer->NewPage();
        printer->Print("Third");
        printer->EndDoc();
        printer->SetCurrent(100, 100);
        printer->Print("Fourth");
        printer->EndDoc();
        printer->Close();
        QCOMPARE(Info(pdf, "Pages"), QString("4"));
        const QList<Word> words = Words(pdf);
        QCOMPARE(FindWord(words, "First").page, 1);
        QCOMPARE(FindWord(words, "Second").page, 2);
        QCOMPARE(FindWord(words, "Third").page, 3);
        QCOMPARE(FindWord(words, "Fourth").page, 4);
    }

    void fontNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("installed family, any case") << "nimbus sans" << true;
        QTest::newRow("a name the system maps to a family") << "Arial" << true;
        QTest::newRow("unknown") << "Glyphwick No Such Face" << false;
        QTest::newRow("empty") << "" << false;
    }
    void fontNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        auto printer = QtPrinterSurface::ForPdf(env_->root() + "/f.pdf", PaperLetter);
        QVERIFY(printer->SetFontName("Liberation Mono"));
        QCOMPARE(printer->SetFontName(name), accepted);
        QCOMPARE(printer->FontName(), accepted ? name : QString("Liberation Mono"));
    }

    void glyphs_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("has");
        QTest::newRow("A") << "Nimbus Sans" << 65 << true;
        QTest::newRow("eth") << "Nimbus Sans" << 240 << true;
        QTest::newRow("euro, code 128") << "Liberation Sans" << 128 << true;
        QTest::newRow("undefined code") << "Nimbus Sans" << 129 << false;
        QTest::newRow("symbol font has A") << "Standard Symbols PS" << 65 << true;
        QTest::newRow("symbol font lacks eth") << "Standard Symbols PS" << 240 << false;
        QTest::newRow("out of range") << "Nimbus Sans" << 256 << false;
    }
    void glyphs()
    {
        QFETCH(QString, font);
        QFETCH(int, code);
        QFETCH(bool, has);
        auto printer = QtPrinterSurface::ForPdf(env_->root() + "/g.pdf", PaperLetter);
        QVERIFY(printer->SetFontName(font));
        QCOMPARE(printer->HasGlyph(code), has);
    }

    void unusableTargets()
    {
        auto pdf = QtPrinterSurface::ForPdf(env_->root() + "/no/such/folder/x.pdf", PaperLetter);
        QVERIFY(!pdf->IsValid());
        // Every operation stays safe.
        pdf->Print("");
        pdf->Line(0, 0, 10, 10, LineBox, ColourBlack);
        pdf->NewPage();
        pdf->EndDoc();
        pdf->Close();
        QVERIFY(!QFileInfo::exists(env_->root() + "/no"));

        QVERIFY(!QtPrinterSurface::ForPrinter("glyphwick-no-such-printer")->IsValid());
    }

    void probingLeavesNoFile()
    {
        const QString path = env_->root() + "/unused.pdf";
        auto printer = QtPrinterSurface::ForPdf(path, PaperLetter);
        QVERIFY(printer->IsValid());
        QVERIFY(!QFileInfo::exists(path));
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestQtPrinter)
#include "test_qtprinter.moc"
