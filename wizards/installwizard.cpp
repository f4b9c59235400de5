#include "wizards/installwizard.h"

#include <QSet>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "sfnt/codepage.h"
#include "sfnt/instances.h"
#include "sfnt/sfnt.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/fontlist.h"
#include "fonts/glyphs.h"
#include "fonts/nametable.h"
#include "options/optionsdialog.h"
#include "print/catalogs.h"
#include "wizards/drivefolderlists.h"
#include "wizards/printrunner.h"

namespace gw {

namespace {

const QString kTitle = QStringLiteral("Glyphwick");

const char* const kFilters[] = {"All files", "A-D, Numbers", "E-H", "I-L", "M-P", "Q-T", "U-Z"};
const char* const kFilterSets[] = {"", "ABCD1234567890", "EFGH", "IJKL", "MNOP", "QRST", "UVWXYZ"};

// lblMsg of each step, mode 1 then mode 2.
const char* const kStepText[2][5] = {
    {"The Installation Wizard will help you install new TrueType fonts onto your Windows PC. You can "
     "install from a diskette, a hard drive directory, or even CD-ROM discs. Unlike the Windows Control "
     "Panel, the Wizard lets you look at a font before you install it. Click the Next >> button to continue!",
     "Select the drive and directory containing the TrueType fonts you want to add to your Windows PC. "
     "Click on the name of the font to see a sample of the font before you install it. Use the Filter "
     "listbox to display a portion of the files on a CD-ROM. Click the Next >> button to continue!",
     "Your fonts will be copied to the Windows Fonts folder and then installed. Click >> to continue!",
     "When a new font is installed on a Windows PC, an entry is placed in the Windows Registry. Listed "
     "below are the changes that will be made to your Registry file.",
     "The TrueType Installation Wizard has enough information to install the fonts on your Windows PC. "
     "Click the Install Fonts! button to continue."},
    {"The CD-ROM Font Wizard produces printouts from uninstalled fonts on CD-ROMs, floppy disks, and hard "
     "drives. The fonts are not installed on your Windows PC or copied to the hard drive. This is great for "
     "the font CD-ROM's lying around your computer desk! Click the Next >> button to continue!",
     "Select the drive and directory containing the TrueType fonts you want to print in your catalog. Click "
     "on the name(s) of font(s) to add them to your catalog and preview the selection. Use the Filter "
     "listbox to display a portion of the files on a CD-ROM. Click the Next >> button to continue!",
     "The Wizard can print character charts, specimen sheets and font catalogs. If you want to print a "
     "catalog, you can also provide a title for the pages. You might want to use the name of the CD-ROM you "
     "are printing from. Click the Next >> button to continue!",
     "The Wizard has enough information to print the fonts you have picked. Click the Print Fonts! button "
     "to continue.",
     ""}};

template <class W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* MakeLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    return label;
}

// Rows sort as the user reads them: without regard to case.
class FontRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }
};

bool ContainsWord(const QString& upper, const char* word)
{
    return upper.contains(QLatin1String(word));
}

} // namespace

QString SelectionCountText(int count, bool install)
{
    if (count == 0)
        return QStringLiteral("No fonts selected");
    return QString::number(count) + (count == 1 ? " font to " : " fonts to ")
           + (install ? QStringLiteral("install") : QStringLiteral("print"));
}

void DrawWizardPicture(PictureBox* box)
{
    box->Clear();
    CanvasPainter p(box);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, box->width(), box->height());
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x1f, 0x4e, 0x9c));
    sky.setColorAt(1, QColor(0x0b, 0x22, 0x4a));
    p.fillRect(r, sky);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(int(r.width() * 0.55));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 60));
    p.drawText(r.adjusted(0, -r.height() * 0.25, 0, 0), Qt::AlignCenter, QStringLiteral("A"));
    font.setItalic(true);
    font.setBold(false);
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(r.adjusted(0, r.height() * 0.2, 0, 0), Qt::AlignCenter, QStringLiteral("g"));
}

// ---- Controls ------------------------------------------------------------------------------

InstallWizard::InstallWizard(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("InstallWizard"));
    ShowModal = [](QDialog* dialog) { dialog->exec(); };
    CreateControls();
    Form_Load();
}

InstallWizard::~InstallWizard()
{
    Form_Unload();
}

