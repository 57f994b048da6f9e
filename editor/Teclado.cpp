// The window's keys. Finding (Ctrl+F, F3, Shift+F3), saving (Ctrl+S) and copying the node's path
// (Ctrl+Shift+C) and the history (Ctrl+H) work wherever the focus is in the window; the toolbar's
// commands (Insert, F2, Delete) only from the tree, so that Delete in a text box deletes a
// character, not an entry.

#include <vector>

#include "editor/Teclado.h"
#include "editor/frmXEL02.h"

namespace xel {

using namespace atajo;

std::vector<KeyChord> frmXEL02::WindowKeys() const {
  return {kBuscar, kSiguiente, kAnterior, kGrabar, kCopiarRuta, kHistorial};
}

void frmXEL02::Form_WindowKey(const KeyChord& tecla) {
  if (tecla == kBuscar) {
    AbreBusqueda();
  } else if (tecla == kSiguiente || tecla == kAnterior) {
    Busca(tecla == kSiguiente);
  } else if (tecla == kGrabar) {
    // The focus stays where the user works; only a click moves it onto the button.
    if (cmdGrabar.UsableByUser()) {
      cmdGrabar_Click();
    }
  } else if (tecla == kCopiarRuta) {
    CopiaRuta();
  } else if (tecla == kHistorial) {
    AbreHistorial();
  }
}

void frmXEL02::tvVariables_KeyDown(int& keyCode, int shift) {
  if (shift != 0) {
    return;
  }
  switch (keyCode) {
    case KeyCode::Insert:
      Controles.ClickAdd();
      break;
    case KeyCode::F2:
      Controles.ClickEdit();
      break;
    case KeyCode::Delete:
      Controles.ClickDelete();
      break;
    default:
      return;
  }
  keyCode = 0;
}

}  // namespace xel
