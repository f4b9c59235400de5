#pragma once
// Fakes of every platform service, for tests: in memory or in a temporary
// folder, deterministic, scriptable, recording what they were asked.
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include "platformapi/platform.h"

namespace gw {

class FakeSystemInfo : public SystemInfo {
public:
    explicit FakeSystemInfo(const QString& root); // makes root/program, root/windows, root/system
    QString ProgramFolder() override { return programFolder; }
    QString HelpFilePath() override { return programFolder + "/gw.hlp"; }
    QString ExeFilePath() override { return programFolder + "/glyphwick"; }
    QString UserDataDirectory() override { return windowsDirectory; }
    QString SystemFontDirectory() override { return systemDirectory; }
    bool GetVersionEx(OsVersionInfo& info) override;

    QString programFolder, windowsDirectory, systemDirectory;
    OsVersionInfo version;      // answered as it is (size field excepted)
    bool versionFails = false;
};

class FakeFontSystem : public FontSystem {
public:
    struct Face {
        EnumLogFont elf;
        int fontType = TRUETYPE_FONTTYPE;
    };
    // Builds a face: face name, full name, style name, weight, italic, type bits, file.
    static Face MakeFace(const QString& family, const QString& fullName, const QString& style,
                         int weight, bool italic, int fontType, const QString& file = {});
    // The faces a font system lists for a TrueType file, as its naming table
    // names them: each face of a collection, each named instance of a
    // variable font (never the variable font itself).
    static QVector<Face> FileFaces(const QString& file);

    void EnumFontFamilies(DeviceContext dc, const QString& family,
                          const EnumFontCallback& callback, int tag) override;
    int AddFontResource(const QString& path) override;
    int RemoveFontResource(const QString& path) override;
    bool Holds(const QString& path) const;
    int CreateScalableFontResource(int hidden, const QString& fotFile, const QString& fontFile,
                                   const QString& currentPath, int faceIndex = 0) override;
    void BroadcastFontChange() override;
    void RescanFonts() override { ++rescans; }
    // Added with a positive answer and not removed since, or a face's file.
    bool ListsFontFile(const QString& file) override;
    // Records each family matched within.
    void MatchWithinFamily(const QString& family, const std::function<void()>& work) override
    {
        matchedWithin << family;
        work();
    }
    QStringList matchedWithin;
    void ForgetFontFile(const QString& file) override { forgotten << file; }
    QStringList forgotten;  // files whose hiding rule went
    QStringList unlisted;   // files the system does not list even when added
    int rescans = 0;

    // Styles seen on both contexts, and those only the printer has. An
    // enumeration of all families calls once per distinct (face name, type bits)
    // pair, with that pair's first style, in list order; of one family, once per
    // style whose face name matches (case-insensitive), in list order.
    QVector<Face> faces;
    QVector<Face> printerFaces;
    QMap<QString, int> addAnswers;  // path -> faces added; missing paths answer 1
    QMap<QString, int> removeAnswers; // path -> answer of RemoveFontResource
    QStringList added, removed;     // every call, in order
    QStringList removedBusy;        // the removals made under the busy pointer
    std::function<void(const QString&)> onRemove;  // called with each removal, to look at the windows then
    int broadcasts = 0;

