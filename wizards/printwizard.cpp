#include "wizards/printwizard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "options/optionsdialog.h"
#include "print/catalogs.h"
#include "print/sheets.h"
#include "wizards/fontrow.h"

namespace gw {

namespace {

constexpr int kHelpContext = 710;
constexpr int kIndexRole = Qt::UserRole;

} // namespace

PrintWizard::PrintWizard(const PrintFontList& fonts, QWidget* parent) : QDialog(parent), fonts_(fonts)
{
    setObjectName(QStringLiteral("PrintWizard"));
    setWindowTitle(QStringLiteral("Print Wizard"));
    CreateControls();
    CentreForm(this);
    FillFontList();
    LoadSettings();
    ShowSelectedCount();
    MoveSteps(0);
}

PrintWizard::~PrintWizard() = default;

void PrintWizard::CreateControls()
{
    auto* outer = new QVBoxLayout(this);
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("messageLabel"));
    messageLabel_->setWordWrap(true);
    messageLabel_->setMinimumHeight(TwipsToPixels(600));
    messageLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    outer->addWidget(messageLabel_);

    auto* steps = new QWidget(this);
    auto* stack = new QGridLayout(steps);
    stack->setContentsMargins(0, 0, 0, 0);
    stepPages_ = {CreateStep0(), CreateStep1(), CreateStep2()};
    for (int i = 0; i < 3; ++i) {
        stepPages_[i]->setParent(steps);
        stepPages_[i]->setObjectName(QStringLiteral("stepPage%1").arg(i));
        stack->addWidget(stepPages_[i], 0, 0);
    }
    outer->addWidget(steps);  // its lists take the added height

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    outer->addWidget(line);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    helpButton_ = button("helpButton", "&Help");
    optionsButton_ = button("optionsButton", "&Options...");
    buttons->addStretch(1);
    previousButton_ = button("previousButton", "<< &Previous");
    nextButton_ = button("nextButton", "&Next >>");
    buttons->addSpacing(12);
    closeButton_ = button("closeButton", "&Close");
    outer->addLayout(buttons);

    selectMenu_ = new QMenu(this);
    selectMenu_->setObjectName(QStringLiteral("selectMenu"));
    auto addAction = [this](const QString& text, const char* name) {
        QAction* action = selectMenu_->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    allAction_ = addAction(QStringLiteral("&All"), "allAction");
    familyAction_ = addAction(QString(), "familyAction");
    selectMenu_->addSeparator();
    regularAction_ = addAction(QStringLiteral("&Regular Fonts"), "regularAction");
    boldAction_ = addAction(QStringLiteral("&Bold Fonts"), "boldAction");
    italicAction_ = addAction(QStringLiteral("&Italic Fonts"), "italicAction");
    boldItalicAction_ = addAction(QStringLiteral("Bol&d Italic Fonts"), "boldItalicAction");
    selectMenu_->addSeparator();
    noneAction_ = addAction(QStringLiteral("&None"), "noneAction");
    const std::pair<QAction*, const char*> kinds[] = {
        {allAction_, "ALL"},       {noneAction_, "NONE"},   {regularAction_, "REGULAR"},
        {boldAction_, "BOLD"},     {italicAction_, "ITALIC"}, {boldItalicAction_, "BOLDITALIC"}};
    for (const auto& [action, kind] : kinds) {
        const QString k = QString::fromLatin1(kind);
        connect(action, &QAction::triggered, this, [this, k] { SelectFonts(k); });
    }
    connect(familyAction_, &QAction::triggered, this,
            [this] { SelectFonts(familyAction_->data().toString()); });

    connect(nextButton_, &QPushButton::clicked, this, &PrintWizard::GoToNextStep);
    connect(previousButton_, &QPushButton::clicked, this, &PrintWizard::GoToPreviousStep);
    connect(optionsButton_, &QPushButton::clicked, this, &PrintWizard::ShowOptions);
    connect(closeButton_, &QPushButton::clicked, this, &PrintWizard::close);
    connect(helpButton_, &QPushButton::clicked, this, &PrintWizard::ShowHelp);
    resize(TwipsToPixels(9000), TwipsToPixels(6600));
}

QWidget* PrintWizard::CreateStep0()
{
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    fontList_ = MakeFontFileList(w, QStringLiteral("fontList"));
    fontList_->header()->setStretchLastSection(false);
    fontList_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    fontList_->setColumnWidth(1, TwipsToPixels(2000));
    fontList_->setColumnWidth(2, TwipsToPixels(900));
    g->addWidget(fontList_, 0, 0, 1, 3);

    selectButton_ = new QPushButton(QStringLiteral("Select..."), w);
    selectButton_->setObjectName(QStringLiteral("selectButton"));
    selectButton_->setAutoDefault(false);
    selectedCountLabel_ = new QLabel(w);
    selectedCountLabel_->setObjectName(QStringLiteral("selectedCountLabel"));
    g->addWidget(selectButton_, 1, 0);
    g->addWidget(selectedCountLabel_, 1, 1);

    sampleFrame_ = new QFrame(w);
    sampleFrame_->setObjectName(QStringLiteral("sampleFrame"));
    sampleFrame_->setFrameShape(QFrame::StyledPanel);
    sampleFrame_->setFrameShadow(QFrame::Sunken);
    sampleFrame_->setFixedHeight(TwipsToPixels(800));
    auto* sv = new QVBoxLayout(sampleFrame_);
    sampleLabel_ = new QLabel(sampleFrame_);
    sampleLabel_->setObjectName(QStringLiteral("sampleLabel"));
    sampleLabel_->setAlignment(Qt::AlignCenter);
    sv->addWidget(sampleLabel_);
    g->addWidget(sampleFrame_, 2, 0, 1, 3);
    g->setColumnStretch(1, 1);

    connect(fontList_->header(), &QHeaderView::sectionClicked, this, &PrintWizard::SortByColumn);
    connect(fontList_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        ShowSample(fontList_->indexOfTopLevelItem(item));
    });
    connect(fontList_, &QTreeWidget::itemSelectionChanged, this, [this] { ShowSelectedCount(); });
    connect(fontList_, &QWidget::customContextMenuRequested, this, &PrintWizard::PopupListMenu);
    connect(selectButton_, &QPushButton::clicked, this, &PrintWizard::ShowSelectMenu);
    return w;
}

