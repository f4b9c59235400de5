#pragma once
// The program's start: fixes the program-wide paths and platform facts, shows
// the splash window and loads the main window; then runs the event loop.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace gw {

// Makes the main window; constructing it runs its load handler, which shows it.
using MainWindowFactory = std::function<QWidget*()>;

// The start-up steps, in the order StartupSequence runs them.
void StartupPaths();       // IniFile, HelpFile, ExeFile
// Without "gw.ini", creates it with the three Show keys on, so that a first
// start lists every kind of font.
void FirstStartSettings();
bool StartupFontsKey();    // FontsKey from the version; false: the program must end
// The component checker (its window lives above this library); false when
// the user chose to end the program there.
using ComponentChecker = std::function<bool()>;
void SetComponentChecker(ComponentChecker checker);
bool CheckComponents();    // runs the checker set; true without one
void DetectATM();          // ATMInstalled, Type1MetricsDir, Type1OutlineDir
void ShowStartupSplash();  // loads and shows SplashWindow with "Loading..."
void StartupFolders();     // SystemFontDir, UserDataDir; then RemoveLeftoverFiles
// Removes the temporary files a killed run left (only the program's own names).
void RemoveLeftoverFiles();
void ReadRegistrations();  // KeyboardOpen cleared, RegFontList read
// The start-up values without any window (paths, fonts key, ATM, folders,
// registrations), for the command-line printer and the benchmarks; false when
// the font registrations cannot be found.
bool StartupValues();

class StartupSequence {
public:
    explicit StartupSequence(MainWindowFactory makeMainWindow);

    // Runs the steps; false when the program ended before its main window.
    bool Run();
    // Names of the steps run so far, in order.
    const QStringList& Steps() const { return steps_; }
    // The main window made by the last step; the caller owns it.
    QWidget* MainWindow() const { return mainWindow_; }

private:
    MainWindowFactory makeMainWindow_;
    QStringList steps_;
    QWidget* mainWindow_ = nullptr;
};

// What the window system needs and lacks, checked before the application object
// exists (Qt would abort without a display): the message for a start with Qt
// platform `platform` (QT_QPA_PLATFORM or -platform; empty: the default) and
// the DISPLAY and WAYLAND_DISPLAY values; empty when a window can be shown.
QString MissingDisplayText(const QString& platform, const QString& display, const QString& waylandDisplay);
// The same for this process's environment and command line.
QString MissingDisplayText(int argc, char** argv);

// The whole program: creates the application object (unless one exists), puts
// the desktop platform in place when asked, runs the start-up and the event
// loop. Returns the exit code: 1 when the start-up ended the program.
int RunGlyphwick(int argc, char** argv, MainWindowFactory makeMainWindow,
                 bool useDesktopPlatform = true);

} // namespace gw
