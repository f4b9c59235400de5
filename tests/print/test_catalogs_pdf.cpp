// Every catalog layout through the PDF writer, on letter and A4: the title,
// the font captions and the footers are where the layout puts them on the
// sheet (read back with pdftotext -bbox), and no word leaves the paper.
#include <QtTest>
#include <QXmlStreamReader>

#include "core/globals.h"
#include "core/settings.h"
#include "core/startup/startup.h"
#include "print/catalogs.h"
#include "print/printlist.h"
#include "print/qtprinter.h"
#include "testenv.h"

using namespace gw;

namespace {

constexpr double Tolerance = 2;
// Arial's (Liberation Sans's) ascent and descent per point of size, as poppler
// sizes a word box; they give the baseline back from the box.
constexpr double Ascent = 0.905, Descent = 0.212;

struct Word {
    int page = 0;
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double Baseline() const { return yMax - (yMax - yMin) * Descent / (Ascent + Descent); }
};

struct Pdf {
    QVector<Word> words;
    QVector<QSizeF> pages;
};

Pdf ReadWords(const QString& file)
{
    Pdf pdf;
    QProcess p;
    p.start("pdftotext", {"-bbox", file, "-"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return pdf;
    QXmlStreamReader xml(p.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("page")) {
            pdf.pages << QSizeF(a.value("width").toDouble(), a.value("height").toDouble());
        } else if (xml.name() == QLatin1String("word")) {
            Word w;
            w.page = int(pdf.pages.size());
            w.xMin = a.value("xMin").toDouble();
            w.yMin = a.value("yMin").toDouble();
            w.xMax = a.value("xMax").toDouble();
            w.yMax = a.value("yMax").toDouble();
            w.text = xml.readElementText();
            pdf.words << w;
        }
    }
    return pdf;
}

enum class Edge { Left, Right, Centre };

// A word on the page with its left edge, right edge or centre at x and its
// baseline at y.
bool Placed(const Pdf& pdf, int page, const QString& text, Edge edge, double x, double y)
{
    for (const Word& w : pdf.words) {
        if (w.page != page || w.text != text)
            continue;
        const double wx = edge == Edge::Left ? w.xMin : edge == Edge::Right ? w.xMax : (w.xMin + w.xMax) / 2;
        if (qAbs(wx - x) <= Tolerance && qAbs(w.Baseline() - y) <= Tolerance)
            return true;
    }
    return false;
}

QString Near(const Pdf& pdf, int page, const QString& text)
{
    QStringList seen;
    for (const Word& w : pdf.words)
        if (w.page == page && w.text == text)
            seen << QString("(%1..%2, base %3)").arg(w.xMin, 0, 'f', 1).arg(w.xMax, 0, 'f', 1).arg(w.Baseline(), 0, 'f', 1);
    return text + " on page " + QString::number(page) + ": " + (seen.isEmpty() ? "none" : seen.join(' '));
}

#define CHECK_PLACED(pdf, page, text, edge, x, y) \
    QVERIFY2(Placed(pdf, page, text, edge, x, y), \
             qPrintable(QString("expected at %1, %2; ").arg(x).arg(y) + Near(pdf, page, text)))

struct Line {
    QString text;
    double centre = 0;
};

// The words of a page on one baseline, left to right.
Line LineAt(const Pdf& pdf, int page, double y)
{
    QVector<Word> words;
    for (const Word& w : pdf.words)
        if (w.page == page && qAbs(w.Baseline() - y) <= Tolerance)
            words << w;
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
    Line line;
    QStringList texts;
    for (const Word& w : words)
        texts << w.text;
    line.text = texts.join(' ');
    if (!words.isEmpty())
        line.centre = (words.first().xMin + words.last().xMax) / 2;
    return line;
}

QString FirstWord(const QString& text) { return text.section(' ', 0, 0); }

// Where one font's caption (or name line) starts: page, x and baseline.
struct Spot {
    int page;
    double x, y;
};

} // namespace

class CatalogsPdfTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void layout_data();
    void layout();

private:
    PrintFontList fonts_;
};

