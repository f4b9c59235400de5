#include "platform/desktopindex.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "core/helpers.h"
#include "sfnt/codepage.h"

namespace gw {

namespace {

// After the family (letter case ignored): the family as spelled, weight,
// slant; ties broken so the order never depends on fontconfig's.
bool FaceBeforeInFamily(const DesktopFace& a, const DesktopFace& b)
{
    if (a.family != b.family)
        return a.family < b.family;
    if (a.weight != b.weight)
        return a.weight < b.weight;
    if (a.slant != b.slant)
        return a.slant < b.slant;
    if (a.fontType != b.fontType)
        return a.fontType > b.fontType;
    // Of the same Type 1 style in two files, the one with metrics first.
    if (a.metricsFile.isEmpty() != b.metricsFile.isEmpty())
        return !a.metricsFile.isEmpty();
    const int byName = a.fullName.compare(b.fullName, Qt::CaseInsensitive);
    if (byName != 0)
        return byName < 0;
    if (a.file != b.file)
        return a.file < b.file;
    return a.index < b.index;
}

bool SameStyle(const DesktopFace& a, const DesktopFace& b)
{
    return a.fontType == b.fontType && a.weight == b.weight && a.slant == b.slant
           && a.family.compare(b.family, Qt::CaseInsensitive) == 0
           && a.fullName.compare(b.fullName, Qt::CaseInsensitive) == 0
           && a.style.compare(b.style, Qt::CaseInsensitive) == 0;
}

} // namespace

QString FaceFieldText(const QString& family)
{
    // A short ASCII name is its own field text (the usual case, asked per style).
    if (family.size() <= 31 && IsAscii(family))
        return family;
    return FromCp1252(ToCp1252(family).left(31));
}

namespace {

QVector<QString> Folded(const QVector<DesktopFace>& faces)
{
    QVector<QString> folded;
    folded.reserve(faces.size());
    for (const DesktopFace& f : faces)
        folded.append(FoldCase(f.family));
    return folded;
}

// The positions of `faces` in family order (letter case ignored, as NameBefore
// orders every font list), then by `after` within a family. The names come
// folded once (`folded`): a sort compares each a dozen times, and comparing
// without case folds every time.
template <typename After>
QVector<int> FamilyOrder(const QVector<DesktopFace>& faces, const QVector<QString>& folded, After after)
{
    QVector<int> order(faces.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int byFamily = folded[a].compare(folded[b]);
        return byFamily != 0 ? byFamily < 0 : after(faces[a], faces[b]);
    });
    return order;
}

// OrderStyles as positions of `faces`.
QVector<int> StyleOrder(const QVector<DesktopFace>& faces, const QVector<QString>& folded)
{
    QVector<int> kept;
    kept.reserve(faces.size());
    for (int i : FamilyOrder(faces, folded, FaceBeforeInFamily))
        if (kept.isEmpty() || !SameStyle(faces[kept.last()], faces[i]))
            kept.append(i);
    return kept;
}

QVector<DesktopFace> Records(const QVector<DesktopFace>& styles, const QVector<QString>& folded)
{
    QVector<DesktopFace> records;
    QVector<QString> recordFolded;
    QHash<QString, int> groupOf;
    for (int i = 0; i < styles.size(); ++i) {
        const DesktopFace& f = styles[i];
        const QString key = folded[i] + QChar(0) + QChar(f.fontType);
        auto it = groupOf.find(key);
        if (it == groupOf.end()) {
            groupOf.insert(key, records.size());
            records.append(f);
            recordFolded.append(folded[i]);
        } else if (RegularStyleRank(f) < RegularStyleRank(records[*it])) {  // the family shows its plainest style
            records[*it] = f;
        }
    }
    QVector<DesktopFace> sorted;
    sorted.reserve(records.size());
    const auto after = [](const DesktopFace& a, const DesktopFace& b) {
        return a.family != b.family ? a.family < b.family : a.fontType > b.fontType;
    };
    for (int i : FamilyOrder(records, recordFolded, after))
        sorted.append(records[i]);
    return sorted;
}

} // namespace

QVector<DesktopFace> OrderStyles(QVector<DesktopFace> faces)
{
    QVector<DesktopFace> styles;
    styles.reserve(faces.size());
    for (int i : StyleOrder(faces, Folded(faces)))
        styles.append(faces[i]);
    return styles;
}

QVector<DesktopFace> FamilyRecords(const QVector<DesktopFace>& styles)
{
    return Records(styles, Folded(styles));
}

DesktopFaceIndex::DesktopFaceIndex(const QVector<DesktopFace>& faces) : faces_(faces)
{
    // Each family name is folded once for the sorts, the groups and the keys.
    const QVector<QString> folded = Folded(faces_);
    QVector<QString> stylesFolded;
    const QVector<int> order = StyleOrder(faces_, folded);
    styles_.reserve(order.size());
    stylesFolded.reserve(order.size());
    for (int i : order) {
        styles_.append(faces_[i]);
        stylesFolded.append(folded[i]);
    }
    families_ = Records(styles_, stylesFolded);
    byFamily_.reserve(faces_.size());
    for (int i = 0; i < faces_.size(); ++i)
        byFamily_[folded[i]].append(i);
    // The whole list in order is that of each family: sorting it once spares
    // a sort per enumerated family.
    stylesOf_.reserve(families_.size());
    for (int i = 0; i < styles_.size(); ++i)
        stylesOf_[stylesFolded[i]].append(i);
}

QVector<int> DesktopFaceIndex::Positions(const QHash<QString, QVector<int>>& byFamily,
                                         const QVector<DesktopFace>& faces, const QString& family)
{
    const QString folded = FoldCase(family);
    const auto whole = byFamily.constFind(folded);
    if (whole != byFamily.constEnd())
        return *whole;
    // A face name field cut to 31 bytes stands for every family it begins.
    QVector<int> positions;
    if (ToCp1252(family).size() != 31)
        return positions;
    const QString field = FoldCase(FaceFieldText(family));
    for (int i = 0; i < faces.size(); ++i)
        if (FoldCase(FaceFieldText(faces[i].family)) == field)
            positions.append(i);
    return positions;
}

QVector<DesktopFace> DesktopFaceIndex::FacesOf(const QString& family) const
{
    QVector<DesktopFace> faces;
    for (int i : Positions(byFamily_, faces_, family))
        faces.append(faces_[i]);
    return faces;
}

QVector<DesktopFace> DesktopFaceIndex::Styles(const QString& family) const
{
    const QVector<int> positions = Positions(stylesOf_, styles_, family);
    QVector<DesktopFace> styles;
    styles.reserve(positions.size());
    for (int i : positions)
        styles.append(styles_[i]);
    return styles;
}

} // namespace gw
