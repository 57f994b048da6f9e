#pragma once

// What the user sees of the tree beyond the store's data: which nodes are open and which one is
// selected. A reload rebuilds every node, so the window reads this first and brings it back after.

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/forms/TreeNodes.h"

namespace xel {

struct VistaDelArbol {
  std::unordered_set<std::string> abiertos;  // the keys of the expanded nodes
  std::vector<std::string> seleccion;        // the selected node's key, then its ancestors'
};

VistaDelArbol LeeVista(const TreeNodes& nodos);

// Expands again the nodes of the view the tree still holds, and returns the node to select: the
// one selected before, or its nearest ancestor still in the tree; nothing when none is left.
Node AbreVista(const TreeNodes& nodos, const VistaDelArbol& vista);

}  // namespace xel
