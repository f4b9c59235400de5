#pragma once
// The print wizard: choose installed fonts, choose a catalog layout or sample
// sheets, print. Three steps shown one at a time.
#include <QDialog>
#include <array>

#include "print/printrun.h"
#include "wizards/printrunner.h"

class QMenu;
class QAction;
class QPushButton;
class QLabel;
class QFrame;
class QTreeWidget;

namespace gw {

class PictureBox;
class PrintChoicePanel;

class PrintWizard : public QDialog {
    Q_OBJECT
public:
    // The wizard lists fonts (the wizard fonts table) and loads its settings.
    explicit PrintWizard(const PrintFontList& fonts, QWidget* parent = nullptr);
    ~PrintWizard() override;

    // The wizard fonts table; a row's data holds its index here.
    const PrintFontList& WizardFonts() const { return fonts_; }
    // The step shown: 0 the fonts, 1 what to print, 2 printing.
    int Step() const { return step_; }
    bool Printing() const { return runner_.Busy(); }
    // The selected rows' entries, in the displayed order.
    PrintFontList SelectedFonts() const;
    // What step 1 says to print.
    PrintChoice Choice() const;
    // Adds the fonts of a kind to the selection: "ALL", "REGULAR", "BOLD",
    // "ITALIC", "BOLDITALIC", a family's name; "NONE" clears it.
    void SelectFonts(const QString& kind);
    void GoToNextStep() { MoveSteps(+1); }
    void GoToPreviousStep() { MoveSteps(-1); }
    // "Print!": prints the selected fonts in the chosen way, or says why not.
    void PrintChosenFonts();

signals:
    // A step was shown.
    void stepShown(int step);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    void reject() override;
    void done(int result) override;

private:
    void CreateControls();
    QWidget* CreateStep0();
    QWidget* CreateStep1();
    QWidget* CreateStep2();
    void FillFontList();
    void LoadSettings();
    void SaveSettings();
    void SaveUpperCase();
    // Moves delta steps on (back when negative), within 0..2, and shows that step.
    void MoveSteps(int delta);
    // The font of the row in the sample.
    void ShowSample(int row);
    // Sorts the list by a column (0-based), as text.
    void SortByColumn(int column);
    // The selection menu under the Select button, without a family item.
    void ShowSelectMenu();
    // Right button over the list at a position of its viewport: the menu with the row's family.
    void PopupListMenu(const QPoint& pos);
    void PopupSelectMenu(const QPoint& globalPos, const QString& family);
    void ShowSelectedCount();
    void ChooseCatalog();
    void ChooseSheets();
    void UpdatePicture();
    void ShowPreview();
    void ShowOptions();
    void ShowHelp();
    void SetPrinting(bool printing);

    QLabel* messageLabel_ = nullptr;
    std::array<QWidget*, 3> stepPages_{};
    // Step 0: the fonts.
    QTreeWidget* fontList_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QLabel* selectedCountLabel_ = nullptr;
    QFrame* sampleFrame_ = nullptr;
    QLabel* sampleLabel_ = nullptr;
    // Step 1: what to print.
    PrintChoicePanel* choice_ = nullptr;
    // Step 2: printing.
    QLabel* fontCountLabel_ = nullptr;
    PictureBox* gauge_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* optionsButton_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QMenu* selectMenu_ = nullptr;
    QAction* allAction_ = nullptr;
    QAction* familyAction_ = nullptr;
    QAction* regularAction_ = nullptr;
    QAction* boldAction_ = nullptr;
    QAction* italicAction_ = nullptr;
    QAction* boldItalicAction_ = nullptr;
    QAction* noneAction_ = nullptr;

    PrintFontList fonts_;
    int step_ = 0;
    PrintRunner runner_;
};

} // namespace gw
