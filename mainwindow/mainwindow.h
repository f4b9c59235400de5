#pragma once
// The main window: the installed font families, the styles of the selected
// family, and four preview pages (large character, character chart, sample
// text, naming information).
#include <QColor>
#include <QMainWindow>
#include <array>
#include <functional>

#include "core/helpers.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/unicodeblocks.h"
#include "keyboard/keyboardwindow.h"

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QScrollBar;
class QTabWidget;
class QTimer;
class QTreeView;

namespace gw {

class MissingCharacterMarks;
class FindBox;
class PictureBox;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Constructing the window reads the fonts, restores the settings and shows it.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Selects a family row of the font list (scrolled into view) and shows its
    // styles, as a click on it does.
    void SelectFamily(int row);
    // Shows page 0..3 (large character, chart, sample text, information), as a
    // click on its tab does; the page shown already is shown afresh.
    void SelectTab(int page);
    // The entry of StyleFonts/StyleTable the selected style shows, -1 when none.
    int SelectedStyle() const;
    // The install wizard on the folder of these font files, with them selected;
    // a folder given is read whole. Empty: the wizard as the menu opens it.
    void InstallFromFiles(const QStringList& paths);
    // The Unicode blocks the selected style covers, as the range boxes list them
    // after their first item, "0 - 255".
    const QList<UnicodeBlock>& RangeBlocks() const { return rangeBlocks_; }
    // Draws a character of style entry `style` (from 0) centred on its baseline.
    void DrawGlyph(PictureBox* target, int style, int size, const QString& character,
                   const QColor& colour);
    // How a toolbar button looks: 0 raised, 1 pressed, 2 flat.
    int ButtonState(int button) const { return buttonState_[button]; }
    // The keyboard window while it is open, else null.
    KeyboardWindow* Keyboard() const { return keyboard_.Get(); }
    // The selected family and style as the keyboard shows them.
    KeyFont CurrentKeyFont() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- Loading, layout and closing ----
    void CreateControls();
    void CreatePreviewPages();
    void CreateMenus();
    void CreateFindBox();
    void LoadFontsAndSettings();
    void FillFontList(const std::function<void()>& read);
    // The smallest size at which the font list still shows eight rows.
    QSize MinimumWindowSize() const;
    // The first start's placement: centred in the screen's free area, fitting it.
    void PlaceFirstTime();
    void LayoutWindow();
    // Lays out a page (0..3): mode 2 the control panel and the preview's width,
    // 1 the preview's height, 3 both.
    void LayoutPage(int page, int mode);
    // Places the controls of the control panel; the read-out rows are then stacked.
    void LayoutControls();
    // Places the find box at `top` (twips) across `width`; returns the list's top.
    int LayoutFindBox(int width, int top);
    // Places the read-out rows under the font files caption without gaps.
    void StackReadouts();
    void SaveSettingsAndQuit();

    // ---- Families and styles ----
    // The shown page, 0..3.
    int CurrentTab() const;
    // Row of the selected family in the font list, or -1.
    int SelectedFamilyRow() const;
    // Selects a family row (scrolled into view) without showing its styles.
    void HighlightFamilyRow(int row);
    // Lists the styles of the family in `row` and shows the first.
    void ShowFamily(int row);
    void ShowSelectedStyle();
    void ShowCurrentTab();
    // Selects the family with exactly this text, else the first, and shows its styles.
    void SelectFamilyOrFirst(const QString& text);
    // Empties the pages, read-outs and keyboard when no family is selected.
    void ShowNoFont();
    void ShowFamilyCount();
    // Narrows the font list to the families matching the find box.
    void FilterFamilies();

    // ---- Large character, sample text and sizes ----
    void ConnectPreviewEvents();
    // Mouse, key, focus, paint and resize events of the preview controls; true when handled.
    bool PreviewEvent(QObject* watched, QEvent* event);
    void DrawLargeCharacter();
    // The code slider of page 0 or 1 moved: its read-out and drawing follow.
    void ShowCode(int page);
    // The size slider of page 0..2 moved: the size box, read-out and drawing follow.
    void ShowSize(int page);
    // A size picked from the size box's list.
    void ApplyPickedSize();
    // false: the key is discarded (with a beep).
    bool AcceptSizeKey(int key);
    // A size typed into the size box, applied when the box is left or Enter is pressed.
    void ApplyTypedSize();
    void ApplySampleFont();
    // The keystroke read-out of a character, as much of it as the read-out shows.
    void ShowKeystroke(const QString& character);

