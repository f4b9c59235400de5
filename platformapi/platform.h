#pragma once
// The operating-system services the program relies on, as small interfaces.
// Each has a desktop implementation (desktop*.cpp) and a fake for tests (fake*.cpp).
// Code outside platform/ reaches them only through Sys().
#include <QDateTime>
#include <QString>
#include <QSet>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace gw {

// ---- Version ---------------------------------------------------------------

enum : uint32_t {
    VER_PLATFORM_WIN32s = 0,
    VER_PLATFORM_WIN32_WINDOWS = 1,
    VER_PLATFORM_WIN32_NT = 2,
    VER_PLATFORM_LINUX = 10,
};

struct OsVersionInfo {
    uint32_t dwOSVersionInfoSize = 0; // the caller sets 148 before the query
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
    uint32_t dwBuildNumber = 0;
    uint32_t dwPlatformId = 0;
    QString szCSDVersion;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // The folder that holds "gw.ini" and the program's other own files, no trailing "/".
    virtual QString ProgramFolder() = 0;
    virtual QString HelpFilePath() = 0;
    virtual QString ExeFilePath() = 0;
    // The folder without a trailing "/".
    virtual QString UserDataDirectory() = 0;
    virtual QString SystemFontDirectory() = 0;
    // false when the query failed.
    virtual bool GetVersionEx(OsVersionInfo& info) = 0;
};

// ---- Fonts -----------------------------------------------------------------

enum : int { RASTER_FONTTYPE = 1, DEVICE_FONTTYPE = 2, TRUETYPE_FONTTYPE = 4 };

// The fields of the enumerated logical font (ENUMLOGFONT) that are read. The three
// name fields are code page 1252 bytes, NUL-padded, always NUL-terminated.
struct EnumLogFont {
    int32_t lfHeight = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
    char elfFullName[64] = {};
    char elfStyle[32] = {};
    // Not part of the record: the font file and the face's index in it (collections).
    QString filePath;
    int faceIndex = 0;
    // The family name the toolkit draws this very file by, when the face name
    // alone could give another file (a family with Type 1 and OpenType files);
    // empty: the face name.
    QString drawingFamily;
    // The whole family name; lfFaceName holds its first 31 bytes, which two
    // long families may share. Empty: the family is lfFaceName.
    QString familyName;
};

// Sets one of the name fields from text (code page 1252, cut to size - 1 bytes).
void SetLogFontName(char* field, int size, const QString& text);

enum class DeviceContext { Display, Printer };

// One face of a font file as the font system reads it: the family and style
// names the toolkit lists it under, and its style.
struct FileFace {
    QString family;
    QString style;
    QString foundry;  // the maker's tag ("urw"); two files of one family may differ in it
    int weight = 400;  // 100 to 900
    bool italic = false;
};

// Called once per family (all families) or once per style (one family),
// synchronously, in the platform's order.
using EnumFontCallback =
    std::function<void(const EnumLogFont& elf, int fontType, int tag)>;

