#include "print/qtprinter.h"
#include "print/pageframe.h"
#include "print/surfacecommon.h"

#include <QBrush>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainterPath>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRawFont>
#include <cmath>

#include "core/helpers.h"
#include "fonts/fontfacts.h"
#include "fonts/staticinstance.h"
#include "sfnt/codepage.h"
#include "sfnt/instances.h"
#include "sfnt/sfnt.h"
#include "platformapi/platform.h"

namespace gw {

namespace {

QColor FromBgr(uint32_t rgb)
{
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

Qt::PenStyle PenStyleFor(int drawStyle)
{
    switch (drawStyle) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// Hatching in lines one pixel wide, 8 pixels apart, of a 300 dpi printer
// (drawn, not a brush pattern: the PDF writer scales patterns to its own pixels).
void Hatch(QPainter& p, const QRectF& box, int fillStyle, const QColor& colour, double perPoint)
{
    QPen pen(colour);
    pen.setWidthF(72.0 / 300 * perPoint);
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
    p.setPen(pen);
    for (const QLineF& line : HatchLines(box, fillStyle, 8 * 72.0 / 300 * perPoint))
        p.drawLine(line);
    p.restore();
}

constexpr int kLoadSize = 997;

// Whether a face the toolkit loaded is face `index` of `file`: the same header
// and naming tables for an sfnt face; else (Type 1) a face without sfnt tables
// and with the same outlines of a few letters as the file's own.
bool IsFaceOf(const QRawFont& loaded, const QString& file, int index)
{
    if (!loaded.isValid())
        return false;
    const QByteArray head = FileTable(file, "head", index);
    if (!head.isEmpty())
        return loaded.fontTable("head") == head && loaded.fontTable("name") == FileTable(file, "name", index);
    // An sfnt twin of a Type 1 file has the same outlines but is another file.
    if (index != 0 || !loaded.fontTable("head").isEmpty())
        return false;
    QRawFont own(file, kLoadSize, QFont::PreferNoHinting);
    if (!own.isValid())
        return false;
    own.setPixelSize(loaded.pixelSize());
    const QString probe = QStringLiteral("Hamburgefonstiv");
    const QList<quint32> ownGlyphs = own.glyphIndexesForString(probe);
    const QList<quint32> loadedGlyphs = loaded.glyphIndexesForString(probe);
    if (ownGlyphs.size() != loadedGlyphs.size())
        return false;
    const double tolerance = loaded.pixelSize() / 100;
    for (int i = 0; i < ownGlyphs.size(); ++i) {
        const QRectF a = own.pathForGlyph(ownGlyphs[i]).boundingRect();
        const QRectF b = loaded.pathForGlyph(loadedGlyphs[i]).boundingRect();
        if (std::abs(a.left() - b.left()) > tolerance || std::abs(a.right() - b.right()) > tolerance
            || std::abs(a.top() - b.top()) > tolerance || std::abs(a.bottom() - b.bottom()) > tolerance)
            return false;
    }
    return true;
}

} // namespace

struct QtPrinterSurface::State : SurfaceSettings {
    // Static copies of the named instances drawn; first, so that they go
    // last, after the document that embeds them is written.
    StaticInstanceFiles instances;
    std::unique_ptr<QPrinter> ownedPrinter;
    QPrinter* printer = nullptr;  // the printer drawn on, owned or not
    // Or an image of the first page only, laid out like a sheet.
    QImage* image = nullptr;
    QPageLayout imageLayout;
    bool imagePageDone = false;
    QPainter painter;
    bool pdf = false;
    bool valid = false;
    // PDF: EndDoc was called; the next output continues the file on a new page.
    bool documentEnded = false;
    QFont font;
    // In whole points, as the PDF writer sizes its pages (A4 is 595 by 842).
    QPageLayout Layout() const { return printer ? printer->pageLayout() : imageLayout; }
    QSizeF SheetPoints() const { return Layout().fullRect(QPageLayout::Point).size(); }
    QSizeF PrintablePoints() const { return Layout().paintRect(QPageLayout::Point).size(); }
    QPaintDevice* Device() const
    {
        return printer ? static_cast<QPaintDevice*>(printer) : static_cast<QPaintDevice*>(image);
    }
    // Device pixels per point.
    double DeviceScale() const
    {
        return printer ? printer->resolution() / 72.0 : image->logicalDpiX() / 72.0;
    }
    QPointF Device(double px, double py) const
    {
        const double s = DeviceScale();
        return QPointF(px * s, py * s);
    }

    void BuildFont()
    {
        // A font added for drawing only is in no list the toolkit reads; a
        // face chosen by its file is drawn from Raw().
        font = faceSelected ? QFont() : QFont(addedFont ? fontName : DrawingFamily(fontName));
        font.setPointSizeF(fontSize);
        font.setBold(bold);
        font.setItalic(italic);
        // A specimen shows the font's own glyphs: no other family fills a gap.
        font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoFontMerging));
        engineMade = false;
        rawChosen = false;
        embeddingChosen = false;
    }

