#pragma once
// What every printer surface decides alike: its units, the font names it
// takes, and how a hatched box is drawn.
#include <QLineF>
#include <QHash>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>

#include "print/pageframe.h"
#include "print/printer.h"

namespace gw {

// A length in the scale mode (twips, points, centimetres) in points, and back.
double ScaleToPoints(int scaleMode, double value);
double PointsToScale(int scaleMode, double value);

// The name a surface gives face `index` of a font file ("file#index").
QString FaceName(const QString& file, int index);

// A sheet of this paper (a Windows paper code; letter when unknown) as a PDF
// file prints it: portrait, 0.25 inch margins, whole points.
QPageLayout SheetLayout(int paperCode);

// Whether the font system lists the family (in any case).
bool IsKnownFamily(const QString& name);
// The family to draw a name with: itself when the font system lists it, else
// the one the system maps it to (Arial to Liberation Sans), which draws the same glyphs.
QString DrawingFamily(const QString& name);
// Whether a printer takes the (trimmed, non-empty) font name: a font added for
// the run (*added then true), a listed family, or a name the system maps to a
// metric-compatible family; not one that only falls back to the default.
bool PrinterTakesFontName(const QString& name, bool* added);

// The lines of a hatched box: one pixel wide, `step` apart. Fill styles: 2
// horizontal, 3 vertical, 4 upward and 5 downward diagonal, 6 cross, 7
// diagonal cross. Diagonals run past the box: draw them clipped to it.
QList<QLineF> HatchLines(const QRectF& box, int fillStyle, double step);

// What a surface keeps of the settings a job makes: the scale mode, the drawing
// position (points from the printable area's top-left corner), the font's size
// and style, the pen and fill and the text alignment.
struct SurfaceSettings {
    int scaleMode = ScaleTwips;
    double x = 0, y = 0;
    double fontSize = 10;  // points, above 0: SetFontSize refuses others
    bool bold = false, italic = false;
    uint32_t foreColor = ColourBlack;
    uint32_t fillColor = ColourBlack;
    int drawWidth = 1, drawStyle = 0, fillStyle = FillTransparent;
    int align = 0;
    // The font by name: a family, a font added for the run, or a face chosen
    // by file under the name SetFontFace gave it.
    QString fontName = CaptionFont;
    bool addedFont = false;
    bool faceSelected = false;
    struct FaceRef {
        QString file;
        int index = 0;
    };
    QHash<QString, FaceRef> faceNames;
    QHash<QString, bool> faceDrawable;  // asked once per face

    double ToPoints(double v) const { return ScaleToPoints(scaleMode, v); }
    double FromPoints(double v) const { return PointsToScale(scaleMode, v); }
};

// The operations that only keep a setting, alike on every surface.
class SettingsSurface : public PrinterSurface {
public:
    void SetScaleMode(int mode) override { Settings().scaleMode = mode; }
    int ScaleMode() const override { return Settings().scaleMode; }
    double CurrentX() const override { return Settings().FromPoints(Settings().x); }
    double CurrentY() const override { return Settings().FromPoints(Settings().y); }
    void SetCurrentX(double x) override { Settings().x = Settings().ToPoints(x); }
    void SetCurrentY(double y) override { Settings().y = Settings().ToPoints(y); }
    // A face's name from SetFontFace, else a name PrinterTakesFontName takes.
    bool SetFontName(const QString& name) override;
    QString FontName() const override { return Settings().fontName; }
    void SetFontSize(double points) override;
    double FontSize() const override { return Settings().fontSize; }
    void SetFontBold(bool bold) override;
    void SetFontItalic(bool italic) override;
    bool FontBold() const override { return Settings().bold; }
    bool FontItalic() const override { return Settings().italic; }
    void SetForeColor(uint32_t rgb) override { Settings().foreColor = rgb; }
    void SetDrawWidth(int pixels) override { Settings().drawWidth = pixels < 1 ? 1 : pixels; }
    void SetDrawStyle(int style) override { Settings().drawStyle = style; }
    void SetFillStyle(int style) override { Settings().fillStyle = style; }
    void SetFillColor(uint32_t rgb) override { Settings().fillColor = rgb; }
    int SetTextAlign(int align) override;

protected:
    virtual SurfaceSettings& Settings() = 0;
    const SurfaceSettings& Settings() const { return const_cast<SettingsSurface*>(this)->Settings(); }
    // After the font's name, size, bold or italic changed.
    virtual void FontChanged() {}
    // The name SetFontFace gives face `index` of `file`, once the surface can draw
    // it as itself (drawable, asked once per face); empty when it cannot.
    QString NameFace(const QString& file, int index, const std::function<bool()>& drawable);
};

} // namespace gw
