#include "print/sheets.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <vector>

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/linuxtexts.h"
#include "core/settings.h"
#include "print/embedding.h"
#include "print/printer.h"

namespace gw {

namespace {

const QString kSpecSheets = QStringLiteral("SpecSheets");
const QString kDigits = QStringLiteral("1234567890");

bool UpperCaseSamples()
{
    return ReadIniInt(kSpecSheets, QStringLiteral("UpperCase"), 0, IniFile) == 1;
}

QString Cased(const QString& text)
{
    return UpperCaseSamples() ? text.toUpper() : text;
}

QString SheetQuotation()
{
    return Cased(SampleTextChoice(ReadIniInt(kSpecSheets, QStringLiteral("QuoteIndex"), 1, IniFile)));
}

QString SheetHeader()
{
    return ReadIniString(kSpecSheets, QStringLiteral("Header"), QString(), IniFile);
}

QString CodeText(int code)
{
    return QString(Cp1252Char(code));
}

QString LetterPair(int i)
{
    return QString(QChar('A' + i)) + QChar('a' + i);
}

// The size text of the information lines, followed by the file's embedding rights.
QString SizeAndEmbedding(const PrintFontEntry& font)
{
    const QString note = EmbeddingNote(font);
    return font.SizeText.trimmed() + (note.isEmpty() ? QString() : QStringLiteral("  ") + note);
}

// One sheet being drawn: the job's offsets, the selected font and the page box
// the free layouts keep to (letter coordinates for paper code 1, else A4).
class Sheet {
public:
    Sheet(PrinterSurface& printer, const PrintFontEntry& font)
        : p(printer), job(printer, Gauge()), display(font.DisplayName.trimmed()),
          file(font.FileName.trimmed()), size(SizeAndEmbedding(font)),
          right(printer.PaperSize() == PaperLetter ? 558 : 541), bottom(printer.PaperSize() == PaperLetter ? 738 : 788)
    {
        job.Start();
        face = SelectEntryFont(p, font);
        if (face.isEmpty()) {  // PrintSheets prints no sheet of such a face
            face = CaptionFont;
            p.SetFontName(face);
        }
    }

    void UseArial(double points, bool bold = false) { gw::UseArial(p, points, bold); }
    void UseFont(double points) { gw::UseFont(p, face, display, points); }
    void Align(int align) { p.SetTextAlign(align); }
    // Text at a position on the sheet.
    void TextAt(double x, double y, const QString& text) { PrintAt(p, job.X(x), job.Y(y), text); }
    void RuleAt(double x1, double y1, double x2, double y2, int width)
    {
        p.SetDrawWidth(width);
        p.SetDrawStyle(0);
        p.Line(job.X(x1), job.Y(y1), job.X(x2), job.Y(y2), LinePlain, ColourBlack);
    }
    double Width(const QString& text) { return p.TextWidth(text); }
    double ContentWidth() const { return right - left; }

