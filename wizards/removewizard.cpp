#include "wizards/removewizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "fonts/enumerate.h"
#include "wizards/folderpicker.h"
#include "wizards/fontrow.h"
#include "wizards/installwizard.h"

namespace gw {

namespace {

const QString kTitle = QStringLiteral("Glyphwick");
const QString kCrLf = QStringLiteral("\r\n");
const QString kSection = QStringLiteral("RemoveWizard");
const QString kUnknown = QStringLiteral("unknown");

QString StepMessage(int step, int selected)
{
    switch (step) {
    case 0:
        return ForLinux(QStringLiteral(
            "Glyphwick can uninstall one or more TrueType font files from your PC. First, select "
            "which fonts you wish to remove. Hold the CTRL key and click the mouse button to select "
            "more than one font."));
    case 1:
        return QStringLiteral(
            "After Glyphwick uninstalls a font, it can delete, copy or move the font file(s). Do not "
            "delete TrueType files if you wish to reinstall them later. If you wish to copy or move "
            "the file(s), please provide the name of the Target Folder.");
    default:
        // The count is written as a number with room for its sign.
        return QStringLiteral("You have selected ") + QStringLiteral(" ") + QString::number(selected)
               + QStringLiteral(" font(s) to uninstall.") + kCrLf
               + QStringLiteral("To complete the operation, click the \"Uninstall Fonts!\" button.");
    }
}

// Whether the user may delete, copy away or move the file: not a system font
// and in a folder the user may write.
bool UserCanChangeFile(const QString& file)
{
    const QString system = Sys().system->SystemFontDirectory();
    if (!system.isEmpty() && QFileInfo(file).absoluteFilePath().startsWith(system + "/"))
        return false;
    const QFileInfo folder(QFileInfo(file).absolutePath());
    return !folder.exists() || folder.isWritable();
}

// The two paths name one file (or the same text when neither exists).
bool SamePath(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

// ---- Registry entries -------------------------------------------------------------------

RegistryEntries::RegistryEntries()
{
    for (const auto& row : RegFontList)
        if (!row[0].isEmpty())
            data_.insert(row[0].toUpper(), row[1]);
}

QString RegistryEntries::EntryOf(const QString& fullName) const
{
    // As the registration lookup: " (TrueType)" first, then " (True Type)".
    for (const char* suffix : {" (TrueType)", " (True Type)"}) {
        const auto it = data_.constFind((fullName + QLatin1String(suffix)).toUpper());
        if (it != data_.constEnd())
            return fullName + QStringLiteral(" (TrueType) = ") + TrimAtNul(*it);
    }
    return kUnknown;
}

// ---- The removal ------------------------------------------------------------------------

namespace {

QString StillInPlaceText(const QString& file)
{
    return QStringLiteral("The font has been removed, but the file ") + file
           + QStringLiteral(" is still in its original location.");
}

QString DiskFullText(const QString& target, const QString& file)
{
    // A Linux path has no drive letter: the target folder stands for the drive.
    return QStringLiteral("Destination Drive: ") + QFileInfo(target).absolutePath() + QStringLiteral("\r")
           + QStringLiteral("This drive is full! Glyphwick cannot place a file there!") + kCrLf + kCrLf
           + QStringLiteral("You may want to try moving data files to floppy disk or removing "
                            "applications to create more space on the hard drive...")
           + kCrLf + kCrLf + StillInPlaceText(file);
}

QString NotReadyText()
{
    return QStringLiteral("Disk not ready... Please make sure the floppy is in the drive correctly and "
                          "the drive door is shut (if there is one!).")
           + kCrLf + kCrLf
           + QStringLiteral("Click Retry to continue or Cancel to stop removing fonts...");
}

QString AccessText(const QString& file)
{
    return kTitle
           + QStringLiteral(" cannot access a font file on the drive. The diskette may contain a "
                            "physical error (bad sector, etc) that prevents proper reading of the "
                            "file. The target drive may also be a read only device (CD-ROM) or "
                            "contain a read-only filename.")
           + kCrLf + kCrLf + StillInPlaceText(file);
}

QString DeleteErrorText(int error, const QString& file, bool hidden)
{
    QString text = QStringLiteral("This file could not be removed: ") + kCrLf + kCrLf + file + kCrLf + kCrLf
                   + (error == ErrPathFileAccess
                          ? QStringLiteral("The file may be marked as a read-only file or be on a "
                                           "CD-ROM drive.")
                          : QStringLiteral("It is not known why the file can't be deleted!"));
    if (hidden)
        text += kCrLf + kCrLf + FontHiddenNote();
    return text;
}

enum class CopyResult { Copied, Failed, Cancel, Stop };

// Copies the font file to its target, answering each copy error with its own message. The
// copy counts only when the target is complete with the source's size.
CopyResult CopyFontFile(const FontRecord& font)
{
    for (;;) {
        int error = Sys().storage->CopyFile(font.FontFile, font.Target);
        if (!error && QFileInfo(font.Target).size() != QFileInfo(font.FontFile).size())
            error = ErrPathFileAccess;
        switch (error) {
        case 0:
            return CopyResult::Copied;
        case ErrDiskFull:
            Sys().messages->MsgBox(DiskFullText(font.Target, font.FontFile), vbCritical, kTitle);
            return CopyResult::Failed;
        case ErrDeviceUnavailable:
        case ErrDiskNotReady:
            if (Sys().messages->MsgBox(NotReadyText(), vbRetryCancel | vbCritical, kTitle) == vbRetry)
                continue;
            return CopyResult::Cancel;
        case ErrPathFileAccess:
            Sys().messages->MsgBox(AccessText(font.FontFile), vbCritical, kTitle);
            return CopyResult::Failed;
        default:
            return CopyResult::Stop;
        }
    }
}

} // namespace

QString NoTrashText(const QString& file)
{
    return QStringLiteral("No trash can take the font file ") + file
           + QStringLiteral(" (its disk or folder has none that Glyphwick may use).") + kCrLf + kCrLf
           + QStringLiteral("Do you want to delete it for good? It cannot be restored afterwards. "
                            "No keeps the file where it is.");
}

QString NotAFolderText(const QString& folder)
{
    return folder.trimmed().isEmpty() ? QStringLiteral("Please provide the name of the Target Folder.")
                                      : QStringLiteral("The target folder ") + folder
                                            + QStringLiteral(" is not a folder Glyphwick can copy into. "
                                                             "Please choose another with Pick Folder.");
}

QString MissingFolderText(const QString& folder)
{
    return QStringLiteral("The target folder ") + folder + QStringLiteral(" does not exist.") + kCrLf + kCrLf
           + QStringLiteral("Do you want to create it? No uninstalls nothing.");
}

QString RemovalReportLine(const QString& file, const RemovalOutcome& outcome)
{
    return file + QStringLiteral(": ")
           + (outcome.text.isEmpty() ? QStringLiteral("not uninstalled; the file is kept") : outcome.text);
}

RemovalEnd RemoveFonts(const QVector<RemovalRow>& rows, const RemovalChoice& choice,
                       const std::function<void(int)>& progress, QVector<RemovalOutcome>* outcomes)
{
    QVector<RemovalOutcome> results(rows.size());
    // Fonts whose registration could not be deleted stay visible to every
    // program, so they count as not removed.
    QVector<bool> stillRegistered(rows.size(), false);
    auto finish = [&](RemovalEnd end) {
        // Rows a run that ended early did not reach: their registration is
        // already gone (registry pass), their file untouched.
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].selected && results[i].text.isEmpty())
                results[i] = {false, rows[i].registryKnown && !stillRegistered[i]
                                         ? QStringLiteral("uninstalled; the run stopped before its file, which is kept")
                                         : QStringLiteral("not uninstalled; the file is kept")};
        if (outcomes)
            *outcomes = results;
        return end;
    };
    if (progress)
        progress(0);
    const bool copyOrMove = choice.action == ActionCopy || choice.action == ActionMove;
    // A target folder that is not there: asked before anything is uninstalled.
    if (copyOrMove && !QFileInfo(choice.targetFolder).isDir()) {
        const QString& folder = choice.targetFolder;
        bool made = false;
        if (folder.trimmed().isEmpty() || QFileInfo::exists(folder))
            Sys().messages->MsgBox(NotAFolderText(folder), vbInformation, kTitle);
        else if (Sys().messages->MsgBox(MissingFolderText(folder), vbYesNo | vbQuestion, kTitle) == vbYes) {
            made = QDir().mkpath(folder);
            if (!made)
                Sys().messages->MsgBox(NotAFolderText(folder), vbInformation, kTitle);
        }
        if (!made) {
            for (int i = 0; i < rows.size(); ++i)
                if (rows[i].selected)
                    results[i] = {false, QStringLiteral("not uninstalled: the target folder is not there; the file is kept")};
            return finish(RemovalEnd::NotStarted);
        }
    }
    // Registry pass.
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows[i].selected)
            continue;
        FontRecord& font = FontTable[size_t(rows[i].slot)];
        if (NameNotUtf8(font.FontFile)) {
            // Neither its file nor a hiding rule can be reached by this name.
            font.Remove = 0;
            results[i] = {false, QStringLiteral("not uninstalled: ") + NameNotUtf8Text()};
        } else if (rows[i].registryKnown) {
            font.Remove = 1;
            std::unique_ptr<RegistryKey> key;
            if (Sys().registry->OpenKey(FontsKey, KEY_WRITE, &key) == ERROR_SUCCESS && key)
                stillRegistered[i] = key->DeleteValue(font.RegistryName) != ERROR_SUCCESS;
            else
                stillRegistered[i] = true;
        } else {
            const QString question =
                QStringLiteral("The entry for ") + font.FullName
                + ForLinux(QStringLiteral(
                    " could not be determined. It may be best to remove this font using the Windows "
                    "Control Panel. Do you wish to delete the FOT & TTF file? This may not be wise!"));
            font.Remove = Sys().messages->MsgBox(question, vbYesNo | vbQuestion, kTitle) == vbYes ? 1 : 0;
            if (!font.Remove)
                results[i] = {false, QStringLiteral("not uninstalled: no registration was found; the file is kept")};
        }
    }

    // Target pass.
    if (copyOrMove) {
        QString folder = choice.targetFolder;
        if (!folder.endsWith('/'))
            folder += '/';
        for (const RemovalRow& row : rows)
            if (row.selected) {
                FontRecord& font = FontTable[size_t(row.slot)];
                font.Target = folder + FileNamePart(font.FontFile);
            }
    }

    // Main pass.
    bool keepTheRest = false; // Cancel on the confirm question keeps every later file
    for (int i = 0; i < rows.size(); ++i) {
        if (progress)
            progress(int((i + 1) * 100LL / rows.size()));
        if (!rows[i].selected)
            continue;
        FontRecord& font = FontTable[size_t(rows[i].slot)];
        if (!font.Remove)
            continue;
        RemovalOutcome& result = results[i];

        // A file another program removed meanwhile: nothing is left to release.
        const bool fileGone = font.FontFile != kUnknown && !QFileInfo::exists(font.FontFile)
                              && !QFileInfo(font.FontFile).isSymLink();
        if (fileGone) {
            Sys().fonts->ForgetFontFile(font.FontFile);
            Sys().fonts->BroadcastFontChange();
            Sys().messages->MsgBox(QStringLiteral("The font file ") + font.FontFile
                                       + QStringLiteral(" is no longer there: another program removed it. "
                                                        "The font is uninstalled."),
                                   vbInformation, font.FullName);
            font.Done = false;
            result = {!stillRegistered[i], QStringLiteral("uninstalled; the file was already gone")};
            continue;
        }

        // The resource is released through a freshly made .fot of the file.
        const QString fot = OwnFileName(Sys().system->ProgramFolder(),
                                        StripExtension(FileNamePart(font.FontFile)).left(40) + ".fot");
        int removed = 0;
        if (Sys().fonts->CreateScalableFontResource(0, fot, font.FontFile, QString())) {
            removed = Sys().fonts->RemoveFontResource(fot);
            QFile::remove(fot);
        }
        // A path the .fot cannot hold (letters outside code page 1252) is released by its own name.
        if (!removed)
            removed = Sys().fonts->RemoveFontResource(font.FontFile);
        if (removed && !stillRegistered[i]) {
            Sys().fonts->BroadcastFontChange();
            font.Done = true;
            result = {true, QStringLiteral("uninstalled; the file is kept")};
        } else {
            Sys().messages->MsgBox(QStringLiteral("This font could not be removed! The original font file "
                                                  "is still located at ")
                                       + font.FontFile + QStringLiteral("."),
                                   vbInformation, font.FullName);
            font.Done = false;
            result = {false, QStringLiteral("not uninstalled; the file is kept")};
        }

        // A font without a known file has nothing to copy or delete.
        if (font.FontFile == kUnknown || choice.action == ActionKeep)
            continue;

        if (copyOrMove) {
            bool copy = false;
            if (SamePath(font.FontFile, font.Target)) {
                Sys().messages->MsgBox(QStringLiteral("The source file and destination file cannot be the same!"),
                                       vbCritical, kTitle);
                font.Done = false;
            } else if (QFileInfo::exists(font.Target)) {
                const QString question = QStringLiteral("The file ") + FileNamePart(font.FontFile)
                                         + QStringLiteral(" already exists in the target directory. ")
                                         + kCrLf + kCrLf
                                         + QStringLiteral("Do you wish to overwrite the file?");
                if (Sys().messages->MsgBox(question, vbYesNo | vbQuestion, kTitle) == vbYes) {
                    font.Done = true;
                    copy = true;
                } else {
                    if (choice.action == ActionMove)
                        Sys().messages->MsgBox(QStringLiteral("The original file ") + font.FontFile
                                                   + QStringLiteral(" will not be deleted."),
                                               vbInformation, kTitle);
                    font.Done = false;
                }
            } else {
                font.Done = true;
                copy = true;
            }
            if (copy) {
                switch (CopyFontFile(font)) {
                case CopyResult::Copied: break;
                case CopyResult::Failed: font.Done = false; break;
                case CopyResult::Cancel: result.ok = false; return finish(RemovalEnd::Cancelled);
                case CopyResult::Stop: result.ok = false; return finish(RemovalEnd::Stopped);
                }
            }
            if (font.Done)
                result.text = result.ok ? QStringLiteral("uninstalled; the file is copied to ") + font.Target
                                        : result.text + QStringLiteral(", a copy is at ") + font.Target;
            else
                result = {false, result.text + QStringLiteral(", not copied")};
        }

        if ((choice.action == ActionDelete || choice.action == ActionMove) && font.Done) {
            const bool toTrash = choice.action == ActionDelete;
            if (choice.confirmDeletes && !keepTheRest) {
                const int answer = Sys().messages->MsgBox(ConfirmDeleteText(font.FontFile, toTrash),
                                                          vbYesNoCancel | vbQuestion, kTitle);
                if (answer == vbCancel)
                    keepTheRest = true;
                if (answer != vbYes)
                    continue;
            }
            if (keepTheRest)
                continue;
            // Delete puts the file in the trash; a move's original is complete at
            // the target already and goes for good.
            bool trashed = false;
            int error = toTrash ? Sys().trash->MoveToTrash(font.FontFile, &trashed)
                                : Sys().trash->DeleteFile(font.FontFile);
            if (error == ErrNoTrash) {
                // Nothing goes for good without the user's word that says so.
                const bool forGood = choice.noTrash == NoTrashDeletes
                                     || (choice.noTrash == NoTrashAsks
                                         && Sys().messages->MsgBox(NoTrashText(font.FontFile),
                                                                   vbYesNo | vbQuestion | vbDefaultButton2,
                                                                   kTitle) == vbYes);
                if (!forGood) {
                    result = {false, result.text.replace(QLatin1String("kept"), QLatin1String("kept: no trash can take it"))};
                    continue;
                }
                error = Sys().trash->DeleteFile(font.FontFile);
            }
            if (error) {
                Sys().messages->MsgBox(DeleteErrorText(error, font.FontFile,
                                                       rows[i].registryKnown && !stillRegistered[i]),
                                       vbInformation, kTitle);
                result.ok = false;
                continue;
            }
            // The file left its place: no hiding rule may outlive it.
            Sys().fonts->ForgetFontFile(font.FontFile);
            if (choice.action == ActionMove)
                result.text = QStringLiteral("uninstalled; the file is moved to ") + font.Target;
            else
                result.text = trashed ? QStringLiteral("uninstalled; the file is in the trash")
                                      : QStringLiteral("uninstalled; the file is deleted for good");
        }
    }
    return finish(RemovalEnd::Finished);
}

} // namespace gw

