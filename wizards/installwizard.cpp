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
#include "wizards/fontrow.h"
#include "wizards/printrunner.h"

namespace gw {

namespace {

const QString kTitle = QStringLiteral("Glyphwick");

const char* const kFilters[] = {"All files", "A-D, Numbers", "E-H", "I-L", "M-P", "Q-T", "U-Z"};
const char* const kFilterSets[] = {"", "ABCD1234567890", "EFGH", "IJKL", "MNOP", "QRST", "UVWXYZ"};

// The text above each step: installing, then printing.
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
    CanvasPainter p(box);
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

InstallWizard::InstallWizard(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode)
{
    setObjectName(QStringLiteral("InstallWizard"));
    ShowModal = [](QDialog* dialog) { dialog->exec(); };
    CreateControls();
    SetUpForMode();
}

InstallWizard::~InstallWizard()
{
    CleanUpAndSaveSettings();
}

void InstallWizard::CreateControls()
{
    picture_ = Named(new PictureBox(this), "picture");
    picture_->setFixedWidth(TwipsToPixels(1800));
    stepTextLabel_ = MakeLabel(QString(), "stepTextLabel", this);
    stepTextLabel_->setMinimumHeight(TwipsToPixels(900));
    stepTextLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    pages_ = Named(new QStackedWidget(this), "pages");
    welcomePage_ = Named(new QWidget, "welcomePage");
    filesPage_ = CreateFilesStep();
    destinationPage_ = Named(new QWidget, "destinationPage");
    {
        auto* v = new QVBoxLayout(destinationPage_);
        destinationLabel_ = MakeLabel(QString(), "destinationLabel", destinationPage_);
        destinationEdit_ = Named(new QLineEdit(destinationPage_), "destinationEdit");
        destinationEdit_->setReadOnly(true);
        v->addWidget(destinationLabel_);
        v->addWidget(destinationEdit_);
        v->addStretch();
    }
    changesPage_ = Named(new QWidget, "changesPage");
    {
        auto* g = new QGridLayout(changesPage_);
        changesLabel_ = MakeLabel(QString(), "changesLabel", changesPage_);
        changesList_ = Named(new QListWidget(changesPage_), "changesList");
        copyChangesButton_ = Named(new QPushButton(QStringLiteral("&Copy to clipboard"), changesPage_), "copyChangesButton");
        g->addWidget(changesLabel_, 0, 0, 1, 2);
        g->addWidget(changesList_, 1, 0, 1, 2);
        g->addWidget(copyChangesButton_, 2, 1);
        connect(copyChangesButton_, &QPushButton::clicked, this, [this] { CopyChangesToClipboard(); });
    }
    printChoicePage_ = CreatePrintChoiceStep();
    goPage_ = CreateGoStep();
    for (QWidget* w : {welcomePage_, filesPage_, destinationPage_, changesPage_, printChoicePage_, goPage_})
        pages_->addWidget(w);

    helpButton_ = Named(new QPushButton(QStringLiteral("&Help"), this), "helpButton");
    closeButton_ = Named(new QPushButton(QStringLiteral("&Close"), this), "closeButton");
    previousButton_ = Named(new QPushButton(QStringLiteral("<< &Previous"), this), "previousButton");
    nextButton_ = Named(new QPushButton(QStringLiteral("&Next >>"), this), "nextButton");
    connect(helpButton_, &QPushButton::clicked, this, [this] { ShowHelp(); });
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(previousButton_, &QPushButton::clicked, this, [this] { GoToPreviousStep(); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { GoToNextStep(); });

    auto* right = new QVBoxLayout;
    right->addWidget(stepTextLabel_);
    right->addWidget(pages_, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(picture_);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(helpButton_);
    buttons->addWidget(closeButton_);
    buttons->addStretch();
    buttons->addWidget(previousButton_);
    buttons->addWidget(nextButton_);
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
    auto* page = Named(new QWidget, "filesPage");
    driveList_ = Named(new DriveList(page), "driveList");
    folderTree_ = Named(new FolderTree(page), "folderTree");
    filterBox_ = Named(new QComboBox(page), "filterBox");
    fontNamesLabel_ = MakeLabel(QStringLiteral("Font Names"), "fontNamesLabel", page);
    fontList_ = MakeFontFileList(page, QStringLiteral("fontList"));
    fontList_->setColumnWidth(0, TwipsToPixels(2900));
    fontList_->setColumnWidth(1, TwipsToPixels(1900));
    selectionCountLabel_ = MakeLabel(QStringLiteral("No fonts selected."), "selectionCountLabel", page);
    readingLabel_ = MakeLabel(QString(), "readingLabel", page);
    readingGaugeWell_ = MakeGaugeWell(page, &readingGauge_);
    readingGauge_->setObjectName(QStringLiteral("readingGauge"));
    readingGauge_->setFixedHeight(TwipsToPixels(240));
    selectButton_ = Named(new QPushButton(QStringLiteral("Select..."), page), "selectButton");
    cancelReadButton_ = Named(new QPushButton(QStringLiteral("Cancel Read"), page), "cancelReadButton");
    installNowButton_ = Named(new QPushButton(QStringLiteral("I&nstall Now"), page), "installNowButton");
    installNowButton_->setToolTip(QStringLiteral("Install the selected fonts without the remaining steps"));
    installNowButton_->setEnabled(false);
    auto* legendIcon = new QLabel(page);
    legendIcon->setPixmap(FontKindIcon(KindTrueType).pixmap(16, 16));
    legendLabel_ = MakeLabel(ForLinux(QStringLiteral("are currently installed in Windows.")), "legendLabel", page);

    previewTabs_ = Named(new QTabWidget(page), "previewTabs");
    auto* text = new QWidget;
    sampleEdit_ = Named(new QPlainTextEdit(QStringLiteral("Sample Text"), text), "sampleEdit");
    sampleMarks_ = new MissingCharacterMarks(sampleEdit_->document());
    sizeSlider_ = Named(new QScrollBar(Qt::Horizontal, text), "sizeSlider");
    sizeSlider_->setRange(8, 72);
    sizeSlider_->setValue(24);
    sizeSlider_->setToolTip(QStringLiteral("Change font size"));
    auto* tv = new QVBoxLayout(text);
    tv->addWidget(sampleEdit_, 1);
    tv->addWidget(sizeSlider_);
    auto* chars = new QWidget;
    characterLabel_ = Named(new QLabel(chars), "characterLabel");
    characterLabel_->setAlignment(Qt::AlignCenter);
    characterLabel_->setMinimumHeight(TwipsToPixels(1200));
    // The picture follows the panel's size, never the other way round.
    characterLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    characterLabel_->setStyleSheet(QStringLiteral("background: white; color: black;"));
    characterSlider_ = Named(new QScrollBar(Qt::Horizontal, chars), "characterSlider");
    characterSlider_->setRange(33, 255);
    characterSlider_->setValue(65);
    characterSlider_->setToolTip(QStringLiteral("Scroll through character set"));
    characterCodeLabel_ = MakeLabel(QStringLiteral("65"), "characterCodeLabel", chars);
    characterCodeLabel_->setFixedWidth(TwipsToPixels(600));
    auto* cg = new QGridLayout(chars);
    cg->addWidget(characterLabel_, 0, 0, 1, 2);
    cg->addWidget(characterSlider_, 1, 0);
    cg->addWidget(characterCodeLabel_, 1, 1);
    infoEdit_ = Named(new QPlainTextEdit, "infoEdit");
    infoEdit_->setReadOnly(true);
    previewTabs_->addTab(text, QStringLiteral("&Text"));
    previewTabs_->addTab(chars, QStringLiteral("&Characters"));
    previewTabs_->addTab(infoEdit_, QStringLiteral("&Information"));
    previewTabs_->setMinimumHeight(TwipsToPixels(2200));

    selectMenu_ = new QMenu(this);
    selectMenu_->setObjectName(QStringLiteral("selectMenu"));
    selectAllAction_ = selectMenu_->addAction(QStringLiteral("&All"));
    selectFamilyAction_ = selectMenu_->addAction(QString());
    selectRegularAction_ = selectMenu_->addAction(QStringLiteral("&Regular Fonts"));
    selectBoldAction_ = selectMenu_->addAction(QStringLiteral("&Bold Fonts"));
    selectItalicAction_ = selectMenu_->addAction(QStringLiteral("&Italic Fonts"));
    selectBoldItalicAction_ = selectMenu_->addAction(QStringLiteral("B&oldItalic Fonts"));
    selectMenu_->addSeparator();
    selectNoneAction_ = selectMenu_->addAction(QStringLiteral("&None"));
    const QList<QPair<QAction*, const char*>> names = {
        {selectAllAction_, "selectAllAction"}, {selectFamilyAction_, "selectFamilyAction"},
        {selectRegularAction_, "selectRegularAction"}, {selectBoldAction_, "selectBoldAction"},
        {selectItalicAction_, "selectItalicAction"}, {selectBoldItalicAction_, "selectBoldItalicAction"},
        {selectNoneAction_, "selectNoneAction"}};
    for (const auto& name : names)
        name.first->setObjectName(QLatin1String(name.second));
    const QList<QPair<QAction*, QString>> items = {
        {selectAllAction_, "ALL"}, {selectRegularAction_, "REGULAR"}, {selectBoldAction_, "BOLD"},
        {selectItalicAction_, "ITALIC"}, {selectBoldItalicAction_, "BOLDITALIC"}, {selectNoneAction_, "NONE"}};
    for (const auto& item : items)
        connect(item.first, &QAction::triggered, this, [this, style = item.second] { SelectFonts(style); });
    connect(selectFamilyAction_, &QAction::triggered, this,
            [this] { SelectFonts(selectFamilyAction_->text().remove('&')); });

    auto* left = new QVBoxLayout;
    left->addWidget(driveList_);
    left->addWidget(folderTree_, 1);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(MakeLabel(QStringLiteral("Filter"), "filterLabel", page));
    filterRow->addWidget(filterBox_, 1);
    left->addLayout(filterRow);
    auto* legend = new QHBoxLayout;
    legend->addWidget(MakeLabel(QStringLiteral("Fonts with a "), "legendLeadLabel", page));
    legend->addWidget(legendIcon);
    legend->addWidget(legendLabel_, 1);
    left->addLayout(legend);

    auto* middle = new QGridLayout;
    middle->addWidget(fontNamesLabel_, 0, 0, 1, 4);
    middle->addWidget(fontList_, 1, 0, 1, 4);
    middle->addWidget(selectionCountLabel_, 2, 0);
    middle->addWidget(selectButton_, 2, 1);
    middle->addWidget(cancelReadButton_, 2, 2);
    middle->addWidget(installNowButton_, 2, 3);
    middle->addWidget(readingLabel_, 3, 0);
    middle->addWidget(readingGaugeWell_, 3, 1, 1, 3);
    middle->setColumnStretch(0, 1);

    auto* row = new QHBoxLayout;
    row->addLayout(left, 2);
    row->addLayout(middle, 3);
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->addLayout(row, 3);
    v->addWidget(previewTabs_, 2);

    connect(folderTree_, &FolderTree::folderChanged, this, [this] { ReadChosenFolder(); });
    connect(driveList_, &DriveList::driveChosen, this, [this] { FollowChosenDrive(); });
    connect(filterBox_, QOverload<int>::of(&QComboBox::activated), this, [this] { ApplyFilter(); });
    connect(fontList_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { PreviewFont(item); });
    connect(fontList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        // Keyboard moves preview too; a click has already previewed.
        if (item && QApplication::mouseButtons() == Qt::NoButton && !reading_)
            PreviewFont(item);
    });
    connect(fontList_, &QTreeWidget::itemSelectionChanged, this, [this] { ShowSelectionCount(SelectedRowCount()); });
    connect(installNowButton_, &QPushButton::clicked, this, [this] { InstallNow(); });
    connect(fontList_->header(), &QHeaderView::sectionClicked, this, [this](int c) { SortByColumn(c); });
    connect(fontList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        ShowRowMenu(fontList_->itemAt(pos), fontList_->viewport()->mapToGlobal(pos));
    });
    connect(selectButton_, &QPushButton::clicked, this, [this] { ShowSelectMenu(); });
    connect(cancelReadButton_, &QPushButton::clicked, this, [this] { CancelReadOrShowOptions(); });
    connect(sizeSlider_, &QScrollBar::valueChanged, this, [this] { ApplySampleSize(); });
    connect(characterSlider_, &QScrollBar::valueChanged, this, [this] { ShowChosenCharacter(); });
    characterLabel_->installEventFilter(this);
    return page;
}

QWidget* InstallWizard::CreatePrintChoiceStep()
{
    choice_ = new PrintChoicePanel;
    choice_->setObjectName(QStringLiteral("printChoicePage"));
    choice_->SetTitle(QStringLiteral("enter your CD-ROM title here!"));

    connect(choice_, &PrintChoicePanel::catalogClicked, this, [this] { ChooseCatalog(); });
    connect(choice_, &PrintChoicePanel::sheetsClicked, this, [this] { ChooseSheets(); });
    connect(choice_, &PrintChoicePanel::layoutActivated, this, [this] { UpdatePicture(); });
    connect(choice_, &PrintChoicePanel::sheetClicked, this, [this] { UpdatePictureAndGoStep(); });
    connect(choice_, &PrintChoicePanel::upperCaseClicked, this, [this] { SaveUpperCaseChoice(); });
    connect(choice_, &PrintChoicePanel::titleEdited, this, [this] { UpdatePicture(); });
    // The whole title is selected whenever it gets the focus, to be typed over.
    connect(choice_, &PrintChoicePanel::titleFocused, this, [this] { choice_->SelectTitle(false); });
    return choice_;
}

QWidget* InstallWizard::CreateGoStep()
{
    auto* page = Named(new QWidget, "goPage");
    goButton_ = Named(new QPushButton(page), "goButton");
    goButton_->setMinimumHeight(TwipsToPixels(600));
    fontCountLabel_ = MakeLabel(QString(), "fontCountLabel", page);
    statusLabel_ = MakeLabel(QString(), "statusLabel", page);
    QWidget* well = MakeGaugeWell(page, &progressGauge_);
    progressGauge_->setObjectName(QStringLiteral("progressGauge"));
    progressGauge_->setFixedHeight(TwipsToPixels(300));
    auto* v = new QVBoxLayout(page);
    v->addWidget(goButton_, 0, Qt::AlignLeft);
    v->addWidget(fontCountLabel_);
    v->addWidget(statusLabel_);
    v->addWidget(well);
    v->addStretch();
    connect(goButton_, &QPushButton::clicked, this, [this] { InstallOrPrint(); });
    return page;
}

// ---- Loading and steps -----------------------------------------------------------------------

void InstallWizard::SetUpForMode()
{
    const bool install = Installs();
    for (const char* f : kFilters)
        filterBox_->addItem(QString::fromLatin1(f));
    filterBox_->setCurrentIndex(0);

    QString source = ReadIniString(QStringLiteral("CatalogWizard"), QStringLiteral("sourceDir"), QString(), IniFile);
    if (source.isEmpty() || !QFileInfo(source).isDir())
        source = QDir::homePath();
    ShowFolder(source, driveList_, folderTree_);
    step_ = 0;
    choice_->SetUpperCase(ReadIniInt(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), 0, IniFile) != 0);

