#include "fonts/glyphs.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextCharFormat>
#include <algorithm>
#include <memory>

#include "fonts/staticinstance.h"
#include "sfnt/codepage.h"
#include "sfnt/instances.h"
#include "core/helpers.h"

namespace gw {

namespace {

struct KeptMap {
    bool known = false;
    bool damaged = false;  // the file is there, its map could not be read
    QSet<uint> characters;
};

QHash<QString, std::shared_ptr<const KeptMap>>& KeptMaps()
{
    static QHash<QString, std::shared_ptr<const KeptMap>> maps;
    return maps;
}

std::shared_ptr<const KeptMap> MapOf(const QString& fontFile, int faceIndex)
{
    const QString key = fontFile + QChar(0) + QString::number(faceIndex);
    auto it = KeptMaps().constFind(key);
    if (it != KeptMaps().constEnd())
        return *it;
    auto map = std::make_shared<KeptMap>();
    if (Sys().characterMaps)
        map->known = Sys().characterMaps->CharacterMap(fontFile, faceIndex, &map->characters);
    map->damaged = !map->known && QFileInfo(fontFile).isFile();
    KeptMaps().insert(key, map);
    return map;
}

} // namespace

bool FontHasCharacter(const QString& fontFile, int faceIndex, uint character)
{
    if (fontFile.isEmpty() || fontFile == QLatin1String("unknown"))
        return true;
    const std::shared_ptr<const KeptMap> map = MapOf(fontFile, faceIndex);
    if (map->known)
        return map->characters.contains(character);
    return !map->damaged;
}

QSet<uint> FontCharacters(const QString& fontFile, int faceIndex)
{
    if (fontFile.isEmpty() || fontFile == QLatin1String("unknown"))
        return {};
    return MapOf(fontFile, faceIndex)->characters;
}

bool FontDrawsCharacter(const QFont& font, const QString& fontFile, int faceIndex, uint character)
{
    if (!fontFile.isEmpty() && !FontHasCharacter(fontFile, faceIndex, character))
        return false;
    // Qt names a family that several foundries make "Family [Foundry]"; the
    // font may ask for a foundry itself (a family in two kinds).
    return WithoutFoundry(QFontInfo(font).family()).compare(WithoutFoundry(font.family()), Qt::CaseInsensitive) == 0;
}

bool FontHasCharacter(const EnumLogFont& elf, uint character)
{
    return FontHasCharacter(elf.filePath, elf.faceIndex, character);
}

void ForgetCharacterMaps()
{
    KeptMaps().clear();
}

QString FamilyOfFaceName(const QString& faceName)
{
    if (ToCp1252(faceName).size() < 31)
        return faceName;
    for (const QString& family : QFontDatabase::families())
        if (family.startsWith(faceName, Qt::CaseInsensitive))
            return family;
    return faceName;
}

QString DrawingFamily(const EnumLogFont& elf)
{
    if (!elf.drawingFamily.isEmpty())
        return elf.drawingFamily;
    if (!elf.familyName.isEmpty())
        return elf.familyName;
    return FamilyOfFaceName(TrimAtNul(BytesToText(elf.lfFaceName, sizeof elf.lfFaceName)));
}

namespace {

// The family of a static copy of a variable font's named instance, shown to
// the toolkit once; empty when no copy can be made.
QString InstanceCopyFamily(const QString& fontFile, int faceIndex)
{
    static QHash<QString, QString> families;
    const QString key = fontFile + QChar(0) + QString::number(faceIndex);
    const auto it = families.constFind(key);
    if (it != families.constEnd())
        return *it;
    const QString copy = ScreenInstanceFiles().FileOf(fontFile, faceIndex);
    const int id = copy.isEmpty() ? -1 : QFontDatabase::addApplicationFont(copy);
    return *families.insert(key, id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0));
}

} // namespace

QFont ExactFont(const EnumLogFont& elf, int size)
{
    QFont font(DrawingFamily(elf));
    font.setWeight(QFont::Weight(std::clamp(elf.lfWeight > 0 ? elf.lfWeight : 400, 1, 1000)));
    font.setItalic(elf.lfItalic != 0);
    const QString style = TrimAtNul(BytesToText(elf.elfStyle, sizeof elf.elfStyle));
    // The toolkit lists an installed variable font's named instances as styles
    // of its family; of a file only added it has the default alone, so the
    // instance is drawn from a static copy of it.
    const QString copyFamily = InstanceOfFace(elf.faceIndex) > 0 && !QFontDatabase::styles(font.family()).contains(style)
                                   ? InstanceCopyFamily(elf.filePath, elf.faceIndex)
                                   : QString();
    if (!copyFamily.isEmpty())
        font = QFont(copyFamily);
    else if (!style.isEmpty())
        font.setStyleName(style);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    if (size > 0) {
        // Qt sizes fonts by the em; scale it from the font's own cell.
        constexpr int probe = 1000;
        font.setPixelSize(probe);
        const QFontMetricsF metrics(font);
        const qreal cell = metrics.ascent() + metrics.descent();
        const int em = cell > 0 ? qRound(qreal(size) * probe / cell) : size;
        font.setPixelSize(std::max(em, 1));
    } else if (size < 0) {
        font.setPixelSize(-size);
    }
    return font;
}

QColor MissingMarkColour()
{
    return QColor(0xc8, 0xc8, 0xc8);
}

void DrawMissingMark(QPainter& painter, QPointF baselineCentre, int size)
{
    // An empty box about the size of a capital, as a font's own "missing" glyph looks.
    const qreal height = std::max(4.0, size * 0.55);
    const qreal width = height * 0.6;
    const qreal pen = std::max(1.0, size / 40.0);
    painter.save();
    painter.setPen(QPen(MissingMarkColour(), pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(baselineCentre.x() - width / 2, baselineCentre.y() - height, width, height));
    painter.restore();
}

void DrawFontCharacter(QPainter& painter, const EnumLogFont& elf, const QFont& font,
                       QPointF baselineCentre, const QString& character, const QColor& colour,
                       int size)
{
    if (character.isEmpty())
        return;
    if (!FontHasCharacter(elf, character.toUcs4().value(0))) {
        DrawMissingMark(painter, baselineCentre, size);
        return;
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    const qreal advance = QFontMetricsF(font, painter.device()).horizontalAdvance(character);
    painter.drawText(QPointF(baselineCentre.x() - advance / 2, baselineCentre.y()), character);
    painter.restore();
}

MissingCharacterMarks::MissingCharacterMarks(QTextDocument* document) : QSyntaxHighlighter(document)
{
}

void MissingCharacterMarks::SetFont(const EnumLogFont& elf)
{
    elf_ = elf;
    active_ = !elf.filePath.isEmpty();
    rehighlight();
}

void MissingCharacterMarks::highlightBlock(const QString& text)
{
    if (!active_)
        return;
    QTextCharFormat mark;
    mark.setForeground(MissingMarkColour());
    const QList<uint> characters = text.toUcs4();
    int at = 0;
    for (uint c : characters) {
        const int length = c > 0xFFFF ? 2 : 1;
        if (c > 32 && !FontHasCharacter(elf_, c))
            setFormat(at, length, mark);
        at += length;
    }
}

} // namespace gw
