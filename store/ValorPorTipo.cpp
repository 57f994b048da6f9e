#include "store/ValorPorTipo.h"

#include <algorithm>

#include "platform/text/Numeric.h"

namespace xel {

bool EsLetraDeTipo(std::string_view letra) {
  return std::ranges::find(kLetrasDeTipo, letra) != kLetrasDeTipo.end();
}

std::string RechazoDeValor(std::string_view valor, std::string_view tipo) {
  if (!EsLetraDeTipo(tipo)) {
    return "unknown type \"" + std::string(tipo) + "\"; the types are N, B and T";
  }
  if (TrimBlanks(valor).empty()) {
    return "a value must be given";
  }
  if (tipo == "N" && !ReadsAsNumber(valor)) {
    return "a numeric (N) value must read as a number, not \"" + std::string(valor) + "\"";
  }
  if (tipo == "B" && valor != "0" && valor != "1") {
    return "a 0-or-1 (B) value must be 0 or 1, not \"" + std::string(valor) + "\"";
  }
  return {};
}

}  // namespace xel