    PrinterSurface& p;
    PrintJob job;
    QString face;  // the name the font was selected by
    QString display;
    QString file;
    QString size;
    const double left = 54;
    const double right, bottom;  // by the paper
};

// The file name and size of a name block in at most half the line, so the
// display name keeps the other half; a long file name gives way, the size not.
QString FileInfo(Sheet& s, const QString& fileName, double lineWidth)
{
    const QString tail = QStringLiteral("  ") + s.size;
    return ElideText(s.p, fileName, lineWidth / 2 - s.Width(tail)) + tail;
}

// Sheets 2 to 5 share one frame: name block with a rule under it at the top,
// a rule and the Header text at the bottom. Returns the lowest baseline the
// content may use; text is left aligned on its baseline after it.
constexpr double kHeadRule = 78;
constexpr double kLabelColumn = 74;  // labels left, samples from here

double FreeFrame(Sheet& s)
{
    s.Align(AlignBaseRight);
    s.UseArial(9, true);
    const QString style = StyleLabel(s.display);
    double infoWidth = s.Width(style);
    s.TextAt(s.right, 56, style);
    s.UseArial(9);
    const QString info = FileInfo(s, s.file, s.ContentWidth());
    infoWidth = std::max(infoWidth, s.Width(info));
    s.TextAt(s.right, 70, info);

    s.Align(AlignBaseLeft);
    s.TextAt(s.left, 70, FitLabel(s.p, s.display, s.ContentWidth() - infoWidth - 18, 18, 12, true));
    s.RuleAt(s.left, kHeadRule, s.right, kHeadRule, 6);

    const double footRule = s.bottom - 18;
    s.RuleAt(s.left, footRule, s.right, footRule, 6);
    s.UseArial(8);
    s.TextAt(s.left, s.bottom - 8, SheetHeader());
    return footRule - 12;
}

// Baseline distance from a line at `previous` points to one at `current`
// points: room for the descenders above and the capitals and accents below.
double Pitch(double previous, double current, double gap)
{
    return 0.22 * previous + 0.8 * current + gap;
}

// The same set solid, for sheets that must hold many large lines.
double TightPitch(double previous, double current)
{
    return 0.2 * previous + 0.76 * current + 2;
}


// "Characters in Font (18 Point)": alphabets, figures and the two symbol rows.
constexpr double kCharactersLead = 24;
constexpr double kCharactersPitch = 22;
constexpr double kCharactersHeight = kCharactersLead + 4 * kCharactersPitch + 5;

double CharactersBlock(Sheet& s, double y)
{
    s.Align(AlignBaseLeft);
    s.UseArial(12, true);
    s.TextAt(s.left, y, QStringLiteral("Characters in Font (18 Point)"));
    const QString rows[] = {
        Cased(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")),
        Cased(QStringLiteral("abcdefghijklmnopqrstuvwxyz")),
        kDigits,
        QStringLiteral("` ~ ! @ # % ^ * ( ) _ +"),
        QStringLiteral("| \\ = - , . ? ' '"),
    };
    s.UseFont(18);
    y += kCharactersLead;
    for (const QString& row : rows) {
        s.TextAt(s.left + kLabelColumn, y, FitText(s.p, s.right - s.left - kLabelColumn, row));
        y += kCharactersPitch;
    }
    return y - kCharactersPitch;
}

// Baselines of rows whose minimum distances are given, spread by up to
// `spreadCap` points each when the page leaves room above `limit`.
std::vector<double> Spread(double first, const std::vector<double>& pitches, double limit,
                           double spreadCap)
{
    double total = 0;
    for (double d : pitches)
        total += d;
    double extra = 0;
    if (!pitches.empty() && first + total < limit)
        extra = std::min(spreadCap, (limit - first - total) / double(pitches.size()));
    std::vector<double> y{first};
    for (double d : pitches)
        y.push_back(y.back() + d + extra);
    return y;
}

// One keyboard key: width in key units, the unshifted and shifted characters,
// or the name of a function key; a gap draws nothing.
struct Key {
    double units;
    const char* lower;
    const char* upper;
    const char* name;
};

const std::vector<std::vector<Key>>& KeyboardRows()
{
    static const std::vector<std::vector<Key>> rows = {
        {{1, "`", "~", nullptr}, {1, "1", "!", nullptr}, {1, "2", "@", nullptr},
         {1, "3", "#", nullptr}, {1, "4", "$", nullptr}, {1, "5", "%", nullptr},
         {1, "6", "^", nullptr}, {1, "7", "&", nullptr}, {1, "8", "*", nullptr},
         {1, "9", "(", nullptr}, {1, "0", ")", nullptr}, {1, "-", "_", nullptr},
         {1, "=", "+", nullptr}, {2, nullptr, nullptr, "BKSP"}},
        {{1.5, nullptr, nullptr, "Tab"}, {1, "q", "Q", nullptr}, {1, "w", "W", nullptr},
         {1, "e", "E", nullptr}, {1, "r", "R", nullptr}, {1, "t", "T", nullptr},
         {1, "y", "Y", nullptr}, {1, "u", "U", nullptr}, {1, "i", "I", nullptr},
         {1, "o", "O", nullptr}, {1, "p", "P", nullptr}, {1, "[", "{", nullptr},
         {1, "]", "}", nullptr}, {1.5, "\\", "|", nullptr}},
        {{1.75, nullptr, nullptr, "Caps"}, {1, "a", "A", nullptr}, {1, "s", "S", nullptr},
         {1, "d", "D", nullptr}, {1, "f", "F", nullptr}, {1, "g", "G", nullptr},
         {1, "h", "H", nullptr}, {1, "j", "J", nullptr}, {1, "k", "K", nullptr},
         {1, "l", "L", nullptr}, {1, ";", ":", nullptr}, {1, "'", "\"", nullptr},
         {2.25, nullptr, nullptr, "Return"}},
        {{2.25, nullptr, nullptr, "Shift"}, {1, "z", "Z", nullptr}, {1, "x", "X", nullptr},
         {1, "c", "C", nullptr}, {1, "v", "V", nullptr}, {1, "b", "B", nullptr},
         {1, "n", "N", nullptr}, {1, "m", "M", nullptr}, {1, ",", "<", nullptr},
         {1, ".", ">", nullptr}, {1, "/", "?", nullptr}, {2.75, nullptr, nullptr, "Shift"}},
        {{1.5, nullptr, nullptr, "Ctrl"}, {1, nullptr, nullptr, nullptr},
         {1.5, nullptr, nullptr, "Alt"}, {7, "", "", nullptr}, {1.5, nullptr, nullptr, "Alt"},
         {1, nullptr, nullptr, nullptr}, {1.5, nullptr, nullptr, "Ctrl"}},
    };
    return rows;
}

bool IsGap(const Key& k)
{
    return !k.lower && !k.name;
}

} // namespace

QStringList SheetNames()
{
    return {QStringLiteral("Specimen Sheet I"),   QStringLiteral("Specimen Sheet II"),
            QStringLiteral("Specimen Sheet III"), QStringLiteral("Specimen Sheet IV"),
            QStringLiteral("Keyboard Chart"),     QStringLiteral("ANSI Chart"),
            QStringLiteral("Character Set"),      QStringLiteral("72 Point Set")};
}

QString StyleLabel(const QString& displayName)
{
    const QString upper = displayName.toUpper();
    const bool bold = upper.contains(QLatin1String("BOLD"));
    const bool italic = upper.contains(QLatin1String("ITALIC"));
    if (bold && italic)
        return QStringLiteral("BOLD ITALIC");
    if (bold)
        return QStringLiteral("BOLD");
    if (italic || upper.contains(QLatin1String("OBLIQUE")))
        return QStringLiteral("ITALIC");
    return QStringLiteral("Regular");
}

double FitSize(PrinterSurface& printer, const QString& text, double startSize, double maxWidth)
{
    double size = startSize;
    for (;;) {
        printer.SetFontSize(size);
        if (printer.TextWidth(text) < maxWidth || size <= 1)
            return size;
        size -= 1;
    }
}

void SpecimenSheetI(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);

