#include "print/catalogs.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/settings.h"
#include "fonts/enumerate.h"
#include "print/printer.h"

namespace gw {

int CatalogSampleSize()
{
    return ReadIniInt(QStringLiteral("Inventory"), QStringLiteral("PointSize"), 24, IniFile);
}

double CatalogCaptionSize()
{
    return Val(ReadIniString(QStringLiteral("Inventory"), QStringLiteral("InfoPointSize"), QStringLiteral("10"), IniFile));
}

namespace {

// The settings every catalog reads at job start.
struct CatalogSettings {
    int S;      // sample size
    double C;   // caption size
    QString sample;
    QString footerLeft;
    QString footerRight;
    bool upperCase;
};

CatalogSettings ReadCatalogSettings()
{
    const QString inventory = QStringLiteral("Inventory");
    return {CatalogSampleSize(), CatalogCaptionSize(), CatalogSampleText(),
            ReadIniString(inventory, QStringLiteral("FooterLeft"), QString(), IniFile),
            ReadIniString(inventory, QStringLiteral("FooterRight"), QString(), IniFile),
            ReadIniInt(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), 0, IniFile) == 1};
}


// Selects the font of an entry at a size; returns the name that selects it
// again. Empty when the face cannot be printed: Arial is then selected.
QString SelectFont(PrinterSurface& printer, const PrintFontEntry& font, double size)
{
    printer.Print(QString());
    const QString name = SelectEntryFont(printer, font);
    if (name.isEmpty())
        UseArial(printer, size > 12 ? 12 : size);
    else
        printer.SetFontSize(size);
    return name;
}

// The sample of an entry, in its own face, cut to the width; or, for a face
// that cannot be printed, the notice saying so.
QString SampleOrNotice(PrinterSurface& printer, const QString& name, double width, const QString& sample)
{
    if (name.isEmpty())
        return ElideText(printer, UnprintableFaceText(), width);
    return FitText(printer, width, sample);
}


QString PageLabel(int page) { return QStringLiteral("- %1 -").arg(page); }

QString FileAndSize(const PrintFontEntry& font)
{
    return font.FileName.trimmed() + QStringLiteral("  ") + font.SizeText.trimmed();
}

// The caption of an entry in Arial at `size`, set smaller (to 80 %) or
// shortened with an ellipsis to fit `width`; leaves that font selected.
QString CaptionText(PrinterSurface& printer, const PrintFontEntry& font, double width, double size)
{
    return FitLabel(printer, FontCaption(font), width, size, std::max(1.0, size * 0.8));
}

// ---- Basic Catalog I, Two Column I, Three Column -----------------------------

// The CatalogHeader layouts: columns filled top to bottom, a new column or page
// once y reaches ScaleHeight - breakMargin.
void ColumnCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                   const QString& title, const std::vector<double>& columns, double width,
                   double breakMargin)
{
    PrintJob job(printer, gauge);
    job.Start();
    const CatalogSettings cs = ReadCatalogSettings();
    CatalogHeader(printer, cs.S, title, job.Left, job.Top);
    const double top = cs.S + 82;
    double y = top;
    size_t column = 0;
    const int count = int(fonts.size());
    for (int i = 0; i < count; ++i) {
        const PrintFontEntry& font = fonts[size_t(i)];
        job.Progress(i, count);
        // A printable-area limit against a sheet height: the pages break where they always
        // have, earlier when a large sample's caption sits lower (faces reach 0.3 em down).
        const double lower = CaptionDrop(0.3 * cs.S, cs.C) - (cs.C + 4);
        if (y + lower >= printer.ScaleHeight() - breakMargin && y > top) {
            if (column + 1 < columns.size()) {
                ++column;
            } else {
                CatalogFooter(printer, job.Left, job.Top, job.Page, cs.footerLeft,
                              cs.footerRight);
                job.BreakPage();
                CatalogHeader(printer, cs.S, title, job.Left, job.Top);
                printer.SetFontSize(cs.S);
                column = 0;
            }
            y = top;
        }
        const double x = job.X(columns[column]);
        const QString name = SelectFont(printer, font, cs.S);
        PrintAt(printer, x, job.Y(y),
                SampleOrNotice(printer, name, width, EntrySample(printer, font, cs.sample)));
        y += CaptionDrop(printer.FontDescent(), cs.C);
        // A long caption is set smaller, then shortened, at the column's edge.
        PrintAt(printer, x, job.Y(y), CaptionText(printer, font, width, cs.C));
        y += SampleUnderCaption(cs.S, cs.C);
    }
    CatalogFooter(printer, job.Left, job.Top, job.Page, cs.footerLeft, cs.footerRight);
    job.Finish();
}

