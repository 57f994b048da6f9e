#include "dialog/TiposVariable.h"

namespace xel {

std::string LetraDeTipo(std::string_view texto) {
  for (const TipoVariable& tipo : kTiposVariable) {
    if (tipo.texto == texto) {
      return std::string(tipo.letra);
    }
  }
  return "";
}

std::string IndiceDeLetra(std::string_view letra) {
  for (size_t i = 0; i < kTiposVariable.size(); ++i) {
    if (kTiposVariable[i].letra == letra) {
      return std::to_string(i);
    }
  }
  return "";
}

}  // namespace xel
