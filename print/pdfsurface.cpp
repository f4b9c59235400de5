#include "print/pdfsurface.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPainterPath>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "fonts/fontfacts.h"
#include "fonts/outlineface.h"
#include "platformapi/platform.h"
#include "print/pageframe.h"
#include "print/surfacecommon.h"
#include "sfnt/codepage.h"

namespace gw {

namespace {

// The PDF file being written now, for a signal handler to remove: a run
// stopped by an interrupt leaves no partial file beside its target.
char partialPdf[4096] = {};

void RememberPartialPdf(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const size_t n = std::min(sizeof partialPdf - 1, size_t(name.size()));
    partialPdf[0] = '\0';
    std::memcpy(partialPdf + 1, name.constData(), n);
    partialPdf[n + 1] = '\0';
    partialPdf[0] = n > 0 ? 1 : 0;  // set last: the handler reads the flag first
}

void RemovePartialPdf(int signal)
{
    if (partialPdf[0])
        ::unlink(partialPdf + 1);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// A number as PDF writes it: at most three decimals, no trailing zeros.
QByteArray Num(double v)
{
    char buffer[32];
    const long long thousandths = std::llround(v * 1000);
    const long long whole = std::llabs(thousandths) / 1000, part = std::llabs(thousandths) % 1000;
    int n = std::snprintf(buffer, sizeof buffer, "%s%lld", thousandths < 0 ? "-" : "", whole);
    if (part != 0) {
        n += std::snprintf(buffer + n, sizeof buffer - size_t(n), ".%03lld", part);
        while (buffer[n - 1] == '0')
            --n;
    }
    return QByteArray(buffer, n);
}

// A name object: bytes outside the printable ASCII and the delimiters as #xx.
QByteArray Name(const QString& text)
{
    QByteArray out("/");
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (u > 32 && u < 127 && !std::strchr("#()<>[]{}/%", c))
            out += c;
        else
            out += '#' + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return out;
}

QByteArray Hex4(unsigned v)
{
    return QByteArray::number(v, 16).rightJustified(4, '0').toUpper();
}

// The text as UTF-16 in a hex string, as a document's information holds it.
QByteArray TextString(const QString& text)
{
    QByteArray out("<FEFF");
    for (const QChar c : text)
        out += Hex4(c.unicode());
    return out + '>';
}

QByteArray Rgb(uint32_t bgr)
{
    return Num((bgr & 0xFF) / 255.0) + ' ' + Num(((bgr >> 8) & 0xFF) / 255.0) + ' '
           + Num(((bgr >> 16) & 0xFF) / 255.0);
}

// Dashes of the drawing styles 1 to 4, in pen widths, as printers draw them.
QByteArray DashPattern(int drawStyle, double width)
{
    static const QList<QList<double>> patterns = {{4, 2}, {1, 2}, {4, 2, 1, 2}, {4, 2, 1, 2, 1, 2}};
    if (drawStyle < 1 || drawStyle > 4)
        return "[] 0 d\n";
    QByteArray out("[");
    for (double part : patterns[drawStyle - 1])
        out += Num(part * width) + ' ';
    out.chop(1);
    return out + "] 0 d\n";
}

// A face drawn in the document: its glyphs get numbers of their own (0 the
// .notdef) in the order first drawn, and the characters each stands for.
struct PdfFont {
    std::unique_ptr<OutlineFace> face;
    bool embeddable = true;
    int objectId = 0;  // 0 until first drawn as text
    int lastPage = -1;
    QHash<unsigned, unsigned> numbers;  // a face glyph -> its number here
    QList<unsigned> glyphs{0};          // a number -> the face glyph
    QList<QString> texts{QString()};    // a number -> its characters

    unsigned Number(unsigned glyph, const QString& text)
    {
        auto it = numbers.constFind(glyph);
        if (it == numbers.constEnd()) {
            it = numbers.insert(glyph, unsigned(glyphs.size()));
            glyphs.append(glyph);
            texts.append(text);
        }
        return *it;
    }
};

// A text laid out in a face: its glyphs, and each one's advance with the
// kerning to the next, in font units.
struct GlyphRun {
    QList<unsigned> glyphs;
    QList<QString> texts;
    QList<int> advances;
    qint64 width = 0;
};

GlyphRun Layout(const OutlineFace& face, const QString& text)
{
    GlyphRun run;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype start = i;
        char32_t c = text[i++].unicode();
        if (QChar::isHighSurrogate(c) && i < text.size() && text[i].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[i++].unicode());
        const unsigned glyph = face.GlyphIndex(c);
        if (!run.glyphs.isEmpty())
            run.advances.last() += face.Kerning(run.glyphs.last(), glyph);
        run.glyphs.append(glyph);
        run.texts.append(text.mid(start, i - start));
        run.advances.append(face.Advance(glyph));
    }
    for (int a : run.advances)
        run.width += a;
    return run;
}

} // namespace

struct PdfSurface::State : SurfaceSettings {
    bool valid = false;
    QString target;
    QString partial;
    QString error;
    QFile out;
    qint64 written = 0;
    bool writeFailed = false;
    QString title;