void InstallWizard::CreateControls()
{
    picWizard = Named(new PictureBox(this), "picWizard");
    picWizard->setFixedWidth(TwipsToPixels(1800));
    lblMsg = MakeLabel(QString(), "lblMsg", this);
    lblMsg->setMinimumHeight(TwipsToPixels(900));
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    steps = Named(new QStackedWidget(this), "steps");
    picWelcome = Named(new QWidget, "picWelcome");
    picFiles = CreateFilesStep();
    picDest = Named(new QWidget, "picDest");
    {
        auto* v = new QVBoxLayout(picDest);
        lblDest = MakeLabel(QString(), "lblDest", picDest);
        txtDest = Named(new QLineEdit(picDest), "txtDest");
        txtDest->setReadOnly(true);
        v->addWidget(lblDest);
        v->addWidget(txtDest);
        v->addStretch();
    }
    picChanges = Named(new QWidget, "picChanges");
    {
        auto* g = new QGridLayout(picChanges);
        lblINIChanges = MakeLabel(QString(), "lblINIChanges", picChanges);
        lstChanges = Named(new QListWidget(picChanges), "lstChanges");
        cmdSave = Named(new QPushButton(QStringLiteral("&Copy to clipboard"), picChanges), "cmdSave");
        g->addWidget(lblINIChanges, 0, 0, 1, 2);
        g->addWidget(lstChanges, 1, 0, 1, 2);
        g->addWidget(cmdSave, 2, 1);
        connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    }
    picTitle = CreateTitleStep();
    picGo = CreateGoStep();
    for (QWidget* w : {picWelcome, picFiles, picDest, picChanges, picTitle, picGo})
        steps->addWidget(w);

    cmdHelp = Named(new QPushButton(QStringLiteral("&Help"), this), "cmdHelp");
    cmdExit = Named(new QPushButton(QStringLiteral("&Close"), this), "cmdExit");
    cmdPrev = Named(new QPushButton(QStringLiteral("<< &Previous"), this), "cmdPrev");
    cmdNext = Named(new QPushButton(QStringLiteral("&Next >>"), this), "cmdNext");
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { cmdPrev_Click(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });

    auto* right = new QVBoxLayout;
    right->addWidget(lblMsg);
    right->addWidget(steps, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(picWizard);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addWidget(cmdExit);
    buttons->addStretch();
    buttons->addWidget(cmdPrev);
    buttons->addWidget(cmdNext);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addWidget(line);
    outer->addLayout(buttons);
    resize(TwipsToPixels(12600), TwipsToPixels(8700));
}

QWidget* InstallWizard::CreateFilesStep()
{
    auto* page = Named(new QWidget, "picFiles");
    drivelist = Named(new DriveList(page), "drivelist");
    dirlist = Named(new FolderTree(page), "dirlist");
    cmbFilter = Named(new QComboBox(page), "cmbFilter");
    lblFontNames = MakeLabel(QStringLiteral("Font Names"), "lblFontNames", page);
    ListView1 = MakeFontFileList(page, QStringLiteral("ListView1"));
    ListView1->header()->setSortIndicatorShown(false);
    ListView1->setColumnWidth(0, TwipsToPixels(2900));
    ListView1->setColumnWidth(1, TwipsToPixels(1900));
    lstfiles = Named(new QListWidget(page), "lstfiles");
    lstfiles->hide();
    lblCount = MakeLabel(QStringLiteral("No fonts selected."), "lblCount", page);
    lblReading = MakeLabel(QString(), "lblReading", page);
    gaugeWell = MakeGaugeWell(page, &picGauge);
    picGauge->setObjectName(QStringLiteral("picGauge"));
    picGauge->setFixedHeight(TwipsToPixels(240));
    cmdSelectAll = Named(new QPushButton(QStringLiteral("Select..."), page), "cmdSelectAll");
    cmdCancelRead = Named(new QPushButton(QStringLiteral("Cancel Read"), page), "cmdCancelRead");
    cmdInstallNow = Named(new QPushButton(QStringLiteral("I&nstall Now"), page), "cmdInstallNow");
    cmdInstallNow->setToolTip(QStringLiteral("Install the selected fonts without the remaining steps"));
    cmdInstallNow->setEnabled(false);
    auto* legendIcon = new QLabel(page);
    legendIcon->setPixmap(FontKindIcon(KindTrueType).pixmap(16, 16));
    lblLegend = MakeLabel(ForLinux(QStringLiteral("are currently installed in Windows.")), "lblLegend", page);

    TabStrip1 = Named(new QTabWidget(page), "TabStrip1");
    auto* text = new QWidget;
    pnlSample = Named(new QPlainTextEdit(QStringLiteral("Sample Text"), text), "pnlSample");
    sampleMarks_ = new MissingCharacterMarks(pnlSample->document());
    scrSize = Named(new QScrollBar(Qt::Horizontal, text), "scrSize");
    scrSize->setRange(8, 72);
    scrSize->setValue(24);
    scrSize->setToolTip(QStringLiteral("Change font size"));
    auto* tv = new QVBoxLayout(text);
    tv->addWidget(pnlSample, 1);
    tv->addWidget(scrSize);
    auto* chars = new QWidget;
    pnlCharacter = Named(new QLabel(chars), "pnlCharacter");
    pnlCharacter->setAlignment(Qt::AlignCenter);
    pnlCharacter->setMinimumHeight(TwipsToPixels(1200));
    // The picture follows the panel's size, never the other way round.
    pnlCharacter->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    pnlCharacter->setStyleSheet(QStringLiteral("background: white; color: black;"));
    scrAnsi = Named(new QScrollBar(Qt::Horizontal, chars), "scrAnsi");
    scrAnsi->setRange(33, 255);
    scrAnsi->setValue(65);
    scrAnsi->setToolTip(QStringLiteral("Scroll through character set"));
    lblAnsi = MakeLabel(QStringLiteral("65"), "lblAnsi", chars);
    lblAnsi->setFixedWidth(TwipsToPixels(600));
    auto* cg = new QGridLayout(chars);
    cg->addWidget(pnlCharacter, 0, 0, 1, 2);
    cg->addWidget(scrAnsi, 1, 0);
    cg->addWidget(lblAnsi, 1, 1);
    txtInfo = Named(new QPlainTextEdit, "txtInfo");
    txtInfo->setReadOnly(true);
    TabStrip1->addTab(text, QStringLiteral("&Text"));
    TabStrip1->addTab(chars, QStringLiteral("&Characters"));
    TabStrip1->addTab(txtInfo, QStringLiteral("&Information"));
    TabStrip1->setMinimumHeight(TwipsToPixels(2200));

    mnuContext = new QMenu(this);
    mnuContextAll = mnuContext->addAction(QStringLiteral("&All"));
    mnuContextFamily = mnuContext->addAction(QString());
    mnuContextRegular = mnuContext->addAction(QStringLiteral("&Regular Fonts"));
    mnuContextBold = mnuContext->addAction(QStringLiteral("&Bold Fonts"));
    mnuContextItalic = mnuContext->addAction(QStringLiteral("&Italic Fonts"));
    mnuContextBoldItalic = mnuContext->addAction(QStringLiteral("B&oldItalic Fonts"));
    mnuContext->addSeparator();
    mnuContextNone = mnuContext->addAction(QStringLiteral("&None"));
    const QList<QPair<QAction*, QString>> items = {
        {mnuContextAll, "ALL"}, {mnuContextRegular, "REGULAR"}, {mnuContextBold, "BOLD"},
        {mnuContextItalic, "ITALIC"}, {mnuContextBoldItalic, "BOLDITALIC"}, {mnuContextNone, "NONE"}};
    for (const auto& item : items)
        connect(item.first, &QAction::triggered, this, [this, style = item.second] { SelectFonts(style); });
    connect(mnuContextFamily, &QAction::triggered, this,
            [this] { SelectFonts(mnuContextFamily->text().remove('&')); });

    auto* left = new QVBoxLayout;
    left->addWidget(drivelist);
    left->addWidget(dirlist, 1);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(MakeLabel(QStringLiteral("Filter"), "lblFilter", page));
    filterRow->addWidget(cmbFilter, 1);
    left->addLayout(filterRow);
    auto* legend = new QHBoxLayout;
    legend->addWidget(MakeLabel(QStringLiteral("Fonts with a "), "lblLegend1", page));
    legend->addWidget(legendIcon);
    legend->addWidget(lblLegend, 1);
    left->addLayout(legend);

    auto* middle = new QGridLayout;
    middle->addWidget(lblFontNames, 0, 0, 1, 4);
    middle->addWidget(ListView1, 1, 0, 1, 4);
    middle->addWidget(lblCount, 2, 0);
    middle->addWidget(cmdSelectAll, 2, 1);
    middle->addWidget(cmdCancelRead, 2, 2);
    middle->addWidget(cmdInstallNow, 2, 3);
    middle->addWidget(lblReading, 3, 0);
    middle->addWidget(gaugeWell, 3, 1, 1, 3);
    middle->setColumnStretch(0, 1);

    auto* row = new QHBoxLayout;
    row->addLayout(left, 2);
    row->addLayout(middle, 3);
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->addLayout(row, 3);
    v->addWidget(TabStrip1, 2);

    connect(dirlist, &FolderTree::folderChanged, this, [this] { dirlist_Change(); });
    connect(drivelist, &DriveList::driveChosen, this, [this] { drivelist_Change(); });
    connect(cmbFilter, QOverload<int>::of(&QComboBox::activated), this, [this] { cmbFilter_Click(); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ListView1_ItemClick(item); });
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        // Keyboard moves preview too; a click has already run ItemClick.
        if (item && QApplication::mouseButtons() == Qt::NoButton && !Reading)
            ListView1_ItemClick(item);
    });
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        for (QTreeWidgetItem* row : Rows())
            if (const int slot = SlotOf(row))
                Fonts[size_t(slot)].Selected = row->isSelected();
        ShowSelectionCount();
        RebuildChanges();
        cmdInstallNow->setEnabled(!Reading && SelectedRowCount() > 0);
    });
    connect(cmdInstallNow, &QPushButton::clicked, this, [this] { cmdInstallNow_Click(); });
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int c) { ListView1_ColumnClick(c); });
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        ListView1_RightClick(ListView1->itemAt(pos), ListView1->viewport()->mapToGlobal(pos));
    });
    connect(cmdSelectAll, &QPushButton::clicked, this, [this] { cmdSelectAll_Click(); });
    connect(cmdCancelRead, &QPushButton::clicked, this, [this] { cmdCancelRead_Click(); });
    connect(TabStrip1, &QTabWidget::currentChanged, this, [this] { TabStrip1_Click(); });
    connect(scrSize, &QScrollBar::valueChanged, this, [this] { scrSize_Change(); });
    connect(scrAnsi, &QScrollBar::valueChanged, this, [this] { scrAnsi_Change(); });
    pnlCharacter->installEventFilter(this);
    return page;
}

