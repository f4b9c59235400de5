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
    // The tabs, in the order they are shown.
    enum class Tab { General, Catalogs, SampleSheets, Quotes, Paragraphs };

    // Constructing the dialog loads the settings; show it with exec().
    explicit OptionsDialog(QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // Shows a tab and puts the focus on its first box.
    void SelectTab(Tab tab);
    // Greys out the choice of the font kinds the main list shows, for windows
    // that have no business changing it.
    void DisableFontKinds();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void LoadSettings();
    int CurrentTab() const;  // 0-based, as Tab
    void ShowCurrentTab();
    // Shows the stored quotation a sample text box chooses: 0 catalogs, 1 sheets.
    void ShowSampleText(int index);
    void BrowseForTypeManager();
    // Checks the input and saves it; the dialog stays open when a check
    // refused the input or a file could not be written.
    void ConfirmChanges();
    void ShowHelp();
    // Writes every setting and both paragraph files; false (nothing written)
    // when one of the files cannot be written.
    bool SaveSettings();

    QTabBar* tabs_ = nullptr;
    std::array<QWidget*, 5> tabPages_{};  // by Tab
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    // General
    QLineEdit* userNameEdit_ = nullptr;
    QLineEdit* resetPagesEdit_ = nullptr;
    QCheckBox* trueTypeCheck_ = nullptr;
    QCheckBox* typeOneCheck_ = nullptr;
    QCheckBox* printerFontsCheck_ = nullptr;
    QLineEdit* atmPathEdit_ = nullptr;
    QPushButton* atmBrowseButton_ = nullptr;
    // Font Catalogs
    QLineEdit* leftFooterEdit_ = nullptr;
    QLineEdit* rightFooterEdit_ = nullptr;
    QComboBox* pointSizeBox_ = nullptr;
    QComboBox* infoPointSizeBox_ = nullptr;
    // Sample Sheets
    QLineEdit* sheetHeaderEdit_ = nullptr;
    // Sample text lists and their read-only previews: 0 catalogs, 1 sheets.
    std::array<QComboBox*, 2> sampleTextBoxes_{};
    std::array<QPlainTextEdit*, 2> samplePreviewEdits_{};
    // Quotes and paragraphs
    std::array<QLineEdit*, 8> quoteEdits_{};
    std::array<QPlainTextEdit*, 2> paragraphEdits_{};
};

} // namespace gw
