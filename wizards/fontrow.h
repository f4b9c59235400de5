#pragma once
// A row of a wizard's font list: sorted by the clicked column in the order of
// every font list (NameBefore), whatever the column holds.
#include <QTreeWidget>

#include "core/helpers.h"

namespace gw {

class FontRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return NameBefore(text(column), other.text(column));
    }
};

} // namespace gw
