// Saving the tree's order and parentage back to the store: every class gets a new position from
// one counter running over the tree depth first, and the position of its parent class as its
// parent link. The save is all or nothing; after it the tree is loaded again from the store.
// Another administrator may have added, deleted or moved classes since the tree was loaded: the
// user hears of it before anything is written, and the classes the tree does not show keep their
// parents.

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "dialog/RegistroGuardado.h"
#include "editor/Nodos.h"
#include "editor/frmXEL02.h"
#include "platform/RuntimeError.h"
#include "store/Sql.h"
#include "store/Statements.h"

namespace xel {

namespace {
// The description of every class, by code.
std::unordered_map<std::string, std::string> Descripciones(Connection& conexion) {
  std::unordered_map<std::string, std::string> descripciones;
  auto filas = conexion.Execute(sql::TodasLasClases(), -1);
  for (; !filas->Eof(); filas->MoveNext()) {
    descripciones[filas->Field(sql::Cv_Cve_Clase_Variable).Text()] =
        filas->Field(sql::Cv_Descripcion).Text();
  }
  filas->Close();
  return descripciones;
}

// One history entry per class whose position or parent link the save changed, with the code of its
// new parent class (empty at the top level) and its description, so that each entry holds the
// whole class.
void RegistraMovimientos(Historial& historial, const EstructuraDeClases& antes,
                         const std::vector<PosicionNueva>& escritas) {
  const auto movida = [&](const PosicionNueva& nueva) {
    auto estaba = antes.find(nueva.clase);
    return estaba != antes.end() &&
           !(estaba->second == LugarDeClase{Format0000(nueva.posicion), Format0000(nueva.padre)});
  };
  if (!historial.Presente() || std::ranges::none_of(escritas, movida)) {
    return;
  }
  auto descripciones = Descripciones(historial.Db());
  std::unordered_map<long, std::string> codigoEnPosicion;
  for (const PosicionNueva& nueva : escritas) {
    codigoEnPosicion[nueva.posicion] = nueva.clase;
  }
  for (const PosicionNueva& nueva : escritas) {
    if (!movida(nueva)) {
      continue;
    }
    const LugarDeClase& viejo = antes.at(nueva.clase);
    const std::string& descripcion = descripciones[nueva.clase];
    historial.Registra({.accion = Accion::Movimiento,
                        .entidad = Entidad::Clase,
                        .clave = nueva.clase,
                        .clase = nueva.clase,
                        .clasePadre = nueva.padre == 0 ? "" : codigoEnPosicion[nueva.padre],
                        .antes = EstadoDeFila{.descripcion = descripcion,
                                              .padre = viejo.padre.value_or(""),
                                              .posicion = viejo.id},
                        .despues = EstadoDeFila{.descripcion = descripcion,
                                                .padre = Format0000(nueva.padre),
                                                .posicion = Format0000(nueva.posicion)}});
  }
}

// The first class of the sibling run that starts at `nodo`, or none when the run holds no class.
Node PrimeraClase(Node nodo) {
  while (nodo && EsVariable(nodo)) {
    nodo = nodo.Next();
  }
  return nodo;
}

// One save's writes, inside its transaction: the tree's classes are numbered by one counter running
// over the tree depth first, then those it does not show after them, so that none takes a position
// another holds or ends up under another class.
class NuevoOrden {
 public:
  explicit NuevoOrden(Connection& conexion) : conexion_(conexion) {}

  // The positions and parent links written, in the order written. The classes must still stand
  // as the user agreed to write over.
  std::vector<PosicionNueva> Graba(const Node& raiz, const EstructuraDeClases& acordada) && {
    if (LeeEstructura(conexion_) != acordada) {
      throw RuntimeError(err::DatabaseError,
                         "Otro usuario agregó, eliminó o movió clases mientras se grababa el "
                         "árbol; no se grabó nada. Grabe de nuevo, o pulse F5 para ver sus "
                         "cambios.");
    }
    GrabaHijos(raiz, 0);
    std::unordered_map<std::string, long> numeradas;
    for (const PosicionNueva& nueva : escritas_) {
      numeradas[nueva.clase] = nueva.posicion;
    }
    for (const PosicionNueva& nueva : UbicaNoNumeradas(acordada, numeradas, contador_)) {
      Escribe(nueva);
    }
    return std::move(escritas_);
  }

 private:
  // Variables before the run's first class take no position; from the first class on, every node
  // of the run is numbered and written, each with its sub-tree before the next sibling.
  void GrabaHijos(const Node& padreNodo, long padre) {
    for (Node nodo = PrimeraClase(padreNodo.Child()); nodo; nodo = nodo.Next()) {
      contador_ = SiguientePosicion(contador_);
      const long posicion = contador_;
      Escribe({nodo.Tag(), posicion, padre});
      if (nodo.Children() > 0) {
        GrabaHijos(nodo, posicion);
      }
    }
  }

  void Escribe(const PosicionNueva& nueva) {
    conexion_.Execute(sql::PosicionDeClase(nueva.posicion, nueva.padre, nueva.clase), -1);
    escritas_.push_back(nueva);
  }

  Connection& conexion_;
  long contador_ = 0;
  std::vector<PosicionNueva> escritas_;
};
}  // namespace

void frmXEL02::cmdGrabar_Click() {
  TreeNodes& nodos = tvVariables.Nodes();
  if (nodos.Count() < 1) {
    Avisa(publico_, *this, avisos::kGrabarSinNodos);
    return;
  }
  // Positions handed out over part of the store would meet those of the classes the tree does not
  // show, and their sub-classes would then load under other classes.
  if (!arbolCompleto_) {
    Avisa(publico_, *this, avisos::kGrabarArbolIncompleto);
    return;
  }
  BusyPointer ocupado(Runtime());
  if (nodos.Item(kClaveRaiz).Children() > 0) {
    try {
      // Declined, nothing is written and the reload shows the other administrators' work.
      if (const auto acordada = EstructuraAcordada()) {
        Historial historial = HistorialDeSesion(publico_);
        RunInTransaction(Conexion(), [&] {
          RegistraMovimientos(historial, *acordada,
                              NuevoOrden(Conexion()).Graba(nodos.Item(kClaveRaiz), *acordada));
        });
      }
    } catch (const std::exception& e) {
      // Nothing of the new order was kept; the tree stays as arranged, so it can be saved again.
      ocupado.Restore();
      Avisa(publico_, *this, avisos::kGrabacionFallida, {e.what()});
      return;
    }
  }
  CargaArbol();
}

// The classes as stored now, once the user agrees to write over them when other administrators
// changed them since the load; none when the user would rather see their work first. Read before
// the transaction, so that none is open while the question waits.
std::optional<EstructuraDeClases> frmXEL02::EstructuraAcordada() {
  EstructuraDeClases actual = LeeEstructura(Conexion());
  if (CambioDesdeLaCarga(estructuraCargada_, actual) &&
      Avisa(publico_, *this, avisos::kAlmacenCambiado) != MsgCode::Ok) {
    return std::nullopt;
  }
  return actual;
}

}  // namespace xel
