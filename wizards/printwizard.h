#pragma once
// The print wizard: choose installed fonts, choose a catalog layout or sample
// sheets, print. Three steps shown one at a time.
#include <QDialog>
#include <array>

#include "print/printrun.h"
#include "wizards/printrunner.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace gw {

class PictureBox;
class LayoutPicture;
class PrintChoicePanel;

class PrintWizard : public QDialog {
    Q_OBJECT
public:
    // Constructing the wizard loads it (Form_Load) with this wizard fonts table.
    explicit PrintWizard(const PrintFontList& fonts, QWidget* parent = nullptr);
    ~PrintWizard() override;

    // ---- Controls ----
    std::array<QWidget*, 3> picStep{};  // picStep0..picStep2
    QTreeWidget* ListView1 = nullptr;
    QPushButton* cmdSelect = nullptr;
    QLabel* lblSelected = nullptr;
    QFrame* pnlSample = nullptr;
    QLabel* lblSample = nullptr;
    QRadioButton* optCatalog = nullptr;
    QRadioButton* optSheets = nullptr;
    QComboBox* cmbStyle = nullptr;
    QLineEdit* txtTitle = nullptr;
    QCheckBox* chkUpper = nullptr;
    // In the order the sheets print: chkSpec1..4, chkKeyboard, chkANSI, chkANSI2, chk72PointSetI.
    std::array<QCheckBox*, 8> chkSheet{};
    QFrame* pnlPic = nullptr;
    LayoutPicture* imgPic = nullptr;
    PictureBox* picGauge = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblNumber = nullptr;
    QPushButton* cmdGo = nullptr;
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdPrev = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdOptions = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* lblMessage = nullptr;
    QMenu* mnuContext = nullptr;
    QAction* mnuContextAll = nullptr;
    QAction* mnuContextFamily = nullptr;
    QAction* mnuContextRegular = nullptr;
    QAction* mnuContextBold = nullptr;
    QAction* mnuContextItalic = nullptr;
    QAction* mnuContextBoldItalic = nullptr;
    QAction* mnuContextNone = nullptr;

    // The wizard fonts table; a row's data holds its index here.
    const PrintFontList& WizardFonts() const { return fonts_; }
    int Step() const { return step_; }
    bool Printing() const { return runner_.Busy(); }
    // The selected rows' entries, in the displayed order.
    PrintFontList SelectedFonts() const;
    // What step 1 says to print.
    PrintChoice Choice() const;

    // ---- Events and procedures ----
    void Form_Load();
    void AdvanceButton(int delta);
    void SelectFonts(const QString& kind);
    void cmdNext_Click() { AdvanceButton(+1); }
    void cmdPrev_Click() { AdvanceButton(-1); }
    void cmdGo_Click();
    void cmdPreview_Click();
    void cmdSelect_Click();
    void cmdOptions_Click();
    void Command1_Click();
    void Cancel_Click();
    void optCatalog_Click();
    void optSheets_Click();
    void cmbStyle_Click();
    void chkUpper_Click();
    void ListView1_ColumnClick(int column);
    void ListView1_ItemClick(int row);
    // Right button over the list at a position of its viewport.
    void ListView1_MouseUp(const QPoint& pos);
    void Form_Unload();

signals:
    // A step was shown (tests and screenshots wait for it).
    void StepShown(int step);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void reject() override;
    void done(int result) override;

private:
    void CreateControls();
    QWidget* CreateStep0();
    QWidget* CreateStep1();
    QWidget* CreateStep2();
    // The menu shown by the right button and by cmdSelect.
    void PopupContext(const QPoint& globalPos, const QString& family);
    void ShowSelectedCount();
    void UpdatePicture();
    void SetPrinting(bool printing);

    PrintFontList fonts_;
    PrintChoicePanel* choice_ = nullptr;
    int step_ = 0;
    PrintRunner runner_;
    bool unloaded_ = false;
};

} // namespace gw
