// Loading the tree from the store: the root, the classes nested by their parent links, and each
// class's variables after its sub-classes.

#include <exception>

#include "editor/EstructuraDeClases.h"
#include "editor/frmXEL02.h"
#include "store/Historial.h"
#include "store/Sql.h"
#include "store/Statements.h"

namespace xel {

namespace {
constexpr int kImagenRaiz = 2;  // "SEGURIDAD"
}  // namespace

// Whether the store keeps a history, read with every load so that a history table added meanwhile
// is used from the next F5 on. A store that cannot tell is asked again at its first write.
void frmXEL02::LeeSiHayHistorial() {
  try {
    publico_.conHistorial = TieneHistorial(Conexion());
  } catch (const std::exception&) {
    publico_.conHistorial.reset();
  }
}

void frmXEL02::CargaArbol() {
  TreeNodes& nodes = tvVariables.Nodes();
  nodes.Clear();
  txtClave.SetText("");
  txtID.SetText("");
  txtDescripcion.SetText("");
  arbolCompleto_ = true;  // until a level fails to load
  estructuraCargada_.clear();
  LeeSiHayHistorial();
  try {
    Runtime().SetMousePointer(MousePointer::Hourglass);
    Controles.SetEditAvailable(false);
    Controles.SetDeleteAvailable(false);
    Controles.SetAddAvailable(false);
    Runtime().DoEvents();
    nodes.Clear();
    nodes.Add({}, tvw::Last, "K0", "RAIZ", kImagenRaiz);
    nodes.Item(nodes.Count()).SetChecked(true);

    auto clases = Conexion().Execute(sql::ClasesRaiz(), -1);
    while (!clases->Eof()) {
      std::string clase = AgregaClaseDeFila(*clases, 1L);
      CargaSubclases(nodes.Count(), NumeroDePosicion(clases->Field("Cv_Id").Text()));
      CargaVariables(clase);
      clases->MoveNext();
    }
    clases->Close();
    Runtime().SetMousePointer(MousePointer::Default);
  } catch (const std::exception& e) {
    arbolCompleto_ = false;
    Mensaje(e.what(), MsgCode::Critical, "ERROR", "ERR-ID:7500001");
    Runtime().SetMousePointer(MousePointer::Default);
  }
}

void frmXEL02::CargaSubclases(long indicePadre, const std::string& numeroPadre) {
  try {
    auto clases = Conexion().Execute(sql::Subclases(numeroPadre), -1);
    while (!clases->Eof()) {
      std::string clase = AgregaClaseDeFila(*clases, indicePadre);
      CargaSubclases(tvVariables.Nodes().Count(), NumeroDePosicion(clases->Field("Cv_Id").Text()));
      CargaVariables(clase);
      clases->MoveNext();
    }
    clases->Close();
  } catch (const std::exception& e) {
    arbolCompleto_ = false;
    Mensaje(e.what(), MsgCode::Critical, "ERROR", "ERR-ID:7500002");
  }
}

std::string frmXEL02::AgregaClaseDeFila(const Recordset& fila, const NodeLocator& padre) {
  std::string clase = fila.Field("Cv_Cve_Clase_Variable").Text();
  TreeNodes& nodes = tvVariables.Nodes();
  nodes.Add(padre, tvw::Child, "K" + clase, fila.Field("Cv_Descripcion").Text(), "General");
  nodes.Item("K" + clase).SetTag(clase);
  estructuraCargada_[clase] = LugarDeFila(fila);
  return clase;
}

void frmXEL02::CargaVariables(const std::string& clase) {
  TreeNodes& nodes = tvVariables.Nodes();
  auto variables = Conexion().Execute(sql::VariablesDeClase(clase), -1);
  while (!variables->Eof()) {
    std::string variable = variables->Field("Cf_Variable").Text();
    nodes.Add("K" + clase, tvw::Child, "K" + variable, variable, "Variable");
    nodes.Item("K" + variable).SetTag(variable);
    variables->MoveNext();
  }
  variables->Close();
}

void frmXEL02::tvVariables_KeyUp(int& keyCode, int /*shift*/) {
  if (keyCode == KeyCode::F5) {
    CargaArbol();
  }
}

}  // namespace xel