QWidget* InstallWizard::CreateTitleStep()
{
    choice_ = new PrintChoicePanel;
    choice_->setObjectName(QStringLiteral("picTitle"));
    optCatalog = choice_->findChild<QRadioButton*>(QStringLiteral("catalogRadio"));
    optSheets = choice_->findChild<QRadioButton*>(QStringLiteral("sheetsRadio"));
    cmbStyle = choice_->findChild<QComboBox*>(QStringLiteral("layoutBox"));
    txtTitle = choice_->findChild<QLineEdit*>(QStringLiteral("titleEdit"));
    txtTitle->setText(QStringLiteral("enter your CD-ROM title here!"));
    chkUpper = choice_->findChild<QCheckBox*>(QStringLiteral("upperCaseCheck"));
    const std::array<QCheckBox*, 8> boxes = SheetBoxes();
    chkSpec1 = boxes[0], chkSpec2 = boxes[1], chkSpec3 = boxes[2], chkSpec4 = boxes[3];
    chkKeyboard = boxes[4], chkANSI = boxes[5], chkANSI2 = boxes[6], chk72PointSetI = boxes[7];
    pnlPic = choice_->findChild<QFrame*>(QStringLiteral("pictureFrame"));
    imgPic = choice_->findChild<LayoutPicture*>(QStringLiteral("layoutPicture"));

    connect(optCatalog, &QRadioButton::clicked, this, [this] { optCatalog_Click(); });
    connect(optSheets, &QRadioButton::clicked, this, [this] { optSheets_Click(); });
    connect(cmbStyle, QOverload<int>::of(&QComboBox::activated), this, [this] { cmbStyle_Click(); });
    for (QCheckBox* box : boxes)
        connect(box, &QCheckBox::clicked, this, [this, box] { chkSheet_Click(box); });
    connect(chkUpper, &QCheckBox::clicked, this, [this] { chkUpper_Click(); });
    connect(txtTitle, &QLineEdit::textChanged, this, [this] { UpdatePicture(); });
    txtTitle->installEventFilter(this);
    return choice_;
}

