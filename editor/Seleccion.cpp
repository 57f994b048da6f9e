// The tree's small handlers that change no data: the nodo click fills the detail pane and says
// which commands are available; expand and collapse switch the nodo's image; mouse down, the
// start of a drag and drag over keep the drag state the drop consumes.

#include "editor/Nodos.h"
#include "editor/frmXEL02.h"
#include "store/Sql.h"

namespace xel {

void frmXEL02::tvVariables_NodeClick(const Node& nodo) {
  Node seleccionado = tvVariables.SelectedItem();
  if (!seleccionado) {
    return;
  }
  if (EsRaiz(seleccionado)) {
    txtID.SetText(kCodigoRaiz);
    txtDescripcion.SetText(kTextoRaiz);
    txtClave.SetText(kCodigoRaiz);
    Controles.SetAddAvailable(true);
    Controles.SetEditAvailable(false);
    Controles.SetDeleteAvailable(false);
    return;
  }
  UtilityService& utilidades = publico_.Utility();
  if (EsVariable(nodo)) {
    Controles.SetAddAvailable(false);
    txtClave.SetText(nodo.Tag());
    txtDescripcion.SetText(utilidades.BuscarCampo(sql::XEL_Configuracion, sql::Cf_Variable,
                                                  nodo.Tag(), sql::Cf_Valor, 0, "", "", ""));
    txtID.SetText("");
  } else {
    txtClave.SetText(nodo.Tag());
    txtDescripcion.SetText(nodo.Text());
    Controles.SetAddAvailable(true);
    txtID.SetText(utilidades.BuscarCampo(sql::XEL_Clase_Variable, sql::Cv_Cve_Clase_Variable,
                                         nodo.Tag(), sql::Cv_id, 0, "", "", ""));
  }
  Controles.SetEditAvailable(true);
  Controles.SetDeleteAvailable(true);
}

void frmXEL02::tvVariables_Collapse(const Node& nodo) {
  nodo.SetImage(imagen::Cerrada);
}

void frmXEL02::tvVariables_Expand(const Node& nodo) {
  nodo.SetImage(imagen::Abierta);
}

void frmXEL02::tvVariables_MouseDown(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {
  nodArrastrado = tvVariables.SelectedItem();
}

// Only a class can be dragged: the root stays where it is, and a variable belongs to its class.
// Every drag starts afresh, so one that cannot be made leaves no target behind from an earlier
// drag for its drop to move the nodo onto.
void frmXEL02::tvVariables_StartDrag(const Node& nodo) {
  bArrastrando = nodo && EsClase(nodo) && nodo == nodArrastrado;
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
