#include "wizards/printwizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "options/optionsdialog.h"
#include "print/catalogs.h"
#include "print/sheets.h"

namespace gw {

namespace {

constexpr int kHelpContext = 710;
constexpr int kIndexRole = Qt::UserRole;

QString CountText(int n, const QString& one, const QString& many)
{
    if (n == 0)
        return QStringLiteral("No fonts selected");
    return n == 1 && !one.isEmpty() ? one : QString::number(n) + many;
}

// Whether a row's text belongs to a kind of SelectFonts.
bool RowMatches(const QString& text, const QString& kind)
{
    const QString upper = text.toUpper();
    const bool bold = upper.contains(QLatin1String("BOLD"));
    const bool slanted = upper.contains(QLatin1String("ITALIC")) || upper.contains(QLatin1String("OBLIQUE"));
    if (kind == QLatin1String("ALL"))
        return true;
    if (kind == QLatin1String("REGULAR"))
        return !bold && !slanted;
    if (kind == QLatin1String("BOLD"))
        return bold && !slanted;
    if (kind == QLatin1String("ITALIC"))
        return slanted && !bold;
    if (kind == QLatin1String("BOLDITALIC"))
        return bold && slanted;
    return text.contains(kind, Qt::CaseInsensitive);
}

} // namespace

PrintWizard::PrintWizard(const PrintFontList& fonts, QWidget* parent) : QDialog(parent), fonts_(fonts)
{
    setObjectName(QStringLiteral("PrintWizard"));
    setWindowTitle(QStringLiteral("Print Wizard"));
    CreateControls();
    Form_Load();
}

PrintWizard::~PrintWizard()
{
    Form_Unload();
}

void PrintWizard::CreateControls()
{
    auto* outer = new QVBoxLayout(this);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    lblMessage->setMinimumHeight(TwipsToPixels(600));
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    outer->addWidget(lblMessage);

    auto* steps = new QWidget(this);
    auto* stack = new QGridLayout(steps);
    stack->setContentsMargins(0, 0, 0, 0);
    picStep = {CreateStep0(), CreateStep1(), CreateStep2()};
    for (int i = 0; i < 3; ++i) {
        picStep[i]->setParent(steps);
        picStep[i]->setObjectName(QStringLiteral("picStep%1").arg(i));
        stack->addWidget(picStep[i], 0, 0);
    }
    outer->addWidget(steps, 1);

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
    Command1 = button("Command1", "&Help");
    cmdOptions = button("cmdOptions", "&Options...");
    buttons->addStretch(1);
    cmdPrev = button("cmdPrev", "<< &Previous");
    cmdNext = button("cmdNext", "&Next >>");
    buttons->addSpacing(12);
    cancel = button("cancel", "&Close");
    outer->addLayout(buttons);

    mnuContext = new QMenu(this);
    mnuContext->setObjectName(QStringLiteral("mnuContext"));
    mnuContextAll = mnuContext->addAction(QStringLiteral("&All"));
    mnuContextFamily = mnuContext->addAction(QString());
    mnuContext->addSeparator();
    mnuContextRegular = mnuContext->addAction(QStringLiteral("&Regular Fonts"));
    mnuContextBold = mnuContext->addAction(QStringLiteral("&Bold Fonts"));
    mnuContextItalic = mnuContext->addAction(QStringLiteral("&Italic Fonts"));
    mnuContextBoldItalic = mnuContext->addAction(QStringLiteral("Bol&d Italic Fonts"));
    mnuContext->addSeparator();
    mnuContextNone = mnuContext->addAction(QStringLiteral("&None"));
    const std::pair<QAction*, const char*> kinds[] = {
        {mnuContextAll, "ALL"},       {mnuContextNone, "NONE"},   {mnuContextRegular, "REGULAR"},
        {mnuContextBold, "BOLD"},     {mnuContextItalic, "ITALIC"}, {mnuContextBoldItalic, "BOLDITALIC"}};
    for (const auto& [action, kind] : kinds) {
        const QString k = QString::fromLatin1(kind);
        connect(action, &QAction::triggered, this, [this, k] { SelectFonts(k); });
    }
    connect(mnuContextFamily, &QAction::triggered, this,
            [this] { SelectFonts(mnuContextFamily->data().toString()); });

    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { cmdPrev_Click(); });
    connect(cmdOptions, &QPushButton::clicked, this, [this] { cmdOptions_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Cancel_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    resize(TwipsToPixels(9000), TwipsToPixels(6600));
}

QWidget* PrintWizard::CreateStep0()
{
    auto* w = new QWidget(this);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    ListView1 = MakeFontFileList(w);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListView1->setColumnWidth(1, TwipsToPixels(2000));
    ListView1->setColumnWidth(2, TwipsToPixels(900));
    g->addWidget(ListView1, 0, 0, 1, 3);

    cmdSelect = new QPushButton(QStringLiteral("Select..."), w);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdSelect->setAutoDefault(false);
    lblSelected = new QLabel(w);
    lblSelected->setObjectName(QStringLiteral("lblSelected"));
    g->addWidget(cmdSelect, 1, 0);
    g->addWidget(lblSelected, 1, 1);

    pnlSample = new QFrame(w);
    pnlSample->setObjectName(QStringLiteral("pnlSample"));
    pnlSample->setFrameShape(QFrame::StyledPanel);
    pnlSample->setFrameShadow(QFrame::Sunken);
    pnlSample->setFixedHeight(TwipsToPixels(800));
    auto* sv = new QVBoxLayout(pnlSample);
    lblSample = new QLabel(pnlSample);
    lblSample->setObjectName(QStringLiteral("lblSample"));
    lblSample->setAlignment(Qt::AlignCenter);
    sv->addWidget(lblSample);
    g->addWidget(pnlSample, 2, 0, 1, 3);
    g->setColumnStretch(1, 1);

    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { ListView1_ColumnClick(column + 1); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        ListView1_ItemClick(ListView1->indexOfTopLevelItem(item));
    });
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] { ShowSelectedCount(); });
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ListView1_MouseUp(pos); });
    connect(cmdSelect, &QPushButton::clicked, this, [this] { cmdSelect_Click(); });
    return w;
}

