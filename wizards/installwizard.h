#pragma once
// The install wizard: mode 1 previews the fonts of a folder and installs the
// chosen ones; mode 2 prints catalogs or sample sheets of them uninstalled.
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
    // Constructing the window loads it for the current WizardMode.
    explicit InstallWizard(QWidget* parent = nullptr);
    ~InstallWizard() override;

    // ---- Controls ----
    PictureBox* picWizard = nullptr;
    QLabel* lblMsg = nullptr;
    QStackedWidget* steps = nullptr;
    QWidget* picWelcome = nullptr;
    QWidget* picFiles = nullptr;
    QWidget* picDest = nullptr;
    QWidget* picChanges = nullptr;
    QWidget* picTitle = nullptr;
    QWidget* picGo = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdPrev = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdExit = nullptr;
    // Step 1
    DriveList* drivelist = nullptr;
    FolderTree* dirlist = nullptr;
    QComboBox* cmbFilter = nullptr;
    QTreeWidget* ListView1 = nullptr;   // columns "Font Name", "File Name", "Size"
    QListWidget* lstfiles = nullptr;    // hidden
    QLabel* lblFontNames = nullptr;
    QLabel* lblCount = nullptr;
    QLabel* lblReading = nullptr;
    PictureBox* picGauge = nullptr;
    QWidget* gaugeWell = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdCancelRead = nullptr;
    QPushButton* cmdInstallNow = nullptr;   // mode 1: installs the selected fonts at once
    QLabel* lblLegend = nullptr;
    QTabWidget* TabStrip1 = nullptr;
    QPlainTextEdit* pnlSample = nullptr;
    QLabel* pnlCharacter = nullptr;
    QLabel* lblAnsi = nullptr;
    QPlainTextEdit* txtInfo = nullptr;
    QScrollBar* scrSize = nullptr;
    QScrollBar* scrAnsi = nullptr;
    QMenu* mnuContext = nullptr;
    QAction* mnuContextAll = nullptr;
    QAction* mnuContextFamily = nullptr;
    QAction* mnuContextRegular = nullptr;
    QAction* mnuContextBold = nullptr;
    QAction* mnuContextItalic = nullptr;
    QAction* mnuContextBoldItalic = nullptr;
    QAction* mnuContextNone = nullptr;
    // Step 2, mode 1
    QLabel* lblDest = nullptr;
    QLineEdit* txtDest = nullptr;
    // Step 3, mode 1
    QLabel* lblINIChanges = nullptr;
    QListWidget* lstChanges = nullptr;
    QPushButton* cmdSave = nullptr;
    // Step 2, mode 2
    QRadioButton* optCatalog = nullptr;
    QRadioButton* optSheets = nullptr;
    QComboBox* cmbStyle = nullptr;
    QLineEdit* txtTitle = nullptr;
    QCheckBox* chkUpper = nullptr;
    QCheckBox* chkSpec1 = nullptr;
    QCheckBox* chkSpec2 = nullptr;
    QCheckBox* chkSpec3 = nullptr;
    QCheckBox* chkSpec4 = nullptr;
    QCheckBox* chkKeyboard = nullptr;
    QCheckBox* chkANSI = nullptr;
    QCheckBox* chkANSI2 = nullptr;
    QCheckBox* chk72PointSetI = nullptr;
    QWidget* pnlPic = nullptr;
    LayoutPicture* imgPic = nullptr;  // the first page of the choice
    // Last step
    QPushButton* cmdGo = nullptr;
    QLabel* lblNumber = nullptr;
    QLabel* lblStatus = nullptr;
    PictureBox* picGauge2 = nullptr;

    // ---- State ----
    int Step = 0;
    int LastStep = 4;
    bool Reading = false;
    bool CancelRead = false;
    QString FilterSet;
    QString CurrentFolder;        // with a trailing "/"; empty until a folder was read
    QString PreviewFontFile;
    bool TempFontFiles = false;
    bool Loaded = false;
    FontFileTable Fonts;          // slots 1..n
    int HelpContext() const;      // 610 or 725

    // How the wizard opens its dialogs and its printer; tests replace them.
    std::function<void(QDialog*)> ShowModal;
    std::function<std::shared_ptr<PrinterSurface>()> OpenPrinter;
    std::function<void(QWidget* options)> ShowOptions;

    // ---- Events ----
    void Form_Load();
    void Form_Unload();
    void AdvanceStep(bool forward);
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdHelp_Click();
    void cmdExit_Click();
    void cmdCancelRead_Click();
    void cmdSelectAll_Click();
    void dirlist_Change();
    void drivelist_Change();
    void cmbFilter_Click();
    void ListView1_ItemClick(QTreeWidgetItem* item);
    void ListView1_ColumnClick(int column);
    void ListView1_RightClick(QTreeWidgetItem* item, const QPoint& globalPos);
    void TabStrip1_Click();
    void scrSize_Change();
    void scrAnsi_Change();
    void SelectFonts(const QString& style);
    // Installation (mode 1)
    void cmdSave_Click();
    void cmdGo_Click();
    // Printing (mode 2)
    void optCatalog_Click();
    void optSheets_Click();
    void cmbStyle_Click();
    void chkSheet_Click(QCheckBox* box);
    void chkUpper_Click();
    void txtTitle_GotFocus();
    void RemovePrintFonts();

    // Opens the files step on a folder with these of its font files selected
    // (none: every font of the folder) and previews the first of them.
    void ShowFiles(const QString& folder, const QStringList& selectedFiles);
    // Goes to the last step and installs the selected fonts.
    void cmdInstallNow_Click();

    // The slot of a row (its tag), 0 for none.
    static int SlotOf(const QTreeWidgetItem* item);
    // The rows in displayed order.
    QList<QTreeWidgetItem*> Rows() const;
    int SelectedRowCount() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    QWidget* CreateFilesStep();
    QWidget* CreateTitleStep();
    QWidget* CreateGoStep();
    void ShowStepText();
    void ScanFolder();
    void EnableScanControls(bool enabled);
    void ResetSamplePanels();
    void DrawCharacter();
    void ShowSelectionCount();
    void RebuildChanges();
    void UpdateGoStep();
    void DeleteTempFontFiles();
    void RemovePreviewFont();
    void InstallFonts();
    void PrintFonts();
    PrintFontList PreparePrintFonts();
    void PrintCatalogs(PrinterSurface& printer);
    void PrintUninstalledSheets(PrinterSurface& printer);
    // Shows the choice on the previewed (else the first selected) font.
    void UpdatePicture();
    PrintChoice Choice() const;
    std::array<QCheckBox*, 8> SheetBoxes() const;
    QFont previewFont_;
    EnumLogFont previewElf_;  // the previewed font file's record; no file: nothing previewed
    MissingCharacterMarks* sampleMarks_ = nullptr;
    int previewSlot_ = 0;  // the slot of the previewed font
    PrintChoicePanel* choice_ = nullptr;
    bool unloaded_ = false;
    bool rescanPending_ = false;  // the folder changed while it was read
};

// The success dialog of an installation.
class InstallDoneDialog : public QDialog {
    Q_OBJECT
public:
    explicit InstallDoneDialog(QWidget* parent = nullptr);
    PictureBox* picWizard = nullptr;
    QLabel* lblMsg = nullptr;
    QListWidget* lstFonts = nullptr;
    QPushButton* Command1 = nullptr;
    void Form_Load();
    void Command1_Click();
};

// The wizard picture of the install windows.
void DrawWizardPicture(PictureBox* box);
// The text of the selection count: "No fonts selected", "1 font to install", ...
QString SelectionCountText(int count, bool install);

} // namespace gw