    // Qt finds a family by walking every family it knows, and keeps each font
    // a document drew in a cache it walks whenever it adds one: with thousands
    // of fonts added for a run each cost more than the last. A font added for
    // the run is therefore loaded once per face and drawn at every size as a
    // copy of it, which no cache holds. On an image it is read from its own
    // file. A printer (and the PDF writer) gets Qt's own font, found once, and
    // a font added for drawing only is shown to Qt just for that: the writer
    // embeds only fonts of Qt's database and draws others as outlines, which
    // no reader can search.
    const QRawFont* Raw()
    {
        if (!rawChosen && faceSelected) {
            rawChosen = true;
            const FaceRef face = faceNames.value(fontName);
            const QString key = FaceName(face.file, face.index) + QChar(2);
            if (key != loadedKey)
                KeepLoaded(key, LoadFileFace(face.file, face.index));
            raw = loadedFont;
            if (raw.isValid())
                raw.setPixelSize(fontSize * DeviceScale());
        }
        if (!rawChosen) {
            rawChosen = true;
            int index = 0;
            QString file = Sys().fonts && Device() ? Sys().fonts->AddedFontFile(fontName, bold, italic, &index)
                                                   : QString();
            // QRawFont reads a file's first face only; a collection's others go through Qt.
            const bool fromFile = image && index == 0;
            // Qt may embolden or slant a face for a style the family lacks.
            const QString key = file + QChar(fromFile ? 0 : 1 + bold + 2 * italic);
            if (!file.isEmpty() && key != loadedKey) {
                // Qt asks fontconfig for the render settings of each font it
                // loads, matching against every font there is, added ones too.
                QRawFont loaded;
                if (fromFile) {
                    loaded = QRawFont(file, kLoadSize, QFont::PreferNoHinting);
                } else {
                    Sys().fonts->DrawAddedFont(file, fontName, [&] {
                        QFont qtFont(font);
                        qtFont.setPixelSize(kLoadSize);
                        qtFont.setHintingPreference(QFont::PreferNoHinting);
                        loaded = QRawFont::fromFont(qtFont);
                    });
                    // Qt answers a font it cannot load with another family's:
                    // the file's own outlines (drawn, not embedded) are better.
                    if (index == 0 && (!loaded.isValid() || loaded.fontTable("head") != FileTable(file, "head")))
                        loaded = QRawFont(file, kLoadSize, QFont::PreferNoHinting);
                }
                KeepLoaded(key, loaded);
            }
            raw = !file.isEmpty() && loadedFont.isValid() ? loadedFont : QRawFont();
            // A size other than the one loaded makes the copy.
            if (raw.isValid())
                raw.setPixelSize(fontSize * DeviceScale());
        }
        return raw.isValid() ? &raw : nullptr;
    }
    void KeepLoaded(const QString& key, const QRawFont& loaded)
    {
        loadedKey = key;
        loadedFont = loaded;
        if (!image && loaded.isValid())
            drawnFaces.push_back(loaded);
    }

