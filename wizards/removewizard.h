#pragma once
// "Remove Font Wizard": uninstalls fonts, then deletes, copies or moves their files.
#include <QDialog>
#include <QHash>
#include <QString>
#include <QVector>
#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace gw {

class PictureBox;

// Settings values of `Action`; keep: the font is only hidden, its file stays.
enum : int { ActionDelete = 1, ActionCopy = 2, ActionMove = 3, ActionKeep = 4 };

// What happens to a file to be deleted that no trash can take.
enum NoTrashAnswer : int { NoTrashAsks, NoTrashDeletes, NoTrashKeeps };

// One row of the wizard's list, as the removal sees it.
struct RemovalRow {
    int slot = 0;             // index into FontTable
    bool selected = false;
    bool registryKnown = false; // false: "unknown" registry entry
};

struct RemovalChoice {
    int action = ActionKeep;
    QString targetFolder;
    bool confirmDeletes = false;
    NoTrashAnswer noTrash = NoTrashAsks;
};

// What became of one row's font and file, for a report.
struct RemovalOutcome {
    bool ok = true;   // uninstalled and the file went where it was asked to
    QString text;     // "uninstalled; the file is in the trash", ... empty for a row not selected
};

// One line of a removal report, the same in the wizard and in glyphwick-fonts:
// the file, what became of its font and where the file is now.
QString RemovalReportLine(const QString& file, const RemovalOutcome& outcome);

enum class RemovalEnd {
    Finished,   // every row was processed
    Cancelled,  // Cancel on "Disk not ready": the remaining fonts were left alone
    Stopped,    // an unexpected copy error ended the run at once
    NotStarted, // the target folder is not there and was not made: nothing was done
};

// The removal run over the rows of the list (in list order): registry pass,
// target pass, then per row the resource removal, the copy and the deletion.
// progress gets 0..100 once per row; it may let pending events run.
// outcomes, when given, gets one entry per row.
RemovalEnd RemoveFonts(const QVector<RemovalRow>& rows, const RemovalChoice& choice,
                       const std::function<void(int percent)>& progress = {},
                       QVector<RemovalOutcome>* outcomes = nullptr);

// The registry entry text of a font: FullName + " (TrueType) = " + the
// registered file, or "unknown"; looked up in RegFontList.
class RegistryEntries {
public:
    RegistryEntries();
    QString EntryOf(const QString& fullName) const;

private:
    QHash<QString, QString> data_; // upper-cased value name -> data
};

class RemoveWizard : public QDialog {
    Q_OBJECT
public:
    // currentFont: the font selected in the main window (its full name); the
    // wizard starts with nothing selected all the same.
    explicit RemoveWizard(const QString& currentFont = {}, QWidget* parent = nullptr);
    ~RemoveWizard() override;

    // Next and Previous (nothing past the first or last step): the steps are 0 the fonts,
    // 1 what happens to their files and 2 the removal.
    void GoToNextStep();
    void GoToPreviousStep();
    // "Uninstall Fonts!": uninstalls the selected fonts and does the chosen
    // action with their files, then reports and closes (unless the run stopped).
    void RemoveChosenFonts();

    // Where the selection menu pops up; tests replace it to choose an item.
    std::function<void(QMenu* menu, const QPoint& globalPos)> PopupMenu;
    // Shows the closing report of a removal run (modal); tests replace it.
    std::function<void(QDialog* report)> ShowReport;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadSettings();
    void FillFontList();
    void SaveSettings();
    // Moves direction steps on (back when negative) and shows that step.
    void MoveSteps(int direction);
    void ShowSelectedCount();
    int ChosenAction() const;
    // The target folder can be typed and picked only for a copy or a move.
    void EnableTargetFolder(bool enable);
    void PickTargetFolder();
    // The font of the row in the sample.
    void ShowSample(QTreeWidgetItem* item);
    // The selection menu under the Select button, without a family item.
    void ShowSelectMenu();
    // Right button released over a row: the selection menu with the row's family.
    void PopupFamilyMenu(QTreeWidgetItem* item, const QPoint& globalPos);
    // Adds the rows whose upper-cased text passes the test to the selection.
    void SelectRows(const std::function<bool(const QString& upper)>& test);
    void SelectFamily();
    void SelectRegularFonts();
    void SelectBoldFonts();
    void SelectItalicFonts();
    void SelectBoldItalicFonts();
    void SelectNoFonts();
    // Lists every chosen font's file with what became of it and where it is now.
    void ShowRemovalReport(const QVector<RemovalRow>& rows, const QVector<RemovalOutcome>& outcomes);

    QLabel* messageLabel_ = nullptr;
    std::array<QWidget*, 3> stepPages_{};
    // Step 0: the fonts.
    QTreeWidget* fontList_ = nullptr;
    QLabel* sampleLabel_ = nullptr;
    QLabel* selectedCountLabel_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    // Step 1: what happens to the files.
    QGroupBox* afterGroup_ = nullptr;
    QRadioButton* moveRadio_ = nullptr;
    QRadioButton* copyRadio_ = nullptr;
    QRadioButton* deleteRadio_ = nullptr;
    QRadioButton* keepRadio_ = nullptr;
    QLabel* targetLabel_ = nullptr;
    QLineEdit* targetEdit_ = nullptr;
    QPushButton* pickFolderButton_ = nullptr;
    QCheckBox* confirmDeletesCheck_ = nullptr;
    // Step 2: the removal.
    QLabel* actionLabel_ = nullptr;
    QTreeWidget* chosenList_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    PictureBox* gauge_ = nullptr;
    QPushButton* uninstallButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QMenu* selectMenu_ = nullptr;
    QAction* familyAction_ = nullptr;
    QAction* familySeparator_ = nullptr;
    QAction* regularAction_ = nullptr;
    QAction* boldAction_ = nullptr;
    QAction* italicAction_ = nullptr;
    QAction* boldItalicAction_ = nullptr;
    QAction* noneAction_ = nullptr;

    int step_ = -1;  // 0..2
    QString contextFamily_;
    bool unloaded_ = false;
};

} // namespace gw
