#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/data/Database.h"

namespace xel {

// A class or a variable that a search finds.
struct Hallazgo {
  enum class Tipo { Clase, Variable };

  Tipo tipo;
  std::string ruta;   // the texts of the editor's nodes from RAIZ down to it, joined by "/"
  std::string clave;  // the class's code or the variable's key
};

// The class codes and variable keys whose key, description or value holds the text, letter case
// and accents aside, as the store gives them: the search's one query.
std::unordered_set<std::string> ClavesHalladas(Connection& db, const std::string& texto);

// The classes and variables whose key, description or value holds the text, letter case and
// accents aside, in the order the editor's tree lists them: under a class, its sub-classes and then
// its variables. The same one query as the editor's find, and one read of the store.
std::vector<Hallazgo> Busca(Connection& db, const std::string& texto);

}  // namespace xel