    // Face `index` of `file` as the toolkit loads it by the font system's
    // names for it, when that is this very face: a PDF then embeds it as text.
    // Otherwise the file's own outlines, drawn (a file's first face only; a
    // picture always takes these). Invalid when neither can be had.
    QRawFont LoadFileFace(const QString& file, int index)
    {
        if (image && index == 0) {
            QRawFont own(file, kLoadSize, QFont::PreferNoHinting);
            if (own.isValid())
                return own;
        }
        FileFace names;
        if (Sys().fonts && Sys().fonts->ReadFileFace(file, index, &names)) {
            // By family and style first; by the file's maker too when another
            // maker's file has that style (a Type 1 twin); then with the file
            // itself shown to the toolkit ahead of any copy of it.
            QStringList families = {names.family};
            if (!names.foundry.isEmpty())
                families.append(WithFoundry(names.family, names.foundry));
            for (const bool shown : {false, true}) {
                for (const QString& family : families) {
                    QFont qtFont(family);
                    qtFont.setStyleName(names.style);
                    qtFont.setWeight(QFont::Weight(names.weight));
                    qtFont.setItalic(names.italic);
                    qtFont.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoFontMerging));
                    qtFont.setPixelSize(kLoadSize);
                    qtFont.setHintingPreference(QFont::PreferNoHinting);
                    QRawFont loaded;
                    const auto load = [&] { loaded = QRawFont::fromFont(qtFont); };
                    if (shown)
                        Sys().fonts->DrawFontFile(file, names.family, load);
                    else
                        Sys().fonts->DrawAddedFont(file, names.family, load);
                    if (IsFaceOf(loaded, file, index))
                        return loaded;
                }
            }
        }
        if (index != 0)
            return QRawFont();
        QRawFont own(file, kLoadSize, QFont::PreferNoHinting);
        return own;
    }

    // Whether the current font's licence lets a document embed it (OS/2 fsType).
    bool EmbeddingAllowedNow()
    {
        if (!embeddingChosen) {
            embeddingChosen = true;
            if (Raw()) {
                embeddable = EmbeddableFace(*Raw());
            } else {
                // A font by family (captions) is asked once per family and
                // style: loading it again each time Qt dropped it from its
                // cache weighed it against every installed font.
                const QString key = font.family() + QChar(0) + QChar(font.bold()) + QChar(font.italic());
                const auto known = embeddableFonts.constFind(key);
                embeddable = known != embeddableFonts.constEnd() ? *known
                                                                 : *embeddableFonts.insert(
                                                                       key, EmbeddableFace(QRawFont::fromFont(font)));
            }
        }
        return embeddable;
    }
    static bool EmbeddableFace(const QRawFont& face)
    {
        const int bits = EmbeddingBitsOfTable(face.fontTable("OS/2"));
        return EmbeddingAllowed(bits);
    }
    bool embeddingChosen = false;
    bool embeddable = true;
    QHash<QString, bool> embeddableFonts;  // fonts by family: family, bold, italic

    // The text as filled outlines from the baseline's start: what a printout
    // holds of a font it may not embed.
    void FillOutlines(QPointF origin, const QString& text)
    {
        QRawFont face = Raw() ? *Raw() : QRawFont::fromFont(font);
        if (!Raw())
            face.setPixelSize(fontSize * DeviceScale());
        const QList<quint32> glyphs = face.glyphIndexesForString(text);
        const QList<QPointF> advances = face.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
        QPainterPath path;
        QPointF at = origin;
        for (int i = 0; i < glyphs.size(); ++i) {
            path.addPath(face.pathForGlyph(glyphs[i]).translated(at));
            at += advances.value(i);
        }
        painter.fillPath(path, painter.pen().color());
    }

    bool rawChosen = false;
    QRawFont raw;
    // The face last loaded, by file and style: a run draws one font at its
    // sizes and moves on, so keeping every face would only hold memory.
    QString loadedKey;
    QRawFont loadedFont;
    // Every face a document drew, oldest first. The PDF writer closes its
    // fonts in no order when the document ends, and FreeType finds each face
    // it closes by walking all open faces from the oldest: closing them oldest
    // first, after the writer, keeps each close short.
    std::vector<QRawFont> drawnFaces;

    void EndPainting()
    {
        painter.end();
        for (QRawFont& face : drawnFaces)
            face = QRawFont();
        drawnFaces.clear();
    }

    // The glyphs of a text in the raw font and their positions from the
    // baseline's start, in device pixels; a missing character draws the font's
    // own .notdef. Returns the width.
    double Layout(const QString& text, QGlyphRun* run)
    {
        const QList<quint32> glyphs = raw.glyphIndexesForString(text);
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
        QList<QPointF> positions;
        positions.reserve(glyphs.size());
        double x = 0;
        for (const QPointF& advance : advances) {
            positions.append(QPointF(x, 0));
            x += advance.x();
        }
        if (run) {
            run->setRawFont(raw);
            run->setGlyphIndexes(glyphs);
            run->setPositions(positions);
        }
        return x;
    }

    // Loads the font before its first use, while the system matches within its
    // family only: loading it later weighs every installed face.
    void MakeEngine()
    {
        if (engineMade || Raw())
            return;
        engineMade = true;
        // A known family also means the toolkit's list is read, with every font in view.
        if (!Sys().fonts || !IsKnownFamily(font.family()))
            return;
        Sys().fonts->MatchWithinFamily(font.family(), [this] { QFontMetricsF(font, Device()).ascent(); });
    }
    bool engineMade = false;

    // Opens the document (or the next page of the PDF file) before any output.
    bool Ready()
    {
        if (!valid || imagePageDone)
            return false;
        if (painter.isActive()) {
            if (documentEnded) {
                documentEnded = false;
                printer->newPage();
            }
            return true;
        }
        if (!painter.begin(Device())) {
            valid = false;
            return false;
        }
        documentEnded = false;
        painter.setRenderHint(QPainter::Antialiasing);
        return true;
    }
};

