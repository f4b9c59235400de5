#include "print/pageframe.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/globals.h"
#include "core/settings.h"
#include "platformapi/platform.h"
#include "sfnt/codepage.h"
#include "print/printer.h"

namespace gw {

const QString CaptionFont = QStringLiteral("Arial");

namespace {

// A real converted to a 16-bit integer as the layouts' measures expect:
// to the nearest whole number, halves to the even one.
int ToInt16(double value)
{
    double r = std::nearbyint(value);
    if (r > INT16_MAX)
        r = INT16_MAX;
    if (r < INT16_MIN)
        r = INT16_MIN;
    return static_cast<int>(r);
}

constexpr double TwipsPerInch = 1440;
constexpr double PointsPerInch = 72;

} // namespace

double LeftOffset(PrinterSurface& printer)
{
    printer.SetScaleMode(ScaleTwips);
    return ToInt16((printer.Width() - printer.ScaleWidth()) / TwipsPerInch * PointsPerInch / 2);
}

double TopOffset(PrinterSurface& printer)
{
    printer.SetScaleMode(ScaleTwips);
    return ToInt16((printer.Height() - printer.ScaleHeight()) / TwipsPerInch * PointsPerInch / 2);
}

QString SetPrinterFont(const QString& faceName, const QString& fallbackName,
                       PrinterSurface& printer)
{
    printer.SetFontBold(false);
    printer.SetFontItalic(false);
    const QString face = faceName.trimmed();
    if (printer.SetFontName(face))
        return face;
    const QString fallback = fallbackName.trimmed();
    if (printer.SetFontName(fallback))
        return fallback;
    return CaptionFont;
}

QString SelectEntryFont(PrinterSurface& printer, const PrintFontEntry& font)
{
    if (!font.FontPath.isEmpty()) {
        printer.SetFontBold(false);
        printer.SetFontItalic(false);
        return printer.SetFontFace(font.FontPath, font.FaceIndex);
    }
    const QString name = SetPrinterFont(font.FaceName, font.AlternateName, printer);
    printer.SetFontName(name);
    ApplyStyle(printer, font.DisplayName.trimmed());
    return name;
}

QString UnprintableFaceText()
{
    return QStringLiteral("This face cannot be printed: its file cannot be loaded.");
}

void ApplyStyle(PrinterSurface& printer, const QString& name)
{
    const QString upper = name.toUpper();
    const bool bold = upper.contains(QLatin1String("BOLD"));
    const bool slanted = upper.contains(QLatin1String("ITALIC"))
                         || upper.contains(QLatin1String("OBLIQUE"));
    if (bold && slanted) {
        printer.SetFontBold(true);
        printer.SetFontItalic(true);
    } else if (bold) {
        printer.SetFontBold(true);
        printer.SetFontItalic(false);
    } else if (slanted) {
        printer.SetFontBold(false);
        printer.SetFontItalic(true);
    }
}

QString FitText(PrinterSurface& printer, double maxWidth, const QString& text)
{
    QString fitted = text.left(300);
    while (!fitted.isEmpty() && printer.TextWidth(fitted) > maxWidth)
        fitted.chop(1);
    return fitted;
}

QString SampleTextChoice(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz");
    case 1:
        return QStringLiteral("1234567890");
    case 2:
        return QStringLiteral("~!@#$%^&*()_+|`-=\\{}[]:;\"'<>?,./");
    default:
        break;
    }
    if (index >= 3 && index <= 12)
        return ReadIniString(QStringLiteral("Quotes"), QStringLiteral("Quote%1").arg(index - 2),
                             QString(), IniFile);
    return QString();
}

QString ParagraphOr(int n, const QString& fallback)
{
    try {
        const QString text = ReadParagraph(n);
        return text.trimmed().isEmpty() ? fallback : text;
    } catch (const ParagraphError&) {
        return fallback;
    }
}

QString CatalogSampleText()
{
    const QString text =
        SampleTextChoice(ReadIniInt(QStringLiteral("Inventory"), QStringLiteral("QuoteIndex"), 0,
                                    IniFile));
    if (ReadIniInt(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), 0, IniFile) == 1)
        return text.toUpper();
    return text;
}

bool PaperSizeAccepted(int paperCode)
{
    switch (paperCode) {
    case PaperLetter:
    case PaperLetterSmall:
    case PaperNote:
    case PaperA4:
    case PaperA4Small:
        return true;
    default:
        return false;
    }
}

QString PaperSizeMessage()
{
    return QString::fromUtf8("This program only works with letter-sized (8\u00bd\u00d711) or ")
           + QStringLiteral("European A4 paper! Please change your printer setup.");
}

