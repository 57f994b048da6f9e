#pragma once

#include <string>
#include <string_view>

#include "platform/text/RuntimeError.h"

namespace xel {

// A fault of a file being read, told the way compilers tell theirs: "FILE:LINE: what is wrong".
inline RuntimeError ErrorDeArchivo(const std::string& archivo, long linea,
                                   const std::string& motivo) {
  return RuntimeError(err::InvalidPropertyValue,
                      archivo + ":" + std::to_string(linea) + ": " + motivo);
}

// The text without the UTF-8 byte-order mark some editors put at the start of a file.
inline std::string_view SinMarcaDeOrden(std::string_view texto) {
  constexpr std::string_view kMarcaDeOrden = "\xEF\xBB\xBF";
  return texto.starts_with(kMarcaDeOrden) ? texto.substr(kMarcaDeOrden.size()) : texto;
}

// A text read forward one character at a time, its lines counted, for the readers of files.
class CursorDeTexto {
 public:
  CursorDeTexto(std::string_view texto, const std::string& nombre)
      : texto_(SinMarcaDeOrden(texto)), nombre_(nombre) {}

 protected:
  bool AlFinal() const { return pos_ >= texto_.size(); }
  char Actual() const { return texto_[pos_]; }
  void Avanza() {
    if (texto_[pos_++] == '\n') {
      ++linea_;
    }
  }
  // Moves past the character when it comes next.
  bool Sigue(char c) {
    if (AlFinal() || Actual() != c) {
      return false;
    }
    Avanza();
    return true;
  }
  // The file is wrong at the current line.
  [[noreturn]] void Falla(const std::string& motivo) const {
    throw ErrorDeArchivo(nombre_, linea_, motivo);
  }

  std::string_view texto_;
  const std::string& nombre_;
  size_t pos_ = 0;
  long linea_ = 1;
};

}  // namespace xel