QtPrinterSurface::QtPrinterSurface() : d(std::make_unique<State>())
{
    d->BuildFont();
}

QtPrinterSurface::~QtPrinterSurface()
{
    Close();
}

std::unique_ptr<QtPrinterSurface> QtPrinterSurface::ForPrinter(const QString& printerName)
{
    std::unique_ptr<QtPrinterSurface> surface(new QtPrinterSurface);
    State& s = *surface->d;
    s.ownedPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    s.printer = s.ownedPrinter.get();
    s.printer->setCreator(QStringLiteral("Glyphwick"));
    QString name = printerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : printerName;
    if (!name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name)) {
        s.printer->setPrinterName(name);
        s.valid = s.printer->isValid();
    }
    return surface;
}

std::unique_ptr<QtPrinterSurface> QtPrinterSurface::ForDevice(QPrinter* printer)
{
    std::unique_ptr<QtPrinterSurface> surface(new QtPrinterSurface);
    State& s = *surface->d;
    s.printer = printer;
    // Like the PDF writer: one document, whatever the reset interval says.
    s.pdf = true;
    s.valid = printer != nullptr;
    return surface;
}

std::unique_ptr<QtPrinterSurface> QtPrinterSurface::ForImage(QImage* image, int paperCode)
{
    std::unique_ptr<QtPrinterSurface> surface(new QtPrinterSurface);
    State& s = *surface->d;
    s.imageLayout = SheetLayout(paperCode);
    s.image = image;
    s.pdf = true;
    s.valid = image && !image->isNull();
    if (s.valid) {
        // The image covers the printable area, at the resolution its width gives.
        const double dpi = image->width() / (s.PrintablePoints().width() / 72.0);
        image->setDotsPerMeterX(qRound(dpi / 0.0254));
        image->setDotsPerMeterY(qRound(dpi / 0.0254));
        image->fill(Qt::white);
    }
    return surface;
}

bool QtPrinterSurface::IsValid() const { return d->valid; }

void QtPrinterSurface::Close()
{
    if (d->painter.isActive())
        d->EndPainting();
}

bool QtPrinterSurface::Finish(QString* error)
{
    Close();
    if (error)
        error->clear();
    return true;
}

void QtPrinterSurface::SetOrientation(int orientation)
{
    // The layout cannot change while the painter is on the device.
    if (d->painter.isActive() || !d->printer)
        return;
    d->printer->setPageOrientation(orientation == 2 ? QPageLayout::Landscape
                                                    : QPageLayout::Portrait);
}

int QtPrinterSurface::PaperSize() const
{
    return d->Layout().pageSize().windowsId();
}


int QtPrinterSurface::Width() const
{
    return static_cast<int>(std::lround(d->SheetPoints().width() * 20));
}

int QtPrinterSurface::Height() const
{
    return static_cast<int>(std::lround(d->SheetPoints().height() * 20));
}

double QtPrinterSurface::ScaleWidth() const
{
    return d->FromPoints(d->PrintablePoints().width());
}

double QtPrinterSurface::ScaleHeight() const
{
    return d->FromPoints(d->PrintablePoints().height());
}


QString QtPrinterSurface::SetFontFace(const QString& fontFile, int fontFace)
{
    if (fontFile.isEmpty())
        return QString();
    // A variable font's named instance is drawn from a static copy of it: the
    // file's own outlines are its default's, and a PDF would embed those.
    const bool instance = InstanceOfFace(fontFace) > 0;
    const QString file = instance ? d->instances.FileOf(fontFile, fontFace) : fontFile;
    const int faceIndex = instance ? 0 : fontFace;
    if (file.isEmpty())
        return QString();
    return NameFace(file, faceIndex, [&] {
        // Loaded now, and kept as the face last loaded for the drawing that follows.
        const QRawFont loaded = d->LoadFileFace(file, faceIndex);
        d->KeepLoaded(FaceName(file, faceIndex) + QChar(2), loaded);
        return loaded.isValid();
    });
}

