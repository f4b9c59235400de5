// Folders, version, message boxes, the clipboard and other programs on the desktop.
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVector>

#include <sys/utsname.h>

#include "core/linuxtexts.h"
#include "platform/desktop.h"

namespace gw {

namespace {

class DesktopSystemInfo : public SystemInfo {
public:
    QString ProgramFolder() override
    {
        const QString home = QString::fromLocal8Bit(qgetenv("GLYPHWICK_HOME"));
        if (!home.isEmpty())
            return QDir::cleanPath(home);  // no trailing slash but the root's
        return DesktopConfigHome() + "/glyphwick";
    }

    QString HelpFilePath() override
    {
        const QString dir = QCoreApplication::applicationDirPath();
        const QString installed = QDir::cleanPath(dir + "/../share/glyphwick/gw.html");
        return QFileInfo::exists(installed) ? installed : dir + "/gw.html";
    }

    QString ExeFilePath() override { return QCoreApplication::applicationFilePath(); }
    QString UserDataDirectory() override { return DesktopDataHome(); }
    QString SystemFontDirectory() override { return QStringLiteral("/usr/share/fonts"); }

    bool GetVersionEx(OsVersionInfo& info) override
    {
        utsname name;
        if (uname(&name) != 0)
            return false;
        const std::array<uint32_t, 3> parts = KernelReleaseNumbers(name.release);
        info.dwMajorVersion = parts[0];
        info.dwMinorVersion = parts[1];
        info.dwBuildNumber = parts[2];
        info.dwPlatformId = VER_PLATFORM_LINUX;
        info.szCSDVersion.clear();
        return true;
    }
};

class DesktopMessageBoxes : public MessageBoxes {
public:
    int MsgBox(const QString& text, int style, const QString& title) override
    {
        const int buttons = style & 0x0F;
        struct Choice {
            QMessageBox::StandardButton button;
            int answer;
        };
        QVector<Choice> choices;
        switch (buttons) {
        case vbOKCancel: choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
        case vbAbortRetryIgnore:
            choices = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry},
                       {QMessageBox::Ignore, vbIgnore}};
            break;
        case vbYesNoCancel:
            choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo},
                       {QMessageBox::Cancel, vbCancel}};
            break;
        case vbYesNo: choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
        case vbRetryCancel: choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
        default: choices = {{QMessageBox::Ok, vbOK}}; break;
        }
        // Without widgets there is nobody to ask: the first button stands.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return choices.first().answer;

        QMessageBox box;
        box.setWindowTitle(title.isEmpty() ? QStringLiteral("Glyphwick") : title);
        box.setText(text);
        switch (style & 0x70) {
        case vbCritical: box.setIcon(QMessageBox::Critical); break;
        case vbQuestion: box.setIcon(QMessageBox::Question); break;
        case vbExclamation: box.setIcon(QMessageBox::Warning); break;
        case vbInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        QMessageBox::StandardButtons set;
        for (const Choice& c : choices)
            set |= c.button;
        box.setStandardButtons(set);
        const int defaultIndex = (style & 0x300) >> 8; // vbDefaultButton2 = 256, 3 = 512
        box.setDefaultButton(choices.value(defaultIndex, choices.first()).button);
        box.exec();
        const QMessageBox::StandardButton pressed =
            box.standardButton(box.clickedButton());
        for (const Choice& c : choices)
            if (c.button == pressed)
                return c.answer;
        // Closed with Escape or the window's close button.
        for (const Choice& c : choices)
            if (c.answer == vbCancel)
                return vbCancel;
        return choices.last().answer;
    }
};

