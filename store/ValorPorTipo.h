#pragma once

#include <array>
#include <string>
#include <string_view>

namespace xel {

// The type letters a variable's Cf_Tipo holds: numeric, 0 or 1, text. Letters compare exactly.
inline constexpr std::array<std::string_view, 3> kLetrasDeTipo{"N", "B", "T"};

bool EsLetraDeTipo(std::string_view letra);

// Why a variable of the given type cannot hold the value; the empty text when it can. A value is
// never blank; a numeric one reads as a number as a whole, a 0-or-1 one is exactly "0" or "1",
// a text one is any text.
std::string RechazoDeValor(std::string_view valor, std::string_view tipo);

}  // namespace xel
