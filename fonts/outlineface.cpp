#include "fonts/outlineface.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <climits>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_TYPE1_TABLES_H

#include "fonts/fontfacts.h"
#include "fonts/truetypeoutline.h"
#include "sfnt/writer.h"

namespace gw {

namespace {

// One library for the process: starting FreeType loads all its modules.
FT_Library Library()
{
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

constexpr FT_Int32 kLoadFlags =
    FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_TRANSFORM;

} // namespace

struct OutlineFace::Private {
    FT_Face face = nullptr;
    FT_CharMap unicodeMap = nullptr;
    FT_CharMap symbolMap = nullptr;
    int embeddingBits = -1;
    int capHeight = 0;
    double italicAngle = 0;
    QString postScriptName;
    mutable QHash<unsigned, TrueTypeGlyph> glyphs;
};

OutlineFace::OutlineFace(const QString& file, int faceIndex) : d(std::make_unique<Private>())
{
    FT_Face face = nullptr;
    if (!Library() || FT_New_Face(Library(), QFile::encodeName(file).constData(), faceIndex, &face) != 0)
        return;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 || face->num_glyphs <= 0
        || face->num_glyphs > 65535) {
        FT_Done_Face(face);
        return;
    }
    d->face = face;
    d->unicodeMap = face->charmap && face->charmap->encoding == FT_ENCODING_UNICODE ? face->charmap : nullptr;
    for (int i = 0; i < face->num_charmaps; ++i) {
        const FT_Encoding encoding = face->charmaps[i]->encoding;
        if (encoding == FT_ENCODING_MS_SYMBOL || encoding == FT_ENCODING_ADOBE_CUSTOM)
            d->symbolMap = face->charmaps[i];
    }
    d->embeddingBits = EmbeddingBitsOfTable(SfntTable(face, TTAG_OS2));
    d->capHeight = face->ascender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)))
        if (os2->version >= 2 && os2->sCapHeight > 0)
            d->capHeight = os2->sCapHeight;
    if (const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST))) {
        d->italicAngle = post->italicAngle / 65536.0;
    } else {
        PS_FontInfoRec info;
        if (FT_Get_PS_Font_Info(face, &info) == 0)
            d->italicAngle = info.italic_angle;
    }
    const char* ps = FT_Get_Postscript_Name(face);
    d->postScriptName = PostScriptText(QString::fromLatin1(ps ? ps : ""));
    if (d->postScriptName.isEmpty())
        d->postScriptName =
            PostScriptText(QString::fromUtf8(face->family_name ? face->family_name : "Font")
                           + QLatin1Char('-') + QString::fromUtf8(face->style_name ? face->style_name : ""));
    if (d->postScriptName.isEmpty())
        d->postScriptName = QStringLiteral("Font");
}

OutlineFace::~OutlineFace()
{
    if (d->face)
        FT_Done_Face(d->face);
}

bool OutlineFace::IsValid() const { return d->face != nullptr; }
QString OutlineFace::PostScriptName() const { return d->postScriptName; }
int OutlineFace::UnitsPerEm() const { return d->face ? d->face->units_per_EM : 1000; }
int OutlineFace::Ascent() const { return d->face ? d->face->ascender : 0; }
int OutlineFace::Descent() const { return d->face ? -d->face->descender : 0; }
int OutlineFace::CapHeight() const { return d->capHeight; }
int OutlineFace::XMin() const { return d->face ? int(d->face->bbox.xMin) : 0; }
int OutlineFace::YMin() const { return d->face ? int(d->face->bbox.yMin) : 0; }
int OutlineFace::XMax() const { return d->face ? int(d->face->bbox.xMax) : 0; }
int OutlineFace::YMax() const { return d->face ? int(d->face->bbox.yMax) : 0; }
double OutlineFace::ItalicAngle() const { return d->italicAngle; }
bool OutlineFace::IsBold() const { return d->face && (d->face->style_flags & FT_STYLE_FLAG_BOLD); }
bool OutlineFace::IsItalic() const { return d->face && (d->face->style_flags & FT_STYLE_FLAG_ITALIC); }
int OutlineFace::EmbeddingBits() const { return d->embeddingBits; }

unsigned OutlineFace::GlyphIndex(char32_t character) const
{
    FT_Face face = d->face;
    if (!face)
        return 0;
    unsigned glyph = d->unicodeMap ? FT_Get_Char_Index(face, character) : 0;
    if (glyph == 0 && (character == 0xA0 || character == '\t'))
        glyph = d->unicodeMap ? FT_Get_Char_Index(face, ' ') : 0;
    if (glyph == 0 && d->symbolMap) {
        FT_Set_Charmap(face, d->symbolMap);
        glyph = FT_Get_Char_Index(face, character);
        if (glyph == 0 && character < 0x100)
            glyph = FT_Get_Char_Index(face, character + 0xF000);
        if (d->unicodeMap)
            FT_Set_Charmap(face, d->unicodeMap);
    }
    return glyph;  // FreeType answers 0 for a cmap entry past the last glyph
}

int OutlineFace::Advance(unsigned glyph) const { return Glyph(glyph).advance; }

int OutlineFace::Kerning(unsigned left, unsigned right) const
{
    FT_Vector kerning{0, 0};
    if (!d->face || !FT_HAS_KERNING(d->face)
        || FT_Get_Kerning(d->face, left, right, FT_KERNING_UNSCALED, &kerning) != 0)
        return 0;
    return int(kerning.x);
}