QWidget* InstallWizard::CreateGoStep()
{
    auto* page = Named(new QWidget, "picGo");
    cmdGo = Named(new QPushButton(page), "cmdGo");
    cmdGo->setMinimumHeight(TwipsToPixels(600));
    lblNumber = MakeLabel(QString(), "lblNumber", page);
    lblStatus = MakeLabel(QString(), "lblStatus", page);
    QWidget* well = MakeGaugeWell(page, &picGauge2);
    picGauge2->setObjectName(QStringLiteral("picGauge2"));
    picGauge2->setFixedHeight(TwipsToPixels(300));
    auto* v = new QVBoxLayout(page);
    v->addWidget(cmdGo, 0, Qt::AlignLeft);
    v->addWidget(lblNumber);
    v->addWidget(lblStatus);
    v->addWidget(well);
    v->addStretch();
    connect(cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    return page;
}

std::array<QCheckBox*, 8> InstallWizard::SheetBoxes() const
{
    static const char* const names[8] = {"specimenSheet1Check", "specimenSheet2Check", "specimenSheet3Check",
                                         "specimenSheet4Check", "keyboardChartCheck",  "ansiChartCheck",
                                         "characterSetCheck",   "pointSet72Check"};
    std::array<QCheckBox*, 8> boxes{};
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = choice_->findChild<QCheckBox*>(QLatin1String(names[i]));
    return boxes;
}

// ---- Loading and steps ----------------------------------------------------------------------

void InstallWizard::Form_Load()
{
    const bool install = WizardMode != 2;
    cmbStyle->setCurrentIndex(0);

    for (const char* f : kFilters)
        cmbFilter->addItem(QString::fromLatin1(f));
    cmbFilter->setCurrentIndex(0);

    QString source = ReadIniString(QStringLiteral("CatalogWizard"), QStringLiteral("sourceDir"), QString(), IniFile);
    if (source.isEmpty() || !QFileInfo(source).isDir())
        source = QDir::homePath();
    const int drive = DriveIndexOf(drivelist->Drives(), source);
    dirlist->SetPath(source, drive >= 0 ? drivelist->Drives()[drive].rootPath : QString());
    drivelist->SetDriveOf(source);
    Step = 0;
    chkUpper->setChecked(ReadIniInt(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), 0, IniFile) != 0);

    if (install) {
        setWindowTitle(QStringLiteral("TrueType Installation Wizard"));
        LastStep = 4;
        txtDest->setText(QDir::toNativeSeparators(WinDir + "fonts"));
        lblDest->setText(ForLinux(QStringLiteral(
            "Your TrueType font files will be copied to the Windows 95 font directory and installed.")));
        lblINIChanges->setText(ForLinux(QStringLiteral("Changes made to Windows Registry:")));
        cmdCancelRead->setText(QStringLiteral("Cancel Read"));
        cmdCancelRead->hide();
        lblNumber->setText(QStringLiteral("0 fonts to install"));
        lblStatus->setText(QStringLiteral("Ready!"));
    } else {
        setWindowTitle(QStringLiteral("CD-ROM Font Wizard"));
        LastStep = 3;
        txtTitle->setText(ReadIniString(QStringLiteral("Inventory"), QStringLiteral("Title"),
                                        QStringLiteral("enter your CD-ROM title here!"), IniFile));
        cmdCancelRead->setText(QStringLiteral("Options"));
        cmdCancelRead->show();
        cmdInstallNow->hide();
        optCatalog->setChecked(true);
        optCatalog_Click();
    }
    gaugeWell->hide();
    lblReading->hide();
    TabStrip1->setCurrentIndex(0);
    ResetSamplePanels();
    scrAnsi_Change();
    AdvanceStep(true);
    AdvanceStep(false);
    CentreForm(this);
    Loaded = true;
    QTimer::singleShot(0, this, [this] { DrawWizardPicture(picWizard); });
}

