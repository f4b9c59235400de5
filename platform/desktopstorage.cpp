// Drive list, folder checks and safe file copies on the desktop.
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/desktop.h"

namespace gw {

int ErrorNumberFromErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return ErrDiskFull;
    case ENOMEDIUM:
    case ENXIO:
    case ENODEV:
        return ErrDiskNotReady;
    case EACCES:
    case EPERM:
    case EROFS:
    case EIO:
        return ErrPathFileAccess;
    default:
        return error;
    }
}

namespace {

// Volumes a user never keeps fonts on: kernel and memory file systems, snaps.
bool IsSystemVolume(const QStorageInfo& volume)
{
    static const QList<QByteArray> kinds = {
        "proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "cgroup", "cgroup2", "securityfs",
        "pstore", "debugfs", "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs", "bpf",
        "autofs", "binfmt_misc", "squashfs", "nsfs", "efivarfs", "ramfs", "rpc_pipefs"};
    if (kinds.contains(volume.fileSystemType()))
        return true;
    const QString root = volume.rootPath();
    if (root == QLatin1String("/"))
        return false;
    for (const char* prefix : {"/proc", "/sys", "/dev", "/boot", "/snap", "/var/lib", "/etc"})
        if (root == QLatin1String(prefix) || root.startsWith(QLatin1String(prefix) + '/'))
            return true;
    // /run holds removable media under /run/media only.
    return root.startsWith(QLatin1String("/run/")) && !root.startsWith(QLatin1String("/run/media/"));
}

class DesktopStorage : public Storage {
public:
    QVector<DriveEntry> Drives() override
    {
        QVector<DriveEntry> drives;
        drives.append({QStringLiteral("Home"), QDir::homePath()});
        QStringList seen{QDir::homePath()};
        QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
        std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) {
            return a.rootPath() < b.rootPath();
        });
        for (const QStorageInfo& volume : volumes) {
            if (!volume.isValid() || IsSystemVolume(volume) || seen.contains(volume.rootPath()))
                continue;
            seen << volume.rootPath();
            QString name = volume.name();
            if (name.isEmpty())
                name = volume.rootPath() == QLatin1String("/") ? QStringLiteral("File system")
                                                               : QFileInfo(volume.rootPath()).fileName();
            drives.append({name, volume.rootPath()});
        }
        return drives;
    }

    int FolderError(const QString& folder) override
    {
        const QStorageInfo volume(folder);
        if (volume.isValid() && !volume.isReady())
            return ErrDiskNotReady;
        DIR* dir = opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return ErrorNumberFromErrno(errno);
        closedir(dir);
        return 0;
    }

    int CopyFile(const QString& source, const QString& dest) override
    {
        const QByteArray from = QFile::encodeName(source);
        const int in = open(from.constData(), O_RDONLY | O_CLOEXEC);
        if (in < 0)
            return ErrorNumberFromErrno(errno);
        struct stat st {};
        fstat(in, &st);
        // A temporary name in the same folder, renamed over dest when complete.
        const QFileInfo target(dest);
        QByteArray temp = QFile::encodeName(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
        const int out = mkostemp(temp.data(), O_CLOEXEC);
        if (out < 0) {
            const int error = errno;
            close(in);
            return ErrorNumberFromErrno(error);
        }
        int error = 0;
        char buffer[1 << 16];
        for (;;) {
            const ssize_t n = read(in, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error = errno;
                break;
            }
            if (n == 0)
                break;
            for (ssize_t done = 0; done < n;) {
                const ssize_t w = write(out, buffer + done, size_t(n - done));
                if (w < 0) {
                    if (errno == EINTR)
                        continue;
                    error = errno;
                    break;
                }
                done += w;
            }
            if (error)
                break;
        }
        close(in);
        if (!error) {
            fchmod(out, 0644);
            const struct timespec times[2] = {st.st_atim, st.st_mtim};
            futimens(out, times); // keeps the file's date, as a copy on the desktop does
        }
        if (close(out) != 0 && !error)
            error = errno;
        if (!error && rename(temp.constData(), QFile::encodeName(dest).constData()) != 0)
            error = errno;
        if (error) {
            unlink(temp.constData());
            return ErrorNumberFromErrno(error);
        }
        return 0;
    }
};

} // namespace

std::unique_ptr<Storage> MakeDesktopStorage()
{
    return std::make_unique<DesktopStorage>();
}

} // namespace gw
