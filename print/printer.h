#pragma once
// The printer surface every printed page is drawn on: the operations of a
// classic printer object, in its current scale mode, with the origin at the
// top-left corner of the printable area. Operations never throw: a refused
// one is skipped (SetFontName reports the refusal) and the job goes on.
#include <QString>
#include <cstdint>

namespace gw {

enum ScaleModes : int { ScaleTwips = 1, ScalePoints = 2, ScaleCentimetres = 7 };
enum TextAligns : int { AlignBaseLeft = 24, AlignBaseRight = 26, AlignBaseCentre = 30 };
enum LineKinds : int { LinePlain = 0, LineBox = 1, LineFilledBox = 2 };
enum FillStyles : int { FillSolid = 0, FillTransparent = 1, FillDiagonalCross = 7 };
constexpr uint32_t ColourBlack = 0x000000;
constexpr uint32_t ColourWhite = 0xFFFFFF;  // 16777215

// Paper codes (the Windows paper-size numbers).
enum PaperCodes : int { PaperLetter = 1, PaperLetterSmall = 2, PaperLegal = 5, PaperA4 = 9,
                        PaperA4Small = 10, PaperNote = 18 };

class PrinterSurface {
public:
    virtual ~PrinterSurface() = default;

    virtual void SetOrientation(int orientation) = 0;  // 1 portrait
    virtual int PaperSize() const = 0;

    virtual void SetScaleMode(int mode) = 0;
    virtual int ScaleMode() const = 0;
    // The physical sheet, in twips.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The printable area, in the current scale mode.
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;

    // The drawing position, in the current scale mode; text is drawn at it.
    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;
    void SetCurrent(double x, double y) { SetCurrentX(x); SetCurrentY(y); }

    // false (and the font unchanged) when the printer cannot select the name.
    virtual bool SetFontName(const QString& name) = 0;
    virtual QString FontName() const = 0;
    // Selects face faceIndex (its number in a collection) of a font file,
    // whatever its family's other styles are called, and returns a name that
    // selects this face again through SetFontName; bold and italic then change
    // nothing. Empty (and the font unchanged) when the face cannot be drawn as
    // itself.
    virtual QString SetFontFace(const QString& file, int faceIndex) = 0;
    virtual void SetFontSize(double points) = 0;
    virtual double FontSize() const = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual void SetFontItalic(bool italic) = 0;
    virtual bool FontBold() const = 0;
    virtual bool FontItalic() const = 0;
    virtual void SetForeColor(uint32_t rgb) = 0;   // 0x00BBGGRR
    virtual void SetDrawWidth(int pixels) = 0;     // device pixels at 300 dpi
    virtual void SetDrawStyle(int style) = 0;      // 0 solid
    virtual void SetFillStyle(int style) = 0;
    virtual void SetFillColor(uint32_t rgb) = 0;

    // Draws text at the current position by the text alignment (CurrentY is the
    // baseline), then moves CurrentX on by its width, as printing without a line
    // break does. The first call of a job (an empty text) opens the document.
    virtual void Print(const QString& text) = 0;
    virtual double TextWidth(const QString& text) = 0;
    // How far the current font reaches below the baseline at its size.
    virtual double FontDescent() = 0;
    // A line, a box (its corners) or a filled box, in the current scale mode.
    virtual void Line(double x1, double y1, double x2, double y2, int kind = LinePlain,
                      uint32_t rgb = ColourBlack) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    // Ends the run: the last document goes out and a PDF file takes its name
    // only when written whole. false, with the reason in *error, when the
    // output failed; an earlier file of that name is then as it was.
    virtual bool Finish(QString* error) = 0;

    // Text alignment (24, 26, 30); returns the previous value. Text is drawn
    // without a background box.
    virtual int SetTextAlign(int align) = 0;

    // Whether the current font has a glyph for the character with this code
    // (code page 1252), from its character map.
    virtual bool HasGlyph(int code) = 0;

    // The title the document carries (a PDF's Title); takes effect before the first output.
    virtual void SetDocumentTitle(const QString& title) { (void)title; }
};

} // namespace gw