QWidget* PrintWizard::CreateStep1()
{
    choice_ = new PrintChoicePanel(this);
    connect(choice_, &PrintChoicePanel::sheetToggled, this, &PrintWizard::UpdatePicture);
    connect(choice_, &PrintChoicePanel::catalogClicked, this, &PrintWizard::ChooseCatalog);
    connect(choice_, &PrintChoicePanel::sheetsClicked, this, &PrintWizard::ChooseSheets);
    connect(choice_, &PrintChoicePanel::layoutChanged, this, &PrintWizard::UpdatePicture);
    connect(choice_, &PrintChoicePanel::upperCaseClicked, this, &PrintWizard::SaveUpperCase);
    connect(choice_, &PrintChoicePanel::titleEdited, this, &PrintWizard::UpdatePicture);
    return choice_;
}

QWidget* PrintWizard::CreateStep2()
{
    auto* w = new QWidget(this);
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->addStretch(1);
    fontCountLabel_ = new QLabel(QStringLiteral("0 fonts to print"), w);
    fontCountLabel_->setObjectName(QStringLiteral("fontCountLabel"));
    v->addWidget(fontCountLabel_);
    v->addWidget(MakeGaugeWell(w, &gauge_));
    gauge_->setObjectName(QStringLiteral("gauge"));
    gauge_->setMinimumHeight(TwipsToPixels(330));
    statusLabel_ = new QLabel(QStringLiteral("Ready to print!"), w);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    v->addWidget(statusLabel_);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    previewButton_ = new QPushButton(QStringLiteral("Pre&view..."), w);
    previewButton_->setObjectName(QStringLiteral("previewButton"));
    previewButton_->setAutoDefault(false);
    printButton_ = new QPushButton(QStringLiteral("&Print!"), w);
    printButton_->setObjectName(QStringLiteral("printButton"));
    printButton_->setAutoDefault(false);
    row->addWidget(previewButton_);
    row->addWidget(printButton_);
    row->addStretch(1);
    v->addLayout(row);
    v->addStretch(2);
    connect(printButton_, &QPushButton::clicked, this, [this] { PrintChosenFonts(); });
    connect(previewButton_, &QPushButton::clicked, this, [this] { ShowPreview(); });
    return w;
}

// ---- Load and steps ----------------------------------------------------------------

void PrintWizard::FillFontList()
{
    QList<QTreeWidgetItem*> rows;
    rows.reserve(int(fonts_.size()));
    for (int i = 0; i < int(fonts_.size()); ++i) {
        const PrintFontEntry& f = fonts_[size_t(i)];
        auto* item = new FontRow(QStringList{f.DisplayName, f.FileName, f.SizeText});
        item->setData(0, kIndexRole, i);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        rows << item;
    }
    fontList_->addTopLevelItems(rows);
}

