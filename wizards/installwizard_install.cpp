// The last steps of the install wizard: installing the chosen fonts, or
// printing them without installing them.
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
    changesList_->clear();
    int count = 0;
    for (QTreeWidgetItem* row : Rows()) {
        const int slot = SlotOf(row);
        if (slot < 0 || !row->isSelected())
            continue;
        const FontFileRecord& font = fonts_[size_t(slot)];
        if (font.FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0 || font.AlreadyInstalled)
            continue;
        changesList_->addItem(font.RegistryName + " = " + FileNamePart(font.FilePath));
        ++count;
    }
    if (step_ == kChangesStep && Installs()) {
        selectionCountLabel_->setText(SelectionCountText(count, true));
    }
}

void InstallWizard::UpdateGoStep()
{
    const int count = SelectedRowCount();
    if (Installs()) {
        goButton_->setText(QStringLiteral("&Install Fonts"));
        fontCountLabel_->setText(SelectionCountText(count, true));
        goButton_->setEnabled(count > 0);
        return;
    }
    goButton_->setText(QStringLiteral("&Print Fonts"));
    statusLabel_->setText(QStringLiteral("Ready to print..."));
    const PrintChoice choice = choice_->Choice();
    const bool anything = !choice.Sheets || choice.AnySheet();
    if (!anything || count == 0) {
        fontCountLabel_->setText(QStringLiteral("No fonts selected"));
        goButton_->setEnabled(false);
    } else {
        fontCountLabel_->setText(QString::number(count) + (count == 1 ? " font to print" : " fonts to print"));
        goButton_->setEnabled(true);
    }
}

void InstallWizard::CopyChangesToClipboard()
{
    QString text;
    for (int i = 0; i < changesList_->count(); ++i)
        text += changesList_->item(i)->text() + "\r\n";
    Sys().clipboard->Clear();
    Sys().clipboard->SetText(text);
}

void InstallWizard::InstallOrPrint()
{
    if (!Installs())
        PrintFonts();
    else
        InstallFonts();
}

// ---- Installation ---------------------------------------------------------------------------

void InstallWizard::InstallFonts()
{
    RemovePreviewFont();
    RemovePrintFonts();
    DeleteTempFontFiles();

    std::unique_ptr<RegistryKey> key;
    Sys().registry->OpenKey(FontsKey, KEY_WRITE, &key);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    statusLabel_->setText(QStringLiteral("Installing fonts..."));
    QCoreApplication::processEvents();

    const QString destFolder = QDir::cleanPath(UserDataDir + "fonts");
    QDir().mkpath(destFolder);
    // The result list names what this run installed, and what it did not and why.
    for (FontFileRecord& font : fonts_)
        font.InstalledNow = false;
    QStringList notInstalled;
    // The file of each face already tried in this run (a collection's faces share one), by source path.
    QHash<QString, size_t> triedFiles;
    bool stopped = false;
    const QList<QTreeWidgetItem*> rows = Rows();
    for (int i = 1; i <= rows.size(); ++i) {
        QTreeWidgetItem* row = rows[i - 1];
        const int slot = SlotOf(row);
        if (slot < 0 || !row->isSelected())
            continue;
        FontFileRecord& font = fonts_[size_t(slot)];
        if (font.FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0 || font.AlreadyInstalled)
            continue;
        if (stopped) {
            notInstalled << NotInstalledLine(font, QStringLiteral("the installation stopped before it"));
            continue;
        }
        const auto tried = triedFiles.constFind(font.FilePath);
        if (tried != triedFiles.constEnd()) {
            const FontFileRecord& first = fonts_[tried.value()];
            if (first.InstalledNow)
                AddInstalledFace(font, first, key.get());
            else
                notInstalled << NotInstalledLine(font, QStringLiteral("its file was not installed"));
            continue;
        }
        triedFiles.insert(font.FilePath, size_t(slot));
        const InstallResult result = InstallFontFile(font, destFolder, key.get());
        if (!result.installed)
            notInstalled << NotInstalledLine(font, result.reason);
        if (result.stop) {
            stopped = true;
            DrawWindowGauge(progressGauge_, 0);
            continue;
        }
        DrawWindowGauge(progressGauge_, int(std::lround(double(i) / qMax(1, int(rows.size())) * 100)));
        QCoreApplication::processEvents();
    }
    if (!stopped)
        DrawWindowGauge(progressGauge_, 100);
    statusLabel_->setText(stopped ? QStringLiteral("Installing fonts stopped.")
                               : QStringLiteral("Finished installing fonts..."));
    key.reset();
    QApplication::restoreOverrideCursor();

    InstallDoneDialog success(this);
    int installed = 0;
    for (QTreeWidgetItem* row : rows) {
        const int slot = SlotOf(row);
        if (slot >= 0 && fonts_[size_t(slot)].InstalledNow) {
            success.AddLine(fonts_[size_t(slot)].RegistryName + " (" + fonts_[size_t(slot)].FileName + ")");
            row->setIcon(0, style()->standardIcon(QStyle::SP_DialogApplyButton));
            ++installed;
        }
    }
    if (!notInstalled.isEmpty()) {
        success.setWindowTitle(QStringLiteral("Glyphwick"));
        success.SetMessage(installed ? QStringLiteral("Some fonts were not installed. The list names the fonts "
                                                           "installed and, for the others, why not.")
                                          : QStringLiteral("No font was installed. The list says why for each."));
        success.AddLines(notInstalled);
    }
    ShowModal(&success);
    goButton_->setEnabled(false);
    Sys().fonts->BroadcastFontChange();
    FontsChanged = true;
}

