#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QGuiApplication>
#include <QScreen>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeView>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/rereadprogress.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "core/splash.h"
#include "wizards/installwizard.h"
#include "options/optionsdialog.h"
#include "wizards/printwizard.h"
#include "fonts/glyphs.h"
#include "mainwindow/findbox.h"
#include "wizards/removewizard.h"

namespace gw {

namespace {

// Geometry of the window, in twips.
constexpr int kMargin = 90;            // around the tab strip
constexpr int kTabLeft = 720;          // the tab strip, right of the toolbar's etched line
constexpr int kPanelWidth = 3450;      // the control panel
constexpr int kPreviewLeft = 60;       // the large character and cell 0 from the page's edge
constexpr int kRowGap = 30;            // between rows that follow one another
constexpr int kSliderRow = 330;        // one slider row of a slider strip
constexpr int kLabelWidth = 1050;      // "Character", "Point Size"
constexpr int kReadoutWidth = 750;     // the size and code read-outs
constexpr int kTextRow = 270;          // a label
constexpr int kPanelRow = 315;         // a read-out panel

// The pages' names, which start the object names of their sliders and boxes.
const char* const kPageNames[] = {"glyph", "chart", "sample", "info"};

const char* const kPointSizes[] = {"8",  "10", "12",  "14",  "18",  "24",  "30",  "36", "48",
                                   "60", "72", "99", "110", "125", "145", "160", "200"};

int Px(int twips)
{
    return TwipsToPixels(twips);
}

int Tw(int pixels)
{
    return PixelsToTwips(pixels);
}

QLabel* MakeReadout(QWidget* parent, const QString& name)
{
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return panel;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), enumerator_(nullptr)
{
    setObjectName(QStringLiteral("MainWindow"));
    // Font files or a folder dropped here open the install wizard on them.
    setAcceptDrops(true);
    CreateControls();
    CreateFindBox();
    CreatePreviewPages();
    CreateToolBar();
    CreateMenus();
    ConnectPreviewEvents();
    LoadFontsAndSettings();
}

MainWindow::~MainWindow() = default;

// ---- Controls -----------------------------------------------------------------------

void MainWindow::CreateControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->installEventFilter(this);
    setCentralWidget(client);

    previewTabs_ = new QTabWidget(client);
    previewTabs_->setObjectName(QStringLiteral("previewTabs"));
    // Alt letters the menus and labels of this window do not use: File, Edit,
    // Characters, Tools, Run, Help, Installed Fonts, Available Styles and Size
    // take every letter of "Character Set".
    const char* const captions[] = {"Te&xt", "Character Set", "Sa&mple Text",
                                    "TrueType I&nformation"};
    for (int i = 0; i < 4; ++i) {
        tabPages_[i] = new QWidget;
        tabPages_[i]->setObjectName(QLatin1String(kPageNames[i]) + QStringLiteral("Page"));
        // The tab widget sizes its pages after the window's own resize.
        tabPages_[i]->installEventFilter(this);
        previewTabs_->addTab(tabPages_[i], QString::fromLatin1(captions[i]));
    }

    fontModel_ = new FontListModel(this);
    fontModel_->SetIcons(FontKindIcon(KindTrueType), FontKindIcon(KindType1), FontKindIcon(KindPrinter));
    enumerator_ = FontEnumerator(fontModel_);

