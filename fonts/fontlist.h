#pragma once
// The list of installed font families that the main window's "Installed Fonts"
// view shows: one item per face name, with its kind as Tag and small icon.
#include <QAbstractListModel>
#include <QHash>
#include <QIcon>
#include <QVector>

namespace gw {

// Font kind codes: the Tag and small-icon index of a list item.
enum FontKind : int { KindTrueType = 1, KindType1 = 2, KindPrinter = 3 };
// A TrueType font file that is not installed (the install wizard's list).
constexpr int KindNotInstalled = 0;

// The small icon of a font kind, drawn rather than loaded.
QIcon FontKindIcon(int kind);

class FontListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int TagRole = Qt::UserRole + 1;

    struct Item {
        QString text;
        int tag = 0;
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Icons by kind (index 1..3), like an image list.
    void SetIcons(const QIcon& trueType, const QIcon& type1, const QIcon& printer);

    int Count() const { return int(items_.size()); }
    const Item& At(int row) const { return items_[row]; }
    // Row of the first item whose text equals text ignoring case, or -1.
    int FindItem(const QString& text) const;
    // The same among the items of one kind: a family present as TrueType and
    // as Type 1 files has an item of each kind.
    int FindItem(const QString& text, int tag) const;
    int Add(const QString& text, int tag);
    void SetTag(int row, int tag);
    void Remove(int row);
    void Clear();
    // Takes the items of another list in one step (views reset once).
    void Assign(const FontListModel& other);

private:
    void Reindex();

    QVector<Item> items_;
    QHash<QString, QVector<int>> rowsOf_;  // case-folded text -> its rows, in order
    QIcon icons_[4];
};

} // namespace gw
