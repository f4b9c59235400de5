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
constexpr int kPanelWidth = 3450;      // picControls
constexpr int kPreviewLeft = 60;       // Spec and cell 0 from the page's edge
constexpr int kRowGap = 30;            // between rows that follow one another
constexpr int kSliderRow = 330;        // one slider row of a slider strip
constexpr int kLabelWidth = 1050;      // "Character", "Point Size"
constexpr int kReadoutWidth = 750;     // pnlSize, pnlAnsi
constexpr int kTextRow = 270;          // a label
constexpr int kPanelRow = 315;         // a read-out panel

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

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), enumerator(nullptr)
{
    setObjectName(QStringLiteral("MainWindow"));
    // Font files or a folder dropped here open the install wizard on them.
    setAcceptDrops(true);
    CreateControls();
    CreateFindBox();
    CreatePreviewPages();
    InitToolBar();
    CreateMenus();
    ConnectPreviewEvents();
    Form_Load();
}

MainWindow::~MainWindow() = default;

// ---- Controls -----------------------------------------------------------------------

void MainWindow::CreateControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->installEventFilter(this);
    setCentralWidget(client);

    tabSpec = new QTabWidget(client);
    tabSpec->setObjectName(QStringLiteral("tabSpec"));
    // Alt letters the menus and labels of this window do not use: File, Edit,
    // Characters, Tools, Run, Help, Installed Fonts, Available Styles and Size
    // take every letter of "Character Set".
    const char* const captions[] = {"Te&xt", "Character Set", "Sa&mple Text",
                                    "TrueType I&nformation"};
    const char* const keys[] = {"Text", "CharacterSet", "SampleText", "Information"};
    for (int i = 1; i <= 4; ++i) {
        picContainer[i] = new QWidget;
        picContainer[i]->setObjectName(QStringLiteral("picContainer%1").arg(i));
        picContainer[i]->setProperty("key", QString::fromLatin1(keys[i - 1]));
        // The tab widget sizes its pages after the window's own resize.
        picContainer[i]->installEventFilter(this);
        tabSpec->addTab(picContainer[i], QString::fromLatin1(captions[i - 1]));
    }

    fontList = new FontListModel(this);
    fontList->SetIcons(FontKindIcon(KindTrueType), FontKindIcon(KindType1), FontKindIcon(KindPrinter));
    enumerator = FontEnumerator(fontList);

    picControls = new QWidget(picContainer[1]);
    picControls->setObjectName(QStringLiteral("picControls"));
    Label1 = MakeLabel(picControls, "Label1", "&Installed Fonts");
    ListView1 = new QTreeView(picControls);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(fontList);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Label1 already names the list; its one-column header would say it twice.
    ListView1->setHeaderHidden(true);
    Label1->setBuddy(ListView1);
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!selectingRow_ && current.isValid())
                    ListView1_ItemClick(current.row());
            });

    Label7 = MakeLabel(picControls, "Label7", "&Available Styles");
    Attribs = new QListWidget(picControls);
    Attribs->setObjectName(QStringLiteral("Attribs"));
    Label7->setBuddy(Attribs);
    connect(Attribs, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!fillingStyles_ && row >= 0)
            Attribs_Click();
    });

    Label2 = MakeLabel(picControls, "Label2", "&Size");
    lstPointSize = new QComboBox(picControls);
    lstPointSize->setObjectName(QStringLiteral("lstPointSize"));
    lstPointSize->setEditable(true);
    lstPointSize->setInsertPolicy(QComboBox::NoInsert);
    for (const char* size : kPointSizes)
        lstPointSize->addItem(QString::fromLatin1(size));
    Label2->setBuddy(lstPointSize);

    lblFontfiles = MakeLabel(picControls, "lblFontfiles", "Font Files");
    pnlTTF = MakeReadout(picControls, "pnlTTF");
    pnlFOT = MakeReadout(picControls, "pnlFOT");
    lblFileSize = MakeLabel(picControls, "lblFileSize", "Font File Size");
    pnlFileSize = MakeReadout(picControls, "pnlFileSize");
    lblKeystroke = MakeLabel(picControls, "lblKeystroke", "Keystroke");
    pnlKeystroke = MakeReadout(picControls, "pnlKeystroke");

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(true);
    setStatusBar(status);
    for (int i = 1; i <= 2; ++i) {
        StatusPanel[i] = new QLabel(status);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanel[i]->setFrameStyle(QFrame::NoFrame);  // panels without bevel
        // Panel 1 counts the families; panel 2 takes the menu help.
        status->addWidget(StatusPanel[i], i == 1 ? 0 : 1);
    }

    connect(tabSpec, &QTabWidget::currentChanged, this, [this] { tabSpec_Click(); });
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
    for (int i = 1; i <= 3; ++i) {
        picSliders[i] = new QWidget(picContainer[i]);
        picSliders[i]->setObjectName(QStringLiteral("picSliders%1").arg(i));
        const int max = i == 1 ? 800 : 136;
        ScrSize[i] = makeSlider(picSliders[i], QStringLiteral("ScrSize%1").arg(i), 8, max, 10);
        pnlSize[i] = MakeReadout(picSliders[i], QStringLiteral("pnlSize%1").arg(i));
        pnlSize[i]->setAlignment(Qt::AlignCenter);
        MakeLabel(picSliders[i], QStringLiteral("lblSize%1").arg(i), "Point Size");
        if (i <= 2) {
            scrAnsi[i] = makeSlider(picSliders[i], QStringLiteral("scrAnsi%1").arg(i), 0,
                                    i == 1 ? 255 : 240, i == 1 ? 10 : 16);
            pnlAnsi[i] = MakeReadout(picSliders[i], QStringLiteral("pnlAnsi%1").arg(i));
            pnlAnsi[i]->setAlignment(Qt::AlignCenter);
            MakeLabel(picSliders[i], QStringLiteral("lblAnsi%1").arg(i), "Character");
        }
    }

    CreateRangeSelectors();

    Spec = new PictureBox(picContainer[1]);
    Spec->setObjectName(QStringLiteral("Spec"));
    Spec->SetBackColor(Qt::white);

    // Behind the chart cells, so that the gaps between them show as grid lines.
    chartGrid_ = new QWidget(picContainer[2]);
    chartGrid_->setAutoFillBackground(true);
    QPalette grid = chartGrid_->palette();
    grid.setColor(QPalette::Window, grid.color(QPalette::Mid));
    chartGrid_->setPalette(grid);
    for (int k = 0; k < 16; ++k) {
        picChar[k] = new PictureBox(picContainer[2]);
        picChar[k]->setObjectName(QStringLiteral("picChar"));
        picChar[k]->setProperty("index", k);
        picChar[k]->SetBackColor(Qt::white);
        picChar[k]->setVisible(true);
    }
    // Cell 0 starts selected.
    picChar[0]->SetBackColor(palette().color(QPalette::Highlight));

    txtSample = new QPlainTextEdit(QStringLiteral("Sample Text"), picContainer[3]);
    txtSample->setObjectName(QStringLiteral("txtSample"));
    txtSample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    txtInfo = new QPlainTextEdit(picContainer[4]);
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
}