// ---- Basic Catalog II ----------------------------------------------------------

// The framed block at the top of every page; returns the height the fonts start from.
double FontCatalogBlock(PrintJob& job, const QString& title, const QString& folder)
{
    PrinterSurface& printer = job.Printer;
    printer.Print(QString());
    printer.SetScaleMode(ScalePoints);
    printer.SetTextAlign(AlignBaseLeft);
    // The right edges are printable-area positions.
    printer.SetDrawWidth(4);
    printer.Line(job.X(54), job.Y(54), 540, job.Y(108), LineBox);
    printer.SetDrawWidth(2);
    printer.Line(job.X(59), job.Y(54), job.X(59), job.Y(108));
    printer.Line(535, job.Y(54), 535, job.Y(108));
    printer.SetTextAlign(AlignBaseCentre);
    UseArial(printer, 14, true);
    PrintAt(printer, job.X(306), job.Y(69), QStringLiteral("Font Catalog"));
    PrintAt(printer, job.X(306), job.Y(84), FitLabel(printer, title, 466, 10, 8));
    PrintAt(printer, job.X(306), job.Y(99), FitLabel(printer, folder, 466, 10, 8));
    printer.SetTextAlign(AlignBaseLeft);
    return 120;
}

// ---- Two Column II ---------------------------------------------------------------

struct TwoColumnIIGeometry {
    double columns[2];
    double bottom;
};

TwoColumnIIGeometry TwoColumnIIPaper(PrinterSurface& printer)
{
    const int code = printer.PaperSize();
    if (code == PaperLetter || code == PaperLetterSmall || code == PaperNote)
        return {{54, 357}, 710};
    return {{36, 333}, 773};
}

// The title's baseline is 52; columns that began at 36 would print their first
// line over it, so they begin under the rule beneath the title.
constexpr double TwoColumnIITitleRule = 58;
constexpr double TwoColumnIITop = TwoColumnIITitleRule;
constexpr double TwoColumnIIWidth = 216;
constexpr double TwoColumnIIFooter = 787;

// Title, footers and a frame of eight strokes: the title band's top and two
// sides, the rule under the title, the content band's two sides and its
// bottom (the rule above the footers), and the gutter between the columns.
void TwoColumnIIPageFrame(PrintJob& job, const QString& title, const CatalogSettings& cs)
{
    PrinterSurface& printer = job.Printer;
    const TwoColumnIIGeometry g = TwoColumnIIPaper(printer);
    const double left = g.columns[0] - 9;
    const double right = g.columns[1] + TwoColumnIIWidth + 9;
    const double gutter = (g.columns[0] + TwoColumnIIWidth + g.columns[1]) / 2;
    const double top = 36;
    const double rule = TwoColumnIITitleRule;
    const double bottom = TwoColumnIIFooter - 10;

    PrintAt(printer, job.X(g.columns[0]), job.Y(52),
            FitLabel(printer, title, right - 9 - g.columns[0], 14, 10, true));
    UseArial(printer, 8);
    PrintAt(printer, job.X(36), job.Y(TwoColumnIIFooter), cs.footerLeft);
    PrintAt(printer, job.X(g.columns[1]), job.Y(TwoColumnIIFooter), cs.footerRight);

    printer.SetDrawWidth(4);
    auto line = [&](double x1, double y1, double x2, double y2) {
        printer.Line(job.X(x1), job.Y(y1), job.X(x2), job.Y(y2));
    };
    line(left, top, right, top);
    line(left, top, left, rule);
    line(right, top, right, rule);
    line(left, rule, right, rule);
    line(left, rule, left, bottom);
    line(right, rule, right, bottom);
    line(left, bottom, right, bottom);
    line(gutter, rule, gutter, bottom);
}

// ---- Bar Divided -------------------------------------------------------------------

