// Saving the tree's order and parentage back to the store.

#include "editor/frmXEL02.h"

namespace xel {

void frmXEL02::cmdGrabar_Click() {}
void frmXEL02::GrabaHijos(long, long) {}

}  // namespace xel
