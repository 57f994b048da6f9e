#pragma once

#include <string>

#include "platform/data/SqlText.h"

namespace xel::sql {

// The statements the editor sends, each built from its fixed fragments, blanks included, with
// every value passed through Quote.

// The top-level classes, by description.
std::string ClasesRaiz();
// The sub-classes of the class whose position number is padre, by position.
std::string Subclases(const std::string& padre);
// The variables of one class, by key.
std::string VariablesDeClase(const std::string& clase);

// The classes whose code or description, and the variables whose key, value or description, hold
// the text, letter case and accents aside and every character of it taken literally: one row per
// match, its class code or variable key in the column Clave. Written for the connection's server,
// which calls its own functions through their schema on SQL Server.
std::string Busqueda(const std::string& texto, SqlDialect dialect);

// One filter of the key generator: a column and the value it must equal. An empty column name
// means no filter.
struct Filtro {
  std::string columna;
  std::string valor;
};

// Every class by position, with the rank of its description among all classes in the column
// Xel_Orden_Descripcion (equal descriptions share a rank), and every variable by key: what the
// tree shows, in two reads, each sorted as the server sorts the per-class queries. Xel_Sin_Caso is
// 0 where the column the per-class queries filter on (the parent link, the variable's class)
// tells its value apart from the same letters in another case.
std::string ClasesPorPosicion();
std::string VariablesPorClave();

// Every class, and every variable, in no particular order: the whole store in two reads.
std::string TodasLasClases();
std::string TodasLasVariables();
// The variable with that key (keys compare without regard to letter case).
std::string VariablePorClave(const std::string& clave);
// The class with that code.
std::string ClasePorClave(const std::string& clave);
// A read of one table's rows that also locks them until the transaction ends, so that no other
// write lands between the read and the caller's own write: FOR UPDATE on PostgreSQL, UPDLOCK on
// SQL Server. SQLite's transactions already hold the whole store.
std::string Bloqueando(const std::string& lectura, const char* tabla, SqlDialect dialect);
// Where every class stands, and nothing else: code, position number and parent link.
std::string LugaresDeClases();

// The largest numeric value of a column, among the rows that pass the filters. Table and column
// names must be plain identifiers; anything else is refused with a run-time error.
std::string AutoClave(const std::string& tabla, const std::string& campo, const Filtro& filtro1,
                      const Filtro& filtro2, const Filtro& filtro3);

// A new class: its code, its parent's position number ("0000" at the top level), its own position
// and its description.
std::string InsertaClase(const std::string& clave, const std::string& padre, const std::string& id,
                         const std::string& descripcion);
// A class's new description; code, parent and position stay.
std::string ActualizaClase(const std::string& clave, const std::string& descripcion);
// A new variable of a class, with its type letter.
std::string InsertaVariable(const std::string& clase, const std::string& clave,
                            const std::string& valor, const std::string& descripcion,
                            const std::string& tipo);
// A variable's new value, type and description; its class stays.
std::string ActualizaVariable(const std::string& clave, const std::string& valor,
                              const std::string& tipo, const std::string& descripcion);

// The variables that belong directly to a class.
std::string BorraVariablesDeClase(const std::string& clase);
// A class's own row.
std::string BorraClase(const std::string& clase);
// One variable.
std::string BorraVariable(const std::string& clave);

// A class's new position number and parent link, both in format "0000", as the save of the tree
// order writes them.
std::string PosicionDeClase(long posicion, long padre, const std::string& clase);

}  // namespace xel::sql
