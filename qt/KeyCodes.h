#pragma once

#include <QKeyEvent>
#include <QKeySequence>

namespace xel {

// The key code a control's KeyDown and KeyUp report for a key (the Windows virtual-key numbers:
// F5 is 116, Delete 46), or 0 for a key without one.
int KeyCodeOf(int qtKey);
// The character code a control's KeyPress reports (Enter 13, '+' 43), or 0 when the key types no
// character of the 8-bit set.
int CharacterCodeOf(const QKeyEvent& event);
// The shift state of the key and mouse events: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftStateOf(Qt::KeyboardModifiers modifiers);
// The key sequence of a key code and shift state, as a window's shortcut takes it; an empty one
// for a code without a key here.
QKeySequence KeySequenceOf(int keyCode, int shift);
// The button of the mouse events: 1 left, 2 right, 4 middle; several held add up.
int MouseButtonsOf(Qt::MouseButtons buttons);

}  // namespace xel
