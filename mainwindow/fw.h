#pragma once
// The main window. For now it only starts and ends the program; the font list
// and the preview pages take their place in it later.
#include <QMainWindow>

class QLabel;

namespace gw {

class FW : public QMainWindow {
    Q_OBJECT
public:
    // Constructing the window loads it: Form_Load runs and shows it.
    explicit FW(QWidget* parent = nullptr);

    QLabel* lblPlaceholder = nullptr;

    void Form_Load();
    // The program's shut-down; runs when the window closes.
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace gw
