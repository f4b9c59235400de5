#pragma once
// The component check without a window: the stamper that compares the
// run-time components with the reference list, its conflict and found-file
// records, and the texts the checker shows and saves.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "platformapi/platform.h"

namespace gw {

// Conflict flag bits, tested from bit 0 upward.
enum : uint32_t {
    vsOlderDate = 1u << 0, vsNewerDate = 1u << 1, vsOlderVersion = 1u << 2,
    vsNewerVersion = 1u << 3, vsSpecialVersion = 1u << 4, vsAlwaysWarn = 1u << 5,
    vsInMemory = 1u << 6, vsNotFound = 1u << 7, vsNoVersion = 1u << 8,
    vsLargerSize = 1u << 9, vsSmallerSize = 1u << 10, vsNotRegistered = 1u << 11,
};

// Records are stored from index 0.
struct ConflictRecord {
    QString FileName;
    QString Version;
    QString Date;
    int32_t Size = 0;
    uint32_t Flags = 0;
    int FirstFound = -1;   // index into the found-file records
};

struct FoundFileRecord {
    QString Path;
    QString Version;
    QString Date;
    int32_t Size = 0;
    uint32_t Flags = 0;         // conflict flags
    uint32_t SpecialBuild = 0;
    int Next = -1;              // next found file of the same conflict, -1 for the last
};

struct ComponentCheck {
    int ConflictCount = 0;
    bool FilesEmbedded = false;
    std::vector<ConflictRecord> Conflicts;
    std::vector<FoundFileRecord> Found;
};

// Scans the platform's components against the reference list: every
// component whose copy in use is older, of another major version, missing,
// without a version, or marked always-warn is a conflict.
ComponentCheck ScanComponents(ComponentVersions& components);

// The conflict flags of one copy compared with its reference.
uint32_t ConflictFlags(const ComponentReference& reference, const ComponentFile& file);

// "Debug, Patched" for the special-build flag bits; empty for none.
QString SpecialBuildNames(uint32_t flags);
// The description of conflict `index` (0-based), each line ended by CR LF.
QString ConflictDescription(const ComponentCheck& check, int index);
// The saved report: heading, advice and, when there are conflicts, each with its description.
QString ComponentReport(const ComponentCheck& check);

// Date text of the records.
QString ComponentDateText(const QDateTime& date);

} // namespace gw
