// The last steps of the install wizard: installing the chosen fonts (mode 1)
// and printing them without installing them (mode 2).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QSet>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QStyle>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/globals.h"
#include "core/linuxtexts.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/fonttable.h"
#include "print/catalogs.h"
#include "print/printlist.h"
#include "print/printrun.h"
#include "print/qtprinter.h"
#include "print/sheets.h"
#include "wizards/fontinstall.h"
#include "wizards/installwizard.h"
#include "wizards/printrunner.h"

namespace gw {

namespace {

const QString kTitle = QStringLiteral("Glyphwick");

// The printer of a print run, as every wizard finds it.
std::unique_ptr<PrinterSurface> DefaultPrinter()
{
    QString error;
    std::unique_ptr<PrinterSurface> printer = SystemPrintTarget().Open(&error);
    if (!printer && !error.isEmpty())
        Sys().messages->MsgBox(error, vbInformation, kTitle);
    return printer;
}

} // namespace

// ---- Registrations preview and the last step ----------------------------------------------

void InstallWizard::RebuildChanges()
{
    lstChanges->clear();
    int count = 0;
    for (QTreeWidgetItem* row : Rows()) {
        const int slot = SlotOf(row);
        if (slot <= 0 || !row->isSelected())
            continue;
        const FontFileRecord& font = Fonts[size_t(slot)];
        if (font.FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0 || font.AlreadyInstalled)
            continue;
        lstChanges->addItem(font.RegistryName + " = " + FileNamePart(font.FilePath));
        ++count;
    }
    if (Step == 3 && WizardMode != 2) {
        lblCount->setText(SelectionCountText(count, true));
    }
}

void InstallWizard::UpdateGoStep()
{
    const int count = SelectedRowCount();
    if (WizardMode != 2) {
        cmdGo->setText(QStringLiteral("&Install Fonts"));
        lblNumber->setText(SelectionCountText(count, true));
        cmdGo->setEnabled(count > 0);
        return;
    }
    cmdGo->setText(QStringLiteral("&Print Fonts"));
    lblStatus->setText(QStringLiteral("Ready to print..."));
    bool anySheet = false;
    for (QCheckBox* box : SheetBoxes())
        anySheet = anySheet || box->isChecked();
    const bool anything = optCatalog->isChecked() || (optSheets->isChecked() && anySheet);
    if (!anything || count == 0) {
        lblNumber->setText(QStringLiteral("No fonts selected"));
        cmdGo->setEnabled(false);
    } else {
        lblNumber->setText(QString::number(count) + (count == 1 ? " font to print" : " fonts to print"));
        cmdGo->setEnabled(true);
    }
}

void InstallWizard::cmdSave_Click()
{
    QString text;
    for (int i = 0; i < lstChanges->count(); ++i)
        text += lstChanges->item(i)->text() + "\r\n";
    Sys().clipboard->Clear();
    Sys().clipboard->SetText(text);
}

void InstallWizard::cmdGo_Click()
{
    if (WizardMode == 2)
        PrintFonts();
    else
        InstallFonts();
}

// ---- Installation ---------------------------------------------------------------------------

void InstallWizard::InstallFonts()
{
    RemovePreviewFont();
    RemovePrintFonts();
    if (TempFontFiles)
        DeleteTempFontFiles();

    std::unique_ptr<RegistryKey> key;
    Sys().registry->OpenKey(FontsKey, KEY_WRITE, &key);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    lblStatus->setText(QStringLiteral("Installing fonts..."));
    QCoreApplication::processEvents();

    const QString destFolder = QDir::cleanPath(WinDir + "fonts");
    QDir().mkpath(destFolder);
    // The result list names what this run installed, and what it did not and why.
    for (FontFileRecord& font : Fonts)
        font.InstalledNow = false;
    QStringList notInstalled;
    // The file of each face already tried in this run (a collection's faces share one), by source path.
    QHash<QString, size_t> triedFiles;
    bool stopped = false;
    const QList<QTreeWidgetItem*> rows = Rows();
    for (int i = 1; i <= rows.size(); ++i) {
        QTreeWidgetItem* row = rows[i - 1];
        const int slot = SlotOf(row);
        if (slot <= 0 || !row->isSelected())
            continue;
        FontFileRecord& font = Fonts[size_t(slot)];
        if (font.FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0 || font.AlreadyInstalled)
            continue;
        if (stopped) {
            notInstalled << NotInstalledLine(font, QStringLiteral("the installation stopped before it"));
            continue;
        }
        font.Selected = true;
        const auto tried = triedFiles.constFind(font.FilePath);
        if (tried != triedFiles.constEnd()) {
            const FontFileRecord& first = Fonts[tried.value()];
            if (first.InstalledNow)
                AddInstalledFace(font, first, key.get());
            else
                notInstalled << NotInstalledLine(font, QStringLiteral("its file was not installed"));
            font.Selected = first.InstalledNow;
            continue;
        }
        triedFiles.insert(font.FilePath, size_t(slot));
        const InstallResult result = InstallFontFile(font, destFolder, key.get());
        font.Selected = result.installed;
        if (!result.installed)
            notInstalled << NotInstalledLine(font, result.reason);
        if (result.stop) {
            stopped = true;
            DrawWindowGauge(picGauge2, 0);
            continue;
        }
        DrawWindowGauge(picGauge2, int(std::lround(double(i) / qMax(1, int(rows.size())) * 100)));
        QCoreApplication::processEvents();
    }
    if (!stopped)
        DrawWindowGauge(picGauge2, 100);
    lblStatus->setText(stopped ? QStringLiteral("Installing fonts stopped.")
                               : QStringLiteral("Finished installing fonts..."));
    key.reset();
    QApplication::restoreOverrideCursor();

    InstallDoneDialog success(this);
    int installed = 0;
    for (QTreeWidgetItem* row : rows) {
        const int slot = SlotOf(row);
        if (slot > 0 && Fonts[size_t(slot)].InstalledNow) {
            success.lstFonts->addItem(Fonts[size_t(slot)].RegistryName + " (" + Fonts[size_t(slot)].FileName + ")");
            row->setIcon(0, style()->standardIcon(QStyle::SP_DialogApplyButton));
            ++installed;
        }
    }
    if (!notInstalled.isEmpty()) {
        success.setWindowTitle(QStringLiteral("Glyphwick"));
        success.lblMsg->setText(installed ? QStringLiteral("Some fonts were not installed. The list names the fonts "
                                                           "installed and, for the others, why not.")
                                          : QStringLiteral("No font was installed. The list says why for each."));
        success.lstFonts->addItems(notInstalled);
    }
    ShowModal(&success);
    cmdGo->setEnabled(false);
    Sys().fonts->BroadcastFontChange();
    FontsChanged = true;
}

// ---- Printing -------------------------------------------------------------------------------

void InstallWizard::optCatalog_Click()
{
    choice_->EnableFor(false);
    txtTitle->selectAll();
    if (isVisible())
        txtTitle->setFocus();
    UpdatePicture();
    UpdateGoStep();
}

void InstallWizard::optSheets_Click()
{
    choice_->EnableFor(true);
    UpdatePicture();
    UpdateGoStep();
}

void InstallWizard::cmbStyle_Click()
{
    UpdatePicture();
}

void InstallWizard::chkSheet_Click(QCheckBox*)
{
    UpdatePicture();
    UpdateGoStep();
}

void InstallWizard::chkUpper_Click()
{
    WriteIniString(QStringLiteral("SpecSheets"), QStringLiteral("UpperCase"), chkUpper->isChecked() ? "1" : "0",
                   IniFile);
    imgPic->Refresh();
}

PrintChoice InstallWizard::Choice() const
{
    PrintChoice choice = choice_->Choice();
    choice.Folder = QDir::toNativeSeparators(CurrentFolder);
    return choice;
}

void InstallWizard::UpdatePicture()
{
    if (WizardMode != 2 || Step != 2)
        return;
    // The picture shows the previewed font, whose resource is the one held for
    // previews; with none yet, the first selected font is previewed for it.
    if (PreviewFontFile.isEmpty()) {
        for (QTreeWidgetItem* row : Rows()) {
            const int slot = SlotOf(row);
            if (slot > 0 && row->isSelected() && QFileInfo(Fonts[size_t(slot)].FilePath).isFile()
                && Fonts[size_t(slot)].FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) != 0) {
                ListView1_ItemClick(row);
                break;
            }
        }
    }
    PrintFontList shown;
    if (!PreviewFontFile.isEmpty() && previewSlot_ > 0)
        shown.push_back(UninstalledPrintEntry(Fonts[size_t(previewSlot_)]));
    imgPic->SetFonts(shown);
    imgPic->SetChoice(Choice());
}

