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
    // Scans the components and lists the conflicts; shown by the caller.
    explicit VersionCheckDialog(QWidget* parent = nullptr);

    int ConflictCount() const { return check_.ConflictCount; }
    // The user chose Exit: start-up ends.
    bool ExitChosen() const { return exitChosen_; }

private:
    void ScanAndList();
    void ShowConflictDetail();
    void SaveReport();
    void Continue();
    void ChooseExit();

    QLabel* explanationLabel_ = nullptr;
    QLabel* conflictsLabel_ = nullptr;    // "&Incompatible Files"
    QListWidget* conflictList_ = nullptr;
    QLabel* detailLabel_ = nullptr;       // "Detail description of incompatibilities"
    QPlainTextEdit* detailText_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* continueButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    ComponentCheck check_;
    bool exitChosen_ = false;
};

// Start-up's component check: scans, and shows the window modally only when
// something conflicts. false when the user chose Exit there.
bool RunComponentCheck();

} // namespace gw
