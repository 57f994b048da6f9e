// Loading the tree from the store: the root, the classes nested by their parent links, and each
// class's variables after its sub-classes. The rows come from one query per class or from both
// tables read at once; the tree, its failures and their messages are the same either way. A
// reload keeps what the user had open and selected.

#include <exception>

#include "editor/EstructuraDeClases.h"
#include "editor/Nodos.h"
#include "editor/frmXEL02.h"
#include "platform/RuntimeError.h"
#include "store/Historial.h"
#include "store/Sql.h"

namespace xel {

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
  TreeNodes& nodos = tvVariables.Nodes();
  const VistaDelArbol vista = LeeVista(nodos);
  MarcaArregloPendiente(false);
  nodos.Clear();
  txtClave.SetText("");
  txtID.SetText("");
  txtDescripcion.SetText("");
  arbolCompleto_ = true;  // until a level fails to load
  estructuraCargada_.clear();
  LeeSiHayHistorial();
  try {
    const BusyPointer ocupado(Runtime());
    Controles.SetEditAvailable(false);
    Controles.SetDeleteAvailable(false);
    Controles.SetAddAvailable(false);
    Runtime().DoEvents();
    nodos.Clear();
    AgregaRaiz(nodos);

    std::unique_ptr<FilasDelArbol> filas = FilasDeLaCarga();
    auto clases = filas->ClasesRaiz();
    while (!clases->Eof()) {
      std::string clase = AgregaClaseDeFila(*clases, kClaveRaiz);
      CargaSubclases(*filas, nodos.Count(), NumeroDePosicion(clases->Field(sql::Cv_Id).Text()));
      CargaVariables(*filas, clase);
      clases->MoveNext();
    }
    clases->Close();
  } catch (const std::exception& e) {
    arbolCompleto_ = false;
    Avisa(publico_, *this, avisos::kCargaFallida, {e.what()});
  }
  RestauraVista(vista);
}

void frmXEL02::RestauraVista(const VistaDelArbol& vista) {
  Node seleccionado = AbreVista(tvVariables.Nodes(), vista);
  if (!seleccionado) {
    return;
  }
  seleccionado.EnsureVisible();
  tvVariables.SetSelectedItem(seleccionado);
  tvVariables_NodeClick(seleccionado);
}

void frmXEL02::AgregaNodoDeFila(const NodeLocator& padre, TipoDeNodo tipo,
                                const std::string& codigo, const std::string& texto) {
  TreeNodes& nodos = tvVariables.Nodes();
  if (nodos.Contains(ClaveDeNodo(codigo))) {
    throw RuntimeError(
        err::KeyNotUnique,
        "La clave " + codigo +
            " se repite en el almacén: " + DescribeEntrada(tipo, codigo, texto, nodos.Item(padre)) +
            " no se puede mostrar porque " + DescribeEntrada(nodos.Item(ClaveDeNodo(codigo))) +
            " ya tiene esa clave. Cambie una de las dos para que el árbol cargue "
            "completo.");
  }
  AgregaEntrada(nodos, padre, tipo, codigo, texto);
}

std::unique_ptr<FilasDelArbol> frmXEL02::FilasDeLaCarga() {
  if (modoDeCarga_ == ModoDeCarga::EnBloque) {
    if (auto enBloque = FilasEnBloque(Conexion())) {
      return enBloque;
    }
  }
  return FilasPorClase([this]() -> Connection& { return Conexion(); });
}

void frmXEL02::CargaSubclases(FilasDelArbol& filas, long indicePadre,
                              const std::string& numeroPadre) {
  try {
    auto clases = filas.Subclases(numeroPadre);
    while (!clases->Eof()) {
      std::string clase = AgregaClaseDeFila(*clases, indicePadre);
      CargaSubclases(filas, tvVariables.Nodes().Count(),
                     NumeroDePosicion(clases->Field(sql::Cv_Id).Text()));
      CargaVariables(filas, clase);
      clases->MoveNext();
    }
    clases->Close();
  } catch (const std::exception& e) {
    arbolCompleto_ = false;
    Avisa(publico_, *this, avisos::kSubclasesFallidas, {e.what()});
  }
}

std::string frmXEL02::AgregaClaseDeFila(const Recordset& fila, const NodeLocator& padre) {
  std::string clase = fila.Field(sql::Cv_Cve_Clase_Variable).Text();
  AgregaNodoDeFila(padre, TipoDeNodo::Clase, clase, fila.Field(sql::Cv_Descripcion).Text());
  estructuraCargada_[clase] = LugarDeFila(fila);
  return clase;
}

void frmXEL02::CargaVariables(FilasDelArbol& filas, const std::string& clase) {
  auto variables = filas.VariablesDeClase(clase);
  while (!variables->Eof()) {
    std::string variable = variables->Field(sql::Cf_Variable).Text();
    AgregaNodoDeFila(ClaveDeNodo(clase), TipoDeNodo::Variable, variable, variable);
    variables->MoveNext();
  }
  variables->Close();
}

// A reload throws away an arrangement not saved yet: the user is asked first, and a save reloads
// by itself.
void frmXEL02::tvVariables_KeyUp(int& keyCode, int /*shift*/) {
  if (keyCode != KeyCode::F5) {
    return;
  }
  const Pendiente pendiente = ResuelvePendiente("recargar el árbol");
  if (pendiente == Pendiente::Ninguno || pendiente == Pendiente::Descartado) {
    CargaArbol();
  }
}

}  // namespace xel
