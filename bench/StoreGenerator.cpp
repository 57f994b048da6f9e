#include "bench/StoreGenerator.h"

#include <array>
#include <random>
#include <string>
#include <vector>

#include "store/Sql.h"

namespace xel::bench {

namespace {
constexpr std::array<const char*, 12> kAreas{
    "Ventas",    "Compras",   "Inventarios",  "Facturación", "Tesorería", "Nómina",
    "Seguridad", "Logística", "Contabilidad", "Crédito",     "Cobranza",  "Producción"};
constexpr std::array<const char*, 10> kTemas{"Parámetros", "Impuestos", "Descuentos", "Correo",
                                             "Reportes",   "Límites",   "Folios",     "Alertas",
                                             "Series",     "Cuentas"};
constexpr std::array<const char*, 8> kVariables{"TASA",   "LIMITE", "DIAS",   "RUTA",
                                                "ACTIVO", "FOLIO",  "CORREO", "SERIE"};
}  // namespace

void GenerateStore(Connection& db, StoreShape shape, unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  std::vector<int> depth(shape.classes + 1, 0);
  RunInTransaction(db, [&] {
    for (int code = 1; code <= shape.classes; ++code) {
      int parent = 0;
      if (code > 1 && pick(20) != 0) {
        parent = 1 + pick(code - 1);
        while (depth[parent] >= 3) {
          parent = 1 + pick(code - 1);
        }
      }
      depth[code] = parent == 0 ? 0 : depth[parent] + 1;
      std::string description = std::string(kAreas[pick(kAreas.size())]) + " - " +
                                kTemas[pick(kTemas.size())] + " " + std::to_string(code);
      db.Execute(
          "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, "
          "Cv_Descripcion, Fecha_Ult_Modif) VALUES (?, ?, ?, ?, getdate())",
          Connection::Parameters{Format0000(code), Format0000(code), Format0000(parent),
                                 description});
    }
    for (int n = 1; n <= shape.variables; ++n) {
      static constexpr std::array<const char*, 3> kTypes{"N", "B", "T"};
      const char* type = kTypes[n % 3];
      std::string value = n % 3 == 0   ? std::to_string(pick(10000))
                          : n % 3 == 1 ? std::to_string(pick(2))
                                       : "valor de ejemplo " + std::to_string(n);
      db.Execute(
          "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
          "Cf_Descripcion, Cf_Tipo, Fecha_Ult_Modif) VALUES (?, ?, ?, ?, ?, getdate())",
          Connection::Parameters{
              Format0000(1 + pick(shape.classes)),
              std::string(kVariables[n % kVariables.size()]) + "_" + std::to_string(n), value,
              "Descripción de la variable " + std::to_string(n), type});
    }
  });
}

}  // namespace xel::bench