// ---- Selection helpers --------------------------------------------------------------------

int MainWindow::CurrentTab() const
{
    return tabSpec->currentIndex() + 1;
}

int MainWindow::StyleIndex() const
{
    // A style name shown once may stand for a later entry than its row.
    const QListWidgetItem* item = Attribs->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

int MainWindow::SelectedRow() const
{
    const QModelIndex current = ListView1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MainWindow::SelectRow(int row)
{
    if (row < 0 || row >= fontList->Count())
        return;
    selectingRow_ = true;
    const QModelIndex index = fontList->index(row);
    ListView1->setCurrentIndex(index);
    ListView1->scrollTo(index);
    selectingRow_ = false;
}

void MainWindow::SelectTab(int tab)
{
    if (tab == CurrentTab())
        tabSpec_Click();
    else
        tabSpec->setCurrentIndex(tab - 1);
}

// ---- Loading --------------------------------------------------------------------------------

void MainWindow::Form_Load()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Loading = true;
    setWindowTitle(QStringLiteral("Glyphwick"));
    SelectedCell = 0;

    enumerator.ShowStatus = [this](const QString& text) {
        if (enumerator.ReadingMode == 0) {
            if (SplashWindow* splash = Splash())
                splash->lblStatus->setText(text);
            return;
        }
        RereadProgress* loader = LoadRereadProgress();
        loader->lblMessage->setText(text);
        loader->show();
    };
    enumerator.DrawProgress = [this](int percent) {
        if (enumerator.ReadingMode == 0) {
            if (SplashWindow* splash = Splash())
                splash->DrawProgress(percent);
        } else if (RereadProgress* loader = RereadProgressWindow()) {
            loader->DrawProgress(percent);
        }
    };
    FillFontList([this] { enumerator.ReadFonts(); });
    QApplication::processEvents();
    ShowFamilyCount();

    // Every read-out shows its value, also when it equals the slider's start.
    auto apply = [](QScrollBar* bar, int value, const std::function<void()>& change) {
        const QSignalBlocker block(bar);
        bar->setValue(value);
        change();
    };
    apply(scrAnsi[1], ReadIniInt("GW", "ANSI", 65, IniFile), [this] { scrAnsi_Change(1); });
    apply(ScrSize[1], ReadIniInt("GW", "PointSize", 72, IniFile), [this] { ScrSize_Change(1); });
    apply(scrAnsi[2], ReadIniInt("GW", "ChartANSI", 65, IniFile), [this] { scrAnsi_Change(2); });
    apply(ScrSize[2], ReadIniInt("GW", "ChartSize", 65, IniFile), [this] { ScrSize_Change(2); });
    apply(ScrSize[3], ReadIniInt("GW", "TextSize", 30, IniFile), [this] { ScrSize_Change(3); });
    txtSample->setPlainText(ReadIniString("GW", "SampleText", QString(), IniFile));

    Loading = false;
    // A first start (or a size that is no size) has no placement to restore:
    // open centred at a useful size.
    setMinimumSize(MinimumWindowSize());
    if (ReadIniInt("Main", "Width", 0, IniFile) <= 0 || ReadIniInt("Main", "Height", 0, IniFile) <= 0) {
        PlaceFirstTime();
    } else {
        LoadFormPlacement(this, QStringLiteral("Main"), IniFile);
    }

    int tab = ReadIniInt("GW", "CurrentTab", 1, IniFile);
    if (tab < 1 || tab > 4)
        tab = 1;
    SelectTab(tab);
    if (tab <= 3)
        ScrSize_Change(tab);

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
    const int rowHeight = std::max(ListView1->sizeHintForRow(0), ListView1->fontMetrics().height() + 2);
    const int list = rows * rowHeight + 2 * ListView1->frameWidth();
    // Twips of the panel that are not the list (LayoutControls), the Find box's row included.
    constexpr int panelRows = 4605 + kPanelRow + kRowGap;
    const int frame = 8;             // the tab widget's page frame
    const int width = 2 * Px(kPanelWidth) + 2 * Px(kMargin) + frame;
    const int height = Px(panelRows) + list + tabSpec->tabBar()->sizeHint().height() + frame
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
    const int n = fontList->Count();
    // A rebuilt list shows every row again: narrow it anew.
    const int shown = FilterFontRows(ListView1, *fontList, txtFind->text());
    if (!txtFind->text().isEmpty()) {
        StatusPanel[1]->setText(QStringLiteral("%1 of %2 font families").arg(shown).arg(n));
        return;
    }
    StatusPanel[1]->setText(n == 1 ? QStringLiteral("1 font family")
                                   : QStringLiteral("%1 font families").arg(n));
}

// ---- Family and style selection ---------------------------------------------------------------

void MainWindow::ListView1_ItemClick(int row)
{
    if (row < 0 || row >= fontList->Count())
        return;
    fillingStyles_ = true;
    Attribs->clear();
    const QString face = fontList->At(row).text;
    CurrentFontType = fontList->At(row).tag;
    if (CurrentTab() == 4 && CurrentFontType != KindTrueType)
        SelectTab(1);

    enumerator.EnumerateStyles(face, CurrentFontType);
    for (size_t i = 0; i < StyleTable.size(); ++i) {
        if (ListFindExact(Attribs, StyleTable[i].StyleName) >= 0)
            continue;
        auto* item = new QListWidgetItem(StyleTable[i].StyleName, Attribs);
        item->setData(Qt::UserRole, int(i) + 1);
    }
    fillingStyles_ = false;
    if (Attribs->count() > 0) {
        Attribs->setCurrentRow(0);
        Attribs_Click();
    }
    ListView1->setFocus();
}

void MainWindow::Attribs_Click()
{
    FillRanges();
    switch (CurrentTab()) {
    case 1:
        Spec_Paint();
        break;
    case 2:
        scrAnsi_Change(2);
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

void MainWindow::tabSpec_Click()
{
    const int tab = CurrentTab();
    // A size still being typed goes to the page it was typed on.
    if (sizeTypedOnTab_ && sizeTypedOnTab_ != tab)
        lstPointSize_LostFocus();
    sizeTypedOnTab_ = 0;
    picControls->setParent(picContainer[tab]);
    picControls->show();
    SizeTab(tab, 3);

    switch (tab) {
    case 1:
        lstPointSize->setEditText(QString::number(ScrSize[1]->value()));
        ShowKeystroke(ChartCharacter(scrAnsi[1]->value()));
        ScrSize_Change(1);
        break;
    case 2:
        lstPointSize->setEditText(QString::number(ScrSize[2]->value()));
        ShowKeystroke(ChartCharacter(scrAnsi[2]->value() + SelectedCell));
        break;
    case 3:
        lstPointSize->setEditText(QString::number(ScrSize[3]->value()));
        break;
    default:
        break;
    }
    const bool characters = tab <= 2;
    for (QAction* item : {mnuCharUpper, mnuCharLower, mnuCharNumbers, mnuCharAccents})
        item->setEnabled(characters);
    mnuCharSymbols->setEnabled(characters);
}

void MainWindow::SizeTab(int tab, int mode)
{
    QWidget* page = picContainer[tab];
    const int pageWidth = Tw(page->width());
    const int pageHeight = Tw(page->height());

    if (mode & 2) {
        const int panelWidth = std::min(kPanelWidth, std::max(pageWidth / 2, 0));
        picControls->setGeometry(Px(pageWidth - panelWidth), 0, Px(panelWidth), page->height());
        LayoutControls();
        FreeWidth = std::max(Tw(picControls->x()) - 2 * kPreviewLeft, 0);
    }
    if (mode & 1) {
        // The slider strip takes what its rows need; the preview gets the rest.
        const int rows = tab == 3 ? 1 : 3;
        const int strip = rows * kSliderRow + (rows - 1) * kRowGap;
        FreeHeight = std::max(pageHeight - 2 * kPreviewLeft - kRowGap - strip, 0);
    }
    const int W = FreeWidth;
    const int H = FreeHeight;

    auto placeStrip = [&](int index, int top, int width) {
        QWidget* strip = picSliders[index];
        const int rows = index == 3 ? 1 : 3;
        strip->setGeometry(Px(kPreviewLeft), Px(top), Px(width),
                           Px(rows * kSliderRow + (rows - 1) * kRowGap));
        const int readoutLeft = width - kReadoutWidth;
        auto placeRow = [&](int row, const QString& label, QWidget* slider, QWidget* readout) {
            const int y = row * (kSliderRow + kRowGap);
            if (QWidget* l = strip->findChild<QWidget*>(label))
                l->setGeometry(0, Px(y), Px(kLabelWidth), Px(kSliderRow));
            slider->setGeometry(Px(kLabelWidth), Px(y + 45),
                                Px(std::max(readoutLeft - kLabelWidth - kRowGap, 0)), Px(kSliderRow - 90));
            readout->setGeometry(Px(readoutLeft), Px(y), Px(kReadoutWidth), Px(kSliderRow));
        };
        int row = 0;
        if (index <= 2) {
            // The range selector beside the character's name, above the sliders.
            const int comboWidth = std::max((width - kLabelWidth) / 2, 0);
            if (QWidget* l = strip->findChild<QWidget*>(QStringLiteral("lblRange%1").arg(index)))
                l->setGeometry(0, 0, Px(kLabelWidth), Px(kSliderRow));
            cboRange[index]->setGeometry(Px(kLabelWidth), 0, Px(comboWidth), Px(kSliderRow));
            lblCharName[index]->setGeometry(Px(kLabelWidth + comboWidth + kRowGap), 0,
                                            Px(std::max(width - kLabelWidth - comboWidth - kRowGap, 0)),
                                            Px(kSliderRow));
            ++row;
        }
        if (index <= 2)
            placeRow(row++, QStringLiteral("lblAnsi%1").arg(index), scrAnsi[index], pnlAnsi[index]);
        placeRow(row, QStringLiteral("lblSize%1").arg(index), ScrSize[index], pnlSize[index]);
    };

    switch (tab) {
    case 1:
        Spec->setGeometry(Px(kPreviewLeft), Px(kPreviewLeft), Px(W), Px(H));
        placeStrip(1, kPreviewLeft + H + kRowGap, W);
        break;
    case 2: {
        // Laid out in whole pixels, so that every grid line (the gaps between
        // the cells and the border around them) is equally wide.
        const int gap = std::max(Px(kRowGap), 1);
        const int cellHeight = std::max((Px(H) - 3 * gap) / 4, 0);
        const int cellWidth = std::max((Px(W) - 3 * gap) / 4, 0);
        const int origin = Px(kPreviewLeft);
        for (int k = 0; k < 16; ++k)
            picChar[k]->setGeometry(origin + (k % 4) * (cellWidth + gap),
                                    origin + (k / 4) * (cellHeight + gap), cellWidth, cellHeight);
        chartGrid_->setGeometry(origin - gap, origin - gap, 4 * cellWidth + 5 * gap,
                                4 * cellHeight + 5 * gap);
        placeStrip(2, kPreviewLeft + H + kRowGap, W);
        break;
    }
    case 3:
        txtSample->setGeometry(Px(kPreviewLeft), Px(kPreviewLeft), Px(W), Px(H));
        placeStrip(3, kPreviewLeft + H + kRowGap, W);
        break;
    case 4:
        txtInfo->setGeometry(Px(kPreviewLeft), Px(kPreviewLeft), Px(W),
                             Px(std::max(pageHeight - 2 * kPreviewLeft, 0)));
        break;
    default:
        break;
    }
}

// The font-control panel: list, styles and size on top, the read-outs at the bottom.
void MainWindow::LayoutControls()
{
    const int width = Tw(picControls->width()) - kPreviewLeft;
    const int height = Tw(picControls->height());
    const int readouts = 2 * kTextRow + 4 * kPanelRow + 6 * kRowGap;
    const int readoutsTop = height - kPreviewLeft - readouts;
    const int stylesHeight = 1500;
    const int sizeTop = readoutsTop - kRowGap - kPanelRow - 2 * kRowGap;
    const int stylesTop = sizeTop - kRowGap - stylesHeight;
    const int stylesLabelTop = stylesTop - kTextRow;
    const int listTop = LayoutFindBox(width, kPreviewLeft + kTextRow);

    Label1->setGeometry(0, Px(kPreviewLeft), Px(width), Px(kTextRow));
    ListView1->setGeometry(0, Px(listTop), Px(width),
                           Px(std::max(stylesLabelTop - kRowGap - listTop, 0)));
    Label7->setGeometry(0, Px(stylesLabelTop), Px(width), Px(kTextRow));
    Attribs->setGeometry(0, Px(stylesTop), Px(width), Px(stylesHeight));
    Label2->setGeometry(0, Px(sizeTop), Px(600), Px(kPanelRow));
    lstPointSize->setGeometry(Px(600), Px(sizeTop), Px(1200), Px(kPanelRow));
    lblFontfiles->setGeometry(0, Px(readoutsTop), Px(width), Px(kTextRow));
    for (QLabel* panel : {pnlTTF, pnlFOT})
        panel->setGeometry(0, panel->y(), Px(width), Px(kPanelRow));
    for (QLabel* label : {lblFileSize, lblKeystroke})
        label->setGeometry(0, label->y(), Px(1500), Px(kPanelRow));
    pnlFileSize->setGeometry(Px(1500), pnlFileSize->y(), Px(width - 1500), Px(kPanelRow));
    // The keystroke read-out takes all the room its label leaves.
    const int keystrokeLeft = std::min(lblKeystroke->sizeHint().width() + Px(kRowGap) * 2, Px(1500));
    pnlKeystroke->setGeometry(keystrokeLeft, pnlKeystroke->y(), std::max(Px(width) - keystrokeLeft, 0),
                              Px(kPanelRow));
    StackReadouts();
    ShowKeystroke(keystrokeCharacter_);
}

void MainWindow::ShowKeystroke(const QString& character)
{
    keystrokeCharacter_ = character;
    // QLabel indents the text of a framed label by half an "x".
    const int indent = pnlKeystroke->indent() >= 0 ? pnlKeystroke->indent()
                       : pnlKeystroke->frameWidth() > 0
                           ? pnlKeystroke->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                           : 0;
    const int room = pnlKeystroke->contentsRect().width() - 2 * pnlKeystroke->margin() - indent;
    const QString text = KeystrokeReadout(character, [&](const QString& longer) {
        return pnlKeystroke->fontMetrics().horizontalAdvance(longer) <= room;
    });
    pnlKeystroke->setText(text);
    // The whole read-out, Alt code included, when the panel shows less.
    pnlKeystroke->setToolTip(KeystrokeReadout(character, [](const QString&) { return true; }).trimmed());
}

// ---- Resizing and painting -------------------------------------------------------------------

void MainWindow::Form_Resize()
{
    KeyboardFollowsState();
    if (isMinimized())
        return;
    QWidget* client = centralWidget();
    const int m = Px(kMargin);
    const int left = Px(kTabLeft);
    tabSpec->setGeometry(left, m, std::max(client->width() - left - m, 0),
                         std::max(client->height() - 2 * m, 0));
    SizeTab(CurrentTab(), 3);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (PreviewEvent(watched, event) || ToolbarEvent(watched, event))
        return true;
    if (event->type() == QEvent::Resize && tabSpec && watched == picContainer[CurrentTab()]) {
        SizeTab(CurrentTab(), 3);
        return false;
    }
    if (watched == centralWidget() && event->type() == QEvent::Paint) {
        Form_Paint();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Closing ----------------------------------------------------------------------------------

void MainWindow::Form_Unload()
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
    WriteIniString("GW", "ANSI", QString::number(bytes ? scrAnsi[1]->value() : byteRangeCodes_[1]), IniFile);
    WriteIniString("GW", "PointSize", QString::number(ScrSize[1]->value()), IniFile);
    WriteIniString("GW", "ChartANSI", QString::number(bytes ? scrAnsi[2]->value() : byteRangeCodes_[2]), IniFile);
    WriteIniString("GW", "ChartSize", QString::number(ScrSize[2]->value()), IniFile);
    WriteIniString("GW", "ChartSelected", QString::number(SelectedCell), IniFile);
    WriteIniString("GW", "TextSize", QString::number(txtSample->font().pointSize() > 0
                                                         ? txtSample->font().pointSize()
                                                         : ScrSize[3]->value()),
                   IniFile);
    WriteIniString("GW", "SampleText", txtSample->toPlainText(), IniFile);
    WriteIniString("GW", "CurrentTab", QString::number(CurrentTab()), IniFile);
    if (fontList->Count() > 0 && SelectedRow() >= 0)
        WriteIniString("GW", "CurrentFont", fontList->At(SelectedRow()).text, IniFile);
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
    Form_Unload();
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
    enumerator.SetList(&reading);
    read();
    enumerator.SetList(fontList);
    fontList->Assign(reading);
}

// ---- Find box ---------------------------------------------------------------------------------

void MainWindow::CreateFindBox()
{
    txtFind = new FindBox(picControls);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setToolTip(QStringLiteral("Show only the families whose name contains this text (Ctrl+F)"));
    connect(txtFind, &QLineEdit::textChanged, this, [this] { txtFind_Change(); });
    connect(txtFind, &FindBox::toList, this, [this] { ListView1->setFocus(); });
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, this, [this] {
        txtFind->setFocus(Qt::ShortcutFocusReason);
        txtFind->selectAll();
    });
    addAction(find);
}

int MainWindow::LayoutFindBox(int width, int top)
{
    txtFind->setGeometry(0, Px(top), Px(width), Px(kPanelRow));
    return top + kPanelRow + kRowGap;
}

void MainWindow::txtFind_Change()
{
    ShowFamilyCount();
    // The selected family stays while it matches; else the first one that does.
    const int row = SelectedRow();
    if (row >= 0 && !ListView1->isRowHidden(row, {})) {
        ListView1->scrollTo(fontList->index(row));
        return;
    }
    for (int r = 0; r < fontList->Count(); ++r) {
        if (!ListView1->isRowHidden(r, {})) {
            SelectRow(r);
            ListView1_ItemClick(r);
            txtFind->setFocus();
            return;
        }
    }
}

// ---- Menu commands ----------------------------------------------------------------------------

void MainWindow::mnuFileExit_Click()
{
    close();
}

void MainWindow::mnuFileRemoveFont_Click()
{
    FontsChanged = false;
    const int style = StyleIndex();
    const QString current = style > 0 ? StyleTable[size_t(style - 1)].FullName : QString();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* wizard = new RemoveWizard(current, this);
    QApplication::restoreOverrideCursor();
    wizard->exec();
    delete wizard;
    if (FontsChanged) {
        mnuOptionsRereadFonts_Click();
        if (fontList->Count() > 0) {
            SelectRow(0);
            ListView1_ItemClick(0);
        }
    }
    FontsChanged = false;
}

void MainWindow::mnuOptionsRereadFonts_Click()
{
    const int selected = SelectedRow();
    const QString remembered = selected >= 0 ? fontList->At(selected).text : QString();
    Sys().fonts->RescanFonts();
    ForgetCharacterMaps();
    FillFontList([this] { enumerator.RereadFonts(); });
    UnloadRereadProgress();
    ShowFamilyCount();

    SelectFamilyOrFirst(remembered);
}

// ---- The install wizard ------------------------------------------------------------------

void MainWindow::mnuFileInstallFont_Click()
{
    InstallFromFiles({});
}

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
    WizardMode = 1;
    {
        InstallWizard wizard(InstallWizard::Mode::Install, this);
        if (!folder.isEmpty())
            wizard.ShowFiles(folder, files);
        wizard.exec();
    }
    if (FontsChanged)
        mnuOptionsRereadFonts_Click();
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

void MainWindow::mnuFileCatalog_Click()
{
    WizardMode = 2;
    {
        InstallWizard wizard(InstallWizard::Mode::PrintUninstalled, this);
        wizard.exec();
    }
    RefreshTypeFilters();
}

void MainWindow::SelectFamilyOrFirst(const QString& text)
{
    int row = -1;
    for (int i = 0; i < fontList->Count() && row < 0; ++i)
        if (fontList->At(i).text == text)
            row = i;
    if (row < 0 && fontList->Count() > 0)
        row = 0;
    if (row >= 0) {
        SelectRow(row);
        ListView1_ItemClick(row);
    } else {
        ShowNoFont();
    }
}

// Nothing is left to select (every listed font was uninstalled, or no kind is
// shown): no page, read-out or the keyboard keeps showing a font that was there.
void MainWindow::ShowNoFont()
{
    fillingStyles_ = true;
    Attribs->clear();
    fillingStyles_ = false;
    CurrentFontType = 0;
    Spec->Clear();
    for (PictureBox* cell : picChar)
        cell->Clear();
    for (QLabel* panel : {pnlTTF, pnlFOT, pnlFileSize}) {
        panel->clear();
        panel->setToolTip(QString());
    }
    txtInfo->clear();
    FillRanges();
    ApplySampleFont();
    ApplyKeyboardFont();
}

void MainWindow::mnuFileInventory_Click()
{
    if (fontList->Count() == 0) {
        Sys().messages->MsgBox(QStringLiteral("There are no installed fonts to print!"), vbInformation,
                               QStringLiteral("Glyphwick"));
        return;
    }
    {
        PrintWizard wizard(WizardFonts(*fontList), this);
        wizard.exec();
    }
    RefreshTypeFilters();
}

void MainWindow::mnuOptionsSetup_Click()
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
    const bool changed = trueType != enumerator.ShowTrueType || atm != enumerator.ShowATM
                         || device != enumerator.ShowDevice;
    enumerator.ShowTrueType = trueType;
    enumerator.ShowATM = atm;
    enumerator.ShowDevice = device;
    if (!changed)
        return;
    QApplication::processEvents();
    mnuOptionsRereadFonts_Click();
    QApplication::processEvents();
}

} // namespace gw
