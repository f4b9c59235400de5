#include "checker/components.h"

#include <QDateTime>

#include "core/linuxtexts.h"
#include "core/programinfo.h"
#include "core/splash.h"

namespace gw {

namespace {

const char* const kFlagLines[12] = {
    "Older file was found (based on file date).",
    "Newer file was found (based on file date).",
    "Older Version was found.",
    "Newer Version was found.",
    "Special Version was found: ",
    "Always warn was set for this file.",
    "File was found in memory.",
    "No matching file was found.",
    "File does not contain Version Information.",
    "Larger size file was found.",
    "Smaller size file was found.",
    "File was not registered in registry.",
};

QList<int> VersionParts(const QString& version)
{
    QList<int> parts;
    for (const QString& part : version.split('.'))
        parts << part.toInt();
    return parts;
}

// Negative when a is older than b, positive when newer.
int CompareVersions(const QString& a, const QString& b)
{
    const QList<int> x = VersionParts(a), y = VersionParts(b);
    for (int i = 0; i < std::max(x.size(), y.size()); ++i) {
        const int d = x.value(i) - y.value(i);
        if (d != 0)
            return d;
    }
    return 0;
}

int32_t Size32(qint64 size)
{
    return static_cast<int32_t>(std::min<qint64>(size, INT32_MAX));
}

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString ComponentDateText(const QDateTime& date)
{
    return date.isValid() ? date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))
                          : QStringLiteral("unknown");
}

uint32_t ConflictFlags(const ComponentReference& reference, const ComponentFile& file)
{
    uint32_t flags = reference.flags & vsAlwaysWarn;
    if (file.version.isEmpty()) {
        flags |= vsNoVersion;
    } else if (!reference.version.isEmpty()) {
        const int order = CompareVersions(file.version, reference.version);
        if (order < 0)
            flags |= vsOlderVersion;
        // A newer release of the same major version keeps its interface.
        else if (order > 0 && VersionParts(file.version).value(0) != VersionParts(reference.version).value(0))
            flags |= vsNewerVersion;
    }
    if (file.specialBuild)
        flags |= vsSpecialVersion;
    if (flags == 0)
        return 0;
    // What else differs is told only for a conflict.
    if (file.inMemory)
        flags |= vsInMemory;
    if (reference.date.isValid() && file.date.isValid()) {
        if (file.date < reference.date)
            flags |= vsOlderDate;
        else if (file.date > reference.date)
            flags |= vsNewerDate;
    }
    if (reference.size > 0 && file.size > reference.size)
        flags |= vsLargerSize;
    else if (reference.size > 0 && file.size < reference.size)
        flags |= vsSmallerSize;
    return flags;
}

ComponentCheck ScanComponents(ComponentVersions& components)
{
    ComponentCheck check;
    for (const ComponentReference& reference : components.References()) {
        check.FilesEmbedded = true;  // FileScan: go on scanning
        const QVector<ComponentFile> files = components.Found(reference);
        uint32_t flags = 0;
        if (files.isEmpty() || !files.first().inMemory)
            flags = vsNotFound | (reference.flags & vsAlwaysWarn);
        else
            flags = ConflictFlags(reference, files.first());
        if (flags == 0)
            continue;

        // FileConflict: one conflict record and its chain of found files.
        ++check.ConflictCount;
        ConflictRecord conflict;
        conflict.FileName = reference.fileName;
        conflict.Version = reference.version;
        conflict.Date = ComponentDateText(reference.date);
        conflict.Size = Size32(reference.size);
        conflict.Flags = reference.flags;
        conflict.FirstFound = static_cast<int>(check.Found.size());
        QVector<ComponentFile> chain = files;
        if (chain.isEmpty()) {
            ComponentFile none;
            none.path = reference.fileName;
            chain << none;
        }
        for (int i = 0; i < chain.size(); ++i) {
            FoundFileRecord found;
            found.Path = chain[i].path;
            found.Version = chain[i].version;
            found.Date = ComponentDateText(chain[i].date);
            found.Size = Size32(chain[i].size);
            found.Flags = i == 0 ? flags : ConflictFlags(reference, chain[i]);
            found.SpecialBuild = chain[i].specialBuild;
            found.Next = i + 1 < chain.size() ? static_cast<int>(check.Found.size()) + 1 : -1;
            check.Found.push_back(found);
        }
        check.Conflicts.push_back(conflict);
    }
    return check;
}

QString SpecialBuildNames(uint32_t flags)
{
    const std::pair<uint32_t, const char*> names[] = {
        {1, "Debug"}, {16, "Infoinferred"}, {4, "Patched"},
        {2, "Prerelease"}, {8, "PrivateBuild"}, {32, "SpecialBuild"}};
    QString text;
    for (const auto& [bit, name] : names)
        if (flags & bit)
            text += QLatin1String(name) + QStringLiteral(", ");
    if (text.endsWith(QLatin1String(", ")))
        text.chop(2);
    return text;
}

QString ConflictDescription(const ComponentCheck& check, int index)
{
    if (index < 0 || index >= static_cast<int>(check.Conflicts.size()))
        return {};
    const ConflictRecord& c = check.Conflicts[index];
    QString text;
    text += QStringLiteral("Reference File Date : ") + c.Date + kCrLf;
    text += QStringLiteral("Reference File Size : ") + QString::number(c.Size) + kCrLf;
    text += QStringLiteral("Reference File Version : ") + c.Version + kCrLf;
    text += kCrLf;
    int at = c.FirstFound;
    if (at < 0 || at >= static_cast<int>(check.Found.size()))
        return text;
    const FoundFileRecord& f = check.Found[at];
    text += QStringLiteral("Actual File Found : ") + f.Path + kCrLf;
    text += QStringLiteral("Actual File Date : ") + f.Date + kCrLf;
    text += QStringLiteral("Actual File Size : ") + QString::number(f.Size) + kCrLf;
    text += QStringLiteral("Actual File Version : ") + f.Version + kCrLf;
    for (int bit = 0; bit < 12; ++bit) {
        if (!(f.Flags & (1u << bit)))
            continue;
        text += QLatin1String(kFlagLines[bit]);
        if (bit == 4)
            text += SpecialBuildNames(f.SpecialBuild);
        text += kCrLf;
    }
    if (f.Next >= 0) {
        text += QStringLiteral("File was also found in the following directories : ") + kCrLf;
        for (at = f.Next; at >= 0 && at < static_cast<int>(check.Found.size()); at = check.Found[at].Next)
            text += check.Found[at].Path + kCrLf;
    }
    return text;
}

QString ComponentReport(const ComponentCheck& check)
{
    QStringList lines;
    lines << ForLinux(QStringLiteral("Glyphwick for Windows 95 / NT 4.0"))
          << QStringLiteral("Version ") + QLatin1String(ProgramVersion)
          << ForLinux(QStringLiteral("ActiveX / DLL File Conflict Report"))
          << QString(34, '-') << QString()
          << QStringLiteral("To fix these conflicts, please reinstall Glyphwick.")
          << QStringLiteral("For additional technical support, please send this file ")
          << QStringLiteral("to ") + QLatin1String(ProgramSupportMail);
    QString text = lines.join(kCrLf) + kCrLf;
    if (check.Conflicts.empty())
        return text;
    text += kCrLf + QStringLiteral("The following Incompatible files were found:") + kCrLf;
    for (int i = 0; i < static_cast<int>(check.Conflicts.size()); ++i) {
        text += QStringLiteral("Reference File Name : ") + check.Conflicts[i].FileName + kCrLf;
        text += ConflictDescription(check, i);
    }
    return text;
}

} // namespace gw