QWidget* PrintWizard::CreateStep1()
{
    auto* w = new PrintChoicePanel(this);
    optCatalog = w->optCatalog;
    optSheets = w->optSheets;
    cmbStyle = w->cmbStyle;
    txtTitle = w->txtTitle;
    chkUpper = w->chkUpper;
    chkSheet = w->chkSheet;
    pnlPic = w->pnlPic;
    imgPic = w->imgPic;
    choice_ = w;
    for (QCheckBox* box : chkSheet)
        connect(box, &QCheckBox::toggled, this, [this] { UpdatePicture(); });
    connect(optCatalog, &QRadioButton::clicked, this, [this] { optCatalog_Click(); });
    connect(optSheets, &QRadioButton::clicked, this, [this] { optSheets_Click(); });
    connect(cmbStyle, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { cmbStyle_Click(); });
    connect(chkUpper, &QCheckBox::clicked, this, [this] { chkUpper_Click(); });
    connect(txtTitle, &QLineEdit::textChanged, this, [this] { UpdatePicture(); });
    txtTitle->installEventFilter(this);
    return w;
}

QWidget* PrintWizard::CreateStep2()
{
    auto* w = new QWidget(this);
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->addStretch(1);
    lblNumber = new QLabel(QStringLiteral("0 fonts to print"), w);
    lblNumber->setObjectName(QStringLiteral("lblNumber"));
    v->addWidget(lblNumber);
    v->addWidget(MakeGaugeWell(w, &picGauge));
    picGauge->setObjectName(QStringLiteral("picGauge"));
    picGauge->setMinimumHeight(TwipsToPixels(330));
    lblStatus = new QLabel(QStringLiteral("Ready to print!"), w);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    v->addWidget(lblStatus);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    cmdPreview = new QPushButton(QStringLiteral("Pre&view..."), w);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    cmdPreview->setAutoDefault(false);
    cmdGo = new QPushButton(QStringLiteral("&Print!"), w);
    cmdGo->setObjectName(QStringLiteral("cmdGo"));
    cmdGo->setAutoDefault(false);
    row->addWidget(cmdPreview);
    row->addWidget(cmdGo);
    row->addStretch(1);
    v->addLayout(row);
    v->addStretch(2);
    connect(cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    return w;
}

// ---- Load and steps ----------------------------------------------------------------

void PrintWizard::Form_Load()
{
    CentreForm(this);
    cmbStyle->setCurrentIndex(0);
    cmbStyle_Click();

    ListView1->setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(int(fonts_.size()));
    for (int i = 0; i < int(fonts_.size()); ++i) {
        const PrintFontEntry& f = fonts_[size_t(i)];
        auto* item = new QTreeWidgetItem({f.DisplayName, f.FileName, f.SizeText});
        item->setData(0, kIndexRole, i);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        rows << item;
    }
    ListView1->addTopLevelItems(rows);
    ListView1->setUpdatesEnabled(true);

    chkUpper->setChecked(ReadIniInt(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), 0, IniFile) == 1);
    txtTitle->setText(ReadIniString(QStringLiteral("Inventory"), QStringLiteral("Title"), QString(), IniFile));
    for (QCheckBox* box : chkSheet)
        box->setEnabled(false);
    ShowSelectedCount();
    step_ = 0;
    AdvanceButton(0);
}