void PrintWizard::LoadSettings()
{
    choice_->SetUpperCase(ReadIniInt(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), 0, IniFile) == 1);
    choice_->SetTitle(ReadIniString(QStringLiteral("Inventory"), QStringLiteral("Title"), QString(), IniFile));
    // A catalog is chosen at the start: the sheet boxes wait for "Sample Sheets".
    choice_->EnableFor(false);
}

void PrintWizard::MoveSteps(int delta)
{
    step_ = std::clamp(step_ + delta, 0, 2);
    for (int i = 0; i < 3; ++i)
        stepPages_[i]->setVisible(i == step_);
    switch (step_) {
    case 0:
        previousButton_->setEnabled(false);
        nextButton_->setEnabled(true);
        messageLabel_->setText(QStringLiteral(
            "With Glyphwick, you can print many fonts at once in either catalog or batch mode. "
            "Please select the fonts you wish to print and click the Next >> button."));
        fontList_->setFocus();
        break;
    case 1:
        nextButton_->setEnabled(true);
        previousButton_->setEnabled(true);
        printButton_->setEnabled(false);
        messageLabel_->setText(QStringLiteral(
            "Please select the font catalog or sample sheets you wish to print and click the Next >> button."));
        if (!Choice().Sheets)
            choice_->SelectTitle(true);
        UpdatePicture();
        break;
    default: {
        previousButton_->setEnabled(true);
        nextButton_->setEnabled(false);
        choice_->SaveUpperCase();
        messageLabel_->setText(QStringLiteral(
            "Glyphwick has enough information to print your font catalog or sample sheets. "
            "Click the Print button to send the fonts to the printer."));
        DrawWindowGauge(gauge_, 0);
        const bool go = !Choice().Sheets || Choice().AnySheet();
        printButton_->setEnabled(go);
        previewButton_->setEnabled(go);
        if (go)
            printButton_->setFocus();
        fontCountLabel_->setText(QString::number(fontList_->selectionModel()->selectedRows().size())
                           + " fonts to print.");
        break;
    }
    }
    emit stepShown(step_);
}

// ---- Step 0: the fonts ---------------------------------------------------------------

PrintFontList PrintWizard::SelectedFonts() const
{
    PrintFontList list;
    for (int row = 0; row < fontList_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = fontList_->topLevelItem(row);
        if (item->isSelected())
            list.push_back(fonts_[size_t(item->data(0, kIndexRole).toInt())]);
    }
    return list;
}

