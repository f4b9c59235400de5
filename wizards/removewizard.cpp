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
    const QString system = Sys().system->SystemDirectory();
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
        if (QFileInfo::exists(choice.targetFolder) || choice.targetFolder.trimmed().isEmpty()
            || Sys().messages->MsgBox(MissingFolderText(choice.targetFolder), vbYesNo | vbQuestion, kTitle) != vbYes
            || !QDir().mkpath(choice.targetFolder)) {
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
            font.Done = 0;
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
            font.Done = 1;
            result = {true, QStringLiteral("uninstalled; the file is kept")};
        } else {
            Sys().messages->MsgBox(QStringLiteral("This font could not be removed! The original font file "
                                                  "is still located at ")
                                       + font.FontFile + QStringLiteral("."),
                                   vbInformation, font.FullName);
            font.Done = 0;
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
                font.Done = 0;
            } else if (QFileInfo::exists(font.Target)) {
                const QString question = QStringLiteral("The file ") + FileNamePart(font.FontFile)
                                         + QStringLiteral(" already exists in the target directory. ")
                                         + kCrLf + kCrLf
                                         + QStringLiteral("Do you wish to overwrite the file?");
                if (Sys().messages->MsgBox(question, vbYesNo | vbQuestion, kTitle) == vbYes) {
                    font.Done = 1;
                    copy = true;
                } else {
                    if (choice.action == ActionMove)
                        Sys().messages->MsgBox(QStringLiteral("The original file ") + font.FontFile
                                                   + QStringLiteral(" will not be deleted."),
                                               vbInformation, kTitle);
                    font.Done = 0;
                }
            } else {
                font.Done = 1;
                copy = true;
            }
            if (copy) {
                switch (CopyFontFile(font)) {
                case CopyResult::Copied: break;
                case CopyResult::Failed: font.Done = 0; break;
                case CopyResult::Cancel: font.Done = 0; result.ok = false; return finish(RemovalEnd::Cancelled);
                case CopyResult::Stop: font.Done = 0; result.ok = false; return finish(RemovalEnd::Stopped);
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
    lblMsg = new QLabel(this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setWordWrap(true);
    lblMsg->setMinimumHeight(TwipsToPixels(750));
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (int i = 0; i < 3; ++i) {
        picStep[size_t(i)] = new QWidget(this);
        picStep[size_t(i)]->setObjectName(QStringLiteral("picStep%1").arg(i));
    }

    // Step 0: the fonts.
    ListView1 = MakeFontList(picStep[0], QStringLiteral("ListView1"));
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSortingEnabled(true);
    ListView1->viewport()->installEventFilter(this);
    pnlSample = new QLabel(QStringLiteral("Font Sample"), picStep[0]);
    pnlSample->setObjectName(QStringLiteral("pnlSample"));
    pnlSample->setFrameShape(QFrame::Panel);
    pnlSample->setFrameShadow(QFrame::Sunken);
    pnlSample->setAlignment(Qt::AlignCenter);
    pnlSample->setMinimumHeight(60);
    pnlSample->setBackgroundRole(QPalette::Base);
    pnlSample->setAutoFillBackground(true);
    lblSelected = new QLabel(QStringLiteral("No fonts selected"), picStep[0]);
    lblSelected->setObjectName(QStringLiteral("lblSelected"));
    cmdSelect = MakeButton(picStep[0], QStringLiteral("cmdSelect"), QStringLiteral("&Select..."));
    auto* step0 = new QGridLayout(picStep[0]);
    step0->setContentsMargins(0, 0, 0, 0);
    step0->addWidget(ListView1, 0, 0, 1, 3);
    step0->addWidget(pnlSample, 1, 0, 1, 3);
    step0->addWidget(lblSelected, 2, 0);
    step0->addWidget(cmdSelect, 2, 2);
    step0->setColumnStretch(1, 1);

    // Step 1: what happens to the files.
    fraAfter = new QGroupBox(QStringLiteral("After uninstalling fonts"), picStep[1]);
    fraAfter->setObjectName(QStringLiteral("fraAfter"));
    optMove = new QRadioButton(QStringLiteral("Move font files to a new folder"), fraAfter);
    optMove->setObjectName(QStringLiteral("optMove"));
    optCopy = new QRadioButton(QStringLiteral("Copy font files to a new folder"), fraAfter);
    optCopy->setObjectName(QStringLiteral("optCopy"));
    optDelete = new QRadioButton(QStringLiteral("Delete font files"), fraAfter);
    optDelete->setObjectName(QStringLiteral("optDelete"));
    optKeep = new QRadioButton(QStringLiteral("Keep font files"), fraAfter);
    optKeep->setObjectName(QStringLiteral("optKeep"));
    auto* options = new QVBoxLayout(fraAfter);
    options->addWidget(optKeep);
    options->addWidget(optMove);
    options->addWidget(optCopy);
    options->addWidget(optDelete);
    lblTarget = new QLabel(QStringLiteral("Target Folder"), picStep[1]);
    lblTarget->setObjectName(QStringLiteral("lblTarget"));
    txtTarget = new QLineEdit(picStep[1]);
    txtTarget->setObjectName(QStringLiteral("txtTarget"));
    lblTarget->setBuddy(txtTarget);
    cmdPick = MakeButton(picStep[1], QStringLiteral("cmdPick"), QStringLiteral("&Pick Folder..."));
    chkDelete = new QCheckBox(QStringLiteral("Con&firm file deletes"), picStep[1]);
    chkDelete->setObjectName(QStringLiteral("chkDelete"));
    auto* step1 = new QGridLayout(picStep[1]);
    step1->setContentsMargins(0, 0, 0, 0);
    step1->addWidget(fraAfter, 0, 0, 1, 2);
    step1->addWidget(lblTarget, 1, 0, 1, 2);
    step1->addWidget(txtTarget, 2, 0);
    step1->addWidget(cmdPick, 2, 1);
    step1->addWidget(chkDelete, 3, 0, 1, 2);
    step1->setRowStretch(4, 1);

    // Step 2: the list of what will happen, and the button that does it.
    lblAction = new QLabel(picStep[2]);
    lblAction->setObjectName(QStringLiteral("lblAction"));
    lblAction->setWordWrap(true);
    ListView2 = MakeFontList(picStep[2], QStringLiteral("ListView2"));
    ListView2->setSelectionMode(QAbstractItemView::NoSelection);
    lblStatus = new QLabel(QStringLiteral("Ready to uninstall fonts!"), picStep[2]);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QFrame* well = MakeGaugeWell(picStep[2], &picGauge);
    picGauge->setObjectName(QStringLiteral("picGauge"));
    cmdRemove = MakeButton(picStep[2], QStringLiteral("cmdRemove"), QStringLiteral("&Uninstall Fonts!"));
    auto* step2 = new QGridLayout(picStep[2]);
    step2->setContentsMargins(0, 0, 0, 0);
    step2->addWidget(lblAction, 0, 0, 1, 2);
    step2->addWidget(ListView2, 1, 0, 1, 2);
    step2->addWidget(lblStatus, 2, 0, 1, 2);
    step2->addWidget(well, 3, 0);
    step2->addWidget(cmdRemove, 3, 1);
    step2->setColumnStretch(0, 1);

    cmdHelp = MakeButton(this, QStringLiteral("cmdHelp"), QStringLiteral("&Help"));
    cmdPrev = MakeButton(this, QStringLiteral("cmdPrev"), QStringLiteral("<< &Previous"));
    cmdNext = MakeButton(this, QStringLiteral("cmdNext"), QStringLiteral("&Next >>"));
    cmdExit = MakeButton(this, QStringLiteral("cmdExit"), QStringLiteral("&Close"));
    connect(cmdHelp, &QPushButton::clicked, this, [] { ShowHelpContext(615); });
    lblOK = new QLabel(QStringLiteral("Cancel"), this);
    lblOK->setObjectName(QStringLiteral("lblOK"));
    lblOK->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addStretch(1);
    buttons->addWidget(cmdPrev);
    buttons->addWidget(cmdNext);
    buttons->addSpacing(12);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg);
    layout->addSpacing(6);
    for (QWidget* step : picStep)
        layout->addWidget(step, 1);
    layout->addLayout(buttons);

    mnuContext = new QMenu(this);
    mnuContext->setObjectName(QStringLiteral("mnuContext"));
    mnuContextFamily = mnuContext->addAction(QString(), this, [this] { mnuContextFamily_Click(); });
    mnuContextFamilySep = mnuContext->addSeparator();
    mnuContextRegularFonts = mnuContext->addAction(QStringLiteral("&Regular Fonts"), this,
                                                   [this] { mnuContextRegularFonts_Click(); });
    mnuContextBoldFonts = mnuContext->addAction(QStringLiteral("&Bold Fonts"), this,
                                                [this] { mnuContextBoldFonts_Click(); });
    mnuContextItalicFonts = mnuContext->addAction(QStringLiteral("&Italic Fonts"), this,
                                                  [this] { mnuContextItalicFonts_Click(); });
    mnuContextBoldItalicFonts = mnuContext->addAction(QStringLiteral("B&oldItalic Fonts"), this,
                                                      [this] { mnuContextBoldItalicFonts_Click(); });
    mnuContextNone = mnuContext->addAction(QStringLiteral("&None"), this, [this] { mnuContextNone_Click(); });
    popupMenu = [](QMenu* menu, const QPoint& pos) { menu->exec(pos); };
    ShowModal = [](QDialog* report) { report->exec(); };

    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { cmdPrev_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdPick, &QPushButton::clicked, this, [this] { cmdPick_Click(); });
    connect(cmdSelect, &QPushButton::clicked, this, [this] { cmdSelect_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(optDelete, &QRadioButton::clicked, this, [this] { optDelete_Click(); });
    connect(optCopy, &QRadioButton::clicked, this, [this] { optCopy_Click(); });
    connect(optMove, &QRadioButton::clicked, this, [this] { optMove_Click(); });
    connect(optKeep, &QRadioButton::clicked, this, [this] { optDelete_Click(); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ListView1_ItemClick(item); });
    // The sample follows the keyboard too.
    connect(ListView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ListView1_ItemClick(item); });
    // Keyboard and Ctrl+click selections count too.
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] { SetFontCount(); });
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int c) { ListView1_ColumnClick(c); });

    resize(TwipsToPixels(9600), TwipsToPixels(7000));
    Form_Load();
    // Nothing is chosen for the user: the main window's font is often a
    // system font, and a removal must be asked for.
    Q_UNUSED(currentFont);
}