int InstallWizard::HelpContext() const
{
    return WizardMode == 2 ? 725 : 610;
}

void InstallWizard::AdvanceStep(bool forward)
{
    Step = qBound(0, Step + (forward ? 1 : -1), LastStep);
    cmdPrev->setEnabled(Step != 0);
    cmdNext->setEnabled(Step != LastStep);
    const bool install = WizardMode != 2;
    QWidget* const pages[2][5] = {{picWelcome, picFiles, picDest, picChanges, picGo},
                                  {picWelcome, picFiles, picTitle, picGo, nullptr}};
    steps->setCurrentWidget(pages[install ? 0 : 1][Step]);
    lblMsg->setText(ForLinux(QString::fromLatin1(kStepText[install ? 0 : 1][Step])));
    if (Step == 1 && CurrentFolder.isEmpty())
        dirlist_Change();
    if (install && Step == 3) {
        RebuildChanges();
        lblINIChanges->setText(ForLinux(QStringLiteral("Changes to Windows Registry")));
    }
    if (!install && Step == 2)
        UpdatePicture();
    if (Step == LastStep)
        UpdateGoStep();
}

void InstallWizard::cmdNext_Click()
{
    AdvanceStep(true);
}

void InstallWizard::cmdPrev_Click()
{
    AdvanceStep(false);
}

void InstallWizard::cmdHelp_Click()
{
    Sys().help->ShowContext(HelpFile, HelpContext());
}

void InstallWizard::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1)
        cmdHelp_Click();
    QDialog::keyReleaseEvent(event);
}

void InstallWizard::cmdExit_Click()
{
    close();
}

void InstallWizard::closeEvent(QCloseEvent* event)
{
    if (Reading) {
        // The scan ends itself at the next file; close when it has.
        CancelRead = true;
        event->ignore();
        QTimer::singleShot(50, this, [this] { close(); });
        return;
    }
    Form_Unload();
    QDialog::closeEvent(event);
}

void InstallWizard::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    QCoreApplication::processEvents();
    RemovePreviewFont();
    RemovePrintFonts();
    DeleteTempFontFiles();
    IniBatch batch(IniFile);
    if (WizardMode == 2)
        WriteIniString(QStringLiteral("Inventory"), QStringLiteral("Title"), txtTitle->text(), IniFile);
    WriteIniString(QStringLiteral("catalogWizard"), QStringLiteral("sourceDir"), dirlist->Path(), IniFile);
    WriteIniString(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), chkUpper->isChecked() ? "1" : "0",
                   IniFile);
}

void InstallWizard::cmdCancelRead_Click()
{
    if (Reading) {
        CancelRead = true;
        return;
    }
    if (ShowOptions) {
        ShowOptions(this);
        return;
    }
    // The kinds of installed font the main list shows are not this window's business.
    OptionsDialog options(this);
    options.chkTrueType->setEnabled(false);
    options.chkATM->setEnabled(false);
    options.chkDevice->setEnabled(false);
    options.exec();
}

// ---- The scan -------------------------------------------------------------------------------

void InstallWizard::drivelist_Change()
{
    FollowDrive(drivelist, dirlist);
}

void InstallWizard::cmbFilter_Click()
{
    if (Loaded && !Reading)
        dirlist_Change();
}

void InstallWizard::dirlist_Change()
{
    if (Reading) {
        // The tree keeps the keyboard while a folder is read: moving on in it
        // ends that reading and reads the folder moved to.
        CancelRead = true;
        rescanPending_ = true;
        return;
    }
    if (Loaded)
        ScanFolder();
    else
        ListView1->clear();
    if (ListView1->topLevelItemCount() == 0) {
        auto* row = new QTreeWidgetItem(ListView1, {QStringLiteral("no font files")});
        row->setData(0, Qt::UserRole, 0);
        lblFontNames->setText(QStringLiteral("Font Names"));
        TempFontFiles = false;
    }
}

void InstallWizard::EnableScanControls(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{drivelist, cmdHelp, cmdExit, cmdNext, cmdPrev,
                                                      cmdSelectAll, cmbFilter})
        w->setEnabled(enabled);
    cmdInstallNow->setEnabled(enabled && SelectedRowCount() > 0);
    if (enabled) {
        cmdPrev->setEnabled(Step != 0);
        cmdNext->setEnabled(Step != LastStep);
    }
}

