#pragma once

// The tree's vocabulary. Every node but the root stands for one row of the store: a class, keyed
// "K" and its code, or a variable, keyed "K" and its key, the code or key itself in its Tag. Class
// codes are numbers and variable keys never are, so both share one key space. The root, "K0" shown
// as "RAIZ", stands for no row; it is the tree's only top-level node. A node's image says what it
// is: a class closed or open, a variable; the root shows the open image.

#include <string>
#include <string_view>

#include "platform/ImageList.h"
#include "platform/TreeNodes.h"
#include "store/ContenidoDelStore.h"

namespace xel {

enum class TipoDeNodo { Clase, Variable };

inline constexpr char kClaveRaiz[] = "K0";
// What the detail pane shows as the root's code and position.
inline constexpr char kCodigoRaiz[] = "0001";

// The image numbers: places in the list ImagenesDelArbol gives.
namespace imagen {
inline constexpr int Cerrada = 1;   // "General": a class, closed
inline constexpr int Abierta = 2;   // "SEGURIDAD": a class open, and the root
inline constexpr int Variable = 3;  // "Variable"
}  // namespace imagen

// The window's image list, in the order the numbers above name.
ImageList ImagenesDelArbol();

// The node key of a class's code or a variable's key.
inline std::string ClaveDeNodo(std::string_view codigo) {
  return "K" + std::string(codigo);
}
// The code or key a node key stands for.
inline std::string CodigoDeClave(std::string_view clave) {
  return std::string(clave.substr(1));
}

inline bool EsRaiz(const Node& nodo) {
  return !nodo.Parent();
}
// A variable shows its key, which its Tag holds too, and holds no nodes: nothing is added or
// dropped under one. A class shows its description, so one described by its own code is told
// apart once it holds entries.
inline bool EsVariable(const Node& nodo) {
  return nodo.Text() == nodo.Tag() && nodo.Children() == 0;
}
inline bool EsClase(const Node& nodo) {
  return !EsRaiz(nodo) && !EsVariable(nodo);
}

// The root, alone at the top level, checked.
Node AgregaRaiz(TreeNodes& nodos);
// A class (its description as text) or a variable (its key as text) under `padre`.
Node AgregaEntrada(TreeNodes& nodos, const NodeLocator& padre, TipoDeNodo tipo,
                   const std::string& codigo, const std::string& texto);

// An entry as the messages name it: a variable with its class, a class with its description.
std::string DescribeEntrada(const Node& nodo);
// The same for an entry not in the tree yet, under `padre`.
std::string DescribeEntrada(TipoDeNodo tipo, const std::string& codigo, const std::string& texto,
                            const Node& padre);

// Visits `primero`, its sub-tree, then each sibling after it with its own sub-tree, in the order
// the expanded tree shows them. Siblings and levels alike are walked in a loop, so neither a
// class with very many entries nor a very deep tree can exhaust the stack.
template <class Visita>
void RecorreDesde(const Node& primero, Visita&& visita) {
  const Node tope = primero.Parent();
  Node nodo = primero;
  while (true) {
    visita(nodo);
    if (Node hijo = nodo.Child()) {
      nodo = hijo;
      continue;
    }
    while (!nodo.Next()) {
      nodo = nodo.Parent();
      if (nodo == tope) {
        return;
      }
    }
    nodo = nodo.Next();
  }
}

// Visits a node and its whole sub-tree, the node first.
template <class Visita>
void RecorreSubarbol(const Node& raiz, Visita&& visita) {
  visita(raiz);
  if (Node hijo = raiz.Child()) {
    RecorreDesde(hijo, visita);
  }
}

}  // namespace xel
