#pragma once
// "Glyphwick Component Checker": shown at start-up only when a run-time
// component conflicts with the one the program was built with.
#include <QDialog>

#include "checker/components.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace gw {

class VersionCheckDialog : public QDialog {
    Q_OBJECT
public:
    // Constructing the window loads it: Form_Load scans the components.
    explicit VersionCheckDialog(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;        // the explanation
    QLabel* Label2 = nullptr;        // "&Incompatible Files"
    QListWidget* ConflictListBox = nullptr;
    QLabel* Label3 = nullptr;        // "Detail description of incompatibilities"
    QPlainTextEdit* DetailText = nullptr;
    QPushButton* Command2 = nullptr; // "Save..."
    QPushButton* Command1 = nullptr; // "Continue"
    QPushButton* ExitBut = nullptr;  // "Exit"

    ComponentCheck Check;
    int ConflictCount() const { return Check.ConflictCount; }
    bool ExitChosen = false;

    void Form_Load();
    void ConflictListBox_Click();
    void Command2_Click();
    void Command1_Click();
    void ExitBut_Click();
};

// Start-up's component check: scans, and shows the window modally only when
// something conflicts. false when the user chose Exit there.
bool RunComponentCheck();

} // namespace gw
