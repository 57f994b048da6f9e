// What the window offers the host beyond showing itself: the parent's transaction text and the
// hosting process's command-line arguments.

#include "editor/frmXEL02.h"

namespace xel {

std::string frmXEL02::Transaccion() {
  return "";
}
std::string frmXEL02::cmdValor(const std::string&) {
  return "";
}

}  // namespace xel
