// Every listed face printed as itself, embedded under its own PostScript name (six styles from a folder and
// installed, Type 1 twins); a face that cannot be drawn is named, with a notice at its place.
#include <QPrinter>
#include <QtTest>
#include <QtEndian>
#include <QRawFont>
#include <QFontDatabase>
#include <QPainterPath>

#include "print/catalogs.h"
#include "print/pageframe.h"
#include "print/printcli.h"
#include "print/printrun.h"
#include "print/pdfsurface.h"
#include "print/qtprinter.h"
#include "print/recording.h"
#include "fonts/staticinstance.h"
#include "sfnt/instances.h"
#include "sfnt/names.h"
#include "sfnt/sfnt.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

int Embedded(const QString& pdf, const QString& name)
{
    return int(ToolOutput("pdffonts", {pdf}).count(QRegularExpression("\n(\\w{6}\\+)?" + name + " ")));
}

// A DejaVu file renamed as a style of "Glyphw Six" with a weight (0: its own); added to collection when given.
bool WriteStyle(const QString& folder, const QString& source, const QString& style, int weight,
                QList<QByteArray>* collection)
{
    const QString full = style == "Regular" ? "Glyphw Six" : "Glyphw Six " + style;
    QByteArray font = SfntBuilder::Renamed(ReadFile(SystemFile(source)), "Glyphw Six", full, style);
    for (int i = 0; weight > 0 && i < (font.size() > 12 ? qFromBigEndian<quint16>(font.constData() + 4) : 0); ++i)
        if (font.mid(12 + 16 * i, 4) == "OS/2")  // usWeightClass
            qToBigEndian<quint16>(weight, font.data() + qFromBigEndian<quint32>(font.constData() + 20 + 16 * i) + 4);
    if (collection && !font.isEmpty())
        collection->append(font);
    return !font.isEmpty() && (collection || WriteFile(folder + "/" + QString(full).remove(' ') + ".ttf", font));
}

} // namespace

class FacesPrintedTest : public QObject {
    Q_OBJECT

private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    // First, while the toolkit has read no fonts: an installed run reads only its faces and the caption's family.
    void installedRunReadsOnlyItsFonts()
    {
        // The tests that follow install a family of that name, and want every family known again.
        const auto restore = qScopeGuard([&] {
            QDir(env_->dataHome() + "/fonts").removeRecursively();
            Sys().fonts->RescanFonts();
        });
        for (const QString style : {"Regular", "Bold"})
            if (!WriteStyle(env_->dataHome() + "/fonts", style == "Bold" ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf",
                            style, 0, nullptr))
                QSKIP("the DejaVu fonts are not installed");
        env_->UseDesktopPlatform();
        Sys().fonts->BroadcastFontChange();  // reloads fontconfig only
        const QString pdf = env_->root() + "/two.pdf";
        const CommandResult r =
            RunCommand(RunPrintCommand, {"--family", "Glyphw Six", "--layout", "Basic Catalog I", "--output", pdf});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QString caption = Sys().fonts->SubstituteFamily(CaptionFont);
        const QStringList known = QFontDatabase::families();
        QVERIFY2(known.contains("Glyphw Six") && known.contains(caption), qPrintable(known.join(", ")));
        QVERIFY(!SystemFile("DejaVuSansMono.ttf").isEmpty() && !known.contains("DejaVu Sans Mono"));
        QVERIFY(Embedded(pdf, "GlyphwSix") == 1 && Embedded(pdf, "GlyphwSixBold") == 1);
        QVERIFY(Embedded(pdf, ToolOutput("fc-match", {"-f", "%{postscriptname}", CaptionFont})) == 1);
    }