void PrintWizard::SelectFonts(const QString& kind)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QItemSelectionModel* model = fontList_->selectionModel();
    const QSignalBlocker quiet(fontList_);
    if (kind == QLatin1String("NONE")) {
        model->clearSelection();
    } else {
        QItemSelection add;
        for (int row = 0; row < fontList_->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = fontList_->topLevelItem(row);
            if (NameIsOfKind(item->text(0), kind)) {
                const QModelIndex index = fontList_->indexFromItem(item);
                add.select(index, index);
            }
        }
        model->select(add, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    fontList_->viewport()->update();
    const int n = model->selectedRows().size();
    fontCountLabel_->setText(QString::number(n) + " fonts to print.");
    selectedCountLabel_->setText(n == 0 ? QStringLiteral("No fonts selected") : QString::number(n) + " selected");
    QApplication::restoreOverrideCursor();
}

void PrintWizard::ShowSelectedCount()
{
    const int n = fontList_->selectionModel()->selectedRows().size();
    selectedCountLabel_->setText(n == 0   ? QStringLiteral("No fonts selected")
                                 : n == 1 ? QStringLiteral("1 font selected")
                                          : QString::number(n) + " fonts selected");
}

void PrintWizard::ShowSample(int row)
{
    ShowSelectedCount();
    QTreeWidgetItem* item = fontList_->topLevelItem(row);
    if (!item)
        return;
    const PrintFontEntry& f = fonts_[size_t(item->data(0, kIndexRole).toInt())];
    QFont font(f.FaceName.trimmed());
    font.setPointSize(18);
    // The sample shows the font's own glyphs, never another family's.
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setBold(NameSaysBold(f.DisplayName));
    font.setItalic(NameSaysSlanted(f.DisplayName));
    sampleLabel_->setFont(font);
    sampleLabel_->setText(item->text(0));
}

void PrintWizard::PopupListMenu(const QPoint& pos)
{
    QTreeWidgetItem* item = fontList_->itemAt(pos);
    const QString family = item ? fonts_[size_t(item->data(0, kIndexRole).toInt())].FaceName.trimmed()
                                : QString();
    PopupSelectMenu(fontList_->viewport()->mapToGlobal(pos), family);
}

void PrintWizard::ShowSelectMenu()
{
    PopupSelectMenu(selectButton_->mapToGlobal(QPoint(0, selectButton_->height())), QString());
}

void PrintWizard::PopupSelectMenu(const QPoint& globalPos, const QString& family)
{
    familyAction_->setVisible(!family.isEmpty());
    familyAction_->setText(QString(family).replace('&', QLatin1String("&&")));
    familyAction_->setData(family);
    selectMenu_->popup(globalPos);
}

void PrintWizard::SortByColumn(int column)
{
    // Every column sorts as text, so "12k" comes before "9k".
    fontList_->sortItems(column, Qt::AscendingOrder);
    fontList_->header()->setSortIndicatorShown(true);
    fontList_->header()->setSortIndicator(column, Qt::AscendingOrder);
}

// ---- Step 1: what to print -------------------------------------------------------------

PrintChoice PrintWizard::Choice() const
{
    return choice_->Choice();
}

void PrintWizard::ChooseCatalog()
{
    choice_->EnableFor(false);
    choice_->SelectTitle(true);
    UpdatePicture();
}

void PrintWizard::ChooseSheets()
{
    choice_->EnableFor(true);
    UpdatePicture();
}

void PrintWizard::SaveUpperCase()
{
    choice_->SaveUpperCase();
    choice_->RefreshPicture();
}

void PrintWizard::UpdatePicture()
{
    if (!choice_ || step_ != 1)
        return;
    PrintFontList shown = SelectedFonts();
    if (shown.empty() && fontList_->topLevelItemCount() > 0)
        shown.push_back(fonts_[size_t(fontList_->topLevelItem(0)->data(0, kIndexRole).toInt())]);
    choice_->ShowFonts(shown);
}

// ---- Step 2: printing --------------------------------------------------------------------

void PrintWizard::PrintChosenFonts()
{
    if (runner_.Busy() || !runner_.CheckPaper())
        return;
    const PrintChoice choice = Choice();
    if (choice.Sheets && !choice.AnySheet()) {
        Sys().messages->MsgBox(QStringLiteral("Please select a Sample Sheet to print!"), vbInformation,
                               QStringLiteral("Glyphwick"));
        MoveSteps(-1);
        return;
    }
    const PrintFontList fonts = SelectedFonts();
    if (fonts.empty()) {
        Sys().messages->MsgBox(QStringLiteral("Please select the fonts you wish to print!"), vbInformation,
                               QStringLiteral("Glyphwick"));
        return;
    }
    QPointer<PrintWizard> self(this);
    SetPrinting(true);
    runner_.Print(fonts, choice, gauge_, statusLabel_);
    if (self)
        SetPrinting(false);
}

void PrintWizard::SetPrinting(bool printing)
{
    for (QWidget* w : {static_cast<QWidget*>(printButton_), static_cast<QWidget*>(previewButton_),
                       static_cast<QWidget*>(previousButton_), static_cast<QWidget*>(optionsButton_),
                       static_cast<QWidget*>(closeButton_)})
        w->setEnabled(!printing);
    if (!printing)
        printButton_->setFocus();
}

void PrintWizard::ShowPreview()
{
    if (runner_.Busy())
        return;
    const PrintChoice choice = Choice();
    const PrintFontList fonts = SelectedFonts();
    if (fonts.empty()) {
        Sys().messages->MsgBox(QStringLiteral("Please select the fonts you wish to print!"), vbInformation,
                               QStringLiteral("Glyphwick"));
        return;
    }
    ShowPrintPreview(this, fonts, choice);
}

// ---- The rest -------------------------------------------------------------------------------

void PrintWizard::ShowOptions()
{
    OptionsDialog options(this);
    options.SelectTab(Choice().Sheets ? OptionsDialog::Tab::SampleSheets : OptionsDialog::Tab::Catalogs);
    options.exec();
    choice_->RefreshPicture();
}

void PrintWizard::ShowHelp()
{
    ShowHelpContext(kHelpContext);
}

// Every way out of the wizard (Close, Escape, the window's own close) ends in done().
void PrintWizard::SaveSettings()
{
    IniBatch batch(IniFile);
    choice_->SaveUpperCase();
    WriteIniString(QStringLiteral("Inventory"), QStringLiteral("Title"), Choice().Title, IniFile);
}

void PrintWizard::closeEvent(QCloseEvent* event)
{
    // A running job keeps its window: it prints into it until the end.
    if (runner_.Busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PrintWizard::reject()
{
    if (!runner_.Busy())
        QDialog::reject();
}

void PrintWizard::done(int result)
{
    if (runner_.Busy())
        return;
    SaveSettings();
    QDialog::done(result);
}

void PrintWizard::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace gw