    controlPanel_ = new QWidget(tabPages_[0]);
    controlPanel_->setObjectName(QStringLiteral("controlPanel"));
    fontsLabel_ = MakeLabel(controlPanel_, "fontsLabel", "&Installed Fonts");
    fontList_ = new QTreeView(controlPanel_);
    fontList_->setObjectName(QStringLiteral("fontList"));
    fontList_->setModel(fontModel_);
    fontList_->setRootIsDecorated(false);
    fontList_->setUniformRowHeights(true);
    fontList_->setIconSize(QSize(16, 16));
    fontList_->setSelectionMode(QAbstractItemView::SingleSelection);
    fontList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The label above already names the list; its one-column header would say it twice.
    fontList_->setHeaderHidden(true);
    fontsLabel_->setBuddy(fontList_);
    connect(fontList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!highlightingRow_ && current.isValid())
                    ShowFamily(current.row());
            });

    stylesLabel_ = MakeLabel(controlPanel_, "stylesLabel", "&Available Styles");
    styleList_ = new QListWidget(controlPanel_);
    styleList_->setObjectName(QStringLiteral("styleList"));
    stylesLabel_->setBuddy(styleList_);
    connect(styleList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!fillingStyles_ && row >= 0)
            ShowSelectedStyle();
    });

    sizeLabel_ = MakeLabel(controlPanel_, "sizeLabel", "&Size");
    sizeBox_ = new QComboBox(controlPanel_);
    sizeBox_->setObjectName(QStringLiteral("sizeBox"));
    sizeBox_->setEditable(true);
    sizeBox_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* size : kPointSizes)
        sizeBox_->addItem(QString::fromLatin1(size));
    sizeLabel_->setBuddy(sizeBox_);

    fontFilesLabel_ = MakeLabel(controlPanel_, "fontFilesLabel", "Font Files");
    fontFileReadout_ = MakeReadout(controlPanel_, "fontFileReadout");
    companionFileReadout_ = MakeReadout(controlPanel_, "companionFileReadout");
    fileSizeLabel_ = MakeLabel(controlPanel_, "fileSizeLabel", "Font File Size");
    fileSizeReadout_ = MakeReadout(controlPanel_, "fileSizeReadout");
    keystrokeLabel_ = MakeLabel(controlPanel_, "keystrokeLabel", "Keystroke");
    keystrokeReadout_ = MakeReadout(controlPanel_, "keystrokeReadout");

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("statusBar"));
    status->setSizeGripEnabled(true);
    setStatusBar(status);
    // The family count, then the menu help taking the rest; panels without bevel.
    familyCountLabel_ = new QLabel(status);
    familyCountLabel_->setObjectName(QStringLiteral("familyCountLabel"));
    familyCountLabel_->setFrameStyle(QFrame::NoFrame);
    status->addWidget(familyCountLabel_, 0);
    menuHelpLabel_ = new QLabel(status);
    menuHelpLabel_->setObjectName(QStringLiteral("menuHelpLabel"));
    menuHelpLabel_->setFrameStyle(QFrame::NoFrame);
    status->addWidget(menuHelpLabel_, 1);

    connect(previewTabs_, &QTabWidget::currentChanged, this, [this] { ShowCurrentTab(); });
}

void MainWindow::CreatePreviewPages()
{
    auto makeSlider = [](QWidget* parent, const QString& name, int min, int max, int large) {
        auto* bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setObjectName(name);
        bar->setRange(min, max);
        bar->setPageStep(large);
        bar->setSingleStep(1);
        bar->setValue(min);
        return bar;
    };
    for (int i = 0; i < 3; ++i) {
        const QString page = QLatin1String(kPageNames[i]);
        sliderPanels_[i] = new QWidget(tabPages_[i]);
        sliderPanels_[i]->setObjectName(page + QStringLiteral("SliderPanel"));
        const int max = i == 0 ? 800 : 136;
        sizeSliders_[i] = makeSlider(sliderPanels_[i], page + QStringLiteral("SizeSlider"), 8, max, 10);
        sizeReadouts_[i] = MakeReadout(sliderPanels_[i], page + QStringLiteral("SizeReadout"));
        sizeReadouts_[i]->setAlignment(Qt::AlignCenter);
        sizeLabels_[i] = MakeLabel(sliderPanels_[i], page + QStringLiteral("SizeLabel"), "Point Size");
        if (i < 2) {
            codeSliders_[i] = makeSlider(sliderPanels_[i], page + QStringLiteral("CodeSlider"), 0,
                                         i == 0 ? 255 : 240, i == 0 ? 10 : 16);
            codeReadouts_[i] = MakeReadout(sliderPanels_[i], page + QStringLiteral("CodeReadout"));
            codeReadouts_[i]->setAlignment(Qt::AlignCenter);
            codeLabels_[i] = MakeLabel(sliderPanels_[i], page + QStringLiteral("CodeLabel"), "Character");
        }
    }

    CreateRangeSelectors();

    glyphPicture_ = new PictureBox(tabPages_[0]);
    glyphPicture_->setObjectName(QStringLiteral("glyphPicture"));
    glyphPicture_->SetBackColor(Qt::white);

    // Behind the chart cells, so that the gaps between them show as grid lines.
    chartGrid_ = new QWidget(tabPages_[1]);
    chartGrid_->setAutoFillBackground(true);
    QPalette grid = chartGrid_->palette();
    grid.setColor(QPalette::Window, grid.color(QPalette::Mid));
    chartGrid_->setPalette(grid);
    for (int k = 0; k < 16; ++k) {
        cellPictures_[k] = new PictureBox(tabPages_[1]);
        cellPictures_[k]->setObjectName(QStringLiteral("cellPicture"));
        cellPictures_[k]->setProperty("index", k);
        cellPictures_[k]->SetBackColor(Qt::white);
        cellPictures_[k]->setVisible(true);
    }
    // Cell 0 starts selected.
    cellPictures_[0]->SetBackColor(palette().color(QPalette::Highlight));

    sampleEdit_ = new QPlainTextEdit(QStringLiteral("Sample Text"), tabPages_[2]);
    sampleEdit_->setObjectName(QStringLiteral("sampleEdit"));
    sampleEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    infoEdit_ = new QPlainTextEdit(tabPages_[3]);
    infoEdit_->setObjectName(QStringLiteral("infoEdit"));
    infoEdit_->setReadOnly(true);
}

