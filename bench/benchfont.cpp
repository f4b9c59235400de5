#include "bench/benchfont.h"

#include <QMap>
#include <QVector>
#include <algorithm>
#include <map>
#include <set>

namespace bench {

namespace {

quint16 U16(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        return 0;
    return quint16((quint8(b[at]) << 8) | quint8(b[at + 1]));
}

quint32 U32(const QByteArray& b, qsizetype at)
{
    return (quint32(U16(b, at)) << 16) | U16(b, at + 2);
}

void Put16(QByteArray& b, qsizetype at, quint16 v)
{
    if (at >= 0 && at + 2 <= b.size()) {
        b[at] = char(v >> 8);
        b[at + 1] = char(v);
    }
}

void Put32(QByteArray& b, qsizetype at, quint32 v)
{
    Put16(b, at, quint16(v >> 16));
    Put16(b, at + 2, quint16(v));
}

void Append16(QByteArray& b, quint16 v)
{
    b.append(char(v >> 8)).append(char(v));
}

void Append32(QByteArray& b, quint32 v)
{
    Append16(b, quint16(v >> 16));
    Append16(b, quint16(v));
}

quint32 Checksum(const QByteArray& data)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i < data.size(); i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < data.size() ? quint8(data[i + k]) : 0);
        sum += word;
    }
    return sum;
}

QMap<QByteArray, QByteArray> ReadTables(const QByteArray& font)
{
    QMap<QByteArray, QByteArray> tables;
    const int count = U16(font, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 12 + 16 * i;
        const quint32 offset = U32(font, entry + 8), length = U32(font, entry + 12);
        if (entry + 16 > font.size() || qsizetype(offset) + length > font.size())
            break;
        tables.insert(font.mid(entry, 4), font.mid(offset, length));
    }
    return tables;
}

// The glyph of a character through the Windows Unicode (format 4) subtable.
int GlyphOf(const QByteArray& cmap, char16_t ch)
{
    const int subtables = U16(cmap, 2);
    for (int i = 0; i < subtables; ++i) {
        const qsizetype rec = 4 + 8 * i;
        if (U16(cmap, rec) != 3 || U16(cmap, rec + 2) != 1)
            continue;
        const qsizetype t = U32(cmap, rec + 4);
        if (U16(cmap, t) != 4)
            continue;
        const int segs = U16(cmap, t + 6) / 2;
        const qsizetype ends = t + 14, starts = ends + 2 * segs + 2, deltas = starts + 2 * segs,
                        ranges = deltas + 2 * segs;
        for (int s = 0; s < segs; ++s) {
            if (ch > U16(cmap, ends + 2 * s))
                continue;
            const int start = U16(cmap, starts + 2 * s);
            if (ch < start)
                return 0;
            const int delta = U16(cmap, deltas + 2 * s), range = U16(cmap, ranges + 2 * s);
            if (range == 0)
                return (ch + delta) & 0xFFFF;
            const int g = U16(cmap, ranges + 2 * s + range + 2 * (ch - start));
            return g == 0 ? 0 : (g + delta) & 0xFFFF;
        }
    }
    return 0;
}

QByteArray GlyphData(const QMap<QByteArray, QByteArray>& t, bool longLoca, int glyph)
{
    const QByteArray& loca = t["loca"];
    const quint32 from = longLoca ? U32(loca, 4 * glyph) : 2u * U16(loca, 2 * glyph);
    const quint32 to = longLoca ? U32(loca, 4 * glyph + 4) : 2u * U16(loca, 2 * glyph + 2);
    if (to <= from || qsizetype(to) > t["glyf"].size())
        return {};
    return t["glyf"].mid(from, to - from);
}

// Calls f(offset of the glyph index) for each component of a composite glyph;
// returns the offset where the instructions would start.
template <typename F>
qsizetype ForEachComponent(const QByteArray& g, F f)
{
    qsizetype at = 10;
    for (;;) {
        const quint16 flags = U16(g, at);
        f(at + 2);
        at += 4 + ((flags & 0x1) ? 4 : 2);
        if (flags & 0x8)
            at += 2;
        else if (flags & 0x40)
            at += 4;
        else if (flags & 0x80)
            at += 8;
        if (!(flags & 0x20) || at >= g.size())
            return at;
    }
}

