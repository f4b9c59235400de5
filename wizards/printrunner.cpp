#include "wizards/printrunner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QHeaderView>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/enumerate.h"
#include "print/embedding.h"
#include "fonts/fontlist.h"
#include "print/catalogs.h"
#include "print/printlist.h"
#include "print/sheets.h"
#include "print/qtprinter.h"

namespace gw {

PrintFontList WizardFonts(const FontListModel& families)
{
    PrintFontList fonts = FontTablePrintFonts();
    const int16_t keptCount = StyleCount;
    const std::vector<EnumLogFont> keptFonts = StyleFonts;
    const std::vector<FontRecord> keptTable = StyleTable;
    FontEnumerator enumerator(nullptr);
    for (int row = 0; row < families.Count(); ++row) {
        const FontListModel::Item& item = families.At(row);
        if (item.tag == KindType1) {
            AppendType1PrintFonts(enumerator, item.text, fonts);
        } else if (item.tag == KindPrinter) {
            PrintFontEntry e;
            e.DisplayName = e.FaceName = e.AlternateName = item.text;
            e.FontType = KindPrinter;
            fonts.push_back(e);
        }
    }
    StyleCount = keptCount;
    StyleFonts = keptFonts;
    StyleTable = keptTable;
    SortByDisplayName(fonts);
    return fonts;
}

// ---- Layout picture ----------------------------------------------------------------

LayoutPicture::LayoutPicture(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    // Typing a title redraws once, not once per key (the drawing stops the timer).
    timer_.setInterval(120);
    connect(&timer_, &QTimer::timeout, this, [this] { Draw(); });
}

QSize LayoutPicture::sizeHint() const { return QSize(170, 220); }

void LayoutPicture::SetFonts(const PrintFontList& fonts)
{
    fonts_ = fonts;
    Refresh();
}

void LayoutPicture::SetChoice(const PrintChoice& choice)
{
    choice_ = choice;
    Refresh();
}

void LayoutPicture::Refresh() { timer_.start(); }

void LayoutPicture::DrawPending()
{
    if (timer_.isActive() || picture_.isNull())
        Draw();
}

void LayoutPicture::Draw()
{
    timer_.stop();
    const int width = std::max(60, std::min(contentsRect().width(), contentsRect().height() * 612 / 792) - 8);
    picture_ = LayoutThumbnail(fonts_, choice_, width, SystemPrintTarget().PaperSize());
    // A thin edge so the white sheet stands out from the window.
    QImage framed = picture_;
    for (int x = 0; x < framed.width(); ++x) {
        framed.setPixel(x, 0, 0xFF808080);
        framed.setPixel(x, framed.height() - 1, 0xFF808080);
    }
    for (int y = 0; y < framed.height(); ++y) {
        framed.setPixel(0, y, 0xFF808080);
        framed.setPixel(framed.width() - 1, y, 0xFF808080);
    }
    setPixmap(QPixmap::fromImage(framed));
}

QTreeWidget* MakeFontFileList(QWidget* parent, const QString& objectName)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(objectName);
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("Font Name"), QStringLiteral("File Name"), QStringLiteral("Size")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->header()->setSectionsClickable(true);
    return list;
}

// ---- Print choice ------------------------------------------------------------------

