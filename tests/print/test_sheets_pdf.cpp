#include <QtTest>

#include <QFontDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <memory>

#include "core/globals.h"
#include "core/settings.h"
#include "print/qtprinter.h"
#include "print/sheets.h"
#include "testenv.h"

using namespace gw;

namespace {

struct Word {
    QRectF box;
    QString text;
};

// The words of each page of a PDF, as poppler reads them back.
QList<QList<Word>> ReadWords(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    p.waitForFinished(60000);
    QList<QList<Word>> pages;
    QXmlStreamReader xml(p.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("page"))
            pages.append(QList<Word>());
        else if (xml.name() == QLatin1String("word") && !pages.isEmpty())
            pages.last().append({QRectF(QPointF(a.value("xMin").toDouble(), a.value("yMin").toDouble()),
                                        QPointF(a.value("xMax").toDouble(), a.value("yMax").toDouble())),
                                 xml.readElementText()});
    }
    return pages;
}

// The part of a word box its letters fill: poppler's box spans the font's
// whole ascent and descent, which set-solid lines may share.
QRectF Core(const QRectF& b) { return b.adjusted(0.5, 0.3 * b.height(), -0.5, -0.2 * b.height()); }

} // namespace

class TestSheetsPdf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty() || !QFontDatabase::families().contains("Liberation Serif"))
            QSKIP("needs pdftotext (poppler-utils) and Liberation Serif");
        env_.reset(new TestEnv);
        // Texts long enough to run past every margin unless the sheets cut them.
        const QString quote = "Sphinx of black quartz, judge my vow; pack my box with five dozen "
                              "liquor jugs and a few more words to run past the margin";
        WriteIniString("SpecSheets", "Header", "Glyphwick specimen for the shop", IniFile);
        WriteIniString("SpecSheets", "QuoteIndex", "3", IniFile);
        for (int i = 1; i <= 8; ++i)
            WriteIniString("Quotes", QString("Quote%1").arg(i), quote, IniFile);
        QVERIFY(WriteFile(QFileInfo(IniFile).path() + "/papara1.txt",
                          (quote + " " + quote + "\n" + quote + ". ").repeated(6).toUtf8()));
    }
    void cleanupTestCase() { env_.reset(); }

    void everyWordOnTheSheet_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<QSizeF>("sheet");
        QTest::newRow("letter") << int(PaperLetter) << QSizeF(612, 792);
        QTest::newRow("A4") << int(PaperA4) << QSizeF(595, 842);
    }
    void everyWordOnTheSheet()
    {
        QFETCH(int, paper);
        QFETCH(QSizeF, sheet);
        const QString pdf = env_->root() + QString("/sheets-%1.pdf").arg(paper), name = "Liberation Serif";
        auto surface = QtPrinterSurface::ForPdf(pdf, paper);
        QVERIFY(surface->IsValid());
        // The second font's names crowd every name block.
        PrintSheets(*surface, {{"LiberationSerif-Regular.ttf", "400 KB", name, name, 1, name, {}},
                               {"LiberationSerif-BoldItalic-Condensed-Extended-Version-2.ttf", "12,345 KB", name,
                                name + " Bold Italic Condensed Extended Display", 1, name, {}}},
                    Gauge(), {true, true, true, true, true, true, true, true});
        surface->Close();
        const QList<QList<Word>> pages = ReadWords(pdf);
        QCOMPARE(pages.size(), 16);
        const QRectF printable(18 - 0.5, 18 - 0.5, sheet.width() - 36 + 1, sheet.height() - 36 + 1);
        for (int n = 0; n < 16; ++n) {
            const QList<Word>& words = pages[n];
            const QString sheetName = QString("sheet %1: ").arg(n % 8 + 1);
            QVERIFY(words.size() > 20);
            for (int i = 0; i < words.size(); ++i) {
                const QRectF& box = words[i].box;
                QVERIFY2(printable.contains(box), qPrintable(sheetName + words[i].text + " outside"));
                for (int j = i + 1; j < words.size(); ++j)
                    QVERIFY2(!Core(box).intersects(Core(words[j].box)),
                             qPrintable(sheetName + words[i].text + " overlaps " + words[j].text));
            }
        }
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestSheetsPdf)
#include "test_sheets_pdf.moc"
