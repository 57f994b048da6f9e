#include "store/Schema.h"

#include "store/Sql.h"

namespace xel {
namespace {

constexpr const char* kSchemaStatements[] = {
    "CREATE TABLE IF NOT EXISTS XEL_Clase_Variable ("
    " Cv_Cve_Clase_Variable text COLLATE NOCASE NOT NULL PRIMARY KEY,"
    " Cv_Id text COLLATE NOCASE,"
    " Cv_Padre text COLLATE NOCASE,"
    " Cv_Descripcion text COLLATE NOCASE,"
    " Fecha_Ult_Modif text)",
    "CREATE TABLE IF NOT EXISTS XEL_Configuracion ("
    " Cf_Variable text COLLATE NOCASE NOT NULL PRIMARY KEY,"
    " Cf_Valor text,"
    " Cf_Descripcion text COLLATE NOCASE,"
    " Cf_Tipo text COLLATE NOCASE,"
    " Cv_Cve_Clase_Variable text COLLATE NOCASE,"
    " Fecha_Ult_Modif text)",
    "CREATE INDEX IF NOT EXISTS IX_XEL_Clase_Variable_Padre"
    " ON XEL_Clase_Variable (Cv_Padre, Cv_Id)",
    "CREATE INDEX IF NOT EXISTS IX_XEL_Configuracion_Clase"
    " ON XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable)",
};

bool HasTable(Connection& db, const char* table) {
  auto found = db.Execute("SELECT name FROM sqlite_master WHERE type = 'table' AND name = '" +
                          Quote(table) + "' COLLATE NOCASE");
  return !found->Eof();
}

}  // namespace

void CreateSchema(Connection& db) {
  RunInTransaction(db, [&] {
    for (const char* statement : kSchemaStatements) {
      db.Execute(statement);
    }
  });
}

std::vector<std::string> MissingTables(Connection& db) {
  std::vector<std::string> missing;
  for (const char* table : {sql::XEL_Clase_Variable, sql::XEL_Configuracion}) {
    if (!HasTable(db, table)) {
      missing.emplace_back(table);
    }
  }
  return missing;
}

bool HasSchema(Connection& db) {
  return MissingTables(db).empty();
}

}  // namespace xel
