#include "store/Hallazgos.h"

#include "store/ContenidoDelStore.h"
#include "store/Statements.h"

namespace xel {

namespace {

// Walks the tree's classes in order and gives the matches as the editor lists them: a class's
// variables come once its sub-classes are done, that is when a class of its level or above comes.
class Recorrido {
 public:
  explicit Recorrido(std::unordered_set<std::string> claves) : claves_(std::move(claves)) {}

  void Clase(const Arbol::Rama& rama) {
    CierraHasta(rama.nivel);
    std::string ruta =
        (abiertas_.empty() ? kTextoRaiz : abiertas_.back().ruta) + "/" + rama.clase.descripcion;
    if (claves_.contains(rama.clase.codigo)) {
      hallazgos_.push_back({Hallazgo::Tipo::Clase, ruta, rama.clase.codigo});
    }
    abiertas_.push_back({&rama, std::move(ruta)});
  }

  std::vector<Hallazgo> Fin() && {
    CierraHasta(0);
    return std::move(hallazgos_);
  }

 private:
  struct Abierta {
    const Arbol::Rama* rama;
    std::string ruta;
  };

  // Gives the variables of the open classes at that level or deeper, the deepest first.
  void CierraHasta(int nivel) {
    while (!abiertas_.empty() && abiertas_.back().rama->nivel >= nivel) {
      for (const Variable& variable : abiertas_.back().rama->variables) {
        if (claves_.contains(variable.clave)) {
          hallazgos_.push_back({Hallazgo::Tipo::Variable,
                                abiertas_.back().ruta + "/" + variable.clave, variable.clave});
        }
      }
      abiertas_.pop_back();
    }
  }

  std::unordered_set<std::string> claves_;
  std::vector<Abierta> abiertas_;
  std::vector<Hallazgo> hallazgos_;
};

}  // namespace

std::unordered_set<std::string> ClavesHalladas(Connection& db, const std::string& texto) {
  std::unordered_set<std::string> claves;
  auto filas = db.Execute(sql::Busqueda(texto, db.Dialect()), -1);
  for (; !filas->Eof(); filas->MoveNext()) {
    claves.insert(filas->Field("Clave").Text());
  }
  filas->Close();
  return claves;
}

std::vector<Hallazgo> Busca(Connection& db, const std::string& texto) {
  Recorrido recorrido(ClavesHalladas(db, texto));
  Arbol arbol(LeeContenido(db));
  for (const Arbol::Rama& rama : arbol.Ramas()) {
    recorrido.Clase(rama);
  }
  return std::move(recorrido).Fin();
}

}  // namespace xel
