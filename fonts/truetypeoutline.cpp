#include "fonts/truetypeoutline.h"

#include <QList>
#include <QPointF>
#include <algorithm>
#include <climits>

#include FT_TRUETYPE_TABLES_H

#include "sfnt/writer.h"

namespace gw {

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

// What a PostScript name may hold: printable ASCII but []{}()<>/% and space.
QString PostScriptText(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (c.unicode() > 32 && c.unicode() < 127 && !QStringLiteral("[](){}<>/%").contains(c))
            out += c;
    return out.left(63);
}

namespace {

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

} // namespace

QByteArray SimpleGlyph(const FT_Outline& outline, GlyphBox* box)
{
    const QList<QList<GlyphPoint>> contours = QuadraticContours(outline);
    QList<GlyphPoint> all;
    QByteArray ends;
    for (const QList<GlyphPoint>& contour : contours) {
        all += contour;
        AppendU16(ends, int(all.size()) - 1);
    }
    box->points = int(all.size());
    if (all.isEmpty() || all.size() > 65535)
        return {};
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    for (const GlyphPoint& p : all)
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    box->xMin = x0, box->yMin = y0, box->xMax = x1, box->yMax = y1;
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

} // namespace gw
