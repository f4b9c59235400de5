#include "core/picturebox.h"

#include <QPaintEvent>

namespace gw {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    backColor_ = palette().color(QPalette::Window);
    // Everything shown comes from the canvas, so Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::EnsureCanvas()
{
    const qreal ratio = devicePixelRatioF();
    const QSize logical = canvas_.isNull()
        ? QSize()
        : (QSizeF(canvas_.size()) / canvas_.devicePixelRatio()).toSize();
    if (!canvas_.isNull() && logical.width() >= width() && logical.height() >= height()
        && qFuzzyCompare(canvas_.devicePixelRatio(), ratio))
        return;

    // Grow only: a box made smaller and then larger again still shows its drawing.
    const QSize wanted = logical.expandedTo(size()).expandedTo(QSize(1, 1));
    QPixmap grown((QSizeF(wanted) * ratio).toSize());
    grown.setDevicePixelRatio(ratio);
    grown.fill(backColor_);
    if (!canvas_.isNull()) {
        QPainter p(&grown);
        p.drawPixmap(QRect(QPoint(0, 0), logical), canvas_);
    }
    canvas_ = grown;
}

QPixmap* PictureBox::Canvas()
{
    EnsureCanvas();
    return &canvas_;
}

QImage PictureBox::ToImage() const
{
    const qreal ratio = canvas_.isNull() ? 1.0 : canvas_.devicePixelRatio();
    QImage image((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(backColor_);
    if (!canvas_.isNull()) {
        QPainter p(&image);
        p.drawPixmap(0, 0, canvas_);
    }
    return image;
}

void PictureBox::Clear()
{
    EnsureCanvas();
    canvas_.fill(backColor_);
    update();
}

void PictureBox::SetBackColor(const QColor& colour)
{
    // A new background colour also wipes the drawing.
    backColor_ = colour;
    Clear();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    EnsureCanvas();
    QPainter(this).drawPixmap(0, 0, canvas_);  // the toolkit clips it to the region to repaint
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    EnsureCanvas();
}

} // namespace gw
