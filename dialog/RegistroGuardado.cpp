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

RegistroGuardado LeeRegistro(Connection& conexion, bool esClase, const std::string& clave) {
  auto fila =
      conexion.Execute(esClase ? sql::ClasePorClave(clave) : sql::VariablePorClave(clave), -1);
  RegistroGuardado registro;
  if (!fila->Eof()) {
    registro.existe = true;
    registro.fecha = Columna(*fila, sql::Fecha_Ult_Modif);
    if (esClase) {
      registro.valor = Columna(*fila, sql::Cv_Descripcion);
      registro.id = Columna(*fila, sql::Cv_Id);
    } else {
      registro.valor = Columna(*fila, sql::Cf_Valor);
      registro.descripcion = Columna(*fila, sql::Cf_Descripcion);
      registro.tipo = Columna(*fila, sql::Cf_Tipo);
    }
  }
  fila->Close();
  return registro;
}

}  // namespace xel
