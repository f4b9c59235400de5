// The printer set-up dialog and web addresses on the desktop.
#include <QDesktopServices>
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
    QString DeviceName() override
    {
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
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print Setup"));
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        if (dialog.exec() != QDialog::Accepted)
            return;
        // The PDF writer has no device name; the program then prints to PDF.
        ChosenPrinter() = printer.outputFormat() == QPrinter::PdfFormat
                              ? QStringLiteral("PDF")
                              : printer.printerName();
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