// ---- The window ---------------------------------------------------------------------------

namespace gw {

namespace {

enum : int { ColName, ColFile, ColSize, ColRegistry };
constexpr int SlotRole = Qt::UserRole;
constexpr int FaceRole = Qt::UserRole + 1;

QTreeWidget* MakeFontList(QWidget* parent, const QString& name)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setHeaderLabels({QStringLiteral("Font Name"), QStringLiteral("File Name"),
                           QStringLiteral("Size"), ForLinux(QStringLiteral("Registry Entry"))});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setTextElideMode(Qt::ElideMiddle); // the end of a path tells files apart
    list->header()->resizeSection(ColName, 170);
    list->header()->resizeSection(ColFile, 200);
    list->header()->resizeSection(ColSize, 80); // room for "(system)"
    return list;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

RemoveWizard::RemoveWizard(const QString& currentFont, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RemoveWizard"));
    setWindowTitle(QStringLiteral("Remove Font Wizard"));
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("messageLabel"));
    messageLabel_->setWordWrap(true);
    messageLabel_->setMinimumHeight(TwipsToPixels(750));
    messageLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (int i = 0; i < 3; ++i) {
        stepPages_[size_t(i)] = new QWidget(this);
        stepPages_[size_t(i)]->setObjectName(QStringLiteral("stepPage%1").arg(i));
    }