    s.RuleAt(54, 54, 558, 54, 5);
    s.RuleAt(558, 54, 558, 108, 5);
    s.RuleAt(558, 108, 54, 108, 5);
    s.RuleAt(54, 108, 54, 54, 5);
    s.RuleAt(72, 54, 72, 108, 5);
    s.RuleAt(540, 54, 540, 108, 5);

    s.Align(AlignBaseCentre);
    // Kept between the inner rules at 72 and 540.
    s.UseArial(20, true);
    s.TextAt(306, 78, FitLabel(s.p, s.display, 460, 20, 12, true));
    s.UseArial(10);
    s.TextAt(306, 96, ElideText(s.p, s.file + QStringLiteral("  ") + s.size, 460));

    s.Align(AlignBaseLeft);
    s.UseArial(14);
    s.TextAt(64, 144, QStringLiteral("24 point alphabet, symbol, & numeral sample"));

    s.UseFont(24);
    static const double columns[] = {73, 144, 216, 288, 360, 432};
    for (int i = 0; i < 26; ++i) {
        const int row = i / 6;
        const int column = i % 6;
        if (column == 0)
            YieldToEvents();
        s.TextAt(columns[column], 180 + 36 * row, LetterPair(i));
    }
    s.TextAt(216, 324, kDigits);
    s.TextAt(72, 360, QStringLiteral("!@#$%&*()\"?.,"));

    s.UseArial(14);
    s.TextAt(54, 440, QStringLiteral("Point Size Samples"));