class FontSystem {
public:
    virtual ~FontSystem() = default;
    // family empty: one call per family; else one call per style of that family.
    virtual void EnumFontFamilies(DeviceContext dc, const QString& family,
                                  const EnumFontCallback& callback, int tag) = 0;
    // Number of faces made available (0 for a file that is not a font).
    virtual int AddFontResource(const QString& path) = 0;
    // The same for a font that is only drawn, as a print run's are: it need
    // not be listed to the toolkit or enumerated (with thousands listed every
    // font the toolkit loads costs more). AddedFontFile finds it; DrawAddedFont
    // lets the toolkit load it. RemoveFontResource removes it.
    virtual int AddFontForDrawing(const QString& path) { return AddFontResource(path); }
    // Nonzero when the path had been added or is a registered font.
    virtual int RemoveFontResource(const QString& path) = 0;
    // Writes the program's small ".fot" resource file for face faceIndex of
    // fontFile (a collection's; 0 of a single font); 0 when nothing was written.
    virtual int CreateScalableFontResource(int hidden, const QString& fotFile,
                                           const QString& fontFile,
                                           const QString& currentPath, int faceIndex = 0) = 0;
    // Tells everyone that the set of fonts changed.
    virtual void BroadcastFontChange() = 0;
    // Whether the system lists a face of this font file now (a file may give
    // several faces, a variable font one per named instance).
    virtual bool ListsFontFile(const QString&) { return false; }
    // The file was deleted or moved away: no rule that hides it may outlive it.
    virtual void ForgetFontFile(const QString&) {}
    // The font files uninstalled but kept (hidden from every program).
    virtual QStringList HiddenFontFiles() { return {}; }
    // Reads the system's font set afresh, so that font files added to or
    // removed from the font folders since the start are seen ("Reread Fonts").
    virtual void RescanFonts() {}
    // The family the system draws a name it does not list with (Arial may
    // become Liberation Sans); empty when the platform cannot say.
    virtual QString SubstituteFamily(const QString&) { return {}; }
    // The file (and face number in it) of the installed font the system draws
    // `family` in, bold and italic or nearest; empty when the platform cannot say.
    virtual QString MatchFontFile(const QString&, bool, bool, int* = nullptr) { return {}; }
    // Before the toolkit first reads the installed fonts: it reads only these
    // faces (file and face number) and the families of these names (or those
    // the system draws them with), until fonts are reread. A run that draws a
    // few of thousands of fonts need not wait for the toolkit to read them all.
    // Nothing changes once the toolkit has read them.
    virtual void LimitToolkitFonts(const QList<std::pair<QString, int>>&, const QStringList&) {}
    // Runs `work` (which makes the toolkit load a font of `family`) while the
    // system's font matching weighs only the faces of that family.
    virtual void MatchWithinFamily(const QString&, const std::function<void()>& work) { work(); }
    // The file of a font added with AddFontResource (and not removed since)
    // whose family is `family` (in any case): of several, the face that best
    // fits bold and italic. *faceIndex gets the face's number in the file (a
    // collection's). Empty when no added font has that family.
    virtual QString AddedFontFile(const QString&, bool, bool, int* = nullptr) { return {}; }
    // Runs `work` (which makes the toolkit load a face of `family`) while the
    // toolkit lists the font file `file` itself under that family, ahead of
    // any other file of the same family and style (a Type 1 twin, a copy).
    virtual void DrawFontFile(const QString& file, const QString& family, const std::function<void()>& work)
    {
        DrawAddedFont(file, family, work);
    }
    // How the font system reads face `faceIndex` of a font file (installed,
    // added or neither); false when it finds no such face there.
    virtual bool ReadFileFace(const QString& file, int faceIndex, FileFace* face) = 0;
    // Runs `work` (which makes the toolkit load a face of the added font file
    // `file`, of `family`) while the toolkit can load it, matching within it.
    virtual void DrawAddedFont(const QString&, const QString& family, const std::function<void()>& work)
    {
        MatchWithinFamily(family, work);
    }
};

// One face of an added font file, as AddedFontFile chooses among them.
struct AddedFace {
    QString file;
    int index = 0;
    int weight = 400;  // 100 to 900
    bool italic = false;
};
// The face that best fits bold and italic: the right slant first, then the
// nearest weight (the first listed on a tie); null when there is none.
const AddedFace* ClosestStyle(const QVector<AddedFace>& faces, bool bold, bool italic);

// ---- Registrations (the key FontsKey) ---------------------------------------

constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_NO_MORE_ITEMS = 259;
constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_WRITE = 0x20006;

