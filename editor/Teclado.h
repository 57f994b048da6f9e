#pragma once

// The editor window's own keys, which work wherever the focus is in the window.

#include "platform/Forms.h"

namespace xel::atajo {

inline constexpr KeyChord kBuscar{'F', ShiftState::Control};
inline constexpr KeyChord kSiguiente{KeyCode::F3, 0};
inline constexpr KeyChord kAnterior{KeyCode::F3, ShiftState::Shift};
inline constexpr KeyChord kGrabar{'S', ShiftState::Control};
inline constexpr KeyChord kCopiarRuta{'C', ShiftState::Control + ShiftState::Shift};
inline constexpr KeyChord kHistorial{'H', ShiftState::Control};

}  // namespace xel::atajo
