#include "fonts/fontlist.h"

namespace gw {

int FontListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(items_.size());
}

QVariant FontListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= items_.size())
        return {};
    const Item& item = items_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return item.text;
    case Qt::DecorationRole:
        return item.tag >= 1 && item.tag <= 3 ? QVariant(icons_[item.tag]) : QVariant();
    case TagRole:
        return item.tag;
    default:
        return {};
    }
}

QVariant FontListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Installed Fonts");
    return {};
}

void FontListModel::SetIcons(const QIcon& trueType, const QIcon& type1, const QIcon& printer)
{
    icons_[KindTrueType] = trueType;
    icons_[KindType1] = type1;
    icons_[KindPrinter] = printer;
    if (!items_.isEmpty())
        emit dataChanged(index(0), index(int(items_.size()) - 1), {Qt::DecorationRole});
}

// Exact equality ignoring case: a face is never taken for another face it begins with.
int FontListModel::FindItem(const QString& text) const
{
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i].text.compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int FontListModel::Add(const QString& text, int tag)
{
    const int row = int(items_.size());
    beginInsertRows({}, row, row);
    items_.append({text, tag});
    endInsertRows();
    return row;
}

void FontListModel::SetTag(int row, int tag)
{
    if (row < 0 || row >= items_.size())
        return;
    items_[row].tag = tag;
    emit dataChanged(index(row), index(row), {Qt::DecorationRole, TagRole});
}

void FontListModel::Remove(int row)
{
    if (row < 0 || row >= items_.size())
        return;
    beginRemoveRows({}, row, row);
    items_.remove(row);
    endRemoveRows();
}

void FontListModel::Clear()
{
    beginResetModel();
    items_.clear();
    endResetModel();
}

} // namespace gw