TrueTypeGlyph OutlineFace::Glyph(unsigned glyph) const
{
    const auto known = d->glyphs.constFind(glyph);
    if (known != d->glyphs.constEnd())
        return *known;
    TrueTypeGlyph made;
    if (d->face && glyph < unsigned(d->face->num_glyphs) && FT_Load_Glyph(d->face, glyph, kLoadFlags) == 0) {
        const FT_GlyphSlot slot = d->face->glyph;
        made.advance = std::clamp(int(slot->metrics.horiAdvance), 0, 65535);
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            GlyphBox box;
            made.record = SimpleGlyph(slot->outline, &box);
            made.xMin = box.xMin, made.yMin = box.yMin, made.xMax = box.xMax, made.yMax = box.yMax;
            made.points = box.points;
            made.contours = made.record.isEmpty() ? 0 : slot->outline.n_contours;
        }
    }
    return *d->glyphs.insert(glyph, made);
}

QPainterPath OutlineFace::Outline(unsigned glyph) const
{
    QPainterPath path;
    if (!d->face || glyph >= unsigned(d->face->num_glyphs) || FT_Load_Glyph(d->face, glyph, kLoadFlags) != 0
        || d->face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return path;
    FT_Outline_Funcs funcs{};
    // FreeType ends each contour with a segment back to its start: every subpath is closed.
    funcs.move_to = [](const FT_Vector* to, void* user) {
        static_cast<QPainterPath*>(user)->moveTo(to->x, to->y);
        return 0;
    };
    funcs.line_to = [](const FT_Vector* to, void* user) {
        static_cast<QPainterPath*>(user)->lineTo(to->x, to->y);
        return 0;
    };
    funcs.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* user) {
        static_cast<QPainterPath*>(user)->quadTo(c->x, c->y, to->x, to->y);
        return 0;
    };
    funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        static_cast<QPainterPath*>(user)->cubicTo(c1->x, c1->y, c2->x, c2->y, to->x, to->y);
        return 0;
    };
    FT_Outline_Decompose(&d->face->glyph->outline, &funcs, &path);
    return path;
}

QByteArray TrueTypeProgram(const OutlineFace& face, const QList<TrueTypeGlyph>& glyphs)
{
    QByteArray glyf, loca, hmtx;
    int xMin = INT_MAX, yMin = INT_MAX, xMax = INT_MIN, yMax = INT_MIN;
    int advanceMax = 0, minLsb = INT_MAX, minRsb = INT_MAX, maxExtent = INT_MIN, maxPoints = 0,
        maxContours = 0;
    for (const TrueTypeGlyph& g : glyphs) {
        AppendU32(loca, quint32(glyf.size()));
        glyf += g.record;
        AppendU16(hmtx, g.advance);
        AppendU16(hmtx, g.record.isEmpty() ? 0 : g.xMin);
        advanceMax = std::max(advanceMax, g.advance);
        if (g.record.isEmpty())
            continue;
        xMin = std::min(xMin, g.xMin), yMin = std::min(yMin, g.yMin);
        xMax = std::max(xMax, g.xMax), yMax = std::max(yMax, g.yMax);
        minLsb = std::min(minLsb, g.xMin), minRsb = std::min(minRsb, g.advance - g.xMax);
        maxExtent = std::max(maxExtent, g.xMax);
        maxPoints = std::max(maxPoints, g.points), maxContours = std::max(maxContours, g.contours);
    }
    AppendU32(loca, quint32(glyf.size()));
    if (xMin == INT_MAX)
        xMin = yMin = xMax = yMax = minLsb = minRsb = maxExtent = 0;
    const auto s16 = [](QByteArray& b, int v) {
        AppendU16(b, quint16(qint16(std::clamp(v, -32768, 32767))));
    };

    QByteArray head;
    AppendU32(head, 0x00010000);
    AppendU32(head, 0x00010000);
    AppendU32(head, 0);  // checkSumAdjustment, set with the file
    AppendU32(head, 0x5F0F3CF5);
    AppendU16(head, 0x0003);  // baseline at y 0, left side bearing at x 0
    AppendU16(head, face.UnitsPerEm());
    head += QByteArray(16, '\0');  // created, modified
    for (int v : {xMin, yMin, xMax, yMax})
        s16(head, v);
    AppendU16(head, (face.IsBold() ? 1 : 0) | (face.IsItalic() ? 2 : 0));
    AppendU16(head, 8);  // lowestRecPPEM
    s16(head, 2);        // fontDirectionHint
    AppendU16(head, 1);  // long loca offsets
    AppendU16(head, 0);

    QByteArray hhea;
    AppendU32(hhea, 0x00010000);
    s16(hhea, face.Ascent());
    s16(hhea, -face.Descent());
    s16(hhea, 0);
    AppendU16(hhea, advanceMax);
    for (int v : {minLsb, minRsb, maxExtent, 1, 0, 0, 0, 0, 0, 0, 0})
        s16(hhea, v);
    AppendU16(hhea, int(glyphs.size()));

    QByteArray maxp;
    AppendU32(maxp, 0x00010000);
    for (int v : {int(glyphs.size()), maxPoints, maxContours, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0})
        AppendU16(maxp, v);

    // A character map that maps nothing: the document names the glyphs by number.
    QByteArray cmap;
    for (int v : {0, 1, 3, 1})
        AppendU16(cmap, v);
    AppendU32(cmap, 12);
    for (int v : {4, 24, 0, 2, 2, 0, 0, 0xFFFF, 0, 0xFFFF, 1, 0})
        AppendU16(cmap, v);

    QByteArray post;
    AppendU32(post, 0x00030000);
    AppendU32(post, quint32(qint32(std::lround(face.ItalicAngle() * 65536))));
    post += QByteArray(24, '\0');

    return SfntFile({{"cmap", cmap}, {"glyf", glyf}, {"head", head}, {"hhea", hhea}, {"hmtx", hmtx},
                     {"loca", loca}, {"maxp", maxp}, {"post", post}});
}

} // namespace gw
