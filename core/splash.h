#pragma once
// The splash window shown while the program reads the installed fonts.
#include <QPixmap>
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

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // Constructing the window loads it (Form_Load runs).
    explicit frmSplash(QWidget* parent = nullptr);

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
frmSplash* Splash();
// Loads the splash window unless it is loaded already.
frmSplash* LoadSplash();
void UnloadSplash();

} // namespace gw
