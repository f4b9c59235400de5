#include "wizards/fontinstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cstring>

#include "core/linuxtexts.h"
#include "fonts/fontresource.h"
#include "fonts/fonttable.h"

namespace gw {

namespace {

const QString kTitle = QStringLiteral("Glyphwick");

QString FileLine(const QString& path)
{
    const QFileInfo info(path);
    return "    " + QLocale(QLocale::English, QLocale::UnitedStates).toString(info.size()) + "    "
           + QLocale::system().toString(info.lastModified().date(), QLocale::ShortFormat);
}

// The full name of the font in file, or its file name when it cannot be read.
QString FontNameIn(const QString& file)
{
    FontFileRecord record;
    const QFileInfo info(file);
    if (ScanFontFile(info.absolutePath(), info.fileName(), record) != ScanResult::Read)
        return info.fileName();
    return record.FaceName;
}

// Copies the font file, answering errors as the wizard always has; 0 or the error.
int CopyWithRetry(const FontFileRecord& font, QString* reason)
{
    for (;;) {
        const int error = Sys().storage->CopyFile(font.FilePath, font.DestPath);
        switch (error) {
        case 0:
            return 0;
        case ErrDiskFull:
            *reason = QStringLiteral("the disk is full");
            Sys().messages->MsgBox(
                QStringLiteral("The hard drive is full! Glyphwick cannot continue installing fonts!\n\n"
                               "You may want to try moving data files to floppy disk or removing applications "
                               "to create more space on the hard drive..."),
                vbOKOnly | vbCritical, kTitle);
            return error;
        case ErrDeviceUnavailable:
        case ErrDiskNotReady:
            *reason = QStringLiteral("the disk is not ready");
            if (Sys().messages->MsgBox(
                    QStringLiteral("Disk not ready... Please make sure the floppy or CD-ROM is in the drive "
                                   "correctly and the drive door is shut (if there is one!).\n\n"
                                   "Click Retry to continue or Cancel to stop installing fonts..."),
                    vbRetryCancel | vbCritical, kTitle) == vbRetry)
                continue;
            return error;
        case ErrPathFileAccess:
            *reason = QStringLiteral("the file cannot be read as a regular file");
            Sys().messages->MsgBox(kTitle + QStringLiteral(
                                       " cannot access a font file on the drive. The diskette may contain a "
                                       "physical error (bad sector, etc) that prevents proper reading of the file."),
                                   vbOKOnly | vbCritical, kTitle);
            return error;
        default:
            *reason = QStringLiteral("the copy failed (") + QString::fromLocal8Bit(strerror(error)) + ")";
            Sys().messages->MsgBox("The font file " + font.FilePath + " could not be copied to "
                                       + font.DestPath + ": " + QString::fromLocal8Bit(strerror(error))
                                       + ". It was not installed.",
                                   vbOKOnly | vbExclamation, kTitle);
            return error;
        }
    }
}

} // namespace

QString NotInstalledLine(const FontFileRecord& font, const QString& reason)
{
    return font.FaceName + " (" + font.FileName + "): not installed, " + reason;
}

InstallResult InstallFontFile(FontFileRecord& font, const QString& destFolder, RegistryKey* key)
{
    InstallResult result;
    if (IsRegisteredFont(font.RegistryName)) {
        Sys().messages->MsgBox(
            ForLinux("The TrueType font \"" + font.FaceName + "\" is already installed on your PC. You must remove "
                     "the old typeface before adding a new one.\n\n"
                     "Use the Windows Control Panel or the Glyphwick Remove Font Wizard to uninstall the typeface."),
            vbInformation, kTitle);
        result.reason = QStringLiteral("a font of that name is installed already");
        return result;
    }
    font.CopyNeeded = true;
    font.DestPath = destFolder + "/" + font.FileName;
    const QFileInfo source(font.FilePath), dest(font.DestPath);
    if (source.absoluteFilePath() == dest.absoluteFilePath()
        || (dest.exists() && source.canonicalFilePath() == dest.canonicalFilePath()))
        font.CopyNeeded = false;
    if (font.CopyNeeded && !source.exists() && !source.isSymLink()) {
        Sys().messages->MsgBox("The font file " + QDir::toNativeSeparators(font.FilePath)
                                   + " is no longer there. It was not installed.",
                               vbInformation, kTitle);
        result.reason = QStringLiteral("the file is no longer there");
        return result;
    }
    if (font.CopyNeeded && (dest.exists() || dest.isSymLink())) {
        // Another font may have that file name: both are named, and No installs nothing.
        const QString existing = FontNameIn(font.DestPath);
        const QString question = "The font file " + font.FileName + " already exists in your font folder ("
                                 + destFolder + ") and holds the font \"" + existing
                                 + "\".\n\nDo you want to replace the file \n\n" + FileLine(font.DestPath) + "    "
                                 + existing + "\n\nwith\n\n" + FileLine(font.FilePath) + "    " + font.FaceName + "?";
        if (Sys().messages->MsgBox(question, vbYesNo | vbQuestion, kTitle) != vbYes) {
            result.reason = "kept the file of that name in the font folder, which holds \"" + existing + "\"";
            return result;
        }
    }
    if (font.CopyNeeded) {
        const int error = CopyWithRetry(font, &result.reason);
        if (error) {
            result.stop = error == ErrDiskFull || error == ErrDiskNotReady || error == ErrDeviceUnavailable;
            return result;
        }
    }
    if (Sys().fonts->AddFontResource(font.DestPath) < 1) {
        result.reason = QStringLiteral("the system does not take it as a font");
        return result;
    }
    if (key)
        key->SetValue(font.RegistryName, font.FileName);
    if (!Sys().fonts->ListsFontFile(font.DestPath)) {
        result.reason = QStringLiteral("the system does not list it after the copy");
        return result;
    }
    font.InstalledNow = true;
    font.AlreadyInstalled = true;
    result.installed = true;
    return result;
}

void AddInstalledFace(FontFileRecord& face, const FontFileRecord& installedFace, RegistryKey* key)
{
    face.CopyNeeded = false;
    face.DestPath = installedFace.DestPath;
    if (key)
        key->SetValue(face.RegistryName, installedFace.FileName);
    face.InstalledNow = true;
    face.AlreadyInstalled = true;
}

} // namespace gw
