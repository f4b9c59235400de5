// Every listed face printed as itself: a family of six styles, each its own
// file and PostScript name, printed from a folder and installed, as a catalog
// and as a sheet, embeds all six; a face that cannot be drawn is named.
#include <QtTest>
#include <QtEndian>

#include "core/globals.h"
#include "print/catalogs.h"
#include "print/printcli.h"
#include "print/printrun.h"
#include "print/qtprinter.h"
#include "print/recording.h"
#include "print/sheets.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

QString Tool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A copy of a DejaVu file named as one style of "Glyphw Six", weight as given (0: its own).
bool WriteStyle(const QString& path, const QString& source, const QString& style, int weight)
{
    QByteArray font = SfntBuilder::Renamed(ReadFile(SystemFile(source)), "Glyphw Six",
                                           style == "Regular" ? QString("Glyphw Six") : "Glyphw Six " + style, style);
    const int tables = font.size() > 12 ? qFromBigEndian<quint16>(font.constData() + 4) : 0;
    for (int i = 0; i < tables && weight > 0; ++i)
        if (font.mid(12 + 16 * i, 4) == "OS/2")
            qToBigEndian<quint16>(weight, font.data() + qFromBigEndian<quint32>(font.constData() + 12 + 16 * i + 8) + 4);
    return !font.isEmpty() && WriteFile(path, font);
}

const QStringList kPostScriptNames = {"GlyphwSix", "GlyphwSixBold", "GlyphwSixItalic", "GlyphwSixLight",
                                      "GlyphwSixCondensed", "GlyphwSixCondensedBlack"};

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
        const struct { const char* file; const char* style; int weight; } styles[] = {
            {"DejaVuSans.ttf", "Regular", 0},          {"DejaVuSans-Bold.ttf", "Bold", 0},
            {"DejaVuSans-Oblique.ttf", "Italic", 0},   {"DejaVuSans-ExtraLight.ttf", "Light", 300},
            {"DejaVuSansCondensed.ttf", "Condensed", 0}, {"DejaVuSansCondensed-Bold.ttf", "Condensed Black", 900}};
        for (const auto& s : styles)
            if (!WriteStyle(dir + "/six-" + QString(s.style).remove(' ') + ".ttf", s.file, s.style, s.weight))
                QSKIP("the DejaVu fonts are not installed");
        if (installed)
            Sys().fonts->RescanFonts();
        const QString pdf = env.root() + "/six.pdf";
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const QStringList where = installed ? QStringList{"--family", "Glyphw Six"} : QStringList{"--folder", dir};
        QCOMPARE(RunPrintCommand(what + where + QStringList{"--output", pdf}, outStream, errStream), 0);
        QVERIFY2(out.contains("Printed 6 fonts"), qPrintable(out + err));
        const QString fonts = Tool("pdffonts", {pdf});
        for (const QString& name : kPostScriptNames)
            QVERIFY2(fonts.contains(QRegularExpression("\n(\\w{6}\\+)?" + name + " ")), qPrintable(name + "\n" + fonts));
        QVERIFY2(!err.contains("could not be printed"), qPrintable(err));
    }

    // Type 1 files and their OpenType twins share family and style: each drawn from its own file.
    void twinsEmbeddedFromTheirOwnFiles()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        PrintFontList fonts;
        for (const QString& file : QStringList{"URWBookman-Demi.t1", "URWBookman-Light.t1", "URWBookman-Demi.otf",
                                               "URWBookman-Light.otf"}) {
            const QString path = SystemFile(file);
            if (path.isEmpty())
                QSKIP("the URW fonts are not installed");
            const bool type1 = file.endsWith(".t1");
            fonts.push_back({file, "1K", "URW Bookman", file, type1 ? 2 : 1, "URW Bookman", {}, path, 0});
        }
        const QString pdf = env.root() + "/twins.pdf";
        auto surface = QtPrinterSurface::ForPdf(pdf, PaperLetter);
        PrintCatalogs(*surface, "Basic Catalog I", fonts, Gauge(), "T", QString());
        QVERIFY(surface->Finish(nullptr));
        const QString listed = Tool("pdffonts", {pdf});
        for (const QString& name : QStringList{"URWBookman-Demi", "URWBookman-Light"})
            QVERIFY2(listed.count(QRegularExpression("\n(\\w{6}\\+)?" + name + " ")) == 2, qPrintable(listed));
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
        const PrintOp* notice = printer.Find(UnprintableFaceText());
        QVERIFY(notice && notice->fontName == "Arial");
        QVERIFY(std::any_of(printer.ops.begin(), printer.ops.end(), [](const PrintOp& op) {
            return op.kind == PrintOp::Text && op.fontName == "/fonts/a.ttf#0" && !op.text.isEmpty();
        }));
        QCOMPARE(UnprintableFaces(printer, fonts), QStringList{"Beta Condensed"});
    }
};

QTEST_MAIN(FacesPrintedTest)
#include "test_facesprinted.moc"
