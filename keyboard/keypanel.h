#pragma once
// One key of the keyboard window: a 3-D panel, raised when up and inset when
// pressed or latched, with its caption in the middle.
#include <QFont>
#include <QWidget>

namespace gw {

class KeyPanel : public QWidget {
    Q_OBJECT
public:
    explicit KeyPanel(QWidget* parent = nullptr);

    // Outer bevel: 2 raised (up), 1 inset (pressed or latched).
    int BevelOuter() const { return down_ ? 1 : 2; }
    bool IsDown() const { return down_; }
    void SetDown(bool down);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The font of the caption; with hasGlyph false the key shows a light grey
    // mark instead of a glyph the font lacks.
    void SetCaptionFont(const QFont& font, bool hasGlyph);
    bool HasGlyph() const { return hasGlyph_; }

signals:
    void MouseDown();
    void MouseUp();
    // Released over the key.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool down_ = false;
    bool hasGlyph_ = true;
    QString caption_;
};

} // namespace gw