PrintChoicePanel::PrintChoicePanel(QWidget* parent) : QWidget(parent)
{
    static const char* const boxNames[8] = {"specimenSheet1Check", "specimenSheet2Check", "specimenSheet3Check",
                                            "specimenSheet4Check", "keyboardChartCheck",  "ansiChartCheck",
                                            "characterSetCheck",   "pointSet72Check"};
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    h->addLayout(left);  // all the room the fixed-width picture leaves

    catalogRadio_ = new QRadioButton(QStringLiteral("Font &Catalog"), this);
    catalogRadio_->setObjectName(QStringLiteral("catalogRadio"));
    catalogRadio_->setChecked(true);
    left->addWidget(catalogRadio_);
    auto* catalog = new QGridLayout;
    catalog->setContentsMargins(20, 0, 0, 0);
    layoutBox_ = new QComboBox(this);
    layoutBox_->setObjectName(QStringLiteral("layoutBox"));
    layoutBox_->addItems(CatalogNames());
    auto* styleLabel = new QLabel(QStringLiteral("St&yle"), this);
    styleLabel->setBuddy(layoutBox_);
    titleEdit_ = new QLineEdit(this);
    titleEdit_->setObjectName(QStringLiteral("titleEdit"));
    auto* titleLabel = new QLabel(QStringLiteral("&Title"), this);
    titleLabel->setBuddy(titleEdit_);
    catalog->addWidget(styleLabel, 0, 0);
    catalog->addWidget(layoutBox_, 0, 1);
    catalog->addWidget(titleLabel, 1, 0);
    catalog->addWidget(titleEdit_, 1, 1);
    left->addLayout(catalog);

    sheetsRadio_ = new QRadioButton(QStringLiteral("&Sample Sheets"), this);
    sheetsRadio_->setObjectName(QStringLiteral("sheetsRadio"));
    left->addWidget(sheetsRadio_);
    auto* sheets = new QGridLayout;
    sheets->setContentsMargins(20, 0, 0, 0);
    const QStringList captions = SheetNames();
    for (int i = 0; i < 8; ++i) {
        QCheckBox* box = new QCheckBox(captions.value(i), this);
        box->setObjectName(QLatin1String(boxNames[i]));
        sheets->addWidget(box, i % 4, i / 4);
        connect(box, &QCheckBox::clicked, this, [this, i] { emit sheetClicked(i); });
        connect(box, &QCheckBox::toggled, this, [this, i] { emit sheetToggled(i); });
        sheetChecks_[size_t(i)] = box;
    }
    left->addLayout(sheets);
    upperCaseCheck_ = new QCheckBox(QStringLiteral("Print in &upper case"), this);
    upperCaseCheck_->setObjectName(QStringLiteral("upperCaseCheck"));
    left->addSpacing(6);
    left->addWidget(upperCaseCheck_);
    left->addStretch(1);

    pictureFrame_ = new QFrame(this);
    pictureFrame_->setObjectName(QStringLiteral("pictureFrame"));
    pictureFrame_->setFrameShape(QFrame::StyledPanel);
    pictureFrame_->setFrameShadow(QFrame::Sunken);
    auto* pv = new QVBoxLayout(pictureFrame_);
    pv->setContentsMargins(4, 4, 4, 4);
    layoutPicture_ = new LayoutPicture(pictureFrame_);
    layoutPicture_->setObjectName(QStringLiteral("layoutPicture"));
    pv->addWidget(layoutPicture_);
    pictureFrame_->setFixedWidth(TwipsToPixels(2900));
    h->addWidget(pictureFrame_);

    connect(catalogRadio_, &QRadioButton::clicked, this, &PrintChoicePanel::catalogClicked);
    connect(sheetsRadio_, &QRadioButton::clicked, this, &PrintChoicePanel::sheetsClicked);
    connect(layoutBox_, qOverload<int>(&QComboBox::activated), this, &PrintChoicePanel::layoutActivated);
    connect(layoutBox_, qOverload<int>(&QComboBox::currentIndexChanged), this, &PrintChoicePanel::layoutChanged);
    connect(upperCaseCheck_, &QCheckBox::clicked, this, &PrintChoicePanel::upperCaseClicked);
    connect(titleEdit_, &QLineEdit::textChanged, this, &PrintChoicePanel::titleEdited);
    titleEdit_->installEventFilter(this);
}

PrintChoice PrintChoicePanel::Choice() const
{
    PrintChoice c;
    c.Sheets = sheetsRadio_->isChecked();
    c.Layout = layoutBox_->currentText();
    c.Title = titleEdit_->text();
    std::transform(sheetChecks_.begin(), sheetChecks_.end(), c.Checked.begin(),
                   [](const QCheckBox* box) { return box->isChecked(); });
    return c;
}

void PrintChoicePanel::EnableFor(bool sheets)
{
    titleEdit_->setEnabled(!sheets);
    layoutBox_->setEnabled(!sheets);
    for (QCheckBox* box : sheetChecks_)
        box->setEnabled(sheets);
}

void PrintChoicePanel::SetTitle(const QString& title)
{
    titleEdit_->setText(title);
}

void PrintChoicePanel::SelectTitle(bool focus)
{
    titleEdit_->selectAll();
    if (focus)
        titleEdit_->setFocus();
}

bool PrintChoicePanel::UpperCase() const
{
    return upperCaseCheck_->isChecked();
}

void PrintChoicePanel::SaveUpperCase() const
{
    WriteIniString(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), UpperCase() ? "1" : "0", IniFile);
}

void PrintChoicePanel::SetUpperCase(bool upper)
{
    upperCaseCheck_->setChecked(upper);
}