// The glyph without its instructions, component indexes renumbered.
QByteArray WithoutHinting(QByteArray g, const std::map<int, int>& newIndex)
{
    if (g.size() < 10)
        return {};
    const qint16 contours = qint16(U16(g, 0));
    if (contours >= 0) {
        const qsizetype lenAt = 10 + 2 * contours;
        const int instructions = U16(g, lenAt);
        g.remove(lenAt + 2, instructions);
        Put16(g, lenAt, 0);
        return g;
    }
    qsizetype lastFlags = 10;
    const qsizetype end = ForEachComponent(g, [&](qsizetype at) {
        lastFlags = at - 2;
        auto it = newIndex.find(U16(g, at));
        Put16(g, at, quint16(it == newIndex.end() ? 0 : it->second));
    });
    Put16(g, lastFlags, U16(g, lastFlags) & ~0x100);
    return g.left(end);
}

QByteArray NameTable(const BenchFontSpec& spec)
{
    const QString full = spec.style == "Regular" ? spec.family : spec.family + " " + spec.style;
    const QString ps = QString(spec.family).remove(' ') + "-" + QString(spec.style).remove(' ');
    const QString texts[] = {QStringLiteral("Generated by the Glyphwick benchmark"), spec.family, spec.style,
                             "Glyphwick Bench:" + ps, full, QStringLiteral("Version 1.00"), ps};
    QByteArray records, strings;
    for (int id = 0; id < 7; ++id) {
        QByteArray utf16;
        for (QChar c : texts[id])
            Append16(utf16, c.unicode());
        Append16(records, 3);
        Append16(records, 1);
        Append16(records, 0x409);
        Append16(records, quint16(id));
        Append16(records, quint16(utf16.size()));
        Append16(records, quint16(strings.size()));
        strings += utf16;
    }
    QByteArray table;
    Append16(table, 0);
    Append16(table, 7);
    Append16(table, quint16(6 + records.size()));
    return table + records + strings;
}

QByteArray CmapTable(const std::map<char16_t, int>& map)
{
    QVector<char16_t> codes;
    for (const auto& [c, g] : map)
        codes << c;
    codes << 0xFFFF;
    const int segs = int(codes.size());
    QByteArray sub;
    Append16(sub, 4);
    Append16(sub, quint16(16 + 8 * segs));
    Append16(sub, 0);
    Append16(sub, quint16(2 * segs));
    int pow = 1, log = 0;
    while (pow * 2 <= segs) {
        pow *= 2;
        ++log;
    }
    Append16(sub, quint16(2 * pow));
    Append16(sub, quint16(log));
    Append16(sub, quint16(2 * segs - 2 * pow));
    for (char16_t c : codes)
        Append16(sub, c);
    Append16(sub, 0);
    for (char16_t c : codes)
        Append16(sub, c);
    for (char16_t c : codes)
        Append16(sub, quint16(c == 0xFFFF ? 1 : map.at(c) - c));
    for (int i = 0; i < segs; ++i)
        Append16(sub, 0);
    QByteArray table;
    Append16(table, 0);
    Append16(table, 1);
    Append16(table, 3);
    Append16(table, 1);
    Append32(table, 12);
    return table + sub;
}

QByteArray Assemble(const QMap<QByteArray, QByteArray>& tables)
{
    QByteArray font;
    Append32(font, 0x00010000);
    const int n = int(tables.size());
    int pow = 1, log = 0;
    while (pow * 2 <= n) {
        pow *= 2;
        ++log;
    }
    Append16(font, quint16(n));
    Append16(font, quint16(16 * pow));
    Append16(font, quint16(log));
    Append16(font, quint16(16 * n - 16 * pow));
    QByteArray body;
    const qsizetype bodyStart = 12 + 16 * n;
    qsizetype headAt = -1;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        font += it.key();
        Append32(font, Checksum(it.value()));
        Append32(font, quint32(bodyStart + body.size()));
        Append32(font, quint32(it.value().size()));
        if (it.key() == "head")
            headAt = bodyStart + body.size();
        body += it.value();
        while (body.size() % 4)
            body.append('\0');
    }
    font += body;
    if (headAt >= 0)
        Put32(font, headAt + 8, 0xB1B0AFBA - Checksum(font));
    return font;
}

} // namespace

