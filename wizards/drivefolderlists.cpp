#include "wizards/drivefolderlists.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QUrl>

namespace gw {

namespace {

QString CleanPath(const QString& path)
{
    return path.isEmpty() ? path : QDir::cleanPath(path);
}

bool Holds(const QString& root, const QString& path)
{
    return path == root || root == QLatin1String("/") || path.startsWith(root + '/');
}

enum { PathRole = Qt::UserRole, FilledRole };

} // namespace

int DriveIndexOf(const QVector<DriveEntry>& drives, const QString& path)
{
    const QString clean = CleanPath(path);
    int best = -1;
    for (int i = 0; i < drives.size(); ++i) {
        const QString root = CleanPath(drives[i].rootPath);
        if (Holds(root, clean) && (best < 0 || root.size() > CleanPath(drives[best].rootPath).size()))
            best = i;
    }
    return best;
}

// ---- Drive list ------------------------------------------------------------------------

DriveList::DriveList(QWidget* parent) : QComboBox(parent), drives_(Sys().storage->Drives())
{
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const DriveEntry& drive : drives_)
        addItem(icon, drive.name == drive.rootPath ? drive.name : drive.name + "  (" + drive.rootPath + ")");
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        if (!quiet_)
            emit driveChosen();
    });
}

QString DriveList::Drive() const
{
    return drives_.value(currentIndex()).rootPath;
}

void DriveList::SetDriveOf(const QString& path)
{
    const int i = DriveIndexOf(drives_, path);
    if (i < 0)
        return;
    quiet_ = true;
    setCurrentIndex(i);
    quiet_ = false;
}

// ---- Folder tree -----------------------------------------------------------------------

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Fill(item); });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (quiet_ || !item)
            return;
        const QString path = item->data(0, PathRole).toString();
        if (path == path_)
            return;
        path_ = path;
        emit folderChanged();
    });
}

void FolderTree::Fill(QTreeWidgetItem* item)
{
    if (item->data(0, FilledRole).toBool())
        return;
    item->setData(0, FilledRole, true);
    qDeleteAll(item->takeChildren());
    const QString folder = item->data(0, PathRole).toString();
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    QDir dir(folder);
    const QFileInfoList subs = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                 QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& sub : subs) {
        auto* child = new QTreeWidgetItem(item, {sub.fileName()});
        child->setIcon(0, icon);
        child->setData(0, PathRole, CleanPath(sub.absoluteFilePath()));
        // Opening the child lists its folders; until then it may have some.
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (subs.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void FolderTree::SetPath(const QString& path, const QString& root)
{
    const QString target = CleanPath(path);
    QString newRoot = CleanPath(root.isEmpty() ? (Holds(root_, target) && !root_.isEmpty() ? root_ : target) : root);
    if (!Holds(newRoot, target))
        newRoot = target;
    quiet_ = true;
    if (newRoot != root_ || topLevelItemCount() == 0) {
        clear();
        root_ = newRoot;
        auto* top = new QTreeWidgetItem(this, {root_});
        top->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon));
        top->setData(0, PathRole, root_);
    }
    QTreeWidgetItem* item = topLevelItem(0);
    const QString rest = target.mid(root_.size());
    for (const QString& part : rest.split('/', Qt::SkipEmptyParts)) {
        Fill(item);
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == part)
                next = item->child(i);
        if (!next)
            break; // a folder that is gone: stay on its nearest parent
        item = next;
    }
    Fill(item);
    item->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
    quiet_ = false;
    const QString now = item->data(0, PathRole).toString();
    if (now != path_) {
        path_ = now;
        emit folderChanged();
    }
}

void FolderTree::Refresh()
{
    if (QTreeWidgetItem* item = currentItem()) {
        item->setData(0, FilledRole, false);
        quiet_ = true;
        Fill(item);
        item->setExpanded(true);
        quiet_ = false;
    }
}

// ---- Changing drives ---------------------------------------------------------------------

QString DriveNotReadyText()
{
    return QStringLiteral("Disk not ready... Please make sure the floppy is in the drive correctly "
                          "and the drive door is shut (if there is one!).\n\n"
                          "Click Retry to after closing the drive door or Cancel to stop reading "
                          "fonts from the drive.");
}

bool GoToTypedFolder(const QString& typed, DriveList* drives, FolderTree* folders)
{
    QString path = typed.trimmed();
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    if (path.startsWith(QLatin1String("file://")))
        path = QUrl(path).toLocalFile();
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || !QFileInfo(path).isDir())
        return false;
    ShowFolder(QDir::cleanPath(path), drives, folders);
    return true;
}

void ShowFolder(const QString& path, DriveList* drives, FolderTree* folders)
{
    const int drive = DriveIndexOf(drives->Drives(), path);
    folders->SetPath(path, drive >= 0 ? drives->Drives()[drive].rootPath : QString());
    drives->SetDriveOf(path);
}

QString NoSuchFolderText(const QString& typed)
{
    return QStringLiteral("There is no folder \"") + typed.trimmed()
           + QStringLiteral("\". Type the whole path of a folder, for example ") + QDir::homePath()
           + QStringLiteral("/fonts.");
}

void FollowDrive(DriveList* drives, FolderTree* folders)
{
    const QString drive = drives->Drive();
    for (;;) {
        const int error = Sys().storage->FolderError(drive);
        if (error == 0) {
            folders->SetPath(drive, drive);
            return;
        }
        if ((error == ErrDeviceUnavailable || error == ErrDiskNotReady)
            && Sys().messages->MsgBox(DriveNotReadyText(), vbRetryCancel | vbCritical,
                                      QStringLiteral("Glyphwick")) == vbRetry)
            continue;
        drives->SetDriveOf(folders->Path());
        return;
    }
}

} // namespace gw
