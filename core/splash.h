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
    // Constructing the window loads it (Form_Load runs).
    explicit SplashWindow(QWidget* parent = nullptr);

    PictureBox* picGauge = nullptr;
    QLabel* lblAdobe = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Image1 = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

    void Form_Load();
    // The gauge at percent, in the splash's colours.
    void DrawProgress(int percent);
};

// The loaded splash window, or nullptr.
SplashWindow* Splash();
// Loads the splash window unless it is loaded already.
SplashWindow* LoadSplash();
void UnloadSplash();

} // namespace gw
