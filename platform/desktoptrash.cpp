// The user's trash as freedesktop.org file managers keep it: the home trash
// ($XDG_DATA_HOME/Trash) for files on the same file system, else the trash
// at the top of the file's volume (.Trash/$uid or .Trash-$uid). Each trashed
// file gets an info file saying where it came from, so it can be restored.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/desktop.h"

namespace gw {

namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

bool DeviceOf(const QString& path, dev_t* device)
{
    struct stat st {};
    if (lstat(Native(path).constData(), &st) != 0)
        return false;
    *device = st.st_dev;
    return true;
}

bool MakeFolder(const QString& path, mode_t mode)
{
    return mkdir(Native(path).constData(), mode) == 0 || errno == EEXIST;
}

// files/ and info/ inside trash, made when missing; false when it cannot be used.
bool PrepareTrash(const QString& trash)
{
    return MakeFolder(trash, 0700) && MakeFolder(trash + "/files", 0700)
           && MakeFolder(trash + "/info", 0700) && QFileInfo(trash + "/files").isWritable()
           && QFileInfo(trash + "/info").isWritable();
}

// The trash folder for file, and the top folder its info path is relative to
// (empty for the home trash, which records absolute paths).
bool TrashFor(const QString& file, QString* trash, QString* top)
{
    dev_t fileDevice = 0, homeDevice = 0;
    if (!DeviceOf(file, &fileDevice))
        return false;
    const QString dataHome = DesktopDataHome();
    QDir().mkpath(dataHome);
    if (DeviceOf(dataHome, &homeDevice) && homeDevice == fileDevice) {
        *trash = dataHome + "/Trash";
        top->clear();
        return PrepareTrash(*trash);
    }
    const QString root = QStorageInfo(QFileInfo(file).absolutePath()).rootPath();
    if (root.isEmpty())
        return false;
    const QString base = root == QLatin1String("/") ? QString() : root;
    const QString uid = QString::number(getuid());
    // An administrator's shared .Trash: a real folder with the sticky bit.
    struct stat st {};
    const QString shared = base + "/.Trash";
    if (lstat(Native(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)
        && PrepareTrash(shared + "/" + uid)) {
        *trash = shared + "/" + uid;
        *top = root;
        return true;
    }
    *trash = base + "/.Trash-" + uid;
    *top = root;
    return PrepareTrash(*trash);
}

// The path as the trash's info file records it: its bytes, each one that is not
// unreserved in a URL (or "/") written as %XX.
QByteArray PercentEncodedPath(const QString& path)
{
    return Native(path).toPercentEncoding("/");
}

// Reserves a free name in the trash by creating its info file; the name, or empty.
QString ReserveName(const QString& trash, const QString& file, const QString& top)
{
    const QFileInfo info(file);
    QString recorded = info.absoluteFilePath();
    if (!top.isEmpty() && top != QLatin1String("/"))
        recorded = QDir(top).relativeFilePath(recorded);
    const QByteArray text = "[Trash Info]\nPath="
                            + PercentEncodedPath(recorded) + "\nDeletionDate="
                            + QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + "\n";
    const QString stem = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? info.fileName() : stem + "." + QString::number(n) + suffix;
        if (QFileInfo::exists(trash + "/files/" + name))
            continue;
        const QByteArray infoPath = Native(trash + "/info/" + name + ".trashinfo");
        const int fd = open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        const bool written = DesktopWrite(fd, text.constData(), size_t(text.size()), 0) == text.size();
        if (close(fd) != 0 || !written) {
            unlink(infoPath.constData());
            return {};
        }
        return name;
    }
    return {};
}

class DesktopTrash : public Trash {
public:
    int MoveToTrash(const QString& file, bool* trashed) override
    {
        *trashed = false;
        // The file as it really lies: a folder reached through a link may be
        // on another file system, whose own trash is the one that can take it.
        const QFileInfo info(file);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        const QString real = (folder.isEmpty() ? info.absolutePath() : folder) + "/" + info.fileName();
        const QByteArray source = Native(real);
        struct stat st {};
        if (lstat(source.constData(), &st) != 0)
            return ErrorNumberFromErrno(errno);
        QString trash, top;
        if (!TrashFor(real, &trash, &top))
            return ErrNoTrash;
        const QString name = ReserveName(trash, real, top);
        if (name.isEmpty())
            return ErrNoTrash;
        if (rename(source.constData(), Native(trash + "/files/" + name).constData()) == 0) {
            *trashed = true;
            return 0;
        }
        const int error = errno;
        unlink(Native(trash + "/info/" + name + ".trashinfo").constData());
        // The file cannot leave its folder: deleting it would fail the same way.
        if (error == EACCES || error == EPERM || error == EROFS || error == ENOENT)
            return ErrorNumberFromErrno(error);
        return ErrNoTrash;
    }

    int DeleteFile(const QString& file) override
    {
        return unlink(Native(file).constData()) == 0 ? 0 : ErrorNumberFromErrno(errno);
    }
};

} // namespace

std::unique_ptr<Trash> MakeDesktopTrash()
{
    return std::make_unique<DesktopTrash>();
}

} // namespace gw
