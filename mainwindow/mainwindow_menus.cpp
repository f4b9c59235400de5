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

    QMenu* file = AddMenu(bar, QStringLiteral("fileMenu"), "&File");
    installAction_ = AddItem(file, QStringLiteral("installAction"), "Preview && &Install Fonts...",
                             QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(installAction_, &QAction::triggered, this, [this] { InstallFromFiles({}); });
    uninstallAction_ = AddItem(file, QStringLiteral("uninstallAction"), "&Uninstall Fonts...",
                               QKeySequence(Qt::CTRL | Qt::Key_U));
    connect(uninstallAction_, &QAction::triggered, this, [this] { UninstallFonts(); });
    file->addSeparator()->setObjectName(QStringLiteral("printSeparator"));
    printAction_ = AddItem(file, QStringLiteral("printAction"), "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(printAction_, &QAction::triggered, this, [this] { OpenPrintWizard(); });
    printFolderAction_ = AddItem(file, QStringLiteral("printFolderAction"), "Print fonts from &CD-ROM...");
    connect(printFolderAction_, &QAction::triggered, this, [this] { PrintFontsFromFolder(); });
    printSetupAction_ = AddItem(file, QStringLiteral("printSetupAction"), "P&rint Setup...");
    connect(printSetupAction_, &QAction::triggered, this, [this] { SetUpPrinter(); });
    file->addSeparator()->setObjectName(QStringLiteral("exitSeparator"));
    exitAction_ = AddItem(file, QStringLiteral("exitAction"), "E&xit");
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = AddMenu(bar, QStringLiteral("editMenu"), "&Edit");
    copyAction_ = AddItem(edit, QStringLiteral("copyAction"), "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(copyAction_, &QAction::triggered, this, [this] { CopyToClipboard(); });

    charactersMenu_ = AddMenu(bar, QStringLiteral("charactersMenu"), "&Characters");
    upperCaseAction_ = AddItem(charactersMenu_, QStringLiteral("upperCaseAction"), "&Upper Case");
    lowerCaseAction_ = AddItem(charactersMenu_, QStringLiteral("lowerCaseAction"), "&Lower Case");
    numbersAction_ = AddItem(charactersMenu_, QStringLiteral("numbersAction"), "&Numbers");
    accentsAction_ = AddItem(charactersMenu_, QStringLiteral("accentsAction"), "&Accents");
    symbolsMenu_ = charactersMenu_->addMenu(QStringLiteral("&Symbols"));
    symbolsMenu_->setObjectName(QStringLiteral("symbolsMenu"));
    const struct { const char* name; const char* caption; } symbols[] = {
        {"exclamationAction", "!"}, {"questionAction", "?"}, {"quoteAction", "\""},
        {"dollarAction", "$"}, {"poundAction", "\u00a3"}, {"trademarkAction", "TM"},
        {"copyrightAction", "(C)"}, {"registeredAction", "(R)"}, {"bulletAction", "Bullet"},
        {"quotesAction", "Quotes"}, {"fractionsAction", "Fractions"},
    };
    for (size_t i = 0; i < symbolActions_.size(); ++i) {
        symbolActions_[i] = symbolsMenu_->addAction(QString::fromUtf8(symbols[i].caption));
        symbolActions_[i]->setObjectName(QString::fromLatin1(symbols[i].name));
    }
    CreateKeyboardMenu();

    QMenu* tools = AddMenu(bar, QStringLiteral("toolsMenu"), "&Tools");
    rereadAction_ = AddItem(tools, QStringLiteral("rereadAction"), "&Reread Fonts");
    connect(rereadAction_, &QAction::triggered, this, [this] { RereadFonts(); });
    tools->addSeparator()->setObjectName(QStringLiteral("optionsSeparator"));
    optionsAction_ = AddItem(tools, QStringLiteral("optionsAction"), "&Options...", QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(optionsAction_, &QAction::triggered, this, [this] { OpenOptions(); });

    runMenu_ = AddMenu(bar, QStringLiteral("runMenu"), "&Run");
    controlPanelAction_ = AddItem(runMenu_, QStringLiteral("controlPanelAction"), "Control &Panel");
    connect(controlPanelAction_, &QAction::triggered, this, [this] { OpenControlPanel(); });
    typeManagerAction_ = AddItem(runMenu_, QStringLiteral("typeManagerAction"), "&Adobe Type Manager\u00ae");
    connect(typeManagerAction_, &QAction::triggered, this, [this] { RunTypeManager(); });
    typeManagerAction_->setVisible(ShowAtmItems());
    clipboardAction_ = AddItem(runMenu_, QStringLiteral("clipboardAction"), "&Clipboard");
    connect(clipboardAction_, &QAction::triggered, this, [this] { OpenClipboardViewer(); });
    characterMapAction_ = AddItem(runMenu_, QStringLiteral("characterMapAction"), "Character &Map");
    connect(characterMapAction_, &QAction::triggered, this, [this] { OpenCharacterMap(); });

    helpMenu_ = AddMenu(bar, QStringLiteral("helpMenu"), "&Help");
    // F1 anywhere in the main window opens the contents, as the window's own key handler would.
    helpContentsAction_ = AddItem(helpMenu_, QStringLiteral("helpContentsAction"), "&Contents", QKeySequence(Qt::Key_F1));
    connect(helpContentsAction_, &QAction::triggered, this, [this] { ShowHelpContents(); });
    faqAction_ = AddItem(helpMenu_, QStringLiteral("faqAction"), "Frequently Asked &Questions");
    connect(faqAction_, &QAction::triggered, this, [this] { ShowHelpFaq(); });
    webMenu_ = helpMenu_->addMenu(QStringLiteral("Glyphwick on the &Web"));
    webMenu_->setObjectName(QStringLiteral("webMenu"));
    const struct { const char* name; const char* caption; QString address; } web[] = {
        {"homePageAction", "Glyphwick &Home Page", QString::fromLatin1(ProgramHomePage)},
        {"webFaqAction", "&Questions and Answers", QString::fromLatin1(ProgramFaqPage)},
        {"bugReportAction", "&Report a Problem", QString::fromLatin1(ProgramBugPage)},
        {"mailAction", "&Mail the Makers...",
         QStringLiteral("mailto:") + QLatin1String(ProgramSupportMail) + QStringLiteral("?subject=Glyphwick")},
    };
    for (const auto& item : web) {
        QAction* action = AddItem(webMenu_, QString::fromLatin1(item.name), item.caption);
        const QString address = item.address;
        connect(action, &QAction::triggered, this, [this, address] { OpenWebPage(address); });
    }
    helpMenu_->addSeparator()->setObjectName(QStringLiteral("aboutSeparator"));
    aboutAction_ = AddItem(helpMenu_, QStringLiteral("aboutAction"), "&About Glyphwick...");
    connect(aboutAction_, &QAction::triggered, this, [this] { ShowAbout(); });

    for (QMenu* menu : {file, edit, charactersMenu_, tools, runMenu_, helpMenu_})
        WatchMenu(menu);

    SetToolCommand(0, [this] { InstallFromFiles({}); });
    SetToolCommand(1, [this] { OpenPrintWizard(); });
    SetToolCommand(2, [this] { PrintFontsFromFolder(); });
    SetToolCommand(3, [this] { CopyToClipboard(); });
    SetToolCommand(4, [this] { ToggleKeyboard(); });
    SetToolCommand(5, [this] { RunTypeManager(); });
    SetToolCommand(6, [this] { OpenControlPanel(); });
    SetToolCommand(7, [this] { UninstallFonts(); });
}

// The printer fonts depend on the printer: another printer means another list.
void MainWindow::SetUpPrinter()
{
    const QString before = Sys().printerSetup->DeviceName();
    Sys().printerSetup->ShowPrinter(this);
    if (Sys().printerSetup->DeviceName() != before)
        RereadFonts();
}

void MainWindow::OpenControlPanel()
{
    RunProgram(QStringLiteral("CONTROL.EXE"), 1);
}

void MainWindow::RunTypeManager()
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
    OpenOptions();
}

void MainWindow::OpenClipboardViewer()
{
    RunProgram(QStringLiteral("CLIPBRD.EXE"), 1);
}

void MainWindow::OpenCharacterMap()
{
    RunProgram(QStringLiteral("CHARMAP.EXE"), 1);
}

void MainWindow::ShowHelpContents()
{
    Sys().help->ShowContents(HelpFile);
}

void MainWindow::ShowHelpFaq()
{
    Sys().help->ShowContext(HelpFile, 120);
}

void MainWindow::OpenWebPage(const QString& address)
{
    Sys().web->OpenAddress(address);
}

void MainWindow::ShowAbout()
{
    AboutDialog about(this);
    about.exec();
}

} // namespace gw
