#include "fonts/staticinstance.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>
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
#include "fonts/truetypeoutline.h"

namespace gw {

namespace {

void Put16(QByteArray& bytes, int at, int value)
{
    if (at + 2 <= bytes.size())
        qToBigEndian<quint16>(quint16(value), bytes.data() + at);
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

} // namespace

int WidthClass(double percent)
{
    const double classes[] = {50, 62.5, 75, 87.5, 100, 112.5, 125, 150, 200};
    int best = 0;
    for (int i = 1; i < 9; ++i)
        if (std::abs(classes[i] - percent) < std::abs(classes[best] - percent))
            best = i;
    return best + 1;
}

int WeightClass(double weight)
{
    return std::clamp(qRound(weight), 1, 1000);
}

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
        int advance = 0;
        GlyphBox box;
        QByteArray glyph;
        if (FT_Load_Glyph(face, FT_UInt(g), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP
                                                | FT_LOAD_IGNORE_TRANSFORM) == 0
            && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            advance = int(face->glyph->metrics.horiAdvance);
            glyph = SimpleGlyph(face->glyph->outline, &box);
        }
        advance = std::clamp(advance, 0, 65535);
        AppendU16(hmtx, advance);
        AppendU16(hmtx, glyph.isEmpty() ? 0 : box.xMin);
        const int x0 = box.xMin, y0 = box.yMin, x1 = box.xMax, y1 = box.yMax;
        advanceMax = std::max(advanceMax, advance);
        if (!glyph.isEmpty()) {
            xMin = std::min(xMin, x0), yMin = std::min(yMin, y0), xMax = std::max(xMax, x1), yMax = std::max(yMax, y1);
            minLsb = std::min(minLsb, x0), minRsb = std::min(minRsb, advance - x1), maxExtent = std::max(maxExtent, x1);
            maxPoints = std::max(maxPoints, box.points);
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
            Put16(os2, 4, WeightClass(value));
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
        made.error = WriteStaticInstance(fontFile, faceIndex, made.file);  // no file unless written whole
        if (!made.error.isEmpty())
            made.file.clear();
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
