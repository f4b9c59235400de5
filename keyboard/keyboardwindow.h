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
    // Constructing the window loads it (Form_Load); it is shown by the caller.
    explicit KeyboardWindow(QWidget* parent = nullptr);
    ~KeyboardWindow() override;

    // ---- Controls (arrays keep fixed slot numbers; unused slots stay null) ----
    std::array<KeyPanel*, 14> KB{};     // 0..13, number row
    KeyPanel* BackspaceKey = nullptr;
    KeyPanel* TabKey = nullptr;
    std::array<KeyPanel*, 13> KB2{};    // 1..12, top letter row
    KeyPanel* CapsKey = nullptr;
    std::array<KeyPanel*, 12> KB3{};    // 1..11, home row
    std::array<KeyPanel*, 3> Shift{};   // 1..2
    std::array<KeyPanel*, 11> KB4{};    // 1..10, bottom row
    std::array<KeyPanel*, 3> Ctrl{};    // 1..2
    std::array<KeyPanel*, 3> Alt{};     // 1..2
    KeyPanel* SpaceBar = nullptr;
    QLineEdit* TextBox = nullptr;
    QComboBox* cmbFontSize = nullptr;
    QToolButton* KillTextBox = nullptr;
    QToolButton* cmdCopy = nullptr;

    // The key of a row and index; null when there is none.
    KeyPanel* Key(KeyRef ref) const;
    // The typing keys of KB, KB2, KB3 and KB4.
    QVector<KeyPanel*> TypingKeys() const;

    // Shows the text box and the typing keys in this font.
    void ApplyFont(const KeyFont& font);
    const QFont& CaptionFont() const { return captionFont_; }

    // Told the code (code page 1252) of each character typed on the real keyboard.
    std::function<void(int code)> ShowCharacterCode;

    // ---- Window events ----
    void Form_Load();
    // false when the window is too small to be laid out: the keys stay where they are.
    bool Form_Resize();
    void Form_Unload();
    void Form_KeyDown(const QKeyEvent& event);
    void Form_KeyUp(const QKeyEvent& event);
    void Key_MouseDown(KeyRef key);
    void Key_MouseUp(KeyRef key);
    void Shift_Click(int index);
    void CapsKey_Click();
    void cmbFontSize_Click();
    void cmdCopy_Click();
    void KillTextBox_Click();
    void TextBox_KeyPress(QChar ch);

    // The key unit u in pixels of the last layout.
    int KeyUnit() const { return unit_; }

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
    // Captions of the typing keys for the latched Shift/Caps and the real Shift.
    void ShowCaptions();
    // Takes the Caps key's look and the letters from the system's Caps Lock.
    void FollowCapsLock();
    void SetShiftKeys(bool down);
    // The keys a key code animates (both Shift, Ctrl or Alt keys for their code).
    QVector<KeyPanel*> KeysOf(KeyRef ref) const;
    void AnimateKey(const QKeyEvent& event, bool down);

    QFont captionFont_;
    QString captionFile_;     // the chosen font's file, when known
    bool anyCaption_ = true;  // no font chosen: the window's own font draws every caption
    bool shiftLatched_ = false;
    bool capsLatched_ = false;
    bool realShift_ = false;
    bool unloaded_ = false;
    int unit_ = 0;
};

} // namespace gw
