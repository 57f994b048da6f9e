#include "store/ContenidoDelStore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

#include "platform/text/Numeric.h"
#include "store/Historial.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "store/ValorPorTipo.h"

namespace xel {

namespace {

char Minuscula(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Orders texts as the store sorts them, letter case aside; texts equal but for case by their bytes,
// so that the order never depends on the order the rows were read in.
bool Antes(std::string_view a, std::string_view b) {
  auto menor = [](char x, char y) {
    return static_cast<unsigned char>(Minuscula(x)) < static_cast<unsigned char>(Minuscula(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), menor)) {
    return true;
  }
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), menor)) {
    return false;
  }
  return a < b;
}

Clase ClaseDeFila(const Recordset& fila) {
  return {fila.Field(sql::Cv_Cve_Clase_Variable).Text(), fila.Field(sql::Cv_Padre).Text(),
          fila.Field(sql::Cv_Id).Text(), fila.Field(sql::Cv_Descripcion).Text()};
}

Variable VariableDeFila(const Recordset& fila) {
  return {fila.Field(sql::Cv_Cve_Clase_Variable).Text(), fila.Field(sql::Cf_Variable).Text(),
          fila.Field(sql::Cf_Valor).Text(), fila.Field(sql::Cf_Tipo).Text(),
          fila.Field(sql::Cf_Descripcion).Text()};
}

template <class Fila, class Leer>
std::vector<Fila> LeeFilas(Connection& db, const std::string& sentencia, Leer leer) {
  std::vector<Fila> filas;
  auto rs = db.Execute(sentencia);
  for (; !rs->Eof(); rs->MoveNext()) {
    filas.push_back(leer(*rs));
  }
  rs->Close();
  return filas;
}

// The indexes of the rows, grouped by a key of each row.
template <class Fila, class Clave>
std::unordered_map<std::string, std::vector<size_t>> Agrupa(const std::vector<Fila>& filas,
                                                            Clave clave) {
  std::unordered_map<std::string, std::vector<size_t>> grupos;
  for (size_t i = 0; i < filas.size(); ++i) {
    grupos[ClaveComparable(clave(filas[i]))].push_back(i);
  }
  return grupos;
}

}  // namespace

Contenido LeeContenido(Connection& db) {
  return {LeeFilas<Clase>(db, sql::TodasLasClases(), ClaseDeFila),
          LeeFilas<Variable>(db, sql::TodasLasVariables(), VariableDeFila)};
}

std::string ClaveComparable(std::string_view clave) {
  std::string comparable(clave);
  std::ranges::transform(comparable, comparable.begin(), Minuscula);
  return comparable;
}

Arbol::Arbol(Contenido contenido) {
  std::vector<Clase>& clases = contenido.clases;
  auto hijos = Agrupa(clases, [](const Clase& c) { return c.padre; });
  auto variables = Agrupa(contenido.variables, [](const Variable& v) { return v.clase; });
  std::vector<bool> alcanzada(clases.size(), false);

  // Depth first without recursion, so that a deep chain of classes cannot exhaust the stack. A
  // class is taken by the first parent that reaches it.
  struct Pendiente {
    size_t clase;
    int nivel;
    std::string ruta;
  };
  std::vector<Pendiente> pendientes;
  auto agregaHijos = [&](const std::string& numero, int nivel, const std::string& ruta,
                         bool porDescripcion) {
    auto grupo = hijos.find(ClaveComparable(numero));
    if (grupo == hijos.end()) {
      return;
    }
    std::vector<size_t> nuevos;
    for (size_t i : grupo->second) {
      if (!alcanzada[i]) {
        alcanzada[i] = true;
        nuevos.push_back(i);
      }
    }
    std::ranges::sort(nuevos, [&](size_t a, size_t b) {
      const Clase& x = clases[a];
      const Clase& y = clases[b];
      const std::string& ordenX = porDescripcion ? x.descripcion : x.posicion;
      const std::string& ordenY = porDescripcion ? y.descripcion : y.posicion;
      return ordenX != ordenY ? Antes(ordenX, ordenY) : Antes(x.codigo, y.codigo);
    });
    for (auto i = nuevos.rbegin(); i != nuevos.rend(); ++i) {
      pendientes.push_back(
          {*i, nivel, ruta.empty() ? clases[*i].codigo : ruta + "/" + clases[*i].codigo});
    }
  };

  agregaHijos(kPadreRaiz, 0, "", true);
  while (!pendientes.empty()) {
    Pendiente actual = std::move(pendientes.back());
    pendientes.pop_back();
    Rama rama{std::move(clases[actual.clase]), actual.nivel, std::move(actual.ruta), {}};
    if (auto propias = variables.find(ClaveComparable(rama.clase.codigo));
        propias != variables.end()) {
      for (size_t i : propias->second) {
        rama.variables.push_back(std::move(contenido.variables[i]));
      }
      variables.erase(propias);
      std::ranges::sort(rama.variables, [](const Variable& a, const Variable& b) {
        return Antes(a.clave, b.clave);
      });
    }
    agregaHijos(NumeroDePosicion(rama.clase.posicion), actual.nivel + 1, rama.ruta, false);
    ramas_.push_back(std::move(rama));
  }
  clasesFuera_ = static_cast<size_t>(std::ranges::count(alcanzada, false));
  for (const auto& [clase, huerfanas] : variables) {
    variablesFuera_ += huerfanas.size();
  }
}

