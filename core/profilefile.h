#pragma once
// Reading and replacing a settings file safely: only regular files are read (a
// FIFO or device never blocks), a file is replaced in one atomic rename that
// keeps its permissions, and temporary files of a killed save are found again.
#include <QByteArray>
#include <QString>
#include <sys/types.h>

namespace gw {

// Identifies one version of a file on disk: any write, replacement or change
// of mode gives another stamp.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    long long modifiedNs = 0;
    long long changedNs = 0;
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

enum class ProfileState { Missing, Ok, Unreadable };

struct ProfileFile {
    ProfileState state = ProfileState::Missing;
    QByteArray bytes;
    FileStamp stamp;   // of the file read (Ok), else empty
    QString reason;    // why it is unreadable, for the user
};

// Larger files are refused: no settings file of ours grows that big.
constexpr qint64 MaxProfileBytes = 64 * 1024 * 1024;

ProfileFile ReadProfileFile(const QString& path);
// The stamp of the file now; an empty stamp when there is none.
FileStamp StampOf(const QString& path);
// An existing file we may not write (for root: one without any write permission).
bool IsReadOnlyFile(const QString& path);
// Writes bytes to a temporary file beside path (following a symbolic link to its
// target), then renames it over the file. The new file keeps the old one's
// permissions (and owner, when run as root). false, with the reason, on failure.
bool ReplaceProfileFile(const QString& path, const QByteArray& bytes, QString* reason);
// Removes temporary files that a save of path left when it was killed.
void RemoveStaleSaveFiles(const QString& path);

} // namespace gw
