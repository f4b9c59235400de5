#pragma once
// Every test runs inside its own temporary folders with the fake platform:
// HOME, GLYPHWICK_HOME, XDG_CONFIG_HOME and XDG_DATA_HOME point into them, so no
// test touches the real user folders.
#include <QAbstractItemView>
#include <QApplication>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>

#include "platform/fake.h"
#include "sfnt/names.h"

namespace gw {

class TestEnv {
public:
    // Creates the folders, sets the environment, installs the fake platform and
    // sets IniFile, HelpFile, ExeFile, UserDataDir, SystemFontDir from it.
    TestEnv();
    ~TestEnv();

    QString root() const { return dir_.path(); }
    QString home() const { return root() + "/home"; }        // GLYPHWICK_HOME
    QString configHome() const { return root() + "/config"; } // XDG_CONFIG_HOME
    QString dataHome() const { return root() + "/data"; }     // XDG_DATA_HOME
    QString userHome() const { return root() + "/user"; }     // HOME

    // Puts the desktop platform in place of the fake (the environment stays temporary).
    void UseDesktopPlatform();

    FakePlatform fake;

private:
    void SetFolders(); // IniFile, UserDataDir, SystemFontDir from the platform in place
    QTemporaryDir dir_;
};

// A TestEnv with the desktop platform in place of the fake.
struct DesktopTestEnv : TestEnv {
    DesktopTestEnv() { UseDesktopPlatform(); }
};

// Writes bytes to a file, creating its folder; false on failure.
bool WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// What a command-line program printed and returned, run in-process.
struct CommandResult {
    int code = -1;
    QString out, err;
};
CommandResult RunCommand(const std::function<int(const QStringList&, QTextStream&, QTextStream&)>& run,
                         const QStringList& arguments);
// Compares the lines with the approved file tests/data/<file> (or an absolute path), blank lines
// aside; the first line that differs is told. GW_APPROVE=1 rewrites the file instead.
void CompareApproved(const QStringList& lines, const QString& file);
// What a program (pdffonts, fc-list, ...) printed; empty when it failed or ran over a minute.
QString ToolOutput(const QString& program, const QStringList& arguments);
// Every font file fontconfig lists, as another program sees them (fc-list).
QStringList FcListFiles();

// The installed font file fontconfig lists under this file name, or "".
QString SystemFile(const QString& fileName);
// A NUL-padded name field of a logical font as text.
QString FieldText(const char* field, int size);
// The eight naming-table fields, by name ID.
QStringList NameFields(const FontNameInfo& info);

// Writes the ShowTrueType, ShowATM and ShowDevice keys of IniFile.
void SetShow(bool trueType, bool atm, bool device);
// A TrueType face whose full name is the family, then the style unless "Regular".
FakeFontSystem::Face TrueTypeFace(const QString& family, const QString& style = QStringLiteral("Regular"),
                                  int weight = 400, bool italic = false);
// A device face (Type 1 or printer font) without a style name.
FakeFontSystem::Face DeviceFace(const QString& family, int weight = 400, bool italic = false);
// The widget of a window named `name` (its objectName), as a user finds it by
// what it shows; a missing or mistyped name stops the test program with the name.
template <typename Widget>
Widget& Child(const QObject& window, const char* name)
{
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s named \"%s\" in %s", Widget::staticMetaObject.className(), name,
               qPrintable(window.objectName()));
    return *found;
}

// Selects a family of the main window as a click on it in the font list does;
// false when it is not listed (letter case ignored). A template, so that tests
// below the main window link without it.
template <typename MainWindow>
bool SelectFamily(MainWindow& window, const QString& family)
{
    const QAbstractItemModel* families = Child<QAbstractItemView>(window, "fontList").model();
    for (int row = 0; row < families->rowCount(); ++row)
        if (families->index(row, 0).data().toString().compare(family, Qt::CaseInsensitive) == 0) {
            window.SelectFamily(row);
            return true;
        }
    return false;
}

// Opens the main window over these fake faces, with the given Show keys, at a
// size every page lays out in.
template <typename MainWindow>
std::unique_ptr<MainWindow> OpenMainWindow(TestEnv& env, const QVector<FakeFontSystem::Face>& faces,
                                           bool trueType, bool atm, bool device)
{
    env.fake.fonts->faces = faces;
    SetShow(trueType, atm, device);
    auto window = std::make_unique<MainWindow>();
    window->resize(900, 640);
    QApplication::processEvents();
    return window;
}

} // namespace gw