    // Step 0: the fonts.
    fontList_ = MakeFontList(stepPages_[0], QStringLiteral("fontList"));
    fontList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fontList_->setSortingEnabled(true);
    fontList_->viewport()->installEventFilter(this);
    sampleLabel_ = new QLabel(QStringLiteral("Font Sample"), stepPages_[0]);
    sampleLabel_->setObjectName(QStringLiteral("sampleLabel"));
    sampleLabel_->setFrameShape(QFrame::Panel);
    sampleLabel_->setFrameShadow(QFrame::Sunken);
    sampleLabel_->setAlignment(Qt::AlignCenter);
    sampleLabel_->setMinimumHeight(60);
    sampleLabel_->setBackgroundRole(QPalette::Base);
    sampleLabel_->setAutoFillBackground(true);
    selectedCountLabel_ = new QLabel(QStringLiteral("No fonts selected"), stepPages_[0]);
    selectedCountLabel_->setObjectName(QStringLiteral("selectedCountLabel"));
    selectButton_ = MakeButton(stepPages_[0], QStringLiteral("selectButton"), QStringLiteral("&Select..."));
    auto* step0 = new QGridLayout(stepPages_[0]);
    step0->setContentsMargins(0, 0, 0, 0);
    step0->addWidget(fontList_, 0, 0, 1, 3);
    step0->addWidget(sampleLabel_, 1, 0, 1, 3);
    step0->addWidget(selectedCountLabel_, 2, 0);
    step0->addWidget(selectButton_, 2, 2);
    step0->setColumnStretch(1, 1);

