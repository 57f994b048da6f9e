#pragma once

// The numbers the key events report, whatever screen raises them.

namespace xel {

// Key codes as KeyDown and KeyUp report them: the desktop's virtual-key numbers. A letter or a
// digit is the character code of its capital or digit ('C' is 67).
namespace KeyCode {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Pause = 19;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112;  // F2 to F24 follow in order
inline constexpr int F2 = F1 + 1;
inline constexpr int F3 = F1 + 2;
inline constexpr int F5 = F1 + 4;
inline constexpr int FunctionKeys = 24;
}  // namespace KeyCode

// Key codes as KeyPress reports them: the character typed.
namespace KeyAscii {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Plus = '+';
inline constexpr int Minus = '-';
}  // namespace KeyAscii

// The shift state of the key and mouse events: the keys held, added up.
namespace ShiftState {
inline constexpr int Shift = 1;
inline constexpr int Control = 2;
inline constexpr int Alt = 4;
}  // namespace ShiftState

}  // namespace xel
