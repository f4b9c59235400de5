// Drive list, folder checks and safe file copies on the desktop.
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
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

QString OwnFilePrefix()
{
    return QStringLiteral(".glyphwick-") + QString::number(getpid()) + "-";
}

QString OwnFileName(const QString& folder, const QString& name)
{
    return folder + "/" + OwnFilePrefix() + name;
}

namespace {

DesktopFileFault& Fault()
{
    static DesktopFileFault fault;
    return fault;
}

} // namespace

void SetDesktopFileFault(const DesktopFileFault& fault)
{
    Fault() = fault;
}

ssize_t DesktopWrite(int fd, const void* data, size_t size, qint64 writtenBefore)
{
    const DesktopFileFault& fault = Fault();
    if (fault.writeError && writtenBefore + qint64(size) > fault.afterBytes) {
        if (writtenBefore < fault.afterBytes)
            return write(fd, data, size_t(fault.afterBytes - writtenBefore));
        errno = fault.writeError;
        return -1;
    }
    return write(fd, data, size);
}

bool IsSystemVolume(const QByteArray& fileSystemType, const QString& root)
{
    static const QList<QByteArray> kinds = {
        "proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "cgroup", "cgroup2", "securityfs",
        "pstore", "debugfs", "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs", "bpf",
        "autofs", "binfmt_misc", "squashfs", "nsfs", "efivarfs", "ramfs", "rpc_pipefs"};
    if (kinds.contains(fileSystemType))
        return true;
    if (root == QLatin1String("/"))
        return false;
    for (const char* prefix : {"/proc", "/sys", "/dev", "/boot", "/snap", "/var/lib", "/etc"})
        if (root == QLatin1String(prefix) || root.startsWith(QLatin1String(prefix) + '/'))
            return true;
    // /run holds removable media under /run/media only.
    return root.startsWith(QLatin1String("/run/")) && !root.startsWith(QLatin1String("/run/media/"));
}

namespace {

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
            if (!volume.isValid() || IsSystemVolume(volume.fileSystemType(), volume.rootPath()) || seen.contains(volume.rootPath()))
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
        // Opened once, never through a link, and checked as a regular file:
        // what was scanned may have been replaced since.
        const int in = open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (in < 0)
            return errno == ELOOP ? ErrPathFileAccess : ErrorNumberFromErrno(errno);
        struct stat st {};
        if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(in);
            return ErrPathFileAccess;
        }
        const QFileInfo target(dest);
        QByteArray temp = QFile::encodeName(OwnFileName(target.absolutePath(), QStringLiteral("XXXXXX")));
        const int out = mkostemp(temp.data(), O_CLOEXEC);
        if (out < 0) {
            const int error = errno;
            close(in);
            return ErrorNumberFromErrno(error);
        }
        int error = 0;
        qint64 written = 0;
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
                const ssize_t w = DesktopWrite(out, buffer + done, size_t(n - done), written);
                if (w < 0) {
                    if (errno == EINTR)
                        continue;
                    error = errno;
                    break;
                }
                done += w;
                written += w;
            }
            if (error)
                break;
        }
        close(in);
        if (!error) {
            fchmod(out, st.st_mode & 0777);
            const struct timespec times[2] = {st.st_atim, st.st_mtim};
            futimens(out, times); // keeps the file's date, as a copy on the desktop does
            if (fsync(out) != 0)
                error = errno;
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

    int RemoveLeftovers(const QString& folder) override
    {
        int removed = 0;
        const QByteArray prefix = QByteArrayLiteral(".glyphwick-");
        // Read bare: the folder is the user's font folder, with thousands of
        // files, and only a few names are wanted.
        QStringList names;
        if (DIR* dir = ::opendir(QFile::encodeName(folder).constData())) {
            while (const dirent* entry = ::readdir(dir))
                if (std::strncmp(entry->d_name, prefix.constData(), size_t(prefix.size())) == 0)
                    names << QFile::decodeName(entry->d_name);
            ::closedir(dir);
        }
        for (const QString& name : names) {
            // ".glyphwick-<pid>-...": only when that process is gone.
            bool ok = false;
            const pid_t pid = pid_t(name.mid(prefix.size()).section('-', 0, 0).toLongLong(&ok));
            if (!ok || pid <= 0 || pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH)
                continue;
            const QByteArray path = QFile::encodeName(folder + "/" + name);
            struct stat st {};
            if (lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid()
                && unlink(path.constData()) == 0)
                ++removed;
        }
        return removed;
    }
};

} // namespace

std::unique_ptr<Storage> MakeDesktopStorage()
{
    return std::make_unique<DesktopStorage>();
}

} // namespace gw
