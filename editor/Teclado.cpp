// The window's keys. Finding (Ctrl+F, F3, Shift+F3), saving (Ctrl+S) and copying the node's path
// (Ctrl+Shift+C) and the history (Ctrl+H) work wherever the focus is in the window; the toolbar's
// commands (Insert, F2, Delete) only from the tree, so that Delete in a text box deletes a
// character, not an entry.

#include <vector>

#include "editor/frmXEL02.h"

namespace xel {

namespace {
// Shift states of the key events.
constexpr int kMayusculas = 1;
constexpr int kControl = 2;
// Key codes of the key events.
constexpr int kTeclaInsert = 45;
constexpr int kTeclaSupr = 46;
constexpr int kTeclaC = 67;
constexpr int kTeclaF = 70;
constexpr int kTeclaH = 72;
constexpr int kTeclaS = 83;
constexpr int kTeclaF2 = 113;
constexpr int kTeclaF3 = 114;

constexpr KeyChord kBuscar{kTeclaF, kControl};
constexpr KeyChord kSiguiente{kTeclaF3, 0};
constexpr KeyChord kAnterior{kTeclaF3, kMayusculas};
constexpr KeyChord kGrabar{kTeclaS, kControl};
constexpr KeyChord kCopiarRuta{kTeclaC, kControl + kMayusculas};
constexpr KeyChord kHistorial{kTeclaH, kControl};
}  // namespace

std::vector<KeyChord> frmXEL02::WindowKeys() const {
  return {kBuscar, kSiguiente, kAnterior, kGrabar, kCopiarRuta, kHistorial};
}

void frmXEL02::Form_WindowKey(const KeyChord& key) {
  if (key == kBuscar) {
    AbreBusqueda();
  } else if (key == kSiguiente || key == kAnterior) {
    Busca(key == kSiguiente);
  } else if (key == kGrabar) {
    // The focus stays where the user works; only a click moves it onto the button.
    if (cmdGrabar.UsableByUser()) {
      cmdGrabar_Click();
    }
  } else if (key == kCopiarRuta) {
    CopiaRuta();
  } else if (key == kHistorial) {
    AbreHistorial();
  }
}

void frmXEL02::tvVariables_KeyDown(int& keyCode, int shift) {
  if (shift != 0) {
    return;
  }
  switch (keyCode) {
    case kTeclaInsert:
      Controles.ClickAdd();
      break;
    case kTeclaF2:
      Controles.ClickEdit();
      break;
    case kTeclaSupr:
      Controles.ClickDelete();
      break;
    default:
      return;
  }
  keyCode = 0;
}

}  // namespace xel
