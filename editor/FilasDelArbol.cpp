#include "editor/FilasDelArbol.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/data/BufferedRecordset.h"
#include "store/ContenidoDelStore.h"
#include "store/Sql.h"
#include "store/Statements.h"

namespace xel {

namespace {

class FilasDeConsultas : public FilasDelArbol {
 public:
  explicit FilasDeConsultas(std::function<Connection&()> conexion)
      : conexion_(std::move(conexion)) {}

  std::unique_ptr<Recordset> ClasesRaiz() override {
    return conexion_().Execute(sql::ClasesRaiz(), -1);
  }
  std::unique_ptr<Recordset> Subclases(const std::string& numeroPadre) override {
    return conexion_().Execute(sql::Subclases(numeroPadre), -1);
  }
  std::unique_ptr<Recordset> VariablesDeClase(const std::string& clase) override {
    return conexion_().Execute(sql::VariablesDeClase(clase), -1);
  }

 private:
  std::function<Connection&()> conexion_;
};

// The description's rank among all classes, as the server sorts descriptions.
constexpr char kOrdenDescripcion[] = "Xel_Orden_Descripcion";
// 0 where the server told the row's filtered value apart from its other letter case.
constexpr char kSinCaso[] = "Xel_Sin_Caso";

using Fila = BufferedRecordset::Row;

// The rows of one table as the load reads them, grouped by the column a per-class query filters on.
struct Tabla {
  explicit Tabla(std::vector<std::string> nombres) : columnas(std::move(nombres)) {}

  std::vector<std::string> columnas;
  std::vector<Fila> filas;
  std::unordered_map<std::string, std::vector<size_t>> grupos;  // comparable value → rows, in order

  // Reads every row of `sentencia`, in its order, grouped by `agrupa` unless NULL there.
  void Lee(Connection& conexion, const std::string& sentencia, const std::string& agrupa) {
    auto leidas = conexion.Execute(sentencia, -1);
    for (; !leidas->Eof(); leidas->MoveNext()) {
      Fila fila;
      for (const std::string& columna : columnas) {
        fila.push_back(leidas->Field(columna));
      }
      if (const FieldValue grupo = leidas->Field(agrupa); !grupo.IsNull()) {
        grupos[ClaveComparable(grupo.Text())].push_back(filas.size());
      }
      filas.push_back(std::move(fila));
    }
    leidas->Close();
  }

  std::vector<size_t> Grupo(const std::string& valor) const {
    auto grupo = grupos.find(ClaveComparable(valor));
    return grupo == grupos.end() ? std::vector<size_t>{} : grupo->second;
  }

  std::unique_ptr<Recordset> Filas(const std::vector<size_t>& cuales) const {
    std::vector<Fila> elegidas;
    elegidas.reserve(cuales.size());
    for (size_t i : cuales) {
      elegidas.push_back(filas[i]);
    }
    return std::make_unique<BufferedRecordset>(columnas, std::move(elegidas));
  }

  // Whether the server compared every value of the filtered column letter case aside.
  bool SinCaso() const {
    const size_t at = Columna(kSinCaso);
    return std::ranges::all_of(filas, [at](const Fila& fila) { return fila[at].AsLong() == 1; });
  }

  size_t Columna(std::string_view nombre) const {
    return static_cast<size_t>(std::ranges::find(columnas, nombre) - columnas.begin());
  }

  // Whether every value of the column is printable ASCII: letters whose case every server folds
  // alike, and no character a server's collation ignores or a statement cannot carry.
  bool Ascii(std::string_view columna) const {
    const size_t at = Columna(columna);
    return std::ranges::all_of(filas, [at](const Fila& fila) {
      return std::ranges::all_of(fila[at].Text(), [](char c) { return c >= ' ' && c <= '~'; });
    });
  }
};

class FilasEnMemoria : public FilasDelArbol {
 public:
  explicit FilasEnMemoria(Connection& conexion) {
    clases_.Lee(conexion, sql::ClasesPorPosicion(), sql::Cv_Padre);
    variables_.Lee(conexion, sql::VariablesPorClave(), sql::Cv_Cve_Clase_Variable);
  }

  // The top level's rows come by position; a stable sort by description keeps that order among
  // equal descriptions.
  std::unique_ptr<Recordset> ClasesRaiz() override {
    std::vector<size_t> raiz = clases_.Grupo(kPadreRaiz);
    const size_t orden = clases_.Columna(kOrdenDescripcion);
    std::ranges::stable_sort(raiz, {}, [&](size_t i) { return clases_.filas[i][orden].AsLong(); });
    return clases_.Filas(raiz);
  }
  std::unique_ptr<Recordset> Subclases(const std::string& numeroPadre) override {
    return clases_.Filas(clases_.Grupo(numeroPadre));
  }
  std::unique_ptr<Recordset> VariablesDeClase(const std::string& clase) override {
    return variables_.Filas(variables_.Grupo(clase));
  }

  // Whether the texts the rows are matched by compare here as on the server: printable ASCII, in
  // columns that compare letter case aside.
  bool Comparables() const {
    return clases_.Ascii(sql::Cv_Cve_Clase_Variable) && clases_.Ascii(sql::Cv_Id) &&
           clases_.Ascii(sql::Cv_Padre) && variables_.Ascii(sql::Cv_Cve_Clase_Variable) &&
           clases_.SinCaso() && variables_.SinCaso();
  }

 private:
  Tabla clases_{{sql::Cv_Cve_Clase_Variable, sql::Cv_Id, sql::Cv_Padre, sql::Cv_Descripcion,
                 kOrdenDescripcion, kSinCaso}};
  Tabla variables_{{sql::Cf_Variable, sql::Cv_Cve_Clase_Variable, kSinCaso}};
};

}  // namespace

std::unique_ptr<FilasDelArbol> FilasPorClase(std::function<Connection&()> conexion) {
  return std::make_unique<FilasDeConsultas>(std::move(conexion));
}

std::unique_ptr<FilasDelArbol> FilasEnBloque(Connection& conexion) {
  try {
    auto filas = std::make_unique<FilasEnMemoria>(conexion);
    return filas->Comparables() ? std::move(filas) : nullptr;
  } catch (const RuntimeError&) {
    return nullptr;  // the per-class queries meet the same fault and say so
  }
}

}  // namespace xel
