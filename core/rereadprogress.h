#pragma once
// The progress window of a font reread.
#include <QWidget>

class QLabel;

namespace gw {

class PictureBox;

class RereadProgress : public QWidget {
    Q_OBJECT
public:
    // Built centred with an empty gauge; shown by the caller.
    explicit RereadProgress(QWidget* parent = nullptr);

    // What is being read, above the gauge.
    void ShowMessage(const QString& text);
    // The gauge at percent, in the window's colours.
    void DrawProgress(int percent);

private:
    QLabel* icon_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    PictureBox* gauge_ = nullptr;
};

// The loaded reread progress window, or nullptr.
RereadProgress* RereadProgressWindow();
// Loads the reread progress window unless it is loaded already.
RereadProgress* LoadRereadProgress();
void UnloadRereadProgress();

} // namespace gw
