#pragma once
// The printer surface that writes a PDF file itself: every face it draws is
// read from its font file and embedded as a TrueType subset of the glyphs the
// document uses, under the face's PostScript name, with a map back to the
// characters so that the text can be searched and copied. A face whose
// licence forbids embedding is drawn as filled outlines. A family chosen by name
// is drawn in the installed face the system draws it in (bold and italic
// nearest; slanted or emboldened when the family lacks them), or from a font
// added for the run.
#include <QString>
#include <memory>

#include "print/surfacecommon.h"

namespace gw {

class PdfSurface : public SettingsSurface {
public:
    // One file for the whole run, on sheets of this paper with 0.25 inch
    // margins. It is written beside fileName and put in its place by Finish
    // when whole.
    static std::unique_ptr<PdfSurface> Create(const QString& fileName, int paperCode);
    ~PdfSurface() override;

    // An interrupt (SIGINT, SIGTERM, SIGHUP) then removes the PDF file being
    // written before the program ends; the target keeps its earlier file.
    static void RemovePartialPdfOnInterrupt();
    // false when the file cannot be written.
    bool IsValid() const;
    bool Finish(QString* error) override;

    // (the operations that draw or measure)
    void SetOrientation(int orientation) override;
    int PaperSize() const override;
    int Width() const override;
    int Height() const override;
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    QString SetFontFace(const QString& file, int faceIndex) override;
    void Print(const QString& text) override;
    double TextWidth(const QString& text) override;
    double FontDescent() override;
    void Line(double x1, double y1, double x2, double y2, int kind, uint32_t rgb) override;
    void NewPage() override;
    void EndDoc() override;
    bool HasGlyph(int code) override;
    void SetDocumentTitle(const QString& title) override;

protected:
    SurfaceSettings& Settings() override;
    void FontChanged() override;

private:
    PdfSurface();
    struct State;
    std::unique_ptr<State> d;
};

} // namespace gw