void InstallWizard::txtTitle_GotFocus()
{
    txtTitle->selectAll();
}

void InstallWizard::RemovePrintFonts()
{
    if (Rows().isEmpty())
        return;
    bool any = false;
    for (size_t slot = 1; slot < Fonts.size(); ++slot) {
        const FontFileRecord& font = Fonts[slot];
        if (font.AlreadyInstalled || font.FotPath.isEmpty())
            continue;
        if (!any) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            lblReading->setText(QStringLiteral("Cleaning up..."));
            lblReading->show();
            any = true;
        }
        Sys().fonts->RemoveFontResource(font.FotPath);
    }
    if (any) {
        // One broadcast for the batch: on the desktop each one reloads every font.
        Sys().fonts->BroadcastFontChange();
        lblReading->hide();
        QApplication::restoreOverrideCursor();
    }
}

PrintFontList InstallWizard::PreparePrintFonts()
{
    RemovePreviewFont();
    PrintFontList list;
    QSet<QString> addedFiles;
    for (QTreeWidgetItem* row : Rows()) {
        const int slot = SlotOf(row);
        if (slot <= 0 || !row->isSelected())
            continue;
        const FontFileRecord& font = Fonts[size_t(slot)];
        if (font.FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0)
            continue;
        if (font.FotPath.isEmpty() || !QFileInfo(font.FilePath).isFile())
            continue; // gone since the scan
        // A collection's file is added once for all its faces.
        if (!addedFiles.contains(font.FilePath))
            Sys().fonts->AddFontForDrawing(font.FotPath);
        addedFiles.insert(font.FilePath);
        list.push_back(UninstalledPrintEntry(font));
    }
    // One broadcast for the batch: each makes the desktop reload its fonts.
    Sys().fonts->BroadcastFontChange();
    return list;
}