    QPageLayout layout;
    bool opened = false;
    bool documentEnded = false;
    int pageNumber = -1;
    QByteArray content;
    QList<int> pageFonts;      // object ids of the fonts this page draws with
    QList<int> pageIds;
    std::vector<qint64> offsets{0};  // by object id; 1 catalog, 2 page tree, 3 information
    static constexpr int kCatalog = 1, kPages = 2, kInfo = 3;

    QHash<QString, FaceRef> namedFaces;  // a name, bold and italic -> the face drawn

    // The faces drawn on this page or the one before, by face key: a face
    // idle for a whole page is written out and closed.
    QHash<QString, std::shared_ptr<PdfFont>> fonts;
    std::shared_ptr<PdfFont> current;
    bool currentChosen = false;
    bool slanted = false, emboldened = false;  // the face lacks the style asked for

    QSizeF Sheet() const { return layout.fullRect(QPageLayout::Point).size(); }
    QSizeF Printable() const { return layout.paintRect(QPageLayout::Point).size(); }
    // A point of the printable area (y down) on the page (y up).
    double PageX(double px) const { return layout.margins(QPageLayout::Point).left() + px; }
    double PageY(double py) const { return Sheet().height() - layout.margins(QPageLayout::Point).top() - py; }

    void Write(const QByteArray& bytes)
    {
        if (writeFailed)
            return;
        if (out.write(bytes) != bytes.size())
            writeFailed = true;
        written += bytes.size();
    }
    int NewObject()
    {
        offsets.push_back(0);
        return int(offsets.size()) - 1;
    }
    void WriteObject(int id, const QByteArray& body)
    {
        offsets[size_t(id)] = written;
        Write(QByteArray::number(id) + " 0 obj\n" + body + "\nendobj\n");
    }
    void WriteStream(int id, const QByteArray& data, const QByteArray& extra = {})
    {
        const QByteArray packed = qCompress(data, 6).mid(4);  // a zlib stream, without Qt's length
        offsets[size_t(id)] = written;
        Write(QByteArray::number(id) + " 0 obj\n<< /Length " + QByteArray::number(packed.size())
              + " /Filter /FlateDecode" + extra + " >>\nstream\n");
        Write(packed);
        Write("\nendstream\nendobj\n");
    }

    // The face of the current font: the face chosen by file, else the one the
    // name draws in; null when it has none that can be drawn.
    PdfFont* Current()
    {
        if (currentChosen)
            return current.get();
        currentChosen = true;
        FaceRef ref;
        if (faceSelected) {
            ref = faceNames.value(fontName);
        } else {
            const QString key = fontName + QChar(0) + QChar('0' + bold + 2 * italic);
            auto known = namedFaces.constFind(key);
            if (known == namedFaces.constEnd()) {
                FaceRef found;
                if (Sys().fonts) {
                    found.file = addedFont ? Sys().fonts->AddedFontFile(fontName, bold, italic, &found.index)
                                           : Sys().fonts->MatchFontFile(fontName, bold, italic, &found.index);
                    if (found.file.isEmpty())
                        found.file = Sys().fonts->MatchFontFile(QStringLiteral("sans-serif"), bold, italic,
                                                                &found.index);
                }
                known = namedFaces.insert(key, found);
            }
            ref = *known;
        }
        current = ref.file.isEmpty() ? nullptr : Open(ref.file, ref.index);
        slanted = current && !faceSelected && italic && !current->face->IsItalic();
        emboldened = current && !faceSelected && bold && !current->face->IsBold();
        return current.get();
    }
    std::shared_ptr<PdfFont> Open(const QString& file, int index)
    {
        const QString key = FaceName(file, index);
        auto it = fonts.find(key);
        if (it == fonts.end()) {
            auto font = std::make_shared<PdfFont>();
            font->face = std::make_unique<OutlineFace>(file, index);
            if (!font->face->IsValid())
                return nullptr;
            const int bits = font->face->EmbeddingBits();
            font->embeddable = EmbeddingAllowed(bits);
            it = fonts.insert(key, font);
        }
        return *it;
    }
    void FontChanged() { currentChosen = false; }

