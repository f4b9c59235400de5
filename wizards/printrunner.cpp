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
    std::stable_sort(fonts.begin(), fonts.end(), [](const PrintFontEntry& a, const PrintFontEntry& b) {
        return a.DisplayName.compare(b.DisplayName, Qt::CaseInsensitive) < 0;
    });
    return fonts;
}

// ---- Layout picture ----------------------------------------------------------------

LayoutPicture::LayoutPicture(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    timer_.setSingleShot(true);
    // Typing a title redraws once, not once per key.
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

QTreeWidget* MakeFontFileList(QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("ListView1"));
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
    static const char* const boxNames[8] = {"chkSpec1",    "chkSpec2", "chkSpec3", "chkSpec4",
                                            "chkKeyboard", "chkANSI",  "chkANSI2", "chk72PointSetI"};
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    h->addLayout(left, 1);

    optCatalog = new QRadioButton(QStringLiteral("Font &Catalog"), this);
    optCatalog->setObjectName(QStringLiteral("optCatalog"));
    optCatalog->setChecked(true);
    left->addWidget(optCatalog);
    auto* catalog = new QGridLayout;
    catalog->setContentsMargins(20, 0, 0, 0);
    cmbStyle = new QComboBox(this);
    cmbStyle->setObjectName(QStringLiteral("cmbStyle"));
    cmbStyle->addItems(CatalogNames());
    auto* styleLabel = new QLabel(QStringLiteral("St&yle"), this);
    styleLabel->setBuddy(cmbStyle);
    txtTitle = new QLineEdit(this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    auto* titleLabel = new QLabel(QStringLiteral("&Title"), this);
    titleLabel->setBuddy(txtTitle);
    catalog->addWidget(styleLabel, 0, 0);
    catalog->addWidget(cmbStyle, 0, 1);
    catalog->addWidget(titleLabel, 1, 0);
    catalog->addWidget(txtTitle, 1, 1);
    left->addLayout(catalog);

    optSheets = new QRadioButton(QStringLiteral("&Sample Sheets"), this);
    optSheets->setObjectName(QStringLiteral("optSheets"));
    left->addWidget(optSheets);
    auto* sheets = new QGridLayout;
    sheets->setContentsMargins(20, 0, 0, 0);
    const QStringList captions = SheetNames();
    for (int i = 0; i < 8; ++i) {
        chkSheet[size_t(i)] = new QCheckBox(captions.value(i), this);
        chkSheet[size_t(i)]->setObjectName(QLatin1String(boxNames[i]));
        sheets->addWidget(chkSheet[size_t(i)], i % 4, i / 4);
    }
    left->addLayout(sheets);
    chkUpper = new QCheckBox(QStringLiteral("Print in &upper case"), this);
    chkUpper->setObjectName(QStringLiteral("chkUpper"));
    left->addSpacing(6);
    left->addWidget(chkUpper);
    left->addStretch(1);

    pnlPic = new QFrame(this);
    pnlPic->setObjectName(QStringLiteral("pnlPic"));
    pnlPic->setFrameShape(QFrame::StyledPanel);
    pnlPic->setFrameShadow(QFrame::Sunken);
    auto* pv = new QVBoxLayout(pnlPic);
    pv->setContentsMargins(4, 4, 4, 4);
    imgPic = new LayoutPicture(pnlPic);
    imgPic->setObjectName(QStringLiteral("imgPic"));
    pv->addWidget(imgPic);
    pnlPic->setFixedWidth(TwipsToPixels(2900));
    h->addWidget(pnlPic);
}

PrintChoice PrintChoicePanel::Choice() const
{
    PrintChoice c;
    c.Sheets = optSheets->isChecked();
    c.Layout = cmbStyle->currentText();
    c.Title = txtTitle->text();
    for (size_t i = 0; i < 8; ++i)
        c.Checked[i] = chkSheet[i]->isChecked();
    return c;
}

void PrintChoicePanel::EnableFor(bool sheets)
{
    txtTitle->setEnabled(!sheets);
    cmbStyle->setEnabled(!sheets);
    for (QCheckBox* box : chkSheet)
        box->setEnabled(sheets);
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

bool PrintRunner::Print(const PrintFontList& fonts, const PrintChoice& choice, PictureBox* gauge,
                        QLabel* status)
{
    if (busy_)
        return false;
    busy_ = true;
    QString error;
    std::unique_ptr<PrinterSurface> printer = SystemPrintTarget().Open(&error);
    if (!printer) {
        busy_ = false;
        if (!error.isEmpty())
            Sys().messages->MsgBox(error, vbCritical, QStringLiteral("Glyphwick"));
        return false;
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
    QString failure;
    const bool finished = printer->Finish(&failure);
    printer.reset();
    drawGauge(0);
    showStatus(QStringLiteral("Ready to print"));
    QApplication::restoreOverrideCursor();
    busy_ = false;
    if (!finished) {
        Sys().messages->MsgBox("The printout could not be finished: " + failure + ". Nothing "
                               "was replaced; please try again, or choose another file or printer.",
                               vbCritical, QStringLiteral("Glyphwick"));
        return false;
    }
    // One message after the run names every font not printed as itself.
    const QString notice = PrintRunNotice(refused, unprintable, withoutEmbedding);
    if (!notice.isEmpty())
        Sys().messages->MsgBox(notice, vbInformation, QStringLiteral("Glyphwick"));
    return true;
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
        auto surface = QtPrinterSurface::ForDevice(target);
        PrintChoiceOn(*surface, fonts, choice, Gauge());
        surface->Close();
        QApplication::restoreOverrideCursor();
    });
    dialog.resize(TwipsToPixels(11000), TwipsToPixels(11500));
    dialog.exec();
}

} // namespace gw
