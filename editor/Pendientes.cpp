// An arrangement of the classes (a drop, "+" or "-") lives only in the tree until "Grabar" writes
// it. While it waits, the window's title is marked and "Grabar" stands out; leaving the window or
// reloading the tree asks first whether to save it, throw it away, or go on editing.

#include <string>

#include "editor/frmXEL02.h"

namespace xel {

void frmXEL02::MarcaArregloPendiente(bool pendiente) {
  SetModified(pendiente);
  cmdGrabar.SetEmphasized(pendiente);
}

// Yes saves (and the save reloads the tree), No throws the arrangement away, Cancel keeps
// everything as it is. A save that fails leaves the arrangement waiting, as if cancelled, so that
// nothing is lost.
frmXEL02::Pendiente frmXEL02::ResuelvePendiente(const std::string& antesDe) {
  if (!Modified()) {
    return Pendiente::Ninguno;
  }
  const long respuesta = Avisa(publico_, *this, avisos::kOrdenSinGrabar, {antesDe});
  if (respuesta == MsgCode::Yes) {
    cmdGrabar_Click();
    return Modified() ? Pendiente::Cancelado : Pendiente::Grabado;
  }
  if (respuesta == MsgCode::No) {
    MarcaArregloPendiente(false);
    return Pendiente::Descartado;
  }
  return Pendiente::Cancelado;
}

// Closing the editor closes the host's window that holds it; a host that never handed one over
// gets the editor window closed instead. Either way the editor's unload asks about a waiting
// arrangement.
void frmXEL02::Controles_Exit() {
  if (ResuelvePendiente("salir") == Pendiente::Cancelado) {
    return;
  }
  if (padre_) {
    padre_->Unload();
  } else {
    Unload();
  }
}

void frmXEL02::Form_QueryUnload(int& cancel, UnloadMode /*mode*/) {
  if (ResuelvePendiente("salir") == Pendiente::Cancelado) {
    cancel = 1;
  }
}

}  // namespace xel