    // Step 1: what happens to the files.
    afterGroup_ = new QGroupBox(QStringLiteral("After uninstalling fonts"), stepPages_[1]);
    afterGroup_->setObjectName(QStringLiteral("afterGroup"));
    moveRadio_ = new QRadioButton(QStringLiteral("Move font files to a new folder"), afterGroup_);
    moveRadio_->setObjectName(QStringLiteral("moveRadio"));
    copyRadio_ = new QRadioButton(QStringLiteral("Copy font files to a new folder"), afterGroup_);
    copyRadio_->setObjectName(QStringLiteral("copyRadio"));
    deleteRadio_ = new QRadioButton(QStringLiteral("Delete font files"), afterGroup_);
    deleteRadio_->setObjectName(QStringLiteral("deleteRadio"));
    keepRadio_ = new QRadioButton(QStringLiteral("Keep font files"), afterGroup_);
    keepRadio_->setObjectName(QStringLiteral("keepRadio"));
    auto* options = new QVBoxLayout(afterGroup_);
    options->addWidget(keepRadio_);
    options->addWidget(moveRadio_);
    options->addWidget(copyRadio_);
    options->addWidget(deleteRadio_);
    targetLabel_ = new QLabel(QStringLiteral("Target Folder"), stepPages_[1]);
    targetLabel_->setObjectName(QStringLiteral("targetLabel"));
    targetEdit_ = new QLineEdit(stepPages_[1]);
    targetEdit_->setObjectName(QStringLiteral("targetEdit"));
    targetLabel_->setBuddy(targetEdit_);
    pickFolderButton_ = MakeButton(stepPages_[1], QStringLiteral("pickFolderButton"), QStringLiteral("&Pick Folder..."));
    confirmDeletesCheck_ = new QCheckBox(QStringLiteral("Con&firm file deletes"), stepPages_[1]);
    confirmDeletesCheck_->setObjectName(QStringLiteral("confirmDeletesCheck"));
    auto* step1 = new QGridLayout(stepPages_[1]);
    step1->setContentsMargins(0, 0, 0, 0);
    step1->addWidget(afterGroup_, 0, 0, 1, 2);
    step1->addWidget(targetLabel_, 1, 0, 1, 2);
    step1->addWidget(targetEdit_, 2, 0);
    step1->addWidget(pickFolderButton_, 2, 1);
    step1->addWidget(confirmDeletesCheck_, 3, 0, 1, 2);
    step1->setRowStretch(4, 1);