void PrintWizard::AdvanceButton(int delta)
{
    step_ = std::clamp(step_ + delta, 0, 2);
    for (int i = 0; i < 3; ++i)
        picStep[i]->setVisible(i == step_);
    switch (step_) {
    case 0:
        cmdPrev->setEnabled(false);
        cmdNext->setEnabled(true);
        lblMessage->setText(QStringLiteral(
            "With Glyphwick, you can print many fonts at once in either catalog or batch mode. "
            "Please select the fonts you wish to print and click the Next >> button."));
        ListView1->setFocus();
        break;
    case 1:
        cmdNext->setEnabled(true);
        cmdPrev->setEnabled(true);
        cmdGo->setEnabled(false);
        lblMessage->setText(QStringLiteral(
            "Please select the font catalog or sample sheets you wish to print and click the Next >> button."));
        if (optCatalog->isChecked()) {
            txtTitle->setFocus();
            txtTitle->selectAll();
        }
        UpdatePicture();
        break;
    default: {
        cmdPrev->setEnabled(true);
        cmdNext->setEnabled(false);
        WriteIniString(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"),
                       QString::number(chkUpper->isChecked() ? 1 : 0), IniFile);
        lblMessage->setText(QStringLiteral(
            "Glyphwick has enough information to print your font catalog or sample sheets. "
            "Click the Print button to send the fonts to the printer."));
        DrawWindowGauge(picGauge, 0);
        const bool go = optCatalog->isChecked() || Choice().AnySheet();
        cmdGo->setEnabled(go);
        cmdPreview->setEnabled(go);
        if (go)
            cmdGo->setFocus();
        lblNumber->setText(QString::number(ListView1->selectionModel()->selectedRows().size())
                           + " fonts to print.");
        break;
    }
    }
    emit StepShown(step_);
}

// ---- Step 0: the fonts ---------------------------------------------------------------

PrintFontList PrintWizard::SelectedFonts() const
{
    PrintFontList list;
    for (int row = 0; row < ListView1->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(row);
        if (item->isSelected())
            list.push_back(fonts_[size_t(item->data(0, kIndexRole).toInt())]);
    }
    return list;
}