void InstallWizard::ScanFolder()
{
    Reading = true;
    lblFontNames->setText(QStringLiteral("Font Names"));
    EnableScanControls(false);
    cmdCancelRead->setText(QStringLiteral("Cancel Read"));
    cmdCancelRead->show();
    cmdCancelRead->setEnabled(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    FilterSet = QString::fromLatin1(kFilterSets[qBound(0, cmbFilter->currentIndex(), 6)]);
    RemovePreviewFont();
    lblReading->setText(QStringLiteral("Changing directory..."));
    lblReading->show();
    DeleteTempFontFiles();
    lblCount->setText(QStringLiteral("No fonts selected."));
    lstfiles->clear();
    lstChanges->clear();
    lblReading->setText(QStringLiteral("Reading directory..."));
    gaugeWell->show();
    DrawWindowGauge(picGauge, 0);

    QString folder = dirlist->Path();
    if (!folder.endsWith('/'))
        folder += '/';
    CurrentFolder = folder;
    const QStringList names = FontFileNames(folder);
    lstfiles->addItems(names);
    Fonts.assign(size_t(names.size()) + 1, FontFileRecord());

    ListView1->setSortingEnabled(false);
    ListView1->clear();
    const QString fotFolder = Sys().system->ProgramFolder();
    QDir().mkpath(fotFolder);
    const QIcon icons[2] = {FontKindIcon(KindNotInstalled), FontKindIcon(KindTrueType)};
    QList<QTreeWidgetItem*> rows;
    int count = 0;
    int shown = -1;
    for (int i = 0; i < names.size(); ++i) {
        const int percent = int(std::lround(double(i) / names.size() * 100));
        if (percent % 10 == 0 && percent != shown) {
            shown = percent;
            DrawWindowGauge(picGauge, percent);
        }
        QCoreApplication::processEvents();
        // A collection gives one row per face, a variable font one per named
        // instance, all naming its one file.
        for (const int faceIndex : FileStyleFaces(folder + names[i])) {
            FontFileRecord record;
            if (ScanFontFile(folder, names[i], fotFolder, record, faceIndex) != ScanResult::Read)
                continue;
            ++count;
            if (size_t(count) >= Fonts.size())
                Fonts.resize(size_t(count) + 1);
            Fonts[size_t(count)] = record;
            const QString face = record.FaceName;
            if (FilterSet.isEmpty() || (!face.isEmpty() && FilterSet.contains(face.at(0).toUpper()))) {
                auto* row = new FontRow(QStringList{face, record.FileName, record.SizeText});
                row->setData(0, Qt::UserRole, count);
                row->setIcon(0, icons[record.AlreadyInstalled ? 1 : 0]);
                rows << row;
            }
        }
        if (CancelRead) {
            CancelRead = false;
            break;
        }
    }
    Fonts.resize(size_t(count) + 1);
    ListView1->addTopLevelItems(rows);
    DrawWindowGauge(picGauge, 100);
    if (!rows.isEmpty()) {
        lblFontNames->setText(QString::number(rows.size()) + " Font Names");
        ListView1->setSortingEnabled(true);
        ListView1->sortByColumn(0, Qt::AscendingOrder);
        TempFontFiles = true;
    }
    // Files read but filtered out keep their .fot until the next scan.
    if (count > 0)
        TempFontFiles = true;

    gaugeWell->hide();
    lblReading->hide();
    EnableScanControls(true);
    if (WizardMode == 2) {
        cmdCancelRead->setText(QStringLiteral("Options"));
        cmdCancelRead->show();
    } else {
        cmdCancelRead->setText(QStringLiteral("Cancel Read"));
        cmdCancelRead->hide();
    }
    QApplication::restoreOverrideCursor();
    dirlist->Refresh();
    Reading = false;
    if (rescanPending_) {
        rescanPending_ = false;
        CancelRead = false;
        dirlist_Change();
    }
}

void InstallWizard::ShowFiles(const QString& folder, const QStringList& selectedFiles)
{
    const int drive = DriveIndexOf(drivelist->Drives(), folder);
    dirlist->SetPath(folder, drive >= 0 ? drivelist->Drives()[drive].rootPath : QString());
    drivelist->SetDriveOf(folder);
    CurrentFolder.clear();
    while (Step < 1)
        AdvanceStep(true);
    if (Step == 1)
        dirlist_Change();
    QSet<QString> wanted;
    for (const QString& file : selectedFiles)
        wanted.insert(QFileInfo(file).fileName());
    QTreeWidgetItem* first = nullptr;
    ListView1->clearSelection();
    QSet<QString> shown;
    for (QTreeWidgetItem* row : Rows()) {
        const int slot = SlotOf(row);
        const QString name = slot > 0 ? FileNamePart(Fonts[size_t(slot)].FilePath) : QString();
        if (slot <= 0 || (!wanted.isEmpty() && !wanted.contains(name)))
            continue;
        shown.insert(name);
        row->setSelected(true);
        if (!first)
            first = row;
    }
    QStringList missing;
    for (const QString& name : wanted)
        if (!shown.contains(name))
            missing << name;
    if (!missing.isEmpty()) {
        missing.sort();
        Sys().messages->MsgBox(QStringLiteral("This wizard installs TrueType and OpenType font files (.ttf, .otf, .ttc, .otc). "
                                              "It cannot read or install:\n\n")
                                   + missing.join('\n'),
                               vbInformation, QStringLiteral("Glyphwick"));
    }
    if (first) {
        ListView1->setCurrentItem(first, 0, QItemSelectionModel::NoUpdate);
        ListView1->scrollToItem(first);
        ListView1_ItemClick(first);
        ListView1->setFocus();
        if (WizardMode != 2)
            cmdInstallNow->setDefault(true);
    }
}

void InstallWizard::cmdInstallNow_Click()
{
    if (WizardMode == 2 || SelectedRowCount() == 0)
        return;
    while (Step < LastStep)
        AdvanceStep(true);
    cmdGo_Click();
}

void InstallWizard::DeleteTempFontFiles()
{
    for (FontFileRecord& font : Fonts) {
        if (!font.FotPath.isEmpty()) {
            QFile::remove(font.FotPath);
            font.FotPath.clear();
        }
    }
}

// ---- Preview --------------------------------------------------------------------------------

int InstallWizard::SlotOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

QList<QTreeWidgetItem*> InstallWizard::Rows() const
{
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        rows << ListView1->topLevelItem(i);
    return rows;
}

int InstallWizard::SelectedRowCount() const
{
    int n = 0;
    for (QTreeWidgetItem* row : Rows())
        n += row->isSelected() && SlotOf(row) > 0;
    return n;
}

void InstallWizard::RemovePreviewFont()
{
    if (PreviewFontFile.isEmpty())
        return;
    Sys().fonts->RemoveFontResource(PreviewFontFile);
    PreviewFontFile.clear();
    previewSlot_ = 0;
    Sys().fonts->BroadcastFontChange();
    ResetSamplePanels();
}

void InstallWizard::ResetSamplePanels()
{
    // Nothing previewed: the window's own font, with nothing to grey out.
    previewElf_ = EnumLogFont();
    previewFont_ = font();
    previewFont_.setPointSize(scrSize->value());
    pnlSample->setFont(previewFont_);
    sampleMarks_->SetFont(previewElf_);
    DrawCharacter();
}

void InstallWizard::ListView1_ItemClick(QTreeWidgetItem* item)
{
    RemovePreviewFont();
    const int slot = SlotOf(item);
    if (slot <= 0 || size_t(slot) >= Fonts.size())
        return;
    FontFileRecord& font = Fonts[size_t(slot)];
    if (font.FaceName.trimmed().compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0) {
        Sys().messages->MsgBox(QStringLiteral("The name of this font could not be determined. The file may not be "
                                              "a TrueType font file. It cannot be installed or previewed."),
                               vbInformation, kTitle);
        return;
    }
    if (!QFileInfo(font.FilePath).isFile()) {
        Sys().messages->MsgBox("The font file " + QDir::toNativeSeparators(font.FilePath)
                                   + " is no longer there. It cannot be installed or previewed.",
                               vbInformation, kTitle);
        return;
    }
    // The .fot files are gone after an installation; the preview makes its own again.
    if (font.FotPath.isEmpty() || !QFileInfo::exists(font.FotPath)) {
        const QString fot = UniqueFileName(Sys().system->ProgramFolder() + '/' + font.FileName.left(font.FileName.size() - 4) + ".fot");
        if (Sys().fonts->CreateScalableFontResource(0, fot, font.FilePath, QString(), font.FaceIndex) != 0) {
            font.FotPath = fot;
            TempFontFiles = true;
        }
    }
    if (Sys().fonts->AddFontResource(font.FotPath) > 0) {
        PreviewFontFile = font.FotPath;
        previewSlot_ = slot;
        Sys().fonts->BroadcastFontChange();
    }

    FontNameInfo info;
    ReadNameTable(font.FilePath, info, font.FaceIndex);
    const QString two = QStringLiteral("\n\n");
    txtInfo->setPlainText("Version: " + info.version + two + "Copyright: " + info.copyright + two
                          + "Trademark: " + info.trademark + two + "Font Family: " + info.family + "\n"
                          + "Font Subfamily: " + info.subfamily + "\n" + "Full Font Name: " + info.fullName
                          + "\n" + "Font Identifier: " + info.uniqueId);

    // The file's own style and character map: nothing of another font is shown.
    SetLogFontName(previewElf_.lfFaceName, sizeof previewElf_.lfFaceName, font.StyleName);
    SetLogFontName(previewElf_.elfFullName, sizeof previewElf_.elfFullName, font.FaceName);
    SetLogFontName(previewElf_.elfStyle, sizeof previewElf_.elfStyle, info.subfamily);
    const QString upper = font.FaceName.toUpper();
    previewElf_.lfWeight = ContainsWord(upper, "BOLD") ? 700 : 400;
    previewElf_.lfItalic = ContainsWord(upper, "ITALIC") || ContainsWord(upper, "OBLIQUE");
    previewElf_.filePath = font.FilePath;
    previewElf_.faceIndex = font.FaceIndex;
    previewFont_ = ExactFont(previewElf_, 0);
    previewFont_.setPointSize(scrSize->value());
    pnlSample->setFont(previewFont_);
    sampleMarks_->SetFont(previewElf_);
    DrawCharacter();
    ShowSelectionCount();
}

void InstallWizard::DrawCharacter()
{
    const int code = scrAnsi->value();
    const QString character = FromCp1252(QByteArray(1, char(code)));
    const int size = qMax(12, pnlCharacter->height() * 2 / 3);
    QPixmap picture(pnlCharacter->size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::white);
    if (!previewElf_.filePath.isEmpty() && !character.isEmpty()) {
        QFont font = previewFont_;
        font.setPixelSize(size);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF foot(pnlCharacter->width() / 2.0, (pnlCharacter->height() + size * 0.7) / 2.0);
        // A mark where the font itself has no glyph: never one borrowed from another font.
        if (FontDrawsCharacter(font, previewElf_.filePath, previewElf_.faceIndex, character.toUcs4().value(0)))
            DrawFontCharacter(p, previewElf_, font, foot, character, Qt::black, size);
        else
            DrawMissingMark(p, foot, size);
    }
    pnlCharacter->setPixmap(picture);
}

bool InstallWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pnlCharacter && event->type() == QEvent::Resize)
        DrawCharacter();
    if (watched == txtTitle && event->type() == QEvent::FocusIn)
        txtTitle_GotFocus();
    return QDialog::eventFilter(watched, event);
}

