// The run-time libraries the program uses, as loaded now and as it was built with them.
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtGlobal>

#include <fontconfig/fontconfig.h>
#include <link.h>

#include "componentrefs.h"
#include "platform/desktop.h"

namespace gw {

namespace {

// Paths of every object loaded into this process.
int AddLoaded(dl_phdr_info* info, size_t, void* data)
{
    if (info->dlpi_name && *info->dlpi_name)
        static_cast<QStringList*>(data)->append(QString::fromLocal8Bit(info->dlpi_name));
    return 0;
}

QStringList LoadedObjects()
{
    QStringList paths;
    dl_iterate_phdr(AddLoaded, &paths);
    return paths;
}

// "1.2.3" from ".../libx.so.1.2.3"; empty when the name carries no number.
QString NumberAfterSo(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const int at = name.indexOf(QLatin1String(".so."));
    return at < 0 ? QString() : name.mid(at + 4);
}

ComponentFile Describe(const QString& path, const QString& version, bool inMemory)
{
    ComponentFile file;
    const QFileInfo info(path);
    file.path = info.canonicalFilePath().isEmpty() ? path : info.canonicalFilePath();
    file.version = version;
    file.date = info.lastModified().toUTC();
    file.size = info.size();
    file.inMemory = inMemory;
    return file;
}

// Folders the loader searches, the folder of the loaded copy first.
QStringList LibraryFolders(const QString& loadedFolder)
{
    QStringList folders{loadedFolder};
    for (const QString& dir : QString::fromLocal8Bit(qgetenv("LD_LIBRARY_PATH")).split(':', Qt::SkipEmptyParts))
        folders << dir;
    const QString arch = QDir(loadedFolder).dirName();
    for (const char* base : {"/usr/local/lib", "/usr/lib", "/lib", "/usr/lib64", "/lib64"}) {
        folders << QString::fromLatin1(base);
        if (arch.contains(QLatin1String("-linux-")))
            folders << QString::fromLatin1(base) + '/' + arch;
    }
    return folders;
}

class DesktopComponentVersions : public ComponentVersions {
public:
    QVector<ComponentReference> References() override
    {
        QVector<ComponentReference> list;
        for (const BuiltComponent& c : BuiltComponents) {
            ComponentReference r;
            r.name = QString::fromUtf8(c.name);
            r.fileName = QString::fromUtf8(c.fileName);
            r.version = QString::fromUtf8(c.version);
            r.date = QDateTime::fromString(QString::fromLatin1(c.date), Qt::ISODate);
            r.size = c.size;
            list << r;
        }
        return list;
    }

    QVector<ComponentFile> Found(const ComponentReference& reference) override
    {
        QVector<ComponentFile> found;
        if (reference.fileName.isEmpty())
            return found;
        QString loaded;
        for (const QString& path : LoadedObjects())
            if (QFileInfo(path).fileName().startsWith(reference.fileName))
                loaded = path;
        QSet<QString> seen;
        if (!loaded.isEmpty()) {
            QString version = NumberAfterSo(QFileInfo(loaded).canonicalFilePath());
            if (reference.name == QLatin1String("Qt Core"))
                version = QString::fromLatin1(qVersion());
            else if (reference.name == QLatin1String("fontconfig"))
                version = DesktopFontconfigVersion();
            found << Describe(loaded, version, true);
            seen << found.first().path;
        }
        // Other copies the loader could pick up instead.
        for (const QString& folder : LibraryFolders(QFileInfo(loaded).absolutePath())) {
            const QFileInfo other(folder + '/' + reference.fileName);
            const QString real = other.canonicalFilePath();
            if (real.isEmpty() || seen.contains(real))
                continue;
            seen << real;
            found << Describe(real, NumberAfterSo(real), false);
        }
        return found;
    }
};

} // namespace

QString DesktopFontconfigVersion()
{
    const int v = FcGetVersion();
    return QStringLiteral("%1.%2.%3").arg(v / 10000).arg(v / 100 % 100).arg(v % 100);
}

std::unique_ptr<ComponentVersions> MakeDesktopComponentVersions()
{
    return std::make_unique<DesktopComponentVersions>();
}

} // namespace gw
