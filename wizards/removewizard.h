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

    // ---- Controls ----
    QLabel* lblMsg = nullptr;
    std::array<QWidget*, 3> picStep{};
    QTreeWidget* ListView1 = nullptr;
    QTreeWidget* ListView2 = nullptr;
    QLabel* pnlSample = nullptr;
    QLabel* lblSelected = nullptr;
    QPushButton* cmdSelect = nullptr;
    QGroupBox* fraAfter = nullptr;
    QRadioButton* optMove = nullptr;
    QRadioButton* optCopy = nullptr;
    QRadioButton* optDelete = nullptr;
    QRadioButton* optKeep = nullptr;
    QLabel* lblTarget = nullptr;
    QLineEdit* txtTarget = nullptr;
    QPushButton* cmdPick = nullptr;
    QCheckBox* chkDelete = nullptr;
    QLabel* lblAction = nullptr;
    QLabel* lblStatus = nullptr;
    PictureBox* picGauge = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdPrev = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblOK = nullptr;   // hidden: "OK" after a removal run, "CANCEL" after Close
    QMenu* mnuContext = nullptr;
    QAction* mnuContextFamily = nullptr;
    QAction* mnuContextFamilySep = nullptr;
    QAction* mnuContextRegularFonts = nullptr;
    QAction* mnuContextBoldFonts = nullptr;
    QAction* mnuContextItalicFonts = nullptr;
    QAction* mnuContextBoldItalicFonts = nullptr;
    QAction* mnuContextNone = nullptr;

    int Step = -1;

    // ---- Handlers ----
    void Form_Load();
    void Form_Unload();
    void AdvanceButton(int direction);
    void SetFontCount();
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdRemove_Click();
    void cmdPick_Click();
    void cmdSelect_Click();
    void cmdExit_Click();
    void optDelete_Click();
    void optCopy_Click();
    void optMove_Click();
    void ListView1_ItemClick(QTreeWidgetItem* item);
    // Right button released over a row: the context menu with its family item.
    void ListView1_MouseUp(QTreeWidgetItem* item, const QPoint& globalPos);
    void ListView1_ColumnClick(int column);
    void mnuContextFamily_Click();
    void mnuContextRegularFonts_Click();
    void mnuContextBoldFonts_Click();
    void mnuContextItalicFonts_Click();
    void mnuContextBoldItalicFonts_Click();
    void mnuContextNone_Click();

    // Where the context menu pops up; tests replace it to choose an item.
    std::function<void(QMenu* menu, const QPoint& globalPos)> popupMenu;
    // Shows the closing report of a removal run (modal); tests replace it.
    std::function<void(QDialog* report)> ShowModal;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int ChosenAction() const;
    // Lists every chosen font's file with what became of it and where it is now.
    void ShowRemovalReport(const QVector<RemovalRow>& rows, const QVector<RemovalOutcome>& outcomes);
    // Adds the rows whose upper-cased text passes the test to the selection.
    void SelectRows(const std::function<bool(const QString& upper)>& test);
    QString contextFamily_;
    bool unloaded_ = false;
};

} // namespace gw
