#include "editor/frmXEL02.h"

namespace xel {

frmXEL02::frmXEL02(FormsRuntime& runtime, Publico& publico)
    : Form(runtime, "frmXEL02"),
      ilIconos(ImagenesDelArbol()),
      publico_(publico),
      dialogo_(runtime, publico, txtID),
      historial_(runtime, publico) {
  tvVariables.SetImageList(&ilIconos);
  tvVariables.KeyUp.Connect([this](int& keyCode, int shift) { tvVariables_KeyUp(keyCode, shift); });
  tvVariables.NodeClick.Connect([this](Node nodo) { tvVariables_NodeClick(nodo); });
  tvVariables.Expand.Connect([this](Node nodo) { tvVariables_Expand(nodo); });
  tvVariables.Collapse.Connect([this](Node nodo) { tvVariables_Collapse(nodo); });
  tvVariables.MouseDown.Connect([this](int button, int shift, float x, float y) {
    tvVariables_MouseDown(button, shift, x, y);
  });
  tvVariables.StartDrag.Connect([this](Node nodo) { tvVariables_StartDrag(nodo); });
  tvVariables.DragOver.Connect(
      [this](float x, float y, int state) { tvVariables_DragOver(x, y, state); });
  tvVariables.DragDrop.Connect([this](float x, float y) { tvVariables_DragDrop(x, y); });
  tvVariables.KeyPress.Connect([this](int& keyAscii) { tvVariables_KeyPress(keyAscii); });
  tvVariables.NodeCheck.Connect([this](Node nodo) { tvVariables_NodeCheck(nodo); });
  Controles.Add.Connect([this] { Controles_Add(); });
  Controles.Edit.Connect([this] { Controles_Edit(); });
  Controles.Delete.Connect([this] { Controles_Delete(); });
  Controles.Exit.Connect([this] { Controles_Exit(); });
  cmdGrabar.Click.Connect([this] { cmdGrabar_Click(); });
  cmdHistorial.Click.Connect([this] { AbreHistorial(); });
  tvVariables.KeyDown.Connect(
      [this](int& keyCode, int shift) { tvVariables_KeyDown(keyCode, shift); });
  txtBuscar.KeyDown.Connect([this](int& keyCode, int shift) { txtBuscar_KeyDown(keyCode, shift); });
}

void frmXEL02::Form_Load() {
  colorZUL.ApplyToForm();
  Controles.SetAddAvailable(true);
  SetCaption(TituloConAlmacen());
}

// The window opens with the tree ready for the keyboard.
void frmXEL02::Form_Activate() {
  if (tvVariables.Nodes().Count() == 0) {
    CargaArbol();
    tvVariables.SetFocus();
  }
}

}  // namespace xel