Arbol Arbol::Subarbol(std::string_view codigo) const {
  std::string buscado = ClaveComparable(codigo);
  auto inicio = std::ranges::find_if(
      ramas_, [&](const Rama& rama) { return ClaveComparable(rama.clase.codigo) == buscado; });
  if (inicio == ramas_.end()) {
    throw RuntimeError(err::ItemNotFound,
                       "no class of the tree has the code \"" + std::string(codigo) + "\"");
  }
  auto fin = std::find_if(inicio + 1, ramas_.end(),
                          [&](const Rama& rama) { return rama.nivel <= inicio->nivel; });
  Arbol subarbol;
  subarbol.ramas_.assign(inicio, fin);
  return subarbol;
}

Contenido Arbol::ComoContenido() const {
  Contenido contenido;
  for (const Rama& rama : ramas_) {
    contenido.clases.push_back(rama.clase);
    contenido.variables.insert(contenido.variables.end(), rama.variables.begin(),
                               rama.variables.end());
  }
  return contenido;
}

Variable LeeVariable(Connection& db, const std::string& clave, bool bloquea) {
  std::string lectura = sql::VariablePorClave(clave);
  if (bloquea) {
    lectura = sql::Bloqueando(lectura, sql::XEL_Configuracion, db.Dialect());
  }
  auto encontradas = LeeFilas<Variable>(db, lectura, VariableDeFila);
  if (encontradas.empty()) {
    throw RuntimeError(err::ItemNotFound, "there is no variable \"" + clave + "\"");
  }
  return encontradas.front();
}

void CambiaValor(Historial& historial, const std::string& clave, const std::string& valor) {
  Connection& db = historial.Db();
  // Read and locked inside the transaction, so that the type checked is the type the row has
  // when written, and the entry's old value the one overwritten.
  RunInTransaction(db, [&] {
    Variable variable = LeeVariable(db, clave, true);
    if (std::string rechazo = RechazoDeValor(valor, variable.tipo); !rechazo.empty()) {
      throw RuntimeError(err::InvalidPropertyValue, variable.clave + ": " + rechazo);
    }
    db.Execute(sql::ActualizaVariable(variable.clave, valor, variable.tipo, variable.descripcion));
    if (db.RecordsAffected() != 1) {
      throw RuntimeError(err::NoCurrentRecord,
                         "the variable \"" + variable.clave + "\" is no longer in the store");
    }
    historial.Registra({.accion = Accion::Cambio,
                        .entidad = Entidad::Variable,
                        .clave = variable.clave,
                        .clase = variable.clase,
                        .antes = EstadoDeFila{variable.valor, variable.descripcion, variable.tipo},
                        .despues = EstadoDeFila{valor, variable.descripcion, variable.tipo}});
  });
}

}  // namespace xel
