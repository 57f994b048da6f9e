// Saving the tree's order and parentage back to the store: every class gets a new position from
// one counter running over the tree depth first, and the position of its parent class as its
// parent link. The save is all or nothing; after it the tree is loaded again from the store.

#include <cstdint>
#include <exception>
#include <limits>

#include "editor/Nodos.h"
#include "editor/frmXEL02.h"
#include "platform/RuntimeError.h"
#include "store/Statements.h"

namespace xel {

namespace {
// Positions are 32-bit numbers in the store's format.
long SiguientePosicion(long posicion) {
  if (posicion >= std::numeric_limits<std::int32_t>::max()) {
    throw RuntimeError(err::Overflow, "Overflow");
  }
  return posicion + 1;
}

// A variable never holds other nodes (nothing is added or dropped under one), so a node that does
// is a class even when its description reads like its code.
bool PasaPorVariable(const Node& nodo) {
  return EsVariable(nodo) && nodo.Children() == 0;
}

// The first class of the sibling run that starts at `nodo`, or none when the run holds no class.
Node PrimeraClase(Node nodo) {
  while (nodo && PasaPorVariable(nodo)) {
    nodo = nodo.Next();
  }
  return nodo;
}
}  // namespace

void frmXEL02::cmdGrabar_Click() {
  TreeNodes& nodos = tvVariables.Nodes();
  if (nodos.Count() < 1) {
    Mensaje("Debe haber al menos una variable", MsgCode::Exclamation, "Imposible grabar",
            "ERR-ID:7500005");
    return;
  }
  // Positions handed out over part of the store would meet those of the classes the tree does not
  // show, and their sub-classes would then load under other classes.
  if (!arbolCompleto_) {
    Mensaje(
        "El árbol no muestra todo el almacén porque su carga falló. Pulse F5 para cargarlo "
        "completo antes de grabar.",
        MsgCode::Exclamation, "Imposible grabar", "ERR-ID:7500005");
    return;
  }
  Runtime().SetMousePointer(MousePointer::Hourglass);
  contadorPosicion_ = 0;
  if (nodos.Item(1L).Children() > 0) {
    try {
      RunInTransaction(Conexion(), [this] { GrabaHijos(1, 0); });
    } catch (const std::exception& e) {
      // Nothing of the new order was kept; the tree stays as arranged, so it can be saved again.
      Runtime().SetMousePointer(MousePointer::Default);
      Mensaje(e.what(), MsgCode::Critical, "Imposible grabar", "ERR-ID:7500005");
      return;
    }
  }
  CargaArbol();
  Runtime().SetMousePointer(MousePointer::Default);
}

// Variables before the run's first class take no position; from the first class on, every node
// of the run is numbered and written, each with its sub-tree before the next sibling.
void frmXEL02::GrabaHijos(long indice, long padre) {
  Node nodo = PrimeraClase(tvVariables.Nodes().Item(indice).Child());
  while (nodo) {
    contadorPosicion_ = SiguientePosicion(contadorPosicion_);
    const long posicion = contadorPosicion_;
    Conexion().Execute(sql::PosicionDeClase(posicion, padre, nodo.Tag()), -1);
    if (nodo.Children() > 0) {
      GrabaHijos(nodo.Index(), posicion);
    }
    nodo = nodo.Next();
  }
}

}  // namespace xel