    if (install) {
        setWindowTitle(QStringLiteral("TrueType Installation Wizard"));
        lastStep_ = 4;
        destinationEdit_->setText(QDir::toNativeSeparators(UserDataDir + "fonts"));
        destinationLabel_->setText(ForLinux(QStringLiteral(
            "Your TrueType font files will be copied to the Windows 95 font directory and installed.")));
        changesLabel_->setText(ForLinux(QStringLiteral("Changes made to Windows Registry:")));
        fontCountLabel_->setText(QStringLiteral("0 fonts to install"));
        statusLabel_->setText(QStringLiteral("Ready!"));
    } else {
        setWindowTitle(QStringLiteral("CD-ROM Font Wizard"));
        lastStep_ = 3;
        choice_->SetTitle(ReadIniString(QStringLiteral("Inventory"), QStringLiteral("Title"),
                                        QStringLiteral("enter your CD-ROM title here!"), IniFile));
        cancelReadButton_->setText(QStringLiteral("Options"));
        installNowButton_->hide();
        ChooseCatalog();
    }
    ResetSamplePanels();
    MoveStep(false);  // shows the first step
    CentreForm(this);
    loaded_ = true;
    QTimer::singleShot(0, this, [this] { DrawWizardPicture(picture_); });
}

int InstallWizard::HelpContext() const
{
    return !Installs() ? 725 : 610;
}

void InstallWizard::MoveStep(bool forward)
{
    step_ = qBound(0, step_ + (forward ? 1 : -1), lastStep_);
    previousButton_->setEnabled(step_ != 0);
    nextButton_->setEnabled(step_ != lastStep_);
    const bool install = Installs();
    QWidget* const pages[2][5] = {{welcomePage_, filesPage_, destinationPage_, changesPage_, goPage_},
                                  {welcomePage_, filesPage_, printChoicePage_, goPage_, nullptr}};
    pages_->setCurrentWidget(pages[install ? 0 : 1][step_]);
    stepTextLabel_->setText(ForLinux(QString::fromLatin1(kStepText[install ? 0 : 1][step_])));
    if (step_ == kFilesStep && currentFolder_.isEmpty())
        ReadChosenFolder();
    if (install && step_ == kChangesStep) {
        RebuildChanges();
        changesLabel_->setText(ForLinux(QStringLiteral("Changes to Windows Registry")));
    }
    UpdatePicture();
    if (step_ == lastStep_)
        UpdateGoStep();
}

void InstallWizard::GoToNextStep()
{
    MoveStep(true);
}

void InstallWizard::GoToPreviousStep()
{
    MoveStep(false);
}

void InstallWizard::ShowHelp()
{
    Sys().help->ShowContext(HelpFile, HelpContext());
}

void InstallWizard::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1)
        ShowHelp();
    QDialog::keyReleaseEvent(event);
}

