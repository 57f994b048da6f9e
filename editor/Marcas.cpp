// Check marks: checking or clearing a node gives its whole sub-tree the same state. The states
// set here raise no node-check event, so the propagation never starts itself again.

#include "editor/Nodos.h"
#include "editor/frmXEL02.h"

namespace xel {

namespace {
// Gives `primero`, the siblings after it and all their descendants the one state.
void MarcaDesde(const Node& primero, bool marcado) {
  RecorreDesde(primero, [marcado](const Node& nodo) { nodo.SetChecked(marcado); });
}
}  // namespace

void frmXEL02::tvVariables_NodeCheck(const Node& node) {
  if (node.Children() == 0) {
    return;
  }
  if (node.Checked()) {
    MarcaHijos(node.Child());
  } else {
    DesmarcaHijos(node.Child());
  }
}

void frmXEL02::MarcaHijos(const Node& node) {
  MarcaDesde(node, true);
}

void frmXEL02::DesmarcaHijos(const Node& node) {
  MarcaDesde(node, false);
}

}  // namespace xel
