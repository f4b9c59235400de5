#include "mainwindow/findbox.h"

#include <QKeyEvent>
#include <QTreeView>

#include "fonts/fontlist.h"

namespace gw {

FindBox::FindBox(QWidget* parent) : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("Find"));
    setClearButtonEnabled(true);
}

void FindBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (text().isEmpty())
            emit toList();
        else
            clear();
        return;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit toList();
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

int FilterFontRows(QTreeView* view, const FontListModel& list, const QString& text)
{
    const QString& wanted = text;
    int shown = 0;
    for (int row = 0; row < list.Count(); ++row) {
        const bool match = wanted.isEmpty() || list.At(row).text.contains(wanted, Qt::CaseInsensitive);
        // Only rows that change: each change costs the view a layout.
        if (view->isRowHidden(row, {}) == match)
            view->setRowHidden(row, {}, !match);
        shown += match ? 1 : 0;
    }
    return shown;
}

} // namespace gw
