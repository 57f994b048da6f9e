#include "store/Importacion.h"

#include <algorithm>
#include <initializer_list>
#include <unordered_map>

#include "platform/text/Numeric.h"
#include "store/Json.h"
#include "store/LecturaDeArchivo.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "store/ValorPorTipo.h"

namespace xel {

namespace {

// A change shows at most this many characters of a text, so that a long value keeps it readable.
constexpr size_t kCaracteresMostrados = 200;

// The text's first 200 characters, with "…" after them when it goes on.
std::string Recortado(std::string_view texto) {
  size_t caracteres = 0;
  for (size_t i = 0; i < texto.size(); ++i) {
    bool iniciaCaracter = (static_cast<unsigned char>(texto[i]) & 0xC0) != 0x80;
    if (iniciaCaracter && caracteres++ == kCaracteresMostrados) {
      return std::string(texto.substr(0, i)) + "…";
    }
  }
  return std::string(texto);
}

// A text in JSON quotes, cut to its first 200 characters.
std::string Citado(std::string_view texto) {
  return TextoJson(Recortado(texto));
}

// A text as the user reads it in a change: as it is when plain, in JSON quotes when it is empty,
// has blanks at either end, quotes or control characters; cut to its first 200 characters.
std::string Legible(std::string_view texto) {
  bool simple = !texto.empty() && texto.front() != ' ' && texto.back() != ' ' &&
                std::ranges::none_of(
                    texto, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"'; });
  return simple ? Recortado(texto) : Citado(texto);
}

bool TieneNul(std::initializer_list<std::string_view> campos) {
  return std::ranges::any_of(
      campos, [](std::string_view campo) { return campo.find('\0') != std::string_view::npos; });
}

// Positions compare as the tree matches them to parent links.
std::string PosicionComparable(std::string_view posicion) {
  return ClaveComparable(NumeroDePosicion(posicion));
}

// Goes through a file's rows in order, keeping what the store and the rows before hold.
class Planificador {
 public:
  Planificador(const Contenido& store, const std::string& nombre) : nombre_(nombre) {
    posiciones_[kPadreRaiz] = "";
    for (const Clase& clase : store.clases) {
      clasesDelStore_[ClaveComparable(clase.codigo)] = &clase;
      clasesConocidas_[ClaveComparable(clase.codigo)] = clase.codigo;
      posiciones_.try_emplace(PosicionComparable(clase.posicion), clase.codigo);
    }
    for (const Variable& variable : store.variables) {
      variablesDelStore_[ClaveComparable(variable.clave)] = &variable;
    }
  }

  void RevisaClase(const Clase& fila) {
    auto falla = [&](const std::string& motivo) {
      throw ErrorDeArchivo(nombre_, fila.linea, motivo);
    };
    if (TieneNul({fila.codigo, fila.padre, fila.posicion, fila.descripcion})) {
      falla("a class record holds a NUL character");
    }
    std::string codigo(TrimBlanks(fila.codigo));
    if (codigo.empty()) {
      falla("a class needs a code");
    }
    std::string deClase = "class " + Legible(codigo);
    if (TrimBlanks(fila.descripcion).empty()) {
      falla(deClase + " needs a description");
    }
    UnaVezEnElArchivo(clasesEnArchivo_, codigo, fila.linea, deClase);
    if (auto enStore = clasesDelStore_.find(ClaveComparable(codigo));
        enStore != clasesDelStore_.end()) {
      ComparaClase(*enStore->second, fila, deClase);
      return;
    }
    if (TrimBlanks(fila.padre).empty() || TrimBlanks(fila.posicion).empty()) {
      falla(deClase + " needs a parent and a position");
    }
    if (!posiciones_.contains(ClaveComparable(fila.padre))) {
      falla(deClase + ": its parent " + Legible(fila.padre) +
            " is the position of no class in the store or earlier in the file");
    }
    if (auto ocupada = posiciones_.find(PosicionComparable(fila.posicion));
        ocupada != posiciones_.end()) {
      falla(deClase + ": the position " + Legible(fila.posicion) + " is taken by " +
            (ocupada->second.empty() ? "the top level" : "class " + Legible(ocupada->second)));
    }
    posiciones_[PosicionComparable(fila.posicion)] = codigo;
    clasesConocidas_[ClaveComparable(codigo)] = codigo;
    Agrega(Cambio::Tipo::InsertaClase, fila.linea,
           "insert " + deClase + " " + Citado(fila.descripcion) + " (parent " +
               Legible(fila.padre) + ", position " + Legible(fila.posicion) + ")",
           sql::InsertaClase(codigo, fila.padre, fila.posicion, fila.descripcion),
           {.accion = Accion::Alta,
            .entidad = Entidad::Clase,
            .clave = codigo,
            .clase = codigo,
            .clasePadre = ClaseEn(fila.padre),
            .despues = EstadoDeFila{"", fila.descripcion, "", fila.padre, fila.posicion}});
  }

  void RevisaVariable(const Variable& fila) {
    auto falla = [&](const std::string& motivo) {
      throw ErrorDeArchivo(nombre_, fila.linea, motivo);
    };
    if (TieneNul({fila.clase, fila.clave, fila.valor, fila.tipo, fila.descripcion})) {
      falla("a variable record holds a NUL character");
    }
    std::string clave(TrimBlanks(fila.clave));
    if (clave.empty()) {
      falla("a variable needs a key");
    }
    std::string deVariable = "variable " + Legible(clave);
    // A variable key is never a number, so that it never meets a class code in the tree.
    if (ReadsAsNumber(clave)) {
      falla(deVariable + ": a variable's key cannot be a number");
    }
    if (std::string rechazo = RechazoDeValor(fila.valor, fila.tipo); !rechazo.empty()) {
      falla(deVariable + ": " + rechazo);
    }
    UnaVezEnElArchivo(variablesEnArchivo_, clave, fila.linea, deVariable);
    auto clase = clasesConocidas_.find(ClaveComparable(TrimBlanks(fila.clase)));
    if (clase == clasesConocidas_.end()) {
      falla(deVariable + ": its class " + Legible(fila.clase) +
            " is neither in the store nor earlier in the file");
    }
    if (auto enStore = variablesDelStore_.find(ClaveComparable(clave));
        enStore != variablesDelStore_.end()) {
      ComparaVariable(*enStore->second, fila, clase->second, deVariable);
      return;
    }
    Agrega(Cambio::Tipo::InsertaVariable, fila.linea,
           "insert " + deVariable + " = " + Legible(fila.valor) + " (class " +
               Legible(clase->second) + ", type " + fila.tipo + ")",
           sql::InsertaVariable(clase->second, clave, fila.valor, fila.descripcion, fila.tipo),
           {.accion = Accion::Alta,
            .entidad = Entidad::Variable,
            .clave = clave,
            .clase = clase->second,
            .despues = EstadoDeFila{fila.valor, fila.descripcion, fila.tipo, "", ""}});
  }

  PlanDeImportacion Plan() && { return std::move(plan_); }

 private:
  void ComparaClase(const Clase& actual, const Clase& fila, const std::string& deClase) {
    if (ClaveComparable(actual.padre) != ClaveComparable(fila.padre) ||
        PosicionComparable(actual.posicion) != PosicionComparable(fila.posicion)) {
      throw ErrorDeArchivo(nombre_, fila.linea,
                           deClase + " is under " + Legible(actual.padre) + " at position " +
                               Legible(actual.posicion) + " in the store, not under " +
                               Legible(fila.padre) + " at " + Legible(fila.posicion) +
                               "; moving classes is the editor's job");
    }
    if (actual.descripcion == fila.descripcion) {
      ++plan_.sinCambio;
      return;
    }
    Agrega(
        Cambio::Tipo::ActualizaClase, fila.linea,
        "update " + deClase + ": " + Citado(actual.descripcion) + " -> " + Citado(fila.descripcion),
        sql::ActualizaClase(actual.codigo, fila.descripcion),
        {.accion = Accion::Cambio,
         .entidad = Entidad::Clase,
         .clave = actual.codigo,
         .clase = actual.codigo,
         .clasePadre = ClaseEn(actual.padre),
         .antes = EstadoDeFila{"", actual.descripcion, "", actual.padre, actual.posicion},
         .despues = EstadoDeFila{"", fila.descripcion, "", actual.padre, actual.posicion}});
  }

  void ComparaVariable(const Variable& actual, const Variable& fila, const std::string& clase,
                       const std::string& deVariable) {
    if (ClaveComparable(actual.clase) != ClaveComparable(clase)) {
      throw ErrorDeArchivo(nombre_, fila.linea,
                           deVariable + " is in class " + Legible(actual.clase) +
                               " in the store, not in " + Legible(clase) +
                               "; the import does not move variables");
    }
    std::string diferencias;
    // Compared whole, shown cut.
    auto difiere = [&](const std::string& antes, const std::string& despues, const std::string& que,
                       auto muestra) {
      if (antes != despues) {
        diferencias +=
            (diferencias.empty() ? "" : ", ") + que + muestra(antes) + " -> " + muestra(despues);
      }
    };
    difiere(actual.valor, fila.valor, "", Legible);
    difiere(actual.tipo, fila.tipo, "type ", Legible);
    difiere(actual.descripcion, fila.descripcion, "description ", Citado);
    if (diferencias.empty()) {
      ++plan_.sinCambio;
      return;
    }
    Agrega(Cambio::Tipo::ActualizaVariable, fila.linea, "update " + deVariable + ": " + diferencias,
           sql::ActualizaVariable(actual.clave, fila.valor, fila.tipo, fila.descripcion),
           {.accion = Accion::Cambio,
            .entidad = Entidad::Variable,
            .clave = actual.clave,
            .clase = actual.clase,
            .antes = EstadoDeFila{actual.valor, actual.descripcion, actual.tipo, "", ""},
            .despues = EstadoDeFila{fila.valor, fila.descripcion, fila.tipo, "", ""}});
  }

  // The code of the class at a position; empty for the top level or a position no class has.
  std::string ClaseEn(const std::string& posicion) const {
    auto clase = posiciones_.find(PosicionComparable(posicion));
    return clase == posiciones_.end() ? "" : clase->second;
  }

  // The store compares keys without regard to case, so a file cannot name one twice that way.
  void UnaVezEnElArchivo(std::unordered_map<std::string, long>& vistas, const std::string& clave,
                         long linea, const std::string& quien) {
    auto [anterior, nueva] = vistas.try_emplace(ClaveComparable(clave), linea);
    if (!nueva) {
      throw ErrorDeArchivo(nombre_, linea,
                           quien + " appears twice in the file (first on line " +
                               std::to_string(anterior->second) + ")");
    }
  }

  void Agrega(Cambio::Tipo tipo, long linea, std::string texto, std::string sentencia,
              EntradaDeHistorial entrada) {
    plan_.cambios.push_back(
        {tipo, linea, std::move(texto), std::move(sentencia), std::move(entrada)});
  }

  const std::string& nombre_;
  PlanDeImportacion plan_;
  std::unordered_map<std::string, const Clase*> clasesDelStore_;
  std::unordered_map<std::string, const Variable*> variablesDelStore_;
  // The classes a variable may belong to: the store's and the file's so far, by code.
  std::unordered_map<std::string, std::string> clasesConocidas_;
  // The positions taken, with the code of the class that has each ("" for the top level).
  std::unordered_map<std::string, std::string> posiciones_;
  std::unordered_map<std::string, long> clasesEnArchivo_;
  std::unordered_map<std::string, long> variablesEnArchivo_;
};

void Aplica(Historial& historial, const PlanDeImportacion& plan, const std::string& nombre) {
  Connection& db = historial.Db();
  for (const Cambio& cambio : plan.cambios) {
    try {
      db.Execute(cambio.sentencia);
      if (db.RecordsAffected() != 1) {
        throw RuntimeError(err::NoCurrentRecord,
                           "the store no longer holds this row; another user changed it "
                           "meanwhile");
      }
      historial.Registra(cambio.entrada);
    } catch (const RuntimeError& e) {
      throw ErrorDeArchivo(nombre, cambio.linea, e.Description());
    }
  }
}

}  // namespace

size_t PlanDeImportacion::Cuenta(Cambio::Tipo tipo) const {
  return static_cast<size_t>(
      std::ranges::count_if(cambios, [&](const Cambio& cambio) { return cambio.tipo == tipo; }));
}

PlanDeImportacion PlaneaImportacion(const Contenido& archivo, const Contenido& store,
                                    const std::string& nombre) {
  Planificador planificador(store, nombre);
  // The rows in the file's order, whichever kind each is.
  auto clase = archivo.clases.begin();
  auto variable = archivo.variables.begin();
  while (clase != archivo.clases.end() || variable != archivo.variables.end()) {
    if (variable == archivo.variables.end() ||
        (clase != archivo.clases.end() && clase->linea <= variable->linea)) {
      planificador.RevisaClase(*clase++);
    } else {
      planificador.RevisaVariable(*variable++);
    }
  }
  return std::move(planificador).Plan();
}

PlanDeImportacion Importa(Historial& historial, const Contenido& archivo, const std::string& nombre,
                          bool soloPlan) {
  Connection& db = historial.Db();
  if (soloPlan) {
    return PlaneaImportacion(archivo, LeeContenido(db), nombre);
  }
  PlanDeImportacion plan;
  RunInTransaction(db, [&] {
    plan = PlaneaImportacion(archivo, LeeContenido(db), nombre);
    Aplica(historial, plan, nombre);
  });
  return plan;
}

}  // namespace xel