void BarDividedHeader(PrintJob& job, int pointSize, const QString& title)
{
    PrinterSurface& printer = job.Printer;
    UseArial(printer, 10);
    printer.SetTextAlign(AlignBaseRight);
    const QString points = QString::number(pointSize) + QStringLiteral(" points");
    PrintAt(printer, job.X(558), job.Y(72), points);
    printer.SetTextAlign(AlignBaseLeft);
    const double room = 504 - printer.TextWidth(points) - 12;
    PrintAt(printer, job.X(54), job.Y(72), FitLabel(printer, title, room, 14, 10));
}

void BarEntry(PrintJob& job, const PrintFontEntry& font, int S, double y)
{
    PrinterSurface& printer = job.Printer;
    printer.Line(job.X(54), job.Y(y), job.X(54 + 504), job.Y(y + 14), LineFilledBox);
    printer.SetForeColor(ColourWhite);
    printer.SetTextAlign(AlignBaseRight);
    UseArial(printer, 6);
    PrintAt(printer, job.X(550), job.Y(y + 11), FileAndSize(font));
    const double room = 494 - printer.TextWidth(FileAndSize(font)) - 12;
    printer.SetTextAlign(AlignBaseLeft);
    PrintAt(printer, job.X(56), job.Y(y + 11), FitLabel(printer, font.AlternateName.trimmed(), room, 10, 8));
    printer.SetForeColor(ColourBlack);
    const QString name = SelectFont(printer, font, S);
    PrintAt(printer, job.X(54), job.Y(y + 14 + S),
            SampleOrNotice(printer, name, 504, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ !@#$%^&*()")));
    if (name.isEmpty())
        return;
    PrintAt(printer, job.X(54), job.Y(y + 14 + 2 * S),
            FitText(printer, 504, QStringLiteral("abcdefghijklmnopqrstuvwxyz 012345656789")));
}

// ---- Three Up ------------------------------------------------------------------------
// Heights are printable-area positions here; only x goes through the offset.

bool LetterPositions(PrinterSurface& printer) { return printer.PaperSize() == PaperLetter; }

void ThreeUpPageFrame(PrintJob& job, const QString& title, const CatalogSettings& cs)
{
    PrinterSurface& printer = job.Printer;
    const bool letter = LetterPositions(printer);
    const double footerY = letter ? 734 : 758;
    const double ruleY = letter ? 720 : 744;
    PrintAt(printer, job.X(54), 40, FitLabel(printer, title, 504, 18, 11, true));
    printer.SetDrawWidth(2);
    printer.Line(job.X(54), 44, job.X(558), 44);
    UseArial(printer, 10);
    PrintAt(printer, job.X(54), footerY, cs.footerLeft);
    printer.SetTextAlign(AlignBaseCentre);
    PrintAt(printer, job.X(306), footerY, PageLabel(job.Page));
    printer.SetTextAlign(AlignBaseRight);
    PrintAt(printer, job.X(558), footerY, cs.footerRight);
    printer.SetTextAlign(AlignBaseLeft);
    printer.Line(job.X(54), ruleY, job.X(558), ruleY);
}

QString PresenceKindOf(int fontType)
{
    switch (fontType) {
    case 2:
        return QStringLiteral("ATM");
    case 3:
        return QStringLiteral("Device");
    default:
        return QStringLiteral("TrueType");
    }
}

void ThreeUpCell(PrintJob& job, const PrintFontEntry& font, double x, double y,
                 const CatalogSettings& cs)
{
    PrinterSurface& printer = job.Printer;
    UseArial(printer, 8);
    printer.SetTextAlign(AlignBaseRight);
    PrintAt(printer, job.X(558), y, FileAndSize(font));
    printer.SetTextAlign(AlignBaseLeft);
    const double room = 558 - x - printer.TextWidth(FileAndSize(font)) - 12;
    PrintAt(printer, job.X(x), y, FitLabel(printer, font.DisplayName.trimmed(), room, 16, 11));

    const QString name = SelectFont(printer, font, 6);
    if (name.isEmpty()) {
        UseArial(printer, 12);
        PrintAt(printer, job.X(x), y + 28, SampleOrNotice(printer, name, 504, QString()));
        return;
    }
    static const int sizes[] = {6, 8, 10, 12, 14};
    static const int baselines[] = {16, 28, 43, 61, 82};
    for (int row = 0; row < 5; ++row) {
        UseArial(printer, 6);
        PrintAt(printer, job.X(x), y + baselines[row], QStringLiteral("%1 pts").arg(sizes[row]));
        UseFont(printer, name, font.DisplayName.trimmed(), sizes[row]);
        PrintAt(printer, job.X(x + 21), y + baselines[row],
                FitText(printer, 489, EntrySample(printer, font, cs.sample)));
    }

    UseFont(printer, name, font.DisplayName.trimmed(), 72);
    const QString pairs = cs.upperCase ? QStringLiteral("AA,BB,CC,XX,YY,ZZ")
                                       : QStringLiteral("AaBbCcXxYyZz");
    PrintAt(printer, job.X(x), y + 150, FitText(printer, 504, EntrySample(printer, font, pairs)));

    FontEnumerator styles(nullptr);
    styles.PresenceKind = PresenceKindOf(font.FontType);
    const QString family = font.FaceName.trimmed();
    struct Word {
        const char* text;
        bool bold, italic, present;
    };
    const Word words[] = {{"Normal", false, false, styles.HasRegular(family)},
                          {"Bold", true, false, styles.HasBold(family)},
                          {"Italic", false, true, styles.HasItalic(family)},
                          {"BoldItalic", true, true, styles.HasBoldItalic(family)}};
    // The words show the family's styles: each selected by family and style.
    SetPrinterFont(font.FaceName, font.AlternateName, printer);
    printer.SetFontSize(16);
    double pos = job.X(x);
    bool any = false;
    for (const Word& w : words) {
        if (!w.present)
            continue;
        printer.SetFontBold(w.bold);
        printer.SetFontItalic(w.italic);
        PrintAt(printer, any ? pos + 12 : pos, y + 192, QString::fromLatin1(w.text));
        pos = printer.CurrentX();
        any = true;
    }
    const double textX = any ? pos + 10 : pos;
    UseFont(printer, name, font.DisplayName.trimmed(), 16);
    PrintAt(printer, textX, y + 192,
            FitText(printer, 576 - 36 - textX,
                    QStringLiteral("The quick brown fox jumped over the lazy dogs")));
}

// ---- Six Up -------------------------------------------------------------------------

void SixUpPageFrame(PrintJob& job, const QString& title, const CatalogSettings& cs)
{
    PrinterSurface& printer = job.Printer;
    const bool letter = LetterPositions(printer);
    const double right = letter ? 558 : 540;
    const double bottomRule = letter ? 738 : 792;
    const double footerY = letter ? 750 : 804;
    PrintAt(printer, job.X(54), job.Y(50), FitLabel(printer, title, right - 54, 18, 11, true));
    printer.SetDrawWidth(6);
    printer.Line(job.X(54), job.Y(54), job.X(right), job.Y(54));
    printer.Line(job.X(54), job.Y(bottomRule), job.X(right), job.Y(bottomRule));
    UseArial(printer, 8);
    PrintAt(printer, job.X(54), job.Y(footerY), cs.footerLeft);
    printer.SetTextAlign(AlignBaseCentre);
    PrintAt(printer, job.X(letter ? 306 : 297), job.Y(footerY), PageLabel(job.Page));
    printer.SetTextAlign(AlignBaseRight);
    PrintAt(printer, job.X(right), job.Y(footerY), cs.footerRight);
    printer.SetTextAlign(AlignBaseLeft);
}

// Prints text from the baseline `first` in lines `pitch` apart, each the
// longest start that fits `width` (cut after a word where one ends), while a
// line's descent stays above `bottom`. Returns the last baseline printed, or
// first - pitch when nothing was.
double WrapText(PrintJob& job, const QString& fontName, double x, double first, double width,
                double pitch, double bottom, QString text, int maxLines)
{
    PrinterSurface& printer = job.Printer;
    printer.SetFontName(fontName);
    double baseline = first;
    double last = first - pitch;
    for (int lines = 0; lines < maxLines && !text.isEmpty(); ++lines) {
        if (baseline + printer.FontSize() * 0.25 > bottom)
            break;
        QString rest;
        const QString line = TakeLine(printer, text, width, &rest);
        if (line.isEmpty() && rest.isEmpty())
            break;
        PrintAt(printer, job.X(x), job.Y(baseline), line);
        text = rest;
        last = baseline;
        baseline += pitch;
    }
    return last;
}

void SixUpCell(PrintJob& job, const PrintFontEntry& font, double x, double y, double bottom,
               const QString& blockText, const QString& ladderText)
{
    PrinterSurface& printer = job.Printer;
    constexpr double width = 156;
    printer.Line(job.X(x), job.Y(y + 4), job.X(x + width), job.Y(y + 16), LineFilledBox);
    printer.SetForeColor(ColourWhite);
    PrintAt(printer, job.X(x + 2), job.Y(y + 14), FitLabel(printer, font.DisplayName.trimmed(), width - 4, 10, 8));
    printer.SetForeColor(ColourBlack);
    UseArial(printer, 6);
    const QString sizeText = font.SizeText.trimmed();
    printer.SetTextAlign(AlignBaseRight);
    PrintAt(printer, job.X(x + width), job.Y(y + 24), sizeText);
    printer.SetTextAlign(AlignBaseLeft);
    const double room = width - printer.TextWidth(sizeText) - 6;
    PrintAt(printer, job.X(x), job.Y(y + 24), ElideText(printer, font.FileName.trimmed(), room));

    const QString name = SelectFont(printer, font, 18);
    if (name.isEmpty()) {
        UseArial(printer, 8);
        WrapText(job, CaptionFont, x, y + 44, width, 10, bottom, UnprintableFaceText(), 4);
        return;
    }
    const double blockEnd =
        WrapText(job, name, x, y + 44, width, 22, bottom, blockText, 1000);

    // Every size gets the same number of lines, as many as the room below the
    // block allows, so the whole ladder shows.
    static const int sizes[] = {8, 10, 12, 14, 16};
    constexpr double rowGap = 3;
    double cursor = blockEnd + 8;
    double fixed = 0, pitches = 0;
    for (int s : sizes) {
        fixed += s * 1.25 + rowGap;
        pitches += s + 2;
    }
    const int lines = std::max(1, 1 + int(std::floor((bottom - cursor - fixed) / pitches)));
    for (int s : sizes) {
        const double first = cursor + s;
        if (first + s * 0.25 > bottom)
            break;
        UseArial(printer, 6);
        PrintAt(printer, job.X(x), job.Y(first), QStringLiteral("%1 pts").arg(s));
        UseFont(printer, name, font.DisplayName.trimmed(), s);
        const double last = WrapText(job, name, x + 27, first, 129, s + 2, bottom, ladderText, lines);
        cursor = last + s * 0.25 + rowGap;
    }
}

} // namespace

QStringList CatalogNames()
{
    return {QStringLiteral("Basic Catalog I"),      QStringLiteral("Basic Catalog II"),
            QStringLiteral("Two Column I"),         QStringLiteral("Two Column II"),
            QStringLiteral("Three Column Catalog"), QStringLiteral("Three Up Catalog"),
            QStringLiteral("Six Up Catalog"),       QStringLiteral("Bar Divided Catalog")};
}

QString FontCaption(const PrintFontEntry& font)
{
    const QString display = font.DisplayName.trimmed();
    QString name = display;
    switch (font.FontType) {
    case 1: {
        // A registration's name may carry a kind already; the caption names the file's own once.
        for (const QLatin1String kind : {QLatin1String(" (TrueType)"), QLatin1String(" (OpenType)")})
            if (name.endsWith(kind))
                name.chop(kind.size());
        name += " (" + FontKindWord(font.FontPath.isEmpty() ? font.FileName.trimmed() : font.FontPath) + ")";
        break;
    }
    case 2:
        name += QStringLiteral("  (Adobe Type 1)");
        break;
    case 3:
        name += QStringLiteral("  (Printer font)");
        break;
    default:
        break;
    }
    return name + QStringLiteral("  ") + font.FileName.trimmed() + QStringLiteral("  ")
           + font.SizeText.trimmed();
}

void BasicCatalogI(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                   const QString& title, const QString& folder)
{
    Q_UNUSED(folder);
    ColumnCatalog(printer, fonts, gauge, title, {54}, 504, 90);
}

void BasicCatalogII(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                    const QString& title, const QString& folder)
{
    PrintJob job(printer, gauge);
    job.Start();
    const CatalogSettings cs = ReadCatalogSettings();
    const double top = FontCatalogBlock(job, title, folder);
    printer.SetDrawWidth(3);
    double y = top;
    const int count = int(fonts.size());
    for (int i = 0; i < count; ++i) {
        const PrintFontEntry& font = fonts[size_t(i)];
        job.Progress(i, count);
        // Also when the next caption would reach the footer's rule.
        const double footerRule = CatalogFooterRule(printer, job.Top);
        const double captionEnd = y + SampleUnderCaption(cs.S, cs.C) + CaptionDrop(0.3 * cs.S, cs.C) + 0.25 * cs.C;
        if ((y >= printer.ScaleHeight() - 90 || captionEnd >= footerRule) && y > top) {
            CatalogFooter(printer, job.Left, job.Top, job.Page, cs.footerLeft, cs.footerRight);
            job.BreakPage();
            y = FontCatalogBlock(job, title, folder);
            printer.SetDrawWidth(3);
        }
        y += SampleUnderCaption(cs.S, cs.C);
        const QString name = SelectFont(printer, font, cs.S);
        PrintAt(printer, job.X(54), job.Y(y),
                SampleOrNotice(printer, name, 504, EntrySample(printer, font, cs.sample)));
        y += CaptionDrop(printer.FontDescent(), cs.C);
        PrintAt(printer, job.X(54), job.Y(y), CaptionText(printer, font, 504, cs.C));
    }
    CatalogFooter(printer, job.Left, job.Top, job.Page, cs.footerLeft, cs.footerRight);
    job.Finish();
}

void TwoColumnI(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                const QString& title, const QString& folder)
{
    Q_UNUSED(folder);
    ColumnCatalog(printer, fonts, gauge, title, {54, 324}, 234, 72);
}

void TwoColumnII(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                 const QString& title)
{
    PrintJob job(printer, gauge);
    job.Start();
    const CatalogSettings cs = ReadCatalogSettings();
    TwoColumnIIPageFrame(job, title, cs);
    double y = TwoColumnIITop;
    int column = 0;
    const double sampleDrop = cs.S + 8;  // from the line above to the sample's baseline
    const int count = int(fonts.size());
    for (int i = 0; i < count; ++i) {
        const PrintFontEntry& font = fonts[size_t(i)];
        job.Progress(i, count);
        const TwoColumnIIGeometry g = TwoColumnIIPaper(printer);
        // A font whose caption would pass the bottom limit goes to the next column.
        if (y + sampleDrop + CaptionDrop(0.3 * cs.S, cs.C) > g.bottom && y > TwoColumnIITop) {
            if (column == 0) {
                column = 1;
            } else {
                job.BreakPage();
                TwoColumnIIPageFrame(job, title, cs);
                column = 0;
            }
            y = TwoColumnIITop;
        }
        const double x = job.X(g.columns[column]);
        y += sampleDrop;
        const QString name = SelectFont(printer, font, cs.S);
        PrintAt(printer, x, job.Y(y),
                SampleOrNotice(printer, name, TwoColumnIIWidth, EntrySample(printer, font, cs.sample)));
        y += CaptionDrop(printer.FontDescent(), cs.C);
        PrintAt(printer, x, job.Y(y), CaptionText(printer, font, TwoColumnIIWidth, cs.C));
    }
    job.Finish();
}

void ThreeColumnCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                        const QString& title, const QString& folder)
{
    Q_UNUSED(folder);
    ColumnCatalog(printer, fonts, gauge, title, {54, 225, 396}, 161, 72);
}

void ThreeUpCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                    const QString& title)
{
    PrintJob job(printer, gauge);
    job.Start();
    const CatalogSettings cs = ReadCatalogSettings();
    const int count = int(fonts.size());
    for (int i = 0; i < count; ++i) {
        job.Progress(i, count);
        const int cell = i % 3;
        if (cell == 0) {
            if (i > 0) {
                // This layout never resets the printer.
                printer.NewPage();
                ++job.Page;
            }
            ThreeUpPageFrame(job, title, cs);
        }
        static const double letterY[] = {60, 288, 516};
        static const double a4Y[] = {60, 300, 540};
        const double y = LetterPositions(printer) ? letterY[cell] : a4Y[cell];
        ThreeUpCell(job, fonts[size_t(i)], 54, y, cs);
    }
    job.Finish();
}

void SixUpCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                  const QString& title)
{
    PrintJob job(printer, gauge);
    job.Start();
    const CatalogSettings cs = ReadCatalogSettings();
    QString letters = QStringLiteral("AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz"
                                     "0123456789!?,\"$&%{}*");
    QString paragraph = ParagraphOr(1, letters);
    if (cs.upperCase) {
        letters = letters.toUpper();
        paragraph = paragraph.toUpper();
    }
    // The 18-point block shows every letter and figure large enough to judge
    // the shapes; the ladder sets running text, which is what small sizes are for.
    const QString& blockText = letters;
    const QString& ladderText = paragraph;

    const int count = int(fonts.size());
    for (int i = 0; i < count; ++i) {
        job.Progress(i, count);
        const int cell = i % 6;
        if (cell == 0) {
            if (i > 0)
                job.BreakPage();
            SixUpPageFrame(job, title, cs);
        }
        const bool letter = LetterPositions(printer);
        static const double letterX[] = {54, 228, 402};
        static const double a4X[] = {54, 219, 384};
        const double x = letter ? letterX[cell % 3] : a4X[cell % 3];
        const double rowY[] = {54, letter ? 396.0 : 423.0};
        const double y = rowY[cell / 3];
        const double bottom = cell < 3 ? rowY[1] : (letter ? 738 : 792);
        SixUpCell(job, fonts[size_t(i)], x, y, bottom, blockText, ladderText);
    }
    job.Finish();
}

void BarDividedCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                       const QString& title, const QString& folder)
{
    Q_UNUSED(folder);
    PrintJob job(printer, gauge);
    job.Start();
    const CatalogSettings cs = ReadCatalogSettings();
    BarDividedHeader(job, cs.S, title);
    constexpr double top = 78;
    double y = top;
    const double entry = 2.0 * cs.S + 26;
    const int count = int(fonts.size());
    for (int i = 0; i < count; ++i) {
        job.Progress(i, count);
        if (CatalogFooterRule(printer, job.Top) <= y + entry && y > top) {
            CatalogFooter(printer, job.Left, job.Top, job.Page, cs.footerLeft, cs.footerRight);
            job.BreakPage();
            BarDividedHeader(job, cs.S, title);
            y = top;
        }
        BarEntry(job, fonts[size_t(i)], cs.S, y);
        y += entry;
    }
    CatalogFooter(printer, job.Left, job.Top, job.Page, cs.footerLeft, cs.footerRight);
    job.Finish();
}

bool PrintCatalogs(PrinterSurface& printer, const QString& layoutName, const PrintFontList& fonts,
                   const Gauge& gauge, const QString& title, const QString& folder)
{
    const QString name = layoutName.toUpper();
    if (!CatalogNames().contains(layoutName, Qt::CaseInsensitive))
        return false;
    printer.SetDocumentTitle(title.trimmed().isEmpty() ? layoutName : title.trimmed());
    if (name == QLatin1String("BASIC CATALOG I"))
        BasicCatalogI(printer, fonts, gauge, title, folder);
    else if (name == QLatin1String("BASIC CATALOG II"))
        BasicCatalogII(printer, fonts, gauge, title, folder);
    else if (name == QLatin1String("TWO COLUMN I"))
        TwoColumnI(printer, fonts, gauge, title, folder);
    else if (name == QLatin1String("TWO COLUMN II"))
        TwoColumnII(printer, fonts, gauge, title);
    else if (name == QLatin1String("THREE COLUMN CATALOG"))
        ThreeColumnCatalog(printer, fonts, gauge, title, folder);
    else if (name == QLatin1String("THREE UP CATALOG"))
        ThreeUpCatalog(printer, fonts, gauge, title);
    else if (name == QLatin1String("SIX UP CATALOG"))
        SixUpCatalog(printer, fonts, gauge, title);
    else  // the last of CatalogNames()
        BarDividedCatalog(printer, fonts, gauge, title, folder);
    return true;
}

} // namespace gw
