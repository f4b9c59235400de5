#pragma once
// The fonts fontconfig lists, indexed so that the enumeration of one family
// costs the size of that family, not the size of the whole font set.
#include <QHash>
#include <QString>
#include <QVector>

#include "platform/desktop.h"

namespace gw {

// A family name as the 32-byte face name field holds it.
QString FaceFieldText(const QString& family);

// The styles in the order the enumeration offers them; the same style kept in
// two files (a Type 1 font as ".pfb" and ".t1") is given once.
QVector<DesktopFace> OrderStyles(QVector<DesktopFace> faces);

// One record per family and kind, from styles in OrderStyles order: the style
// nearest the plain one stands for its family. Families in name order.
QVector<DesktopFace> FamilyRecords(const QVector<DesktopFace>& styles);

class DesktopFaceIndex {
public:
    DesktopFaceIndex() = default;
    explicit DesktopFaceIndex(const QVector<DesktopFace>& faces);

    // The family records of every face (FamilyRecords order).
    const QVector<DesktopFace>& Families() const { return families_; }
    // The styles of a family, letter case ignored, in OrderStyles order. A
    // name of 31 bytes that is no family is taken as a cut face name field:
    // the styles of every family it begins.
    QVector<DesktopFace> Styles(const QString& family) const;
    // The faces of a family in listing order, before ordering.
    QVector<DesktopFace> FacesOf(const QString& family) const;

private:
    QVector<DesktopFace> faces_;
    QVector<DesktopFace> styles_;  // OrderStyles(faces_)
    QVector<DesktopFace> families_;
    // The positions in `faces` of a family's faces, by byFamily or by the face name field.
    static QVector<int> Positions(const QHash<QString, QVector<int>>& byFamily, const QVector<DesktopFace>& faces,
                                  const QString& family);
    QHash<QString, QVector<int>> byFamily_;  // case-folded family -> faces_ positions
    QHash<QString, QVector<int>> stylesOf_;  // the same -> styles_ positions
};

} // namespace gw