// ---- Selection helpers --------------------------------------------------------------------

int MainWindow::CurrentTab() const
{
    return previewTabs_->currentIndex();
}

int MainWindow::SelectedStyle() const
{
    // A style name shown once may stand for a later entry than its row.
    const QListWidgetItem* item = styleList_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

int MainWindow::SelectedFamilyRow() const
{
    const QModelIndex current = fontList_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MainWindow::HighlightFamilyRow(int row)
{
    if (row < 0 || row >= fontModel_->Count())
        return;
    highlightingRow_ = true;
    const QModelIndex index = fontModel_->index(row);
    fontList_->setCurrentIndex(index);
    fontList_->scrollTo(index);
    highlightingRow_ = false;
}

void MainWindow::SelectFamily(int row)
{
    HighlightFamilyRow(row);
    ShowFamily(row);
}

void MainWindow::SelectTab(int page)
{
    if (page == CurrentTab())
        ShowCurrentTab();
    else
        previewTabs_->setCurrentIndex(page);
}

// ---- Loading --------------------------------------------------------------------------------

void MainWindow::LoadFontsAndSettings()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    loading_ = true;
    setWindowTitle(QStringLiteral("Glyphwick"));
    selectedCell_ = 0;

    enumerator_.ShowStatus = [this](const QString& text) {
        if (enumerator_.ReadingMode == 0) {
            if (SplashWindow* splash = Splash())
                splash->ShowStatus(text);
            return;
        }
        RereadProgress* loader = LoadRereadProgress();
        loader->ShowMessage(text);
        loader->show();
    };
    enumerator_.DrawProgress = [this](int percent) {
        if (enumerator_.ReadingMode == 0) {
            if (SplashWindow* splash = Splash())
                splash->DrawProgress(percent);
        } else if (RereadProgress* loader = RereadProgressWindow()) {
            loader->DrawProgress(percent);
        }
    };
    FillFontList([this] { enumerator_.ReadFonts(); });
    QApplication::processEvents();
    ShowFamilyCount();

    // Every read-out shows its value, also when it equals the slider's start.
    auto apply = [](QScrollBar* bar, int value, const std::function<void()>& change) {
        const QSignalBlocker block(bar);
        bar->setValue(value);
        change();
    };
    apply(codeSliders_[0], ReadIniInt("GW", "ANSI", 65, IniFile), [this] { ShowCode(0); });
    apply(sizeSliders_[0], ReadIniInt("GW", "PointSize", 72, IniFile), [this] { ShowSize(0); });
    apply(codeSliders_[1], ReadIniInt("GW", "ChartANSI", 65, IniFile), [this] { ShowCode(1); });
    apply(sizeSliders_[1], ReadIniInt("GW", "ChartSize", 65, IniFile), [this] { ShowSize(1); });
    apply(sizeSliders_[2], ReadIniInt("GW", "TextSize", 30, IniFile), [this] { ShowSize(2); });
    sampleEdit_->setPlainText(ReadIniString("GW", "SampleText", QString(), IniFile));

    loading_ = false;
    // A first start (or a size that is no size) has no placement to restore:
    // open centred at a useful size.
    setMinimumSize(MinimumWindowSize());
    if (ReadIniInt("Main", "Width", 0, IniFile) <= 0 || ReadIniInt("Main", "Height", 0, IniFile) <= 0) {
        PlaceFirstTime();
    } else {
        LoadFormPlacement(this, QStringLiteral("Main"), IniFile);
    }

    // The setting counts the tabs from 1.
    int page = ReadIniInt("GW", "CurrentTab", 1, IniFile) - 1;
    if (page < 0 || page > 3)
        page = 0;
    SelectTab(page);
    if (page <= 2)
        ShowSize(page);

    SelectFamilyOrFirst(ReadIniString("GW", "CurrentFont", QString(), IniFile));

    QApplication::restoreOverrideCursor();
    UnloadSplash();
    show();
}

QSize MainWindow::MinimumWindowSize() const
{
    // The font-control panel at its full width beside a preview as wide, and a
    // font list of at least eight rows above the fixed rows of the panel.
    const int rows = 8;
    const int rowHeight = std::max(fontList_->sizeHintForRow(0), fontList_->fontMetrics().height() + 2);
    const int list = rows * rowHeight + 2 * fontList_->frameWidth();
    // Twips of the panel that are not the list (LayoutControls), the Find box's row included.
    constexpr int panelRows = 4605 + kPanelRow + kRowGap;
    const int frame = 8;             // the tab widget's page frame
    const int width = 2 * Px(kPanelWidth) + 2 * Px(kMargin) + frame;
    const int height = Px(panelRows) + list + previewTabs_->tabBar()->sizeHint().height() + frame
                       + 2 * Px(kMargin) + menuBar()->sizeHint().height()
                       + statusBar()->sizeHint().height();
    return QSize(width, height);
}

void MainWindow::PlaceFirstTime()
{
    // A useful size, but never more than the screen's free area (panels
    // excluded), whatever the scale factor.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Before the window is shown its frame is not known yet: leave room for one.
    const QSize frame = (frameGeometry().size() - geometry().size()).expandedTo(QSize(16, 48));
    const QSize room(std::max(area.width() - frame.width(), 0), std::max(area.height() - frame.height(), 0));
    QSize size = QSize(900, 620).expandedTo(minimumSize()).boundedTo(room);
    size = size.expandedTo(QSize(std::min(minimumSize().width(), room.width()),
                                 std::min(minimumSize().height(), room.height())));
    resize(size);
    move(area.x() + (area.width() - size.width() - frame.width()) / 2,
         area.y() + (area.height() - size.height() - frame.height()) / 2);
}

void MainWindow::ShowFamilyCount()
{
    const int n = fontModel_->Count();
    // A rebuilt list shows every row again: narrow it anew.
    const int shown = FilterFontRows(fontList_, *fontModel_, findEdit_->text());
    if (!findEdit_->text().isEmpty()) {
        familyCountLabel_->setText(QStringLiteral("%1 of %2 font families").arg(shown).arg(n));
        return;
    }
    familyCountLabel_->setText(n == 1 ? QStringLiteral("1 font family")
                                      : QStringLiteral("%1 font families").arg(n));
}

// ---- Family and style selection ---------------------------------------------------------------

void MainWindow::ShowFamily(int row)
{
    if (row < 0 || row >= fontModel_->Count())
        return;
    fillingStyles_ = true;
    styleList_->clear();
    const QString face = fontModel_->At(row).text;
    fontKind_ = fontModel_->At(row).tag;
    if (CurrentTab() == 3 && fontKind_ != KindTrueType)
        SelectTab(0);

    enumerator_.EnumerateStyles(face, fontKind_);
    for (size_t i = 0; i < StyleTable.size(); ++i) {
        if (ListFindExact(*styleList_, StyleTable[i].StyleName) >= 0)
            continue;
        auto* item = new QListWidgetItem(StyleTable[i].StyleName, styleList_);
        item->setData(Qt::UserRole, int(i));
    }
    fillingStyles_ = false;
    if (styleList_->count() > 0) {
        styleList_->setCurrentRow(0);
        ShowSelectedStyle();
    }
    fontList_->setFocus();
}

void MainWindow::ShowSelectedStyle()
{
    FillRanges();
    switch (CurrentTab()) {
    case 0:
        DrawLargeCharacter();
        break;
    case 1:
        ShowCode(1);
        break;
    default:
        break;
    }
    ApplySampleFont();
    if (KeyboardOpen)
        ApplyKeyboardFont();
    ShowFontInfo();
}

// ---- Pages ------------------------------------------------------------------------------------

void MainWindow::ShowCurrentTab()
{
    const int page = CurrentTab();
    // A size still being typed goes to the page it was typed on.
    if (sizeTypedOnPage_ >= 0 && sizeTypedOnPage_ != page)
        ApplyTypedSize();
    sizeTypedOnPage_ = -1;
    controlPanel_->setParent(tabPages_[page]);
    controlPanel_->show();
    LayoutPage(page, 3);

    switch (page) {
    case 0:
        sizeBox_->setEditText(QString::number(sizeSliders_[0]->value()));
        ShowKeystroke(ChartCharacter(codeSliders_[0]->value()));
        ShowSize(0);
        break;
    case 1:
        sizeBox_->setEditText(QString::number(sizeSliders_[1]->value()));
        ShowKeystroke(ChartCharacter(codeSliders_[1]->value() + selectedCell_));
        break;
    case 2:
        sizeBox_->setEditText(QString::number(sizeSliders_[2]->value()));
        break;
    default:
        break;
    }
    const bool characters = page <= 1;
    for (QAction* item : {upperCaseAction_, lowerCaseAction_, numbersAction_, accentsAction_})
        item->setEnabled(characters);
    symbolsMenu_->setEnabled(characters);
}

void MainWindow::LayoutPage(int page, int mode)
{
    QWidget* pageWidget = tabPages_[page];
    const int pageWidth = Tw(pageWidget->width());
    const int pageHeight = Tw(pageWidget->height());

    if (mode & 2) {
        const int panelWidth = std::min(kPanelWidth, std::max(pageWidth / 2, 0));
        controlPanel_->setGeometry(Px(pageWidth - panelWidth), 0, Px(panelWidth), pageWidget->height());
        LayoutControls();
        previewWidth_ = std::max(Tw(controlPanel_->x()) - 2 * kPreviewLeft, 0);
    }
    if (mode & 1) {
        // The slider strip takes what its rows need; the preview gets the rest.
        const int rows = page == 2 ? 1 : 3;
        const int strip = rows * kSliderRow + (rows - 1) * kRowGap;
        previewHeight_ = std::max(pageHeight - 2 * kPreviewLeft - kRowGap - strip, 0);
    }
    const int W = previewWidth_;
    const int H = previewHeight_;

    auto placeStrip = [&](int index, int top, int width) {
        QWidget* strip = sliderPanels_[index];
        const int rows = index == 2 ? 1 : 3;
        strip->setGeometry(Px(kPreviewLeft), Px(top), Px(width),
                           Px(rows * kSliderRow + (rows - 1) * kRowGap));
        const int readoutLeft = width - kReadoutWidth;
        auto placeRow = [&](int row, QWidget* label, QWidget* slider, QWidget* readout) {
            const int y = row * (kSliderRow + kRowGap);
            label->setGeometry(0, Px(y), Px(kLabelWidth), Px(kSliderRow));
            slider->setGeometry(Px(kLabelWidth), Px(y + 45),
                                Px(std::max(readoutLeft - kLabelWidth - kRowGap, 0)), Px(kSliderRow - 90));
            readout->setGeometry(Px(readoutLeft), Px(y), Px(kReadoutWidth), Px(kSliderRow));
        };
        int row = 0;
        if (index <= 1) {
            // The range selector beside the character's name, above the sliders.
            const int comboWidth = std::max((width - kLabelWidth) / 2, 0);
            rangeLabels_[index]->setGeometry(0, 0, Px(kLabelWidth), Px(kSliderRow));
            rangeBoxes_[index]->setGeometry(Px(kLabelWidth), 0, Px(comboWidth), Px(kSliderRow));
            characterNameLabels_[index]->setGeometry(Px(kLabelWidth + comboWidth + kRowGap), 0,
                                                     Px(std::max(width - kLabelWidth - comboWidth - kRowGap, 0)),
                                                     Px(kSliderRow));
            ++row;
            placeRow(row++, codeLabels_[index], codeSliders_[index], codeReadouts_[index]);
        }
        placeRow(row, sizeLabels_[index], sizeSliders_[index], sizeReadouts_[index]);
    };

    switch (page) {
    case 0:
        glyphPicture_->setGeometry(Px(kPreviewLeft), Px(kPreviewLeft), Px(W), Px(H));
        placeStrip(0, kPreviewLeft + H + kRowGap, W);
        break;
    case 1: {
        // Laid out in whole pixels, so that every grid line (the gaps between
        // the cells and the border around them) is equally wide.
        const int gap = std::max(Px(kRowGap), 1);
        const int cellHeight = std::max((Px(H) - 3 * gap) / 4, 0);
        const int cellWidth = std::max((Px(W) - 3 * gap) / 4, 0);
        const int origin = Px(kPreviewLeft);
        for (int k = 0; k < 16; ++k)
            cellPictures_[k]->setGeometry(origin + (k % 4) * (cellWidth + gap),
                                          origin + (k / 4) * (cellHeight + gap), cellWidth, cellHeight);
        chartGrid_->setGeometry(origin - gap, origin - gap, 4 * cellWidth + 5 * gap,
                                4 * cellHeight + 5 * gap);
        placeStrip(1, kPreviewLeft + H + kRowGap, W);
        break;
    }
    case 2:
        sampleEdit_->setGeometry(Px(kPreviewLeft), Px(kPreviewLeft), Px(W), Px(H));
        placeStrip(2, kPreviewLeft + H + kRowGap, W);
        break;
    case 3:
        infoEdit_->setGeometry(Px(kPreviewLeft), Px(kPreviewLeft), Px(W),
                               Px(std::max(pageHeight - 2 * kPreviewLeft, 0)));
        break;
    default:
        break;
    }
}

// The font-control panel: list, styles and size on top, the read-outs at the bottom.
void MainWindow::LayoutControls()
{
    const int width = Tw(controlPanel_->width()) - kPreviewLeft;
    const int height = Tw(controlPanel_->height());
    const int readouts = 2 * kTextRow + 4 * kPanelRow + 6 * kRowGap;
    const int readoutsTop = height - kPreviewLeft - readouts;
    const int stylesHeight = 1500;
    const int sizeTop = readoutsTop - kRowGap - kPanelRow - 2 * kRowGap;
    const int stylesTop = sizeTop - kRowGap - stylesHeight;
    const int stylesLabelTop = stylesTop - kTextRow;
    const int listTop = LayoutFindBox(width, kPreviewLeft + kTextRow);

    fontsLabel_->setGeometry(0, Px(kPreviewLeft), Px(width), Px(kTextRow));
    fontList_->setGeometry(0, Px(listTop), Px(width),
                           Px(std::max(stylesLabelTop - kRowGap - listTop, 0)));
    stylesLabel_->setGeometry(0, Px(stylesLabelTop), Px(width), Px(kTextRow));
    styleList_->setGeometry(0, Px(stylesTop), Px(width), Px(stylesHeight));
    sizeLabel_->setGeometry(0, Px(sizeTop), Px(600), Px(kPanelRow));
    sizeBox_->setGeometry(Px(600), Px(sizeTop), Px(1200), Px(kPanelRow));
    fontFilesLabel_->setGeometry(0, Px(readoutsTop), Px(width), Px(kTextRow));
    for (QLabel* panel : {fontFileReadout_, companionFileReadout_})
        panel->setGeometry(0, panel->y(), Px(width), Px(kPanelRow));
    for (QLabel* label : {fileSizeLabel_, keystrokeLabel_})
        label->setGeometry(0, label->y(), Px(1500), Px(kPanelRow));
    fileSizeReadout_->setGeometry(Px(1500), fileSizeReadout_->y(), Px(width - 1500), Px(kPanelRow));
    // The keystroke read-out takes all the room its label leaves.
    const int keystrokeLeft = std::min(keystrokeLabel_->sizeHint().width() + Px(kRowGap) * 2, Px(1500));
    keystrokeReadout_->setGeometry(keystrokeLeft, keystrokeReadout_->y(), std::max(Px(width) - keystrokeLeft, 0),
                                   Px(kPanelRow));
    StackReadouts();
    ShowKeystroke(keystrokeCharacter_);
}

void MainWindow::ShowKeystroke(const QString& character)
{
    keystrokeCharacter_ = character;
    // QLabel indents the text of a framed label by half an "x".
    const int indent = keystrokeReadout_->indent() >= 0 ? keystrokeReadout_->indent()
                       : keystrokeReadout_->frameWidth() > 0
                           ? keystrokeReadout_->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                           : 0;
    const int room = keystrokeReadout_->contentsRect().width() - 2 * keystrokeReadout_->margin() - indent;
    const QString text = KeystrokeReadout(character, [&](const QString& longer) {
        return keystrokeReadout_->fontMetrics().horizontalAdvance(longer) <= room;
    });
    keystrokeReadout_->setText(text);
    // The whole read-out, Alt code included, when the panel shows less.
    keystrokeReadout_->setToolTip(KeystrokeReadout(character, [](const QString&) { return true; }).trimmed());
}

// ---- Resizing and painting -------------------------------------------------------------------

void MainWindow::LayoutWindow()
{
    KeyboardFollowsState();
    if (isMinimized())
        return;
    QWidget* client = centralWidget();
    const int m = Px(kMargin);
    const int left = Px(kTabLeft);
    previewTabs_->setGeometry(left, m, std::max(client->width() - left - m, 0),
                              std::max(client->height() - 2 * m, 0));
    LayoutPage(CurrentTab(), 3);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutWindow();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        LayoutWindow();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (PreviewEvent(watched, event) || ToolbarEvent(watched, event))
        return true;
    if (event->type() == QEvent::Resize && previewTabs_ && CurrentTab() >= 0
        && watched == tabPages_[CurrentTab()]) {
        LayoutPage(CurrentTab(), 3);
        return false;
    }
    if (watched == centralWidget() && event->type() == QEvent::Paint) {
        PaintEtchedLines();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Closing ----------------------------------------------------------------------------------

void MainWindow::SaveSettingsAndQuit()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (KeyboardOpen)
        UnloadKeyboard();
    // One replacement of the file for the whole close.
    auto batch = std::make_unique<IniBatch>(IniFile);
    // The saved codes are those of the "0 - 255" range.
    const bool bytes = rangeIndex_ == 0;
    WriteIniString("GW", "ANSI", QString::number(bytes ? codeSliders_[0]->value() : byteRangeCodes_[0]), IniFile);
    WriteIniString("GW", "PointSize", QString::number(sizeSliders_[0]->value()), IniFile);
    WriteIniString("GW", "ChartANSI", QString::number(bytes ? codeSliders_[1]->value() : byteRangeCodes_[1]), IniFile);
    WriteIniString("GW", "ChartSize", QString::number(sizeSliders_[1]->value()), IniFile);
    WriteIniString("GW", "ChartSelected", QString::number(selectedCell_), IniFile);
    WriteIniString("GW", "TextSize", QString::number(sampleEdit_->font().pointSize() > 0
                                                         ? sampleEdit_->font().pointSize()
                                                         : sizeSliders_[2]->value()),
                   IniFile);
    WriteIniString("GW", "SampleText", sampleEdit_->toPlainText(), IniFile);
    WriteIniString("GW", "CurrentTab", QString::number(CurrentTab() + 1), IniFile);
    if (fontModel_->Count() > 0 && SelectedFamilyRow() >= 0)
        WriteIniString("GW", "CurrentFont", fontModel_->At(SelectedFamilyRow()).text, IniFile);
    if (!isMinimized())
        SaveFormPlacement(this, QStringLiteral("Main"), IniFile);
    batch.reset();
    UnloadRereadProgress();

    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    SaveSettingsAndQuit();
    event->accept();
}

// ---- Reading the fonts ----------------------------------------------------------------------------

// The passes fill a list nobody sees, which then replaces the shown one at once:
// a list view that lays out and repaints its rows for every family added (the
// passes let window events run once per family) made reading grow with the
// square of the families.
void MainWindow::FillFontList(const std::function<void()>& read)
{
    FontListModel reading;
    enumerator_.SetList(&reading);
    read();
    enumerator_.SetList(fontModel_);
    fontModel_->Assign(reading);
}

// ---- Find box ---------------------------------------------------------------------------------

void MainWindow::CreateFindBox()
{
    findEdit_ = new FindBox(controlPanel_);
    findEdit_->setObjectName(QStringLiteral("findEdit"));
    findEdit_->setToolTip(QStringLiteral("Show only the families whose name contains this text (Ctrl+F)"));
    connect(findEdit_, &QLineEdit::textChanged, this, [this] { FilterFamilies(); });
    connect(findEdit_, &FindBox::toList, this, [this] { fontList_->setFocus(); });
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, this, [this] {
        findEdit_->setFocus(Qt::ShortcutFocusReason);
        findEdit_->selectAll();
    });
    addAction(find);
}

int MainWindow::LayoutFindBox(int width, int top)
{
    findEdit_->setGeometry(0, Px(top), Px(width), Px(kPanelRow));
    return top + kPanelRow + kRowGap;
}

void MainWindow::FilterFamilies()
{
    ShowFamilyCount();
    // The selected family stays while it matches; else the first one that does.
    const int row = SelectedFamilyRow();
    if (row >= 0 && !fontList_->isRowHidden(row, {})) {
        fontList_->scrollTo(fontModel_->index(row));
        return;
    }
    for (int r = 0; r < fontModel_->Count(); ++r) {
        if (!fontList_->isRowHidden(r, {})) {
            SelectFamily(r);
            findEdit_->setFocus();
            return;
        }
    }
}

// ---- Menu commands ----------------------------------------------------------------------------

void MainWindow::UninstallFonts()
{
    FontsChanged = false;
    const int style = SelectedStyle();
    const QString current = style >= 0 ? StyleTable[size_t(style)].FullName : QString();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* wizard = new RemoveWizard(current, this);
    QApplication::restoreOverrideCursor();
    wizard->exec();
    delete wizard;
    if (FontsChanged) {
        RereadFonts();
        if (fontModel_->Count() > 0)
            SelectFamily(0);
    }
    FontsChanged = false;
}

void MainWindow::RereadFonts()
{
    const int selected = SelectedFamilyRow();
    const QString remembered = selected >= 0 ? fontModel_->At(selected).text : QString();
    Sys().fonts->RescanFonts();
    ForgetCharacterMaps();
    FillFontList([this] { enumerator_.RereadFonts(); });
    UnloadRereadProgress();
    ShowFamilyCount();

    SelectFamilyOrFirst(remembered);
}

// ---- The install wizard ------------------------------------------------------------------

void MainWindow::InstallFromFiles(const QStringList& paths)
{
    QStringList files, elsewhere;
    QString folder;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists()) {
            Sys().messages->MsgBox(QStringLiteral("There is no file or folder ") + path + QStringLiteral("."),
                                   vbInformation, QStringLiteral("Glyphwick"));
            continue;
        }
        // The folder of the first: a folder given is read whole, files are selected in theirs.
        if (folder.isEmpty())
            folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
        if (info.isDir() ? info.absoluteFilePath() != folder : info.absolutePath() != folder)
            elsewhere << path;
        else if (!info.isDir())
            files << info.absoluteFilePath();
    }
    if (!paths.isEmpty() && folder.isEmpty())
        return;
    if (!elsewhere.isEmpty())
        Sys().messages->MsgBox(QStringLiteral("The wizard shows one folder at a time: ") + folder
                                   + QStringLiteral(". Open these again from their own folder:\n\n")
                                   + elsewhere.join('\n'),
                               vbInformation, QStringLiteral("Glyphwick"));
    FontsChanged = false;
    {
        InstallWizard wizard(InstallWizard::Mode::Install, this);
        if (!folder.isEmpty())
            wizard.ShowFiles(folder, files);
        wizard.exec();
    }
    if (FontsChanged)
        RereadFonts();
    FontsChanged = false;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the wizard is modal.
    QTimer::singleShot(0, this, [this, paths] { InstallFromFiles(paths); });
}

