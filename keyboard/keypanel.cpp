#include "keyboard/keypanel.h"

#include <QMouseEvent>
#include <QPainter>

namespace gw {

KeyPanel::KeyPanel(QWidget* parent) : QWidget(parent)
{
    // Clicking a key types into the text box; the keys never take the focus.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void KeyPanel::SetDown(bool down)
{
    if (down_ == down)
        return;
    down_ = down;
    update();
}

void KeyPanel::SetCaption(const QString& caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void KeyPanel::SetCaptionFont(const QFont& font, bool hasGlyph)
{
    setFont(font);
    hasGlyph_ = hasGlyph;
    update();
}

void KeyPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    // A pressed or latched key is shaded as well, so that it reads at a glance.
    p.fillRect(r, down_ ? pal.color(QPalette::Button).darker(112) : pal.color(QPalette::Button));

    // Two-pixel bevel: light outside top-left when raised, dark when inset.
    const QColor outerLight = down_ ? pal.color(QPalette::Shadow) : pal.color(QPalette::Light);
    const QColor innerLight = down_ ? pal.color(QPalette::Dark) : pal.color(QPalette::Midlight);
    const QColor outerDark = down_ ? pal.color(QPalette::Light) : pal.color(QPalette::Shadow);
    const QColor innerDark = down_ ? pal.color(QPalette::Midlight) : pal.color(QPalette::Dark);
    auto bevel = [&p](const QRect& b, const QColor& light, const QColor& dark) {
        p.setPen(light);
        p.drawLine(b.topLeft(), b.topRight());
        p.drawLine(b.topLeft(), b.bottomLeft());
        p.setPen(dark);
        p.drawLine(b.bottomLeft(), b.bottomRight());
        p.drawLine(b.topRight(), b.bottomRight());
    };
    bevel(r, outerLight, outerDark);
    bevel(r.adjusted(1, 1, -1, -1), innerLight, innerDark);

    if (caption_.isEmpty())
        return;
    // A pressed key's caption moves with the cap.
    const QRect text = r.adjusted(2, 2, -2, -2).translated(down_ ? 1 : 0, down_ ? 1 : 0);
    if (!hasGlyph_) {
        const int side = std::max(3, std::min(text.width(), text.height()) / 4);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.color(QPalette::Midlight).darker(115));
        p.drawRect(QRect(0, 0, side, side).translated(text.center() - QPoint(side / 2, side / 2)));
        return;
    }
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(pal.color(QPalette::ButtonText));
    p.setFont(font());
    p.setClipRect(r.adjusted(2, 2, -2, -2));
    p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

void KeyPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit MouseDown();
}

void KeyPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    emit MouseUp();
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

} // namespace gw
