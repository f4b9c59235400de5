#include "print/embedding.h"

#include "fonts/fontfacts.h"

namespace gw {

namespace {

// At most ten names, then how many more.
QString NameList(const QStringList& names)
{
    QStringList shown = names.mid(0, 10);
    if (names.size() > shown.size())
        shown << QStringLiteral("and %1 more").arg(names.size() - shown.size());
    return shown.join(QLatin1Char('\n'));
}

} // namespace

QString EmbeddingNote(const PrintFontEntry& font)
{
    const int bits = font.FontPath.isEmpty() ? -1 : EmbeddingBits(font.FontPath, font.FaceIndex);
    return bits < 0 ? QString() : QStringLiteral("Embedding: ") + EmbeddingRightsText(bits);
}

QStringList FontsWithoutEmbedding(const PrintFontList& fonts)
{
    QStringList names;
    for (const PrintFontEntry& f : fonts) {
        const int bits = f.FontPath.isEmpty() ? -1 : EmbeddingBits(f.FontPath, f.FaceIndex);
        if (EmbeddingAllowed(bits))
            continue;
        const QString name = f.DisplayName.trimmed() + QStringLiteral(" (") + EmbeddingRightsText(bits) + ')';
        if (!names.contains(name))
            names << name;
    }
    return names;
}

QString PrintRunNotice(const QStringList& refused, const QStringList& unprintable,
                       const QStringList& withoutEmbedding)
{
    QStringList parts;
    if (!refused.isEmpty())
        parts << "The printer could not use these fonts; they were printed in a standard font "
                 "instead:\n\n" + NameList(refused);
    if (!unprintable.isEmpty())
        parts << "These faces could not be printed; the printout says so in their place:\n\n"
                     + NameList(unprintable);
    if (!withoutEmbedding.isEmpty())
        parts << "These fonts do not allow embedding, so the printout holds their characters as "
                 "drawn outlines, not as the font:\n\n" + NameList(withoutEmbedding);
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace gw
