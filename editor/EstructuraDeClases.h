#pragma once

// Where the store's classes stand, without their descriptions or variables: what the editor keeps
// of the tree it loaded, so that a save notices what other administrators added, deleted or moved
// since, and what the save needs to place the classes its tree does not show.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/data/Database.h"

namespace xel {

// A class's position number and parent link as stored; a NULL link links to no class.
struct LugarDeClase {
  std::string id;
  std::optional<std::string> padre;

  bool operator==(const LugarDeClase&) const = default;
};

// Each class code with the place of its class.
using EstructuraDeClases = std::unordered_map<std::string, LugarDeClase>;

// The place of the class in a row that holds Cv_Id and Cv_Padre.
LugarDeClase LugarDeFila(const Recordset& fila);
// Every class of the store with its place, in one query.
EstructuraDeClases LeeEstructura(Connection& conexion);

// The position after the last one given; positions are 32-bit numbers in the store's format.
long SiguientePosicion(long posicion);

// Whether the classes stand otherwise than when the tree was loaded: a loaded class gone or moved,
// or one added where a reload would show it. Descriptions do not count, nor classes no reload can
// show (their parent link names no shown class).
bool CambioDesdeLaCarga(const EstructuraDeClases& cargada, const EstructuraDeClases& actual);

// A class's new position number and parent link.
struct PosicionNueva {
  std::string clase;
  long posicion;
  long padre;
};

// New places for the classes of `actual` that a save did not number (`numeradas`, by code): each,
// parents before children, takes the position after `contador` and, as its parent link, the new
// position of the class its stored link names. One whose link names no class (or only a class of
// its own descendants) goes to the top level, where a reload shows it: its old link could name
// any class once the tree is numbered anew.
std::vector<PosicionNueva> UbicaNoNumeradas(const EstructuraDeClases& actual,
                                            const std::unordered_map<std::string, long>& numeradas,
                                            long& contador);

}  // namespace xel
