#include "dialog/EnTransaccion.h"

#include <exception>

namespace xel {
namespace {

// Undoes what is still open. A failing rollback must not hide the failure that made it necessary,
// which is the one the user has to see.
void DeshaceSilenciosamente(const Publico& publico) {
  try {
    if (publico.Session().Conexion().InTransaction()) {
      publico.Session().Conexion().RollbackTrans();
    }
  } catch (const std::exception&) {
  }
}

}  // namespace

void EnTransaccion(const Publico& publico, const std::function<void()>& escrituras) {
  publico.Session().Conexion().BeginTrans();
  try {
    escrituras();
    publico.Session().Conexion().CommitTrans();
  } catch (const std::exception&) {
    DeshaceSilenciosamente(publico);
    throw;
  }
}

}  // namespace xel
