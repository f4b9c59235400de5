// Every listed face printed as itself, embedded under its own PostScript name
// (a family of six styles from a folder and installed, Type 1 twins); a face
// that cannot be drawn is named, with a notice at its place.
#include <QtTest>
#include <QtEndian>

#include "print/catalogs.h"
#include "print/printcli.h"
#include "print/printrun.h"
#include "print/qtprinter.h"
#include "print/recording.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

// How often pdffonts lists a font of this PostScript name.
int Embedded(const QString& pdf, const QString& name)
{
    QProcess p;
    p.start("pdffonts", {pdf});
    p.waitForFinished(60000);
    return int(QString::fromUtf8(p.readAllStandardOutput()).count(QRegularExpression("\n(\\w{6}\\+)?" + name + " ")));
}

// A DejaVu file renamed as one style of "Glyphw Six" (PostScript name "GlyphwSix" + style), with a weight (0: its own).
bool WriteStyle(const QString& folder, const QString& source, const QString& style, int weight)
{
    const QString full = style == "Regular" ? "Glyphw Six" : "Glyphw Six " + style;
    QByteArray font = SfntBuilder::Renamed(ReadFile(SystemFile(source)), "Glyphw Six", full, style);
    for (int i = 0; weight > 0 && i < (font.size() > 12 ? qFromBigEndian<quint16>(font.constData() + 4) : 0); ++i)
        if (font.mid(12 + 16 * i, 4) == "OS/2")  // usWeightClass
            qToBigEndian<quint16>(weight, font.data() + qFromBigEndian<quint32>(font.constData() + 20 + 16 * i) + 4);
    return !font.isEmpty() && WriteFile(folder + "/" + QString(full).remove(' ') + ".ttf", font);
}

// glyphwick-print of `family` in dir: installed (rescanned, chosen by --family) or
// through --folder; its output, or "" when it did not succeed.
QString PrintFamily(bool installed, const QString& dir, const QString& family, const QStringList& what,
                    const QString& pdf)
{
    if (installed)
        Sys().fonts->RescanFonts();
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const QStringList where = installed ? QStringList{"--family", family} : QStringList{"--folder", dir};
    const int status = RunPrintCommand(what + where + QStringList{"--output", pdf}, outStream, errStream);
    return status == 0 && !err.contains("could not be printed") ? out : QString();
}

} // namespace

