// Every catalog layout and sample sheet, drawn on the recording surface, is the page approved
// (tests/data/pages): each text, rule and box with its place, font and size. GW_APPROVE=1 rewrites them.
#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/catalogs.h"
#include "print/recording.h"
#include "print/sheets.h"
#include "printtestfonts.h"
#include "testenv.h"

using namespace gw;

namespace {

// Control characters written as \xNN, so that every operation is one line.
QString Escaped(const QString& text)
{
    QString out;
    for (QChar c : text)
        out += c.unicode() < 0x20 || c.unicode() == 0x7f ? QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0')) : QString(c);
    return out;
}

// One line per operation.
QStringList Lines(const RecordingSurface& s)
{
    const char* kinds[] = {"text", "line", "box", "filled", "page", "end"};
    QStringList lines;
    for (const PrintOp& op : s.ops)
        lines << QString("%1 p%2 (%3,%4)-(%5,%6) %7 %8%9%10 a%11 c%12 w%13 f%14 \"%15\"")
                     .arg(kinds[op.kind]).arg(op.page).arg(op.x, 0, 'f', 2).arg(op.y, 0, 'f', 2)
                     .arg(op.x2, 0, 'f', 2).arg(op.y2, 0, 'f', 2).arg(op.fontName).arg(op.fontSize)
                     .arg(op.bold ? "b" : "").arg(op.italic ? "i" : "").arg(op.align).arg(op.colour, 0, 16)
                     .arg(op.drawWidth).arg(op.fillStyle).arg(Escaped(op.text));
    return lines;
}

// A font of each kind a page tells apart: a family of four styles, style words in a name, Type 1 and printer
// fonts, a face drawn from its file, names too long for any caption, bar or cell, or just filling one.
PrintFontList MixedPrintFonts(FakeFontSystem& system)
{
    system.faces = {TrueTypeFace("Face 0"), TrueTypeFace("Face 0", "Bold", 700), TrueTypeFace("Face 0", "Italic", 400, true),
                    TrueTypeFace("Face 0", "Bold Italic", 700, true), TrueTypeFace("Face 1"),
                    TrueTypeFace("Face 1", "Bold", 700), DeviceFace("Face 2", 700), DeviceFace("Face 2", 400, true),
                    DeviceFace("Face 3")};
    PrintFontList fonts = TestPrintFonts(6);
    fonts[1].DisplayName = "Font 1 Bold Italic";
    fonts[2].DisplayName = "Font 2 Italic";
    fonts[2].FontType = 2;
    fonts[3].FontType = 3;
    fonts[3].DisplayName = "Font 3 Semibold Condensed Italic";  // 32 characters: the Six Up bar's width at 9.5 points
    fonts[4].DisplayName = "Font 4 Bold Oblique";
    fonts[4].FontPath = "/fonts/FONT4.TTF";
    fonts[5].DisplayName = fonts[5].AlternateName = "Font 5" + QString(" Condensed Extra").repeated(8);
    fonts[5].FileName = "A-FILE-NAME-LONGER-THAN-ANY-COLUMN-HAS-ROOM-FOR.TTF";
    return fonts;
}

} // namespace

class TestApprovedPages : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env_;

