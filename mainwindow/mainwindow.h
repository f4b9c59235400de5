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
    // Constructing the window loads it: Form_Load runs and shows it.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- Controls (arrays keep fixed slot numbers; unused slots stay null) ----
    FontListModel* fontList = nullptr;  // what ListView1 shows
    QTreeView* ListView1 = nullptr;
    FindBox* txtFind = nullptr;         // "Find": narrows ListView1 (Ctrl+F)
    QLabel* Label1 = nullptr;           // "&Installed Fonts"
    QLabel* Label7 = nullptr;           // "&Available Styles"
    QListWidget* Attribs = nullptr;
    QLabel* Label2 = nullptr;           // "&Size"
    QComboBox* lstPointSize = nullptr;
    QLabel* lblFontfiles = nullptr;
    QLabel* pnlTTF = nullptr;
    QLabel* pnlFOT = nullptr;
    QLabel* lblFileSize = nullptr;
    QLabel* pnlFileSize = nullptr;
    QLabel* lblKeystroke = nullptr;
    QLabel* pnlKeystroke = nullptr;
    QWidget* picControls = nullptr;
    QTabWidget* tabSpec = nullptr;
    std::array<QWidget*, 5> picContainer{};   // 1..4
    PictureBox* Spec = nullptr;
    std::array<PictureBox*, 16> picChar{};    // 0..15
    QPlainTextEdit* txtSample = nullptr;
    QPlainTextEdit* txtInfo = nullptr;
    std::array<QWidget*, 4> picSliders{};     // 1..3
    std::array<QScrollBar*, 4> ScrSize{};     // 1..3
    std::array<QLabel*, 4> pnlSize{};         // 1..3
    std::array<QScrollBar*, 3> scrAnsi{};     // 1..2
    std::array<QLabel*, 3> pnlAnsi{};         // 1..2
    std::array<QLabel*, 3> StatusPanel{};     // 1..2, panels of StatusBar1
    // Pages 1 and 2: the range the character sliders step through, "0 - 255"
    // (code page 1252, the first item) or a Unicode block the font covers, and
    // the shown character's code point and name.
    std::array<QComboBox*, 3> cboRange{};     // 1..2
    std::array<QLabel*, 3> lblCharName{};     // 1..2

    // ---- Toolbar ----
    std::array<QWidget*, 8> picTool{};        // 0..7; tooltip text in the "Tag" property
    QTimer* Timer1 = nullptr;                 // delays the toolbar tooltip, 500 ms

    // ---- Menus ----
    QAction* mnuFileInstallFont = nullptr;
    QAction* mnuFileCatalog = nullptr;
    QAction* mnuFilePrintSetup = nullptr;
    QAction* mnuFileInventory = nullptr;   // "&Print..."
    QAction* mnuFileRemoveFont = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuEditCopy = nullptr;
    QMenu* mnuChar = nullptr;
    QAction* mnuCharUpper = nullptr;
    QAction* mnuCharLower = nullptr;
    QAction* mnuCharNumbers = nullptr;
    QAction* mnuCharAccents = nullptr;
    QMenu* mnuCharSymbols = nullptr;
    std::array<QAction*, 12> mnuCharSym{};    // 1..11
    QAction* mnuOptionsRereadFonts = nullptr;
    QMenu* mnuRun = nullptr;
    QAction* mnuRunControlPanel = nullptr;
    QAction* mnuRunAdobeTypeManager = nullptr;
    QAction* mnuRunClipboard = nullptr;
    QAction* mnuRunCharacterMap = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpFAQ = nullptr;
    QMenu* mnuHelpWeb = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QAction* mnuOptionsSetup = nullptr;    // "&Options..."
    QAction* mnuViewKeyboard = nullptr;       // "&Keyboard...", checked while the window is open

    // ---- Window state ----
    FontEnumerator enumerator;
    bool Loading = false;          // no glyph is drawn while set
    int CurrentFontType = 0;       // Tag of the selected family: 1, 2 or 3
    int SelectedCell = 0;          // selected chart cell 0..15
    int LastChartSize = 0;         // size the chart cells were last drawn with
    int FreeWidth = 0;             // W of the page layout, twips
    int FreeHeight = 0;            // H of the page layout, twips

    // The selected tab, 1..4.
    int CurrentTab() const;
    // The entry of StyleFonts/StyleTable (from 1) the selected Attribs item shows, 0 when none.
    int StyleIndex() const;
    // Row of the selected family in ListView1, or -1.
    int SelectedRow() const;
    // Selects a family row in ListView1 (scrolled into view) without running ItemClick.
    void SelectRow(int row);
    // Selects the tab (1..4), which runs tabSpec_Click.
    void SelectTab(int tab);

    // ---- Window events ----
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void ListView1_ItemClick(int row);
    void Attribs_Click();
    void tabSpec_Click();
    void SizeTab(int tab, int mode);

    // ---- Large character and sample text ----
    void DrawGlyph(PictureBox* target, int styleIndex, int size, const QString& character,
                   const QColor& colour);
    void Spec_Paint();
    void scrAnsi_Change(int index);
    void scrAnsi_Scroll(int index);
    void ScrSize_Change(int index);
    void ScrSize_Scroll(int index);
    void lstPointSize_Click();
    // false: the key is discarded (with a beep).
    bool lstPointSize_KeyPress(int key);
    void lstPointSize_LostFocus();
    void ApplySampleFont();

    // ---- Character chart ----
    void picChar_Paint(int index);
    void picChar_Click(int index);
    void picChar_DblClick(int index);
    void mnuCharUpper_Click();
    void mnuCharLower_Click();
    void mnuCharNumbers_Click();
    void mnuCharAccents_Click();
    void mnuCharSym_Click(int index);
    void mnuEditCopy_Click();
    // Moves the chart's selected cell by step (arrow keys), scrolling at the edges.
    void MoveSelectedCell(int step);

    // ---- Unicode ranges of pages 1 and 2 ----
    // The character a slider code stands for: code page 1252 in the "0 - 255"
    // range, else the Unicode code point itself.
    QString ChartCharacter(int code) const;
    // Shows range `index` of cboRange (0: "0 - 255") on both pages.
    void SelectRange(int index);
    // The blocks of the selected style's font, listed in cboRange; a block that
    // the new font also covers stays selected.
    void FillRanges();
    // The Unicode blocks the selected style covers, as cboRange lists them.
    const QList<UnicodeBlock>& RangeBlocks() const { return rangeBlocks_; }

    // ---- Information read-outs ----
    void ShowFontInfo();

    // ---- Find box ----
    void txtFind_Change();

    // ---- Menu commands ----
    void mnuFileInstallFont_Click();
    // The install wizard on the folder of these font files, with them selected;
    // a folder given is read whole. Empty: the wizard as the menu opens it.
    void InstallFromFiles(const QStringList& paths);
    void mnuFileCatalog_Click();
    void mnuFileRemoveFont_Click();
    void mnuFilePrintSetup_Click();
    void mnuFileExit_Click();
    void mnuOptionsRereadFonts_Click();
    void mnuRunControlPanel_Click();
    void mnuRunAdobeTypeManager_Click();
    void mnuRunClipboard_Click();
    void mnuRunCharacterMap_Click();
    void mnuHelpContents_Click();
    void mnuHelpFAQ_Click();
    void mnuHelpWeb_Click(const QString& address);
    void mnuHelpAbout_Click();

    // ---- Toolbar, tooltips and menu help ----
    void InitToolBar();
    // state 0 raised, 1 pressed, 2 flat.
    void DrawButton(int button, int state);
    int ButtonState(int button) const { return buttonState_[button]; }
    void picTool_Paint(int index);
    void picTool_MouseDown(int index);
    void picTool_MouseUp(int index, bool over);
    void ShowToolTip(const QString& text);
    void Timer1_Timer();
    void SbcEasy1_MouseEnter(const QString& controlName);
    void SbcEasy1_MouseExit(const QString& controlName);
    void SbcEasy1_MenuSelect(const QString& itemText);
    // The command a toolbar button runs; none until its window is part of the program.
    void SetToolCommand(int button, std::function<void()> command);
    bool HasToolCommand(int button) const { return bool(toolCommand_[button]); }
    void mnuFileInventory_Click();
    void mnuOptionsSetup_Click();
    // Reads the three Show keys again; rereads the fonts when one changed.
    void RefreshTypeFilters();

    // ---- Keyboard window ----
    void mnuViewKeyboard_Click();
    // The keyboard window while it is loaded, else null.
    KeyboardWindow* Keyboard() const { return keyboard_.Get(); }
    // The selected family and style as the keyboard shows them.
    KeyFont CurrentKeyFont() const;
    void ApplyKeyboardFont();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillFontList(const std::function<void()>& read);
    void CreateFindBox();
    // Places the find box at `top` (twips) across `width`; returns the list's top.
    int LayoutFindBox(int width, int top);
    void CreateControls();
    void CreatePreviewPages();
    void CreateMenus();
    // Menu help for every item of a menu and its submenus.
    void WatchMenu(QMenu* menu);
    // Index of a toolbar button, or -1.
    int ToolIndex(const QObject* object) const;
    bool ToolbarEvent(QObject* watched, QEvent* event);
    void Form_Paint();
    // Wires the sliders, size box, chart cells and Characters menu to their handlers.
    void ConnectPreviewEvents();
    // Mouse, key, focus, paint and resize events of the preview controls; true when handled.
    bool PreviewEvent(QObject* watched, QEvent* event);
    // Places the controls of picControls; the read-out rows are then stacked.
    void LayoutControls();
    void ShowFamilyCount();
    // The smallest size at which the font list still shows eight rows.
    QSize MinimumWindowSize() const;
    // The first start's placement: centred in the screen's free area, fitting it.
    void PlaceFirstTime();
    // Selects the family with exactly this text, else the first, and shows its styles.
    void SelectFamilyOrFirst(const QString& text);
    // Empties the pages, read-outs and keyboard when no family is selected.
    void ShowNoFont();
    void SetCharacterCode(int code);
    // The keystroke read-out of a character, as much of it as pnlKeystroke shows.
    void ShowKeystroke(const QString& character);
    QString keystrokeCharacter_;
    // Places the read-out rows under lblFontfiles without gaps.
    void StackReadouts();
    void CreateKeyboardMenu();
    void UnloadKeyboard();
    // Hides the keyboard window while this window is minimised, and brings it back.
    void KeyboardFollowsState();
    OneWindow<KeyboardWindow> keyboard_;
    Qt::WindowStates keyboardState_ = Qt::WindowNoState;
    bool keyboardHidden_ = false;
    QWidget* chartGrid_ = nullptr;
    MissingCharacterMarks* sampleMarks_ = nullptr;
    void CreateRangeSelectors();
    void ShowCharacterName(int page);
    QList<UnicodeBlock> rangeBlocks_;
    int rangeIndex_ = 0;                      // 0: "0 - 255"
    std::array<int, 3> byteRangeCodes_{};     // 1..2: slider values of "0 - 255" while a block shows
    std::array<int, 8> buttonState_{2, 2, 2, 2, 2, 2, 2, 2};
    std::array<std::function<void()>, 8> toolCommand_{};
    QString hoveredTag_;   // the Tag of the button under the mouse
    bool unloaded_ = false;
    bool selectingRow_ = false;   // SelectRow runs no ItemClick
    bool fillingStyles_ = false;  // refilling Attribs runs no Attribs_Click
    int sizeTypedOnTab_ = 0;      // the page a size was typed on, until it is applied
};

// The text of the character with code 0..255 (code page 1252).
QString CharacterText(int code);
// The installed family a face-name field names (the field cuts names at 31 bytes).

} // namespace gw