    double Scale() const
    {
        return fontSize / (current ? current->face->UnitsPerEm() : 1000);
    }

    bool Ready()
    {
        if (!valid)
            return false;
        if (!opened) {
            opened = true;
            Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
            StartPage();
        } else if (documentEnded) {
            documentEnded = false;
            EndPage();
            StartPage();
        }
        return true;
    }
    void StartPage()
    {
        ++pageNumber;
        content.clear();
        pageFonts.clear();
    }
    void EndPage()
    {
        const int contentId = NewObject(), pageId = NewObject();
        WriteStream(contentId, content);
        QByteArray resources;
        for (int id : std::as_const(pageFonts))
            resources += "/F" + QByteArray::number(id) + ' ' + QByteArray::number(id) + " 0 R ";
        const QSizeF sheet = Sheet();
        WriteObject(pageId, "<< /Type /Page /Parent " + QByteArray::number(kPages) + " 0 R /MediaBox [0 0 "
                                + Num(sheet.width()) + ' ' + Num(sheet.height()) + "] /Resources << /Font << "
                                + resources + ">> >> /Contents " + QByteArray::number(contentId) + " 0 R >>");
        pageIds.append(pageId);
        // Faces idle for a whole page go out, and their files are closed.
        WriteFonts([&](const std::shared_ptr<PdfFont>& font) { return font->lastPage < pageNumber && font != current; });
    }

    // Writes out and closes the faces picked, in the order first drawn: the same document is the same file.
    void WriteFonts(const std::function<bool(const std::shared_ptr<PdfFont>&)>& picked)
    {
        std::vector<std::shared_ptr<PdfFont>> done;
        for (auto it = fonts.begin(); it != fonts.end();) {
            if (picked(*it)) {
                done.push_back(*it);
                it = fonts.erase(it);
            } else {
                ++it;
            }
        }
        std::sort(done.begin(), done.end(), [](const auto& a, const auto& b) { return a->objectId < b->objectId; });
        for (const auto& font : done)
            WriteFont(*font);
    }

    // The font's objects: a Type 0 font of the glyphs drawn, numbered as drawn.
    void WriteFont(PdfFont& font)
    {
        if (font.objectId == 0)
            return;
        const OutlineFace& face = *font.face;
        const double perUnit = 1000.0 / face.UnitsPerEm();
        QList<TrueTypeGlyph> glyphs;
        QByteArray widths("[0 [");
        for (unsigned glyph : std::as_const(font.glyphs)) {
            glyphs.append(face.Glyph(glyph));
            widths += Num(glyphs.last().advance * perUnit) + ' ';
        }
        widths += "]]";
        const QByteArray name = Name(face.PostScriptName());
        const int cidFont = NewObject(), descriptor = NewObject(), program = NewObject(),
                  toUnicode = NewObject();
        const QByteArray bytes = TrueTypeProgram(face, glyphs);
        WriteStream(program, bytes, " /Length1 " + QByteArray::number(bytes.size()));
        WriteObject(descriptor,
                    "<< /Type /FontDescriptor /FontName " + name + " /Flags "
                        + QByteArray(face.ItalicAngle() != 0 ? "68" : "4") + " /FontBBox ["
                        + Num(face.XMin() * perUnit) + ' ' + Num(face.YMin() * perUnit) + ' '
                        + Num(face.XMax() * perUnit) + ' ' + Num(face.YMax() * perUnit) + "] /ItalicAngle "
                        + Num(face.ItalicAngle()) + " /Ascent " + Num(face.Ascent() * perUnit) + " /Descent "
                        + Num(-face.Descent() * perUnit) + " /CapHeight " + Num(face.CapHeight() * perUnit)
                        + " /StemV 80 /FontFile2 " + QByteArray::number(program) + " 0 R >>");
        WriteObject(cidFont,
                    "<< /Type /Font /Subtype /CIDFontType2 /BaseFont " + name
                        + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                          " /FontDescriptor "
                        + QByteArray::number(descriptor) + " 0 R /W " + widths
                        + " /CIDToGIDMap /Identity >>");
        QByteArray map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                         "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                         "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                         "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
        for (qsizetype first = 1; first < font.texts.size(); first += 100) {
            const qsizetype last = std::min(font.texts.size(), first + 100);
            map += QByteArray::number(last - first) + " beginbfchar\n";
            for (qsizetype n = first; n < last; ++n) {
                QByteArray utf16;
                for (const QChar c : font.texts[n])
                    utf16 += Hex4(c.unicode());
                map += '<' + Hex4(unsigned(n)) + "> <"
                       + (utf16.isEmpty() ? QByteArray("FFFD") : utf16) + ">\n";
            }
            map += "endbfchar\n";
        }
        map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
        WriteStream(toUnicode, map);
        WriteObject(font.objectId, "<< /Type /Font /Subtype /Type0 /BaseFont " + name
                                       + " /Encoding /Identity-H /DescendantFonts ["
                                       + QByteArray::number(cidFont) + " 0 R] /ToUnicode "
                                       + QByteArray::number(toUnicode) + " 0 R >>");
    }