    // ---- Character chart ----
    void DrawCell(int index);
    void SelectCell(int index);
    // Shows the character of a chart cell on the large character page.
    void EnlargeCell(int index);
    // Moves the chart's selected cell by step (arrow keys), scrolling at the edges.
    void MoveSelectedCell(int step);
    void SetCharacterCode(int code);
    void CopyToClipboard();

    // ---- Unicode ranges of pages 0 and 1 ----
    void CreateRangeSelectors();
    // The character a slider code stands for: code page 1252 in the "0 - 255"
    // range, else the Unicode code point itself.
    QString ChartCharacter(int code) const;
    // Shows range `index` of the range boxes (0: "0 - 255") on both pages.
    void SelectRange(int index);
    // The blocks of the selected style's font, listed in the range boxes; a block
    // that the new font also covers stays selected.
    void FillRanges();
    void ShowCharacterName(int page);

    // ---- Information read-outs ----
    void ShowFontInfo();

    // ---- Menu commands ----
    void UninstallFonts();
    void PrintFontsFromFolder();
    void OpenPrintWizard();
    void SetUpPrinter();
    void RereadFonts();
    void OpenOptions();
    // Reads the three Show keys again; rereads the fonts when one changed.
    void RefreshTypeFilters();
    void OpenControlPanel();
    void RunTypeManager();
    void OpenClipboardViewer();
    void OpenCharacterMap();
    void ShowHelpContents();
    void ShowHelpFaq();
    void OpenWebPage(const QString& address);
    void ShowAbout();

    // ---- Toolbar, tooltips and menu help ----
    void CreateToolBar();
    // The command a toolbar button runs; a button without one shows greyed.
    void SetToolCommand(int button, std::function<void()> command);
    // Index of a toolbar button, or -1.
    int ToolIndex(const QObject* object) const;
    bool ToolbarEvent(QObject* watched, QEvent* event);
    void SetButtonState(int button, int state);
    void PaintToolButton(int index);
    void EnterToolButton(int index);
    void LeaveToolButton(int index);
    void ReleaseToolButton(int index, bool over);
    void ShowToolTip(const QString& text);
    void ShowMenuHelp(const QString& itemText);
    // Menu help for every item of a menu and its submenus.
    void WatchMenu(QMenu* menu);
    // The etched lines beside the toolbar and under the menu bar.
    void PaintEtchedLines();

    // ---- Keyboard window ----
    void CreateKeyboardMenu();
    void ToggleKeyboard();
    void ApplyKeyboardFont();
    void UnloadKeyboard();
    // Hides the keyboard window while this window is minimised, and brings it back.
    void KeyboardFollowsState();

    // ---- Controls ----
    FontListModel* fontModel_ = nullptr;    // the families the font list shows
    QTreeView* fontList_ = nullptr;
    FindBox* findEdit_ = nullptr;           // "Find": narrows the font list (Ctrl+F)
    QLabel* fontsLabel_ = nullptr;          // "&Installed Fonts"
    QLabel* stylesLabel_ = nullptr;         // "&Available Styles"
    QListWidget* styleList_ = nullptr;
    QLabel* sizeLabel_ = nullptr;           // "&Size"
    QComboBox* sizeBox_ = nullptr;
    QLabel* fontFilesLabel_ = nullptr;      // "Font Files", "TrueType file", ...
    QLabel* fontFileReadout_ = nullptr;     // the font file
    QLabel* companionFileReadout_ = nullptr;  // its .fot or .afm file
    QLabel* fileSizeLabel_ = nullptr;
    QLabel* fileSizeReadout_ = nullptr;
    QLabel* keystrokeLabel_ = nullptr;
    QLabel* keystrokeReadout_ = nullptr;
    QWidget* controlPanel_ = nullptr;       // list, styles, size and read-outs, on the shown page
    QTabWidget* previewTabs_ = nullptr;
    std::array<QWidget*, 4> tabPages_{};
    PictureBox* glyphPicture_ = nullptr;    // the large character, page 0
    std::array<PictureBox*, 16> cellPictures_{};  // the chart, page 1
    QWidget* chartGrid_ = nullptr;          // behind the cells: the gaps show as grid lines
    QPlainTextEdit* sampleEdit_ = nullptr;  // page 2
    QPlainTextEdit* infoEdit_ = nullptr;    // page 3
    // Pages 0..2: a strip of sliders under the preview.
    std::array<QWidget*, 3> sliderPanels_{};
    std::array<QScrollBar*, 3> sizeSliders_{};
    std::array<QLabel*, 3> sizeReadouts_{};
    std::array<QLabel*, 3> sizeLabels_{};
    // Pages 0 and 1: the character code slider, the range the sliders step
    // through ("0 - 255", code page 1252, or a Unicode block the font covers),
    // and the shown character's code point and name.
    std::array<QScrollBar*, 2> codeSliders_{};
    std::array<QLabel*, 2> codeReadouts_{};
    std::array<QLabel*, 2> codeLabels_{};
    std::array<QComboBox*, 2> rangeBoxes_{};
    std::array<QLabel*, 2> rangeLabels_{};
    std::array<QLabel*, 2> characterNameLabels_{};
    QLabel* familyCountLabel_ = nullptr;    // status bar
    QLabel* menuHelpLabel_ = nullptr;       // status bar: help for the highlighted menu item
    MissingCharacterMarks* sampleMarks_ = nullptr;