void InstallWizard::closeEvent(QCloseEvent* event)
{
    if (reading_) {
        // The scan ends itself at the next file; close when it has.
        cancelRead_ = true;
        event->ignore();
        QTimer::singleShot(50, this, [this] { close(); });
        return;
    }
    CleanUpAndSaveSettings();
    QDialog::closeEvent(event);
}

void InstallWizard::CleanUpAndSaveSettings()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    QCoreApplication::processEvents();
    RemovePreviewFont();
    RemovePrintFonts();
    DeleteTempFontFiles();
    IniBatch batch(IniFile);
    if (!Installs())
        WriteIniString(QStringLiteral("Inventory"), QStringLiteral("Title"), choice_->Choice().Title, IniFile);
    WriteIniString(QStringLiteral("CatalogWizard"), QStringLiteral("sourceDir"), folderTree_->Path(), IniFile);
    choice_->SaveUpperCase();
}

void InstallWizard::CancelReadOrShowOptions()
{
    if (reading_) {
        cancelRead_ = true;
        return;
    }
    // The kinds of installed font the main list shows are not this window's business.
    OptionsDialog options(this);
    options.DisableFontKinds();
    options.exec();
}

// ---- The scan -------------------------------------------------------------------------------

void InstallWizard::FollowChosenDrive()
{
    FollowDrive(driveList_, folderTree_);
}

