#include "wizards/folderpicker.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/globals.h"
#include "core/helpers.h"
#include "wizards/drivefolderlists.h"

namespace gw {

FolderPicker::FolderPicker(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FolderPicker"));
    setWindowTitle(QStringLiteral("Select Folder"));
    introLabel_ = new QLabel(QStringLiteral("Select a folder by clicking on the file folders listed below."), this);
    introLabel_->setObjectName(QStringLiteral("introLabel"));
    introLabel_->setWordWrap(true);
    driveList_ = new DriveList(this);
    driveList_->setObjectName(QStringLiteral("driveList"));
    folderTree_ = new FolderTree(this);
    folderTree_->setObjectName(QStringLiteral("folderTree"));
    folderLabel_ = new QLabel(QStringLiteral("Selected &Folder"), this);
    folderLabel_->setObjectName(QStringLiteral("folderLabel"));
    folderEdit_ = new QLineEdit(this);
    folderEdit_->setObjectName(QStringLiteral("folderEdit"));
    // A path can be typed or pasted here; OK (or Enter) goes to it.
    folderEdit_->setPlaceholderText(QStringLiteral("Type or paste a folder path"));
    folderLabel_->setBuddy(folderEdit_);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(introLabel_, 0, 0, 1, 2);
    grid->addWidget(driveList_, 1, 0);
    grid->addWidget(folderTree_, 2, 0, 3, 1);
    grid->addWidget(okButton_, 1, 1);
    grid->addWidget(cancelButton_, 2, 1, Qt::AlignTop);
    grid->addWidget(folderLabel_, 5, 0, 1, 2);
    grid->addWidget(folderEdit_, 6, 0, 1, 2);
    grid->setRowStretch(4, 1);
    resize(TwipsToPixels(5700), TwipsToPixels(5400));

    connect(folderTree_, &FolderTree::folderChanged, this, &FolderPicker::ShowTreeFolder);
    connect(driveList_, &DriveList::driveChosen, this, &FolderPicker::FollowChosenDrive);
    connect(okButton_, &QPushButton::clicked, this, &FolderPicker::AcceptFolder);
    connect(cancelButton_, &QPushButton::clicked, this, &FolderPicker::reject);
    CentreForm(this);
    ShowTreeFolder();
}

void FolderPicker::StartAt(const QString& folder)
{
    ShowFolder(folder, driveList_, folderTree_);
}

QString FolderPicker::Folder() const
{
    return folderTree_->Path();
}

void FolderPicker::ShowTreeFolder()
{
    folderEdit_->setText(folderTree_->Path());
}

void FolderPicker::FollowChosenDrive()
{
    FollowDrive(driveList_, folderTree_);
}

void FolderPicker::AcceptFolder()
{
    if (folderEdit_->text() != folderTree_->Path() && !GoToTypedFolder(folderEdit_->text(), driveList_, folderTree_)) {
        Sys().messages->MsgBox(NoSuchFolderText(folderEdit_->text()), vbInformation, QStringLiteral("Glyphwick"));
        folderEdit_->setFocus();
        folderEdit_->selectAll();
        return;
    }
    accept();
}

QString PickFolder(const QString& start, QWidget* parent)
{
    FolderPicker dialog(parent);
    QString folder = start;
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    dialog.StartAt(folder);
    return dialog.exec() == QDialog::Accepted ? dialog.Folder() : QString();
}

} // namespace gw
