#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/ValorPorTipo.h"

namespace xel {

// A variable's type as the dialog lists it and as the store keeps it.
struct TipoVariable {
  std::string_view texto;  // the list entry
  std::string_view letra;  // Cf_Tipo
};

// The dialog's type list, in its order; an entry's position is its list index.
inline constexpr std::array<TipoVariable, 3> kTiposVariable{{
    {"N - Numérico", kLetrasDeTipo[0]},
    {"B - 0 ó 1", kLetrasDeTipo[1]},
    {"T - Texto", kLetrasDeTipo[2]},
}};

// The type letter of a list entry; the empty text for any other text.
std::string LetraDeTipo(std::string_view texto);
// The list index of a type letter, as text ("0", "1", "2"); the empty text for any other letter.
// Letters compare exactly: "n" is no type.
std::string IndiceDeLetra(std::string_view letra);

}  // namespace xel
