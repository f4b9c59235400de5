#pragma once
// The install wizard: previews the fonts of a folder and installs the chosen
// ones, or (the CD print wizard) prints catalogs or sample sheets of them
// uninstalled.
#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "fonts/fontscan.h"
#include "platformapi/platform.h"
#include "print/pageframe.h"
#include "print/printrun.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace gw {

class FolderTree;
class LayoutPicture;
class PrintChoicePanel;
class MissingCharacterMarks;
class DriveList;
class PictureBox;
class PrinterSurface;

class InstallWizard : public QDialog {
    Q_OBJECT
public:
    // What the wizard does with the fonts of a folder.
    enum class Mode {
        Install,           // installs the chosen fonts
        PrintUninstalled,  // prints catalogs or sample sheets of them, uninstalled
    };

    // Constructing the window loads it for the mode, on the welcome step.
    explicit InstallWizard(Mode mode, QWidget* parent = nullptr);
    ~InstallWizard() override;

    // The Next and Previous buttons.
    void GoToNextStep();
    void GoToPreviousStep();
    // Opens the files step on a folder with these of its font files selected
    // (none: every font of the folder) and previews the first of them.
    void ShowFiles(const QString& folder, const QStringList& selectedFiles);
    // The selection menu: "ALL", "NONE", "REGULAR", "BOLD", "ITALIC",
    // "BOLDITALIC", or the fonts whose name contains a family's name.
    void SelectFonts(const QString& style);

    // How the wizard opens its result dialog and its printer; tests replace them.
    std::function<void(QDialog*)> ShowModal;
    std::function<std::shared_ptr<PrinterSurface>()> OpenPrinter;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The steps that do more than show their page, counted from 0 (the welcome).
    static constexpr int kFilesStep = 1;
    static constexpr int kChangesStep = 3;      // installing
    static constexpr int kPrintChoiceStep = 2;  // printing

    bool Installs() const { return mode_ == Mode::Install; }
    void CreateControls();
    QWidget* CreateFilesStep();
    QWidget* CreatePrintChoiceStep();
    QWidget* CreateGoStep();
    // Fills the filter, opens the last folder read and sets the texts of the mode.
    void SetUpForMode();
    // Removes the fonts added for previews and print runs and the temporary
    // files, and saves the folder and the print choices.
    void CleanUpAndSaveSettings();
    void MoveStep(bool forward);
    int HelpContext() const;
    void ShowHelp();
    // Cancels the reading of a folder; once read, in the print mode, opens the options.
    void CancelReadOrShowOptions();
    void FollowChosenDrive();
    void ApplyFilter();
    // Reads the folder of the tree (or, while one is read, ends that reading
    // and reads it next).
    void ReadChosenFolder();
    void ScanFolder();
    void EnableScanControls(bool enabled);
    // Goes to the last step and installs the selected fonts.
    void InstallNow();
    void DeleteTempFontFiles();
    // The slot of a row of the font list (its tag); -1 for none ("no font files").
    static int SlotOf(const QTreeWidgetItem* row);
    // Rows of the font list, in displayed order.
    QList<QTreeWidgetItem*> Rows() const;
    int SelectedRowCount() const;
    // The count under the list, and Install Now for any chosen font.
    void ShowSelectionCount(int count, bool fromMenu = false);
    // Preview
    void PreviewFont(QTreeWidgetItem* row);
    void RemovePreviewFont();
    void ResetSamplePanels();
    void DrawCharacter();
    void ApplySampleSize();
    void ShowChosenCharacter();
    // Selection
    void SortByColumn(int column);
    void ShowRowMenu(QTreeWidgetItem* row, const QPoint& globalPos);
    void ShowSelectMenu();
    // Registrations preview and the last step
    void RebuildChanges();
    void CopyChangesToClipboard();
    void UpdateGoStep();
    void InstallOrPrint();
    void InstallFonts();
    // Printing
    void ChooseCatalog();
    void ChooseSheets();
    void UpdatePictureAndGoStep();
    void SaveUpperCaseChoice();
    void RemovePrintFonts();
    void PrintFonts();
    PrintFontList PreparePrintFonts();
    void PrintCatalogs(PrinterSurface& printer);
    void PrintUninstalledSheets(PrinterSurface& printer);
    // Shows the choice on the previewed (else the first selected) font; only on
    // the print choice step, where the picture is.
    void UpdatePicture();
    PrintChoice Choice() const;