// ---- Printing -------------------------------------------------------------------------------

void InstallWizard::ChooseCatalog()
{
    choice_->EnableFor(false);
    choice_->SelectTitle(isVisible());
    UpdatePicture();
    UpdateGoStep();
}

void InstallWizard::ChooseSheets()
{
    choice_->EnableFor(true);
    UpdatePicture();
    UpdateGoStep();
}

void InstallWizard::UpdatePictureAndGoStep()
{
    UpdatePicture();
    UpdateGoStep();
}

void InstallWizard::SaveUpperCaseChoice()
{
    choice_->SaveUpperCase();
    choice_->RefreshPicture();
}

PrintChoice InstallWizard::Choice() const
{
    PrintChoice choice = choice_->Choice();
    choice.Folder = QDir::toNativeSeparators(currentFolder_);
    return choice;
}

void InstallWizard::UpdatePicture()
{
    if (Installs() || step_ != kPrintChoiceStep)
        return;
    // The picture shows the previewed font, whose resource is the one held for
    // previews; with none yet, the first selected font is previewed for it.
    if (previewFontFile_.isEmpty()) {
        for (QTreeWidgetItem* row : Rows()) {
            const int slot = SlotOf(row);
            if (slot >= 0 && row->isSelected() && QFileInfo(fonts_[size_t(slot)].FilePath).isFile()
                && fonts_[size_t(slot)].FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) != 0) {
                PreviewFont(row);
                break;
            }
        }
    }
    PrintFontList shown;
    if (previewSlot_ >= 0)  // set with previewFontFile_
        shown.push_back(UninstalledPrintEntry(fonts_[size_t(previewSlot_)]));
    choice_->ShowFonts(shown, Choice().Folder);
}