    // From addedFaces whose file was added more often than removed.
    QString AddedFontFile(const QString& family, bool bold, bool italic, int* faceIndex = nullptr) override;
    // The machine's installed fonts, as the toolkit draws with them in tests too.
    QString MatchFontFile(const QString& family, bool bold, bool italic, int* faceIndex = nullptr) override;
    QVector<Face> addedFaces;       // what the files a test adds hold
    // From faces and addedFaces by file and face index: face name, style name, weight, italic.
    bool ReadFileFace(const QString& file, int faceIndex, FileFace* face) override;
};

class FakeRegistryKey;
class FakeRegistry : public Registry {
public:
    long OpenKey(const QString& keyPath, uint32_t access,
                 std::unique_ptr<RegistryKey>* key) override;
    QList<QPair<QString, QString>> values; // in enumeration order
    bool failOpen = false;
    bool failQueryInfo = false;            // QueryInfo reports the count, then fails
    bool failDelete = false;               // DeleteValue fails (the reject file cannot be written)
    int openKeys = 0;                      // keys open now (to check they are closed)
    QStringList openedPaths;
};

// "ATM.INI": UserDataDir/ATM.INI of the fake system when it exists, else `text`.
class FakeAtmProfile : public AtmProfile {
public:
    explicit FakeAtmProfile(FakeSystemInfo* system) : system_(system) {}
    QString GetProfileString(const QString& section, const QString& key,
                             const QString& def) override;
    QString text;
private:
    FakeSystemInfo* system_;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    QList<int> answers;   // taken from the front; empty: the first button of the style
    QStringList texts;
    QList<int> styles;
    QStringList titles;
};

class FakeProgramRunner : public ProgramRunner {
public:
    void RunProgram(const QString& commandLine, int windowStyle) override;
    QStringList started;
    QList<int> styles;
};

class FakeClipboard : public Clipboard {
public:
    void Clear() override { text.clear(); }
    void SetText(const QString& t) override { text = t; }
    QString Text() override { return text; }
    QString text;
};

// Drives from a list; folder and copy errors injected by the test.
class FakeStorage : public Storage {
public:
    QVector<DriveEntry> Drives() override { return drives; }
    int FolderError(const QString& folder) override;
    int CopyFile(const QString& source, const QString& dest) override;
    int RemoveLeftovers(const QString& folder) override { leftoverFolders << folder; return 0; }
    QVector<DriveEntry> drives;
    QStringList leftoverFolders;            // every folder cleaned of leftovers, in order
    QMap<QString, QList<int>> folderErrors; // folder -> answers taken from the front; then 0
    QList<int> copyErrors;                  // per copy from the front (0 copies); then copies
    QStringList copies;                     // "source -> dest" of every call
    int shortCopies = 0;                    // the next copies write half the file and report success
};

class FakePrinterSetup : public PrinterSetup {
public:
    QString DeviceName() override { return deviceName; }
    void ShowPrinter(QWidget*) override;
    QString deviceName = QStringLiteral("Office Laser");
    QStringList choices;  // the printer chosen at each showing; none left: unchanged
    int shown = 0;
};

class FakeWebLinks : public WebLinks {
public:
    void OpenAddress(const QString& address) override { opened << address; }
    QStringList opened;
};

// Answers from a table the test fills: references, and the copies found per file name.
class FakeComponentVersions : public ComponentVersions {
public:
    QVector<ComponentReference> References() override { return references; }
    QVector<ComponentFile> Found(const ComponentReference& reference) override
    {
        return found.value(reference.fileName);
    }
    QVector<ComponentReference> references;
    QMap<QString, QVector<ComponentFile>> found;
};

class FakeHelpService : public HelpService {
public:
    void ShowContext(const QString& helpFile, int context) override;
    void ShowContents(const QString& helpFile) override;
    QStringList files;   // every call, in order
    QList<int> contexts; // -1 for the contents page
};

class FakeFileDialogs : public FileDialogs {
public:
    QString OpenFile(const QString& title, const QString& defaultExtension,
                     const QString& startFolder, const QString& filter) override;
    QString SaveFile(const QString& title, const QString& defaultExtension,
                     const QString& startPath, const QString& filter) override;
    QString PickFolder(const QString& title, const QString& startFolder) override;
    QStringList answers;  // taken from the front; empty: cancelled
    QStringList titles, starts, extensions; // what every call asked
};

// Character maps given by the test, per font file; other files cannot be read.
class FakeCharacterMaps : public CharacterMaps {
public:
    bool CharacterMap(const QString& fontFile, int, QSet<uint>* characters) override
    {
        ++reads;
        *characters = maps.value(fontFile);
        return maps.contains(fontFile);
    }
    QMap<QString, QSet<uint>> maps;
    int reads = 0;
};

class FakeKeyboardState : public KeyboardState {
public:
    bool CapsLock() override { return capsLock; }
    void SetCapsLock(bool on) override { capsLock = on; ++sets; }
    void CapsKeyPressed() override { capsLock = !capsLock; }
    bool capsLock = false;
    int sets = 0;
};
// The user's trash as a folder; errors injected by the test.
class FakeTrash : public Trash {
public:
    int MoveToTrash(const QString& file, bool* trashed) override;
    int DeleteFile(const QString& file) override;
    QString folder;          // the trash: files land here by their name
    bool noTrash = false;    // no trash can take a file: it stays (ErrNoTrash)
    QList<int> errors;       // per call of either kind from the front (0 goes on)
    QStringList trashed, deleted;

private:
    int Remove(const QString& file);
};

// Calls of the font, registration, copy and trash fakes in the order they
// were made ("RegDeleteValue name", "CreateScalableFontResource fot", ...);
// cleared by InstallFakePlatform.
QStringList& FakeCallLog();

// The fakes installed by InstallFakePlatform; they belong to Sys().
struct FakePlatform {
    FakeSystemInfo* system = nullptr;
    FakeFontSystem* fonts = nullptr;
    FakeRegistry* registry = nullptr;
    FakeAtmProfile* atm = nullptr;
    FakeMessageBoxes* messages = nullptr;
    FakeProgramRunner* programs = nullptr;
    FakeClipboard* clipboard = nullptr;
    FakeStorage* storage = nullptr;
    FakePrinterSetup* printerSetup = nullptr;
    FakeWebLinks* web = nullptr;
    FakeComponentVersions* components = nullptr;
    FakeHelpService* help = nullptr;
    FakeFileDialogs* dialogs = nullptr;
    FakeCharacterMaps* characterMaps = nullptr;
    FakeKeyboardState* keyboard = nullptr;
    FakeTrash* trash = nullptr;
};
FakePlatform InstallFakePlatform(const QString& root);

} // namespace gw
