#pragma once
// Which on-screen key a real key stands for, and what each key says. Keys are
// found by position (the US layout's key codes), not by the character typed,
// so any layout animates the key in the same place.
#include <QString>

class QKeyEvent;

namespace gw {

enum class KeyGroup { None, KB, KB2, KB3, KB4, Backspace, Tab, Caps, Shift, Ctrl, Alt, Space };

// One on-screen key. For Shift, Ctrl and Alt index 0 means both keys.
struct KeyRef {
    KeyGroup group = KeyGroup::None;
    int index = 0;
    bool operator==(const KeyRef& o) const { return group == o.group && index == o.index; }
};

// The key code (US-layout virtual key: 65 "A", 186 ";", ...) of a real key:
// by its place on the keyboard when the window system reports one, else by
// the key Qt names; 0 for a key the keyboard window does not show.
int KeyCodeOf(const QKeyEvent& event);
// Same, from the window system's key code (X11 and Wayland use evdev + 8).
int KeyCodeOfScanCode(quint32 scanCode);
int KeyCodeOfQtKey(int qtKey);

// The on-screen key of a key code; group None when there is none.
KeyRef KeyForCode(int keyCode);

// Number of keys in a row of typing keys: KB 0..13, KB2 1..12, KB3 1..11, KB4 1..10.
int FirstKeyIndex(KeyGroup row);
int LastKeyIndex(KeyGroup row);

// The caption of a typing key. shift: the shift column; caps: letters in the
// other case (upper case alone, lower case with shift).
QString KeyCaption(KeyGroup row, int index, bool shift, bool caps);

} // namespace gw