    // Step 2: the list of what will happen, and the button that does it.
    actionLabel_ = new QLabel(stepPages_[2]);
    actionLabel_->setObjectName(QStringLiteral("actionLabel"));
    actionLabel_->setWordWrap(true);
    chosenList_ = MakeFontList(stepPages_[2], QStringLiteral("chosenList"));
    chosenList_->setSelectionMode(QAbstractItemView::NoSelection);
    statusLabel_ = new QLabel(QStringLiteral("Ready to uninstall fonts!"), stepPages_[2]);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    QFrame* well = MakeGaugeWell(stepPages_[2], &gauge_);
    gauge_->setObjectName(QStringLiteral("gauge"));
    uninstallButton_ = MakeButton(stepPages_[2], QStringLiteral("uninstallButton"), QStringLiteral("&Uninstall Fonts!"));
    auto* step2 = new QGridLayout(stepPages_[2]);
    step2->setContentsMargins(0, 0, 0, 0);
    step2->addWidget(actionLabel_, 0, 0, 1, 2);
    step2->addWidget(chosenList_, 1, 0, 1, 2);
    step2->addWidget(statusLabel_, 2, 0, 1, 2);
    step2->addWidget(well, 3, 0);
    step2->addWidget(uninstallButton_, 3, 1);
    step2->setColumnStretch(0, 1);

