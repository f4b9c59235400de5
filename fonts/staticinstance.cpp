#include "fonts/staticinstance.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>
#include <QPointF>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include "platformapi/platform.h"
#include "sfnt/instances.h"
#include "sfnt/writer.h"

namespace gw {

namespace {

void Put16(QByteArray& bytes, int at, int value)
{
    if (at + 2 <= bytes.size())
        qToBigEndian<quint16>(quint16(value), bytes.data() + at);
}

QByteArray SfntTable(FT_Face face, FT_ULong tag)
{
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0 || length == 0 || length > 64 * 1024 * 1024)
        return {};
    QByteArray table(qsizetype(length), '\0');
    if (FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte*>(table.data()), &length) != 0)
        return {};
    return table;
}

// The Windows US-English names by ID.
QMap<int, QString> WindowsNames(FT_Face face)
{
    QMap<int, QString> names;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.platform_id != 3 || name.language_id != 0x409
            || (name.encoding_id != 1 && name.encoding_id != 10))
            continue;
        QString text;
        for (FT_UInt b = 0; b + 1 < name.string_len; b += 2)
            text += QChar(char16_t((name.string[b] << 8) | name.string[b + 1]));
        names.insert(name.name_id, text);
    }
    return names;
}

// What a PostScript name may hold: printable ASCII but []{}()<>/% and space.
QString PostScriptText(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (c.unicode() > 32 && c.unicode() < 127 && !QStringLiteral("[](){}<>/%").contains(c))
            out += c;
    return out.left(63);
}

struct GlyphPoint {
    int x = 0, y = 0;
    bool onCurve = true;
};

// The outline's contours as TrueType points. A cubic segment (CFF and CFF2
// outlines) becomes four quadratic ones, each fitted to a quarter of it.
QList<QList<GlyphPoint>> QuadraticContours(const FT_Outline& outline)
{
    QList<QList<GlyphPoint>> contours;
    int start = 0;
    for (int c = 0; c < outline.n_contours; start = outline.contours[c++] + 1) {
        const int end = outline.contours[c];
        const auto at = [&](int i) { return QPointF(outline.points[i].x, outline.points[i].y); };
        QList<GlyphPoint> points;
        const auto add = [&](QPointF p, bool on) { points.append({qRound(p.x()), qRound(p.y()), on}); };
        for (int i = start; i <= end && end < outline.n_points; ++i) {
            const char tag = FT_CURVE_TAG(outline.tags[i]);
            if (tag != FT_CURVE_TAG_CUBIC || i == start || i + 1 > end) {
                add(at(i), tag == FT_CURVE_TAG_ON);
                continue;
            }
            const QPointF p0 = at(i - 1), c1 = at(i), c2 = at(i + 1), p3 = at(i + 2 <= end ? i + 2 : start);
            const auto point = [&](double t) {
                const double u = 1 - t;
                return u * u * u * p0 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * p3;
            };
            const auto slope = [&](double t) {
                const double u = 1 - t;
                return 3 * u * u * (c1 - p0) + 6 * u * t * (c2 - c1) + 3 * t * t * (p3 - c2);
            };
            for (int k = 0; k < 4; ++k) {
                const double t0 = k / 4.0, t1 = (k + 1) / 4.0;
                const QPointF a = point(t0), b = point(t1);
                const QPointF s1 = a + slope(t0) * (t1 - t0) / 3, s2 = b - slope(t1) * (t1 - t0) / 3;
                add((3 * (s1 + s2) - a - b) / 4, false);
                if (k < 3)
                    add(b, true);  // the last end is the next point, or the contour's start
            }
            ++i;
        }
        contours.append(points);
    }
    return contours;
}

// One glyph's outline as a simple TrueType glyph; *points gets its point count.
QByteArray SimpleGlyph(const FT_Outline& outline, int* xMin, int* yMin, int* xMax, int* yMax, int* points)
{
    const QList<QList<GlyphPoint>> contours = QuadraticContours(outline);
    QList<GlyphPoint> all;
    QByteArray ends;
    for (const QList<GlyphPoint>& contour : contours) {
        all += contour;
        AppendU16(ends, int(all.size()) - 1);
    }
    *points = int(all.size());
    if (all.isEmpty() || all.size() > 65535)
        return {};
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    for (const GlyphPoint& p : all)
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    *xMin = x0, *yMin = y0, *xMax = x1, *yMax = y1;
    QByteArray glyph;
    AppendU16(glyph, int(contours.size()));
    for (int v : {x0, y0, x1, y1})
        AppendU16(glyph, v);
    glyph += ends;
    AppendU16(glyph, 0);  // no instructions
    for (const GlyphPoint& p : all)
        glyph.append(char(p.onCurve ? 1 : 0));
    for (const bool x : {true, false})
        for (int i = 0, last = 0; i < all.size(); last = x ? all[i].x : all[i].y, ++i)
            AppendU16(glyph, (x ? all[i].x : all[i].y) - last);
    while (glyph.size() % 4)
        glyph.append('\0');
    return glyph;
}