void MainWindow::PrintFontsFromFolder()
{
    {
        InstallWizard wizard(InstallWizard::Mode::PrintUninstalled, this);
        wizard.exec();
    }
    RefreshTypeFilters();
}

void MainWindow::SelectFamilyOrFirst(const QString& text)
{
    int row = -1;
    for (int i = 0; i < fontModel_->Count() && row < 0; ++i)
        if (fontModel_->At(i).text == text)
            row = i;
    if (row < 0 && fontModel_->Count() > 0)
        row = 0;
    if (row >= 0) {
        SelectFamily(row);
    } else {
        ShowNoFont();
    }
}

// Nothing is left to select (every listed font was uninstalled, or no kind is
// shown): no page, read-out or the keyboard keeps showing a font that was there.
void MainWindow::ShowNoFont()
{
    fillingStyles_ = true;
    styleList_->clear();
    fillingStyles_ = false;
    fontKind_ = 0;
    glyphPicture_->Clear();
    for (PictureBox* cell : cellPictures_)
        cell->Clear();
    for (QLabel* panel : {fontFileReadout_, companionFileReadout_, fileSizeReadout_}) {
        panel->clear();
        panel->setToolTip(QString());
    }
    infoEdit_->clear();
    FillRanges();
    ApplySampleFont();
    ApplyKeyboardFont();
}

