#pragma once

#include <string>

#include "component/HostServices.h"
#include "platform/data/Database.h"
#include "store/Historial.h"

namespace xel {

// A class or a variable as the store holds it when a change of it is opened or accepted.
struct RegistroGuardado {
  bool existe = false;
  // Fecha_Ult_Modif, which every write of the editors renews; NULL (rows written by other tools)
  // reads as the empty text.
  std::string fecha;
  // What the dialog's value box shows: a variable's value, a class's description.
  std::string valor;
  std::string descripcion;  // a variable's description
  std::string tipo;         // a variable's type letter
  std::string id;           // a class's position number
  std::string padre;        // a class's parent link
  std::string clase;        // a variable's class
};

// The row of the class (esClase) or of the variable with that key, in one query. NULLs read as
// empty texts; so do columns the store lacks, so that a damaged store still opens the record and
// its write is what reports the damage. Locked (inside a transaction), no other write reaches the
// row until the transaction ends.
// The store's history as the host's session user writes it; whether the store keeps one is read
// once and kept in the component's state.
Historial HistorialDeSesion(Publico& publico);

RegistroGuardado LeeRegistro(Connection& conexion, bool esClase, const std::string& clave,
                             bool bloquea = false);

}  // namespace xel
