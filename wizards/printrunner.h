#pragma once
// The pieces of printing the wizards share: the wizard fonts table made from
// the installed fonts, a live picture of a layout's first page, the print run
// with its gauge and status texts, and the print preview.
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <array>

#include "print/printrun.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QRadioButton;
class QTreeWidget;

namespace gw {

class FontListModel;
class PictureBox;

// One entry per installed font the main list shows: the TrueType styles of
// FontTable, the styles of its Type 1 families and its printer fonts, sorted
// by display name. The main window's style list is left as it was.
PrintFontList WizardFonts(const FontListModel& families);

// The first page of a print choice at thumbnail scale, drawn by the layouts
// themselves; redrawn (once, after the current event) whenever the fonts or
// the choice change.
class LayoutPicture : public QLabel {
    Q_OBJECT
public:
    explicit LayoutPicture(QWidget* parent = nullptr);
    void SetFonts(const PrintFontList& fonts);
    void SetChoice(const PrintChoice& choice);
    // Asks for a redraw (settings such as the sizes or upper case changed).
    void Refresh();
    // Draws now if a redraw is pending.
    void DrawPending();
    const QImage& Picture() const { return picture_; }
    QSize sizeHint() const override;

private:
    void Draw();
    PrintFontList fonts_;
    PrintChoice choice_;
    QImage picture_;
    QTimer timer_;
};

// The font list of the wizards: columns "Font Name", "File Name" and "Size",
// several rows selected at once, the context menu the window's own.
QTreeWidget* MakeFontFileList(QWidget* parent, const QString& objectName);

// The print choice as both print wizards show it: a catalog in a layout with
// a title, or the checked sample sheets; upper case; the picture of the first
// page. The windows react to its signals with their own handlers.
class PrintChoicePanel : public QWidget {
    Q_OBJECT
public:
    explicit PrintChoicePanel(QWidget* parent = nullptr);
    // What the controls say to print (no folder).
    PrintChoice Choice() const;
    // Enables the title and layout for a catalog, the sheet boxes for sheets.
    void EnableFor(bool sheets);
    void SetTitle(const QString& title);
    // Selects the whole title, and gives it the focus when focus is true.
    void SelectTitle(bool focus);
    bool UpperCase() const;
    void SetUpperCase(bool upper);
    // Writes the Upper case choice to the settings, for the next run of either wizard.
    void SaveUpperCase() const;
    // The picture shows these fonts in the current choice, from folder when they
    // are not installed.
    void ShowFonts(const PrintFontList& fonts, const QString& folder = QString());
    // The picture redraws (the upper case or the sizes changed).
    void RefreshPicture();

signals:
    void catalogClicked();
    void sheetsClicked();
    void layoutActivated();  // the user picked a layout
    void layoutChanged();    // the layout changed, by the user or the program
    void sheetClicked(int sheet);
    void sheetToggled(int sheet);
    void upperCaseClicked();
    void titleEdited();
    void titleFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRadioButton* catalogRadio_ = nullptr;
    QRadioButton* sheetsRadio_ = nullptr;
    QComboBox* layoutBox_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QCheckBox* upperCaseCheck_ = nullptr;
    std::array<QCheckBox*, 8> sheetChecks_{};  // in the order of SheetNames()
    QFrame* pictureFrame_ = nullptr;
    LayoutPicture* layoutPicture_ = nullptr;
};

// One run of a print job at a time from a window. The window stays usable:
// the job lets window events run, so the gauge and the window repaint; the
// window refuses to close while Busy().
class PrintRunner {
public:
    bool Busy() const { return busy_; }
    // The paper check: false (after the message) when the paper is not accepted.
    bool CheckPaper();
    // Opens the printer and prints the whole choice, with the gauge and the
    // status texts; nothing while a run is going. A message says why when no
    // printer opens or the run cannot be finished.
    void Print(const PrintFontList& fonts, const PrintChoice& choice, PictureBox* gauge,
               QLabel* status);

private:
    bool busy_ = false;
};

// Ends a print run: the last page goes out and a PDF file takes its place. When
// that fails, says why in a message and returns false.
bool FinishPrintRun(PrinterSurface& printer);

// The whole job in Qt's print preview window, on the printer the run would
// use; printing from it prints the same pages. Returns when it is closed.
void ShowPrintPreview(QWidget* parent, const PrintFontList& fonts, const PrintChoice& choice);

} // namespace gw