    const QString quotation = SheetQuotation();
    static const int sizes[] = {8, 10, 12, 14, 18, 24, 30, 36, 48};
    static const int steps[] = {0, 12, 15, 18, 21, 27, 36, 45, 52};
    double y = 460;
    for (int i = 0; i < 9; ++i) {
        y += steps[i];
        s.UseArial(8);
        s.TextAt(72, y, QStringLiteral("%1 point").arg(sizes[i]));
        s.UseFont(sizes[i]);
        const QString line = FitText(s.p, 450, EntrySample(s.p, font, quotation));
        s.p.SetCurrent(90, s.job.Y(y));  // x in the printable area
        s.p.Print(line);
    }

    s.UseArial(8);
    s.TextAt(54, 720, SheetHeader());
}

void SpecimenSheetII(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);
    const double limit = FreeFrame(s);
    const double column = s.left + kLabelColumn;
    const double width = s.right - column;

    s.UseArial(14, true);
    s.TextAt(s.left, 104, QStringLiteral("Specimen Alphabet"));

    const QString alphabet[] = {QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                                QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
                                QStringLiteral("1234567890 !@#$%^&*()-")};
    s.UseFont(36);
    double big = 36;
    for (const QString& line : alphabet)
        big = std::min(big, FitSize(s.p, line, 36, width));
    double y = 104 + 10 + 0.75 * big;
    s.UseArial(7);
    s.TextAt(s.left, y, QStringLiteral("Sample Alphabet"));
    s.UseFont(big);
    for (int i = 0; i < 3; ++i) {
        if (i)
            y += 1.15 * big;
        s.TextAt(column, y, alphabet[i]);
    }

    const QString paragraph = ParagraphOr(1, Cased(SampleTextChoice(0)));

    static const int sizes[] = {6, 8, 9, 10, 11, 12, 18, 24, 30};
    double previous = big;
    for (int size : sizes) {
        y += Pitch(previous, size, 9);
        s.UseArial(7);
        s.TextAt(s.left, y, QStringLiteral("%1 points").arg(size));
        s.UseFont(size);
        QString rest;
        s.TextAt(column, y, TakeLine(s.p, paragraph, width, &rest));
        if (size <= 12) {
            y += 1.2 * size;
            QString unused;
            s.TextAt(column, y, TakeLine(s.p, rest, width, &unused));
        }
        previous = size;
    }

    y += Pitch(previous, 14, 14);
    s.UseArial(7);
    s.TextAt(s.left, y, QStringLiteral("14 Points"));
    s.UseFont(14);
    QString text = paragraph;
    while (!text.isEmpty() && y <= limit) {
        QString rest;
        s.TextAt(column, y, TakeLine(s.p, text, width, &rest));
        text = rest;
        y += 17;
    }
}

void SpecimenSheetIII(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);
    const double limit = FreeFrame(s);
    const QString quotation = SheetQuotation();

    static const int sizes[] = {48, 36, 30, 24, 18, 14, 12, 10};
    std::vector<double> pitches;
    for (int i = 1; i < 8; ++i)
        pitches.push_back(Pitch(sizes[i - 1], sizes[i], 10));
    pitches.push_back(Pitch(sizes[7], 12, 30));  // to the characters heading
    const std::vector<double> y =
        Spread(kHeadRule + 22 + 0.78 * 48, pitches, limit - kCharactersHeight, 16);

    for (int i = 0; i < 8; ++i) {
        s.UseArial(6);
        s.TextAt(s.left, y[i], QStringLiteral("%1 Point").arg(sizes[i]));
        s.UseFont(sizes[i]);
        s.TextAt(s.left + kLabelColumn, y[i], FitText(s.p, 430, quotation));
    }
    CharactersBlock(s, y[8]);
}