void InstallWizard::ApplyFilter()
{
    if (loaded_ && !reading_)
        ReadChosenFolder();
}

void InstallWizard::ReadChosenFolder()
{
    if (reading_) {
        // The tree keeps the keyboard while a folder is read: moving on in it
        // ends that reading and reads the folder moved to.
        cancelRead_ = true;
        rescanPending_ = true;
        return;
    }
    if (loaded_)
        ScanFolder();
    if (fontList_->topLevelItemCount() == 0) {
        new QTreeWidgetItem(fontList_, {QStringLiteral("no font files")});  // no slot: SlotOf gives -1
    }
}

void InstallWizard::EnableScanControls(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{driveList_, helpButton_, closeButton_, nextButton_, previousButton_,
                                                      selectButton_, filterBox_})
        w->setEnabled(enabled);  // a read is on the files step, which has both of its neighbours
}

void InstallWizard::ScanFolder()
{
    reading_ = true;
    fontNamesLabel_->setText(QStringLiteral("Font Names"));
    EnableScanControls(false);
    cancelReadButton_->setText(QStringLiteral("Cancel Read"));
    cancelReadButton_->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);

    filterSet_ = QString::fromLatin1(kFilterSets[qBound(0, filterBox_->currentIndex(), 6)]);
    RemovePreviewFont();
    RemovePrintFonts();
    readingLabel_->show();
    DeleteTempFontFiles();
    selectionCountLabel_->setText(QStringLiteral("No fonts selected."));
    changesList_->clear();
    readingLabel_->setText(QStringLiteral("Reading directory..."));
    readingGaugeWell_->show();

    QString folder = folderTree_->Path();
    if (!folder.endsWith('/'))
        folder += '/';
    currentFolder_ = folder;
    const QStringList names = FontFileNames(folder);
    // The rows go first: emptying the list tells the selection handler, which
    // reads the fonts of the rows still there.
    fontList_->setSortingEnabled(false);
    fontList_->clear();
    fonts_.clear();
    fonts_.reserve(size_t(names.size()));
    const QIcon icons[2] = {FontKindIcon(KindNotInstalled), FontKindIcon(KindTrueType)};
    QList<QTreeWidgetItem*> rows;
    int count = 0;
    int shown = -1;
    for (int i = 0; i < names.size(); ++i) {
        const int percent = int(std::lround(double(i) / names.size() * 100));
        if (percent % 10 == 0 && percent != shown) {
            shown = percent;
            DrawWindowGauge(readingGauge_, percent);
        }
        QCoreApplication::processEvents();
        // A collection gives one row per face, a variable font one per named
        // instance, all naming its one file.
        for (const int faceIndex : FileStyleFaces(folder + names[i])) {
            FontFileRecord record;
            if (ScanFontFile(folder, names[i], record, faceIndex) != ScanResult::Read)
                continue;
            const int slot = count++;
            fonts_.push_back(record);
            const QString face = record.FaceName;
            if (filterSet_.isEmpty() || (!face.isEmpty() && filterSet_.contains(face.at(0).toUpper()))) {
                auto* row = new FontRow(QStringList{face, record.FileName, record.SizeText});
                row->setData(0, Qt::UserRole, slot);
                row->setIcon(0, icons[record.AlreadyInstalled ? 1 : 0]);
                rows << row;
            }
        }
        if (cancelRead_) {
            cancelRead_ = false;
            break;
        }
    }
    fontList_->addTopLevelItems(rows);
    if (!rows.isEmpty()) {
        fontNamesLabel_->setText(QString::number(rows.size()) + " Font Names");
        fontList_->setSortingEnabled(true);
        fontList_->sortByColumn(0, Qt::AscendingOrder);
    }

    readingGaugeWell_->hide();
    readingLabel_->hide();
    EnableScanControls(true);
    // The CD-ROM wizard's button is Options between readings; the installer has none then.
    if (!Installs())
        cancelReadButton_->setText(QStringLiteral("Options"));
    cancelReadButton_->setVisible(!Installs());
    QApplication::restoreOverrideCursor();
    folderTree_->Refresh();
    reading_ = false;
    if (rescanPending_) {
        rescanPending_ = false;
        cancelRead_ = false;
        ReadChosenFolder();
    }
}

