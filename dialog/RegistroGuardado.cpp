#include "dialog/RegistroGuardado.h"

#include "store/Sql.h"
#include "store/Statements.h"

namespace xel {

namespace {
// A column's text; NULL, or a column the store lacks, reads as the empty text.
std::string Columna(const Recordset& fila, const char* nombre) {
  try {
    return fila.Field(nombre).Text();
  } catch (const RuntimeError& e) {
    if (e.Number() != err::ItemNotFound) {
      throw;
    }
    return {};
  }
}
}  // namespace

Historial HistorialDeSesion(Publico& publico) {
  Connection& conexion = publico.Session().Conexion();
  if (!publico.conHistorial) {
    publico.conHistorial = TieneHistorial(conexion);
  }
  return Historial(conexion, publico.Session().Usuario(), *publico.conHistorial);
}

RegistroGuardado LeeRegistro(Connection& conexion, bool esClase, const std::string& clave,
                             bool bloquea) {
  std::string lectura = esClase ? sql::ClasePorClave(clave) : sql::VariablePorClave(clave);
  if (bloquea) {
    lectura = sql::Bloqueando(lectura, esClase ? sql::XEL_Clase_Variable : sql::XEL_Configuracion,
                              conexion.Dialect());
  }
  auto fila = conexion.Execute(lectura, -1);
  RegistroGuardado registro;
  if (!fila->Eof()) {
    registro.existe = true;
    registro.fecha = Columna(*fila, sql::Fecha_Ult_Modif);
    if (esClase) {
      registro.valor = Columna(*fila, sql::Cv_Descripcion);
      registro.id = Columna(*fila, sql::Cv_Id);
      registro.padre = Columna(*fila, sql::Cv_Padre);
    } else {
      registro.valor = Columna(*fila, sql::Cf_Valor);
      registro.descripcion = Columna(*fila, sql::Cf_Descripcion);
      registro.tipo = Columna(*fila, sql::Cf_Tipo);
      registro.clase = Columna(*fila, sql::Cv_Cve_Clase_Variable);
    }
  }
  fila->Close();
  return registro;
}

}  // namespace xel
