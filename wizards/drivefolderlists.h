#pragma once
// The drive list and the folder tree the wizards share, and what happens when
// the user picks another drive.
#include <QComboBox>
#include <QTreeWidget>

#include "platformapi/platform.h"

namespace gw {

// The drive of drives whose root holds path (the longest such root), or -1.
int DriveIndexOf(const QVector<DriveEntry>& drives, const QString& path);

// The mounted volumes of the platform; driveChosen is emitted when the user picks one.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);
    const QVector<DriveEntry>& Drives() const { return drives_; }
    // Root path of the chosen drive.
    QString Drive() const;
    // Chooses the drive that holds path, without emitting driveChosen.
    void SetDriveOf(const QString& path);
signals:
    void driveChosen();

private:
    QVector<DriveEntry> drives_;
    bool quiet_ = false;
};

// A folder tree from a drive's root down to the current folder and its
// subfolders (filled when opened). folderChanged is emitted when the current folder changes.
class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);
    QString Path() const { return path_; }
    // Roots the tree at root (empty: the folder itself) and opens path.
    void SetPath(const QString& path, const QString& root = {});
    // Lists the subfolders again (after a scan the folder may have changed).
    void Refresh();
signals:
    void folderChanged();

private:
    void Fill(QTreeWidgetItem* item);
    QString root_;
    QString path_;
    bool quiet_ = false;
};

// What the wizards do when the user picks another drive: points folders at the
// chosen drive. A drive that is not ready asks Retry/Cancel; Cancel, and any
// other error, puts drives back on the drive of folders' folder.
void FollowDrive(DriveList* drives, FolderTree* folders);

// Shows folder `path` in the tree, under the root of the drive that holds it,
// and that drive in the drive list.
void ShowFolder(const QString& path, DriveList* drives, FolderTree* folders);
// Points the drive list and folder tree at a folder typed or pasted by the
// user ("~" is the home folder); false, with nothing moved, when it is no folder.
bool GoToTypedFolder(const QString& typed, DriveList* drives, FolderTree* folders);
// Said when a typed folder does not exist.
QString NoSuchFolderText(const QString& typed);

// "Disk not ready..." of a drive the wizards cannot read.
QString DriveNotReadyText();

} // namespace gw