    helpButton_ = MakeButton(this, QStringLiteral("helpButton"), QStringLiteral("&Help"));
    previousButton_ = MakeButton(this, QStringLiteral("previousButton"), QStringLiteral("<< &Previous"));
    nextButton_ = MakeButton(this, QStringLiteral("nextButton"), QStringLiteral("&Next >>"));
    closeButton_ = MakeButton(this, QStringLiteral("closeButton"), QStringLiteral("&Close"));
    connect(helpButton_, &QPushButton::clicked, this, [] { ShowHelpContext(615); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(helpButton_);
    buttons->addStretch(1);
    buttons->addWidget(previousButton_);
    buttons->addWidget(nextButton_);
    buttons->addSpacing(12);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messageLabel_);
    layout->addSpacing(6);
    for (QWidget* step : stepPages_)
        layout->addWidget(step, 1);
    layout->addLayout(buttons);

    selectMenu_ = new QMenu(this);
    selectMenu_->setObjectName(QStringLiteral("selectMenu"));
    auto addAction = [this](const QString& text, const char* name, void (RemoveWizard::*select)()) {
        QAction* action = selectMenu_->addAction(text, this, select);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    familyAction_ = addAction(QString(), "familyAction", &RemoveWizard::SelectFamily);
    familySeparator_ = selectMenu_->addSeparator();
    regularAction_ = addAction(QStringLiteral("&Regular Fonts"), "regularAction", &RemoveWizard::SelectRegularFonts);
    boldAction_ = addAction(QStringLiteral("&Bold Fonts"), "boldAction", &RemoveWizard::SelectBoldFonts);
    italicAction_ = addAction(QStringLiteral("&Italic Fonts"), "italicAction", &RemoveWizard::SelectItalicFonts);
    boldItalicAction_ = addAction(QStringLiteral("B&oldItalic Fonts"), "boldItalicAction",
                                  &RemoveWizard::SelectBoldItalicFonts);
    noneAction_ = addAction(QStringLiteral("&None"), "noneAction", &RemoveWizard::SelectNoFonts);
    PopupMenu = [](QMenu* menu, const QPoint& pos) { menu->exec(pos); };
    ShowReport = [](QDialog* report) { report->exec(); };

    connect(nextButton_, &QPushButton::clicked, this, &RemoveWizard::GoToNextStep);
    connect(previousButton_, &QPushButton::clicked, this, &RemoveWizard::GoToPreviousStep);
    connect(uninstallButton_, &QPushButton::clicked, this, &RemoveWizard::RemoveChosenFonts);
    connect(pickFolderButton_, &QPushButton::clicked, this, &RemoveWizard::PickTargetFolder);
    connect(selectButton_, &QPushButton::clicked, this, &RemoveWizard::ShowSelectMenu);
    connect(closeButton_, &QPushButton::clicked, this, &RemoveWizard::reject);
    connect(deleteRadio_, &QRadioButton::clicked, this, [this] { EnableTargetFolder(false); });
    connect(copyRadio_, &QRadioButton::clicked, this, [this] { EnableTargetFolder(true); });
    connect(moveRadio_, &QRadioButton::clicked, this, [this] { EnableTargetFolder(true); });
    connect(keepRadio_, &QRadioButton::clicked, this, [this] { EnableTargetFolder(false); });
    connect(fontList_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ShowSample(item); });
    // The sample follows the keyboard too.
    connect(fontList_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ShowSample(item); });
    // Keyboard and Ctrl+click selections count too.
    connect(fontList_, &QTreeWidget::itemSelectionChanged, this, [this] { ShowSelectedCount(); });

    resize(TwipsToPixels(9600), TwipsToPixels(7000));
    CentreForm(this);
    QApplication::processEvents();
    step_ = -1;
    MoveSteps(1);
    LoadSettings();
    FillFontList();
    // Nothing is chosen for the user: the main window's font is often a
    // system font, and a removal must be asked for.
    Q_UNUSED(currentFont);
}

RemoveWizard::~RemoveWizard()
{
    SaveSettings();
}

void RemoveWizard::LoadSettings()
{
    // The folder as the user wrote it: Linux names are case-sensitive.
    QString target = ReadIniString(kSection, QStringLiteral("DestDir"), QString(), IniFile);
    if (target.isEmpty())
        target = Sys().system->ProgramFolder();
    targetEdit_->setText(target);
    // Every run starts by keeping the files; deleting or moving is chosen each time.
    keepRadio_->setChecked(true);
    targetEdit_->setEnabled(false);
    pickFolderButton_->setEnabled(false);
    confirmDeletesCheck_->setChecked(ReadIniInt(kSection, QStringLiteral("ConfirmDeletes"), 1, IniFile) == 1);
}

void RemoveWizard::FillFontList()
{
    const RegistryEntries entries;
    QList<QTreeWidgetItem*> items;
    for (size_t i = 0; i < FontTable.size(); ++i) {
        const FontRecord& font = FontTable[i];
        if (FontTable.size() == 1 && font.FullName == QLatin1String("X"))
            break; // the reset table's sentinel
        auto* item =
            new FontRow(QStringList{font.FullName, font.FontFile, FileSizeOf(font), entries.EntryOf(font.FullName)});
        item->setData(ColName, SlotRole, int(i));
        item->setData(ColName, FaceRole, font.FaceName);
        if (NameNotUtf8(font.FontFile)) {
            for (int c = ColName; c <= ColRegistry; ++c) {
                item->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
                item->setToolTip(c, QStringLiteral("This font cannot be uninstalled: ") + NameNotUtf8Text() + ".");
            }
        } else if (!UserCanChangeFile(font.FontFile)) {
            // Uninstalling hides it; its file stays where only an administrator may change it.
            for (int c = ColName; c <= ColRegistry; ++c) {
                item->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
                item->setToolTip(c, QStringLiteral("A system font: its file cannot be deleted, copied away "
                                                   "or moved by you; uninstalling only hides it."));
            }
            item->setText(ColSize, FileSizeOf(font) + QStringLiteral(" (system)"));
        }
        items << item;
    }
    fontList_->addTopLevelItems(items);
    fontList_->sortItems(ColName, Qt::AscendingOrder);
}

void RemoveWizard::SaveSettings()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    WriteIniString(kSection, QStringLiteral("Action"), QString::number(ChosenAction()), IniFile);
    WriteIniString(kSection, QStringLiteral("DestDir"), targetEdit_->text(), IniFile);
    WriteIniString(kSection, QStringLiteral("ConfirmDeletes"), confirmDeletesCheck_->isChecked() ? "1" : "0", IniFile);
}

