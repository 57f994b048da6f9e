// The key generator: the next free number of a numeric column.

#include <climits>
#include <exception>

#include "editor/frmXEL02.h"
#include "store/Statements.h"

namespace xel {

long frmXEL02::Get_AutoClave(const std::string& Tabla, const std::string& sCampoBusqueda,
                             const std::string& sKey1, const std::string& sValor1,
                             const std::string& sKey2, const std::string& sValor2,
                             const std::string& sKey3, const std::string& sValor3) {
  try {
    publico_.sSQL =
        sql::AutoClave(Tabla, sCampoBusqueda, {sKey1, sValor1}, {sKey2, sValor2}, {sKey3, sValor3});
    auto clave = Conexion().Execute(publico_.sSQL, -1);
    long siguiente = 1;
    if (!clave->Eof()) {
      long maximo = clave->Field("Clave").AsLong();
      if (maximo >= INT32_MAX) {
        throw RuntimeError(err::Overflow, "Overflow");
      }
      siguiente = maximo + 1;
    }
    clave->Close();
    return siguiente;
  } catch (const std::exception&) {
    // A proposal that cannot be made is 0; the caller shows it as "0000".
    return 0;
  }
}

}  // namespace xel
