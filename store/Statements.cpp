#include "store/Statements.h"

#include "platform/RuntimeError.h"
#include "platform/SearchText.h"
#include "store/ContenidoDelStore.h"
#include "store/Sql.h"

namespace xel::sql {

namespace {
using std::string;

// "SELECT * FROM tabla ": the start of every read of whole rows.
string TodoDe(const char* tabla) {
  return string("SELECT * FROM ") + tabla + " ";
}

// " columna = 'valor' ", the value quoted: the one filter of the single-row statements.
string Igual(const char* columna, const string& valor) {
  return string(columna) + " = '" + Quote(valor) + "' ";
}

// 1 where the column's value is NULL or equals its upper and its lower case as the column compares.
string SinCaso(const string& columna) {
  return "CASE WHEN " + columna + " IS NULL OR (" + columna + " = UPPER(" + columna + ") AND " +
         columna + " = LOWER(" + columna + ")) THEN 1 ELSE 0 END AS Xel_Sin_Caso";
}
}  // namespace

string ClasesRaiz() {
  return TodoDe(XEL_Clase_Variable) + "WHERE " + Igual(Cv_Padre, kPadreRaiz) + "ORDER BY " +
         Cv_Descripcion + " ";
}

string Subclases(const string& padre) {
  return TodoDe(XEL_Clase_Variable) + "WHERE " + Igual(Cv_Padre, padre) + "ORDER BY " + Cv_id + " ";
}

string VariablesDeClase(const string& clase) {
  return TodoDe(XEL_Configuracion) + "WHERE " + Igual(Cv_Cve_Clase_Variable, clase) + "ORDER BY " +
         Cf_Variable + " ";
}

string ClasesPorPosicion() {
  return string("SELECT ") + Cv_Cve_Clase_Variable + ", " + Cv_Id + ", " + Cv_Padre + ", " +
         Cv_Descripcion + ", RANK() OVER (ORDER BY " + Cv_Descripcion +
         ") AS Xel_Orden_Descripcion, " + SinCaso(Cv_Padre) + " FROM " + XEL_Clase_Variable +
         " ORDER BY " + Cv_id + " ";
}

string VariablesPorClave() {
  return string("SELECT ") + Cf_Variable + ", " + Cv_Cve_Clase_Variable + ", " +
         SinCaso(Cv_Cve_Clase_Variable) + " FROM " + XEL_Configuracion + " ORDER BY " +
         Cf_Variable + " ";
}

string TodasLasClases() {
  return TodoDe(XEL_Clase_Variable);
}

string TodasLasVariables() {
  return TodoDe(XEL_Configuracion);
}

string VariablePorClave(const string& clave) {
  return TodoDe(XEL_Configuracion) + "WHERE " + Igual(Cf_Variable, clave);
}

string ClasePorClave(const string& clave) {
  return TodoDe(XEL_Clase_Variable) + "WHERE " + Igual(Cv_Cve_Clase_Variable, clave);
}

string Bloqueando(const string& lectura, const char* tabla, SqlDialect dialect) {
  switch (dialect) {
    case SqlDialect::Sqlite:
      return lectura;
    case SqlDialect::PostgreSql:
      return lectura + " FOR UPDATE";
    case SqlDialect::SqlServer: {
      const string desde = string("FROM ") + tabla + " ";
      string bloqueada = lectura;
      if (size_t en = bloqueada.find(desde); en != string::npos) {
        bloqueada.insert(en + desde.size(), "WITH (UPDLOCK, ROWLOCK) ");
      }
      return bloqueada;
    }
  }
  return lectura;
}

string LugaresDeClases() {
  return string("SELECT ") + Cv_Cve_Clase_Variable + ", " + Cv_Id + ", " + Cv_Padre + " FROM " +
         XEL_Clase_Variable + " ";
}

string Busqueda(const string& texto, SqlDialect dialect) {
  const string funcion = (dialect == SqlDialect::SqlServer ? "dbo." : "") + string(kSearchFunction);
  const string buscado = Quote(texto);
  auto contiene = [&](const char* columna) {
    return funcion + "(" + columna + ", '" + buscado + "') = 1";
  };
  return string("SELECT ") + Cv_Cve_Clase_Variable + " AS Clave FROM " + XEL_Clase_Variable +
         " WHERE " + contiene(Cv_Cve_Clase_Variable) + " OR " + contiene(Cv_Descripcion) +
         " UNION ALL SELECT " + Cf_Variable + " FROM " + XEL_Configuracion + " WHERE " +
         contiene(Cf_Variable) + " OR " + contiene(Cf_Valor) + " OR " + contiene(Cf_Descripcion);
}

string AutoClave(const string& tabla, const string& campo, const Filtro& filtro1,
                 const Filtro& filtro2, const Filtro& filtro3) {
  const string& column = RequireIdentifier(campo);
  string text = "SELECT IsNull(MAX(" + column + "), 0) as Clave FROM " + RequireIdentifier(tabla) +
                " WHERE ISNUMERIC(" + column + ") = 1 ";
  for (const Filtro* filtro : {&filtro1, &filtro2, &filtro3}) {
    if (!filtro->columna.empty()) {
      text += " AND " + RequireIdentifier(filtro->columna) + " = '" + Quote(filtro->valor) + "'";
    }
  }
  return text;
}

// The dialog's four writes: a class or a variable, inserted or changed.
string InsertaClase(const string& clave, const string& padre, const string& id,
                    const string& descripcion) {
  return string("INSERT INTO ") + XEL_Clase_Variable + " (" + Cv_Cve_Clase_Variable + ", " +
         Cv_Padre + ", " + Cv_Id + ", " + Cv_Descripcion + ", " + Fecha_Ult_Modif + ") VALUES('" +
         Quote(clave) + "', '" + Quote(padre) + "', '" + Quote(id) + "', '" + Quote(descripcion) +
         "',getdate())";
}

string ActualizaClase(const string& clave, const string& descripcion) {
  return string("UPDATE ") + XEL_Clase_Variable + " SET    " + Cv_Descripcion + " = '" +
         Quote(descripcion) + "',   " + Fecha_Ult_Modif + " = getdate() WHERE " +
         Igual(Cv_Cve_Clase_Variable, clave);
}

string InsertaVariable(const string& clase, const string& clave, const string& valor,
                       const string& descripcion, const string& tipo) {
  return string("INSERT INTO ") + XEL_Configuracion + " (" + Cv_Cve_Clase_Variable + ", " +
         Cf_Variable + ", " + Cf_Valor + ", " + Cf_Descripcion + ", " + Cf_Tipo + "," +
         Fecha_Ult_Modif + " ) VALUES('" + Quote(clase) + "', '" + Quote(clave) + "', '" +
         Quote(valor) + "', '" + Quote(descripcion) + "','" + Quote(tipo) + "',getdate())";
}

string ActualizaVariable(const string& clave, const string& valor, const string& tipo,
                         const string& descripcion) {
  return string("UPDATE ") + XEL_Configuracion + " SET " + Cf_Valor + " = '" + Quote(valor) +
         "', " + Cf_Tipo + " = '" + Quote(tipo) + "', " + Cf_Descripcion + " = '" +
         Quote(descripcion) + "', " + Fecha_Ult_Modif + " = getdate() WHERE " +
         Igual(Cf_Variable, clave);
}

string BorraVariablesDeClase(const string& clase) {
  return string("DELETE FROM ") + XEL_Configuracion + " WHERE " +
         Igual(Cv_Cve_Clase_Variable, clase);
}

string BorraClase(const string& clase) {
  return string("DELETE FROM ") + XEL_Clase_Variable + " WHERE " +
         Igual(Cv_Cve_Clase_Variable, clase);
}

string BorraVariable(const string& clave) {
  return string("DELETE FROM ") + XEL_Configuracion + " WHERE " + Igual(Cf_Variable, clave);
}

string PosicionDeClase(long posicion, long padre, const string& clase) {
  return string("UPDATE ") + XEL_Clase_Variable + " Set " + Cv_Id + " = '" +
         Quote(Format0000(posicion)) + "', " + Cv_Padre + " = '" + Quote(Format0000(padre)) +
         "' WHERE " + Igual(Cv_Cve_Clase_Variable, clase);
}

}  // namespace xel::sql
