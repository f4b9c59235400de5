#include "wizards/printrunner.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "print/printlist.h"
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
    connect(&timer_, &QTimer::timeout, this, [this] { DrawPending(); });
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
    if (!timer_.isActive() && !picture_.isNull())
        return;
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

// The display names of the fonts the printer selects neither by face name nor
// by the alternate name (the layouts fell back to a standard font for them).
static QStringList RefusedFonts(PrinterSurface& printer, const PrintFontList& fonts)
{
    QStringList refused;
    for (const PrintFontEntry& f : fonts)
        if (!printer.SetFontName(f.FaceName.trimmed()) && !printer.SetFontName(f.AlternateName.trimmed())
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
    printer.reset();  // ends the last document
    drawGauge(0);
    showStatus(QStringLiteral("Ready to print"));
    QApplication::restoreOverrideCursor();
    busy_ = false;
    if (!refused.isEmpty()) {
        QStringList shown = refused.mid(0, 10);
        if (refused.size() > shown.size())
            shown << QString("and %1 more").arg(refused.size() - shown.size());
        Sys().messages->MsgBox("The printer could not use these fonts; they were printed in a "
                               "standard font instead:\n\n" + shown.join('\n'),
                               vbInformation, QStringLiteral("Glyphwick"));
    }
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
