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

// The first word with this text, its box in points from the sheet's top-left corner.
Word FindWord(const QString& pdf, const QString& text)
{
    static const QRegularExpression wordTag(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    int page = 0;
    for (const QString& line : Run("pdftotext", {"-bbox", pdf, "-"}).split('\n')) {
        page += line.contains("<page ");
        const QRegularExpressionMatch m = wordTag.match(line);
        if (m.hasMatch() && m.captured(5) == text)
            return {text, page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                    m.captured(3).toDouble(), m.captured(4).toDouble()};
    }
    return {};
}

QString Info(const QString& pdf, const QString& field)
{
    const QRegularExpression line("^" + field + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    return line.match(Run("pdfinfo", {pdf})).captured(1).trimmed();
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
        QTest::addColumn<QString>("pageSize");
        QTest::newRow("letter") << int(PaperLetter) << "612 x 792 pts (letter)";
        QTest::newRow("A4") << int(PaperA4) << "595 x 842 pts (A4)";
    }
    void pdfSheet()
    {
        QFETCH(int, paper);
        QFETCH(QString, pageSize);
        const QString pdf = env_->root() + "/sheet.pdf";
        auto printer = QtPrinterSurface::ForPdf(pdf, paper);
        QVERIFY(printer->IsValid());
        PrintJob job(*printer, {});
        job.Start();
        QVERIFY(printer->SetFontName("Nimbus Sans"));
        printer->SetFontSize(12);
        const double footY = printer->ScaleHeight() - 72 + job.Top;  // one inch above the bottom
        printer->SetCurrent(job.X(100), footY);
        printer->Print("Leftword");
        // A run's documents all go into the one file, each after the last.
        printer->EndDoc();
        printer->EndDoc();  // nothing open: no empty page
        printer->Print("Second");
        job.Finish();
        printer->Close();

        QCOMPARE(Info(pdf, "Pages"), QString("2"));
        QCOMPARE(Info(pdf, "Page size"), pageSize);
        const Word left = FindWord(pdf, "Leftword");
        QVERIFY2(left.page == 1 && qAbs(left.xMin - 100) <= 1, qPrintable(QString::number(left.xMin)));
        // The baseline lies inside the box, nearer its bottom (descenders only below).
        const double baseline = pageSize.section(' ', 2, 2).toDouble() - 72;
        QVERIFY2(left.yMin < baseline - 6 && left.yMax > baseline && left.yMax < baseline + 5,
                 qPrintable(QString("%1 %2").arg(left.yMin).arg(left.yMax)));
        QCOMPARE(FindWord(pdf, "Second").page, 2);
    }

    void fontNames()
    {
        auto printer = QtPrinterSurface::ForPdf(env_->root() + "/f.pdf", PaperLetter);
        QVERIFY(printer->SetFontName("nimbus sans"));
        QCOMPARE(printer->FontName(), QString("nimbus sans"));
        for (const QString& refused : {QString("Glyphwick No Such Face"), QString()}) {
            QVERIFY(!printer->SetFontName(refused));
            QCOMPARE(printer->FontName(), QString("nimbus sans"));
        }
    }

    void glyphs()
    {
        struct Row { const char* font; int code; bool has; };
        const Row rows[] = {{"Nimbus Sans", 240, true},          // eth
                            {"Liberation Sans", 128, true},      // the euro in code page 1252
                            {"Nimbus Sans", 129, false},         // undefined there
                            {"Nimbus Sans", 256, false},         // out of range
                            {"Standard Symbols PS", 65, true},   // the symbol font's own map
                            {"Standard Symbols PS", 240, false}};
        auto printer = QtPrinterSurface::ForPdf(env_->root() + "/g.pdf", PaperLetter);
        for (const Row& r : rows) {
            QVERIFY(printer->SetFontName(r.font));
            QVERIFY2(printer->HasGlyph(r.code) == r.has, qPrintable(QString("%1 %2").arg(r.font).arg(r.code)));
        }
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestQtPrinter)
#include "test_qtprinter.moc"