void PrintChoicePanel::ShowFonts(const PrintFontList& fonts, const QString& folder)
{
    PrintChoice choice = Choice();
    choice.Folder = folder;
    layoutPicture_->SetFonts(fonts);
    layoutPicture_->SetChoice(choice);
}

void PrintChoicePanel::RefreshPicture()
{
    layoutPicture_->Refresh();
}

bool PrintChoicePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == titleEdit_ && event->type() == QEvent::FocusIn)
        emit titleFocused();
    return QWidget::eventFilter(watched, event);
}

// The display names of the fonts the printer selects neither by face name nor
// by the alternate name (the layouts fell back to a standard font for them).
static QStringList RefusedFonts(PrinterSurface& printer, const PrintFontList& fonts)
{
    QStringList refused;
    for (const PrintFontEntry& f : fonts)
        if (f.FontPath.isEmpty() && !printer.SetFontName(f.FaceName.trimmed()) && !printer.SetFontName(f.AlternateName.trimmed())
            && !refused.contains(f.DisplayName))
            refused << f.DisplayName;
    return refused;
}

// ---- Print run ---------------------------------------------------------------------

bool PrintRunner::CheckPaper()
{
    if (PaperSizeAccepted(SystemPrintTarget().PaperSize()))
        return true;
    Sys().messages->MsgBox(PaperSizeMessage(), vbInformation, QStringLiteral("Glyphwick"));
    return false;
}

void PrintRunner::Print(const PrintFontList& fonts, const PrintChoice& choice, PictureBox* gauge,
                        QLabel* status)
{
    if (busy_)
        return;
    busy_ = true;
    QString error;
    std::unique_ptr<PrinterSurface> printer = SystemPrintTarget().Open(&error);
    if (!printer) {
        busy_ = false;
        if (!error.isEmpty())
            Sys().messages->MsgBox(error, vbCritical, QStringLiteral("Glyphwick"));
        return;
    }
    // The labels may go away with their window while the job lets events run.
    QPointer<PictureBox> gaugeBox(gauge);
    QPointer<QLabel> statusLabel(status);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Gauge drawGauge = [gaugeBox](int percent) {
        if (gaugeBox)
            DrawWindowGauge(gaugeBox, percent);
    };
    const auto showStatus = [statusLabel](const QString& text) {
        if (statusLabel)
            statusLabel->setText(text);
    };
    PrintChoiceOn(*printer, fonts, choice, drawGauge, showStatus);
    const QStringList refused = RefusedFonts(*printer, fonts);
    const QStringList unprintable = UnprintableFaces(*printer, fonts);
    const QStringList withoutEmbedding = FontsWithoutEmbedding(fonts);
    QApplication::restoreOverrideCursor();
    const bool finished = FinishPrintRun(*printer);
    printer.reset();
    drawGauge(0);
    busy_ = false;
    if (!finished)
        return;
    // One message after the run names every font not printed as itself.
    const QString notice = PrintRunNotice(refused, unprintable, withoutEmbedding);
    if (!notice.isEmpty())
        Sys().messages->MsgBox(notice, vbInformation, QStringLiteral("Glyphwick"));
}

bool FinishPrintRun(PrinterSurface& printer)
{
    QString failure;
    if (printer.Finish(&failure))
        return true;
    Sys().messages->MsgBox("The printout could not be finished: " + failure + ". Nothing "
                           "was replaced; please try again, or choose another file or printer.",
                           vbCritical, QStringLiteral("Glyphwick"));
    return false;
}

// ---- Preview -----------------------------------------------------------------------

void ShowPrintPreview(QWidget* parent, const PrintFontList& fonts, const PrintChoice& choice)
{
    QPrinter printer(QPrinter::HighResolution);
    const QString name = Sys().printerSetup->DeviceName();  // as chosen in Print Setup
    if (!name.isEmpty()) {
        printer.setPrinterName(name);
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ReadIniString(QStringLiteral("Inventory"), QStringLiteral("PdfFile"),
                                                QString(), IniFile));
    }
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        // The preview asks for pages from inside its own events: no others run meanwhile.
        QuietPrinting quiet;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        PrintChoiceOn(*QtPrinterSurface::ForDevice(target), fonts, choice, Gauge());  // its pages end with it
        QApplication::restoreOverrideCursor();
    });
    dialog.resize(TwipsToPixels(11000), TwipsToPixels(11500));
    dialog.exec();
}

} // namespace gw
