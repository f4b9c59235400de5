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

    DriveList* drivelist = nullptr;
    FolderTree* dirlist = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* lblOK = nullptr;   // hidden: "OK" or "CANCEL", how the dialog was left

    void Form_Load();
    void dirlist_Change();
    void drivelist_Change();
    void cmdOK_Click();
    void cmdCancel_Click();
};

// Shows "Select Folder" at start; the chosen folder, or "" when cancelled.
QString PickFolder(const QString& start, QWidget* parent = nullptr);

} // namespace gw