    // ---- Toolbar ----
    std::array<QWidget*, 8> toolButtons_{};  // tooltip text in the "tipText" property
    QTimer* tooltipTimer_ = nullptr;         // delays the toolbar tooltip, 500 ms

    // ---- Menus ----
    QAction* installAction_ = nullptr;
    QAction* uninstallAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* printFolderAction_ = nullptr;  // "Print fonts from &CD-ROM..."
    QAction* printSetupAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QMenu* charactersMenu_ = nullptr;
    QAction* upperCaseAction_ = nullptr;
    QAction* lowerCaseAction_ = nullptr;
    QAction* numbersAction_ = nullptr;
    QAction* accentsAction_ = nullptr;
    QMenu* symbolsMenu_ = nullptr;
    std::array<QAction*, 11> symbolActions_{};
    QAction* keyboardAction_ = nullptr;     // "&Keyboard...", checked while the window is open
    QAction* rereadAction_ = nullptr;
    QAction* optionsAction_ = nullptr;
    QMenu* runMenu_ = nullptr;
    QAction* controlPanelAction_ = nullptr;
    QAction* typeManagerAction_ = nullptr;
    QAction* clipboardAction_ = nullptr;
    QAction* characterMapAction_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* helpContentsAction_ = nullptr;
    QAction* faqAction_ = nullptr;
    QMenu* webMenu_ = nullptr;
    QAction* aboutAction_ = nullptr;

    // ---- State ----
    FontEnumerator enumerator_;
    bool loading_ = false;          // no glyph is drawn while set
    int fontKind_ = 0;              // kind of the selected family: KindTrueType, KindType1, KindPrinter; 0 none
    int selectedCell_ = 0;          // selected chart cell 0..15
    int lastChartSize_ = 0;         // size the chart cells were last drawn with
    int previewWidth_ = 0;          // width of the page's preview, twips
    int previewHeight_ = 0;         // height of the page's preview, twips
    QString keystrokeCharacter_;
    OneWindow<KeyboardWindow> keyboard_;
    Qt::WindowStates keyboardState_ = Qt::WindowNoState;
    bool keyboardHidden_ = false;
    QList<UnicodeBlock> rangeBlocks_;
    int rangeIndex_ = 0;                      // 0: "0 - 255"
    std::array<int, 2> byteRangeCodes_{};     // slider values of "0 - 255" while a block shows
    std::array<int, 8> buttonState_{2, 2, 2, 2, 2, 2, 2, 2};
    std::array<std::function<void()>, 8> toolCommand_{};
    QString hoveredTip_;          // the tip of the button under the mouse
    bool unloaded_ = false;
    bool highlightingRow_ = false;  // HighlightFamilyRow shows no family
    bool fillingStyles_ = false;    // refilling the style list shows no style
    int sizeTypedOnPage_ = -1;      // the page a size was typed on, until it is applied
};

// The text of the character with code 0..255 (code page 1252).
QString CharacterText(int code);

} // namespace gw
