#include "editor/frmXEL02.h"

namespace xel {

frmXEL02::frmXEL02(FormsRuntime& runtime, Publico& publico)
    : Form(runtime, "frmXEL02"),
      ilIconos{"General", "SEGURIDAD", "Variable", "STOP"},
      publico_(publico) {
  tvVariables.SetImageList(&ilIconos);
  tvVariables.KeyUp.Connect([this](int& keyCode, int shift) { tvVariables_KeyUp(keyCode, shift); });
  Controles.Exit.Connect([this] { Controles_Exit(); });
}

void frmXEL02::Form_Load() {
  colorZUL.ApplyToForm();
  Controles.SetAddAvailable(true);
}

void frmXEL02::Form_Activate() {
  if (tvVariables.Nodes().Count() == 0) {
    CargaArbol();
  }
}

// Closing the editor closes the host's window that holds it; a host that never handed one over
// gets the editor window closed instead.
void frmXEL02::Controles_Exit() {
  if (padre_) {
    padre_->Unload();
  } else {
    Unload();
  }
}

long frmXEL02::Mensaje(const std::string& prompt, long code, const std::string& title,
                       const std::string& errorId) {
  return publico_.Session().Mensaje(prompt, code, title, hWnd(), "XEL02", errorId);
}

}  // namespace xel
