#pragma once
// Pieces the desktop services share: the user's folders, the fonts fontconfig
// lists, the fonts this process added, and the files hidden from every program.
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>
#include <memory>
#include <QUrl>
#include <sys/types.h>

#include "platformapi/platform.h"

typedef struct _FcPattern FcPattern;

namespace gw {

// $XDG_DATA_HOME (default ~/.local/share), no trailing "/".
QString DesktopDataHome();
// $XDG_CONFIG_HOME (default ~/.config), no trailing "/".
QString DesktopConfigHome();
// DesktopDataHome() + "/fonts": the folder fontconfig scans for the user.
QString DesktopUserFontFolder();
// The fontconfig file that rejects the uninstalled font files.
QString DesktopRejectFilePath();

// A volume a user never keeps fonts on, left out of the drive list: kernel and
// memory file systems, snaps, the system's own folders.
bool IsSystemVolume(const QByteArray& fileSystemType, const QString& root);

// One style as fontconfig (or the printer) offers it.
struct DesktopFace {
    QString family;
    QString fullName;
    QString style;
    QString file;
    int index = 0;
    int weight = 400;   // 100..900
    int slant = 0;      // fontconfig slant: 0 roman, 100 italic, 110 oblique
    int width = 100;    // fontconfig width: 100 normal, 75 condensed, ...
    int fontType = 0;   // RASTER_FONTTYPE, DEVICE_FONTTYPE or TRUETYPE_FONTTYPE
    bool fixedPitch = false;
    bool symbol = false;
    int pixelSize = 0;  // bitmap fonts only
    QString metricsFile; // Type 1: the ".afm"/".pfm" beside the outline, else empty
    QString foundry;     // fontconfig's foundry, kept for families in two kinds
    bool italic() const { return slant != 0; }
};

// How far a style is from its family's plain one, smallest first: upright before
// slanted, normal width before the others, then the weight nearest 400 (of two as
// near, the lighter). Below RegularStyleRankLimit only for an upright style of normal width.
int RegularStyleRank(const DesktopFace& face);
constexpr int RegularStyleRankLimit = 10000;

// The styles of one family in the order they are offered: the regular style
// first (the least RegularStyleRank, if upright and of normal width), then by
// width, weight, slant.
void OrderFamilyStyles(QVector<DesktopFace>& styles);

// The kind of a fontconfig face by its format: TRUETYPE_FONTTYPE for TrueType
// and CFF OpenType files, DEVICE_FONTTYPE for Type 1, RASTER_FONTTYPE for bitmap
// formats and outline formats without outlines; 0 for a face that is not listed.
int DesktopFontType(FcPattern* pattern, const QString& file);

// fontconfig weight to the 100..900 scale, rounded to the hundreds.
int DesktopWeight(double fcWeight);

// The installed font the system draws a family name in, of the weight and
// slant nearest to bold and italic: its family (Arial may become Liberation
// Sans), file and face number. Empty when nothing matches.
struct DesktopMatch {
    QString family;
    QString file;
    int faceIndex = 0;
};
DesktopMatch DesktopMatchFont(const QString& name, bool bold, bool italic);

// Every style fontconfig lists on the current configuration, including the
// fonts this process added, without hidden files, each (file, index) once.
// lookAtRejects: look at the reject file even if it was looked at just now.
QVector<DesktopFace> DesktopFontFaces(bool lookAtRejects = false);
// Changes whenever the listing above changes.
int DesktopFacesGeneration();
// Changes whenever fontconfig's font sets may have been made anew (a reload,
// fonts added or removed), even when they list the same faces: what keeps
// pointers into them must look again.
int DesktopFontSetsGeneration();

// The printer-resident fonts named by the *Font entries of a PPD file.
QVector<DesktopFace> PpdFontFaces(const QString& ppdPath);
// Those of the chosen (else the default) CUPS printer; none without a printer or a PPD.
QVector<DesktopFace> DefaultPrinterFaces();
// Reads the printer's faces with `reader` instead of CUPS (a test's printer); empty: CUPS again.
void SetPrinterFacesReader(std::function<QVector<DesktopFace>()> reader);

// Splits a PostScript font name ("Helvetica-BoldOblique") into a face.
DesktopFace FaceFromPostScriptName(const QString& psName);

// The font file named inside one of the program's ".fot" files, or empty.
QString FotTargetPath(const QString& fotPath);

// Whether QDir::cleanPath would leave an absolute path as it is (most of
// fontconfig's are; cleaning each of thousands cost more than checking).
// False for some it would leave, never true for one it would change.
bool IsCleanPath(const QString& path);

// Fonts added to this process (fontconfig application fonts, and Qt's when a
// GUI application exists), counted per path like the system's font resources.
// A font added for drawing only is listed to neither until DrawAddedFont.
int DesktopAddFont(const QString& path, bool forDrawing = false);
// Adds the file only when this process has not added it yet.
void DesktopEnsureFontAdded(const QString& path);
// Nonzero when the path had been added or is a font file fontconfig lists.
int DesktopRemoveFont(const QString& path);
// Reloads this process's font set from the configuration; added fonts stay.
void DesktopReloadFonts();
// A fresh fontconfig configuration (its folders scanned again where they
// changed) and a fresh Qt font database built from it; added fonts stay.
void DesktopRescanFonts();
// Asks fontconfig to rescan the user font folder, without waiting for it.
void DesktopRescanUserFonts();

// Files hidden by the reject file, as written in it. *readable is false when
// the file is there but cannot be parsed (then none are listed).
QStringList DesktopHiddenFiles(bool* readable = nullptr);
// Adds or removes a file in the reject file; false when nothing changed or it
// could not be written. A reject file that cannot be parsed is never rewritten.
bool DesktopSetHidden(const QString& file, bool hidden);

// A storage fault for tests: every write of the desktop copy and trash fails
// with writeError once afterBytes bytes of one file were written (0: none).
struct DesktopFileFault {
    int writeError = 0;
    qint64 afterBytes = 0;
};
void SetDesktopFileFault(const DesktopFileFault& fault);
// write(), with the fault above; writtenBefore: bytes of this file already written.
ssize_t DesktopWrite(int fd, const void* data, size_t size, qint64 writtenBefore);

std::unique_ptr<SystemInfo> MakeDesktopSystemInfo();
std::unique_ptr<FontSystem> MakeDesktopFontSystem();
std::unique_ptr<Registry> MakeDesktopRegistry();
std::unique_ptr<AtmProfile> MakeDesktopAtmProfile();
std::unique_ptr<MessageBoxes> MakeDesktopMessageBoxes();
std::unique_ptr<ProgramRunner> MakeDesktopProgramRunner();
std::unique_ptr<Storage> MakeDesktopStorage();
std::unique_ptr<PrinterSetup> MakeDesktopPrinterSetup();
std::unique_ptr<WebLinks> MakeDesktopWebLinks();
std::unique_ptr<ComponentVersions> MakeDesktopComponentVersions();
// The version of the fontconfig library in use, "2.14.1".
QString DesktopFontconfigVersion();
// Major, minor and patch of a kernel release ("6.1.0-18-amd64"); 0 for each that is missing.
std::array<uint32_t, 3> KernelReleaseNumbers(const char* release);

// The printer chosen in the printer set-up dialog: empty for the default printer, "PDF" for the PDF writer.
QString DesktopChosenPrinter();
std::unique_ptr<HelpService> MakeDesktopHelpService();
// Opens a file or web address in the user's browser; when none can, says what
// was tried and how to get one. false when nothing opened it.
bool DesktopOpenAddress(const QUrl& url);
std::unique_ptr<FileDialogs> MakeDesktopFileDialogs();
// Where a file dialog starts for a proposed path: the path itself when its
// folder exists; else its file name in the user's documents folder, or in the
// home folder when there is none.
QString DesktopDialogStart(const QString& start);
std::unique_ptr<CharacterMaps> MakeDesktopCharacterMaps();
std::unique_ptr<KeyboardState> MakeDesktopKeyboardState();
std::unique_ptr<Trash> MakeDesktopTrash();

} // namespace gw