int RemoveWizard::ChosenAction() const
{
    if (keepRadio_->isChecked())
        return ActionKeep;
    if (copyRadio_->isChecked())
        return ActionCopy;
    if (moveRadio_->isChecked())
        return ActionMove;
    return ActionDelete;
}

void RemoveWizard::MoveSteps(int direction)
{
    step_ += direction;
    previousButton_->setEnabled(step_ > 0);
    nextButton_->setEnabled(step_ < 2);
    for (QWidget* step : stepPages_)
        step->hide();
    stepPages_[size_t(step_)]->show();
    const QList<QTreeWidgetItem*> selected = fontList_->selectedItems();
    messageLabel_->setText(StepMessage(step_, int(selected.size())));
    if (step_ != 2)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    uninstallButton_->setEnabled(!selected.isEmpty());
    const QString target = QStringLiteral("\"") + targetEdit_->text() + QStringLiteral("\"");
    switch (ChosenAction()) {
    case ActionCopy: actionLabel_->setText(QStringLiteral("The following font files will be copied to ") + target); break;
    case ActionMove: actionLabel_->setText(QStringLiteral("The following font files will be moved to ") + target); break;
    case ActionKeep: actionLabel_->setText(QStringLiteral("The following fonts will be hidden from every program; their files stay where they are.")); break;
    default: actionLabel_->setText(ForLinux(QStringLiteral("The following font files will be deleted."))); break;
    }
    chosenList_->clear();
    QList<QTreeWidgetItem*> copies;
    for (int i = 0; i < fontList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = fontList_->topLevelItem(i);
        if (item->isSelected())
            copies << item->clone();
    }
    chosenList_->addTopLevelItems(copies);
    DrawWindowGauge(gauge_, 0);
    QApplication::restoreOverrideCursor();
}

void RemoveWizard::ShowSelectedCount()
{
    const int n = int(fontList_->selectedItems().size());
    if (n == 0) {
        selectedCountLabel_->setText(QStringLiteral("No fonts selected"));
        statusLabel_->setText(QStringLiteral("No fonts selected."));
    } else if (n == 1) {
        selectedCountLabel_->setText(QStringLiteral("1 font selected"));
        statusLabel_->setText(QStringLiteral("Ready to uninstall 1 font."));
    } else {
        selectedCountLabel_->setText(QString::number(n) + QStringLiteral(" fonts selected"));
        statusLabel_->setText(QStringLiteral("Ready to uninstall ") + QString::number(n) + QStringLiteral(" fonts."));
    }
}

void RemoveWizard::GoToNextStep()
{
    if (step_ < 2)
        MoveSteps(1);
}

void RemoveWizard::GoToPreviousStep()
{
    if (step_ > 0)
        MoveSteps(-1);
}

void RemoveWizard::RemoveChosenFonts()
{
    QVector<RemovalRow> rows;
    for (int i = 0; i < fontList_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = fontList_->topLevelItem(i);
        rows.append({item->data(ColName, SlotRole).toInt(), item->isSelected(),
                     item->text(ColRegistry) != kUnknown});
    }
    const RemovalChoice choice{ChosenAction(), targetEdit_->text(), confirmDeletesCheck_->isChecked()};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    uninstallButton_->setEnabled(false);
    QVector<RemovalOutcome> outcomes;
    const RemovalEnd end = RemoveFonts(rows, choice, [this](int percent) {
        DrawWindowGauge(gauge_, percent);
        QApplication::processEvents();
    }, &outcomes);
    QApplication::restoreOverrideCursor();
    if (end == RemovalEnd::NotStarted) {
        uninstallButton_->setEnabled(true); // the user may choose another folder
        return;
    }
    // Registrations are gone even when the run stopped early: the main window must reread.
    FontsChanged = true;
    ShowRemovalReport(rows, outcomes);
    if (end == RemovalEnd::Stopped)
        return;
    hide();
    accept();
}