void InstallWizard::PrintFonts()
{
    std::shared_ptr<PrinterSurface> printer = OpenPrinter ? OpenPrinter() : DefaultPrinter();
    if (!printer)
        return;
    if (!CheckPaperSize(*printer))
        return;
    cmdGo->setEnabled(false);
    if (optCatalog->isChecked()) {
        PrintCatalogs(*printer);
        chkUpper_Click();
    }
    if (optSheets->isChecked())
        PrintUninstalledSheets(*printer);
    if (auto* qt = dynamic_cast<QtPrinterSurface*>(printer.get()))
        qt->Close();
    cmdGo->setEnabled(true);
}

void InstallWizard::PrintCatalogs(PrinterSurface& printer)
{
    const PrintFontList list = PreparePrintFonts();
    lblStatus->setText(QStringLiteral("Printing..."));
    const Gauge gauge = [this](int percent) { DrawWindowGauge(picGauge2, percent); };
    const PrintChoice choice = Choice();
    gw::PrintCatalogs(printer, choice.Layout, list, gauge, choice.Title, choice.Folder);
    lblStatus->setText(QStringLiteral("Ready to print"));
}

void InstallWizard::PrintUninstalledSheets(PrinterSurface& printer)
{
    const PrintFontList list = PreparePrintFonts();
    if (!CheckPaperSize(printer))
        return;
    lblStatus->setText(QStringLiteral("Printing specimen sheets..."));
    std::array<bool, 8> checked{};
    const std::array<QCheckBox*, 8> boxes = SheetBoxes();
    for (size_t i = 0; i < 8; ++i)
        checked[i] = boxes[i]->isChecked();
    const Gauge gauge = [this](int percent) { DrawWindowGauge(picGauge2, percent); };
    // 72 Point Set, Character Set, ANSI Chart, Keyboard Chart, then Specimen Sheets I to IV.
    PrintSheets(printer, list, gauge, checked, {}, {7, 6, 5, 4, 0, 1, 2, 3});
    lblStatus->setText(QStringLiteral("Ready to print!"));
}

// ---- Success dialog -------------------------------------------------------------------------

InstallDoneDialog::InstallDoneDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("InstallDoneDialog"));
    setWindowTitle(QStringLiteral("TrueType Install Wizard"));
    picWizard = new PictureBox(this);
    picWizard->setObjectName(QStringLiteral("picWizard"));
    picWizard->setFixedWidth(TwipsToPixels(1500));
    lblMsg = new QLabel(
        QStringLiteral("The Installation Wizard has succesfully installed the following TrueType fonts."), this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setWordWrap(true);
    lstFonts = new QListWidget(this);
    lstFonts->setObjectName(QStringLiteral("lstFonts"));
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    auto* right = new QVBoxLayout;
    right->addWidget(lblMsg);
    right->addWidget(lstFonts, 1);
    right->addWidget(Command1, 0, Qt::AlignRight);
    auto* h = new QHBoxLayout(this);
    h->addWidget(picWizard);
    h->addLayout(right, 1);
    resize(TwipsToPixels(7200), TwipsToPixels(4200));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    Form_Load();
}

void InstallDoneDialog::Form_Load()
{
    CentreForm(this);
    QTimer::singleShot(0, this, [this] { DrawWizardPicture(picWizard); });
}

void InstallDoneDialog::Command1_Click()
{
    hide();
}

} // namespace gw
