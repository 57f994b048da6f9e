#pragma once

// How the window reads its tree: which nodes are variables, and a walk over sub-trees.

#include <string>

#include "platform/forms/TreeNodes.h"

namespace xel {

// A node whose Text equals its Tag is a variable (its key shown as it is); any other is a class or
// the root.
inline bool EsVariable(const Node& node) {
  return node.Text() == node.Tag();
}

// An entry as the messages name it: a variable with its class, a class with its description.
inline std::string DescribeEntrada(const Node& nodo) {
  if (!nodo.Parent()) {
    return "la raíz " + nodo.Text();
  }
  if (EsVariable(nodo)) {
    return "la variable " + nodo.Tag() + " de " + DescribeEntrada(nodo.Parent());
  }
  return "la clase " + nodo.Tag() + " (" + nodo.Text() + ")";
}

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
