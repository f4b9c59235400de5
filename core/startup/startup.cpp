#include "core/startup/startup.h"

#include <QApplication>
#include <QLabel>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/loader.h"
#include "core/settings.h"
#include "core/splash.h"
#include "core/startup/version.h"
#include "fonts/fonttable.h"

namespace gw {

void StartupPaths()
{
    IniFile = Sys().system->ProgramFolder() + "/gw.ini";
    HelpFile = Sys().system->HelpFilePath();
    ExeFile = Sys().system->ExeFilePath();
}

bool StartupFontsKey()
{
    bool failed = false;
    const bool nt = IsWindowsNT(&failed);
    if (failed)
        return false;
    FontsKey = nt ? QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts")
                  : QStringLiteral("software\\microsoft\\windows\\currentversion\\fonts");
    return true;
}

namespace {
ComponentChecker& Checker()
{
    static ComponentChecker checker;
    return checker;
}
} // namespace

void SetComponentChecker(ComponentChecker checker)
{
    Checker() = std::move(checker);
}

bool CheckComponents()
{
    return !Checker() || Checker()();
}

void DetectATM()
{
    ATMInstalled =
        ReadIniString("Settings", "ATM", QString(), "ATM.INI").toUpper() == QLatin1String("ON");
    if (!ATMInstalled)
        return;
    // Folders can be longer than the 99 characters ReadIniString keeps.
    PFMDir = GetPrivateProfileString("Setup", "PFM_DIR", QString(), "ATM.INI", 260) + "/";
    PFBDir = GetPrivateProfileString("Setup", "PFB_Dir", QString(), "ATM.INI", 260) + "/";
}

void ShowStartupSplash()
{
    frmSplash* splash = LoadSplash();
    splash->lblStatus->setText(QStringLiteral("Loading..."));
    QApplication::processEvents();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
}

void StartupFolders()
{
    SysDir = LowerCasePath(Sys().system->SystemDirectory()) + "/";
    WinDir = LowerCasePath(Sys().system->WindowsDirectory()) + "/";
    WinIni = WinDir + "win.ini";
}

void ReadRegistrations()
{
    KeyboardOpen = false;
    ReadRegFontList();
}

StartupSequence::StartupSequence(MainWindowFactory makeMainWindow)
    : makeMainWindow_(std::move(makeMainWindow))
{
}

bool StartupSequence::Run()
{
    steps_ << QStringLiteral("paths");
    StartupPaths();

    steps_ << QStringLiteral("fonts key");
    if (!StartupFontsKey())
        return false;

    steps_ << QStringLiteral("components");
    if (!CheckComponents())
        return false;

    steps_ << QStringLiteral("atm");
    DetectATM();

    steps_ << QStringLiteral("splash");
    ShowStartupSplash();

    steps_ << QStringLiteral("folders");
    StartupFolders();

    steps_ << QStringLiteral("registrations");
    ReadRegistrations();

    steps_ << QStringLiteral("main window");
    mainWindow_ = makeMainWindow_ ? makeMainWindow_() : nullptr;
    return mainWindow_ != nullptr;
}

int RunGlyphwick(int argc, char** argv, MainWindowFactory makeMainWindow,
                 bool useDesktopPlatform)
{
    std::unique_ptr<QApplication> ownApp;
    if (!QApplication::instance())
        ownApp = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyphwick"));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion));
    // The program ends when the main window is unloaded, not when the splash
    // (the only window for a while) closes.
    QApplication::setQuitOnLastWindowClosed(false);
    if (useDesktopPlatform)
        SetPlatform(MakeDesktopPlatform());

    StartupSequence sequence(std::move(makeMainWindow));
    const bool started = sequence.Run();
    int code = 1;
    if (started)
        code = QApplication::exec();

    delete sequence.MainWindow();
    UnloadLoader();
    UnloadSplash();
    return started ? code : 1;
}

} // namespace gw