void SpecimenSheetIV(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);
    const double limit = FreeFrame(s);
    const double column = s.left + kLabelColumn;
    const double width = s.right - column;

    QStringList quotes;
    for (int i = 1; i <= 8; ++i)
        quotes << Cased(ReadIniString(QStringLiteral("Quotes"), QStringLiteral("Quote%1").arg(i),
                                      QString(), IniFile));
    // With no quotation written yet the lines show the alphabet rather than nothing.
    if (quotes.join(QString()).isEmpty())
        quotes[0] = Cased(SampleTextChoice(0));

    s.UseArial(12, true);
    s.TextAt(s.left, 96, QStringLiteral("60 Point Figures"));
    s.UseFont(60);
    const double figures = FitSize(s.p, kDigits, 60, width);

    static const int sizes[] = {72, 60, 48, 42, 36, 30, 24, 18, 14, 12, 10, 8, 6};
    std::vector<double> pitches;
    pitches.push_back(0.22 * figures + 0.76 * 72 + 4);
    for (int i = 1; i < 13; ++i)
        pitches.push_back(TightPitch(sizes[i - 1], sizes[i]));
    pitches.push_back(Pitch(sizes[12], 12, 16));
    const std::vector<double> y =
        Spread(96 + 6 + 0.75 * figures, pitches, limit - kCharactersHeight, 6);

    s.UseFont(figures);
    s.TextAt(column, y[0], kDigits);

    // The sample lines take the quotations in turn, passing over empty ones.
    int next = 0;
    for (int i = 0; i < 13; ++i) {
        QString quote;
        for (int tries = 0; tries < 8 && quote.isEmpty(); ++tries)
            quote = quotes[next++ % 8];
        s.UseArial(6);
        s.TextAt(s.left, y[i + 1], QStringLiteral("%1 Point").arg(sizes[i]));
        s.UseFont(sizes[i]);
        s.TextAt(column, y[i + 1], FitText(s.p, width, EntrySample(s.p, font, quote)));
    }
    CharactersBlock(s, y[14]);
}

void KeyboardChart(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);
    const double limit = FreeFrame(s);
    const double unit = s.ContentWidth() / 15;
    const double keyTop = 100;
    const double keySize = std::round(unit * 0.32);

    for (int r = 0; r < int(KeyboardRows().size()); ++r) {
        const double y = keyTop + r * unit;
        double x = s.left;
        for (const Key& k : KeyboardRows()[r]) {
            const double w = k.units * unit;
            if (!IsGap(k)) {
                s.p.SetDrawWidth(3);
                s.p.SetDrawStyle(0);
                s.p.Line(s.job.X(x + 1.5), s.job.Y(y + 1.5), s.job.X(x + w - 1.5),
                         s.job.Y(y + unit - 1.5), LineBox, ColourBlack);
            }
            if (k.name) {
                const bool tab = QLatin1String(k.name) == QLatin1String("Tab");
                s.UseArial(tab ? 14 : 8);
                s.TextAt(x + 5, y + (tab ? 0.68 : 0.84) * unit, QLatin1String(k.name));
            } else if (k.lower && *k.lower) {
                s.UseFont(keySize);
                s.TextAt(x + 5, y + 0.42 * unit, QLatin1String(k.upper));
                s.TextAt(x + 5, y + 0.84 * unit, QLatin1String(k.lower));
            }
            x += w;
        }
    }

    const double titleY = keyTop + 5 * unit + 32;
    s.UseArial(12, true);
    s.TextAt(s.left, titleY, ForLinux(QStringLiteral("Windows ANSI Extended Character Set (Alt + 0 +...)")));
    s.RuleAt(s.left, titleY + 6, s.right, titleY + 6, 2);

    std::vector<int> codes;
    for (int code = 128; code <= 255; ++code)
        if (code != 129 && code != 141 && code != 143 && code != 144 && code != 157)
            codes.push_back(code);
    const int columns = 8;
    const int rows = (int(codes.size()) + columns - 1) / columns;
    const double first = titleY + 28;
    const double pitch = std::min(26.0, (limit - first) / (rows - 1));
    const double columnWidth = s.ContentWidth() / columns;
    const double charSize = std::min(16.0, std::floor(pitch * 0.62));
    for (int i = 0; i < int(codes.size()); ++i) {
        const double x = s.left + (i / rows) * columnWidth;
        const double y = first + (i % rows) * pitch;
        s.Align(AlignBaseCentre);
        s.UseFont(charSize);
        s.TextAt(x + 14, y, CodeText(codes[i]));
        s.Align(AlignBaseLeft);
        s.UseArial(9);
        s.TextAt(x + 30, y, QStringLiteral("0%1").arg(codes[i]));
    }
}

