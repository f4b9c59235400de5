#include "startup/startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QSocketNotifier>
#include <csignal>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/rereadprogress.h"
#include "core/settings.h"
#include "core/splash.h"
#include "fonts/fonttable.h"
#include "startup/version.h"

namespace gw {

void StartupPaths()
{
    IniFile = Sys().system->ProgramFolder() + "/gw.ini";
    HelpFile = Sys().system->HelpFilePath();
    ExeFile = Sys().system->ExeFilePath();
}

void FirstStartSettings()
{
    if (QFileInfo::exists(IniFile))
        return;
    for (const char* key : {"ShowTrueType", "ShowATM", "ShowDevice"})
        WriteIniString("GW", key, QStringLiteral("1"), IniFile);
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

bool StartupValues()
{
    StartupPaths();
    if (!StartupFontsKey())
        return false;
    DetectATM();
    StartupFolders();
    ReadRegistrations();
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
    Type1MetricsDir = GetPrivateProfileString("Setup", "PFM_DIR", QString(), "ATM.INI", 260) + "/";
    Type1OutlineDir = GetPrivateProfileString("Setup", "PFB_Dir", QString(), "ATM.INI", 260) + "/";
}

void ShowStartupSplash()
{
    SplashWindow* splash = LoadSplash();
    splash->ShowStatus(QStringLiteral("Loading..."));
    QApplication::processEvents();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
}

void StartupFolders()
{
    SystemFontDir = LowerCasePath(Sys().system->SystemFontDirectory()) + "/";
    UserDataDir = LowerCasePath(Sys().system->UserDataDirectory()) + "/";
    RemoveLeftoverFiles();
}

void RemoveLeftoverFiles()
{
    if (!Sys().storage)
        return;
    // Temporary copies, ".fot" files and partial PDF files of a run that was
    // killed: where the program writes them (its folder, the font folder, the
    // last copy target, the folder of the last PDF file).
    QStringList folders{Sys().system->ProgramFolder(), UserDataDir + "fonts"};
    const QString target = ReadIniString(QStringLiteral("RemoveWizard"), QStringLiteral("DestDir"), QString(), IniFile);
    if (!target.isEmpty())
        folders << target;
    const QString pdf = ReadIniString(QStringLiteral("Inventory"), QStringLiteral("PdfFile"), QString(), IniFile);
    if (QFileInfo(pdf).isAbsolute())
        folders << QFileInfo(pdf).absolutePath();
    folders.removeDuplicates();
    for (const QString& folder : folders)
        Sys().storage->RemoveLeftovers(folder);
}

void ReadRegistrations()
{
    KeyboardOpen = false;
    ReadRegFontList();
}

namespace {

int terminateSocket[2] = {-1, -1};

void OnTerminate(int)
{
    const char byte = 1;
    const ssize_t written = ::write(terminateSocket[0], &byte, 1);
    (void)written;
}

// The end of the session (or a kill) closes the main window as the user would,
// so that its settings are saved.
void CloseOnTerminate(QWidget* mainWindow)
{
    if (terminateSocket[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, terminateSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminateSocket[1], QSocketNotifier::Read, mainWindow);
    QObject::connect(notifier, &QSocketNotifier::activated, mainWindow, [mainWindow] {
        char byte = 0;
        const ssize_t read = ::read(terminateSocket[1], &byte, 1);
        (void)read;
        mainWindow->close();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace

StartupSequence::StartupSequence(MainWindowFactory makeMainWindow)
    : makeMainWindow_(std::move(makeMainWindow))
{
}

namespace {

// The toolkit's default font may carry a generic name ("Sans Serif") that no
// installed family has; every size, style and script of it then walks the list
// of fallback families, which takes seconds with thousands of families. Name
// the family it is drawn with instead: the same glyphs, found at once.
void UseInstalledUiFamily()
{
    QFont font = QApplication::font();
    // The toolkit lists such names among its families, though no face carries them.
    const QString family = Sys().fonts ? Sys().fonts->SubstituteFamily(font.family()) : QString();
    if (family.isEmpty() || family.compare(font.family(), Qt::CaseInsensitive) == 0
        || !QFontDatabase::families().contains(family, Qt::CaseInsensitive))
        return;
    font.setFamily(family);
    QApplication::setFont(font);
}

} // namespace

bool StartupSequence::Run()
{
    UseInstalledUiFamily();
    steps_ << QStringLiteral("paths");
    StartupPaths();

    steps_ << QStringLiteral("fonts key");
    if (!StartupFontsKey())
        return false;

    steps_ << QStringLiteral("components");
    if (!CheckComponents())
        return false;

    // After the checks that can end the program, so that ending writes nothing.
    steps_ << QStringLiteral("first start");
    FirstStartSettings();

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

QString MissingDisplayText(const QString& platform, const QString& display, const QString& waylandDisplay)
{
    // Qt tries the platforms of a list in turn: one that can start is enough.
    const QStringList platforms = platform.isEmpty() ? QStringList{QString()} : platform.split(';');
    for (const QString& p : platforms) {
        const QString name = p.section(':', 0, 0).trimmed();
        if (name.isEmpty() && (!display.isEmpty() || !waylandDisplay.isEmpty()))
            return {};
        if (name == QLatin1String("xcb") && !display.isEmpty())
            return {};
        if (name.startsWith(QLatin1String("wayland")) && !waylandDisplay.isEmpty())
            return {};
        if (!name.isEmpty() && name != QLatin1String("xcb") && !name.startsWith(QLatin1String("wayland")))
            return {};  // offscreen, vnc, eglfs...: no display server needed
    }
    return QStringLiteral("glyphwick: Glyphwick needs a graphical display, and none was found "
                          "(DISPLAY and WAYLAND_DISPLAY are not set).\n"
                          "Start it from your desktop, or use glyphwick-print to print catalogs "
                          "without a display.\n");
}

QString MissingDisplayText(int argc, char** argv)
{
    QString platform = QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM"));
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            platform = QString::fromLocal8Bit(argv[i + 1]);
    return MissingDisplayText(platform, QString::fromLocal8Bit(qgetenv("DISPLAY")),
                              QString::fromLocal8Bit(qgetenv("WAYLAND_DISPLAY")));
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
    if (started) {
        CloseOnTerminate(sequence.MainWindow());
        code = QApplication::exec();
    }

    delete sequence.MainWindow();
    UnloadRereadProgress();
    UnloadSplash();
    return started ? code : 1;
}

} // namespace gw
