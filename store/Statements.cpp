#include "store/Statements.h"

#include "platform/text/RuntimeError.h"
#include "platform/text/SearchText.h"
#include "store/Sql.h"

namespace xel::sql {

std::string ClasesRaiz() {
  return "SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = '0000' ORDER BY Cv_Descripcion ";
}

std::string Subclases(const std::string& padre) {
  return "SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = '" + Quote(padre) + "' ORDER BY Cv_id ";
}

std::string VariablesDeClase(const std::string& clase) {
  return "SELECT * FROM XEL_Configuracion WHERE Cv_Cve_Clase_Variable = '" + Quote(clase) +
         "' ORDER BY Cf_Variable ";
}

namespace {
// 1 where the column's value is NULL or equals its upper and its lower case as the column compares.
std::string SinCaso(const std::string& columna) {
  return "CASE WHEN " + columna + " IS NULL OR (" + columna + " = UPPER(" + columna + ") AND " +
         columna + " = LOWER(" + columna + ")) THEN 1 ELSE 0 END AS Xel_Sin_Caso";
}
}  // namespace

std::string ClasesPorPosicion() {
  return "SELECT Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion, RANK() OVER (ORDER BY "
         "Cv_Descripcion) AS Xel_Orden_Descripcion, " +
         SinCaso(Cv_Padre) + " FROM XEL_Clase_Variable ORDER BY Cv_id ";
}

std::string VariablesPorClave() {
  return "SELECT Cf_Variable, Cv_Cve_Clase_Variable, " + SinCaso(Cv_Cve_Clase_Variable) +
         " FROM XEL_Configuracion ORDER BY Cf_Variable ";
}

std::string TodasLasClases() {
  return "SELECT * FROM XEL_Clase_Variable ";
}

std::string TodasLasVariables() {
  return "SELECT * FROM XEL_Configuracion ";
}

std::string VariablePorClave(const std::string& clave) {
  return "SELECT * FROM XEL_Configuracion WHERE Cf_Variable = '" + Quote(clave) + "' ";
}

std::string ClasePorClave(const std::string& clave) {
  return "SELECT * FROM XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable = '" + Quote(clave) + "' ";
}

std::string Bloqueando(const std::string& lectura, const char* tabla, SqlDialect dialect) {
  switch (dialect) {
    case SqlDialect::Sqlite:
      return lectura;
    case SqlDialect::PostgreSql:
      return lectura + " FOR UPDATE";
    case SqlDialect::SqlServer: {
      const std::string desde = std::string("FROM ") + tabla + " ";
      std::string bloqueada = lectura;
      if (size_t en = bloqueada.find(desde); en != std::string::npos) {
        bloqueada.insert(en + desde.size(), "WITH (UPDLOCK, ROWLOCK) ");
      }
      return bloqueada;
    }
  }
  return lectura;
}

std::string LugaresDeClases() {
  return "SELECT Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre FROM XEL_Clase_Variable ";
}

std::string Busqueda(const std::string& texto, SqlDialect dialect) {
  const std::string funcion =
      (dialect == SqlDialect::SqlServer ? "dbo." : "") + std::string(kSearchFunction);
  const std::string buscado = Quote(texto);
  auto contiene = [&](const char* columna) {
    return funcion + "(" + columna + ", '" + buscado + "') = 1";
  };
  return "SELECT Cv_Cve_Clase_Variable AS Clave FROM XEL_Clase_Variable WHERE " +
         contiene(Cv_Cve_Clase_Variable) + " OR " + contiene(Cv_Descripcion) +
         " UNION ALL SELECT Cf_Variable FROM XEL_Configuracion WHERE " + contiene(Cf_Variable) +
         " OR " + contiene(Cf_Valor) + " OR " + contiene(Cf_Descripcion);
}

std::string AutoClave(const std::string& tabla, const std::string& campo, const Filtro& filtro1,
                      const Filtro& filtro2, const Filtro& filtro3) {
  const std::string& column = RequireIdentifier(campo);
  std::string text = "SELECT IsNull(MAX(" + column + "), 0) as Clave FROM " +
                     RequireIdentifier(tabla) + " WHERE ISNUMERIC(" + column + ") = 1 ";
  for (const Filtro* filtro : {&filtro1, &filtro2, &filtro3}) {
    if (!filtro->columna.empty()) {
      text += " AND " + RequireIdentifier(filtro->columna) + " = '" + Quote(filtro->valor) + "'";
    }
  }
  return text;
}

// The dialog's four writes: a class or a variable, inserted or changed.
std::string InsertaClase(const std::string& clave, const std::string& padre, const std::string& id,
                         const std::string& descripcion) {
  return "INSERT INTO XEL_Clase_Variable ("
         "Cv_Cve_Clase_Variable, "
         "Cv_Padre, "
         "Cv_Id, "
         "Cv_Descripcion, "
         "Fecha_Ult_Modif"
         ") VALUES("
         "'" +
         Quote(clave) + "', '" + Quote(padre) + "', '" + Quote(id) + "', '" + Quote(descripcion) +
         "',"
         "getdate())";
}

std::string ActualizaClase(const std::string& clave, const std::string& descripcion) {
  return "UPDATE XEL_Clase_Variable SET "
         "   Cv_Descripcion = '" +
         Quote(descripcion) +
         "',"
         "   Fecha_Ult_Modif = getdate() "
         "WHERE Cv_Cve_Clase_Variable = '" +
         Quote(clave) + "' ";
}

std::string InsertaVariable(const std::string& clase, const std::string& clave,
                            const std::string& valor, const std::string& descripcion,
                            const std::string& tipo) {
  return "INSERT INTO XEL_Configuracion ("
         "Cv_Cve_Clase_Variable, "
         "Cf_Variable, "
         "Cf_Valor, "
         "Cf_Descripcion, "
         "Cf_Tipo,"
         "Fecha_Ult_Modif "
         ") VALUES("
         "'" +
         Quote(clase) + "', '" + Quote(clave) + "', '" + Quote(valor) + "', '" +
         Quote(descripcion) + "','" + Quote(tipo) + "',getdate())";
}

std::string ActualizaVariable(const std::string& clave, const std::string& valor,
                              const std::string& tipo, const std::string& descripcion) {
  return "UPDATE XEL_Configuracion SET "
         "Cf_Valor = '" +
         Quote(valor) +
         "', "
         "Cf_Tipo = '" +
         Quote(tipo) +
         "', "
         "Cf_Descripcion = '" +
         Quote(descripcion) +
         "', "
         "Fecha_Ult_Modif = getdate() "
         "WHERE Cf_Variable = '" +
         Quote(clave) + "' ";
}

std::string BorraVariablesDeClase(const std::string& clase) {
  return "DELETE FROM XEL_Configuracion WHERE Cv_Cve_Clase_Variable = '" + Quote(clase) + "' ";
}

std::string BorraClase(const std::string& clase) {
  return "DELETE FROM XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable = '" + Quote(clase) + "' ";
}

std::string BorraVariable(const std::string& clave) {
  return "DELETE FROM XEL_Configuracion WHERE Cf_Variable = '" + Quote(clave) + "' ";
}

std::string PosicionDeClase(long posicion, long padre, const std::string& clase) {
  return "UPDATE XEL_Clase_Variable Set Cv_Id = '" + Quote(Format0000(posicion)) +
         "', Cv_Padre = '" + Quote(Format0000(padre)) + "' WHERE Cv_Cve_Clase_Variable = '" +
         Quote(clase) + "' ";
}

}  // namespace xel::sql