void PrintWizard::SelectFonts(const QString& kind)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QItemSelectionModel* model = ListView1->selectionModel();
    const QSignalBlocker quiet(ListView1);
    if (kind == QLatin1String("NONE")) {
        model->clearSelection();
    } else {
        QItemSelection add;
        for (int row = 0; row < ListView1->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = ListView1->topLevelItem(row);
            if (RowMatches(item->text(0), kind)) {
                const QModelIndex index = ListView1->indexFromItem(item);
                add.select(index, index);
            }
        }
        model->select(add, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    ListView1->viewport()->update();
    const int n = model->selectedRows().size();
    lblNumber->setText(QString::number(n) + " fonts to print.");
    lblSelected->setText(n == 0 ? QStringLiteral("No fonts selected") : QString::number(n) + " selected");
    QApplication::restoreOverrideCursor();
}

void PrintWizard::ShowSelectedCount()
{
    const int n = ListView1->selectionModel()->selectedRows().size();
    lblSelected->setText(CountText(n, QStringLiteral("1 font selected"), QStringLiteral(" fonts selected")));
}

void PrintWizard::ListView1_ItemClick(int row)
{
    ShowSelectedCount();
    QTreeWidgetItem* item = ListView1->topLevelItem(row);
    if (!item)
        return;
    const PrintFontEntry& f = fonts_[size_t(item->data(0, kIndexRole).toInt())];
    const QString upper = f.DisplayName.toUpper();
    QFont font(f.FaceName.trimmed());
    font.setPointSize(18);
    // The sample shows the font's own glyphs, never another family's.
    font.setStyleStrategy(QFont::NoFontMerging);
    const bool boldItalic = upper.contains(QLatin1String("BOLD ITALIC"));
    font.setBold(boldItalic || upper.contains(QLatin1String("BOLD")));
    font.setItalic(boldItalic || upper.contains(QLatin1String("ITALIC")));
    lblSample->setFont(font);
    lblSample->setText(item->text(0));
}

void PrintWizard::ListView1_MouseUp(const QPoint& pos)
{
    QTreeWidgetItem* item = ListView1->itemAt(pos);
    const QString family = item ? fonts_[size_t(item->data(0, kIndexRole).toInt())].FaceName.trimmed()
                                : QString();
    PopupContext(ListView1->viewport()->mapToGlobal(pos), family);
}

void PrintWizard::cmdSelect_Click()
{
    PopupContext(cmdSelect->mapToGlobal(QPoint(0, cmdSelect->height())), QString());
}

void PrintWizard::PopupContext(const QPoint& globalPos, const QString& family)
{
    mnuContextFamily->setVisible(!family.isEmpty());
    mnuContextFamily->setText(QString(family).replace('&', QLatin1String("&&")));
    mnuContextFamily->setData(family);
    mnuContext->popup(globalPos);
}

void PrintWizard::ListView1_ColumnClick(int column)
{
    // Every column sorts as text, so "12k" comes before "9k".
    ListView1->sortItems(column - 1, Qt::AscendingOrder);
    ListView1->header()->setSortIndicatorShown(true);
    ListView1->header()->setSortIndicator(column - 1, Qt::AscendingOrder);
}

// ---- Step 1: what to print -------------------------------------------------------------

PrintChoice PrintWizard::Choice() const
{
    return choice_->Choice();
}

void PrintWizard::optCatalog_Click()
{
    choice_->EnableFor(false);
    txtTitle->selectAll();
    txtTitle->setFocus();
    UpdatePicture();
}

void PrintWizard::optSheets_Click()
{
    choice_->EnableFor(true);
    UpdatePicture();
}

void PrintWizard::cmbStyle_Click()
{
    UpdatePicture();
}

void PrintWizard::chkUpper_Click()
{
    WriteIniString(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"),
                   QString::number(chkUpper->isChecked() ? 1 : 0), IniFile);
    imgPic->Refresh();
}

void PrintWizard::UpdatePicture()
{
    if (!imgPic || step_ != 1)
        return;
    PrintFontList shown = SelectedFonts();
    if (shown.empty() && ListView1->topLevelItemCount() > 0)
        shown.push_back(fonts_[size_t(ListView1->topLevelItem(0)->data(0, kIndexRole).toInt())]);
    imgPic->SetFonts(shown);
    imgPic->SetChoice(Choice());
}

// ---- Step 2: printing --------------------------------------------------------------------

void PrintWizard::cmdGo_Click()
{
    if (runner_.Busy() || !runner_.CheckPaper())
        return;
    const PrintChoice choice = Choice();
    if (choice.Sheets && !choice.AnySheet()) {
        Sys().messages->MsgBox(QStringLiteral("Please select a Sample Sheet to print!"), vbInformation,
                               QStringLiteral("Glyphwick"));
        AdvanceButton(-1);
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
    runner_.Print(fonts, choice, picGauge, lblStatus);
    if (self)
        SetPrinting(false);
}

void PrintWizard::SetPrinting(bool printing)
{
    for (QWidget* w : {static_cast<QWidget*>(cmdGo), static_cast<QWidget*>(cmdPreview),
                       static_cast<QWidget*>(cmdPrev), static_cast<QWidget*>(cmdOptions),
                       static_cast<QWidget*>(cancel)})
        w->setEnabled(!printing);
    if (!printing)
        cmdGo->setFocus();
}

void PrintWizard::cmdPreview_Click()
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

void PrintWizard::cmdOptions_Click()
{
    OptionsDialog options(this);
    options.SelectTab(optSheets->isChecked() ? OptionsDialog::Tab::SampleSheets : OptionsDialog::Tab::Catalogs);
    options.exec();
    imgPic->Refresh();
}

void PrintWizard::Command1_Click()
{
    ShowHelpContext(kHelpContext);
}

void PrintWizard::Cancel_Click()
{
    close();
}

void PrintWizard::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    IniBatch batch(IniFile);
    WriteIniString(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"),
                   QString::number(chkUpper->isChecked() ? 1 : 0), IniFile);
    WriteIniString(QStringLiteral("Inventory"), QStringLiteral("Title"), txtTitle->text(), IniFile);
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
    Form_Unload();
    QDialog::done(result);
}

void PrintWizard::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        Command1_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool PrintWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtTitle && event->type() == QEvent::FocusIn)
        SelectAllOnTab(txtTitle, static_cast<QFocusEvent*>(event)->reason());
    return QDialog::eventFilter(watched, event);
}

} // namespace gw
