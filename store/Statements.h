#pragma once

#include <string>

namespace xel::sql {

// The statements the editor sends, each built from its fixed fragments, blanks included, with
// every value passed through Quote.

// The top-level classes, by description.
std::string ClasesRaiz();
// The sub-classes of the class whose position number is padre, by position.
std::string Subclases(const std::string& padre);
// The variables of one class, by key.
std::string VariablesDeClase(const std::string& clase);

// One filter of the key generator: a column and the value it must equal. An empty column name
// means no filter.
struct Filtro {
  std::string columna;
  std::string valor;
};

// The largest numeric value of a column, among the rows that pass the filters. Table and column
// names must be plain identifiers; anything else is refused with a run-time error.
std::string AutoClave(const std::string& tabla, const std::string& campo, const Filtro& filtro1,
                      const Filtro& filtro2, const Filtro& filtro3);

}  // namespace xel::sql
