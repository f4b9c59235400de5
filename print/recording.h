#pragma once
// A printer surface that draws nothing and keeps every operation with its
// coordinates, for tests.
#include <QSet>
#include <QString>
#include <QVector>

#include "print/pageframe.h"
#include "print/printer.h"

namespace gw {

struct PrintOp {
    enum Kind { Text, Line, Box, FilledBox, NewPage, EndDoc };
    Kind kind = Text;
    QString text;
    // Drawing positions in points from the printable area's origin (whatever the
    // scale mode was); for text (x, y) is the current position, y the baseline.
    double x = 0, y = 0, x2 = 0, y2 = 0;
    QString fontName;
    double fontSize = 0;
    bool bold = false, italic = false;
    int align = AlignBaseLeft;
    uint32_t colour = ColourBlack;
    int drawWidth = 1;
    int fillStyle = FillTransparent;
    int page = 1;      // page of the whole run, from 1
    int document = 1;  // spooler document, from 1
    bool busy = false; // drawn under the busy pointer
};

class RecordingSurface : public PrinterSurface {
public:
    // Sheet size and unprintable margin (each side) in points.
    RecordingSurface(int paperCode = PaperLetter, double sheetWidth = 612, double sheetHeight = 792,
                     double margin = 18);

    QVector<PrintOp> ops;
    // Font names (any case) the printer refuses to select.
    QSet<QString> refusedFonts;
    // Font files whose faces cannot be drawn as themselves.
    QSet<QString> unprintableFiles;
    // Codes the current font has no glyph for.
    QSet<int> missingGlyphs;

    // Characters drawn wider than the rest: times the usual width.
    QHash<QChar, double> widthFactors;

    // Text widths are deterministic: 0.5 × size per character (0.6 when bold).
    double TextWidth(const QString& text) override;
    // A quarter of the size.
    double FontDescent() override { return FromPoints(fontSize_ * 0.25); }

    // The first text op with exactly this text, or nullptr.
    const PrintOp* Find(const QString& text) const;
    int Count(PrintOp::Kind kind) const;

    void SetOrientation(int) override {}
    int PaperSize() const override { return paper_; }
    void SetScaleMode(int mode) override { scaleMode_ = mode; }
    int ScaleMode() const override { return scaleMode_; }
    int Width() const override;
    int Height() const override;
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    double CurrentX() const override;
    double CurrentY() const override;
    void SetCurrentX(double x) override;
    void SetCurrentY(double y) override;
    bool SetFontName(const QString& name) override;
    QString FontName() const override { return fontName_; }
    // Selects the face under the name file + "#" + faceIndex.
    QString SetFontFace(const QString& file, int faceIndex) override;
    void SetFontSize(double points) override { fontSize_ = points; }
    double FontSize() const override { return fontSize_; }
    void SetFontBold(bool bold) override { bold_ = bold; }
    void SetFontItalic(bool italic) override { italic_ = italic; }
    bool FontBold() const override { return bold_; }
    bool FontItalic() const override { return italic_; }
    void SetForeColor(uint32_t rgb) override { colour_ = rgb; }
    void SetDrawWidth(int pixels) override { drawWidth_ = pixels; }
    void SetDrawStyle(int) override {}
    void SetFillStyle(int style) override { fillStyle_ = style; }
    void SetFillColor(uint32_t) override {}
    void Print(const QString& text) override;
    void Line(double x1, double y1, double x2, double y2, int kind, uint32_t rgb) override;
    void NewPage() override;
    void EndDoc() override;
    // false with failReason when a test sets one.
    bool Finish(QString* error) override;
    QString failReason;
    int SetTextAlign(int align) override;
    bool HasGlyph(int code) override { return !missingGlyphs.contains(code); }
    void SetDocumentTitle(const QString& title) override { documentTitle = title; }
    QString documentTitle;

private:
    double ToPoints(double v) const;
    double FromPoints(double v) const;
    PrintOp Op(PrintOp::Kind kind) const;

    int paper_;
    double sheetWidth_, sheetHeight_, margin_;
    int scaleMode_ = ScaleTwips;
    double x_ = 0, y_ = 0;  // points
    QString fontName_ = CaptionFont;
    double fontSize_ = 10;
    bool bold_ = false, italic_ = false;
    uint32_t colour_ = ColourBlack;
    int drawWidth_ = 1;
    int fillStyle_ = FillTransparent;
    int align_ = 0;
    int page_ = 1;
    int document_ = 1;
    bool pendingDocument_ = false;  // after EndDoc, the next output opens a document
};

} // namespace gw
