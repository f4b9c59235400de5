#include "fonts/fontfacts.h"

#include <hb-ot.h>
#include <hb.h>

#include <QFile>
#include <QSet>
#include <algorithm>
#include <memory>
#include <vector>

#include "sfnt/instances.h"
#include "sfnt/sfnt.h"

namespace gw {

namespace {

using Blob = std::unique_ptr<hb_blob_t, decltype(&hb_blob_destroy)>;
using Face = std::unique_ptr<hb_face_t, decltype(&hb_face_destroy)>;

QString TagString(hb_tag_t tag)
{
    char text[4];
    hb_tag_to_string(tag, text);
    return QString::fromLatin1(text, 4).trimmed();
}

// A name of the naming table in the default (English) language.
QString Name(hb_face_t* face, hb_ot_name_id_t id)
{
    if (id == HB_OT_NAME_ID_INVALID)
        return QString();
    unsigned int length = hb_ot_name_get_utf16(face, id, HB_LANGUAGE_INVALID, nullptr, nullptr);
    if (length == 0)
        return QString();
    std::vector<uint16_t> text(length + 1);
    unsigned int size = length + 1;
    hb_ot_name_get_utf16(face, id, HB_LANGUAGE_INVALID, &size, text.data());
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text.data()), size);
}

QStringList FeatureTags(hb_face_t* face)
{
    QSet<QString> tags;
    for (hb_tag_t table : {HB_OT_TAG_GSUB, HB_OT_TAG_GPOS}) {
        const unsigned int total = hb_ot_layout_table_get_feature_tags(face, table, 0, nullptr, nullptr);
        std::vector<hb_tag_t> found(total);
        unsigned int count = total;
        hb_ot_layout_table_get_feature_tags(face, table, 0, &count, found.data());
        for (unsigned int i = 0; i < count; ++i)
            tags.insert(TagString(found[i]));
    }
    QStringList sorted(tags.begin(), tags.end());
    sorted.sort();
    return sorted;
}

} // namespace

FontFacts ReadFontFacts(const QString& fontFile, int faceIndex)
{
    FontFacts facts;
    QFile file(fontFile);
    if (!file.open(QIODevice::ReadOnly) || !IsSfntSignature(file.read(4)))
        return facts;
    file.close();
    Blob blob(hb_blob_create_from_file_or_fail(QFile::encodeName(fontFile).constData()), hb_blob_destroy);
    if (!blob)
        return facts;
    facts.faceCount = int(hb_face_count(blob.get()));
    // A named instance is read from its font: the facts are the whole font's.
    if (faceIndex < 0 || FontOfFace(faceIndex) >= facts.faceCount)
        return facts;
    Face face(hb_face_create(blob.get(), unsigned(FontOfFace(faceIndex))), hb_face_destroy);
    facts.readable = true;

    facts.family = Name(face.get(), HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY);
    if (facts.family.isEmpty())
        facts.family = Name(face.get(), HB_OT_NAME_ID_FONT_FAMILY);
    facts.style = Name(face.get(), HB_OT_NAME_ID_TYPOGRAPHIC_SUBFAMILY);
    if (facts.style.isEmpty())
        facts.style = Name(face.get(), HB_OT_NAME_ID_FONT_SUBFAMILY);
    facts.glyphs = int(hb_face_get_glyph_count(face.get()));

    std::unique_ptr<hb_set_t, decltype(&hb_set_destroy)> unicodes(hb_set_create(), hb_set_destroy);
    hb_face_collect_unicodes(face.get(), unicodes.get());
    QSet<uint> characters;
    characters.reserve(int(hb_set_get_population(unicodes.get())));
    for (hb_codepoint_t c = HB_SET_VALUE_INVALID; hb_set_next(unicodes.get(), &c);)
        characters.insert(c);
    facts.characters = int(characters.size());
    facts.blocks = BlocksCovered(characters);
    facts.features = FeatureTags(face.get());

    const unsigned int axisCount = hb_ot_var_get_axis_count(face.get());
    std::vector<hb_ot_var_axis_info_t> axes(axisCount);
    unsigned int got = axisCount;
    hb_ot_var_get_axis_infos(face.get(), 0, &got, axes.data());
    for (unsigned int i = 0; i < got; ++i)
        facts.axes.append({TagString(axes[i].tag), axes[i].min_value, axes[i].default_value,
                           axes[i].max_value});
    const unsigned int instanceCount = hb_ot_var_get_named_instance_count(face.get());
    for (unsigned int i = 0; i < instanceCount; ++i) {
        NamedInstance instance;
        instance.name = Name(face.get(), hb_ot_var_named_instance_get_subfamily_name_id(face.get(), i));
        std::vector<float> coords(got);
        unsigned int n = got;
        hb_ot_var_named_instance_get_design_coords(face.get(), i, &n, coords.data());
        for (unsigned int a = 0; a < n; ++a)
            instance.coordinates.append(coords[a]);
        facts.instances.append(instance);
    }
    // A named instance's style is its own name.
    if (InstanceOfFace(faceIndex) > 0 && InstanceOfFace(faceIndex) <= facts.instances.size())
        facts.style = facts.instances[InstanceOfFace(faceIndex) - 1].name;

    Blob os2(hb_face_reference_table(face.get(), HB_TAG('O', 'S', '/', '2')), hb_blob_destroy);
    unsigned int os2Length = 0;
    const char* os2Data = hb_blob_get_data(os2.get(), &os2Length);
    const QByteArray os2Bytes = QByteArray::fromRawData(os2Data, int(os2Length));
    const BoundedReader os2Table(os2Bytes);
    facts.fsType = std::max(EmbeddingBitsOfTable(os2Bytes), 0);
    if (const uchar* vendor = os2Table.Bytes(58, 4))
        facts.vendor = QString::fromLatin1(reinterpret_cast<const char*>(vendor), 4).trimmed().remove(QChar(0));

    facts.version = Name(face.get(), HB_OT_NAME_ID_VERSION_STRING);
    facts.designer = Name(face.get(), HB_OT_NAME_ID_DESIGNER);
    facts.licence = Name(face.get(), HB_OT_NAME_ID_LICENSE);
    facts.licenceUrl = Name(face.get(), HB_OT_NAME_ID_LICENSE_URL);
    return facts;
}