// OS/2 usWidthClass of a wdth value (percent of normal).
int WidthClass(double percent)
{
    const double classes[] = {50, 62.5, 75, 87.5, 100, 112.5, 125, 150, 200};
    int best = 0;
    for (int i = 1; i < 9; ++i)
        if (std::abs(classes[i] - percent) < std::abs(classes[best] - percent))
            best = i;
    return best + 1;
}

} // namespace

QString WriteStaticInstance(const QString& fontFile, int faceIndex, const QString& target, QString* postScriptName)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return QStringLiteral("the font engine could not be started");
    const std::unique_ptr<FT_LibraryRec_, FT_Error (*)(FT_Library)> ownLibrary(library, FT_Done_FreeType);
    FT_Face face = nullptr;
    if (FT_New_Face(library, QFile::encodeName(fontFile).constData(), faceIndex, &face) != 0)
        return QStringLiteral("the font file cannot be read");
    const std::unique_ptr<FT_FaceRec_, FT_Error (*)(FT_Face)> ownFace(face, FT_Done_Face);
    const int instance = InstanceOfFace(faceIndex) - 1;
    FT_MM_Var* axes = nullptr;
    if (instance >= 0 && (!FT_HAS_MULTIPLE_MASTERS(face) || FT_Get_MM_Var(face, &axes) != 0))
        return QStringLiteral("the font has no such named instance");
    const std::unique_ptr<FT_MM_Var, std::function<void(FT_MM_Var*)>> ownAxes(
        axes, [library](FT_MM_Var* mm) { FT_Done_MM_Var(library, mm); });
    if (axes && FT_UInt(instance) >= axes->num_namedstyles)
        return QStringLiteral("the font has no such named instance");
    const FT_Var_Named_Style* style = axes ? &axes->namedstyle[instance] : nullptr;
    const QByteArray headIn = SfntTable(face, TTAG_head), hheaIn = SfntTable(face, TTAG_hhea);
    const QByteArray maxpIn = SfntTable(face, TTAG_maxp);
    if (headIn.size() < 54 || hheaIn.size() < 36 || maxpIn.size() < 6 || face->num_glyphs <= 0 || face->num_glyphs > 65535)
        return QStringLiteral("the font file is damaged");

    // Every glyph at the instance, composites flattened, in font units; CFF
    // and CFF2 outlines made quadratic.
    QByteArray glyf, loca, hmtx;
    int xMin = INT_MAX, yMin = INT_MAX, xMax = INT_MIN, yMax = INT_MIN;
    int advanceMax = 0, minLsb = INT_MAX, minRsb = INT_MAX, maxExtent = INT_MIN, maxPoints = 0, maxContours = 0;
    for (FT_Long g = 0; g < face->num_glyphs; ++g) {
        AppendU32(loca, quint32(glyf.size()));
        int advance = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0, points = 0;
        QByteArray glyph;
        if (FT_Load_Glyph(face, FT_UInt(g), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP
                                                | FT_LOAD_IGNORE_TRANSFORM) == 0
            && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            advance = int(face->glyph->metrics.horiAdvance);
            glyph = SimpleGlyph(face->glyph->outline, &x0, &y0, &x1, &y1, &points);
        }
        advance = std::clamp(advance, 0, 65535);
        AppendU16(hmtx, advance);
        AppendU16(hmtx, glyph.isEmpty() ? 0 : x0);
        advanceMax = std::max(advanceMax, advance);
        if (!glyph.isEmpty()) {
            xMin = std::min(xMin, x0), yMin = std::min(yMin, y0), xMax = std::max(xMax, x1), yMax = std::max(yMax, y1);
            minLsb = std::min(minLsb, x0), minRsb = std::min(minRsb, advance - x1), maxExtent = std::max(maxExtent, x1);
            maxPoints = std::max(maxPoints, points);
            maxContours = std::max<int>(maxContours, face->glyph->outline.n_contours);
        }
        glyf += glyph;
    }
    AppendU32(loca, quint32(glyf.size()));
    if (xMin == INT_MAX)
        xMin = yMin = xMax = yMax = minLsb = minRsb = maxExtent = 0;

    QByteArray head = headIn.left(54);
    for (const auto& [at, v] : {std::pair{36, xMin}, {38, yMin}, {40, xMax}, {42, yMax}})
        Put16(head, at, v);
    Put16(head, 50, 1);  // long loca offsets
    QByteArray hhea = hheaIn.left(36);
    Put16(hhea, 10, advanceMax), Put16(hhea, 12, minLsb), Put16(hhea, 14, minRsb), Put16(hhea, 16, maxExtent);
    Put16(hhea, 34, int(face->num_glyphs));
    QByteArray maxp = maxpIn.left(32).leftJustified(32, '\0');
    qToBigEndian<quint32>(0x00010000, maxp.data());
    Put16(maxp, 4, int(face->num_glyphs)), Put16(maxp, 6, maxPoints), Put16(maxp, 8, maxContours);
    for (int at = 10; at < 32; at += 2)  // no composites, no instructions
        if (at != 14)
            Put16(maxp, at, 0);
    Put16(maxp, 14, 2);  // maxZones

    // Names: the instance's own family, so no toolkit takes another file for it.
    const QMap<int, QString> names = WindowsNames(face);
    const QString family = names.value(16, names.value(1, QString::fromUtf8(face->family_name)));
    const QString styleName = style ? names.value(int(style->strid)) : names.value(17, names.value(2));
    if (family.isEmpty() || styleName.isEmpty())
        return QStringLiteral("the font does not name the instance");
    const QString fullName = family + QLatin1Char(' ') + styleName;
    QString ps = PostScriptText(style ? (style->psid != 0xFFFF ? names.value(int(style->psid)) : QString()) : names.value(6));
    if (ps.isEmpty())
        ps = PostScriptText(names.value(25, family) + QLatin1Char('-') + styleName);  // 63 characters at most
    if (postScriptName)
        *postScriptName = ps;
    QList<std::pair<int, QString>> records;
    for (int id : {0, 5, 7, 8, 9, 10, 11, 12, 13, 14})
        if (names.contains(id))
            records.append({id, names.value(id)});
    records.append({1, fullName});
    records.append({2, QStringLiteral("Regular")});
    records.append({3, ps});
    records.append({4, fullName});
    records.append({6, ps});
    std::sort(records.begin(), records.end());
    const QByteArray name = WindowsNameTable(records);

    QByteArray os2 = SfntTable(face, TTAG_OS2);
    for (FT_UInt a = 0; style && a < axes->num_axis && os2.size() >= 8; ++a) {
        const double value = style->coords[a] / 65536.0;
        if (axes->axis[a].tag == FT_MAKE_TAG('w', 'g', 'h', 't'))
            Put16(os2, 4, std::clamp(qRound(value), 1, 1000));
        if (axes->axis[a].tag == FT_MAKE_TAG('w', 'd', 't', 'h'))
            Put16(os2, 6, WidthClass(value));
    }
    QByteArray post = SfntTable(face, TTAG_post).left(32).leftJustified(32, '\0');
    qToBigEndian<quint32>(0x00030000, post.data());

    QMap<QByteArray, QByteArray> tables{{"glyf", glyf}, {"loca", loca}, {"hmtx", hmtx}, {"head", head},
                                        {"hhea", hhea}, {"maxp", maxp}, {"name", name}, {"post", post}};
    const QByteArray cmap = SfntTable(face, TTAG_cmap);
    if (!cmap.isEmpty())
        tables.insert("cmap", cmap);
    if (!os2.isEmpty())
        tables.insert("OS/2", os2);
    QSaveFile out(target);
    const QByteArray bytes = SfntFile(tables);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return QStringLiteral("the copy could not be written (%1)").arg(out.errorString());
    return {};
}

StaticInstanceFiles::~StaticInstanceFiles()
{
    for (const Made& made : std::as_const(made_))
        if (!made.file.isEmpty())
            QFile::remove(made.file);
}

QString StaticInstanceFiles::FileOf(const QString& fontFile, int faceIndex, QString* error)
{
    const QString key = fontFile + QChar(0) + QString::number(faceIndex);
    auto it = made_.find(key);
    if (it == made_.end()) {
        Made made;
        const QString folder = Sys().system ? Sys().system->ProgramFolder() : QDir::tempPath();
        QDir().mkpath(folder);
        static int copies = 0;  // every object's copies have names of their own
        made.file = OwnFileName(folder, QStringLiteral("instance-%1.ttf").arg(++copies));
        made.error = WriteStaticInstance(fontFile, faceIndex, made.file);
        if (!made.error.isEmpty()) {
            QFile::remove(made.file);
            made.file.clear();
        }
        it = made_.insert(key, made);
    }
    if (error)
        *error = it->error;
    return it->file;
}

StaticInstanceFiles& ScreenInstanceFiles()
{
    static StaticInstanceFiles files;
    return files;
}

} // namespace gw
