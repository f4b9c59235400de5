#pragma once
// The splash window shown while the program reads the installed fonts.
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;

namespace gw {

class PictureBox;

// The program's version, as the splash shows it.
constexpr const char ProgramVersion[] = "0.1";
QString VersionCaption();  // "Version 0.1, for Linux"

// The program's logo: a large stylised "G" on a glyph grid, size × size pixels.
QPixmap GlyphwickLogo(int size);

// Where the logo's parts lie at a given size (the icon files are drawn from it too).
struct LogoGeometry {
    QRectF tile;
    qreal radius = 0;
    qreal baseline = 0, capHeight = 0, xHeight = 0;
    qreal margin = 0;            // of the guide lines inside the tile
    qreal sideBearings[2] = {0, 0};
    QPainterPath glyph;          // the fitted "G"
};
LogoGeometry GlyphwickLogoGeometry(qreal size);

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // Built centred, with "Loading..." and an empty gauge; shown by the caller.
    explicit SplashWindow(QWidget* parent = nullptr);

    // The line above the gauge: what start-up is doing.
    void ShowStatus(const QString& text);
    // The gauge at percent, in the splash's colours.
    void DrawProgress(int percent);

private:
    void ShowStartState();

    QLabel* logo_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* sloganLabel_ = nullptr;
    QFrame* topRule_ = nullptr;
    QLabel* captionLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* type1Label_ = nullptr;  // the Type 1 rasterizer found, or empty
    QFrame* bottomRule_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    PictureBox* gauge_ = nullptr;
};

// The loaded splash window, or nullptr.
SplashWindow* Splash();
// Loads the splash window unless it is loaded already.
SplashWindow* LoadSplash();
void UnloadSplash();

} // namespace gw
