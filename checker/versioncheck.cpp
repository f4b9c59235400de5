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
    explanationLabel_ = new QLabel(ForLinux(QStringLiteral(
        "The Glyphwick component checker has found older versions of ActiveX and/or DLL files "
        "on your computer. Please reinstall Glyphwick.")), this);
    explanationLabel_->setWordWrap(true);
    layout->addWidget(explanationLabel_);

    conflictsLabel_ = new QLabel(QStringLiteral("&Incompatible Files"), this);
    conflictList_ = new QListWidget(this);
    conflictList_->setObjectName(QStringLiteral("conflictList"));
    conflictsLabel_->setBuddy(conflictList_);
    layout->addWidget(conflictsLabel_);
    layout->addWidget(conflictList_, 1);

    detailLabel_ = new QLabel(QStringLiteral("Detail description of incompatibilities"), this);
    detailText_ = new QPlainTextEdit(this);
    detailText_->setObjectName(QStringLiteral("detailText"));
    detailText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(detailLabel_);
    layout->addWidget(detailText_, 2);

    auto* buttons = new QHBoxLayout;
    saveButton_ = new QPushButton(QStringLiteral("Save..."), this);
    saveButton_->setObjectName(QStringLiteral("saveButton"));
    continueButton_ = new QPushButton(QStringLiteral("Continue"), this);
    continueButton_->setObjectName(QStringLiteral("continueButton"));
    continueButton_->setDefault(true);
    exitButton_ = new QPushButton(QStringLiteral("Exit"), this);
    exitButton_->setObjectName(QStringLiteral("exitButton"));
    buttons->addWidget(saveButton_);
    buttons->addStretch(1);
    buttons->addWidget(continueButton_);
    buttons->addWidget(exitButton_);
    layout->addLayout(buttons);
    resize(560, 440);

    connect(conflictList_, &QListWidget::currentRowChanged, this, [this] { ShowConflictDetail(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveReport(); });
    connect(continueButton_, &QPushButton::clicked, this, [this] { Continue(); });
    connect(exitButton_, &QPushButton::clicked, this, [this] { ChooseExit(); });

    ScanAndList();
}

void VersionCheckDialog::ScanAndList()
{
    CentreForm(this);
    detailText_->setReadOnly(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    check_ = ComponentCheck();
    if (Sys().components)
        check_ = ScanComponents(*Sys().components);
    QApplication::restoreOverrideCursor();

    conflictList_->clear();
    if (check_.ConflictCount == 0) {
        conflictList_->addItem(check_.FilesEmbedded ? QStringLiteral("No conflicts found")
                                                     : QStringLiteral("No component files embedded into this EXE"));
        return;
    }
    for (const ConflictRecord& conflict : check_.Conflicts)
        conflictList_->addItem(conflict.FileName);
    conflictList_->setCurrentRow(0);
}

void VersionCheckDialog::ShowConflictDetail()
{
    detailText_->setPlainText(ConflictDescription(check_, conflictList_->currentRow()));
}

void VersionCheckDialog::SaveReport()
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
    const QByteArray bytes = ComponentReport(check_).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.close();
        return;
    }
    file.close();
    Sys().messages->MsgBox(QStringLiteral("Report saved as ") + LowerCasePath(chosen), vbInformation,
                           QStringLiteral("Glyphwick"));
}

void VersionCheckDialog::Continue()
{
    hide();
    accept();
}

void VersionCheckDialog::ChooseExit()
{
    exitChosen_ = true;
    reject();
}

bool RunComponentCheck()
{
    VersionCheckDialog window;
    if (window.ConflictCount() >= 1)
        window.exec();
    return !window.ExitChosen();
}

} // namespace gw
