#pragma once
// Key codes of the command tables. The tables were laid down in the classic virtual-key
// numbering (Left 37, 'A' 65, F1 112...) and keep it, so stored and loaded tables stay
// readable; Qt's keys are mapped onto it here, in one place.
#include <Qt>

class QKeyEvent;

namespace vk {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19, Capital = 20,
              Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38,
              Right = 39, Down = 40, Insert = 45, Delete = 46, Numpad0 = 96, Multiply = 106, Add = 107,
              Subtract = 109, Decimal = 110, Divide = 111, F1 = 112, NumLock = 144, Scroll = 145;
}  // namespace vk

// The key code of a Qt key, 0 when the tables have no code for it. Letters and digits
// are their upper-case characters; a keypad digit is a keypad code when `keypad` is set.
// On layouts that put symbols on Shift+digit, Qt reports the symbol: the US symbols are
// taken back to their digit, so Ctrl+Shift+1 still reads as Ctrl+Shift+'1'.
int VirtualKeyFromQt(int qtKey, bool keypad = false);

// The key code of a key press.
int VirtualKeyOf(const QKeyEvent& event);
