#include "keyboard/keycodes.h"

#include <QKeyEvent>

namespace gw {

namespace {

struct RowText {
    const char* normal;
    const char* shifted;
};

// Per row, one character per key, from the row's first column.
RowText Row(KeyGroup row)
{
    switch (row) {
    case KeyGroup::NumberRow: return {"`1234567890-=\\", "~!@#$%^&*()_+|"};
    case KeyGroup::TopRow: return {"qwertyuiop[]", "QWERTYUIOP{}"};
    case KeyGroup::HomeRow: return {"asdfghjkl;'", "ASDFGHJKL:\""};
    case KeyGroup::BottomRow: return {"zxcvbnm,./", "ZXCVBNM<>?"};
    default: return {"", ""};
    }
}

} // namespace

int FirstColumn(KeyGroup row)
{
    return row == KeyGroup::NumberRow ? 0 : 1;
}

int LastColumn(KeyGroup row)
{
    const int count = int(qstrlen(Row(row).normal));
    return count == 0 ? -1 : FirstColumn(row) + count - 1;
}

QString KeyCaption(KeyGroup row, int column, bool shift, bool caps)
{
    if (column < FirstColumn(row) || column > LastColumn(row))
        return {};
    const int at = column - FirstColumn(row);
    const QChar normal = QLatin1Char(Row(row).normal[at]);
    if (shift) {
        // Shift with Caps Lock on gives small letters, as the real keyboard does.
        const QChar shifted = QLatin1Char(Row(row).shifted[at]);
        return QString(caps && shifted.isLetter() ? shifted.toLower() : shifted);
    }
    if (caps && normal.isLetter())
        return QString(normal.toUpper());
    return QString(normal);
}

KeyRef KeyForCode(int code)
{
    switch (code) {
    case 8: return {KeyGroup::Backspace, 0};
    case 9: return {KeyGroup::Tab, 0};
    case 16: return {KeyGroup::Shift, kBothSides};
    case 17: return {KeyGroup::Ctrl, kBothSides};
    case 18: return {KeyGroup::Alt, kBothSides};
    case 20: return {KeyGroup::Caps, 0};
    case 32: return {KeyGroup::Space, 0};
    case 48: return {KeyGroup::NumberRow, 10};
    case 192: return {KeyGroup::NumberRow, 0};
    case 189: return {KeyGroup::NumberRow, 11};
    case 187: return {KeyGroup::NumberRow, 12};
    case 220: return {KeyGroup::NumberRow, 13};
    case 219: return {KeyGroup::TopRow, 11};
    case 221: return {KeyGroup::TopRow, 12};
    case 186: return {KeyGroup::HomeRow, 10};
    case 222: return {KeyGroup::HomeRow, 11};
    case 188: return {KeyGroup::BottomRow, 8};
    case 190: return {KeyGroup::BottomRow, 9};
    case 191: return {KeyGroup::BottomRow, 10};
    default: break;
    }
    if (code >= 49 && code <= 57)
        return {KeyGroup::NumberRow, code - 48};
    if (code >= 65 && code <= 90) {
        for (KeyGroup row : {KeyGroup::TopRow, KeyGroup::HomeRow, KeyGroup::BottomRow}) {
            const int at = QByteArray(Row(row).shifted).indexOf(char(code));
            if (at >= 0)
                return {row, FirstColumn(row) + at};
        }
    }
    return {};
}

int KeyCodeOfScanCode(quint32 scanCode)
{
    // evdev + 8, from 10 ("1") on, in the order of the US keyboard's rows.
    static const int codes[] = {
        /* 10 */ 49, 50, 51, 52, 53, 54, 55, 56, 57, 48, 189, 187, 8, 9,
        /* 24 */ 81, 87, 69, 82, 84, 89, 85, 73, 79, 80, 219, 221, 0, 17,
        /* 38 */ 65, 83, 68, 70, 71, 72, 74, 75, 76, 186, 222, 192, 16, 220,
        /* 52 */ 90, 88, 67, 86, 66, 78, 77, 188, 190, 191, 16, 0, 18, 32, 20,
    };
    constexpr quint32 first = 10;
    if (scanCode >= first && scanCode < first + sizeof codes / sizeof codes[0])
        return codes[scanCode - first];
    if (scanCode == 105)   // right Ctrl
        return 17;
    if (scanCode == 108)   // right Alt
        return 18;
    return 0;
}

int KeyCodeOfQtKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;  // Qt's codes of these are the ASCII capitals and digits
    static const struct {
        int qt;
        int code;
    } keys[] = {
        {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
        {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},     {Qt::Key_Alt, 18},
        {Qt::Key_AltGr, 18},       {Qt::Key_CapsLock, 20},    {Qt::Key_Space, 32},
        {Qt::Key_QuoteLeft, 192},  {Qt::Key_AsciiTilde, 192}, {Qt::Key_Exclam, 49},
        {Qt::Key_At, 50},          {Qt::Key_NumberSign, 51},  {Qt::Key_Dollar, 52},
        {Qt::Key_Percent, 53},     {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},
        {Qt::Key_Asterisk, 56},    {Qt::Key_ParenLeft, 57},   {Qt::Key_ParenRight, 48},
        {Qt::Key_Minus, 189},      {Qt::Key_Underscore, 189}, {Qt::Key_Equal, 187},
        {Qt::Key_Plus, 187},       {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
        {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219}, {Qt::Key_BracketRight, 221},
        {Qt::Key_BraceRight, 221}, {Qt::Key_Semicolon, 186},  {Qt::Key_Colon, 186},
        {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222},   {Qt::Key_Comma, 188},
        {Qt::Key_Less, 188},       {Qt::Key_Period, 190},     {Qt::Key_Greater, 190},
        {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    };
    for (const auto& k : keys)
        if (k.qt == key)
            return k.code;
    return 0;
}

int KeyCodeOf(const QKeyEvent& event)
{
    // A key the window system placed is known by its place alone: the ISO key
    // left of "Z" types "<" on many layouts but has no key here.
    if (event.nativeScanCode() != 0)
        return KeyCodeOfScanCode(event.nativeScanCode());
    return KeyCodeOfQtKey(event.key());
}

} // namespace gw