RemoveWizard::~RemoveWizard()
{
    Form_Unload();
}

void RemoveWizard::Form_Load()
{
    CentreForm(this);
    QApplication::processEvents();
    Step = -1;
    AdvanceButton(1);

    // The folder as the user wrote it: Linux names are case-sensitive.
    QString target = ReadIniString(kSection, QStringLiteral("DestDir"), QString(), IniFile);
    if (target.isEmpty())
        target = Sys().system->ProgramFolder();
    txtTarget->setText(target);
    // Every run starts by keeping the files; deleting or moving is chosen each time.
    optKeep->setChecked(true);
    txtTarget->setEnabled(false);
    cmdPick->setEnabled(false);
    chkDelete->setChecked(ReadIniInt(kSection, QStringLiteral("ConfirmDeletes"), 1, IniFile) == 1);

    const RegistryEntries entries;
    QList<QTreeWidgetItem*> items;
    for (size_t i = 0; i < FontTable.size(); ++i) {
        const FontRecord& font = FontTable[i];
        if (FontTable.size() == 1 && font.FullName == QLatin1String("X"))
            break; // the reset table's sentinel
        auto* item = new QTreeWidgetItem(
            {font.FullName, font.FontFile, FileSizeOf(font), entries.EntryOf(font.FullName)});
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
    ListView1->addTopLevelItems(items);
    ListView1->sortItems(ColName, Qt::AscendingOrder);
}

void RemoveWizard::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    WriteIniString(kSection, QStringLiteral("Action"), QString::number(ChosenAction()), IniFile);
    WriteIniString(kSection, QStringLiteral("DestDir"), txtTarget->text(), IniFile);
    WriteIniString(kSection, QStringLiteral("ConfirmDeletes"), chkDelete->isChecked() ? "1" : "0", IniFile);
}