    // ---- Controls ----
    PictureBox* picture_ = nullptr;
    QLabel* stepTextLabel_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QWidget* welcomePage_ = nullptr;
    QWidget* filesPage_ = nullptr;
    QWidget* destinationPage_ = nullptr;
    QWidget* changesPage_ = nullptr;
    QWidget* printChoicePage_ = nullptr;
    QWidget* goPage_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    // The files step
    DriveList* driveList_ = nullptr;
    FolderTree* folderTree_ = nullptr;
    QComboBox* filterBox_ = nullptr;
    QTreeWidget* fontList_ = nullptr;   // columns "Font Name", "File Name", "Size"
    QLabel* fontNamesLabel_ = nullptr;
    QLabel* selectionCountLabel_ = nullptr;
    QLabel* readingLabel_ = nullptr;
    PictureBox* readingGauge_ = nullptr;
    QWidget* readingGaugeWell_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QPushButton* cancelReadButton_ = nullptr;  // print mode: Options once the folder is read
    QPushButton* installNowButton_ = nullptr;  // install mode: installs the selected fonts at once
    QLabel* legendLabel_ = nullptr;
    QTabWidget* previewTabs_ = nullptr;
    QPlainTextEdit* sampleEdit_ = nullptr;
    QLabel* characterLabel_ = nullptr;
    QLabel* characterCodeLabel_ = nullptr;
    QPlainTextEdit* infoEdit_ = nullptr;
    QScrollBar* sizeSlider_ = nullptr;
    QScrollBar* characterSlider_ = nullptr;
    QMenu* selectMenu_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QAction* selectFamilyAction_ = nullptr;
    QAction* selectRegularAction_ = nullptr;
    QAction* selectBoldAction_ = nullptr;
    QAction* selectItalicAction_ = nullptr;
    QAction* selectBoldItalicAction_ = nullptr;
    QAction* selectNoneAction_ = nullptr;
    // The destination step (install mode)
    QLabel* destinationLabel_ = nullptr;
    QLineEdit* destinationEdit_ = nullptr;
    // The registrations step (install mode)
    QLabel* changesLabel_ = nullptr;
    QListWidget* changesList_ = nullptr;
    QPushButton* copyChangesButton_ = nullptr;
    // The print choice step (print mode)
    PrintChoicePanel* choice_ = nullptr;
    // The last step
    QPushButton* goButton_ = nullptr;
    QLabel* fontCountLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    PictureBox* progressGauge_ = nullptr;

    // ---- State ----
    const Mode mode_;
    int step_ = 0;      // 0 the welcome
    int lastStep_ = 4;
    bool reading_ = false;
    bool cancelRead_ = false;
    QString filterSet_;
    QString currentFolder_;        // with a trailing "/"; empty until a folder was read
    QString previewFontFile_;
    QStringList printFontFiles_;   // added for a print run, each once, until removed
    bool loaded_ = false;
    FontFileTable fonts_;          // the faces read, by slot (the rows' tag)
    QFont previewFont_;
    EnumLogFont previewElf_;  // the previewed font file's record; no file: nothing previewed
    MissingCharacterMarks* sampleMarks_ = nullptr;
    int previewSlot_ = -1;  // the slot of the previewed font
    bool unloaded_ = false;
    bool rescanPending_ = false;  // the folder changed while it was read
};

// The result dialog of an installation (and of a removal): a message above
// one line per font.
class InstallDoneDialog : public QDialog {
    Q_OBJECT
public:
    explicit InstallDoneDialog(QWidget* parent = nullptr);
    void SetMessage(const QString& text);
    void AddLine(const QString& text, const QString& toolTip = QString());
    void AddLines(const QStringList& lines);
    // Long lines wrap instead of scrolling sideways.
    void WrapLines();

private:
    PictureBox* picture_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QListWidget* resultList_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// The wizard picture of the install windows.
void DrawWizardPicture(PictureBox* box);
// The text of the selection count: "No fonts selected", "1 font to install", ...
QString SelectionCountText(int count, bool install);

} // namespace gw
