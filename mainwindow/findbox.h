#pragma once
// The "Find" box above the font list: narrows the listed families to those
// whose name contains the typed text, letter case ignored; Escape clears it.
#include <QLineEdit>

class QTreeView;

namespace gw {

class FontListModel;

class FindBox : public QLineEdit {
    Q_OBJECT
public:
    explicit FindBox(QWidget* parent = nullptr);

signals:
    // Down, Enter, or Escape on an empty box: the user goes on in the list.
    void toList();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Hides the rows of `view` whose text does not contain `text` (all shown when
// it is empty); returns the number of rows left.
int FilterFontRows(QTreeView* view, const FontListModel& list, const QString& text);

} // namespace gw