    void EndDocument()
    {
        if (!opened)
            return;
        EndPage();
        WriteFonts([](const std::shared_ptr<PdfFont>&) { return true; });
        current.reset();
        currentChosen = false;
        QByteArray kids;
        for (int id : std::as_const(pageIds))
            kids += QByteArray::number(id) + " 0 R ";
        WriteObject(kPages, "<< /Type /Pages /Kids [" + kids + "] /Count "
                                + QByteArray::number(pageIds.size()) + " >>");
        WriteObject(kCatalog, "<< /Type /Catalog /Pages " + QByteArray::number(kPages) + " 0 R >>");
        WriteObject(
            kInfo, "<< /Title " + TextString(title)
                       + " /Creator (Glyphwick) /Producer (Glyphwick) /CreationDate (D:"
                       + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1()
                       + "Z) >>");
        const qint64 xref = written;
        QByteArray table =
            "xref\n0 " + QByteArray::number(qint64(offsets.size())) + "\n0000000000 65535 f \n";
        for (size_t id = 1; id < offsets.size(); ++id)
            table += QByteArray::number(offsets[id]).rightJustified(10, '0') + " 00000 n \n";
        Write(table + "trailer\n<< /Size " + QByteArray::number(qint64(offsets.size()))
              + " /Root " + QByteArray::number(kCatalog) + " 0 R /Info " + QByteArray::number(kInfo)
              + " 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n");
        opened = false;
    }

