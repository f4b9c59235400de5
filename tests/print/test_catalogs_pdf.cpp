// Every catalog layout through the PDF writer, on letter and A4: the title, the
// first caption and the footers are where the layout puts them on the sheet
// (read back with pdftotext -bbox), and no word leaves the paper.
#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "startup/startup.h"
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
    p.waitForFinished(60000);
    static const QRegularExpression tag(
        "<(page|word) \\w+=\"([\\d.]+)\" \\w+=\"([\\d.]+)\"(?: \\w+=\"([\\d.]+)\" \\w+=\"([\\d.]+)\">([^<]*))?");
    for (const QRegularExpressionMatch& m : tag.globalMatch(QString::fromUtf8(p.readAllStandardOutput()))) {
        const auto v = [&m](int i) { return m.captured(i).toDouble(); };
        if (m.captured(1) == "page")
            pdf.pages << QSizeF(v(2), v(3));
        else
            pdf.words << Word{int(pdf.pages.size()), m.captured(6), v(2), v(3), v(4), v(5)};
    }
    return pdf;
}

enum Edge { Left, Right, Centre };

// Empty when a word on the page has its left edge, right edge or centre at x
// and its baseline at y; else what was found instead.
QString Misplaced(const Pdf& pdf, int page, const QString& text, Edge edge, double x, double y)
{
    QString seen;
    for (const Word& w : pdf.words) {
        if (w.page != page || w.text != text)
            continue;
        const double wx = edge == Left ? w.xMin : edge == Right ? w.xMax : (w.xMin + w.xMax) / 2;
        if (qAbs(wx - x) <= Tolerance && qAbs(w.Baseline() - y) <= Tolerance)
            return QString();
        seen += QString(" (%1..%2, base %3)").arg(w.xMin).arg(w.xMax).arg(w.Baseline());
    }
    return QString("%1 on page %2 expected at %3, %4; found%5").arg(text).arg(page).arg(x).arg(y).arg(seen);
}

#define CHECK_PLACED(pdf, page, text, edge, x, y) \
    do { const QString why = Misplaced(pdf, page, text, edge, x, y); QVERIFY2(why.isEmpty(), qPrintable(why)); } while (0)

// Sheet positions (baselines), letter then A4. Title: the first title word's
// left edge, or the centre of the whole title line when centred. Caption: the
// first word of the first font's caption, name line or bar. Footers: left edge,
// right edge and centred page label; x < 0 leaves a check out.
struct Place {
    double x[2], y[2];
};
struct Layout {
    const char* name;
    bool titleCentred;
    Place title, caption, leftFooter, rightFooter, pageLabel;
    const char* label;  // %1 is the page
    int perPage;
};
const Layout Layouts[] = {
    // Under CatalogHeader the first caption is at S + 82 + C + 4; CatalogFooter
    // is one inch above the bottom, from 54 to 558, the page number on 306.
    {"Basic Catalog I", false, {{54, 54}, {72, 72}}, {{54, 54}, {120, 120}},
     {{54, 54}, {732, 782}}, {{558, 558}, {732, 782}}, {{306, 306}, {732, 782}}, "-%1-", 100},
    {"Basic Catalog II", true, {{306, 306}, {84, 84}}, {{54, 54}, {153.2, 153.2}},
     {{54, 54}, {732, 782}}, {{558, 558}, {732, 782}}, {{306, 306}, {732, 782}}, "-%1-", 100},
    {"Two Column I", false, {{54, 54}, {72, 72}}, {{54, 54}, {120, 120}},
     {{54, 54}, {732, 782}}, {{558, 558}, {732, 782}}, {{306, 306}, {732, 782}}, "-%1-", 100},
    // Its own frame: the title at the first column, the footers at 787.
    {"Two Column II", false, {{54, 36}, {52, 52}}, {{-1, -1}, {0, 0}},
     {{36, 36}, {787, 787}}, {{-1, -1}, {0, 0}}, {{-1, -1}, {0, 0}}, "", 100},
    {"Three Column Catalog", false, {{54, 54}, {72, 72}}, {{54, 54}, {120, 120}},
     {{54, 54}, {732, 782}}, {{558, 558}, {732, 782}}, {{306, 306}, {732, 782}}, "-%1-", 100},
    // Heights on the printable area, which starts a quarter inch down.
    {"Three Up Catalog", false, {{54, 54}, {58, 58}}, {{54, 54}, {78, 78}},
     {{54, 54}, {752, 776}}, {{558, 558}, {752, 776}}, {{306, 306}, {752, 776}}, "%1", 3},
    // The display name on the first cell's bar.
    {"Six Up Catalog", false, {{54, 54}, {50, 50}}, {{56, 56}, {68, 68}},
     {{54, 54}, {750, 804}}, {{558, 540}, {750, 804}}, {{306, 297}, {750, 804}}, "%1", 6},
    // The alternate name on the first bar.
    {"Bar Divided Catalog", false, {{54, 54}, {72, 72}}, {{56, 56}, {89, 89}},
     {{54, 54}, {732, 782}}, {{558, 558}, {732, 782}}, {{306, 306}, {732, 782}}, "-%1-", 100},
};

