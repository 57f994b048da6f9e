#pragma once

#include <string>
#include <vector>

#include "platform/data/Database.h"
#include "store/ContenidoDelStore.h"
#include "store/Historial.h"

namespace xel {

// One row of a file that changes the store, with the statement that makes the change.
struct Cambio {
  enum class Tipo { InsertaClase, ActualizaClase, InsertaVariable, ActualizaVariable };

  Tipo tipo;
  long linea;         // the file's line the row starts on
  std::string texto;  // what changes, for the user: "insert variable IVA = 16 (class 0007, type N)"
  std::string sentencia;       // one of the dialog's four writes
  EntradaDeHistorial entrada;  // what the history keeps of the change
};

// What bringing the store in line with a file changes, in the file's order.
struct PlanDeImportacion {
  std::vector<Cambio> cambios;
  size_t sinCambio = 0;  // the file's rows the store already holds as they are

  size_t Cuenta(Cambio::Tipo tipo) const;
};

// Checks every row of a file the way the dialog checks what it writes, and compares it with the
// store's rows: missing classes and variables are inserted, a class whose description differs and
// a variable whose value, type or description differ are updated. Nothing is deleted, and nothing
// is moved: a class the store holds under another parent or at another position, or a variable
// the store holds in another class, is a wrong row. A class's parent and a variable's class must
// be in the store or earlier in the file; a new class needs a position no other class has. Keys
// and codes compare without regard to letter case. The first wrong row is a run-time error whose
// text is "NAME:LINE: what is wrong".
PlanDeImportacion PlaneaImportacion(const Contenido& archivo, const Contenido& store,
                                    const std::string& nombre);

// Makes a file's changes in one transaction, each with its history entry: the store is read, the
// plan made and every change written, or, on any failure (a wrong row, a statement the database
// refuses, a row that another user removed meanwhile), nothing is. With soloPlan nothing is written
// at all. Returns the plan.
PlanDeImportacion Importa(Historial& historial, const Contenido& archivo, const std::string& nombre,
                          bool soloPlan);

}  // namespace xel
