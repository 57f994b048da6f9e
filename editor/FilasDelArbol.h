#pragma once

// Where the tree's load reads its rows. The window's design asks the store once per class, for its
// sub-classes and again for its variables; over a slow link those round trips are the whole wait.
// The rows can also come from both tables read once, in two statements, and handed out as the
// per-class queries would have found them, so that the load builds the same tree either way.

#include <functional>
#include <memory>
#include <string>

#include "component/Ventana.h"
#include "platform/data/Database.h"

namespace xel {

// The three reads of a load, each a result read forward once.
class FilasDelArbol {
 public:
  virtual ~FilasDelArbol() = default;
  // The top-level classes, by description.
  virtual std::unique_ptr<Recordset> ClasesRaiz() = 0;
  // The classes whose parent link is numeroPadre, by position.
  virtual std::unique_ptr<Recordset> Subclases(const std::string& numeroPadre) = 0;
  // The variables of one class, by key.
  virtual std::unique_ptr<Recordset> VariablesDeClase(const std::string& clase) = 0;
};

// The window's own queries, each sent on the connection `conexion` gives at that moment.
std::unique_ptr<FilasDelArbol> FilasPorClase(std::function<Connection&()> conexion);

// Both tables read now, in two statements. Parent links and class codes match as the store's tables
// compare them, letter case aside, and a NULL matches nothing. Nothing is returned when the tables
// cannot be read this way: a column missing or a statement failing (the per-class queries then meet
// the fault themselves and report it in their own words), a code, position or parent link outside
// printable ASCII (the servers' collations compare those each in their own way), or a filtered
// column that tells letter case apart in a value that holds letters.
std::unique_ptr<FilasDelArbol> FilasEnBloque(Connection& conexion);

}  // namespace xel