    // Puts the written file in place of the target when it is whole, else
    // removes it, leaving the target as it was. Once per surface.
    bool Place()
    {
        if (partial.isEmpty())
            return error.isEmpty();
        const QString file = partial;
        partial.clear();
        RememberPartialPdf(QString());
        const bool flushed = out.isOpen() && out.flush() && !writeFailed;
        const bool whole = flushed && ::fsync(out.handle()) == 0 && out.size() > 0;
        out.close();
        if (!whole) {
            QFile::remove(file);
            error = QStringLiteral("the file could not be written whole (the disk may be full)");
            return false;
        }
        // The file gets the earlier file's permissions, else those a new file gets.
        struct stat earlier {};
        mode_t mode = 0;
        if (::stat(QFile::encodeName(target).constData(), &earlier) == 0) {
            mode = earlier.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::chmod(QFile::encodeName(file).constData(), mode);
        if (::rename(QFile::encodeName(file).constData(), QFile::encodeName(target).constData()) != 0) {
            error = QString::fromLocal8Bit(std::strerror(errno));
            QFile::remove(file);
            return false;
        }
        return true;
    }

    // The text drawn at the baseline's start: as text in the embedded face,
    // or, when the face may not be embedded, as its filled outlines.
    void DrawText(double left, double baseline, const GlyphRun& run)
    {
        PdfFont& font = *current;
        font.lastPage = pageNumber;
        const double size = fontSize, perUnit = Scale();
        const double slant = slanted ? 0.2 : 0;
        const double X = PageX(left), Y = PageY(baseline);
        if (!font.embeddable) {
            QByteArray path;
            double pen = 0;
            for (int i = 0; i < run.glyphs.size(); ++i) {
                const QPainterPath outline = font.face->Outline(run.glyphs[i]);
                for (int e = 0; e < outline.elementCount(); ++e) {
                    const QPainterPath::Element el = outline.elementAt(e);
                    const auto at = [&](const QPainterPath::Element& p) {
                        return Num(X + (pen + p.x + slant * p.y) * perUnit) + ' ' + Num(Y + p.y * perUnit);
                    };
                    if (el.isMoveTo()) {
                        path += (e ? "h\n" : "") + at(el) + " m\n";
                    } else if (el.isLineTo()) {
                        path += at(el) + " l\n";
                    } else if (el.isCurveTo() && e + 2 < outline.elementCount()) {
                        path += at(el) + ' ' + at(outline.elementAt(e + 1)) + ' '
                                + at(outline.elementAt(e + 2)) + " c\n";
                        e += 2;
                    }
                }
                if (outline.elementCount())
                    path += "h\n";
                pen += run.advances[i];
            }
            content += Rgb(foreColor) + " rg\n" + path + "f\n";
            return;
        }
        if (font.objectId == 0)
            font.objectId = NewObject();
        if (!pageFonts.contains(font.objectId))
            pageFonts.append(font.objectId);
        QByteArray shown("[<");
        for (int i = 0; i < run.glyphs.size(); ++i) {
            const unsigned number = font.Number(run.glyphs[i], run.texts[i]);
            shown += Hex4(number);
            // The kerning: what the advance differs from the glyph's width.
            const int kerning = run.advances[i] - font.face->Advance(run.glyphs[i]);
            if (kerning != 0 && i + 1 < run.glyphs.size())
                shown += "> " + Num(-kerning * 1000.0 / font.face->UnitsPerEm()) + " <";
        }
        shown += ">] TJ\n";
        content += "BT\n/F" + QByteArray::number(font.objectId) + ' ' + Num(size) + " Tf\n" + Rgb(foreColor)
                   + " rg\n";
        if (emboldened)
            content += Rgb(foreColor) + " RG " + Num(size / 30) + " w 2 Tr\n";
        else
            content += "0 Tr\n";
        content += "1 0 " + Num(slant) + " 1 " + Num(X) + ' ' + Num(Y) + " Tm\n" + shown + "ET\n";
    }
};

PdfSurface::PdfSurface() : d(std::make_unique<State>()) {}

PdfSurface::~PdfSurface()
{
    Finish(nullptr);
}

std::unique_ptr<PdfSurface> PdfSurface::Create(const QString& fileName, int paperCode)
{
    std::unique_ptr<PdfSurface> surface(new PdfSurface);
    State& s = *surface->d;
    s.layout = SheetLayout(paperCode);
    s.target = fileName;
    for (int i = 0; i < 3; ++i)
        s.NewObject();
    // Only a regular file is replaced: a folder, a device or a pipe is not a PDF file.
    const QFileInfo target(fileName);
    if (fileName.isEmpty() || (target.exists() && !target.isFile())) {
        s.error = QStringLiteral("it is not a regular file");
        return surface;
    }
    // Named as the program's own temporary files, with this process's id, so
    // that the next start removes it when a kill left it behind.
    QTemporaryFile partial(target.absolutePath() + "/" + OwnFilePrefix() + QStringLiteral("XXXXXX.pdf"));
    partial.setAutoRemove(false);
    if (!partial.open()) {
        s.error = partial.errorString();
        return surface;
    }
    s.partial = partial.fileName();
    RememberPartialPdf(s.partial);
    s.out.setFileName(s.partial);
    s.valid = s.out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (!s.valid)
        s.error = s.out.errorString();
    return surface;
}

void PdfSurface::RemovePartialPdfOnInterrupt()
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, RemovePartialPdf);
}

bool PdfSurface::IsValid() const { return d->valid; }

bool PdfSurface::Finish(QString* error)
{
    d->EndDocument();
    d->valid = false;
    d->Place();
    if (error)
        *error = d->error;
    return d->error.isEmpty();
}