void AnsiChart(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);

    // Name block, laid out in inches: name at 1", the Header text at 1.25".
    s.Align(AlignBaseRight);
    s.UseArial(8);
    const QString info = FileInfo(s, s.file, s.ContentWidth());
    const double infoWidth = s.Width(info);
    s.TextAt(s.right, 72, info);
    s.Align(AlignBaseLeft);
    s.TextAt(s.left, 72, FitLabel(s.p, s.display, s.ContentWidth() - infoWidth - 18, 18, 12, true));
    s.UseArial(8);
    s.TextAt(s.left, 90, SheetHeader());

    const double gridTop = 108;
    const double rowHeight = (s.bottom - gridTop) / 45;
    const double columnWidth = s.ContentWidth() / 6;
    const double codeWidth = std::round(columnWidth * 0.42);

    for (int c = 0; c < 6; ++c) {
        const int start = 2 + 45 * c;
        const int count = std::min(45, 256 - start);
        const double x = s.left + c * columnWidth;
        const double bottom = gridTop + count * rowHeight;
        for (int r = 0; r <= count; ++r) {
            const double y = gridTop + r * rowHeight;
            s.RuleAt(x, y, x + columnWidth, y, 4);
        }
        s.RuleAt(x, gridTop, x, bottom, 4);
        s.RuleAt(x + codeWidth, gridTop, x + codeWidth, bottom, 4);
        s.RuleAt(x + columnWidth, gridTop, x + columnWidth, bottom, 4);

        for (int r = 0; r < count; ++r) {
            const int code = start + r;
            const double y = gridTop + r * rowHeight;
            s.Align(AlignBaseRight);
            s.UseArial(9);
            s.TextAt(x + codeWidth - 5, y + (rowHeight + 6.5) / 2, QString::number(code));
            s.UseFont(12);
            if (s.p.HasGlyph(code)) {
                s.Align(AlignBaseCentre);
                s.TextAt(x + (codeWidth + columnWidth) / 2, y + (rowHeight + 8.6) / 2,
                         CodeText(code));
            } else {
                s.p.SetFillColor(ColourBlack);
                s.p.SetFillStyle(FillDiagonalCross);
                s.p.SetDrawWidth(4);
                s.p.Line(s.job.X(x + codeWidth), s.job.Y(y), s.job.X(x + columnWidth),
                         s.job.Y(y + rowHeight), LineBox, ColourBlack);
                s.p.SetFillStyle(FillTransparent);
            }
        }
    }
    s.Align(AlignBaseLeft);
}

void CharacterSet(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);
    // x positions of this sheet are in the printable area; y on the sheet.
    auto at = [&s](double x, double y, const QString& text) {
        s.p.SetCurrent(x, s.job.Y(y));
        s.p.Print(text);
    };

    static const double columns[] = {70, 106, 146, 182, 218, 254, 290,
                                     326, 362, 398, 434, 470, 506};
    s.Align(AlignBaseCentre);
    for (int code = 0; code <= 255; ++code) {
        if (code == 8 || code == 9 || code == 10 || code == 12 || code == 13 || code == 14)
            continue;
        const double x = columns[code / 20];
        const double y = 72 + 32 * (code % 20);
        s.UseFont(20);
        at(x, y, CodeText(code));
        s.UseArial(4);
        at(x, y + 8, QString::number(code));
    }

    s.Align(AlignBaseRight);
    s.UseArial(10, true);
    const QString info = FileInfo(s, s.file, 450);
    const double infoWidth = s.Width(info);
    at(510, 45, info);
    s.Align(AlignBaseLeft);
    at(60, 45, FitLabel(s.p, s.display, 450 - infoWidth - 12, 18, 12, true));
    s.p.SetDrawWidth(8);
    s.p.SetDrawStyle(0);
    s.p.Line(60, s.job.Y(50), 60 + 450, s.job.Y(50), LinePlain, ColourBlack);

    s.UseArial(8);
    s.p.SetScaleMode(ScaleCentimetres);
    s.p.SetCurrent(1.75, 24.5);
    s.p.Print(SheetHeader());
    s.p.SetScaleMode(ScalePoints);
}

