// Help in the user's browser and the Qt file dialogs.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "core/linuxtexts.h"
#include "platform/desktop.h"

namespace gw {

namespace {

QUrl HelpUrl(const QString& helpFile, int context)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath());
    if (context >= 0)
        url.setFragment(QStringLiteral("ctx-%1").arg(context));
    return url;
}

class DesktopHelpService : public HelpService {
public:
    void ShowContext(const QString& helpFile, int context) override
    {
        if (!helpFile.isEmpty())
            DesktopOpenAddress(HelpUrl(helpFile, context));
    }
    void ShowContents(const QString& helpFile) override { ShowContext(helpFile, -1); }
};

QWidget* DialogParent()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                             : QApplication::activeWindow();
}

class DesktopFileDialogs : public FileDialogs {
public:
    QString OpenFile(const QString& title, const QString& defaultExtension,
                     const QString& startFolder, const QString& filter) override
    {
        return Run(QFileDialog::AcceptOpen, title, defaultExtension, startFolder, filter);
    }
    QString SaveFile(const QString& title, const QString& defaultExtension,
                     const QString& startPath, const QString& filter) override
    {
        return Run(QFileDialog::AcceptSave, title, defaultExtension, startPath, filter);
    }
    QString PickFolder(const QString& title, const QString& startFolder) override
    {
        return QFileDialog::getExistingDirectory(DialogParent(), title, startFolder);
    }

private:
    static QString Run(QFileDialog::AcceptMode mode, const QString& title, const QString& ext,
                       const QString& start, const QString& filter)
    {
        const QString from = DesktopDialogStart(start);
        QFileDialog dialog(DialogParent(), title, from, filter);  // on the file named in `from`, chosen
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        // Linux programs seldom carry the extension the dialog asks for ("EXE"):
        // only a save dialog adds it.
        if (mode == QFileDialog::AcceptSave && !ext.isEmpty())
            dialog.setDefaultSuffix(ext.toLower());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    }
};

} // namespace

bool DesktopOpenAddress(const QUrl& url)
{
    // The desktop's own way (xdg-open) when it is there, else a browser itself.
    QStringList tried;
    for (const char* opener : {"xdg-open", "x-www-browser", "firefox-esr", "firefox", "chromium",
                               "epiphany-browser", "konqueror"}) {
        tried << QString::fromLatin1(opener);
        const QString program = QStandardPaths::findExecutable(tried.last());
        if (!program.isEmpty() && QProcess::startDetached(program, {url.toString()}))
            return true;
    }
    const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toString();
    Sys().messages->MsgBox(NotOpenedText(shown, tried), vbInformation, QStringLiteral("Glyphwick"));
    return false;
}

QString DesktopDialogStart(const QString& start)
{
    if (start.isEmpty() || (QFileInfo(start).isAbsolute() && QFileInfo(start).absoluteDir().exists()))
        return start;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return folder + "/" + QFileInfo(start).fileName();
}

std::unique_ptr<HelpService> MakeDesktopHelpService() { return std::make_unique<DesktopHelpService>(); }
std::unique_ptr<FileDialogs> MakeDesktopFileDialogs() { return std::make_unique<DesktopFileDialogs>(); }

} // namespace gw
