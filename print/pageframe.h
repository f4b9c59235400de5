#pragma once
// What every printed layout shares: the font entry it is given, positions on
// the physical sheet, the job start, progress, page breaks with the periodic
// printer reset, the catalog header and footer, and the font helpers.
#include <QSet>
#include <QString>
#include <functional>
#include <vector>

namespace gw {

class PrinterSurface;

// One font to print.
struct PrintFontEntry {
    QString FileName;       // printed lower-cased in some layouts
    QString SizeText;       // as the wizard's "Size" column shows it
    QString AlternateName;  // fallback face name; printed on the Bar Divided bar
    QString DisplayName;    // with its style words, e.g. "Arial Bold Italic"
    int FontType = 1;       // 1 TrueType, 2 Type 1, 3 printer font
    QString FaceName;       // the name the font is selected by
    QString Extra;
    QString FontPath;       // the font file itself, when known: the face is drawn from it
    int FaceIndex = 0;      // the face's number in the file (a collection's)
};
using PrintFontList = std::vector<PrintFontEntry>;

// The font of captions, headers and notices, and of a surface before any is set.
extern const QString CaptionFont;

// Draws the progress gauge at percent (0..100).
using Gauge = std::function<void(int percent)>;

// Half the unprintable width / height of the sheet, in whole points.
// LeftOffset leaves the scale mode in twips, as measuring needs.
double LeftOffset(PrinterSurface& printer);
double TopOffset(PrinterSurface& printer);

// Bold and italic off, then the trimmed face name; the trimmed fallback when
// refused; "Arial" (font unchanged) when both are refused. Returns the name set.
QString SetPrinterFont(const QString& faceName, const QString& fallbackName,
                       PrinterSurface& printer);
// The font of an entry, upright and not bold, before the size is set: its own
// face from its file when the entry names one, else by face name (then the
// fallback, then "Arial") with bold and italic from the display name. Returns
// the name that selects it again; empty when the face cannot be drawn as itself.
QString SelectEntryFont(PrinterSurface& printer, const PrintFontEntry& font);
// What a layout prints in place of a face that cannot be printed.
QString UnprintableFaceText();
// Bold/italic from the style words of a name ("BOLD", "ITALIC", "OBLIQUE").
void ApplyStyle(PrinterSurface& printer, const QString& name);
// The longest start of text (at most 300 characters) narrower than maxWidth in
// the printer's current font, size, bold and italic.
QString FitText(PrinterSurface& printer, double maxWidth, const QString& text);

// Text shortened to maxWidth in the current font after its last whole word
// that fits, with an ellipsis (within a word only when the first is too long).
QString ElideText(PrinterSurface& printer, const QString& text, double maxWidth);
// Text in Arial, bold as asked, at the largest size from `largest` down to
// `smallest` at which it fits maxWidth (points), else elided at `smallest`.
// Leaves that font selected; returns the text to print.
QString FitLabel(PrinterSurface& printer, const QString& text, double maxWidth, double largest,
                 double smallest, bool bold = false);
// A caption of `captionSize` under a line whose font reaches `descent` below
// its baseline: the caption's baseline this far below the line's, so that no
// descender touches the caption.
double CaptionDrop(double descent, double captionSize);
// The baseline of a sample of `size` under a caption of `captionSize`: the
// sample's ascenders (0.8 of its size) a point below the caption's descenders.
double SampleUnderCaption(double size, double captionSize);

// Arial at a size, upright, bold as asked.
void UseArial(PrinterSurface& printer, double size, bool bold = false);
// A font selected before, again, at a size and in the style of a display name.
void UseFont(PrinterSurface& printer, const QString& name, const QString& displayName,
             double size);
// Text at a drawing position.
void PrintAt(PrinterSurface& printer, double x, double y, const QString& text);
// The start of text that fits maxWidth in the current font, broken at a blank
// where one allows it and always at a line break ("\n"); the rest goes to rest.
// Empty for an empty line, and (with rest empty) when not even one character fits.
QString TakeLine(PrinterSurface& printer, const QString& text, double maxWidth, QString* rest);

// The sample-text choice list: 0 letters, 1 digits, 2 symbols, 3..12 the keys
// "Quote1".."Quote10" of section "Quotes"; anything else empty.
QString SampleTextChoice(int index);
// The paragraph text n (1 or 2) of the program folder; fallback when its file
// is missing or empty, so a sheet never prints empty sample lines.
QString ParagraphOr(int n, const QString& fallback);

// The catalogs' sample text: "QuoteIndex" of "Inventory", upper-cased when
// "UpperCase" of "SpecSheets" is 1.
QString CatalogSampleText();

// The sample as a font can show it: the sample itself when the font maps at
// least half of its characters (or its map is not known), else as many of the
// font's own letters and figures in code order (without any, its other visible
// characters), so that a font of another script shows its own glyphs.
QString SampleInOwnCharacters(const QString& sample, const QSet<uint>& mapped);
// The same for the face of an entry, selected on the printer: its file's map is
// read (and not kept) only when the printer lacks most of a few sample characters.
QString EntrySample(PrinterSurface& printer, const PrintFontEntry& font, const QString& sample);

// The paper codes the layouts know: letter (1, 2, 18) and A4 (9, 10).
bool PaperSizeAccepted(int paperCode);
// The refusal shown for any other paper.
QString PaperSizeMessage();
// false (after the message box) when the printer's paper is not accepted.
bool CheckPaperSize(PrinterSurface& printer);

// Lets pending window events run, as long jobs do so their window repaints;
// does nothing while a QuietPrinting lives.
void YieldToEvents();
// Drawing a picture from inside a window event must not run other events.
class QuietPrinting {
public:
    QuietPrinting();
    ~QuietPrinting();
    QuietPrinting(const QuietPrinting&) = delete;
    QuietPrinting& operator=(const QuietPrinting&) = delete;
};

// The state of one print job: offsets, page counter, printer reset and progress.
// How many pages a print job holds before it is ended and the next begins
// ("EndDoc" of "Inventory", 3 if unset, every page if below 1).
int PagesPerDocument();

class PrintJob {
public:
    PrintJob(PrinterSurface& printer, const Gauge& gauge);

    // Portrait, the opening empty text, offsets, points, transparent background,
    // baseline alignment; reads PagesPerDocument().
    void Start();
    // Before font `index` of a list of `count`: yields to pending events and
    // draws the gauge at multiples of 5 %.
    void Progress(int index, int count);
    // Ends the page: EndDoc every ResetEvery pages, else NewPage; then yields,
    // counts the page, opens the next page (empty text, points, alignment 24).
    void BreakPage();
    // Ends the document.
    void Finish();

    // A sheet position as a drawing position.
    double X(double sheetX) const { return sheetX - Left; }
    double Y(double sheetY) const { return sheetY - Top; }

    PrinterSurface& Printer;
    double Left = 0;
    double Top = 0;
    int Page = 1;
    int ResetEvery = 3;

private:
    Gauge gauge_;
};

// Title in Arial 16 bold at (54, 72), "<size> Points" right-aligned at 558, a
// 6-pixel rule from (54, 78), 504 points long. The first font line is at S + 82.
void CatalogHeader(PrinterSurface& printer, int pointSize, const QString& title, double left,
                   double top);
// The footer one inch above the bottom of the sheet: rule, left and right text, "-n-".
// Its rule is at CatalogFooterRule, a printable-area position.
double CatalogFooterRule(PrinterSurface& printer, double top);
void CatalogFooter(PrinterSurface& printer, double left, double top, int page,
                   const QString& leftText, const QString& rightText);

} // namespace gw
