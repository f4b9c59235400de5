#pragma once
// Which on-screen key a real key stands for, and what each key says. Keys are
// found by position (the US layout's key codes), not by the character typed,
// so any layout animates the key in the same place.
#include <QString>

class QKeyEvent;

namespace gw {

enum class KeyGroup { None, NumberRow, TopRow, HomeRow, BottomRow, Backspace, Tab, Caps, Shift, Ctrl, Alt, Space };

// Shift, Ctrl and Alt: 0 the left key, 1 the right one, kBothSides the pair.
constexpr int kBothSides = -1;

// One on-screen key. In the four typing rows, index is the key's column, counted
// as on the number row: the letter rows start at column 1, beside Tab, Caps and Shift.
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

// The columns of a typing row: number row 0..13, top row 1..12, home row 1..11, bottom row 1..10.
int FirstColumn(KeyGroup row);
int LastColumn(KeyGroup row);

// The caption of a typing key. shift: the shift column; caps: letters in the
// other case (upper case alone, lower case with shift).
QString KeyCaption(KeyGroup row, int column, bool shift, bool caps);

} // namespace gw