int RemoveWizard::ChosenAction() const
{
    if (optKeep->isChecked())
        return ActionKeep;
    if (optCopy->isChecked())
        return ActionCopy;
    if (optMove->isChecked())
        return ActionMove;
    return ActionDelete;
}

void RemoveWizard::AdvanceButton(int direction)
{
    Step += direction;
    cmdPrev->setEnabled(Step > 0);
    cmdNext->setEnabled(Step < 2);
    for (QWidget* step : picStep)
        step->hide();
    picStep[size_t(Step)]->show();
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    lblMsg->setText(StepMessage(Step, int(selected.size())));
    if (Step != 2)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    cmdRemove->setEnabled(!selected.isEmpty());
    const QString target = QStringLiteral("\"") + txtTarget->text() + QStringLiteral("\"");
    switch (ChosenAction()) {
    case ActionCopy: lblAction->setText(QStringLiteral("The following font files will be copied to ") + target); break;
    case ActionMove: lblAction->setText(QStringLiteral("The following font files will be moved to ") + target); break;
    case ActionKeep: lblAction->setText(QStringLiteral("The following fonts will be hidden from every program; their files stay where they are.")); break;
    default: lblAction->setText(ForLinux(QStringLiteral("The following font files will be deleted."))); break;
    }
    ListView2->clear();
    QList<QTreeWidgetItem*> copies;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (item->isSelected())
            copies << item->clone();
    }
    ListView2->addTopLevelItems(copies);
    DrawWindowGauge(picGauge, 0);
    QApplication::restoreOverrideCursor();
}

