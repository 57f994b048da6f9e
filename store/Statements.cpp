#include "store/Statements.h"

#include "platform/RuntimeError.h"
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

}  // namespace xel::sql