void InstallWizard::ShowFiles(const QString& folder, const QStringList& selectedFiles)
{
    const int drive = DriveIndexOf(driveList_->Drives(), folder);
    folderTree_->SetPath(folder, drive >= 0 ? driveList_->Drives()[drive].rootPath : QString());
    driveList_->SetDriveOf(folder);
    if (step_ == kFilesStep) {
        ReadChosenFolder();
    } else {
        currentFolder_.clear();  // reaching the files step reads the folder: once
        while (step_ < kFilesStep)
            MoveStep(true);
    }
    QSet<QString> wanted;
    for (const QString& file : selectedFiles)
        wanted.insert(QFileInfo(file).fileName());
    QTreeWidgetItem* first = nullptr;
    QSet<QString> shown;
    for (QTreeWidgetItem* row : Rows()) {
        const int slot = SlotOf(row);
        const QString name = slot >= 0 ? FileNamePart(fonts_[size_t(slot)].FilePath) : QString();
        if (slot < 0 || (!wanted.isEmpty() && !wanted.contains(name)))
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
        {
            // Previewed here, once, whatever the mouse buttons say (the list previews a current row
            // only when no button is down).
            const QSignalBlocker quiet(fontList_);
            fontList_->setCurrentItem(first, 0, QItemSelectionModel::NoUpdate);
        }
        fontList_->scrollToItem(first);
        PreviewFont(first);
        fontList_->setFocus();
        if (Installs())
            installNowButton_->setDefault(true);
    }
}

