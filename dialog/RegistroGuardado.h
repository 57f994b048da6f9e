#pragma once

#include <string>

#include "platform/Database.h"

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
};

// The row of the class (esClase) or of the variable with that key, in one query. NULLs read as
// empty texts; so do columns the store lacks, so that a damaged store still opens the record and
// its write is what reports the damage.
RegistroGuardado LeeRegistro(Connection& conexion, bool esClase, const std::string& clave);

}  // namespace xel