bool CheckPaperSize(PrinterSurface& printer)
{
    if (PaperSizeAccepted(printer.PaperSize()))
        return true;
    Sys().messages->MsgBox(PaperSizeMessage(), vbInformation, QStringLiteral("Glyphwick"));
    return false;
}

PrintJob::PrintJob(PrinterSurface& printer, const Gauge& gauge)
    : Printer(printer), gauge_(gauge)
{
}

void PrintJob::Start()
{
    Printer.SetOrientation(1);
    Printer.Print(QString());
    Left = LeftOffset(Printer);
    Top = TopOffset(Printer);
    Printer.SetScaleMode(ScalePoints);
    Printer.SetTextAlign(AlignBaseLeft);
    ResetEvery = PagesPerDocument();
}

int PagesPerDocument()
{
    const int pages = ReadIniInt(QStringLiteral("Inventory"), QStringLiteral("EndDoc"), 3, IniFile);
    return pages < 1 ? 1 : pages;  // a count below 1 cannot divide pages: every page
}

namespace {
int quietLevel = 0;
} // namespace

void YieldToEvents()
{
    if (quietLevel == 0)
        QCoreApplication::processEvents();
}

QuietPrinting::QuietPrinting() { ++quietLevel; }
QuietPrinting::~QuietPrinting() { --quietLevel; }

void PrintJob::Progress(int index, int count)
{
    YieldToEvents();
    int upper = count - 1;
    if (upper == 0)
        upper = 1;
    const int percent = ToInt16(static_cast<double>(index) / upper * 100);
    if (percent % 5 == 0 && gauge_)
        gauge_(percent);
}

void PrintJob::BreakPage()
{
    if (Page % ResetEvery == 0)
        Printer.EndDoc();
    else
        Printer.NewPage();
    YieldToEvents();
    ++Page;
    Printer.Print(QString());
    Printer.SetScaleMode(ScalePoints);
    Printer.SetTextAlign(AlignBaseLeft);
}

void PrintJob::Finish()
{
    Printer.EndDoc();
}

void CatalogHeader(PrinterSurface& printer, int pointSize, const QString& title, double left,
                   double top)
{
    printer.Print(QStringLiteral(" "));
    printer.SetTextAlign(AlignBaseLeft);
    printer.SetScaleMode(ScalePoints);

    // A long title is set smaller, then shortened, before the size on its right.
    const QString points = QString::number(pointSize) + QStringLiteral(" Points");
    UseArial(printer, 10, true);
    const double pointsWidth = printer.TextWidth(points);
    const QString shown = FitLabel(printer, title, 504 - pointsWidth - 12, 16, 10, true);
    printer.SetCurrent(54 - left, 72 - top);
    printer.Print(shown);

    printer.SetTextAlign(AlignBaseRight);
    printer.SetCurrentX(558 - left);
    printer.SetFontSize(10);
    printer.Print(points);

    printer.SetFontBold(false);
    printer.SetFontItalic(false);
    printer.SetDrawWidth(6);
    printer.Line(54 - left, 78 - top, 54 - left + 504, 78 - top, LinePlain, ColourBlack);

    printer.SetTextAlign(AlignBaseLeft);
}

double CatalogFooterRule(PrinterSurface& printer, double top)
{
    return printer.ScaleHeight() - 72 + top;
}

void CatalogFooter(PrinterSurface& printer, double left, double top, int page,
                   const QString& leftText, const QString& rightText)
{
    const double f = CatalogFooterRule(printer, top);
    printer.Line(54 - left, f, 540, f, LinePlain, ColourBlack);

    UseArial(printer, 8);
    printer.SetCurrent(54 - left, f + 12);
    printer.Print(leftText);

    printer.SetCurrentY(f + 12);
    printer.SetCurrentX(540 - printer.TextWidth(rightText));
    printer.Print(rightText);

    printer.SetTextAlign(AlignBaseCentre);
    printer.SetCurrent(306 - left, f + 12);
    printer.Print(QStringLiteral("-%1-").arg(page));
}

QString ElideText(PrinterSurface& printer, const QString& text, double maxWidth)
{
    if (printer.TextWidth(text) <= maxWidth)
        return text;
    const QString ellipsis(QChar(0x2026));
    QString kept;
    for (qsizetype blank = text.indexOf(' '); blank > 0; blank = text.indexOf(' ', blank + 1)) {
        const QString head = text.left(blank).trimmed();
        if (head.isEmpty() || head == kept)
            continue;
        if (printer.TextWidth(head + ellipsis) > maxWidth)
            break;
        kept = head;
    }
    if (kept.isEmpty()) {
        kept = text;
        while (!kept.isEmpty() && printer.TextWidth(kept + ellipsis) > maxWidth)
            kept.chop(1);
        if (kept.isEmpty())
            return QString();
    }
    return kept + ellipsis;
}