// An open key; closing it is destroying it (RegCloseKey).
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    virtual long QueryValue(const QString& name, QString* data) = 0;
    virtual long QueryInfo(int* valueCount, int* maxNameLength, int* maxDataLength) = 0;
    virtual long EnumValue(int index, QString* name, QString* data) = 0;
    // Need a key opened with KEY_WRITE; else ERROR_ACCESS_DENIED.
    virtual long SetValue(const QString& name, const QString& data) = 0;
    virtual long DeleteValue(const QString& name) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    virtual long OpenKey(const QString& keyPath, uint32_t access,
                         std::unique_ptr<RegistryKey>* key) = 0;
};

// ---- Profile files the program does not own ("ATM.INI") ---------------------

class AtmProfile {
public:
    virtual ~AtmProfile() = default;
    // The value of key in section of "ATM.INI", or def; names match without regard to case.
    virtual QString GetProfileString(const QString& section, const QString& key,
                                     const QString& def) = 0;
};

// ---- Message boxes -----------------------------------------------------------

enum : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256,
};
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // style = buttons + icon (+ default button); returns the button pressed.
    virtual int MsgBox(const QString& text, int style, const QString& title) = 0;
};

// ---- Other programs ------------------------------------------------------------

class ProgramRunner {
public:
    virtual ~ProgramRunner() = default;
    // "CONTROL.EXE", "CLIPBRD.EXE", "CHARMAP.EXE" or a path; failures are silent.
    virtual void RunProgram(const QString& commandLine, int windowStyle) = 0;
};

// ---- Clipboard -------------------------------------------------------------------

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(const QString& text) = 0;
    virtual QString Text() = 0;
};

// ---- Drives and file copies (install wizard, folder picker) ----------------------

// Error numbers of file operations, as the wizards test them.
enum : int {
    ErrDiskFull = 61,
    ErrDeviceUnavailable = 68,
    ErrDiskNotReady = 71,
    ErrPathFileAccess = 75,
    ErrNoTrash = 1001,  // no trash can take the file; it was left where it is
};
// Files the program writes for itself and may remove when a killed run left
// them are named with this prefix: ".glyphwick-" + the writer's process id + "-".
QString OwnFilePrefix();
// folder + "/" + OwnFilePrefix() + name.
QString OwnFileName(const QString& folder, const QString& name);
// The error number of a failed file operation, from errno.
int ErrorNumberFromErrno(int error);

// One entry of the drive list: a mounted volume (or the user's home folder).
struct DriveEntry {
    QString name;      // shown in the list
    QString rootPath;  // no trailing "/" except for "/"
};

class Storage {
public:
    virtual ~Storage() = default;
    virtual QVector<DriveEntry> Drives() = 0;
    // 0 when the folder can be listed, else its error number (71 when not ready).
    virtual int FolderError(const QString& folder) = 0;
    // Copies a regular file (never one reached through a link) over dest by a
    // temporary file in dest's folder, renamed only when complete; on failure
    // only the temporary file goes. 0 or an error number.
    virtual int CopyFile(const QString& source, const QString& dest) = 0;
    // Removes the temporary files (OwnFilePrefix) that a killed run left in
    // folder; nothing else. The number removed.
    virtual int RemoveLeftovers(const QString&) { return 0; }
};

// ---- Printer set-up, web addresses, component versions -------------------------

class PrinterSetup {
public:
    virtual ~PrinterSetup() = default;
    // The device name of the printer the program prints on.
    virtual QString DeviceName() = 0;
    // The printer set-up dialog; the user may choose another printer there.
    virtual void ShowPrinter(QWidget* parent) = 0;
};

class WebLinks {
public:
    virtual ~WebLinks() = default;
    // Opens a web page or a new mail message ("mailto:") in the user's program for it.
    virtual void OpenAddress(const QString& address) = 0;
};

// One copy of a run-time component found on this computer.
struct ComponentFile {
    QString path;
    QString version;          // empty when the file carries none
    QDateTime date;
    qint64 size = 0;
    uint32_t specialBuild = 0;  // 1 Debug, 2 Prerelease, 4 Patched, 8 PrivateBuild, 16 Infoinferred, 32 SpecialBuild
    bool inMemory = false;    // the copy this process runs with
};