void RemoveWizard::SetFontCount()
{
    const int n = int(ListView1->selectedItems().size());
    if (n == 0) {
        lblSelected->setText(QStringLiteral("No fonts selected"));
        lblStatus->setText(QStringLiteral("No fonts selected."));
    } else if (n == 1) {
        lblSelected->setText(QStringLiteral("1 font selected"));
        lblStatus->setText(QStringLiteral("Ready to uninstall 1 font."));
    } else {
        lblSelected->setText(QString::number(n) + QStringLiteral(" fonts selected"));
        lblStatus->setText(QStringLiteral("Ready to uninstall ") + QString::number(n) + QStringLiteral(" fonts."));
    }
}

void RemoveWizard::cmdNext_Click()
{
    AdvanceButton(1);
}

void RemoveWizard::cmdPrev_Click()
{
    AdvanceButton(-1);
}

void RemoveWizard::cmdRemove_Click()
{
    QVector<RemovalRow> rows;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        rows.append({item->data(ColName, SlotRole).toInt(), item->isSelected(),
                     item->text(ColRegistry) != kUnknown});
    }
    const RemovalChoice choice{ChosenAction(), txtTarget->text(), chkDelete->isChecked()};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cmdRemove->setEnabled(false);
    QVector<RemovalOutcome> outcomes;
    const RemovalEnd end = RemoveFonts(rows, choice, [this](int percent) {
        DrawWindowGauge(picGauge, percent);
        QApplication::processEvents();
    }, &outcomes);
    QApplication::restoreOverrideCursor();
    if (end == RemovalEnd::NotStarted) {
        cmdRemove->setEnabled(true); // the user may choose another folder
        return;
    }
    // Registrations are gone even when the run stopped early: the main window must reread.
    FontsChanged = true;
    ShowRemovalReport(rows, outcomes);
    if (end == RemovalEnd::Stopped)
        return;
    hide();
    lblOK->setText(QStringLiteral("OK"));
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
    ShowModal(&report);
}

void RemoveWizard::cmdPick_Click()
{
    const QString folder = PickFolder(txtTarget->text(), this);
    if (!folder.isEmpty())
        txtTarget->setText(folder);
}

