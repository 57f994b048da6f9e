// The tree's small handlers that change no data: the node click fills the detail pane and says
// which commands are available; expand and collapse switch the node's image; mouse down, the
// start of a drag and drag over keep the drag state the drop consumes.

#include "editor/Nodos.h"
#include "editor/frmXEL02.h"

namespace xel {

namespace {
constexpr int kImagenCerrado = 1;  // "General"
constexpr int kImagenAbierto = 2;  // "SEGURIDAD"
}  // namespace

void frmXEL02::tvVariables_NodeClick(const Node& node) {
  Node seleccionado = tvVariables.SelectedItem();
  if (!seleccionado) {
    return;
  }
  if (seleccionado.Index() == 1) {
    txtID.SetText("0001");
    txtDescripcion.SetText("RAIZ");
    txtClave.SetText("0001");
    Controles.SetAddAvailable(true);
    Controles.SetEditAvailable(false);
    Controles.SetDeleteAvailable(false);
    return;
  }
  UtilityService& utilidades = publico_.Utility();
  if (EsVariable(node)) {
    Controles.SetAddAvailable(false);
    txtClave.SetText(node.Tag());
    txtDescripcion.SetText(utilidades.BuscarCampo("XEL_Configuracion", "Cf_Variable", node.Tag(),
                                                  "Cf_Valor", 0, "", "", ""));
    txtID.SetText("");
  } else {
    txtClave.SetText(node.Tag());
    txtDescripcion.SetText(node.Text());
    Controles.SetAddAvailable(true);
    txtID.SetText(utilidades.BuscarCampo("XEL_Clase_Variable", "Cv_Cve_Clase_Variable", node.Tag(),
                                         "Cv_id", 0, "", "", ""));
  }
  Controles.SetEditAvailable(true);
  Controles.SetDeleteAvailable(true);
}

void frmXEL02::tvVariables_Collapse(const Node& node) {
  node.SetImage(kImagenCerrado);
}

void frmXEL02::tvVariables_Expand(const Node& node) {
  node.SetImage(kImagenAbierto);
}

void frmXEL02::tvVariables_MouseDown(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {
  nodArrastrado = tvVariables.SelectedItem();
}

// Only a class can be dragged: the root stays where it is, and a variable belongs to its class.
// Every drag starts afresh, so one that cannot be made leaves no target behind from an earlier
// drag for its drop to move the node onto.
void frmXEL02::tvVariables_StartDrag(const Node& node) {
  bArrastrando = node && node.Index() != 1 && !EsVariable(node) && node == nodArrastrado;
  if (!bArrastrando) {
    tvVariables.SetDropHighlight(Node());
  }
}

void frmXEL02::tvVariables_DragOver(float x, float y, int /*state*/) {
  if (bArrastrando) {
    tvVariables.SetDropHighlight(tvVariables.HitTest(x, y));
  }
}

}  // namespace xel