void SeventyTwoPointSet(PrinterSurface& printer, const PrintFontEntry& font)
{
    Sheet s(printer, font);
    const bool upper = UpperCaseSamples();
    auto pair = [upper](int i) { return upper ? LetterPair(i).toUpper() : LetterPair(i); };

    // Four columns across the sheet's width (on Letter centred on 117, 243, 369
    // and 495; A4 is narrower); a font whose widest pair would reach the next
    // column is set smaller, so that pairs never touch.
    const double pitch = s.ContentWidth() / 4;
    double points = 72;
    s.UseFont(points);
    double widest = 0;
    for (int i = 0; i < 26; ++i)
        widest = std::max(widest, s.Width(pair(i)));
    constexpr double gap = 9;
    if (widest > pitch - gap) {
        points = std::max(8.0, std::floor(points * (pitch - gap) / widest));
        s.UseFont(points);
    }
    auto column = [&](int c) { return s.left + pitch * (c + 0.5); };

    s.Align(AlignBaseCentre);
    for (int i = 0; i < 24; ++i)
        s.TextAt(column(i % 4), 120 + 80 * (i / 4), pair(i));
    s.TextAt(column(1), 600, pair(24));
    s.TextAt(column(2), 600, pair(25));
    s.TextAt(s.left + s.ContentWidth() / 2, 680, kDigits);

    const double line = s.ContentWidth();
    s.Align(AlignBaseRight);
    s.UseArial(10);
    const QString info = FileInfo(s, s.file, line);
    const double infoWidth = s.Width(info);
    s.TextAt(s.right, 50, info);
    s.Align(AlignBaseLeft);
    const QString pointsText = QStringLiteral("  (%1 points)").arg(points);
    const double pointsWidth = s.Width(pointsText);
    s.TextAt(s.left, 50, FitLabel(s.p, s.display, line - infoWidth - pointsWidth - 12, 18, 12, true));
    s.UseArial(10);
    s.p.Print(pointsText);  // on the same line, after the name
    s.RuleAt(s.left, 54, s.right, 54, 8);
    s.RuleAt(s.left, 720, s.right, 720, 8);
    s.UseArial(8);
    s.TextAt(s.left, 730, SheetHeader());
}

// The one page of a font whose face cannot be printed: its name and why.
void UnprintablePage(PrinterSurface& printer, const PrintFontEntry& font)
{
    PrintJob job(printer, Gauge());
    job.Start();
    PrintAt(printer, job.X(54), job.Y(70), FitLabel(printer, font.DisplayName.trimmed(), 504, 18, 12, true));
    PrintAt(printer, job.X(54), job.Y(88),
            FitLabel(printer, font.FileName.trimmed() + QStringLiteral("  ") + font.SizeText.trimmed(), 504, 10, 8));
    PrintAt(printer, job.X(54), job.Y(120), FitLabel(printer, UnprintableFaceText(), 504, 12, 8));
}

void PrintSheets(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                 const std::array<bool, 8>& checked,
                 const std::function<void(const QString&)>& status,
                 const std::array<int, 8>& order)
{
    using Routine = void (*)(PrinterSurface&, const PrintFontEntry&);
    static const Routine routines[8] = {SpecimenSheetI, SpecimenSheetII, SpecimenSheetIII,
                                        SpecimenSheetIV, KeyboardChart,  AnsiChart,
                                        CharacterSet,   SeventyTwoPointSet};
    if (status)
        status(QStringLiteral("Printing..."));
    if (gauge)
        gauge(0);
    const int resetEvery = PagesPerDocument();

    const int sheets = int(std::count(checked.begin(), checked.end(), true));
    QStringList names;
    for (size_t i = 0; i < checked.size(); ++i)
        if (checked[i])
            names << SheetNames().value(int(i));
    printer.SetDocumentTitle(names.join(QStringLiteral(", ")));
    const int total = int(fonts.size()) * sheets;
    int page = 0;
    bool pending = false;
    for (const PrintFontEntry& font : fonts) {
        const bool printable = font.FontPath.isEmpty() || !printer.SetFontFace(font.FontPath, font.FaceIndex).isEmpty();
        for (const int i : order) {
            if (!checked[size_t(i)])
                continue;
            ++page;
            if (pending)
                printer.NewPage();
            if (printable)
                routines[i](printer, font);
            else
                UnprintablePage(printer, font);
            if (page % resetEvery == 0) {
                printer.EndDoc();
                pending = false;
            } else {
                pending = true;
            }
            if (gauge)
                gauge(int(std::nearbyint(double(page) / total * 100)));
            YieldToEvents();
            if (!printable)
                break;
        }
    }
    if (pending)
        printer.EndDoc();
    if (status)
        status(QStringLiteral("Ready to print"));
}

} // namespace gw