void CatalogsPdfTest::initTestCase()
{
    TestEnv env;
    env.UseDesktopPlatform();
    StartupFontsKey();
    ReadRegistrations();
    const QStringList wanted = {"DejaVu Sans", "DejaVu Sans Mono Bold", "Liberation Sans",
                                "Liberation Sans Bold", "Liberation Serif Italic"};
    for (const PrintFontEntry& f : InstalledPrintFonts({"DejaVu Sans", "Liberation"}))
        if (wanted.contains(f.DisplayName))
            fonts_.push_back(f);
    if (fonts_.size() < 3)
        QSKIP("fewer than three of the Liberation and DejaVu test fonts are installed");
}

void CatalogsPdfTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("a4");
    for (const QString& name : CatalogNames()) {
        QTest::newRow(qPrintable(name + " letter")) << name << false;
        QTest::newRow(qPrintable(name + " A4")) << name << true;
    }
}

void CatalogsPdfTest::layout()
{
    QFETCH(QString, name);
    QFETCH(bool, a4);
    TestEnv env;
    env.UseDesktopPlatform();
    WriteIniString("Inventory", "FooterLeft", "GwLeftFoot", IniFile);
    WriteIniString("Inventory", "FooterRight", "GwRightFoot", IniFile);
    const QString file = env.root() + "/catalog.pdf";
    {
        auto surface = QtPrinterSurface::ForPdf(file, a4 ? PaperA4 : PaperLetter);
        QVERIFY(surface && surface->IsValid());
        QVERIFY(PrintCatalogs(*surface, name, fonts_, {}, "Glyphwick Test Catalog", "GwFolder"));
        surface->Close();
    }
    const Pdf pdf = ReadWords(file);
    QVERIFY(!pdf.pages.isEmpty());
    const double W = a4 ? 595 : 612, H = a4 ? 842 : 792;
    for (const QSizeF& page : pdf.pages) {
        QVERIFY(qAbs(page.width() - W) < 1);
        QVERIFY(qAbs(page.height() - H) < 1);
    }
    for (const Word& w : pdf.words)
        QVERIFY2(w.xMin >= 0 && w.yMin >= 0 && w.xMax <= W && w.yMax <= H,
                 qPrintable(w.text + " leaves the paper"));

    // The PDF writer's unprintable margin: a quarter inch.
    const double m = 18;
    const int n = int(fonts_.size());
    const QString upper = name.toUpper();
    const bool standardHeader = upper == "BASIC CATALOG I" || upper == "TWO COLUMN I"
                                || upper == "THREE COLUMN CATALOG";
    const bool standardFooter = standardHeader || upper == "BASIC CATALOG II" || upper == "BAR DIVIDED CATALOG";

    // Title.
    if (standardHeader || upper == "BAR DIVIDED CATALOG") {
        CHECK_PLACED(pdf, 1, "Glyphwick", Edge::Left, 54, 72);
    } else if (upper == "BASIC CATALOG II") {
        // The framed block: three centred lines.
        QCOMPARE(LineAt(pdf, 1, 69).text, QString("Font Catalog"));
        QCOMPARE(LineAt(pdf, 1, 84).text, QString("Glyphwick Test Catalog"));
        QCOMPARE(LineAt(pdf, 1, 99).text, QString("GwFolder"));
        for (double y : {69, 84, 99})
            QVERIFY2(qAbs(LineAt(pdf, 1, y).centre - 306) <= Tolerance, qPrintable(QString::number(y)));
    } else if (upper == "TWO COLUMN II") {
        CHECK_PLACED(pdf, 1, "Glyphwick", Edge::Left, a4 ? 36 : 54, 52);
    } else if (upper == "THREE UP CATALOG") {
        CHECK_PLACED(pdf, 1, "Glyphwick", Edge::Left, 54, 40 + m); // a height on the printable area
    } else if (upper == "SIX UP CATALOG") {
        CHECK_PLACED(pdf, 1, "Glyphwick", Edge::Left, 54, 50);
    }

    // Footers, on every page.
    const int pages = int(pdf.pages.size());
    for (int page = 1; page <= pages; ++page) {
        if (standardFooter) {
            const double y = H - 72 + 12;
            CHECK_PLACED(pdf, page, "GwLeftFoot", Edge::Left, 54, y);
            CHECK_PLACED(pdf, page, "GwRightFoot", Edge::Right, 540 + m, y);
            CHECK_PLACED(pdf, page, "-" + QString::number(page) + "-", Edge::Centre, 306, y);
        } else if (upper == "TWO COLUMN II") {
            CHECK_PLACED(pdf, page, "GwLeftFoot", Edge::Left, 36, 787);
            CHECK_PLACED(pdf, page, "GwRightFoot", Edge::Left, a4 ? 333 : 357, 787);
        } else if (upper == "THREE UP CATALOG") {
            const double y = (a4 ? 758 : 734) + m;
            CHECK_PLACED(pdf, page, "GwLeftFoot", Edge::Left, 54, y);
            CHECK_PLACED(pdf, page, "GwRightFoot", Edge::Right, 558, y);
            CHECK_PLACED(pdf, page, QString::number(page), Edge::Centre, 306, y);
        } else if (upper == "SIX UP CATALOG") {
            const double y = a4 ? 804 : 750;
            CHECK_PLACED(pdf, page, "GwLeftFoot", Edge::Left, 54, y);
            CHECK_PLACED(pdf, page, "GwRightFoot", Edge::Right, a4 ? 540 : 558, y);
            CHECK_PLACED(pdf, page, QString::number(page), Edge::Centre, a4 ? 297 : 306, y);
        }
    }

    // Where each font's caption (layouts 0 to 4) or name line (the others) starts.
    QVector<Spot> spots;
    const double S = 24, C = 10;
    // Where its columns start is the layout's own choice; the first caption
    // must lie below the title, and the captions follow at the layout's pitch.
    double twoColumnIIFirst = 0;
    if (upper == "TWO COLUMN II") {
        const QString first = FirstWord(fonts_[0].DisplayName);
        twoColumnIIFirst = H;
        for (const Word& w : pdf.words)
            if (w.page == 1 && w.text == first && qAbs(w.xMin - (a4 ? 36 : 54)) <= Tolerance)
                twoColumnIIFirst = qMin(twoColumnIIFirst, w.Baseline());
        QVERIFY2(twoColumnIIFirst >= 52 + S && twoColumnIIFirst < 200, qPrintable(Near(pdf, 1, first)));
    }
    for (int i = 0; i < n; ++i) {
        if (standardHeader)
            spots << Spot{1, 54, S + 82 + C + 4 + i * (C + 4 + S * 0.8)};
        else if (upper == "BASIC CATALOG II")
            spots << Spot{1, 54, 120 + S * 0.8 + C + 4 + i * (S * 0.8 + C + 4)};
        else if (upper == "TWO COLUMN II")
            spots << Spot{1, a4 ? 36.0 : 54.0, twoColumnIIFirst + i * (S + 8 + C + 4)};
        else if (upper == "THREE UP CATALOG")
            spots << Spot{i / 3 + 1, 54, (a4 ? QVector<double>{60, 300, 540} : QVector<double>{60, 288, 516})[i % 3] + m};
        else if (upper == "SIX UP CATALOG")
            spots << Spot{i / 6 + 1, (a4 ? QVector<double>{54, 219, 384} : QVector<double>{54, 228, 402})[i % 3] + 2,
                          (i % 6 < 3 ? 54.0 : (a4 ? 423.0 : 396.0)) + 14};
        else if (upper == "BAR DIVIDED CATALOG")
            spots << Spot{1, 56, 78 + 11 + i * (2 * S + 26)};
    }
    QCOMPARE(int(spots.size()), n);
    for (int i = 0; i < n; ++i) {
        const QString first = FirstWord(upper == "BAR DIVIDED CATALOG" ? fonts_[size_t(i)].AlternateName
                                                                        : fonts_[size_t(i)].DisplayName);
        CHECK_PLACED(pdf, spots[i].page, first, Edge::Left, spots[i].x, spots[i].y);
    }
    if (upper == "THREE UP CATALOG")
        QCOMPARE(pages, (n + 2) / 3);
    else
        QCOMPARE(pages, 1);
}

QTEST_MAIN(CatalogsPdfTest)
#include "test_catalogs_pdf.moc"
