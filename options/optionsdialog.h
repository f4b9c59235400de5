#pragma once
// The Options dialog: which font kinds the main list shows, the printer reset
// interval, the ATM program path, the page texts of catalogs and sample
// sheets, the eight quotations and the two paragraph texts. Nothing is stored
// until OK.
#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabBar;

namespace gw {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Constructing the dialog loads it (Form_Load); show it with exec().
    explicit OptionsDialog(QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // ---- Controls (arrays keep fixed slot numbers) ----
    QTabBar* TabStrip1 = nullptr;
    std::array<QWidget*, 6> frmContainer{};  // 1..5
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
    // General
    QLineEdit* txtUserName = nullptr;
    QLineEdit* txtReset = nullptr;
    QCheckBox* chkTrueType = nullptr;
    QCheckBox* chkATM = nullptr;
    QCheckBox* chkDevice = nullptr;
    QLineEdit* txtATMPath = nullptr;
    QPushButton* cmdATM = nullptr;
    // Font Catalogs
    QLineEdit* txtLeftFooter = nullptr;
    QLineEdit* txtRightFooter = nullptr;
    QComboBox* cmbPointSize = nullptr;
    QComboBox* cmbInfoPointSize = nullptr;
    // Sample Sheets
    QLineEdit* txtSpecHeader = nullptr;
    // Sample text lists and their read-only previews: 0 catalogs, 1 sheets.
    std::array<QComboBox*, 2> cboQuotes{};
    std::array<QPlainTextEdit*, 2> txtQuoteSample{};
    // Quotes and paragraphs
    std::array<QLineEdit*, 8> txtQuote{};
    std::array<QPlainTextEdit*, 2> txtParagraph{};

    // Selects a tab (1..5), which runs TabStrip1_Click.
    void SelectTab(int tab);
    int CurrentTab() const;

    // ---- Events ----
    void Form_Load();
    void TabStrip1_Click();
    void cboQuotes_Click(int index);
    void cmdATM_Click();
    // false when a check refused the input or a file could not be written.
    bool cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    // false: the key is discarded.
    bool txtReset_KeyPress(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    // Writes every setting and both paragraph files; false (nothing written)
    // when one of the files cannot be written.
    bool SaveSettings();
};

} // namespace gw
