#include "core/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gw {

namespace {

QString TooLargeText()
{
    return QStringLiteral("it is larger than %1 MB").arg(MaxProfileBytes >> 20);
}

QString ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileStamp StampFrom(const struct stat& st)
{
    FileStamp stamp;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedNs = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.changedNs = (long long)st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    return stamp;
}

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// Our temporary files are "<name>.<pid>.saving"; the pid tells whether the
// save that made one may still be running.
QString SaveFileName(const QString& target)
{
    return target + QStringLiteral(".%1.saving").arg(::getpid());
}

} // namespace

bool FileStamp::operator==(const FileStamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size
        && modifiedNs == other.modifiedNs && changedNs == other.changedNs;
}

ProfileFile ReadProfileFile(const QString& path)
{
    ProfileFile result;
    // Non-blocking, so that opening a FIFO or a device returns at once.
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            result.state = ProfileState::Missing;
        } else {
            result.state = ProfileState::Unreadable;
            result.reason = ErrorText(errno);
        }
        return result;
    }
    struct stat st {};
    result.state = ProfileState::Unreadable;
    if (::fstat(fd, &st) != 0) {
        result.reason = ErrorText(errno);
    } else if (!S_ISREG(st.st_mode)) {
        result.reason = QStringLiteral("it is not a regular file");
    } else if (st.st_size > MaxProfileBytes) {
        result.reason = TooLargeText();
    } else {
        result.bytes.reserve(qsizetype(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result.reason = ErrorText(errno);
                break;
            }
            if (n == 0) {
                result.state = ProfileState::Ok;
                result.stamp = StampFrom(st);
                break;
            }
            if (result.bytes.size() + n > MaxProfileBytes) {
                result.reason = TooLargeText();
                break;
            }
            result.bytes.append(buffer, n);
        }
    }
    ::close(fd);
    if (result.state != ProfileState::Ok)
        result.bytes.clear();
    return result;
}

FileStamp StampOf(const QString& path)
{
    struct stat st {};
    if (::stat(Native(path).constData(), &st) != 0)
        return FileStamp();
    return StampFrom(st);
}

bool IsReadOnlyFile(const QString& path)
{
    const QByteArray native = Native(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false;
    if (::access(native.constData(), W_OK) != 0)
        return errno != ENOENT;
    // Root may write anything; a file nobody may write was made read-only on purpose.
    return ::geteuid() == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool ReplaceProfileFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    // Replace what a symbolic link points at, not the link.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        target = info.canonicalFilePath();
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        if (reason)
            *reason = QStringLiteral("its folder cannot be created");
        return false;
    }

    struct stat old {};
    const bool exists = ::stat(Native(target).constData(), &old) == 0;
    const QByteArray temp = Native(SaveFileName(target));
    // A new file gets the usual mode; a replacement is private until it takes the old one's.
    const mode_t mode = exists ? 0600 : 0666;
    int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno == EEXIST) {
        // Left by an earlier process that had our pid.
        ::unlink(temp.constData());
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    }
    if (fd < 0) {
        if (reason)
            *reason = ErrorText(errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    int error = ok ? 0 : errno;
    if (ok && exists) {
        if (::geteuid() == 0 && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Keeping the mode matters more than the owner; go on.
        }
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        error = ok ? 0 : errno;
    }
    if (ok) {
        ok = ::fsync(fd) == 0;
        error = ok ? 0 : errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok) {
        ok = ::rename(temp.constData(), Native(target).constData()) == 0;
        error = ok ? 0 : errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        if (reason)
            *reason = ErrorText(error);
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(Native(QFileInfo(target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void RemoveStaleSaveFiles(const QString& path)
{
    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    const QString name = QRegularExpression::escape(info.fileName());
    const QRegularExpression ours(QStringLiteral("^%1\\.(\\d+)\\.saving$").arg(name));
    const QStringList candidates =
        dir.entryList({info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& candidate : candidates) {
        const QByteArray full = Native(dir.filePath(candidate));
        struct stat st {};
        if (::lstat(full.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        const QRegularExpressionMatch match = ours.match(candidate);
        if (match.hasMatch()) {
            const pid_t pid = pid_t(match.captured(1).toLongLong());
            if (pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH))
                ::unlink(full.constData());
        }
    }
}

} // namespace gw
