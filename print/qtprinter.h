#pragma once
// The printer surface on a real printer (CUPS, through Qt), a print preview's
// printer, or a picture of the first page. PDF files: print/pdfsurface.h.
#include <QFont>
#include <QPainter>
#include <QString>
#include <memory>

#include "print/surfacecommon.h"

class QImage;
class QPrinter;

namespace gw {

class QtPrinterSurface : public SettingsSurface {
public:
    // A CUPS printer by name (empty: the default printer).
    static std::unique_ptr<QtPrinterSurface> ForPrinter(const QString& printerName);
    // A printer set up elsewhere (a print preview's), not owned; one document.
    static std::unique_ptr<QtPrinterSurface> ForDevice(QPrinter* printer);
    // The first page only, drawn on an image that stands for the printable area
    // of a sheet of this paper with the PDF file's margins; later pages are
    // not drawn. The image's width sets the resolution; it is filled white.
    static std::unique_ptr<QtPrinterSurface> ForImage(QImage* image, int paperCode);
    ~QtPrinterSurface() override;

    // false when the printer or file cannot be used.
    bool IsValid() const;
    // Ends the last document if one is still open.
    void Close();
    bool Finish(QString* error) override;

    // (the operations that draw or measure)
    void SetOrientation(int orientation) override;
    int PaperSize() const override;
    int Width() const override;
    int Height() const override;
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    // Through the font system's names for the face (so that a PDF embeds it
    // as text under its own PostScript name) when the toolkit then loads that
    // very face; else from the file's own outlines (a file's first face only).
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
    QtPrinterSurface();
    struct State;
    std::unique_ptr<State> d;
};

} // namespace gw