void InstallWizard::InstallNow()
{
    if (!Installs() || SelectedRowCount() == 0)
        return;
    while (step_ < lastStep_)
        MoveStep(true);
    InstallOrPrint();
}

void InstallWizard::DeleteTempFontFiles()
{
    for (FontFileRecord& font : fonts_) {
        if (!font.FotPath.isEmpty()) {
            QFile::remove(font.FotPath);
            font.FotPath.clear();
        }
    }
}

// ---- Preview --------------------------------------------------------------------------------

int InstallWizard::SlotOf(const QTreeWidgetItem* row)
{
    if (!row)
        return -1;
    const QVariant slot = row->data(0, Qt::UserRole);
    return slot.isValid() ? slot.toInt() : -1;
}

QList<QTreeWidgetItem*> InstallWizard::Rows() const
{
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < fontList_->topLevelItemCount(); ++i)
        rows << fontList_->topLevelItem(i);
    return rows;
}

int InstallWizard::SelectedRowCount() const
{
    int n = 0;
    for (QTreeWidgetItem* row : Rows())
        n += row->isSelected() && SlotOf(row) >= 0;
    return n;
}

void InstallWizard::RemovePreviewFont()
{
    if (!previewFontFile_.isEmpty()) {
        Sys().fonts->RemoveFontResource(previewFontFile_);
        previewFontFile_.clear();
        previewSlot_ = -1;
        Sys().fonts->BroadcastFontChange();
    }
    // A file that could not be added (a damaged one) was previewed all the same.
    ResetSamplePanels();
}

