#include <QtTest>

#include <QFontDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocumentFragment>
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
struct Page {
    QSizeF size;
    QList<Word> words;
};

// Pages and word boxes of a PDF, as poppler reads them back.
QList<Page> ReadWords(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression tag(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Page> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.append(Page{QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
        } else if (!pages.isEmpty()) {
            const QPointF a(m.captured(3).toDouble(), m.captured(4).toDouble());
            const QPointF b(m.captured(5).toDouble(), m.captured(6).toDouble());
            pages.last().words.append(
                Word{QRectF(a, b), QTextDocumentFragment::fromHtml(m.captured(7)).toPlainText()});
        }
    }
    return pages;
}

// Where each sheet puts the display name: x of its left end (or centre), the
// baseline, and the size of its Arial bold.
struct Title {
    double x;
    bool centred;
    double baseline;
    double size;
};
const Title kTitles[8] = {
    {306, true, 78, 20},  // sheet 1
    {54, false, 70, 18}, {54, false, 70, 18}, {54, false, 70, 18}, {54, false, 70, 18},
    {54, false, 72, 18},  // ANSI chart
    {78, false, 45, 18},  // printable-area x 60 with an 18-point margin
    {54, false, 50, 18},
};

// The part of a word box its letters fill: poppler's box spans the font's
// whole ascent and descent, which set-solid lines may share.
QRectF Core(const QRectF& box)
{
    const double h = box.height();
    return box.adjusted(0.5, 0.3 * h, -0.5, -0.2 * h);
}

} // namespace

class TestSheetsPdf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        if (!QFontDatabase::families().contains("Liberation Serif"))
            QSKIP("Liberation Serif is not installed");
        env_.reset(new TestEnv);
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
        const QString pdf = env_->root() + QString("/sheets-%1.pdf").arg(paper);
        {
            auto surface = QtPrinterSurface::ForPdf(pdf, paper);
            QVERIFY(surface->IsValid());
            PrintFontEntry font;
            font.FileName = "LiberationSerif-Regular.ttf";
            font.SizeText = "400 KB";
            font.AlternateName = "Liberation Serif";
            font.DisplayName = "Liberation Serif";
            font.FaceName = "Liberation Serif";
            // A second font whose names crowd every name block.
            PrintFontEntry crowded = font;
            crowded.FileName = "LiberationSerif-BoldItalic-Condensed-Extended-Version-2.ttf";
            crowded.SizeText = "12,345 KB";
            crowded.DisplayName = "Liberation Serif Bold Italic Condensed Extended Display";
            std::array<bool, 8> all;
            all.fill(true);
            PrintSheets(*surface, {font, crowded}, Gauge(), all);
            surface->Close();
        }
        const QList<Page> pages = ReadWords(pdf);
        QCOMPARE(pages.size(), 16);
        const QRectF printable(18 - 0.5, 18 - 0.5, sheet.width() - 36 + 1, sheet.height() - 36 + 1);
        for (int n = 0; n < 16; ++n) {
            const Page& page = pages[n];
            QCOMPARE(page.size, sheet);
            QVERIFY(page.words.size() > 20);
            for (const Word& w : page.words) {
                const QString where = QString("sheet %1: \"%2\" at %3,%4 %5x%6")
                                          .arg(n % 8 + 1).arg(w.text).arg(w.box.x()).arg(w.box.y())
                                          .arg(w.box.width()).arg(w.box.height());
                QVERIFY2(printable.contains(w.box), qPrintable(where));
            }
            for (int i = 0; i < page.words.size(); ++i)
                for (int j = i + 1; j < page.words.size(); ++j) {
                    const Word& a = page.words[i];
                    const Word& b = page.words[j];
                    QVERIFY2(!Core(a.box).intersects(Core(b.box)),
                             qPrintable(QString("sheet %1: \"%2\" overlaps \"%3\"")
                                            .arg(n % 8 + 1).arg(a.text, b.text)));
                }
            if (n >= 8)
                continue;

            // The display name, two words on one baseline.
            const Title& t = kTitles[n];
            bool found = false;
            for (int i = 0; i + 1 < page.words.size() && !found; ++i) {
                const Word& a = page.words[i];
                const Word& b = page.words[i + 1];
                if (a.text != "Liberation" || b.text != "Serif" || qAbs(a.box.bottom() - b.box.bottom()) > 0.1)
                    continue;
                const double x = t.centred ? (a.box.left() + b.box.right()) / 2 : a.box.left();
                // The box runs from the ascent to the descent: a fifth of the size below the baseline.
                const double baseline = a.box.bottom() - 0.212 * t.size;
                found = qAbs(x - t.x) <= 2 && qAbs(baseline - t.baseline) <= 2
                        && qAbs(a.box.height() - 1.1 * t.size) <= 0.15 * t.size;
            }
            QVERIFY2(found, qPrintable(QString("display name of sheet %1").arg(n + 1)));
        }
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestSheetsPdf)
#include "test_sheets_pdf.moc"