// A component as the program was built with it.
struct ComponentReference {
    QString name;             // "Qt Core"
    QString fileName;         // "libQt6Core.so.6"
    QString version;
    QDateTime date;
    qint64 size = 0;
    uint32_t flags = 0;       // 32: always warn
};

class ComponentVersions {
public:
    virtual ~ComponentVersions() = default;
    // The reference list recorded when the program was built.
    virtual QVector<ComponentReference> References() = 0;
    // The copies of a component on this computer: the one in use first.
    virtual QVector<ComponentFile> Found(const ComponentReference& reference) = 0;
};

// ---- Help --------------------------------------------------------------------------

class HelpService {
public:
    virtual ~HelpService() = default;
    // Opens the help file at the topic with this context number.
    virtual void ShowContext(const QString& helpFile, int context) = 0;
    // Opens the help file at its contents page.
    virtual void ShowContents(const QString& helpFile) = 0;
};

// ---- File open/save dialogs and folder picking ----------------------------------

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Each returns the chosen path, or an empty text when the user cancelled.
    // filter as Qt writes it ("Programs (*.exe);;All files (*)"), may be empty.
    virtual QString OpenFile(const QString& title, const QString& defaultExtension,
                             const QString& startFolder, const QString& filter) = 0;
    virtual QString SaveFile(const QString& title, const QString& defaultExtension,
                             const QString& startPath, const QString& filter) = 0;
    virtual QString PickFolder(const QString& title, const QString& startFolder) = 0;
};

// ---- Characters a font file holds -------------------------------------------------

class CharacterMaps {
public:
    virtual ~CharacterMaps() = default;
    // The Unicode characters that face `index` of a font file maps to glyphs of
    // its own (its character map); false when the file cannot be read as a font.
    virtual bool CharacterMap(const QString& fontFile, int index, QSet<uint>* characters) = 0;
};

// ---- Keyboard state (the keyboard window's Caps key) ------------------------------

class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual bool CapsLock() = 0;
    virtual void SetCapsLock(bool on) = 0;
    // The real Caps Lock key went down in one of the program's windows. Where
    // the state is read from the window system this changes nothing; where the
    // program keeps it, the kept state flips as the system's did.
    virtual void CapsKeyPressed() = 0;
};

// ---- The user's trash (remove wizard) ----------------------------------------------

class Trash {
public:
    virtual ~Trash() = default;
    // Moves file into the user's trash. Where no trash can take it the file
    // stays and the answer is ErrNoTrash. 0 or the error number; *trashed
    // tells whether it went to the trash.
    virtual int MoveToTrash(const QString& file, bool* trashed) = 0;
    // Deletes file for good (a moved file's original); 0 or the error number.
    virtual int DeleteFile(const QString& file) = 0;
};

// ---- The set in use ------------------------------------------------------------

struct Platform {
    std::unique_ptr<SystemInfo> system;
    std::unique_ptr<FontSystem> fonts;
    std::unique_ptr<Registry> registry;
    std::unique_ptr<AtmProfile> atm;
    std::unique_ptr<MessageBoxes> messages;
    std::unique_ptr<ProgramRunner> programs;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<Storage> storage;
    std::unique_ptr<PrinterSetup> printerSetup;
    std::unique_ptr<WebLinks> web;
    std::unique_ptr<ComponentVersions> components;
    std::unique_ptr<HelpService> help;
    std::unique_ptr<FileDialogs> dialogs;
    std::unique_ptr<CharacterMaps> characterMaps;
    std::unique_ptr<KeyboardState> keyboard;
    std::unique_ptr<Trash> trash;
};

// The platform in use; set once at start-up (or by a test).
Platform& Sys();
void SetPlatform(std::unique_ptr<Platform> platform);

std::unique_ptr<Platform> MakeDesktopPlatform();

} // namespace gw
