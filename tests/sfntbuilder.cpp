#include "sfntbuilder.h"

#include <QtEndian>

#include "sfnt/writer.h"

namespace gw {

namespace {

int Padded(qsizetype size)
{
    return int((size + 3) & ~qsizetype(3));
}

} // namespace

SfntBuilder& SfntBuilder::AddName(int nameId, const QString& text, int platformId,
                                  int languageId, int encodingId)
{
    names_.append({platformId, encodingId, languageId, nameId, Utf16BE(text)});
    return *this;
}

SfntBuilder& SfntBuilder::AddRecord(int nameId, const QByteArray& bytes, int length, int offset)
{
    names_.append({3, 1, 0x409, nameId, bytes, length, offset});
    return *this;
}

SfntBuilder& SfntBuilder::AddTable(const QByteArray& tag, const QByteArray& data)
{
    tables_.append({tag.left(4).leftJustified(4, ' '), data});
    return *this;
}

SfntBuilder& SfntBuilder::SetGap(const QByteArray& gap)
{
    gap_ = gap;
    return *this;
}

QByteArray SfntBuilder::BuildNameTable() const
{
    const int n = int(names_.size());
    QByteArray storage;
    QByteArray records;
    for (const SfntName& r : names_) {
        const int length = r.length >= 0 ? r.length : int(r.bytes.size());
        for (int v : {r.platformId, r.encodingId, r.languageId, r.nameId, length,
                      r.offset >= 0 ? r.offset : int(storage.size())})
            AppendU16(records, v);
        storage += r.bytes;
    }
    QByteArray table;
    for (int v : {0, count.value_or(n), stringOffset.value_or(6 + 12 * n + int(gap_.size()))})
        AppendU16(table, v);
    return table + records + gap_ + storage;
}

int SfntBuilder::NameTableOffset() const
{
    const int entries = int(tables_.size()) + 1;
    int pos = 12 + 16 * entries;
    for (const Table& t : tables_)
        pos += Padded(t.data.size());
    return pos;
}

QByteArray SfntBuilder::Build() const
{
    const QByteArray name = BuildNameTable();
    const int entries = int(tables_.size()) + 1;

    QByteArray file;
    AppendU32(file, 0x00010000);
    // numTables, then searchRange etc.: not read, any plausible value.
    for (int v : {numTables.value_or(entries), 16, 0, 0})
        AppendU16(file, v);

    int pos = 12 + 16 * entries;
    for (const Table& t : tables_) {
        file += t.tag;
        AppendU32(file, 0);
        AppendU32(file, quint32(pos));
        AppendU32(file, quint32(t.data.size()));
        pos += Padded(t.data.size());
    }
    file += "name";
    AppendU32(file, 0);
    AppendU32(file, quint32(nameOffset.value_or(pos)));
    AppendU32(file, quint32(name.size()));
    for (const Table& t : tables_)
        file += t.data + QByteArray(Padded(t.data.size()) - t.data.size(), '\0');
    return file + name;
}

QByteArray SfntBuilder::Utf16BE(const QString& text)
{
    return gw::Utf16BE(text);
}

QByteArray SfntBuilder::Utf16LE(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray SfntBuilder::Collection(const QList<QByteArray>& fonts)
{
    QByteArray file("ttcf");
    AppendU32(file, 0x00010000);
    AppendU32(file, quint32(fonts.size()));
    qsizetype at = 12 + 4 * fonts.size();
    for (const QByteArray& font : fonts) {
        AppendU32(file, quint32(at));
        at += font.size();
    }
    for (QByteArray font : fonts) {
        const qsizetype base = file.size();
        uchar* bytes = reinterpret_cast<uchar*>(font.data());
        const int tables = font.size() >= 6 ? qFromBigEndian<quint16>(bytes + 4) : 0;
        for (int i = 0; i < tables && 12 + 16 * i + 16 <= font.size(); ++i) {
            uchar* offset = bytes + 12 + 16 * i + 8;
            qToBigEndian<quint32>(qFromBigEndian<quint32>(offset) + quint32(base), offset);
        }
        file += font;
    }
    return file;
}

QByteArray SfntBuilder::Make(const std::function<void(SfntBuilder&)>& setUp)
{
    SfntBuilder b;
    setUp(b);
    return b.Build();
}

QByteArray SfntBuilder::Simple(const QString& family, const QString& fullName, const QString& subfamily)
{
    SfntBuilder b;
    b.AddTable("head", QByteArray(54, '\0')).AddName(1, family).AddName(2, subfamily).AddName(4, fullName);
    return b.Build();
}

QByteArray SfntBuilder::Os2Table(int fsType)
{
    QByteArray t(78, '\0');
    qToBigEndian<quint16>(quint16(400), t.data() + 4);    // usWeightClass
    qToBigEndian<quint16>(quint16(5), t.data() + 6);      // usWidthClass
    qToBigEndian<quint16>(quint16(fsType), t.data() + 8);
    t.replace(58, 4, "GWTS");
    return t;
}

QByteArray SfntBuilder::WithEmbedding(const QString& family, int fsType)
{
    SfntBuilder b;
    b.AddTable("OS/2", Os2Table(fsType)).AddTable("head", QByteArray(54, '\0'));
    b.AddName(1, family).AddName(2, QStringLiteral("Regular")).AddName(4, family);
    return b.Build();
}

QByteArray SfntBuilder::VariableFont(const QString& family, int fsType, int defaultWeight, const QString& psPrefix)
{
    const auto u16 = [](int v) { QByteArray b(2, 0); qToBigEndian<quint16>(quint16(v), b.data()); return b; };
    const auto u32 = [](quint32 v) { QByteArray b(4, 0); qToBigEndian<quint32>(v, b.data()); return b; };
    const auto fixed = [&](double v) { return u32(quint32(qint32(qRound(v * 65536)))); };
    // Two named instances; Bold Condensed has a PostScript name of its own (ID 260), Thin none (0xFFFF).
    QByteArray fvar = u16(1) + u16(0) + u16(16) + u16(2) + u16(2) + u16(20) + u16(2) + u16(4 + 2 * 4 + 2);
    fvar += "wght" + fixed(100) + fixed(defaultWeight) + fixed(900) + u16(0) + u16(256);
    fvar += "wdth" + fixed(75) + fixed(100) + fixed(100) + u16(0) + u16(257);
    fvar += u16(258) + u16(0) + fixed(100) + fixed(100) + u16(0xFFFF);
    fvar += u16(259) + u16(0) + fixed(700) + fixed(75) + u16(260);

    // Glyph 0 .notdef, 1 space, then one per character '!' to '~': a box
    // (left 50, right 550, stem 80; capitals 700 high, the rest 500) on an
    // advance of 600. wght 900 thickens the stem by 100, wght 100 thins it by
    // 70; wdth 75 narrows the box and its advance by 150.
    const int glyphs = 2 + 94;
    QByteArray glyf, loca = u32(0), hmtx, gvarData;
    QList<quint32> gvarOffsets{0, 0, 0};
    hmtx += u16(500) + u16(0) + u16(300) + u16(0);
    loca += u32(0) + u32(0);
    for (int code = '!'; code <= '~'; ++code) {
        const int h = code >= 'A' && code <= 'Z' ? 700 : 500, s = 80, l = 50, r = 550;
        const QList<int> x{l, l, r, r, l + s, r - s, r - s, l + s}, y{0, h, h, 0, s, s, h - s, h - s};
        QByteArray g = u16(2) + u16(l) + u16(0) + u16(r) + u16(h) + u16(3) + u16(7) + u16(0) + QByteArray(8, 1);
        for (const QList<int>* axis : {&x, &y})
            for (int i = 0, last = 0; i < 8; last = (*axis)[i], ++i)
                g += u16((*axis)[i] - last);
        glyf += g + QByteArray(int(g.size() % 4 ? 4 - g.size() % 4 : 0), 0);
        loca += u32(quint32(glyf.size()));
        hmtx += u16(600) + u16(l);
        // Deltas of the 8 points and 4 phantom points, x then y, per tuple.
        const QList<QPair<QByteArray, QList<int>>> tuples{
            {u16(0x4000) + u16(0), {0, 0, 0, 0, 100, -100, -100, 100, 0, 0, 0, 0, 0, 0, 0, 0, 100, 100, -100, -100, 0, 0, 0, 0}},
            {u16(0xC000) + u16(0), {0, 0, 0, 0, -70, 70, 70, -70, 0, 0, 0, 0, 0, 0, 0, 0, -70, -70, 70, 70, 0, 0, 0, 0}},
            {u16(0) + u16(0xC000), {0, 0, -150, -150, 0, -150, -150, 0, 0, -150, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}};
        QByteArray headers, data(1, 0);  // shared point numbers: all points
        for (const auto& [peak, deltas] : tuples) {
            QByteArray packed;
            for (int half = 0; half < 2; ++half) {
                packed += char(0x40 | 11);
                for (int i = 0; i < 12; ++i)
                    packed += u16(deltas[half * 12 + i]);
            }
            headers += u16(int(packed.size())) + u16(0x8000) + peak;
            data += packed;
        }
        gvarData += u16(0x8000 | 3) + u16(4 + int(headers.size())) + headers + data;
        gvarData += QByteArray(int(gvarData.size() % 4 ? 4 - gvarData.size() % 4 : 0), 0);
        gvarOffsets.append(quint32(gvarData.size()));
    }
    QByteArray gvar = u16(1) + u16(0) + u16(2) + u16(0) + u32(20 + 4 * (glyphs + 1)) + u16(glyphs) + u16(1)
                      + u32(20 + 4 * (glyphs + 1));
    for (quint32 offset : gvarOffsets)
        gvar += u32(offset);
    gvar += gvarData;
    QByteArray head = u32(0x00010000) + u32(0x00010000) + u32(0) + u32(0x5F0F3CF5) + u16(3) + u16(1000)
                      + QByteArray(16, 0) + u16(0) + u16(0) + u16(550) + u16(700) + u16(0) + u16(8) + u16(2)
                      + u16(1) + u16(0);
    QByteArray hhea = u32(0x00010000) + u16(800) + u16(0x10000 - 200) + u16(0) + u16(600) + u16(0) + u16(50)
                      + u16(550) + u16(1) + QByteArray(12, 0) + u16(0) + u16(glyphs);
    QByteArray maxp = u32(0x00010000) + u16(glyphs) + u16(8) + u16(2) + u16(0) + u16(0) + u16(2) + QByteArray(16, 0);
    QByteArray cmap = u16(0) + u16(1) + u16(3) + u16(1) + u32(12) + u16(4) + u16(32) + u16(0) + u16(4) + u16(4)
                      + u16(1) + u16(0) + u16('~') + u16(0xFFFF) + u16(0) + u16(' ') + u16(0xFFFF)
                      + u16(0x10000 - 31) + u16(1) + u16(0) + u16(0);
    QByteArray post = u32(0x00030000) + u32(0) + u16(0x10000 - 100) + u16(50) + QByteArray(20, 0);

    SfntBuilder b;
    b.AddTable("OS/2", Os2Table(fsType)).AddTable("cmap", cmap).AddTable("fvar", fvar).AddTable("glyf", glyf);
    b.AddTable("gvar", gvar).AddTable("head", head).AddTable("hhea", hhea).AddTable("hmtx", hmtx);
    b.AddTable("loca", loca).AddTable("maxp", maxp).AddTable("post", post);
    b.AddName(1, family).AddName(2, QStringLiteral("Regular")).AddName(4, family);
    b.AddName(5, QStringLiteral("Version 3.0")).AddName(9, QStringLiteral("A. Designer"));
    b.AddName(13, QStringLiteral("Test licence")).AddName(14, QStringLiteral("https://example.org/l"));
    b.AddName(256, QStringLiteral("Weight")).AddName(257, QStringLiteral("Width"));
    b.AddName(258, QStringLiteral("Thin")).AddName(259, QStringLiteral("Bold Condensed"));
    b.AddName(260, QString(family).remove(' ') + QStringLiteral("-BoldCnd"));
    b.AddName(258, QStringLiteral("Maigre"), 3, 0x40C);  // French, after the English: never the name
    if (!psPrefix.isEmpty())
        b.AddName(25, psPrefix);
    return b.Build();
}

QByteArray SfntBuilder::Renamed(const QByteArray& font, const QString& family, const QString& fullName,
                                const QString& subfamily)
{
    const uchar* bytes = reinterpret_cast<const uchar*>(font.constData());
    if (font.size() < 12 || (font.left(4) != QByteArray("\0\1\0\0", 4) && font.left(4) != "OTTO"))
        return {};
    const int tables = qFromBigEndian<quint16>(bytes + 4);
    if (font.size() < 12 + tables * 16)
        return {};
    QMap<QByteArray, QByteArray> out;
    for (int i = 0; i < tables; ++i) {
        const qsizetype entry = 12 + i * 16;
        const quint32 offset = qFromBigEndian<quint32>(bytes + entry + 8), length = qFromBigEndian<quint32>(bytes + entry + 12);
        if (offset + qint64(length) <= font.size())
            out.insert(font.mid(entry, 4), font.mid(offset, length));
    }
    const QString ps = QString(fullName).remove(' ');
    out.insert("name", WindowsNameTable({{1, family}, {2, subfamily}, {4, fullName}, {6, ps}}));
    return SfntFile(out, qFromBigEndian<quint32>(bytes));
}

} // namespace gw
