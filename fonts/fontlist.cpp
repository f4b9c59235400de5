#include "fonts/fontlist.h"

#include "core/helpers.h"

#include <QPainter>
#include <QPixmap>

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
    const auto it = rowsOf_.constFind(FoldCase(text));
    return it == rowsOf_.constEnd() || it->isEmpty() ? -1 : it->first();
}

int FontListModel::FindItem(const QString& text, int tag) const
{
    for (int row : rowsOf_.value(FoldCase(text)))
        if (items_[row].tag == tag)
            return row;
    return -1;
}

void FontListModel::Reindex()
{
    rowsOf_.clear();
    for (int i = 0; i < items_.size(); ++i)
        rowsOf_[FoldCase(items_[i].text)].append(i);
}

int FontListModel::Add(const QString& text, int tag)
{
    const int row = int(items_.size());
    beginInsertRows({}, row, row);
    items_.append({text, tag});
    rowsOf_[FoldCase(text)].append(row);
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
    const QString key = FoldCase(items_[row].text);
    items_.remove(row);
    // The collecting pass removes the row it has just added: no other row moves.
    if (row == items_.size()) {
        QVector<int>& rows = rowsOf_[key];
        rows.removeAll(row);
        if (rows.isEmpty())
            rowsOf_.remove(key);
    } else {
        Reindex();
    }
    endRemoveRows();
}

void FontListModel::Assign(const FontListModel& other)
{
    beginResetModel();
    items_ = other.items_;
    rowsOf_ = other.rowsOf_;
    endResetModel();
}

void FontListModel::Clear()
{
    beginResetModel();
    items_.clear();
    rowsOf_.clear();
    endResetModel();
}

QIcon FontKindIcon(int kind)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    switch (kind) {
    case KindNotInstalled:
        p.setPen(QColor(0x1f, 0x4e, 0x9c));
        p.drawText(QRect(4, 2, 24, 28), Qt::AlignCenter, QStringLiteral("T"));
        break;
    case KindTrueType:
        p.setPen(QColor(0x90, 0x90, 0x90));
        p.drawText(QRect(0, 0, 24, 28), Qt::AlignCenter, QStringLiteral("T"));
        p.setPen(QColor(0x1f, 0x4e, 0x9c));
        p.drawText(QRect(8, 4, 24, 28), Qt::AlignCenter, QStringLiteral("T"));
        break;
    case KindType1: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xb0, 0x30, 0x20));
        p.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
        p.setPen(Qt::white);
        p.drawText(QRect(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("a"));
        break;
    }
    default: {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
        p.setBrush(QColor(0xe8, 0xe8, 0xe8));
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(0x70, 0x70, 0x70));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));
        break;
    }
    }
    return QIcon(pixmap);
}


} // namespace gw