private slots:
    void init()
    {
        env_ = std::make_unique<TestEnv>();
        WriteIniString("Inventory", "FooterLeft", "LeftFoot", IniFile);
        WriteIniString("SpecSheets", "Header", "Shop header", IniFile);
    }
    void cleanup() { env_.reset(); }

    void pages_data()
    {
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("mixed");  // MixedPrintFonts, a long title, upper case, paragraphs of the user's
        for (const QString& name : CatalogNames()) {
            QTest::newRow(qPrintable(name)) << name << -1 << int(PaperLetter) << false;
            QTest::newRow(qPrintable(name + " A4")) << name << -1 << int(PaperA4) << false;
            QTest::newRow(qPrintable(name + " mixed")) << name << -1 << int(PaperLetter) << true;
        }
        for (int i = 0; i < SheetNames().size(); ++i) {
            QTest::newRow(qPrintable(SheetNames()[i])) << QString() << i << int(PaperLetter) << false;
            QTest::newRow(qPrintable(SheetNames()[i] + " A4")) << QString() << i << int(PaperA4) << false;
            QTest::newRow(qPrintable(SheetNames()[i] + " mixed")) << QString() << i << int(PaperLetter) << true;
        }
        QTest::newRow("Unprintable face") << QString() << 8 << int(PaperLetter) << false;
    }
    void pages()
    {
        QFETCH(QString, catalog);
        QFETCH(int, sheet);
        QFETCH(int, paper);
        QFETCH(bool, mixed);
        PrintFontList mixedFonts = mixed ? MixedPrintFonts(*env_->fake.fonts) : PrintFontList();
        if (mixed) {
            WriteIniString("SpecSheets", "UpperCase", "1", IniFile);
            for (const QString n : {"1", "2"})
                WriteFile(QFileInfo(IniFile).path() + "/papara" + n + ".txt", "Paragraph " + n.toUtf8() + " of the user's\r\nsecond line");
        }
        RecordingSurface s = paper == PaperLetter ? RecordingSurface(PaperLetter, 612, 792, 18)
                                                  : RecordingSurface(PaperA4, 595, 842, 18);
        if (sheet < 0) {
            if (mixed) {  // and last, a face the printer cannot draw: its cell says why
                mixedFonts.push_back(TestPrintFonts(7)[6]);
                s.unprintableFiles = {mixedFonts.back().FontPath = "/fonts/BROKEN.TTF"};
            }
            // Enough fonts to break every layout's columns and pages; a name that is no layout prints nothing.
            QVERIFY(PrintCatalogs(s, catalog, mixed ? mixedFonts : TestPrintFonts(paper == PaperLetter ? 50 : 35), {},
                                  mixed ? "A title longer than any header has room for, set smaller, then cut after a word" : "Title",
                                  "/media/cdrom/Type Foundry Collection/Volume 2/OpenType and TrueType Fonts/Display and Text Faces/Sans Serif")
                    && !PrintCatalogs(s, "Four Up Catalog", TestPrintFonts(1), {}, "Title", {}));
        } else {
            PrintFontList fonts = mixed ? mixedFonts : TestPrintFonts(1);
            if (sheet == 8)  // a face the printer cannot draw: one page with its name and why
                s.unprintableFiles = {fonts[0].FontPath = "/fonts/FONT0.TTF"};
            std::array<bool, 8> checked{};
            checked[size_t(sheet % 8)] = true;
            PrintSheets(s, fonts, {}, checked);
        }
        CompareApproved(Lines(s), "pages/" + QString(QTest::currentDataTag()).replace(' ', '-') + ".txt");
    }

    // Where each catalog breaks its pages on Letter and A4, at every point size from 6 to 72: each page's first font.
    void pageBreaks()
    {
        QStringList lines;
        for (const QString& layout : CatalogNames()) {
            for (int n = 0; n < 2 * 67; ++n) {
                const bool letter = n < 67;
                const int size = 6 + n % 67;
                WriteIniString("Inventory", "PointSize", QString::number(size), IniFile);
                RecordingSurface s = letter ? RecordingSurface(PaperLetter, 612, 792, 18) : RecordingSurface(PaperA4, 595, 842, 18);
                QVERIFY(PrintCatalogs(s, layout, TestPrintFonts(60), {}, "Title", {}));
                QStringList firsts;
                int page = 0;
                for (const PrintOp& op : s.ops)
                    if (op.kind == PrintOp::Text && op.page != page && op.fontName.startsWith("Face ")) {
                        page = op.page;
                        firsts << op.fontName.mid(5);
                    }
                lines << QString("%1 %2 %3: %4").arg(layout, letter ? "Letter" : "A4").arg(size).arg(firsts.join(' '));
            }
        }
        CompareApproved(lines, "pages/page-breaks.txt");
    }

    // Names and titles of 1 to 90 characters in every field that shows them: the size each is set in and
    // where it is cut.
    void fittedNames()
    {
        const QString words = QString("Wd ").repeated(30), title = QString("Tt ").repeated(30);
        QStringList lines;
        for (int n = 0; n < CatalogNames().size() + SheetNames().size(); ++n) {
            const bool catalog = n < CatalogNames().size();
            const QString layout = catalog ? CatalogNames()[n] : SheetNames()[n - CatalogNames().size()];
            for (int length = 1; length <= 90; ++length) {
                QStringList shown;
                for (const int fileLength : {length % 11, length * 5 % 13}) {  // what shares the line varies too
                    RecordingSurface s(PaperLetter, 612, 792, 18);
                    PrintFontList fonts = TestPrintFonts(1);
                    fonts[0].DisplayName = fonts[0].AlternateName = words.left(length);
                    fonts[0].FileName = QString("F").repeated(fileLength) + ".TTF";
                    if (catalog) {
                        QVERIFY(PrintCatalogs(s, layout, fonts, {}, title.left(length), {}));
                    } else {
                        std::array<bool, 8> checked{};
                        checked[size_t(n - CatalogNames().size())] = true;
                        PrintSheets(s, fonts, {}, checked);
                    }
                    for (const PrintOp& op : s.ops)
                        if (op.kind == PrintOp::Text && (op.text.startsWith("Wd") || op.text.startsWith("Tt")))
                            shown << QString("%1%2 \"%3\"").arg(op.fontSize).arg(op.bold ? "b" : "").arg(op.text.simplified());
                }
                lines << QString("%1 %2: %3").arg(layout).arg(length).arg(shown.join(", "));
            }
        }
        CompareApproved(lines, "pages/fitted-names.txt");
    }
};

QTEST_MAIN(TestApprovedPages)
#include "test_approvedpages.moc"
