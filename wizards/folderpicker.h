#pragma once
// "Select Folder": a drive list and a folder tree; PickFolder wraps it.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace gw {

class FolderTree;
class DriveList;

class FolderPicker : public QDialog {
    Q_OBJECT
public:
    explicit FolderPicker(QWidget* parent = nullptr);
    // Opens the folder tree at folder, on the drive that holds it.
    void StartAt(const QString& folder);
    // The folder of the tree (the one OK chose).
    QString Folder() const;

private:
    // The folder box shows the tree's folder.
    void ShowTreeFolder();
    // Points the tree at the drive the user picked.
    void FollowChosenDrive();
    // OK: goes to a typed folder first; a folder that is not there is said and the dialog stays.
    void AcceptFolder();

    QLabel* introLabel_ = nullptr;
    DriveList* driveList_ = nullptr;
    FolderTree* folderTree_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QLineEdit* folderEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// Shows "Select Folder" at start; the chosen folder, or "" when cancelled.
QString PickFolder(const QString& start, QWidget* parent = nullptr);

} // namespace gw
