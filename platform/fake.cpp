#include "platform/fake.h"

#include <algorithm>
#include <QDir>
#include <cerrno>
#include <QFile>
#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>

#include "sfnt/codepage.h"
#include "core/inifile.h"
#include "platform/desktop.h"
#include "sfnt/fot.h"
#include "sfnt/instances.h"
#include "sfnt/names.h"
#include "platform/valuelistkey.h"

namespace gw {

// ---- System ---------------------------------------------------------------------

FakeSystemInfo::FakeSystemInfo(const QString& root)
    : programFolder(root + "/program"),
      windowsDirectory(root + "/windows"),
      systemDirectory(root + "/system")
{
    for (const QString& dir : {programFolder, windowsDirectory, windowsDirectory + "/fonts", systemDirectory})
        QDir().mkpath(dir);
    version.dwOSVersionInfoSize = 148;
    version.dwMajorVersion = 6;
    version.dwMinorVersion = 1;
    version.dwBuildNumber = 0;
    version.dwPlatformId = VER_PLATFORM_LINUX;
}

bool FakeSystemInfo::GetVersionEx(OsVersionInfo& info)
{
    if (versionFails)
        return false;
    const uint32_t size = info.dwOSVersionInfoSize;
    info = version;
    info.dwOSVersionInfoSize = size;
    return true;
}

// ---- Fonts ----------------------------------------------------------------------

namespace {

QString FaceNameOf(const FakeFontSystem::Face& face)
{
    const char* name = face.elf.lfFaceName;
    return FromCp1252(name, static_cast<int>(qstrnlen(name, sizeof face.elf.lfFaceName)));
}

} // namespace

QVector<FakeFontSystem::Face> FakeFontSystem::FileFaces(const QString& file)
{
    QVector<Face> faces;
    for (const int index : FileStyleFaces(file)) {
        FontNameInfo names;
        ReadNameTableFile(file, names, index);
        if (names.family.isEmpty())
            continue;
        faces.append(MakeFace(names.family, names.fullName, names.subfamily, 400, false, TRUETYPE_FONTTYPE, file));
        faces.last().elf.faceIndex = index;
    }
    return faces;
}

FakeFontSystem::Face FakeFontSystem::MakeFace(const QString& family, const QString& fullName,
                                              const QString& style, int weight, bool italic,
                                              int fontType, const QString& file)
{
    Face face;
    face.fontType = fontType;
    SetLogFontName(face.elf.lfFaceName, sizeof face.elf.lfFaceName, family);
    SetLogFontName(face.elf.elfFullName, sizeof face.elf.elfFullName, fullName);
    SetLogFontName(face.elf.elfStyle, sizeof face.elf.elfStyle, style);
    face.elf.lfWeight = weight;
    face.elf.lfItalic = italic ? 1 : 0;
    face.elf.lfPitchAndFamily = 2; // variable pitch
    face.elf.lfOutPrecision = fontType == RASTER_FONTTYPE ? 1 : 3;
    face.elf.filePath = file;
    return face;
}

void FakeFontSystem::EnumFontFamilies(DeviceContext dc, const QString& family,
                                      const EnumFontCallback& callback, int tag)
{
    QVector<Face> list = faces;
    if (dc == DeviceContext::Printer)
        list += printerFaces;
    if (family.isEmpty()) {
        QList<QPair<QString, int>> seen;
        for (const Face& face : list) {
            const QPair<QString, int> key(FaceNameOf(face).toLower(), face.fontType);
            if (seen.contains(key))
                continue;
            seen.append(key);
            callback(face.elf, face.fontType, tag);
        }
    } else {
        for (const Face& face : list)
            if (FaceNameOf(face).compare(family, Qt::CaseInsensitive) == 0)
                callback(face.elf, face.fontType, tag);
    }
}

void FakeFontSystem::BroadcastFontChange()
{
    ++broadcasts;
    FakeCallLog() << "BroadcastFontChange";
}

int FakeFontSystem::AddFontResource(const QString& path)
{
    added << path;
    return addAnswers.value(path, 1);
}

bool FakeFontSystem::ListsFontFile(const QString& file)
{
    if (unlisted.contains(file))
        return false;
    if (addAnswers.value(file, 1) > 0 && added.count(file) > removed.count(file))
        return true;
    return std::any_of(faces.begin(), faces.end(), [&](const Face& face) { return face.elf.filePath == file; });
}

int FakeFontSystem::RemoveFontResource(const QString& path)
{
    removed << path;
    if (QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor)
        removedBusy << path;
    FakeCallLog() << "RemoveFontResource " + path;
    if (onRemove)
        onRemove(path);
    if (removeAnswers.contains(path))
        return removeAnswers.value(path);
    // A .fot file stands for the font it names, answers included.
    const QString target = path.endsWith(".fot", Qt::CaseInsensitive) ? FotTargetPath(path) : QString();
    if (removeAnswers.contains(target))
        return removeAnswers.value(target);
    return Holds(path) ? 1 : 0;
}

// Added, or a registered font's file; a .fot file stands for the font it names.
bool FakeFontSystem::Holds(const QString& path) const
{
    if (added.contains(path, Qt::CaseInsensitive))
        return true;
    if (path.endsWith(".fot", Qt::CaseInsensitive)) {
        const QString target = FotTargetPath(path);
        return !target.isEmpty() && target != path && Holds(target);
    }
    for (const QVector<Face>* list : {&faces, &printerFaces})
        for (const Face& face : *list)
            if (!face.elf.filePath.isEmpty() && face.elf.filePath.compare(path, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QString FakeFontSystem::AddedFontFile(const QString& family, bool bold, bool italic, int* faceIndex)
{
    QVector<AddedFace> candidates;
    for (const Face& face : addedFaces) {
        const QString& file = face.elf.filePath;
        if (FaceNameOf(face).compare(family, Qt::CaseInsensitive) == 0 && added.count(file) > removed.count(file))
            candidates.append({file, face.elf.faceIndex, face.elf.lfWeight, face.elf.lfItalic != 0});
    }
    const AddedFace* best = ClosestStyle(candidates, bold, italic);
    if (faceIndex)
        *faceIndex = best ? best->index : 0;
    return best ? best->file : QString();
}

QString FakeFontSystem::MatchFontFile(const QString& family, bool bold, bool italic, int* faceIndex)
{
    const DesktopMatch match = DesktopMatchFont(family, bold, italic);
    if (faceIndex)
        *faceIndex = match.faceIndex;
    return match.file;
}

bool FakeFontSystem::ReadFileFace(const QString& file, int faceIndex, FileFace* face)
{
    for (const QVector<Face>* list : {&faces, &addedFaces})
        for (const Face& f : *list)
            if (f.elf.filePath == file && f.elf.faceIndex == faceIndex) {
                *face = {FaceNameOf(f), FromCp1252(f.elf.elfStyle, static_cast<int>(qstrnlen(f.elf.elfStyle, sizeof f.elf.elfStyle))),
                         QString(), f.elf.lfWeight, f.elf.lfItalic != 0};
                return true;
            }
    return false;
}

int FakeFontSystem::CreateScalableFontResource(int, const QString& fotFile, const QString& fontFile,
                                               const QString&, int faceIndex)
{
    FakeCallLog() << "CreateScalableFontResource " + fotFile;
    return WriteFotFile(fotFile, fontFile, faceIndex);
}

// ---- Registrations ----------------------------------------------------------------

class FakeRegistryKey : public ValueListKey {
public:
    FakeRegistryKey(FakeRegistry* registry, bool writable) : ValueListKey(writable), registry_(registry)
    {
        ++registry_->openKeys;
    }
    ~FakeRegistryKey() override { --registry_->openKeys; }

    long QueryInfo(int* valueCount, int* maxNameLength, int* maxDataLength) override
    {
        const long result = ValueListKey::QueryInfo(valueCount, maxNameLength, maxDataLength);
        return registry_->failQueryInfo ? ERROR_ACCESS_DENIED : result;
    }

protected:
    const QList<RegValue>& Values() const override { return registry_->values; }

    void Store(const QString& name, const QString& data) override
    {
        const int i = FindRegValue(registry_->values, name);
        if (i >= 0)
            registry_->values[i].second = data;
        else
            registry_->values.append({name, data});
    }

    bool Remove(int index) override
    {
        FakeCallLog() << "RegDeleteValue " + registry_->values[index].first;
        if (registry_->failDelete)
            return false;
        registry_->values.removeAt(index);
        return true;
    }

private:
    FakeRegistry* registry_;
};

long FakeRegistry::OpenKey(const QString& keyPath, uint32_t access, std::unique_ptr<RegistryKey>* key)
{
    openedPaths << keyPath;
    if (failOpen) {
        key->reset();
        return ERROR_FILE_NOT_FOUND;
    }
    *key = std::make_unique<FakeRegistryKey>(this, ValueListKey::Writable(access));
    return ERROR_SUCCESS;
}

// ---- ATM.INI ----------------------------------------------------------------------

QString FakeAtmProfile::GetProfileString(const QString& section, const QString& key, const QString& def)
{
    IniDocument doc = IniDocument::Parse(text);
    if (system_) {
        for (const char* name : {"/ATM.INI", "/atm.ini"}) {
            const QString path = system_->windowsDirectory + name;
            if (QFileInfo(path).isFile()) {
                doc = IniDocument::Load(path);
                break;
            }
        }
    }
    QString value;
    return doc.Value(section, key, &value) ? value : def;
}

// ---- Message boxes and other programs ---------------------------------------------

int FakeMessageBoxes::MsgBox(const QString& text, int style, const QString& title)
{
    texts << text;
    styles << style;
    titles << title;
    if (!answers.isEmpty())
        return answers.takeFirst();
    switch (style & 0x0F) {
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

void FakeProgramRunner::RunProgram(const QString& commandLine, int windowStyle)
{
    started << commandLine;
    styles << windowStyle;
}

// ---- Drives and copies -------------------------------------------------------------

int FakeStorage::FolderError(const QString& folder)
{
    QList<int>& answers = folderErrors[folder];
    if (!answers.isEmpty())
        return answers.takeFirst();
    return QFileInfo(folder).isDir() ? 0 : ErrPathFileAccess;
}

int FakeStorage::CopyFile(const QString& source, const QString& dest)
{
    copies << source + " -> " + dest;
    FakeCallLog() << "CopyFile " + source + " -> " + dest;
    if (!copyErrors.isEmpty()) {
        if (const int error = copyErrors.takeFirst())
            return error;
    }
    if (!QFileInfo(source).isFile())
        return ENOENT;
    QFile::remove(dest);
    if (shortCopies > 0) {
        --shortCopies;
        QFile in(source), out(dest);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
            return ErrPathFileAccess;
        out.write(in.read(in.size() / 2));
        return 0;
    }
    return QFile::copy(source, dest) ? 0 : ErrPathFileAccess;
}

void FakePrinterSetup::ShowPrinter(QWidget*)
{
    ++shown;
    if (!choices.isEmpty())
        deviceName = choices.takeFirst();
}

// ---- Help and file dialogs ----------------------------------------------------------

void FakeHelpService::ShowContext(const QString& helpFile, int context)
{
    files << helpFile;
    contexts << context;
}

void FakeHelpService::ShowContents(const QString& helpFile)
{
    ShowContext(helpFile, -1);
}

namespace {

QString Answer(FakeFileDialogs& d, const QString& title, const QString& start, const QString& ext)
{
    d.titles << title;
    d.starts << start;
    d.extensions << ext;
    return d.answers.isEmpty() ? QString() : d.answers.takeFirst();
}

} // namespace

QString FakeFileDialogs::OpenFile(const QString& title, const QString& defaultExtension,
                                  const QString& startFolder, const QString&)
{
    return Answer(*this, title, startFolder, defaultExtension);
}

QString FakeFileDialogs::SaveFile(const QString& title, const QString& defaultExtension,
                                  const QString& startPath, const QString&)
{
    return Answer(*this, title, startPath, defaultExtension);
}

QString FakeFileDialogs::PickFolder(const QString& title, const QString& startFolder)
{
    return Answer(*this, title, startFolder, QString());
}

// ---- Trash ----------------------------------------------------------------------------

QStringList& FakeCallLog()
{
    static QStringList log;
    return log;
}

int FakeTrash::MoveToTrash(const QString& file, bool* trashed)
{
    *trashed = false;
    FakeCallLog() << "MoveToTrash " + file;
    if (!errors.isEmpty()) {
        if (const int error = errors.takeFirst())
            return error;
    }
    if (!QFileInfo(file).isFile())
        return ENOENT;
    if (noTrash)
        return ErrNoTrash;
    QDir().mkpath(folder);
    const QString to = folder + "/" + QFileInfo(file).fileName();
    QFile::remove(to);
    if (!QFile::rename(file, to))
        return ErrPathFileAccess;
    this->trashed << file;
    *trashed = true;
    return 0;
}

int FakeTrash::DeleteFile(const QString& file)
{
    FakeCallLog() << "DeleteFile " + file;
    if (!errors.isEmpty()) {
        if (const int error = errors.takeFirst())
            return error;
    }
    return Remove(file);
}

int FakeTrash::Remove(const QString& file)
{
    if (!QFileInfo(file).isFile())
        return ENOENT;
    deleted << file;
    return QFile::remove(file) ? 0 : ErrPathFileAccess;
}

// ---- The set -----------------------------------------------------------------------

FakePlatform InstallFakePlatform(const QString& root)
{
    auto platform = std::make_unique<Platform>();
    FakePlatform fake;
    auto system = std::make_unique<FakeSystemInfo>(root);
    fake.system = system.get();
    auto fonts = std::make_unique<FakeFontSystem>();
    fake.fonts = fonts.get();
    auto registry = std::make_unique<FakeRegistry>();
    fake.registry = registry.get();
    auto atm = std::make_unique<FakeAtmProfile>(fake.system);
    fake.atm = atm.get();
    auto messages = std::make_unique<FakeMessageBoxes>();
    fake.messages = messages.get();
    auto programs = std::make_unique<FakeProgramRunner>();
    fake.programs = programs.get();
    auto clipboard = std::make_unique<FakeClipboard>();
    fake.clipboard = clipboard.get();
    auto help = std::make_unique<FakeHelpService>();
    fake.help = help.get();
    auto dialogs = std::make_unique<FakeFileDialogs>();
    fake.dialogs = dialogs.get();
    platform->help = std::move(help);
    platform->dialogs = std::move(dialogs);
    platform->system = std::move(system);
    platform->fonts = std::move(fonts);
    platform->registry = std::move(registry);
    platform->atm = std::move(atm);
    platform->messages = std::move(messages);
    platform->clipboard = std::move(clipboard);
    auto characterMaps = std::make_unique<FakeCharacterMaps>();
    fake.characterMaps = characterMaps.get();
    platform->characterMaps = std::move(characterMaps);
    platform->programs = std::move(programs);
    auto keyboard = std::make_unique<FakeKeyboardState>();
    fake.keyboard = keyboard.get();
    platform->keyboard = std::move(keyboard);
    auto storage = std::make_unique<FakeStorage>();
    fake.storage = storage.get();
    platform->storage = std::move(storage);
    auto trash = std::make_unique<FakeTrash>();
    trash->folder = root + "/trash";
    fake.trash = trash.get();
    platform->trash = std::move(trash);
    FakeCallLog().clear();
    auto printerSetup = std::make_unique<FakePrinterSetup>();
    fake.printerSetup = printerSetup.get();
    platform->printerSetup = std::move(printerSetup);
    auto web = std::make_unique<FakeWebLinks>();
    fake.web = web.get();
    platform->web = std::move(web);
    auto components = std::make_unique<FakeComponentVersions>();
    fake.components = components.get();
    platform->components = std::move(components);
    SetPlatform(std::move(platform));
    return fake;
}

} // namespace gw
