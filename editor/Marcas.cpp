// Check marks: checking or clearing a node gives its whole sub-tree the same state.

#include "editor/frmXEL02.h"

namespace xel {

void frmXEL02::tvVariables_NodeCheck(const Node&) {}
void frmXEL02::MarcaHijos(const Node&) {}
void frmXEL02::DesmarcaHijos(const Node&) {}

}  // namespace xel