void InstallWizard::TabStrip1_Click()
{
    if (TabStrip1->currentIndex() == 1)
        DrawCharacter();
}

void InstallWizard::scrSize_Change()
{
    previewFont_.setPointSize(scrSize->value());
    pnlSample->setFont(previewFont_);
    sampleMarks_->rehighlight();
}

void InstallWizard::scrAnsi_Change()
{
    lblAnsi->setText(QString::number(scrAnsi->value()));
    DrawCharacter();
}

// ---- Selection ------------------------------------------------------------------------------

void InstallWizard::ShowSelectionCount()
{
    lblCount->setText(SelectionCountText(SelectedRowCount(), WizardMode != 2));
}

void InstallWizard::ListView1_ColumnClick(int column)
{
    ListView1->sortByColumn(column, Qt::AscendingOrder);
}

void InstallWizard::ListView1_RightClick(QTreeWidgetItem* item, const QPoint& globalPos)
{
    const int slot = SlotOf(item);
    if (slot <= 0 || Reading)
        return;
    mnuContextFamily->setText(Fonts[size_t(slot)].StyleName.trimmed());
    mnuContextFamily->setVisible(true);
    mnuContext->popup(globalPos);
}

void InstallWizard::cmdSelectAll_Click()
{
    if (Reading)
        return;
    mnuContextFamily->setVisible(false);
    mnuContext->popup(cmdSelectAll->mapToGlobal(QPoint(0, cmdSelectAll->height())));
}