void InstallWizard::ResetSamplePanels()
{
    // Nothing previewed: the window's own font, with nothing to grey out.
    previewElf_ = EnumLogFont();
    previewFont_ = font();
    previewFont_.setPointSize(sizeSlider_->value());
    sampleEdit_->setFont(previewFont_);
    sampleMarks_->SetFont(previewElf_);
    DrawCharacter();
}

void InstallWizard::PreviewFont(QTreeWidgetItem* item)
{
    RemovePreviewFont();
    const int slot = SlotOf(item);
    if (slot < 0 || size_t(slot) >= fonts_.size())
        return;
    FontFileRecord& font = fonts_[size_t(slot)];
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
    QDir().mkpath(Sys().system->ProgramFolder());
    if (WriteTemporaryFot(font, Sys().system->ProgramFolder()) && Sys().fonts->AddFontResource(font.FotPath) > 0) {
        previewFontFile_ = font.FotPath;
        previewSlot_ = slot;
        Sys().fonts->BroadcastFontChange();
    }

    FontNameInfo info;
    ReadNameTable(font.FilePath, info, font.FaceIndex);
    const QString two = QStringLiteral("\n\n");
    infoEdit_->setPlainText("Version: " + info.version + two + "Copyright: " + info.copyright + two
                          + "Trademark: " + info.trademark + two + "Font Family: " + info.family + "\n"
                          + "Font Subfamily: " + info.subfamily + "\n" + "Full Font Name: " + info.fullName
                          + "\n" + "Font Identifier: " + info.uniqueId);

    // The file's own style and character map: nothing of another font is shown.
    SetLogFontName(previewElf_.lfFaceName, sizeof previewElf_.lfFaceName, font.StyleName);
    SetLogFontName(previewElf_.elfStyle, sizeof previewElf_.elfStyle, info.subfamily);
    previewElf_.lfWeight = NameSaysBold(font.FaceName) ? 700 : 400;
    previewElf_.lfItalic = NameSaysSlanted(font.FaceName);
    previewElf_.filePath = font.FilePath;
    previewElf_.faceIndex = font.FaceIndex;
    // By its maker too: an installed font of the same family would be drawn otherwise.
    FileFace face;
    previewElf_.drawingFamily =
        Sys().fonts->ReadFileFace(font.FilePath, font.FaceIndex, &face) ? WithFoundry(face.family, face.foundry) : QString();
    previewFont_ = ExactFont(previewElf_, 0);
    previewFont_.setPointSize(sizeSlider_->value());
    sampleEdit_->setFont(previewFont_);
    sampleMarks_->SetFont(previewElf_);
    DrawCharacter();
}