int EmbeddingBits(const QString& fontFile, int faceIndex)
{
    QFile file(fontFile);
    if (!file.open(QIODevice::ReadOnly) || !IsSfntSignature(file.read(4)))
        return -1;
    file.close();
    Blob blob(hb_blob_create_from_file_or_fail(QFile::encodeName(fontFile).constData()), hb_blob_destroy);
    if (!blob || faceIndex < 0 || unsigned(FontOfFace(faceIndex)) >= hb_face_count(blob.get()))
        return -1;
    Face face(hb_face_create(blob.get(), unsigned(FontOfFace(faceIndex))), hb_face_destroy);
    Blob os2(hb_face_reference_table(face.get(), HB_TAG('O', 'S', '/', '2')), hb_blob_destroy);
    unsigned int length = 0;
    const char* data = hb_blob_get_data(os2.get(), &length);
    return EmbeddingBitsOfTable(QByteArray::fromRawData(data, int(length)));
}

int EmbeddingBitsOfTable(const QByteArray& os2)
{
    quint16 fsType = 0;
    return BoundedReader(os2).U16(8, fsType) ? int(fsType) : -1;
}

QString EmbeddingRightsText(int fsType)
{
    QString text;
    if ((fsType & 0x000F) == 0)
        text = QStringLiteral("Installable");
    else if (fsType & 0x0008)
        text = QStringLiteral("Editable");
    else if (fsType & 0x0004)
        text = QStringLiteral("Print and preview");
    else
        text = QStringLiteral("Restricted");
    if (fsType & 0x0100)
        text += QStringLiteral(", no subsetting");
    if (fsType & 0x0200)
        text += QStringLiteral(", bitmap only");
    return text;
}

bool EmbeddingAllowed(int fsType)
{
    if (fsType < 0)
        return true;  // no OS/2 table: nothing restricts embedding
    const bool restricted = (fsType & 0x000F) != 0 && (fsType & 0x000C) == 0;
    return !restricted && !(fsType & 0x0200);
}

QStringList FontFactsLines(const FontFacts& facts)
{
    QStringList blocks;
    for (const UnicodeBlock& block : facts.blocks)
        blocks << QStringLiteral("%1 %2").arg(block.name).arg(block.count);
    QStringList axes;
    for (const VariationAxis& axis : facts.axes)
        axes << QStringLiteral("%1 %2 to %3 (default %4)")
                    .arg(axis.tag, QString::number(axis.minimum), QString::number(axis.maximum), QString::number(axis.defaultValue));
    QStringList instances;
    for (const NamedInstance& instance : facts.instances) {
        QStringList at;
        for (int a = 0; a < instance.coordinates.size(); ++a)  // at most one per axis, as read
            at << facts.axes[a].tag + QLatin1Char('=') + QString::number(instance.coordinates[a]);
        instances << instance.name + QStringLiteral(" (") + at.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    const QString none = QStringLiteral("none");
    // One line each: a licence of many paragraphs becomes one line.
    return {
        QStringLiteral("Family: ") + facts.family.simplified(),
        QStringLiteral("Style: ") + facts.style.simplified(),
        QStringLiteral("Glyphs: ") + QString::number(facts.glyphs),
        QStringLiteral("Characters: ") + QString::number(facts.characters),
        QStringLiteral("Blocks: ") + (blocks.isEmpty() ? none : blocks.join(QStringLiteral(", "))),
        QStringLiteral("Features: ") + (facts.features.isEmpty() ? none : facts.features.join(QStringLiteral(", "))),
        QStringLiteral("Axes: ") + (axes.isEmpty() ? none : axes.join(QStringLiteral(", "))),
        QStringLiteral("Instances: ") + (instances.isEmpty() ? none : instances.join(QStringLiteral(", "))),
        QStringLiteral("Embedding: ") + EmbeddingRightsText(facts.fsType),
        QStringLiteral("Version: ") + facts.version.simplified(),
        QStringLiteral("Vendor: ") + facts.vendor,
        QStringLiteral("Designer: ") + facts.designer.simplified(),
        QStringLiteral("Licence: ") + facts.licence.simplified(),
        QStringLiteral("Licence URL: ") + facts.licenceUrl.simplified(),
    };
}

} // namespace gw