class FacesPrintedTest : public QObject {
    Q_OBJECT

private slots:
    void everyStyleEmbedded_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QStringList>("what");
        QTest::newRow("folder, catalog") << false << QStringList{"--layout", "Basic Catalog I"};
        QTest::newRow("folder, sheet") << false << QStringList{"--sheets", "Specimen Sheet I"};
        QTest::newRow("installed, catalog") << true << QStringList{"--layout", "Two Column I"};
        QTest::newRow("installed, sheet") << true << QStringList{"--sheets", "72 Point Set"};
    }
    void everyStyleEmbedded()
    {
        QFETCH(bool, installed);
        QFETCH(QStringList, what);
        TestEnv env;
        env.UseDesktopPlatform();
        const QString dir = installed ? env.dataHome() + "/fonts" : env.root() + "/cd";
        const QStringList files = {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSans-Oblique", "DejaVuSans-ExtraLight",
                                   "DejaVuSansCondensed", "DejaVuSansCondensed-Bold"};
        const QStringList styles = {"Regular", "Bold", "Italic", "Light", "Condensed", "Condensed Black"};
        for (int i = 0; i < 6; ++i)
            if (!WriteStyle(dir, files[i] + ".ttf", styles[i], i == 3 ? 300 : i == 5 ? 900 : 0))
                QSKIP("the DejaVu fonts are not installed");
        const QString pdf = env.root() + "/six.pdf";
        QVERIFY(PrintFamily(installed, dir, "Glyphw Six", what, pdf).contains("Printed 6 fonts"));
        for (const QString& style : styles)
            QVERIFY2(Embedded(pdf, "GlyphwSix" + QString(style).remove(' ').remove("Regular")) == 1, qPrintable(style));
    }

    void collectionFacesEmbedded_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("collection from a folder") << false;
        QTest::newRow("installed collection") << true;
    }
    // Both faces of one ".ttc", each embedded under its own PostScript name.
    void collectionFacesEmbedded()
    {
        QFETCH(bool, installed);
        TestEnv env;
        env.UseDesktopPlatform();
        const QByteArray regular = SfntBuilder::Renamed(ReadFile(SystemFile("DejaVuSans.ttf")), "Glyphw Pair", "Glyphw Pair");
        const QByteArray bold = SfntBuilder::Renamed(ReadFile(SystemFile("DejaVuSans-Bold.ttf")), "Glyphw Pair",
                                                     "Glyphw Pair Bold", "Bold");
        if (regular.isEmpty() || bold.isEmpty())
            QSKIP("the DejaVu fonts are not installed");
        const QString dir = installed ? env.dataHome() + "/fonts" : env.root() + "/cd";
        QDir().mkpath(dir);
        QVERIFY(WriteFile(dir + "/pair.ttc", SfntBuilder::Collection({regular, bold})));
        const QString pdf = env.root() + "/pair.pdf";
        QVERIFY(PrintFamily(installed, dir, "Glyphw Pair", {"--layout", "Basic Catalog I"}, pdf).contains("Printed 2 fonts"));
        QCOMPARE(Embedded(pdf, "GlyphwPair"), 1);
        QCOMPARE(Embedded(pdf, "GlyphwPairBold"), 1);
    }

    // Type 1 files and their OpenType twins share family and style: each drawn from its own file.
    void twinsEmbeddedFromTheirOwnFiles()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        PrintFontList fonts;
        for (const QString& file : QStringList{"URWBookman-Demi.t1", "URWBookman-Light.t1", "URWBookman-Demi.otf",
                                               "URWBookman-Light.otf"}) {
            if (SystemFile(file).isEmpty())
                QSKIP("the URW fonts are not installed");
            fonts.push_back({file, "1K", "URW Bookman", file, file.endsWith(".t1") ? 2 : 1, "URW Bookman", {}, SystemFile(file), 0});
        }
        const QString pdf = env.root() + "/twins.pdf";
        auto surface = QtPrinterSurface::ForPdf(pdf, PaperLetter);
        PrintCatalogs(*surface, "Basic Catalog I", fonts, Gauge(), "T", QString());
        QVERIFY(surface->Finish(nullptr));
        QCOMPARE(Embedded(pdf, "URWBookman-Demi"), 2);
        QCOMPARE(Embedded(pdf, "URWBookman-Light"), 2);
    }

    // A face the printer cannot draw: a notice at its place, named after the run, the others printed.
    void unprintableFaceNamed()
    {
        TestEnv env;
        RecordingSurface printer;
        printer.unprintableFiles = {"/fonts/b.ttf"};
        const PrintFontList fonts = {{"a.ttf", "1K", "A", "Alpha", 1, "A", {}, "/fonts/a.ttf", 0},
                                     {"b.ttf", "1K", "B", "Beta Condensed", 1, "B", {}, "/fonts/b.ttf", 0}};
        PrintCatalogs(printer, "Basic Catalog I", fonts, Gauge(), "T", QString());
        QVERIFY(printer.Find(UnprintableFaceText()) && printer.Find(UnprintableFaceText())->fontName == "Arial");
        QVERIFY(std::any_of(printer.ops.begin(), printer.ops.end(), [](const PrintOp& op) {
            return op.kind == PrintOp::Text && op.fontName == "/fonts/a.ttf#0" && !op.text.isEmpty();
        }));
        QCOMPARE(UnprintableFaces(printer, fonts), QStringList{"Beta Condensed"});
    }
};

QTEST_MAIN(FacesPrintedTest)
#include "test_facesprinted.moc"
