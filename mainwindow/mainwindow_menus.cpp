// The main window's menus and the commands that need no other window.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/programinfo.h"
#include "core/settings.h"
#include "mainwindow/about.h"
#include "mainwindow/mainwindow.h"

namespace gw {

namespace {

QAction* AddItem(QMenu* menu, const QString& name, const char* caption,
                 const QKeySequence& shortcut = {})
{
    QAction* item = menu->addAction(ForLinux(QString::fromUtf8(caption)));
    item->setObjectName(name);
    item->setShortcut(shortcut);
    return item;
}

QMenu* AddMenu(QMenuBar* bar, const QString& name, const char* caption)
{
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    return menu;
}

} // namespace

void MainWindow::CreateMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = AddMenu(bar, QStringLiteral("mnuFile"), "&File");
    mnuFileInstallFont = AddItem(file, QStringLiteral("mnuFileInstallFont"), "Preview && &Install Fonts...",
                                 QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(mnuFileInstallFont, &QAction::triggered, this, [this] { mnuFileInstallFont_Click(); });
    mnuFileRemoveFont = AddItem(file, QStringLiteral("mnuFileRemoveFont"), "&Uninstall Fonts...",
                                QKeySequence(Qt::CTRL | Qt::Key_U));
    connect(mnuFileRemoveFont, &QAction::triggered, this, [this] { mnuFileRemoveFont_Click(); });
    file->addSeparator()->setObjectName(QStringLiteral("sep"));
    mnuFileInventory = AddItem(file, QStringLiteral("mnuFileInventory"), "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(mnuFileInventory, &QAction::triggered, this, [this] { mnuFileInventory_Click(); });
    mnuFileCatalog = AddItem(file, QStringLiteral("mnuFileCatalog"), "Print fonts from &CD-ROM...");
    connect(mnuFileCatalog, &QAction::triggered, this, [this] { mnuFileCatalog_Click(); });
    mnuFilePrintSetup = AddItem(file, QStringLiteral("mnuFilePrintSetup"), "P&rint Setup...");
    connect(mnuFilePrintSetup, &QAction::triggered, this, [this] { mnuFilePrintSetup_Click(); });
    file->addSeparator()->setObjectName(QStringLiteral("Sep1"));
    mnuFileExit = AddItem(file, QStringLiteral("mnuFileExit"), "E&xit");
    connect(mnuFileExit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });

    QMenu* edit = AddMenu(bar, QStringLiteral("mnuEdit"), "&Edit");
    mnuEditCopy = AddItem(edit, QStringLiteral("mnuEditCopy"), "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(mnuEditCopy, &QAction::triggered, this, [this] { mnuEditCopy_Click(); });

    mnuChar = AddMenu(bar, QStringLiteral("mnuChar"), "&Characters");
    mnuCharUpper = AddItem(mnuChar, QStringLiteral("mnuCharUpper"), "&Upper Case");
    mnuCharLower = AddItem(mnuChar, QStringLiteral("mnuCharLower"), "&Lower Case");
    mnuCharNumbers = AddItem(mnuChar, QStringLiteral("mnuCharNumbers"), "&Numbers");
    mnuCharAccents = AddItem(mnuChar, QStringLiteral("mnuCharAccents"), "&Accents");
    mnuCharSymbols = mnuChar->addMenu(QStringLiteral("&Symbols"));
    mnuCharSymbols->setObjectName(QStringLiteral("mnuCharSymbols"));
    const char* const symbols[] = {"!", "?", "\"", "$", "\u00a3", "TM", "(C)", "(R)",
                                   "Bullet", "Quotes", "Fractions"};
    for (int i = 1; i <= 11; ++i) {
        mnuCharSym[i] = mnuCharSymbols->addAction(QString::fromUtf8(symbols[i - 1]));
        mnuCharSym[i]->setObjectName(QStringLiteral("mnuCharSym(%1)").arg(i));
    }
    CreateKeyboardMenu();

    QMenu* tools = AddMenu(bar, QStringLiteral("mnuOptions"), "&Tools");
    mnuOptionsRereadFonts = AddItem(tools, QStringLiteral("mnuOptionsRereadFonts"), "&Reread Fonts");
    connect(mnuOptionsRereadFonts, &QAction::triggered, this, [this] { mnuOptionsRereadFonts_Click(); });
    tools->addSeparator()->setObjectName(QStringLiteral("mnuSep"));
    mnuOptionsSetup = AddItem(tools, QStringLiteral("mnuOptionsSetup"), "&Options...", QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(mnuOptionsSetup, &QAction::triggered, this, [this] { mnuOptionsSetup_Click(); });

    mnuRun = AddMenu(bar, QStringLiteral("mnuRun"), "&Run");
    mnuRunControlPanel = AddItem(mnuRun, QStringLiteral("mnuRunControlPanel"), "Control &Panel");
    connect(mnuRunControlPanel, &QAction::triggered, this, [this] { mnuRunControlPanel_Click(); });
    mnuRunAdobeTypeManager = AddItem(mnuRun, QStringLiteral("mnuRunAdobeTypeManager"), "&Adobe Type Manager\u00ae");
    connect(mnuRunAdobeTypeManager, &QAction::triggered, this, [this] { mnuRunAdobeTypeManager_Click(); });
    mnuRunAdobeTypeManager->setVisible(ShowAtmItems());
    mnuRunClipboard = AddItem(mnuRun, QStringLiteral("mnuRunClipboard"), "&Clipboard");
    connect(mnuRunClipboard, &QAction::triggered, this, [this] { mnuRunClipboard_Click(); });
    mnuRunCharacterMap = AddItem(mnuRun, QStringLiteral("mnuRunCharacterMap"), "Character &Map");
    connect(mnuRunCharacterMap, &QAction::triggered, this, [this] { mnuRunCharacterMap_Click(); });

    mnuHelp = AddMenu(bar, QStringLiteral("mnuHelp"), "&Help");
    // F1 anywhere in the main window opens the contents, as the window's own key handler would.
    mnuHelpContents = AddItem(mnuHelp, QStringLiteral("mnuHelpContents"), "&Contents", QKeySequence(Qt::Key_F1));
    connect(mnuHelpContents, &QAction::triggered, this, [this] { mnuHelpContents_Click(); });
    mnuHelpFAQ = AddItem(mnuHelp, QStringLiteral("mnuHelpFAQ"), "Frequently Asked &Questions");
    connect(mnuHelpFAQ, &QAction::triggered, this, [this] { mnuHelpFAQ_Click(); });
    mnuHelpWeb = mnuHelp->addMenu(QStringLiteral("Glyphwick on the &Web"));
    mnuHelpWeb->setObjectName(QStringLiteral("mnuHelpWeb"));
    const struct { const char* name; const char* caption; QString address; } web[] = {
        {"mnuHelpWebHome", "Glyphwick &Home Page", QString::fromLatin1(ProgramHomePage)},
        {"mnuHelpWebFaq", "&Questions and Answers", QString::fromLatin1(ProgramFaqPage)},
        {"mnuHelpWebBug", "&Report a Problem", QString::fromLatin1(ProgramBugPage)},
        {"mnuHelpWebMail", "&Mail the Makers...",
         QStringLiteral("mailto:") + QLatin1String(ProgramSupportMail) + QStringLiteral("?subject=Glyphwick")},
    };
    for (const auto& item : web) {
        QAction* action = AddItem(mnuHelpWeb, QString::fromLatin1(item.name), item.caption);
        const QString address = item.address;
        connect(action, &QAction::triggered, this, [this, address] { mnuHelpWeb_Click(address); });
    }
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("Sep6"));
    mnuHelpAbout = AddItem(mnuHelp, QStringLiteral("mnuHelpAbout"), "&About Glyphwick...");
    connect(mnuHelpAbout, &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });

    for (QMenu* menu : {file, edit, mnuChar, tools, mnuRun, mnuHelp})
        WatchMenu(menu);

    SetToolCommand(0, [this] { mnuFileInstallFont_Click(); });
    SetToolCommand(1, [this] { mnuFileInventory_Click(); });
    SetToolCommand(2, [this] { mnuFileCatalog_Click(); });
    SetToolCommand(3, [this] { mnuEditCopy_Click(); });
    SetToolCommand(4, [this] { mnuViewKeyboard_Click(); });
    SetToolCommand(5, [this] { mnuRunAdobeTypeManager_Click(); });
    SetToolCommand(6, [this] { mnuRunControlPanel_Click(); });
    SetToolCommand(7, [this] { mnuFileRemoveFont_Click(); });
}

// The printer fonts depend on the printer: another printer means another list.
void MainWindow::mnuFilePrintSetup_Click()
{
    const QString before = Sys().printerSetup->DeviceName();
    Sys().printerSetup->ShowPrinter(this);
    if (Sys().printerSetup->DeviceName() != before)
        mnuOptionsRereadFonts_Click();
}

void MainWindow::mnuRunControlPanel_Click()
{
    RunProgram(QStringLiteral("CONTROL.EXE"), 1);
}

void MainWindow::mnuRunAdobeTypeManager_Click()
{
    const QString path = ReadIniString("GW", "ATMPath", QString(), IniFile);
    if (!path.isEmpty()) {
        RunProgram(path, 1);
        return;
    }
    Sys().messages->MsgBox(
        QStringLiteral("You have not specified the name of your Adobe Type Manager program executable.")
            + QStringLiteral("\r\n\r\n")
            + QStringLiteral("Use the Options dialog box to specify the file name and path of this program."),
        vbInformation, QStringLiteral("Glyphwick"));
    mnuOptionsSetup_Click();
}

void MainWindow::mnuRunClipboard_Click()
{
    RunProgram(QStringLiteral("CLIPBRD.EXE"), 1);
}

void MainWindow::mnuRunCharacterMap_Click()
{
    RunProgram(QStringLiteral("CHARMAP.EXE"), 1);
}

void MainWindow::mnuHelpContents_Click()
{
    Sys().help->ShowContents(HelpFile);
}

void MainWindow::mnuHelpFAQ_Click()
{
    Sys().help->ShowContext(HelpFile, 120);
}

void MainWindow::mnuHelpWeb_Click(const QString& address)
{
    Sys().web->OpenAddress(address);
}

void MainWindow::mnuHelpAbout_Click()
{
    AboutDialog about(this);
    about.exec();
}

} // namespace gw