QString FitLabel(PrinterSurface& printer, const QString& text, double maxWidth, double largest,
                 double smallest, bool bold)
{
    printer.SetScaleMode(ScalePoints);
    UseArial(printer, largest, bold);
    for (double size = largest; size > smallest && printer.TextWidth(text) > maxWidth;) {
        size = std::max(smallest, size - 0.5);
        printer.SetFontSize(size);
    }
    return ElideText(printer, text, maxWidth);
}

double CaptionDrop(double descent, double captionSize)
{
    // The cap height of a caption font is about 0.75 of its size; 2 points between.
    return std::max(captionSize + 4, descent + 2 + 0.75 * captionSize);
}

double SampleUnderCaption(double size, double captionSize)
{
    return 0.8 * size + 0.25 * captionSize + 1;
}

void UseArial(PrinterSurface& printer, double size, bool bold)
{
    printer.SetFontName(CaptionFont);
    printer.SetFontSize(size);
    printer.SetFontBold(bold);
    printer.SetFontItalic(false);
}

void UseFont(PrinterSurface& printer, const QString& name, const QString& displayName,
             double size)
{
    printer.SetFontName(name);
    printer.SetFontSize(size);
    printer.SetFontBold(false);
    printer.SetFontItalic(false);
    ApplyStyle(printer, displayName);
}

void PrintAt(PrinterSurface& printer, double x, double y, const QString& text)
{
    printer.SetCurrent(x, y);
    printer.Print(text);
}

QString TakeLine(PrinterSurface& p, const QString& text, double maxWidth, QString* rest)
{
    // A line the user ended goes no further.
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    const QString line = end < 0 ? text : text.left(end);
    const QString after = end < 0 ? QString() : text.mid(end + 1);
    if (p.TextWidth(line) <= maxWidth) {
        *rest = after;
        return line.trimmed();
    }
    int lo = 0;
    int hi = int(line.size());
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (p.TextWidth(line.left(mid)) <= maxWidth)
            lo = mid;
        else
            hi = mid - 1;
    }
    int cut = lo;
    const int blank = int(line.lastIndexOf(QLatin1Char(' '), cut));
    if (blank > 0)
        cut = blank;
    if (cut == 0) {  // not even one character fits
        rest->clear();
        return QString();
    }
    *rest = line.mid(cut).trimmed() + (end < 0 ? QString() : "\n" + after);
    return line.left(cut).trimmed();
}

QString SampleInOwnCharacters(const QString& sample, const QSet<uint>& mapped)
{
    const QList<uint> codes = sample.toUcs4();
    const auto shown = std::count_if(codes.begin(), codes.end(),
                                     [&](uint c) { return c <= 0x20 || mapped.contains(c); });
    if (mapped.isEmpty() || 2 * shown >= codes.size())
        return sample;
    QList<uint> own(mapped.begin(), mapped.end());
    std::sort(own.begin(), own.end());
    const auto visible = [](uint c) {
        switch (QChar::category(char32_t(c))) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            return c > 0x20;
        }
    };
    QString out;
    for (const bool lettersOnly : {true, false}) {
        for (const char32_t c : own) {
            if (out.size() >= sample.size())
                break;
            if (visible(c) && (!lettersOnly || QChar::isLetterOrNumber(c)))
                out += QString::fromUcs4(&c, 1);
        }
        if (!out.isEmpty())
            return out;
    }
    return sample;
}

QString EntrySample(PrinterSurface& printer, const PrintFontEntry& font, const QString& sample)
{
    // Most fonts have most of the sample: a few of its characters looked up on the printer tell.
    int probes = 0, missing = 0;
    const qsizetype step = std::max<qsizetype>(1, sample.size() / 8);
    for (qsizetype i = 0; i < sample.size(); i += step, ++probes) {
        const int code = Cp1252Code(sample[i]);
        missing += code > 0x20 && !printer.HasGlyph(code);
    }
    QSet<uint> mapped;
    if (2 * missing <= probes || font.FontPath.isEmpty() || !Sys().characterMaps
        || !Sys().characterMaps->CharacterMap(font.FontPath, font.FaceIndex, &mapped))
        return sample;
    return SampleInOwnCharacters(sample, mapped);
}

} // namespace gw