void RemoveWizard::ShowRemovalReport(const QVector<RemovalRow>& rows, const QVector<RemovalOutcome>& outcomes)
{
    InstallDoneDialog report(this);
    report.setWindowTitle(windowTitle());
    // A long path must not push what became of the file out of sight: lines wrap.
    report.WrapLines();
    report.resize(TwipsToPixels(9600), report.height());
    bool all = true;
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows[i].selected)
            continue;
        const FontRecord& font = FontTable[size_t(rows[i].slot)];
        const QString file = font.FontFile == kUnknown ? font.FullName : font.FontFile;
        const QString line = RemovalReportLine(file, outcomes.value(i));
        report.AddLine(line, font.FullName + QStringLiteral("\n") + line);
        all = all && outcomes.value(i).ok;
    }
    report.SetMessage(all ? QStringLiteral("The Remove Font Wizard has uninstalled these fonts. Each line "
                                           "says where the font file is now.")
                          : QStringLiteral("Not every font was uninstalled, or not every file went where "
                                           "you asked. Each line says what happened and where the font "
                                           "file is now."));
    ShowReport(&report);
}

void RemoveWizard::PickTargetFolder()
{
    const QString folder = PickFolder(targetEdit_->text(), this);
    if (!folder.isEmpty())
        targetEdit_->setText(folder);
}

void RemoveWizard::ShowSelectMenu()
{
    familyAction_->setVisible(false);
    familySeparator_->setVisible(false);
    PopupMenu(selectMenu_, selectButton_->mapToGlobal(QPoint(0, selectButton_->height())));
}

void RemoveWizard::EnableTargetFolder(bool enable)
{
    targetEdit_->setEnabled(enable);
    pickFolderButton_->setEnabled(enable);
}

void RemoveWizard::ShowSample(QTreeWidgetItem* item)
{
    if (item) {
        const QString name = item->text(ColName);
        QFont font(item->data(ColName, FaceRole).toString());
        font.setPointSize(16);
        font.setBold(NameSaysBold(name));
        font.setItalic(NameSaysSlanted(name));
        sampleLabel_->setFont(font);
        sampleLabel_->setText(name);
    }
    ShowSelectedCount();
}

void RemoveWizard::PopupFamilyMenu(QTreeWidgetItem* item, const QPoint& globalPos)
{
    if (!item)
        return;
    contextFamily_ = item->data(ColName, FaceRole).toString();
    familyAction_->setText(contextFamily_);
    familyAction_->setVisible(true);
    familySeparator_->setVisible(true);
    PopupMenu(selectMenu_, globalPos);
}

void RemoveWizard::SelectRows(const std::function<bool(const QString&)>& test)
{
    for (int i = 0; i < fontList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = fontList_->topLevelItem(i);
        if (test(item->text(ColName).toUpper()))
            item->setSelected(true);
    }
    ShowSelectedCount();
}

void RemoveWizard::SelectFamily()
{
    const QString family = contextFamily_.toUpper();
    SelectRows([&](const QString& upper) { return upper.contains(family); });
}

void RemoveWizard::SelectRegularFonts()
{
    SelectRows([](const QString& name) { return NameIsOfKind(name, QStringLiteral("REGULAR")); });
}

void RemoveWizard::SelectBoldFonts()
{
    SelectRows([](const QString& name) { return NameIsOfKind(name, QStringLiteral("BOLD")); });
}

void RemoveWizard::SelectItalicFonts()
{
    SelectRows([](const QString& name) { return NameIsOfKind(name, QStringLiteral("ITALIC")); });
}

void RemoveWizard::SelectBoldItalicFonts()
{
    SelectRows([](const QString& name) { return NameIsOfKind(name, QStringLiteral("BOLDITALIC")); });
}

void RemoveWizard::SelectNoFonts()
{
    fontList_->clearSelection();  // the count follows the selection
}

bool RemoveWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fontList_->viewport()) {
        const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
                           || event->type() == QEvent::MouseButtonDblClick;
        const auto* mouse = press ? static_cast<QMouseEvent*>(event) : nullptr;
        if (mouse && mouse->button() == Qt::RightButton) {
            // The right button never changes the selection; its release opens the menu.
            if (event->type() == QEvent::MouseButtonRelease)
                PopupFamilyMenu(fontList_->itemAt(mouse->position().toPoint()),
                                  mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// On the key press: text boxes take the release.
void RemoveWizard::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpContext(615);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace gw