namespace {

// Whether a row of the font list is one the selection menu's `style` takes.
bool SelectedBy(const QTreeWidgetItem* row, const QString& style)
{
    if (InstallWizard::SlotOf(row) <= 0)
        return false;
    const QString upper = row->text(0).toUpper();
    const bool bold = ContainsWord(upper, "BOLD");
    const bool italic = ContainsWord(upper, "ITALIC") || ContainsWord(upper, "OBLIQUE");
    if (style == QLatin1String("ALL"))
        return true;
    if (style == QLatin1String("NONE"))
        return false;
    if (style == QLatin1String("REGULAR"))
        return !bold && !italic;
    if (style == QLatin1String("BOLD"))
        return bold && !italic;
    if (style == QLatin1String("ITALIC"))
        return italic && !bold;
    if (style == QLatin1String("BOLDITALIC"))
        return bold && italic;
    return row->text(0).contains(style);
}

} // namespace

void InstallWizard::SelectFonts(const QString& style)
{
    const QSignalBlocker blocker(ListView1);
    // One selection of runs of rows: selecting row by row merges each into
    // the selection so far, seconds with thousands of fonts.
    QItemSelection selection;
    const QAbstractItemModel* model = ListView1->model();
    const int lastColumn = model->columnCount() - 1;
    const QList<QTreeWidgetItem*> rows = Rows();
    int count = 0;
    int runStart = -1;
    for (int i = 0; i <= rows.size(); ++i) {
        const bool take = i < rows.size() && SelectedBy(rows[i], style);
        if (take) {
            Fonts[size_t(SlotOf(rows[i]))].Selected = true;
            ++count;
        } else if (i < rows.size() && SlotOf(rows[i]) > 0) {
            Fonts[size_t(SlotOf(rows[i]))].Selected = false;
        }
        if (take && runStart < 0)
            runStart = i;
        if (!take && runStart >= 0) {
            selection.select(model->index(runStart, 0), model->index(i - 1, lastColumn));
            runStart = -1;
        }
    }
    ListView1->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    ListView1->viewport()->update();
    RebuildChanges();
    lblCount->setText((count == 0 ? QStringLiteral("No fonts") : count == 1 ? QStringLiteral("1 font")
                                                                             : QString::number(count) + " fonts")
                      + (WizardMode != 2 ? " to install" : " to print"));
    if (Step == LastStep)
        UpdateGoStep();
}

} // namespace gw