QByteArray MakeBenchFont(const QByteArray& source, const BenchFontSpec& spec, QString* error)
{
    QMap<QByteArray, QByteArray> t = ReadTables(source);
    for (const char* tag : {"OS/2", "cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "post"}) {
        if (!t.contains(tag)) {
            *error = QStringLiteral("the source font has no '%1' table").arg(tag);
            return {};
        }
    }
    const bool longLoca = U16(t["head"], 50) == 1;
    const int sourceMetrics = U16(t["hhea"], 34);

    // The glyphs kept: .notdef, those of the characters, their components.
    std::map<char16_t, int> charGlyph;
    std::set<int> keep{0};
    for (QChar c : spec.characters) {
        const int g = GlyphOf(t["cmap"], c.unicode());
        if (g > 0) {
            charGlyph[c.unicode()] = g;
            keep.insert(g);
        }
    }
    QVector<int> pending(keep.begin(), keep.end());
    while (!pending.isEmpty()) {
        const QByteArray g = GlyphData(t, longLoca, pending.takeLast());
        if (g.size() >= 10 && qint16(U16(g, 0)) < 0)
            ForEachComponent(g, [&](qsizetype at) {
                if (keep.insert(U16(g, at)).second)
                    pending << U16(g, at);
            });
    }
    std::map<int, int> newIndex;
    for (int g : keep)
        newIndex.emplace(g, int(newIndex.size()));

    QByteArray glyf, loca, hmtx;
    for (int g : keep) {
        Append32(loca, quint32(glyf.size()));
        glyf += WithoutHinting(GlyphData(t, longLoca, g), newIndex);
        while (glyf.size() % 4)
            glyf.append('\0');
        const int m = std::min(g, sourceMetrics - 1);
        Append16(hmtx, U16(t["hmtx"], 4 * m));
        Append16(hmtx, U16(t["hmtx"], g < sourceMetrics ? 4 * g + 2 : 4 * sourceMetrics + 2 * (g - sourceMetrics)));
    }
    Append32(loca, quint32(glyf.size()));
    for (auto& [c, g] : charGlyph)
        g = newIndex[g];

    QMap<QByteArray, QByteArray> out;
    out["glyf"] = glyf;
    out["loca"] = loca;
    out["hmtx"] = hmtx;
    out["cmap"] = CmapTable(charGlyph);
    out["name"] = NameTable(spec);
    out["head"] = t["head"];
    Put16(out["head"], 50, 1);
    Put16(out["head"], 44, quint16((spec.weight >= 600 ? 1 : 0) | (spec.italic ? 2 : 0)));
    Put32(out["head"], 8, 0);
    out["hhea"] = t["hhea"];
    Put16(out["hhea"], 34, quint16(keep.size()));
    out["maxp"] = t["maxp"];
    Put16(out["maxp"], 4, quint16(keep.size()));
    out["post"] = t["post"].left(32);
    Put32(out["post"], 0, 0x00030000);
    out["OS/2"] = t["OS/2"];
    Put16(out["OS/2"], 4, quint16(spec.weight));
    quint16 selection = U16(out["OS/2"], 62) & ~quint16(0x61);
    selection |= spec.italic ? 0x01 : 0;
    selection |= spec.weight >= 600 ? 0x20 : 0;
    selection |= !spec.italic && spec.weight < 600 ? 0x40 : 0;
    Put16(out["OS/2"], 62, selection);
    if (!charGlyph.empty()) {
        Put16(out["OS/2"], 64, charGlyph.begin()->first);
        Put16(out["OS/2"], 66, charGlyph.rbegin()->first);
    }
    return Assemble(out);
}

} // namespace bench