    // Six styles, and the named instances of a variable font beside them, from a folder and installed.
    void everyStyleEmbedded_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QStringList>("what");
        QTest::addColumn<bool>("oneCollection"); // the six faces in one ".ttc"
        QTest::newRow("folder, catalog") << false << QStringList{"--layout", "Basic Catalog II"} << false;
        QTest::newRow("folder, sheet") << false << QStringList{"--sheets", "Specimen Sheet I"} << false;
        // Before the installed rows: the faces they install stay known to this process.
        QTest::newRow("collection from a folder") << false << QStringList{"--layout", "Basic Catalog II"}
                                                  << true;
        QTest::newRow("installed, catalog") << true << QStringList{"--layout", "Two Column I"} << false;
        QTest::newRow("installed, sheet") << true << QStringList{"--sheets", "72 Point Set"} << false;
        QTest::newRow("installed collection") << true << QStringList{"--sheets", "Specimen Sheet I"} << true;
    }
    void everyStyleEmbedded()
    {
        QFETCH(bool, installed);
        QFETCH(QStringList, what);
        QFETCH(bool, oneCollection);
        env_->UseDesktopPlatform();
        const QString dir = installed ? env_->dataHome() + "/fonts" : env_->root() + "/cd";
        const QStringList files = {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSans-Oblique", "DejaVuSans-ExtraLight",
                                   "DejaVuSansCondensed", "DejaVuSansCondensed-Bold"};
        const QStringList styles = {"Regular", "Bold", "Italic", "Light", "Condensed", "Condensed Black"};
        QList<QByteArray> faces;
        for (int i = 0; i < 6; ++i)
            if (!WriteStyle(dir, files[i] + ".ttf", styles[i], i == 3 ? 300 : i == 5 ? 900 : 0, oneCollection ? &faces : nullptr))
                QSKIP("the DejaVu fonts are not installed");
        QVERIFY(!oneCollection || WriteFile(dir + "/six.ttc", SfntBuilder::Collection(faces)));
        QVERIFY(WriteFile(dir + "/gwvar.ttf", SfntBuilder::VariableFont("GW Var Print", 0)));
        if (installed)
            Sys().fonts->RescanFonts();
        else  // skipped: a copy of an installed font, and a file that is no font
            QVERIFY(QFile::copy(SystemFile("DejaVuSans.ttf"), dir + "/installed.ttf")
                    && WriteFile(dir + "/broken.ttf", "not a font"));
        const QString pdf = env_->root() + "/six.pdf";
        const QStringList where = installed ? QStringList{"--family", "Glyphw Six", "--family", "GW Var Print"}
                                            : QStringList{"--folder", dir};
        const QStringList title = {"--title", "My CD", "--output", pdf};
        const CommandResult r = RunCommand(RunPrintCommand, what + where + title);
        QVERIFY2(r.code == 0 && r.out.contains("Printed 8 fonts") && !r.err.contains("could not be printed"),
                 qPrintable(r.out + r.err));
        for (const QString& style : styles)
            QVERIFY2(Embedded(pdf, "GlyphwSix" + QString(style).remove(' ').remove("Regular")) == 1, qPrintable(style));
        QVERIFY(Embedded(pdf, "GWVarPrint-Thin") == 1 && Embedded(pdf, "GWVarPrint-BoldCondensed") == 1);
        if (what[0] == "--layout")  // the title given, an instance's caption (the folder line: approved pages)
            QVERIFY(ToolOutput("pdfinfo", {pdf}).contains(QRegularExpression("Title: +My CD\n"))
                    && ToolOutput("pdftotext", {pdf, "-"}).contains("GW Var Print Bold Condensed"));
        QVERIFY2(installed || r.err.contains("skipped " + dir + "/broken.ttf"), qPrintable(r.err));
        QVERIFY(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}).isEmpty());
    }

    // A static copy is drawn at its instance: the advance and stem of "H" (80, Thin 10, Bold Condensed 140);
    // its PostScript name keeps to the 63 characters PostScript allows.
    void instanceCopyAtItsCoordinates_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("prefix");  // of the PostScript names of instances (name 25)
        QTest::addColumn<int>("instance");
        QTest::addColumn<bool>("oddNames");  // every Windows name a byte short: nothing past it is read
        QTest::addColumn<QString>("copyFamily");
        QTest::addColumn<QString>("postScript");
        QTest::addColumn<double>("advance");
        QTest::addColumn<bool>("stemCovers60");
        QTest::newRow("Thin: a thinner stem") << "GW Var" << "" << 0 << false << "GW Var Thin" << "GWVar-Thin" << 600.0
                                              << false;
        QTest::newRow("Bold Condensed: narrower, a thicker stem") << "GW Var" << "" << 1 << false << "GW Var Bold Condensed"
                                                                  << "GWVar-BoldCnd" << 450.0 << true;  // its own, stored
        QTest::newRow("long family name cut") << QString(70, 'W') << "" << 0 << false << QString(70, 'W') + " Thin"
                                              << QString(63, 'W') << 600.0 << false;
        QTest::newRow("odd name length: the odd byte dropped") << "GW Odd" << "" << 1 << true << "GW Od Bold Condense"
                                                               << "GWOdd-BoldCn" << 450.0 << true;
        QTest::newRow("the font's own prefix") << "GW Var" << "GWV" << 0 << false << "GW Var Thin" << "GWV-Thin" << 600.0
                                               << false;
    }
    void instanceCopyAtItsCoordinates()
    {
        QFETCH(QString, family);
        QFETCH(QString, prefix);
        QFETCH(int, instance);
        QFETCH(bool, oddNames);
        QFETCH(double, advance);
        QFETCH(bool, stemCovers60);
        QByteArray font = SfntBuilder::VariableFont(family, 0, 400, prefix);
        TableEntry name;
        QVERIFY(FindTable(BoundedReader(font), 0, "name", name));
        for (int i = 0; oddNames && i < qFromBigEndian<quint16>(font.constData() + name.offset + 2); ++i) {
            char* record = font.data() + name.offset + 6 + 12 * i;
            if (qFromBigEndian<quint16>(record) == 3)  // Windows: UTF-16, two bytes a character
                qToBigEndian<quint16>(qFromBigEndian<quint16>(record + 8) - 1, record + 8);
        }
        const QString file = env_->root() + "/gwvar.ttf", copy = env_->root() + "/copy.ttf";
        QVERIFY(WriteFile(file, font));
        QString ps;
        QVERIFY(WriteStaticInstance(file, InstanceFace(0, instance), copy, &ps).isEmpty());
        QTEST(ps, "postScript");
        FontNameInfo names;  // the copy's own family, named by its unique ID
        ReadNameTableBytes(ReadFile(copy), names);
        QFETCH(QString, copyFamily);
        QCOMPARE(QStringList({names.family, names.subfamily, names.uniqueId}),
                 QStringList({copyFamily, "Regular", ps}));
        const QRawFont raw(copy, 1000);
        const QList<quint32> glyphs = raw.glyphIndexesForString("H");
        QCOMPARE(raw.advancesForGlyphIndexes(glyphs).value(0).x(), advance);
        QCOMPARE(raw.pathForGlyph(glyphs.value(0)).contains(QPointF(50 + 60, -350)), stemCovers60);  // half-way up
    }

    // A copy's OS/2 classes: the nearest of the nine widths (50 % to 200 %), a rounded weight within 1 to 1000.
    void widthAndWeightClasses()
    {
        const double widths[] = {50, 62.5, 75, 87.5, 100, 112.5, 125, 150, 200};
        for (int c = 1; c <= 9; ++c) {
            QCOMPARE(WidthClass(widths[c - 1]), c);
            const double between = c < 9 ? (widths[c - 1] + widths[c]) / 2 : 1000;
            QCOMPARE(WidthClass(between - 0.4), c);
            QCOMPARE(WidthClass(between + 0.4), std::min(c + 1, 9));
        }
        QCOMPARE(WidthClass(10), 1);
        QCOMPARE(QList<int>({WeightClass(0.4), WeightClass(450.5), WeightClass(1200)}), QList<int>({1, 451, 1000}));
    }

    // A horizontal header cut short is refused, not read past its end: no copy is named.
    void shortHeaderRefused()
    {
        QByteArray cut = SfntBuilder::VariableFont("GW Var", 0);
        const int entry = int(cut.indexOf("hhea"));
        QVERIFY(entry > 0 && entry < 12 + 16 * 20);
        qToBigEndian<quint32>(35, cut.data() + entry + 12);
        QVERIFY(WriteFile(env_->root() + "/cut.ttf", cut));
        QString error;
        QCOMPARE(StaticInstanceFiles().FileOf(env_->root() + "/cut.ttf", InstanceFace(0, 0), &error), QString());
        QCOMPARE(error, QString("the font file is damaged"));
    }

    // CFF outlines (as CFF2 variable fonts have too) are copied as quadratic ones of the same shape.
    void cffOutlinesCopied()
    {
        const QString font = SystemFile("URWBookman-Light.otf"), copy = env_->root() + "/copy.ttf";
        if (font.isEmpty())
            QSKIP("the URW fonts are not installed");
        QVERIFY(WriteStaticInstance(font, 0, copy).isEmpty());
        const QRawFont own(font, 1000), copied(copy, 1000);
        const quint32 glyph = own.glyphIndexesForString("S").value(0);
        QCOMPARE(copied.advancesForGlyphIndexes({glyph}), own.advancesForGlyphIndexes({glyph}));
        // Inside one outline and not the other: only points within a fraction of a unit of the edge.
        const QPainterPath a = own.pathForGlyph(glyph), b = copied.pathForGlyph(glyph);
        int differ = 0;
        for (int x = int(a.boundingRect().left()); x < a.boundingRect().right(); x += 3)
            for (int y = int(a.boundingRect().top()); y < a.boundingRect().bottom(); y += 3)
                differ += a.contains(QPointF(x, y)) != b.contains(QPointF(x, y));
        QVERIFY2(differ < 200, qPrintable(QString::number(differ)));  // 65 here; 550 with chords for curves
    }

    // Type 1 files and their OpenType twins (same family and style) each drawn from its own file.
    void twinsEmbeddedFromTheirOwnFiles_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::newRow("PDF file") << false;
        QTest::newRow("printer") << true;
    }
    void twinsEmbeddedFromTheirOwnFiles()
    {
        QFETCH(bool, printer);
        env_->UseDesktopPlatform();
        PrintFontList fonts;
        // Qt answers "C059" Bold with the OpenType file, "URW Bookman" Demi with the Type 1 one.
        const QList<QPair<QString, QStringList>> families = {
            {"URW Bookman", {"URWBookman-Demi", "URWBookman-Light"}}, {"C059", {"C059-Bold"}}};
        for (const auto& [family, faces] : families)
            for (const QString& face : faces)
                for (const QString& file : {face + ".t1", face + ".otf"}) {
                    if (SystemFile(file).isEmpty())
                        QSKIP("the URW fonts are not installed");
                    fonts.push_back({file, "1K", family, file, file.endsWith(".t1") ? 2 : 1, family, {}, SystemFile(file), 0});
                }
        const QString pdf = env_->root() + "/twins.pdf";
        QPrinter qtPdf(QPrinter::HighResolution);
        qtPdf.setOutputFormat(QPrinter::PdfFormat);
        qtPdf.setOutputFileName(pdf);
        const auto surface = printer ? std::unique_ptr<PrinterSurface>(QtPrinterSurface::ForDevice(&qtPdf))
                                     : std::unique_ptr<PrinterSurface>(PdfSurface::Create(pdf, PaperLetter));
        PrintCatalogs(*surface, "Basic Catalog I", fonts, Gauge(), "T", QString());
        QVERIFY(surface->Finish(nullptr));
        for (const char* face : {"URWBookman-Demi", "URWBookman-Light", "C059-Bold"})
            QVERIFY2(Embedded(pdf, face) == 2, face);
    }

    // A face the printer cannot draw: a notice at its place, named after the run.
    void unprintableFaceNamed()
    {
        RecordingSurface printer;
        printer.unprintableFiles = {"/fonts/b.ttf"};
        const PrintFontList fonts = {{"a.ttf", "1K", "A", "Alpha", 1, "A", {}, "/fonts/a.ttf", 0},
                                     {"b.ttf", "1K", "B", "Beta Condensed", 1, "B", {}, "/fonts/b.ttf", 0}};
        PrintCatalogs(printer, "Basic Catalog I", fonts, Gauge(), "T", QString());
        const PrintOp* notice = printer.Find(UnprintableFaceText());  // in Arial, no larger than 12 points
        QVERIFY(notice && notice->fontName == "Arial" && notice->fontSize == 12);
        QCOMPARE(UnprintableFaces(printer, fonts), QStringList{"Beta Condensed"});
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(FacesPrintedTest)
#include "test_facesprinted.moc"
