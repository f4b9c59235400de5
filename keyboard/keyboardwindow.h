#pragma once
// The keyboard window: a US-layout keyboard whose key caps are drawn in the
// font chosen in the main window, above a one-line text box in that font.
// Clicking a key types its character; the real keyboard animates its keys.
#include <QFont>
#include <QWidget>
#include <array>
#include <functional>

#include "keyboard/keycodes.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace gw {

class KeyPanel;

// The font the main window has chosen, as the keys are to show it.
struct KeyFont {
    QString family;     // empty: no font chosen (no fonts listed)
    QString styleName;  // the exact style, when known
    int weight = 400;
    bool italic = false;
    QString file;       // the font file, when known
};

class KeyboardWindow : public QWidget {
    Q_OBJECT
public:
    // Built with the key size and placement the user left; shown by the caller.
    explicit KeyboardWindow(QWidget* parent = nullptr);
    ~KeyboardWindow() override;

    // The key of a row and column (or side); null when there is none.
    KeyPanel* Key(KeyRef ref) const;

    // Shows the text box and the typing keys in this font.
    void ApplyFont(const KeyFont& font);

    // Told the code (code page 1252) of each character typed on the real keyboard.
    std::function<void(int code)> ShowCharacterCode;

    // Saves the key size and placement and tells the main window; once.
    void Unload();

signals:
    // The window unloaded itself (closed, or unloaded by the main window).
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    KeyPanel* MakeKey(KeyRef ref, const QString& name, const QString& caption);
    void RestoreSettings();
    // false when the window is too small to be laid out: the keys stay where they are.
    bool LayOutKeys();
    void PressKey(KeyRef key);
    void ReleaseKey(KeyRef key);
    void LatchShift(int side);
    void ToggleCaps();
    void ApplyKeySize();
    void CopyText();
    void ClearText();
    void ShowTypedCode(QChar ch);
    void RealKeyPressed(const QKeyEvent& event);
    void RealKeyReleased(const QKeyEvent& event);
    // Captions of the typing keys for the latched Shift/Caps and the real Shift.
    void ShowCaptions();
    // Takes the Caps key's look and the letters from the system's Caps Lock.
    void FollowCapsLock();
    void SetShiftKeys(bool down);
    // The keys a key code animates (both Shift, Ctrl or Alt keys for their code).
    QVector<KeyPanel*> KeysOf(KeyRef ref) const;
    void AnimateKey(const QKeyEvent& event, bool down);

    // The four typing rows by column; the letter rows leave column 0 empty.
    std::array<std::array<KeyPanel*, 14>, 4> typingKeys_{};
    KeyPanel* backspaceKey_ = nullptr;
    KeyPanel* tabKey_ = nullptr;
    KeyPanel* capsKey_ = nullptr;
    std::array<KeyPanel*, 2> shiftKeys_{};  // left, right
    std::array<KeyPanel*, 2> ctrlKeys_{};
    std::array<KeyPanel*, 2> altKeys_{};
    KeyPanel* spaceBar_ = nullptr;
    QLineEdit* textEdit_ = nullptr;
    QComboBox* keySizeBox_ = nullptr;
    QToolButton* clearButton_ = nullptr;
    QToolButton* copyButton_ = nullptr;

    QFont captionFont_;
    QString captionFile_;     // the chosen font's file, when known
    bool anyCaption_ = true;  // no font chosen: the window's own font draws every caption
    bool shiftLatched_ = false;
    bool capsLatched_ = false;
    bool realShift_ = false;
    bool unloaded_ = false;
};

} // namespace gw
