#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace xel {

// A reader of a JSON document, told each of its parts in order as they are read (nlohmann's SAX
// interface), which knows the line of the part just read and the text of a number as written. A
// part it refuses is a run-time error (ErrorDeArchivo) it throws.
class LectorJson : public nlohmann::json_sax<nlohmann::json> {
 public:
  struct Posicion;

  // A JSON text never holds binary values.
  bool binary(binary_t&) final { return true; }
  // A malformed document: "NAME:LINE: what the parser found wrong".
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) final;

 protected:
  // The line the part just read ends on, from 1.
  long Linea() const;
  // The number just read, as written ("1.50e+3", "-0").
  std::string NumeroLeido() const;
  const std::string& Nombre() const;

 private:
  friend void LeeJson(std::string_view texto, const std::string& nombre, LectorJson& lector);
  const Posicion* posicion_ = nullptr;
  const std::string* nombre_ = nullptr;
};

// Reads a whole JSON document (a UTF-8 byte-order mark before it is skipped), telling the reader
// its parts. Strings take every escape, \uXXXX with surrogate pairs included, and must be UTF-8;
// a malformed document is a run-time error whose text is "NAME:LINE: what is wrong".
void LeeJson(std::string_view texto, const std::string& nombre, LectorJson& lector);

// A text as a JSON string, quotes included: quotes, backslashes and control characters escaped,
// every other byte as it is, so that reading it back gives the same bytes. Files written by
// earlier versions are compared with new ones, so these are the bytes they had (\u0008 and \u000c
// rather than \b and \f).
std::string TextoJson(std::string_view texto);

}  // namespace xel