void MainWindow::OpenPrintWizard()
{
    if (fontModel_->Count() == 0) {
        Sys().messages->MsgBox(QStringLiteral("There are no installed fonts to print!"), vbInformation,
                               QStringLiteral("Glyphwick"));
        return;
    }
    {
        PrintWizard wizard(WizardFonts(*fontModel_), this);
        wizard.exec();
    }
    RefreshTypeFilters();
}

void MainWindow::OpenOptions()
{
    {
        OptionsDialog options(this);
        options.exec();
    }
    RefreshTypeFilters();
}

void MainWindow::RefreshTypeFilters()
{
    const bool trueType = ReadIniInt(QStringLiteral("GW"), QStringLiteral("ShowTrueType"), 0, IniFile) == 1;
    const bool atm = ReadIniInt(QStringLiteral("GW"), QStringLiteral("ShowATM"), 0, IniFile) == 1;
    const bool device = ReadIniInt(QStringLiteral("GW"), QStringLiteral("ShowDevice"), 0, IniFile) == 1;
    const bool changed = trueType != enumerator_.ShowTrueType || atm != enumerator_.ShowATM
                         || device != enumerator_.ShowDevice;
    enumerator_.ShowTrueType = trueType;
    enumerator_.ShowATM = atm;
    enumerator_.ShowDevice = device;
    if (!changed)
        return;
    QApplication::processEvents();
    RereadFonts();
    QApplication::processEvents();
}

} // namespace gw
