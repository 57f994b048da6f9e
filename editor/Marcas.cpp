// Check marks: checking or clearing a nodo gives its whole sub-tree the same state. The states
// set here raise no nodo-check event, so the propagation never starts itself again.

#include "editor/Nodos.h"
#include "editor/frmXEL02.h"

namespace xel {

namespace {
// Gives `primero`, the siblings after it and all their descendants the one state.
void MarcaDesde(const Node& primero, bool marcado) {
  RecorreDesde(primero, [marcado](const Node& nodo) { nodo.SetChecked(marcado); });
}
}  // namespace

void frmXEL02::tvVariables_NodeCheck(const Node& nodo) {
  if (nodo.Children() == 0) {
    return;
  }
  if (nodo.Checked()) {
    MarcaHijos(nodo.Child());
  } else {
    DesmarcaHijos(nodo.Child());
  }
}

void frmXEL02::MarcaHijos(const Node& nodo) {
  MarcaDesde(nodo, true);
}

void frmXEL02::DesmarcaHijos(const Node& nodo) {
  MarcaDesde(nodo, false);
}

}  // namespace xel
