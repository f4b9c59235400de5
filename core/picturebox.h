#pragma once
// A picture box that keeps what is drawn on it: drawing goes into its own
// pixmap, which is painted on every repaint and kept across resizes.
#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace gw {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The drawing surface, at least as large as the box, in the box's pixel
    // units. Call update() after painting on it (or use CanvasPainter).
    QPixmap* Canvas();
    const QPixmap& Picture() const { return canvas_; }
    // The drawing as an image of exactly the box's size.
    QImage ToImage() const;

    // Wipes the drawing to the background colour.
    void Clear();
    QColor BackColor() const { return backColor_; }
    void SetBackColor(const QColor& colour);

    QSize sizeHint() const override { return QSize(100, 30); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void EnsureCanvas();

    QPixmap canvas_;
    QColor backColor_;
};

// A painter on a picture box's canvas that repaints the box when done.
class CanvasPainter : public QPainter {
public:
    explicit CanvasPainter(PictureBox* box) : QPainter(box->Canvas()), box_(box) {}
    ~CanvasPainter()
    {
        end();
        box_->update();
    }

private:
    PictureBox* box_;
};

} // namespace gw
