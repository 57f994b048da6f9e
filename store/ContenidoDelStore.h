#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Database.h"

namespace xel {

// The parent link of the top level's classes.
inline constexpr char kPadreRaiz[] = "0000";
// The text of the editor's root, where the paths of its nodes start.
inline constexpr char kTextoRaiz[] = "RAIZ";

// One class as the store keeps it.
struct Clase {
  std::string codigo;       // Cv_Cve_Clase_Variable
  std::string padre;        // Cv_Padre: the parent's position number, "0000" at the top level
  std::string posicion;     // Cv_Id
  std::string descripcion;  // Cv_Descripcion
  long linea = 0;           // the line of the file the row was read from; 0 for a store's row
};

// One variable as the store keeps it.
struct Variable {
  std::string clase;        // Cv_Cve_Clase_Variable, the owning class's code
  std::string clave;        // Cf_Variable
  std::string valor;        // Cf_Valor
  std::string tipo;         // Cf_Tipo
  std::string descripcion;  // Cf_Descripcion
  long linea = 0;
};

// Rows of both tables: a whole store, a part of it, or a file's.
struct Contenido {
  std::vector<Clase> clases;
  std::vector<Variable> variables;
};

// Every row of both tables, in two reads. A NULL column reads as the empty text.
Contenido LeeContenido(Connection& db);

// A key or code as the store compares it: letters without regard to case.
std::string ClaveComparable(std::string_view clave);

// The classes in the order the editor's tree shows them: the top level by description, under
// each class its sub-classes by position, each class with its variables by key. A class reached
// twice (two classes at one position, or a parent link that loops) is shown once, where it is
// first reached. Built from one read of the store, without a query per class.
class Arbol {
 public:
  struct Rama {
    Clase clase;
    int nivel = 0;     // 0 at the top level
    std::string ruta;  // the class codes from the top level down to this one, joined by "/"
    std::vector<Variable> variables;
  };

  explicit Arbol(Contenido contenido);

  const std::vector<Rama>& Ramas() const { return ramas_; }
  // The class with that code, its sub-classes at every depth and their variables. A code that no
  // class of the tree has is a run-time error (err::ItemNotFound).
  Arbol Subarbol(std::string_view codigo) const;
  // The classes, then the variables, both in the tree's order: a class always after its parent.
  Contenido ComoContenido() const;
  // The rows no class of the tree reaches: classes whose parent link names no position of the
  // tree, and variables of a class that is not in it. The editor does not show them either.
  size_t ClasesFuera() const { return clasesFuera_; }
  size_t VariablesFuera() const { return variablesFuera_; }

 private:
  Arbol() = default;

  std::vector<Rama> ramas_;
  size_t clasesFuera_ = 0;
  size_t variablesFuera_ = 0;
};

// The variable with that key; a key the store lacks is a run-time error (err::ItemNotFound).
// Locked (inside a transaction), no other write reaches the row until the transaction ends.
Variable LeeVariable(Connection& db, const std::string& clave, bool bloquea = false);

class Historial;

// Gives an existing variable a new value, keeping its type and description, in one transaction
// with its history entry.
// An unknown key (err::ItemNotFound), a value its type refuses (err::InvalidPropertyValue) or a
// row gone meanwhile (err::NoCurrentRecord) is a run-time error and changes nothing.
void CambiaValor(Historial& historial, const std::string& clave, const std::string& valor);

}  // namespace xel
