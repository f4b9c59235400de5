#pragma once
// Small operations several windows share.
#include <QColor>
#include <QPointer>
#include <QRect>
#include <QString>
#include <Qt>

class QFrame;
class QListWidget;
class QWidget;

namespace gw {

class PictureBox;

// Screen positions are given in twips: 15 twips per logical pixel.
constexpr int TwipsPerPixel = 15;
// Rounded to the nearest pixel, halves away from zero. Constant, so that a size
// written in twips costs nothing at run time.
constexpr int TwipsToPixels(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}
constexpr int PixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

// The number a text begins with: blanks, a sign, digits and one decimal point;
// 0 when it begins with none. Very large numbers are held to ±1e15.
double Val(const QString& text);

QString WeightName(int weight);
// The style text the enumeration forms from weight and slant (italic 1):
// "Bold", "Italic" (regular weight), "BoldItalic", "Normal", ...
QString EnumStyleText(int weight, int italic);
// What a font's name says of its style, in any case: bold ("BOLD" anywhere, so
// Semibold too), slanted ("ITALIC" or "OBLIQUE").
bool NameSaysBold(const QString& name);
bool NameSaysSlanted(const QString& name);
// Whether a font's name is of a kind of the selection menus: "ALL", "REGULAR",
// "BOLD", "ITALIC" (upright bold excluded), "BOLDITALIC"; "NONE": never; any
// other kind (a family): whether the name holds it.
bool NameIsOfKind(const QString& name, const QString& kind);
// Bytes of a fixed name field, code page 1252, cut before the first NUL unless it is the first byte.
QString BytesToText(const char* bytes, int size);
QString TrimAtNul(const QString& text);
QString KeystrokeLabel(const QString& character);
// 0-based index of the first item equal to text ignoring case, or -1.
int ListFindExact(const QListWidget& list, const QString& text);
void CentreForm(QWidget* window);
// A window rectangle brought onto an available screen area: no larger than the
// area, never smaller than minimum (which wins), moved just enough to lie inside
// it (its top-left part when it cannot fit).
QRect FitPlacement(const QRect& wanted, const QSize& minimum, const QRect& available);
// The saved placement, brought onto the screen's available area.
void LoadFormPlacement(QWidget* window, const QString& section, const QString& file);
// Saves Top, Left, Height and Width in twips, of the placement as brought onto the screen.
void SaveFormPlacement(QWidget* window, const QString& section, const QString& file);
// A horizontal gauge filling the picture box; percent of the inner width in barColour.
void DrawGauge(PictureBox* box, const QColor& barColour, const QColor& frameLight,
               const QColor& frameDark, int percent, int flag1, int flag2, int frameStyle);
// A gauge box in a sunken well that draws no visible edge of its own (its frame
// is button face); the well goes into the window's layout.
QFrame* MakeGaugeWell(QWidget* parent, PictureBox** gauge);
// The gauge at percent, in the window's highlight on button face.
void DrawWindowGauge(PictureBox* gauge, int percent);

// A window loaded at most once and found again while it lives.
template <class Window>
class OneWindow {
public:
    Window* Get() const { return window_.data(); }
    Window* Load()
    {
        if (!window_)
            window_ = new Window;
        return window_.data();
    }
    void Unload() { delete window_.data(); }

private:
    QPointer<Window> window_;
};

void RunProgram(const QString& commandLine, int windowStyle);
// Opens HelpFile at the topic with this context number.
void ShowHelpContext(int context);
QString StripExtension(const QString& fileName);
QString FileNamePart(const QString& path);
// A family name without the foundry Qt appends to tell makers apart
// ("C059 [urw]" -> "C059").
QString WithoutFoundry(const QString& family);
// The family as the toolkit names one maker's files of it, "Family [maker]"; the family alone without a maker.
QString WithFoundry(const QString& family, const QString& foundry);
// Lower-cases a path the program built; keeps a path from the file system as it
// is when the lower-cased one would name another file.
QString LowerCasePath(const QString& path);
// A path whose file name held bytes that are not UTF-8: Qt read them as U+FFFD,
// so the file cannot be opened, copied or hidden by this name.
bool NameNotUtf8(const QString& path);
// Why such a file is left alone, for messages and result lists.
QString NameNotUtf8Text();

// Letter case folded for comparing names. Qt looks every character up in its
// tables; the usual all-ASCII name is folded here directly (same result).
QString FoldCase(const QString& text);
bool IsAscii(const QString& text);
// The order of fonts in every list and printout: by name, letter case ignored;
// names alike but for case by their characters, so that the order never depends
// on the order fonts were found in.
bool NameBefore(const QString& a, const QString& b);

} // namespace gw
