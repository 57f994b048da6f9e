#include "editor/EstructuraDeClases.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <tuple>
#include <unordered_set>

#include "platform/Numeric.h"
#include "store/ContenidoDelStore.h"
#include "store/Sql.h"
#include "store/Statements.h"

namespace xel {

namespace {
using ClaseUbicada = EstructuraDeClases::value_type;

// The classes in the order a level of the tree loads them: by position, then by code.
std::vector<const ClaseUbicada*> PorPosicion(const EstructuraDeClases& estructura) {
  std::vector<const ClaseUbicada*> clases;
  clases.reserve(estructura.size());
  for (const ClaseUbicada& clase : estructura) {
    clases.push_back(&clase);
  }
  std::ranges::sort(clases, {},
                    [](const ClaseUbicada* c) { return std::tie(c->second.id, c->first); });
  return clases;
}

// Gives the classes a save did not number their new places, each after the class it hangs from.
class Ubicador {
 public:
  Ubicador(const EstructuraDeClases& actual, const std::vector<const ClaseUbicada*>& porPosicion,
           const std::unordered_map<std::string, long>& numeradas, long& contador)
      : actual_(actual), numeradas_(numeradas), contador_(contador) {
    for (const ClaseUbicada* clase : porPosicion) {
      codigoEnPosicion_.try_emplace(NumeroDePosicion(clase->second.id), clase->first);
    }
  }

  // The class's new position: the save's own, or the next one once its parent has one. While its
  // parents are being placed it is 0, so a class that hangs from its own descendants goes to the
  // top level.
  long Posicion(const std::string& codigo) {
    if (auto numerada = numeradas_.find(codigo); numerada != numeradas_.end()) {
      return numerada->second;
    }
    if (!ubicadas_.try_emplace(codigo, 0).second) {
      return ubicadas_.at(codigo);
    }
    const long padre = Padre(actual_.at(codigo));
    contador_ = SiguientePosicion(contador_);
    ubicadas_[codigo] = contador_;
    nuevas_.push_back({codigo, contador_, padre});
    return contador_;
  }

  std::vector<PosicionNueva> Nuevas() && { return std::move(nuevas_); }

 private:
  long Padre(const LugarDeClase& lugar) {
    if (!lugar.padre || *lugar.padre == kPadreRaiz) {
      return 0;
    }
    auto padre = codigoEnPosicion_.find(*lugar.padre);
    return padre == codigoEnPosicion_.end() ? 0 : Posicion(padre->second);
  }

  const EstructuraDeClases& actual_;
  const std::unordered_map<std::string, long>& numeradas_;
  long& contador_;
  std::unordered_map<std::string, std::string> codigoEnPosicion_;  // stored position → code
  std::unordered_map<std::string, long> ubicadas_;                 // code → new position
  std::vector<PosicionNueva> nuevas_;
};
}  // namespace

LugarDeClase LugarDeFila(const Recordset& fila) {
  const FieldValue padre = fila.Field(sql::Cv_Padre);
  return {fila.Field(sql::Cv_Id).Text(),
          padre.IsNull() ? std::nullopt : std::optional<std::string>(padre.Text())};
}

EstructuraDeClases LeeEstructura(Connection& conexion) {
  EstructuraDeClases estructura;
  auto filas = conexion.Execute(sql::LugaresDeClases(), -1);
  for (; !filas->Eof(); filas->MoveNext()) {
    estructura.emplace(filas->Field(sql::Cv_Cve_Clase_Variable).Text(), LugarDeFila(*filas));
  }
  filas->Close();
  return estructura;
}

long SiguientePosicion(long posicion) {
  if (posicion >= std::numeric_limits<std::int32_t>::max()) {
    throw RuntimeError(err::Overflow, "Overflow");
  }
  return posicion + 1;
}

bool CambioDesdeLaCarga(const EstructuraDeClases& cargada, const EstructuraDeClases& actual) {
  std::unordered_set<std::string> mostradas{kPadreRaiz};  // links under which a reload shows
  for (const auto& [codigo, lugar] : cargada) {
    auto ahora = actual.find(codigo);
    if (ahora == actual.end() || ahora->second != lugar) {
      return true;
    }
    mostradas.insert(NumeroDePosicion(lugar.id));
  }
  return std::ranges::any_of(actual, [&](const ClaseUbicada& clase) {
    const auto& [codigo, lugar] = clase;
    return !cargada.contains(codigo) && lugar.padre && mostradas.contains(*lugar.padre);
  });
}

std::vector<PosicionNueva> UbicaNoNumeradas(const EstructuraDeClases& actual,
                                            const std::unordered_map<std::string, long>& numeradas,
                                            long& contador) {
  const std::vector<const ClaseUbicada*> porPosicion = PorPosicion(actual);
  Ubicador ubicador(actual, porPosicion, numeradas, contador);
  for (const ClaseUbicada* clase : porPosicion) {
    ubicador.Posicion(clase->first);
  }
  return std::move(ubicador).Nuevas();
}

}  // namespace xel
