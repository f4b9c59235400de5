#include "mainwindow/fw.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/loader.h"
#include "core/settings.h"
#include "core/splash.h"
#include "fonts/fonttable.h"

namespace gw {

FW::FW(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FW"));
    lblPlaceholder = new QLabel(QStringLiteral("The list of installed fonts will appear here."), this);
    lblPlaceholder->setObjectName(QStringLiteral("lblPlaceholder"));
    lblPlaceholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(lblPlaceholder);
    resize(760, 520);

    Form_Load();
}

void FW::Form_Load()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ResetFontTable();
    setWindowTitle(QStringLiteral("Glyphwick"));

    if (frmSplash* splash = Splash())
        splash->DrawProgress(100);
    QApplication::processEvents();

    // A first start has no placement to restore: open centred at the default size.
    const bool saved = !ReadIniString("Main", "Width", QString(), IniFile).isEmpty()
                       || !ReadIniString("Main", "Height", QString(), IniFile).isEmpty();
    if (saved)
        LoadFormPlacement(this, QStringLiteral("Main"), IniFile);
    else
        CentreForm(this);

    QApplication::restoreOverrideCursor();
    UnloadSplash();
    show();
}

void FW::Form_Unload()
{
    // Nothing to do yet for the help window, the keyboard window or the view
    // settings: none of them exists so far.
    if (!isMinimized())
        SaveFormPlacement(this, QStringLiteral("Main"), IniFile);
    UnloadLoader();

    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    QApplication::quit();
}

void FW::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

} // namespace gw