class DesktopProgramRunner : public ProgramRunner {
public:
    void RunProgram(const QString& commandLine, int) override
    {
        static const QVector<QPair<QString, QVector<QStringList>>> equivalents = {
            {"CONTROL.EXE",
             {{"gnome-control-center"}, {"systemsettings"}, {"xfce4-settings-manager"}, {"lxqt-config"}}},
            {"CLIPBRD.EXE", {{"diodon"}, {"copyq", "show"}, {"gpaste-client", "ui"}, {"klipper"}}},
            {"CHARMAP.EXE", {{"gucharmap"}, {"gnome-characters"}, {"kcharselect"}}},
        };
        static const QHash<QString, QString> kinds = {{"CONTROL.EXE", "system settings program"},
                                                      {"CLIPBRD.EXE", "clipboard manager"},
                                                      {"CHARMAP.EXE", "character map"}};
        const QString wanted = commandLine.trimmed();
        for (const auto& entry : equivalents) {
            if (wanted.compare(entry.first, Qt::CaseInsensitive) != 0)
                continue;
            QStringList tried;
            for (const QStringList& command : entry.second) {
                const QString program = QStandardPaths::findExecutable(command.first());
                if (!program.isEmpty() && QProcess::startDetached(program, command.mid(1)))
                    return;
                tried << command.first();
            }
            Sys().messages->MsgBox(NoProgramText(kinds.value(entry.first), tried), vbInformation,
                                   QStringLiteral("Glyphwick"));
            return;
        }
        QStringList parts = QProcess::splitCommand(wanted);
        if (parts.isEmpty())
            return;
        const QString program = parts.takeFirst();
        QProcess process;
        process.setProgram(program);
        process.setArguments(parts);
        if (!process.startDetached())
            Sys().messages->MsgBox(ProgramNotStartedText(program, process.errorString()), vbInformation,
                                   QStringLiteral("Glyphwick"));
    }
};

} // namespace

std::array<uint32_t, 3> KernelReleaseNumbers(const char* release)
{
    std::array<uint32_t, 3> parts{0, 0, 0};
    const char* p = release;
    for (uint32_t& part : parts) {
        if (*p < '0' || *p > '9')
            break;
        while (*p >= '0' && *p <= '9')
            part = part * 10 + static_cast<uint32_t>(*p++ - '0');
        if (*p != '.')
            break;
        ++p;
    }
    return parts;
}

std::unique_ptr<SystemInfo> MakeDesktopSystemInfo() { return std::make_unique<DesktopSystemInfo>(); }
std::unique_ptr<MessageBoxes> MakeDesktopMessageBoxes() { return std::make_unique<DesktopMessageBoxes>(); }
std::unique_ptr<ProgramRunner> MakeDesktopProgramRunner() { return std::make_unique<DesktopProgramRunner>(); }

namespace {

class DesktopClipboard : public Clipboard {
public:
    void Clear() override
    {
        if (QGuiApplication::instance())
            QGuiApplication::clipboard()->clear();
    }
    void SetText(const QString& text) override
    {
        if (QGuiApplication::instance())
            QGuiApplication::clipboard()->setText(text);
    }
    QString Text() override
    {
        return QGuiApplication::instance() ? QGuiApplication::clipboard()->text() : QString();
    }
};

} // namespace

std::unique_ptr<Platform> MakeDesktopPlatform()
{
    auto platform = std::make_unique<Platform>();
    platform->system = MakeDesktopSystemInfo();
    platform->fonts = MakeDesktopFontSystem();
    platform->registry = MakeDesktopRegistry();
    platform->atm = MakeDesktopAtmProfile();
    platform->messages = MakeDesktopMessageBoxes();
    platform->programs = MakeDesktopProgramRunner();
    platform->clipboard = std::make_unique<DesktopClipboard>();
    platform->storage = MakeDesktopStorage();
    platform->printerSetup = MakeDesktopPrinterSetup();
    platform->web = MakeDesktopWebLinks();
    platform->components = MakeDesktopComponentVersions();
    platform->help = MakeDesktopHelpService();
    platform->dialogs = MakeDesktopFileDialogs();
    platform->characterMaps = MakeDesktopCharacterMaps();
    platform->keyboard = MakeDesktopKeyboardState();
    platform->trash = MakeDesktopTrash();
    return platform;
}

} // namespace gw
