// What the window offers the host beyond showing itself: the parent's transaction text, the
// hosting process's command-line arguments, and the first level of the tree opened for a picture.

#include "editor/frmXEL02.h"
#include "platform/text/CommandLine.h"

namespace xel {

std::string frmXEL02::Transaccion() {
  if (!padre_) {
    throw RuntimeError(err::ObjectVariableNotSet, "Object variable or With block variable not set");
  }
  std::string transaccion = padre_->Property("Transaccion");
  return publico_.Utility().TextoTransaccion(transaccion, "Velmora");
}

// The text after the first exact occurrence of the name up to the next " /", untrimmed.
std::string frmXEL02::cmdValor(const std::string& Argumento) {
  return CmdValor(lineaDeComandos_ ? lineaDeComandos_() : ProcessArguments(), Argumento);
}

void frmXEL02::AbreClasesDeLaRaiz() {
  if (tvVariables.Nodes().Count() == 0) {
    return;
  }
  Node raiz = tvVariables.Nodes().Item(1L);
  raiz.SetExpanded(true);
  for (Node clase = raiz.Child(); clase; clase = clase.Next()) {
    clase.SetExpanded(true);
  }
}

}  // namespace xel