// The centre of the words on the page whose baseline is at y.
double LineCentre(const Pdf& pdf, int page, double y)
{
    double left = 1e9, right = -1e9;
    for (const Word& w : pdf.words)
        if (w.page == page && qAbs(w.Baseline() - y) <= Tolerance) {
            left = qMin(left, w.xMin);
            right = qMax(right, w.xMax);
        }
    return (left + right) / 2;
}

} // namespace

class CatalogsPdfTest : public QObject {
    Q_OBJECT
    PrintFontList fonts_;

private slots:
    void initTestCase()
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

    void layout_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("a4");
        for (int i = 0; i < int(std::size(Layouts)); ++i) {
            QTest::addRow("%s letter", Layouts[i].name) << i << false;
            QTest::addRow("%s A4", Layouts[i].name) << i << true;
        }
    }
    void layout();
};

void CatalogsPdfTest::layout()
{
    QFETCH(int, row);
    QFETCH(bool, a4);
    const Layout& l = Layouts[row];
    TestEnv env;
    env.UseDesktopPlatform();
    WriteIniString("Inventory", "FooterLeft", "GwLeftFoot", IniFile);
    WriteIniString("Inventory", "FooterRight", "GwRightFoot", IniFile);
    const QString file = env.root() + "/catalog.pdf";
    {
        auto surface = QtPrinterSurface::ForPdf(file, a4 ? PaperA4 : PaperLetter);
        QVERIFY(surface && surface->IsValid());
        QVERIFY(PrintCatalogs(*surface, l.name, fonts_, {}, "Glyphwick Test Catalog", "GwFolder"));
        surface->Close();
    }
    const Pdf pdf = ReadWords(file);
    const int n = int(fonts_.size());
    QCOMPARE(pdf.pages.size(), (n + l.perPage - 1) / l.perPage);
    const QSizeF paper = a4 ? QSizeF(595, 842) : QSizeF(612, 792);
    for (const QSizeF& page : pdf.pages)
        QVERIFY(qAbs(page.width() - paper.width()) < 1 && qAbs(page.height() - paper.height()) < 1);
    for (const Word& w : pdf.words)
        QVERIFY2(w.xMin >= 0 && w.yMin >= 0 && w.xMax <= paper.width() && w.yMax <= paper.height(),
                 qPrintable(w.text + " leaves the paper"));

    const int k = a4 ? 1 : 0;
    if (l.titleCentred)
        QVERIFY(qAbs(LineCentre(pdf, 1, l.title.y[k]) - l.title.x[k]) <= Tolerance);
    else
        CHECK_PLACED(pdf, 1, "Glyphwick", Left, l.title.x[k], l.title.y[k]);
    const PrintFontEntry& first = fonts_[0];
    const QString firstWord = (QString(l.name) == "Bar Divided Catalog" ? first.AlternateName
                                                                       : first.DisplayName).section(' ', 0, 0);
    if (l.caption.x[k] >= 0)
        CHECK_PLACED(pdf, 1, firstWord, Left, l.caption.x[k], l.caption.y[k]);
    for (int page = 1; page <= int(pdf.pages.size()); ++page) {
        CHECK_PLACED(pdf, page, "GwLeftFoot", Left, l.leftFooter.x[k], l.leftFooter.y[k]);
        if (l.rightFooter.x[k] >= 0)
            CHECK_PLACED(pdf, page, "GwRightFoot", Right, l.rightFooter.x[k], l.rightFooter.y[k]);
        if (l.pageLabel.x[k] >= 0)
            CHECK_PLACED(pdf, page, QString(l.label).arg(page), Centre, l.pageLabel.x[k], l.pageLabel.y[k]);
    }
}

QTEST_MAIN(CatalogsPdfTest)
#include "test_catalogs_pdf.moc"