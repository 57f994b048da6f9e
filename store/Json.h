#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xel {

// One value of a JSON document, with the line of the file it starts on.
struct ValorJson {
  enum class Tipo { Nulo, Logico, Numero, Texto, Lista, Objeto };

  Tipo tipo = Tipo::Nulo;
  std::string texto;                 // a string's text, a number as written, "true" or "false"
  std::vector<ValorJson> elementos;  // a list's
  std::vector<std::pair<std::string, ValorJson>> miembros;  // an object's, in the file's order
  long linea = 1;
};

// Reads a whole JSON document (a UTF-8 byte-order mark before it is skipped). Strings take every
// escape, \uXXXX with surrogate pairs included, and keep any other byte as it is. A malformed
// document is a run-time error whose text is "NAME:LINE: what is wrong".
ValorJson LeeJson(std::string_view texto, const std::string& nombre);

// A text as a JSON string, quotes included: quotes, backslashes and control characters escaped,
// every other byte as it is, so that reading it back gives the same bytes.
std::string TextoJson(std::string_view texto);

}  // namespace xel
