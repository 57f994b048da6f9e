#include "editor/VistaDelArbol.h"

#include "editor/Nodos.h"

namespace xel {

VistaDelArbol LeeVista(const TreeNodes& nodos) {
  VistaDelArbol vista;
  if (Node primero = nodos.FirstRoot()) {
    RecorreDesde(primero, [&](const Node& nodo) {
      if (nodo.Expanded()) {
        vista.abiertos.insert(nodo.Key());
      }
    });
  }
  for (Node nodo = nodos.SelectedItem(); nodo; nodo = nodo.Parent()) {
    vista.seleccion.push_back(nodo.Key());
  }
  return vista;
}

Node AbreVista(const TreeNodes& nodos, const VistaDelArbol& vista) {
  for (const std::string& clave : vista.abiertos) {
    if (nodos.Contains(clave)) {
      nodos.Item(clave).SetExpanded(true);
    }
  }
  for (const std::string& clave : vista.seleccion) {
    if (nodos.Contains(clave)) {
      return nodos.Item(clave);
    }
  }
  return Node();
}

}  // namespace xel
