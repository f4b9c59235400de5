#pragma once
// The pieces of the main window's toolbar that need no window: the button
// pictures, the transparent-colour drawing, the tooltip window and the menu
// help texts.
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

class QAction;
class QLabel;
class QPainter;

namespace gw {

// Magenta marks the transparent pixels of every toolbar picture.
inline const QColor TransparentColour(255, 0, 255);

// Logical size of a toolbar picture, in pixels.
constexpr int ToolBitmapSize = 32;

// The toolbar picture with this resource number (176 to 183), drawn on
// magenta at the given device pixel ratio so it stays crisp. Other numbers
// give a null image.
QImage ToolBitmap(int resource, qreal devicePixelRatio = 1.0);

// Draws bitmap at (x, y) leaving the pixels of the transparent colour unpainted.
void DrawTransparent(QPainter& target, const QImage& bitmap, int x, int y,
                     const QColor& transparent);

// The help line for a highlighted menu item, keyed by the item text as the
// menu reports it (caption, or caption + tab + shortcut); empty for others.
QString MenuHelpText(const QString& itemText);
// The text a menu reports for an item: its caption, a tab and the shortcut when it has one.
QString MenuItemText(const QAction* item);

// The small borderless window of a toolbar tooltip.
class ToolbarTip : public QWidget {
    Q_OBJECT
public:
    explicit ToolbarTip(QWidget* parent = nullptr);
    // Shows `text` with the window's top left corner at `at`, sized to the text.
    void ShowText(const QString& text, const QPoint& at);

private:
    QLabel* textLabel_ = nullptr;
};

// The tooltip window, loaded on first use and kept to the end of the program.
ToolbarTip* TooltipWindow();

} // namespace gw