void PdfSurface::SetOrientation(int orientation)
{
    // The sheet cannot turn once drawn on.
    if (!d->opened)
        d->layout.setOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int PdfSurface::PaperSize() const { return d->layout.pageSize().windowsId(); }
int PdfSurface::Width() const { return int(std::lround(d->Sheet().width() * 20)); }
int PdfSurface::Height() const { return int(std::lround(d->Sheet().height() * 20)); }
double PdfSurface::ScaleWidth() const { return d->FromPoints(d->Printable().width()); }
double PdfSurface::ScaleHeight() const { return d->FromPoints(d->Printable().height()); }

QString PdfSurface::SetFontFace(const QString& file, int faceIndex)
{
    return NameFace(file, faceIndex, [&] { return d->Open(file, faceIndex) != nullptr; });
}

SurfaceSettings& PdfSurface::Settings() { return *d; }
void PdfSurface::FontChanged() { d->FontChanged(); }

double PdfSurface::TextWidth(const QString& text)
{
    const PdfFont* font = d->Current();
    return font ? d->FromPoints(Layout(*font->face, text).width * d->Scale()) : 0;
}

double PdfSurface::FontDescent()
{
    const PdfFont* font = d->Current();
    return font ? d->FromPoints(font->face->Descent() * d->Scale()) : 0;
}

void PdfSurface::Print(const QString& text)
{
    const PdfFont* font = d->Current();
    const GlyphRun run = font ? Layout(*font->face, text) : GlyphRun();
    const double width = run.width * d->Scale();
    if (d->Ready() && font && !text.isEmpty()) {
        double left = d->x;
        if (d->align == AlignBaseRight)
            left -= width;
        else if (d->align == AlignBaseCentre)
            left -= width / 2;
        d->DrawText(left, d->y, run);
    }
    d->x += width;
}

void PdfSurface::Line(double x1, double y1, double x2, double y2, int kind, uint32_t rgb)
{
    if (!d->Ready())
        return;
    State& s = *d;
    const double width = s.drawWidth * 72.0 / 300;
    const QPointF a(s.ToPoints(x1), s.ToPoints(y1)), b(s.ToPoints(x2), s.ToPoints(y2));
    const double ax = s.PageX(a.x()), ay = s.PageY(a.y()), bx = s.PageX(b.x()), by = s.PageY(b.y());
    QByteArray& c = s.content;
    c += "q\n" + Rgb(rgb) + " RG " + Num(width) + " w 0 J 0 j\n" + DashPattern(s.drawStyle, width);
    const bool stroke = s.drawStyle != 5;
    const QByteArray box = Num(std::min(ax, bx)) + ' ' + Num(std::min(ay, by)) + ' ' + Num(std::abs(bx - ax))
                           + ' ' + Num(std::abs(by - ay)) + " re\n";
    // Outlined from the top-left corner clockwise, where a printer starts its dashes.
    const QByteArray left = Num(std::min(ax, bx)), right = Num(std::max(ax, bx));
    const QByteArray top = Num(std::max(ay, by)), bottom = Num(std::min(ay, by));
    const QByteArray outline = left + ' ' + top + " m " + right + ' ' + top + " l " + right + ' ' + bottom
                               + " l " + left + ' ' + bottom + " l h\n";
    if (kind == LineFilledBox) {
        c += Rgb(rgb) + " rg\n" + (stroke ? outline + "B\n" : box + "f\n");
    } else if (kind == LineBox) {
        if (s.fillStyle == FillSolid) {
            c += Rgb(s.fillColor) + " rg\n" + box + "f\n";
        } else if (s.fillStyle != FillTransparent) {
            // Hatching one pixel wide, 8 apart, of a 300 dpi printer, clipped to the box.
            c += "q\n" + box + "W n\n" + Rgb(s.fillColor) + " RG " + Num(72.0 / 300) + " w [] 0 d\n";
            for (const QLineF& l : HatchLines(QRectF(a, b).normalized(), s.fillStyle, 8 * 72.0 / 300))
                c += Num(s.PageX(l.x1())) + ' ' + Num(s.PageY(l.y1())) + " m " + Num(s.PageX(l.x2())) + ' '
                     + Num(s.PageY(l.y2())) + " l S\n";
            c += "Q\n";
        }
        if (stroke)
            c += outline + "S\n";
    } else if (stroke) {
        c += Num(ax) + ' ' + Num(ay) + " m " + Num(bx) + ' ' + Num(by) + " l S\n";
    }
    c += "Q\n";
}

void PdfSurface::NewPage()
{
    if (!d->Ready())
        return;
    d->EndPage();
    d->StartPage();
}

void PdfSurface::EndDoc()
{
    // One file for the whole run: the next output goes on a new page.
    if (d->opened)
        d->documentEnded = true;
}

bool PdfSurface::HasGlyph(int code)
{
    const PdfFont* font = d->Current();
    return font && code >= 0 && code <= 255 && font->face->GlyphIndex(Cp1252Char(code).unicode()) != 0;
}

void PdfSurface::SetDocumentTitle(const QString& title)
{
    if (!d->opened)
        d->title = title;
}

} // namespace gw
