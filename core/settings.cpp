#include "core/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QVector>
#include <algorithm>
#include <map>
#include <cstdint>

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/inifile.h"
#include "core/profilefile.h"

namespace gw {

namespace {

bool HasFolder(const QString& file)
{
    return file.contains(QLatin1Char('/'));
}

// The platform's profile calls look for a bare file name in the Windows folder.
QString ProfilePath(const QString& file)
{
    return HasFolder(file) ? file : UserDataDir + file;
}

bool IsAtmProfile(const QString& file)
{
    return !HasFolder(file) && file.compare(QLatin1String("ATM.INI"), Qt::CaseInsensitive) == 0;
}

QString CutAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

// ---- The store: one parsed document per file, kept while the file is unchanged.

struct PendingWrite {
    QString section, key, value;
};

struct StoreEntry {
    IniDocument doc;
    FileStamp stamp;        // of the file the document was read from
    bool loaded = false;
    bool blocked = false;   // unreadable, read-only or unsavable: never written this run
    bool warned = false;
    bool dirty = false;     // the document differs from the file
    int batchDepth = 0;
    QVector<PendingWrite> pending;  // writes of the open batch
};

// A map, so an entry stays where it is while others are added (a message box
// runs events, and those may read other files).
std::map<QString, StoreEntry>& Store()
{
    static std::map<QString, StoreEntry> store;
    return store;
}

std::function<void(const QString&)>& Warning()
{
    static std::function<void(const QString&)> warn;
    return warn;
}

int saveCount = 0;

void Warn(StoreEntry& entry, const QString& text)
{
    if (entry.warned)
        return;
    entry.warned = true;
    if (Warning())
        Warning()(text);
    else if (Sys().messages)
        Sys().messages->MsgBox(text, vbOKOnly | vbExclamation, QStringLiteral("Glyphwick"));
}

StoreEntry& Entry(const QString& path)
{
    auto it = Store().find(path);
    if (it == Store().end()) {
        // The first use in this run: a save killed in an earlier run left its temporary file.
        RemoveStaleSaveFiles(path);
        it = Store().emplace(path, StoreEntry()).first;
    }
    return it->second;
}

// The document of path, read again when the file changed on disk; the writes
// of an open batch are applied to it again.
StoreEntry& Fresh(const QString& path)
{
    StoreEntry& entry = Entry(path);
    const FileStamp now = StampOf(path);
    if (entry.loaded && now == entry.stamp)
        return entry;
    const ProfileFile file = ReadProfileFile(path);
    entry.loaded = true;
    entry.stamp = file.state == ProfileState::Ok ? file.stamp : now;
    entry.doc = IniDocument::FromBytes(file.bytes);
    entry.dirty = false;
    for (const PendingWrite& write : entry.pending)
        entry.dirty |= entry.doc.SetValue(write.section, write.key, write.value);
    if (file.state == ProfileState::Unreadable) {
        entry.blocked = true;
        Warn(entry, QStringLiteral("Glyphwick cannot read its settings file\n%1\n(%2).\n\n"
                                   "It will use its default settings and will not save any "
                                   "changes to them.")
                        .arg(QDir::toNativeSeparators(path), file.reason));
    }
    return entry;
}

void Flush(const QString& path)
{
    StoreEntry& entry = Fresh(path);
    const bool dirty = entry.dirty;
    entry.pending.clear();
    entry.dirty = false;
    if (entry.blocked || !dirty)
        return;
    if (IsReadOnlyFile(path)) {
        entry.blocked = true;
        Warn(entry, QStringLiteral("Glyphwick cannot save its settings: the settings file\n%1\n"
                                   "is read-only.\n\nChanges to the settings will not be saved.")
                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    QString reason;
    if (!ReplaceProfileFile(path, entry.doc.ToBytes(), &reason)) {
        entry.blocked = true;
        Warn(entry, QStringLiteral("Glyphwick cannot save its settings to\n%1\n(%2).\n\n"
                                   "Changes to the settings will not be saved.")
                        .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    entry.stamp = StampOf(path);
    ++saveCount;
}

} // namespace

IniBatch::IniBatch(const QString& file)
    : path_(ProfilePath(file))
{
    ++Entry(path_).batchDepth;
}

IniBatch::~IniBatch()
{
    StoreEntry& entry = Entry(path_);
    if (--entry.batchDepth == 0)
        Flush(path_);
}

void SetSettingsWarning(std::function<void(const QString&)> warn)
{
    Warning() = std::move(warn);
}

int SettingsSaveCount()
{
    return saveCount;
}

bool IsUserText(const QString& section, const QString& key)
{
    auto is = [](const QString& a, const char* b) {
        return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
    };
    if (is(section, "GW"))
        return is(key, "SampleText") || is(key, "UserName");
    if (is(section, "Inventory"))
        return is(key, "Title") || is(key, "FooterLeft") || is(key, "FooterRight");
    if (is(section, "SpecSheets"))
        return is(key, "Header");
    static const QRegularExpression quote(QStringLiteral("^quote\\d+$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return is(section, "Quotes") && quote.match(key).hasMatch();
}

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& def,
                                const QString& file, int bufferSize)
{
    if (bufferSize <= 0)
        return QString();
    QString value;
    if (IsAtmProfile(file)) {
        value = Sys().atm->GetProfileString(section, key, def);
    } else if (!Fresh(ProfilePath(file)).doc.Value(section, key, &value)) {
        value = def;
    }
    return value.left(bufferSize - 1);
}

QString ReadIniString(const QString& section, const QString& key, const QString& def,
                      const QString& file)
{
    if (IsUserText(section, key) && !IsAtmProfile(file)) {
        QString value;
        if (!Fresh(ProfilePath(file)).doc.Value(section, key, &value))
            return CutAtNul(def);
        return CutAtNul(UnescapeText(value));
    }
    return CutAtNul(GetPrivateProfileString(section, key, def, file, 100));
}

int ReadIniInt(const QString& section, const QString& key, int16_t def, const QString& file)
{
    // A key with no value reads as missing, as with the platform's integer reader.
    const QString value = CutAtNul(GetPrivateProfileString(section, key, QString(), file, 100));
    if (value.isEmpty())
        return def;
    return int(std::clamp(Val(value), double(INT32_MIN), double(INT32_MAX)));
}

bool ReadIniSwitch(const QString& section, const QString& key, const QString& file)
{
    const QString value = ReadIniString(section, key, QString(), file).trimmed().toLower();
    if (value == QLatin1String("true") || value == QLatin1String("yes") || value == QLatin1String("on"))
        return true;
    return ReadIniInt(section, key, 0, file) == 1;
}

void WriteIniString(const QString& section, const QString& key, const QString& value,
                    const QString& file)
{
    const QString path = ProfilePath(file);
    StoreEntry& entry = Fresh(path);
    const QString stored = IsUserText(section, key) ? EscapeText(value) : value;
    if (entry.blocked) {
        // Kept for this run only.
        entry.doc.SetValue(section, key, stored);
        return;
    }
    entry.pending.append({section, key, stored});
    entry.dirty |= entry.doc.SetValue(section, key, stored);
    if (entry.batchDepth == 0)
        Flush(path);
}

QString ReadParagraph(int n)
{
    const QString path =
        QFileInfo(IniFile).path() + QStringLiteral("/papara%1.txt").arg(n);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ParagraphError(("cannot open " + path).toStdString());
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = FromCp1252(bytes);
    // The lines as the user typed them, each ended by "\n"; none after the last.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r"));
    text.replace(lineBreak, QStringLiteral("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace gw