void RemoveWizard::cmdSelect_Click()
{
    mnuContextFamily->setVisible(false);
    mnuContextFamilySep->setVisible(false);
    popupMenu(mnuContext, cmdSelect->mapToGlobal(QPoint(0, cmdSelect->height())));
}

void RemoveWizard::cmdExit_Click()
{
    lblOK->setText(QStringLiteral("CANCEL"));
    reject();
}

void RemoveWizard::optDelete_Click()
{
    txtTarget->setEnabled(false);
    cmdPick->setEnabled(false);
}

void RemoveWizard::optCopy_Click()
{
    txtTarget->setEnabled(true);
    cmdPick->setEnabled(true);
}

void RemoveWizard::optMove_Click()
{
    optCopy_Click();
}

void RemoveWizard::ListView1_ItemClick(QTreeWidgetItem* item)
{
    if (item) {
        const QString name = item->text(ColName);
        const QString upper = name.toUpper();
        QFont font(item->data(ColName, FaceRole).toString());
        font.setPointSize(16);
        font.setBold(upper.contains(QLatin1String("BOLD")));
        font.setItalic(upper.contains(QLatin1String("ITALIC")));
        pnlSample->setFont(font);
        pnlSample->setText(name);
    }
    SetFontCount();
}

void RemoveWizard::ListView1_MouseUp(QTreeWidgetItem* item, const QPoint& globalPos)
{
    if (!item)
        return;
    contextFamily_ = item->data(ColName, FaceRole).toString();
    mnuContextFamily->setText(contextFamily_);
    mnuContextFamily->setVisible(true);
    mnuContextFamilySep->setVisible(true);
    popupMenu(mnuContext, globalPos);
}

void RemoveWizard::ListView1_ColumnClick(int column)
{
    // The header sorts the list itself (sorting is on); nothing else to do.
    Q_UNUSED(column);
}

void RemoveWizard::SelectRows(const std::function<bool(const QString&)>& test)
{
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (test(item->text(ColName).toUpper()))
            item->setSelected(true);
    }
    SetFontCount();
}

void RemoveWizard::mnuContextFamily_Click()
{
    const QString family = contextFamily_.toUpper();
    SelectRows([&](const QString& upper) { return upper.contains(family); });
}

void RemoveWizard::mnuContextRegularFonts_Click()
{
    SelectRows([](const QString& u) {
        return !u.contains(QLatin1String("BOLD")) && !u.contains(QLatin1String("ITALIC"))
               && !u.contains(QLatin1String("OBLIQUE"));
    });
}

void RemoveWizard::mnuContextBoldFonts_Click()
{
    SelectRows([](const QString& u) {
        return u.contains(QLatin1String("BOLD")) && !u.contains(QLatin1String("ITALIC"))
               && !u.contains(QLatin1String("OBLIQUE"));
    });
}

void RemoveWizard::mnuContextItalicFonts_Click()
{
    SelectRows([](const QString& u) {
        return (u.contains(QLatin1String("ITALIC")) || u.contains(QLatin1String("OBLIQUE")))
               && !u.contains(QLatin1String("BOLD"));
    });
}

void RemoveWizard::mnuContextBoldItalicFonts_Click()
{
    SelectRows([](const QString& u) {
        return u.contains(QLatin1String("BOLD"))
               && (u.contains(QLatin1String("ITALIC")) || u.contains(QLatin1String("OBLIQUE")));
    });
}

void RemoveWizard::mnuContextNone_Click()
{
    ListView1->clearSelection();
    lblSelected->setText(QStringLiteral("No fonts selected"));
    SetFontCount();
}

bool RemoveWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool right = (event->type() == QEvent::MouseButtonPress
                            || event->type() == QEvent::MouseButtonRelease
                            || event->type() == QEvent::MouseButtonDblClick)
                           && mouse->button() == Qt::RightButton;
        if (right) {
            // The right button never changes the selection; its release opens the menu.
            if (event->type() == QEvent::MouseButtonRelease)
                ListView1_MouseUp(ListView1->itemAt(mouse->position().toPoint()),
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
