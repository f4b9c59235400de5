// The keyboard window as the main window drives it: the Characters menu's
// toggle, the font it shows, and hiding it while this window is minimised.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

#include "core/globals.h"
#include "keyboard/keyboardwindow.h"
#include "fonts/glyphs.h"
#include "mainwindow/mainwindow.h"
#include "sfnt/instances.h"

namespace gw {

void MainWindow::CreateKeyboardMenu()
{
    charactersMenu_->addSeparator()->setObjectName(QStringLiteral("keyboardSeparator"));
    keyboardAction_ = charactersMenu_->addAction(QStringLiteral("&Keyboard..."));
    keyboardAction_->setObjectName(QStringLiteral("keyboardAction"));
    keyboardAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    keyboardAction_->setCheckable(true);
    // ToggleKeyboard decides by the window, not by the check mark Qt has just flipped.
    connect(keyboardAction_, &QAction::triggered, this, [this] { ToggleKeyboard(); });
}

void MainWindow::ToggleKeyboard()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!keyboard_.Get()) {
        QApplication::processEvents();
        KeyboardOpen = true;
        keyboardAction_->setChecked(true);
        KeyboardWindow* keyboard = keyboard_.Load();
        const QPoint placed = keyboard->pos();
        // A tool window of this one: it stays above it and never sinks behind it.
        keyboard->setParent(this, (keyboard->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
        keyboard->move(placed);
        keyboard->ShowCharacterCode = [this](int code) {
            codeReadouts_[0]->setText(QString::number(code));
        };
        connect(keyboard, &KeyboardWindow::Unloaded, this, [this] {
            keyboardAction_->setChecked(false);
            KeyboardOpen = false;
            keyboardHidden_ = false;
        });
        keyboardHidden_ = false;
        keyboard->show();
        ApplyKeyboardFont();
    } else {
        keyboardAction_->setChecked(false);
        UnloadKeyboard();
        KeyboardOpen = false;
    }
    QApplication::restoreOverrideCursor();
}

void MainWindow::UnloadKeyboard()
{
    if (KeyboardWindow* keyboard = keyboard_.Get()) {
        keyboard->Unload();
        keyboard_.Unload();
    }
}

KeyFont MainWindow::CurrentKeyFont() const
{
    KeyFont chosen;
    const int style = SelectedStyle();
    if (!fontModel_ || fontModel_->Count() == 0 || styleList_->count() == 0 || SelectedFamilyRow() < 0)
        return chosen;
    chosen.family = fontModel_->At(SelectedFamilyRow()).text;
    if (style < 0 || style >= int(StyleFonts.size()))
        return chosen;
    // The exact style chosen, as the other previews show it.
    const EnumLogFont& elf = StyleFonts[size_t(style)];
    if (fontKind_ == KindTrueType || !elf.drawingFamily.isEmpty())
        chosen.family = DrawingFamily(elf);
    chosen.styleName = TrimAtNul(BytesToText(elf.elfStyle, sizeof elf.elfStyle));
    chosen.weight = elf.lfWeight;
    chosen.italic = elf.lfItalic != 0;
    chosen.file = elf.filePath;
    // A named instance the toolkit does not list is drawn from its static copy, as the previews draw it.
    if (InstanceOfFace(elf.faceIndex) > 0) {
        const QFont exact = ExactFont(elf, 0);
        chosen.family = exact.family();
        chosen.styleName = exact.styleName();
    }
    return chosen;
}

void MainWindow::ApplyKeyboardFont()
{
    if (KeyboardWindow* keyboard = keyboard_.Get())
        keyboard->ApplyFont(CurrentKeyFont());
}

void MainWindow::KeyboardFollowsState()
{
    KeyboardWindow* keyboard = keyboard_.Get();
    if (!KeyboardOpen || !keyboard)
        return;
    if (isMinimized()) {
        if (!keyboardHidden_) {
            keyboardState_ = keyboard->windowState();
            keyboardHidden_ = true;
            keyboard->hide();
        }
    } else if (keyboardHidden_) {
        keyboardHidden_ = false;
        keyboard->setWindowState(keyboardState_);
        keyboard->show();
    }
}

} // namespace gw