void InstallWizard::DrawCharacter()
{
    const int code = characterSlider_->value();
    const QString character = FromCp1252(QByteArray(1, char(code)));
    const int size = qMax(12, characterLabel_->height() * 2 / 3);
    QPixmap picture(characterLabel_->size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::white);
    if (!previewElf_.filePath.isEmpty() && !character.isEmpty()) {
        QFont font = previewFont_;
        font.setPixelSize(size);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF foot(characterLabel_->width() / 2.0, (characterLabel_->height() + size * 0.7) / 2.0);
        // A mark where the font itself has no glyph: never one borrowed from another font.
        if (FontDrawsCharacter(font, previewElf_.filePath, previewElf_.faceIndex, character.toUcs4().value(0)))
            DrawFontCharacter(p, previewElf_, font, foot, character, Qt::black, size);
        else
            DrawMissingMark(p, foot, size);
    }
    characterLabel_->setPixmap(picture);
}

bool InstallWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == characterLabel_ && event->type() == QEvent::Resize)
        DrawCharacter();
    return QDialog::eventFilter(watched, event);
}

void InstallWizard::ApplySampleSize()
{
    previewFont_.setPointSize(sizeSlider_->value());
    sampleEdit_->setFont(previewFont_);
}

void InstallWizard::ShowChosenCharacter()
{
    characterCodeLabel_->setText(QString::number(characterSlider_->value()));
    DrawCharacter();
}

// ---- Selection ------------------------------------------------------------------------------

void InstallWizard::SortByColumn(int column)
{
    fontList_->sortByColumn(column, Qt::AscendingOrder);
}

void InstallWizard::ShowRowMenu(QTreeWidgetItem* item, const QPoint& globalPos)
{
    const int slot = SlotOf(item);
    if (slot < 0 || reading_)
        return;
    selectFamilyAction_->setText(fonts_[size_t(slot)].StyleName.trimmed());
    selectFamilyAction_->setVisible(true);
    selectMenu_->popup(globalPos);
}

void InstallWizard::ShowSelectMenu()
{
    if (reading_)
        return;
    selectFamilyAction_->setVisible(false);
    selectMenu_->popup(selectButton_->mapToGlobal(QPoint(0, selectButton_->height())));
}

namespace {

} // namespace

void InstallWizard::SelectFonts(const QString& style)
{
    const QSignalBlocker blocker(fontList_);
    // One selection of runs of rows: selecting row by row merges each into
    // the selection so far, seconds with thousands of fonts.
    QItemSelection selection;
    const QAbstractItemModel* model = fontList_->model();
    const int lastColumn = model->columnCount() - 1;
    const QList<QTreeWidgetItem*> rows = Rows();
    int count = 0;
    int runStart = -1;
    for (int i = 0; i <= rows.size(); ++i) {
        const bool take = i < rows.size() && SlotOf(rows[i]) >= 0 && NameIsOfKind(rows[i]->text(0), style);
        if (take)
            ++count;
        if (take && runStart < 0)
            runStart = i;
        if (!take && runStart >= 0) {
            selection.select(model->index(runStart, 0), model->index(i - 1, lastColumn));
            runStart = -1;
        }
    }
    fontList_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    RebuildChanges();
    ShowSelectionCount(count, true);
}

void InstallWizard::ShowSelectionCount(int count, bool fromMenu)
{
    // The Select menu says an empty choice as "No fonts to install" (or print), a hand choice "No fonts selected".
    selectionCountLabel_->setText(count == 0 && fromMenu
                                      ? QStringLiteral("No fonts to ") + (Installs() ? "install" : "print")
                                      : SelectionCountText(count, Installs()));
    installNowButton_->setEnabled(!reading_ && count > 0);
}

} // namespace gw
