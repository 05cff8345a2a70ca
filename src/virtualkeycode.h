// The key codes that the folder and file lists report with a key release: the virtual-key
// numbers of the keyboard the program's rules were written for (Left 37, Home 36, "A" 65,
// F1 112, ...).
#pragma once

#include <Qt>

namespace keys {

// The code of a Qt key; keys of the numeric keypad give the keypad codes. 0 for keys without one.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace keys
