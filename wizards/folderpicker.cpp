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
    Label1 = new QLabel(QStringLiteral("Select a folder by clicking on the file folders listed below."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    drivelist = new DriveList(this);
    drivelist->setObjectName(QStringLiteral("drivelist"));
    dirlist = new FolderTree(this);
    dirlist->setObjectName(QStringLiteral("dirlist"));
    Label2 = new QLabel(QStringLiteral("Selected &Folder"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    // A path can be typed or pasted here; OK (or Enter) goes to it.
    Text1->setPlaceholderText(QStringLiteral("Type or paste a folder path"));
    Label2->setBuddy(Text1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    lblOK = new QLabel(QStringLiteral("CANCEL"), this);
    lblOK->setObjectName(QStringLiteral("lblOK"));
    lblOK->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(drivelist, 1, 0);
    grid->addWidget(dirlist, 2, 0, 3, 1);
    grid->addWidget(cmdOK, 1, 1);
    grid->addWidget(cmdCancel, 2, 1, Qt::AlignTop);
    grid->addWidget(Label2, 5, 0, 1, 2);
    grid->addWidget(Text1, 6, 0, 1, 2);
    grid->setRowStretch(4, 1);
    resize(TwipsToPixels(5700), TwipsToPixels(5400));

    connect(dirlist, &FolderTree::Change, this, [this] { dirlist_Change(); });
    connect(drivelist, &DriveList::Change, this, [this] { drivelist_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    Form_Load();
}

void FolderPicker::Form_Load()
{
    CentreForm(this);
    Text1->setText(dirlist->Path());
}

void FolderPicker::dirlist_Change()
{
    Text1->setText(dirlist->Path());
}

void FolderPicker::drivelist_Change()
{
    FollowDrive(drivelist, dirlist);
}

void FolderPicker::cmdOK_Click()
{
    if (Text1->text() != dirlist->Path() && !GoToTypedFolder(Text1->text(), drivelist, dirlist)) {
        Sys().messages->MsgBox(NoSuchFolderText(Text1->text()), vbInformation, QStringLiteral("Glyphwick"));
        Text1->setFocus();
        Text1->selectAll();
        return;
    }
    lblOK->setText(QStringLiteral("OK"));
    hide();
}

void FolderPicker::cmdCancel_Click()
{
    lblOK->setText(QStringLiteral("CANCEL"));
    hide();
}

QString PickFolder(const QString& start, QWidget* parent)
{
    FolderPicker dialog(parent);
    QString folder = start;
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QVector<DriveEntry>& drives = dialog.drivelist->Drives();
    const int drive = DriveIndexOf(drives, folder);
    dialog.dirlist->SetPath(folder, drive >= 0 ? drives[drive].rootPath : QString());
    dialog.drivelist->SetDriveOf(folder);
    dialog.exec();
    return dialog.lblOK->text() == QLatin1String("OK") ? dialog.dirlist->Path() : QString();
}

} // namespace gw
