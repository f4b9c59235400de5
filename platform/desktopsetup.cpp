// The printer set-up dialog and web addresses on the desktop.
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

#include "platform/desktop.h"

namespace gw {

namespace {

QString& ChosenPrinter()
{
    static QString name;
    return name;
}

class DesktopPrinterSetup : public PrinterSetup {
public:
    // Empty for the PDF writer (chosen, or when there is no printer): it is no
    // printer a print run could open by name.
    QString DeviceName() override
    {
        if (ChosenPrinter() == QLatin1String("PDF"))
            return QString();
        if (!ChosenPrinter().isEmpty())
            return ChosenPrinter();
        return QPrinterInfo::defaultPrinterName();
    }

    void ShowPrinter(QWidget* parent) override
    {
        QPrinter printer;
        const QString current = DeviceName();
        if (!current.isEmpty())
            printer.setPrinterName(current);
        else
            printer.setOutputFormat(QPrinter::PdfFormat);
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print Setup"));
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        if (dialog.exec() != QDialog::Accepted)
            return;
        // The PDF writer has no device name; the program then prints to PDF.
        const QString name = printer.printerName();
        ChosenPrinter() = printer.outputFormat() == QPrinter::PdfFormat || name.isEmpty()
                              ? QStringLiteral("PDF")
                              : name;
    }
};

class DesktopWebLinks : public WebLinks {
public:
    void OpenAddress(const QString& address) override
    {
        DesktopOpenAddress(QUrl(address));
    }
};

} // namespace

QString DesktopChosenPrinter()
{
    return ChosenPrinter();
}

std::unique_ptr<PrinterSetup> MakeDesktopPrinterSetup() { return std::make_unique<DesktopPrinterSetup>(); }
std::unique_ptr<WebLinks> MakeDesktopWebLinks() { return std::make_unique<DesktopWebLinks>(); }

} // namespace gw