void InstallWizard::RemovePrintFonts()
{
    if (printFontFiles_.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    readingLabel_->setText(QStringLiteral("Cleaning up..."));
    readingLabel_->show();
    for (const QString& file : std::as_const(printFontFiles_))
        Sys().fonts->RemoveFontResource(file);
    printFontFiles_.clear();
    // One broadcast for the batch: on the desktop each one reloads every font.
    Sys().fonts->BroadcastFontChange();
    readingLabel_->hide();
    QApplication::restoreOverrideCursor();
}

PrintFontList InstallWizard::PreparePrintFonts()
{
    RemovePreviewFont();
    PrintFontList list;
    QSet<QString> addedFiles;
    const QString fotFolder = Sys().system->ProgramFolder();
    QDir().mkpath(fotFolder);
    for (QTreeWidgetItem* row : Rows()) {
        const int slot = SlotOf(row);
        if (slot < 0 || !row->isSelected())
            continue;
        FontFileRecord& font = fonts_[size_t(slot)];
        if (font.FaceName.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0)
            continue;
        if (!QFileInfo(font.FilePath).isFile())
            continue; // gone since the scan
        // A collection's file is added once for all its faces.
        if (!addedFiles.contains(font.FilePath)) {
            if (!WriteTemporaryFot(font, fotFolder))
                continue;
            // Still added from an earlier run: added once, removed once.
            if (!printFontFiles_.contains(font.FotPath)) {
                Sys().fonts->AddFontForDrawing(font.FotPath);
                printFontFiles_ << font.FotPath;
            }
            addedFiles.insert(font.FilePath);
        }
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
    goButton_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);  // while it prints
    if (choice_->Choice().Sheets) {
        PrintUninstalledSheets(*printer);
    } else {
        PrintCatalogs(*printer);
        SaveUpperCaseChoice();
    }
    QApplication::restoreOverrideCursor();  // before a message that the run could not be finished
    FinishPrintRun(*printer);
    goButton_->setEnabled(true);
}

void InstallWizard::PrintCatalogs(PrinterSurface& printer)
{
    const PrintFontList list = PreparePrintFonts();
    statusLabel_->setText(QStringLiteral("Printing..."));
    const Gauge gauge = [this](int percent) { DrawWindowGauge(progressGauge_, percent); };
    const PrintChoice choice = Choice();
    gw::PrintCatalogs(printer, choice.Layout, list, gauge, choice.Title, choice.Folder);
    statusLabel_->setText(QStringLiteral("Ready to print"));
}

void InstallWizard::PrintUninstalledSheets(PrinterSurface& printer)
{
    const PrintFontList list = PreparePrintFonts();
    if (!CheckPaperSize(printer))
        return;
    statusLabel_->setText(QStringLiteral("Printing specimen sheets..."));
    const std::array<bool, 8> checked = choice_->Choice().Checked;
    const Gauge gauge = [this](int percent) { DrawWindowGauge(progressGauge_, percent); };
    // 72 Point Set, Character Set, ANSI Chart, Keyboard Chart, then Specimen Sheets I to IV.
    PrintSheets(printer, list, gauge, checked, {}, {7, 6, 5, 4, 0, 1, 2, 3});
    statusLabel_->setText(QStringLiteral("Ready to print!"));
}

// ---- Result dialog --------------------------------------------------------------------------

InstallDoneDialog::InstallDoneDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("InstallDoneDialog"));
    setWindowTitle(QStringLiteral("TrueType Install Wizard"));
    picture_ = new PictureBox(this);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setFixedWidth(TwipsToPixels(1500));
    messageLabel_ = new QLabel(
        QStringLiteral("The Installation Wizard has succesfully installed the following TrueType fonts."), this);
    messageLabel_->setObjectName(QStringLiteral("messageLabel"));
    messageLabel_->setWordWrap(true);
    resultList_ = new QListWidget(this);
    resultList_->setObjectName(QStringLiteral("resultList"));
    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    auto* right = new QVBoxLayout;
    right->addWidget(messageLabel_);
    right->addWidget(resultList_, 1);
    right->addWidget(okButton_, 0, Qt::AlignRight);
    auto* h = new QHBoxLayout(this);
    h->addWidget(picture_);
    h->addLayout(right);  // beside a picture of fixed width: it takes the rest
    resize(TwipsToPixels(7200), TwipsToPixels(4200));
    connect(okButton_, &QPushButton::clicked, this, &QWidget::hide);
    CentreForm(this);
    QTimer::singleShot(0, this, [this] { DrawWizardPicture(picture_); });
}

void InstallDoneDialog::SetMessage(const QString& text)
{
    messageLabel_->setText(text);
}

void InstallDoneDialog::AddLine(const QString& text, const QString& toolTip)
{
    auto* line = new QListWidgetItem(text, resultList_);
    if (!toolTip.isEmpty())
        line->setToolTip(toolTip);
}

void InstallDoneDialog::AddLines(const QStringList& lines)
{
    resultList_->addItems(lines);
}

void InstallDoneDialog::WrapLines()
{
    resultList_->setWordWrap(true);
    resultList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

} // namespace gw
