#pragma once
// The progress window of a font reread.
#include <QWidget>

class QLabel;

namespace gw {

class PictureBox;

class RereadProgress : public QWidget {
    Q_OBJECT
public:
    // Constructing the window loads it (Form_Load runs); it is not shown.
    explicit RereadProgress(QWidget* parent = nullptr);

    PictureBox* Picture1 = nullptr;  // the gauge
    QLabel* Picture2 = nullptr;      // the icon
    QLabel* lblMessage = nullptr;

    void Form_Load();
    // The gauge at percent, in the window's colours.
    void DrawProgress(int percent);
};

// The loaded RereadProgress window, or nullptr.
RereadProgress* RereadProgressWindow();
// Loads the RereadProgress window unless it is loaded already.
RereadProgress* LoadRereadProgress();
void UnloadRereadProgress();

} // namespace gw
