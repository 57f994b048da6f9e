#include "store/Sql.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/text/Numeric.h"
#include "platform/text/RuntimeError.h"

namespace xel {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string Quote(std::string_view value) {
  if (value.find('\0') != std::string_view::npos) {
    throw RuntimeError(err::InvalidProcedureCall,
                       "A value for the store cannot hold a NUL character.");
  }
  std::string quoted;
  quoted.reserve(value.size() + std::ranges::count(value, '\''));
  for (char c : value) {
    quoted += c;
    if (c == '\'') {
      quoted += '\'';
    }
  }
  return quoted;
}

bool IsPlainIdentifier(std::string_view name) {
  return !name.empty() && !IsAsciiDigit(name.front()) && std::ranges::all_of(name, [](char c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_';
  });
}

std::string Format0000(long number) {
  // The magnitude as unsigned, so that the most negative number has one too.
  unsigned long magnitude =
      number < 0 ? 0UL - static_cast<unsigned long>(number) : static_cast<unsigned long>(number);
  std::string digits = std::to_string(magnitude);
  if (digits.size() < 4) {
    digits.insert(0, 4 - digits.size(), '0');
  }
  return number < 0 ? "-" + digits : digits;
}

std::string NumeroDePosicion(std::string_view posicion) {
  std::string texto(posicion);
  if (!ReadsAsNumber(texto)) {
    return texto;
  }
  double numero = std::strtod(texto.c_str(), nullptr);
  if (!(std::fabs(numero) < 2147483647.0)) {
    return texto;
  }
  return Format0000(std::lround(numero));
}

const std::string& RequireIdentifier(const std::string& name) {
  if (!IsPlainIdentifier(name)) {
    throw RuntimeError(err::InvalidProcedureCall, "Not a table or column name: \"" + name + "\"");
  }
  return name;
}

}  // namespace xel
