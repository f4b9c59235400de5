#include "checker/versioncheck.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"

namespace gw {

VersionCheckDialog::VersionCheckDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("VersionCheckDialog"));
    setWindowTitle(QStringLiteral("Glyphwick Component Checker"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(ForLinux(QStringLiteral(
        "The Glyphwick component checker has found older versions of ActiveX and/or DLL files "
        "on your computer. Please reinstall Glyphwick.")), this);
    Label1->setWordWrap(true);
    layout->addWidget(Label1);

    Label2 = new QLabel(QStringLiteral("&Incompatible Files"), this);
    ConflictListBox = new QListWidget(this);
    ConflictListBox->setObjectName(QStringLiteral("ConflictListBox"));
    Label2->setBuddy(ConflictListBox);
    layout->addWidget(Label2);
    layout->addWidget(ConflictListBox, 1);

    Label3 = new QLabel(QStringLiteral("Detail description of incompatibilities"), this);
    DetailText = new QPlainTextEdit(this);
    DetailText->setObjectName(QStringLiteral("DetailText"));
    DetailText->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(Label3);
    layout->addWidget(DetailText, 2);

    auto* buttons = new QHBoxLayout;
    Command2 = new QPushButton(QStringLiteral("Save..."), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1 = new QPushButton(QStringLiteral("Continue"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    ExitBut = new QPushButton(QStringLiteral("Exit"), this);
    ExitBut->setObjectName(QStringLiteral("ExitBut"));
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(ExitBut);
    layout->addLayout(buttons);
    resize(560, 440);

    connect(ConflictListBox, &QListWidget::currentRowChanged, this, [this] { ConflictListBox_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(ExitBut, &QPushButton::clicked, this, [this] { ExitBut_Click(); });

    Form_Load();
}

void VersionCheckDialog::Form_Load()
{
    CentreForm(this);
    DetailText->setReadOnly(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Check = ComponentCheck();
    if (Sys().components)
        Check = ScanComponents(*Sys().components);
    QApplication::restoreOverrideCursor();  // EnumComplete

    ConflictListBox->clear();
    if (Check.ConflictCount == 0) {
        ConflictListBox->addItem(Check.FilesEmbedded ? QStringLiteral("No conflicts found")
                                                     : QStringLiteral("No component files embedded into this EXE"));
        return;
    }
    for (const ConflictRecord& conflict : Check.Conflicts)
        ConflictListBox->addItem(conflict.FileName);
    ConflictListBox->setCurrentRow(0);
}

void VersionCheckDialog::ConflictListBox_Click()
{
    DetailText->setPlainText(ConflictDescription(Check, ConflictListBox->currentRow()));
}

void VersionCheckDialog::Command2_Click()
{
    const QString chosen = Sys().dialogs->SaveFile(
        QStringLiteral("Save"), QStringLiteral("txt"),
        QDir(Sys().system->ProgramFolder()).filePath(QStringLiteral("gw-ver.txt")),
        QStringLiteral("Text Files (*.txt)"));
    if (chosen.isEmpty())
        return;
    QFile file(chosen);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const QByteArray bytes = ComponentReport(Check).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.close();
        return;
    }
    file.close();
    Sys().messages->MsgBox(QStringLiteral("Report saved as ") + LowerCasePath(chosen), vbInformation,
                           QStringLiteral("Glyphwick"));
}

void VersionCheckDialog::Command1_Click()
{
    hide();
    accept();
}

void VersionCheckDialog::ExitBut_Click()
{
    ExitChosen = true;
    reject();
}

bool RunComponentCheck()
{
    VersionCheckDialog window;
    if (window.ConflictCount() >= 1)
        window.exec();
    return !window.ExitChosen;
}

} // namespace gw