SurfaceSettings& QtPrinterSurface::Settings() { return *d; }
void QtPrinterSurface::FontChanged() { d->BuildFont(); }

double QtPrinterSurface::TextWidth(const QString& text)
{
    if (d->Raw())
        return d->FromPoints(d->Layout(text, nullptr) / d->DeviceScale());
    d->MakeEngine();
    const QFontMetricsF metrics(d->font, d->Device());
    return d->FromPoints(metrics.horizontalAdvance(text) / d->DeviceScale());
}

double QtPrinterSurface::FontDescent()
{
    if (const QRawFont* raw = d->Raw())
        return d->FromPoints(raw->descent() / d->DeviceScale());
    d->MakeEngine();
    return d->FromPoints(QFontMetricsF(d->font, d->Device()).descent() / d->DeviceScale());
}

void QtPrinterSurface::Print(const QString& text)
{
    const double width = d->ToPoints(TextWidth(text));
    if (d->Ready() && !text.isEmpty()) {
        double left = d->x;
        if (d->align == AlignBaseRight)
            left -= width;
        else if (d->align == AlignBaseCentre)
            left -= width / 2;
        d->painter.setPen(FromBgr(d->foreColor));
        if (!d->image && !d->EmbeddingAllowedNow()) {
            d->FillOutlines(d->Device(left, d->y), text);
        } else if (d->Raw()) {
            QGlyphRun run;
            d->Layout(text, &run);
            d->painter.drawGlyphRun(d->Device(left, d->y), run);
        } else {
            d->painter.setFont(d->font);
            d->painter.drawText(d->Device(left, d->y), text);
        }
    }
    d->x += width;
}

void QtPrinterSurface::Line(double x1, double y1, double x2, double y2, int kind, uint32_t rgb)
{
    if (!d->Ready())
        return;
    QPainter& p = d->painter;
    const QColor colour = FromBgr(rgb);
    QPen pen(colour);
    pen.setStyle(PenStyleFor(d->drawStyle));
    pen.setWidthF(d->drawWidth * 72.0 / 300 * d->DeviceScale());
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);

    const QPointF a = d->Device(d->ToPoints(x1), d->ToPoints(y1));
    const QPointF b = d->Device(d->ToPoints(x2), d->ToPoints(y2));
    if (kind == LineBox || kind == LineFilledBox) {
        const QRectF box = QRectF(a, b).normalized();
        if (kind == LineFilledBox) {
            p.setBrush(QBrush(colour));
            p.drawRect(box);
        } else {
            if (d->fillStyle == FillSolid) {
                p.setBrush(QBrush(FromBgr(d->fillColor)));
            } else if (d->fillStyle != FillTransparent) {
                Hatch(p, box, d->fillStyle, FromBgr(d->fillColor), d->DeviceScale());
            }
            p.setPen(pen);
            p.drawRect(box);
        }
        p.setBrush(Qt::NoBrush);
    } else {
        p.drawLine(a, b);
    }
}

void QtPrinterSurface::NewPage()
{
    if (!d->Ready())
        return;
    if (!d->printer) {
        d->imagePageDone = true;
        return;
    }
    d->printer->newPage();
}

void QtPrinterSurface::EndDoc()
{
    if (!d->painter.isActive() || d->documentEnded)
        return;
    if (!d->printer)
        d->imagePageDone = true;
    else if (d->pdf)
        d->documentEnded = true;  // one file for the whole run
    else
        d->EndPainting();         // sends the job to the spooler
}

void QtPrinterSurface::SetDocumentTitle(const QString& title)
{
    if (d->printer && !d->painter.isActive())
        d->printer->setDocName(title);
}

bool QtPrinterSurface::HasGlyph(int code)
{
    if (code < 0 || code > 255)
        return false;
    if (const QRawFont* raw = d->Raw())
        return raw->supportsCharacter(Cp1252Char(code));
    d->MakeEngine();
    return QRawFont::fromFont(d->font).supportsCharacter(Cp1252Char(code));
}

} // namespace gw
