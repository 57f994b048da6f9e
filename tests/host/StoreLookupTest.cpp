#include <gtest/gtest.h>

#include "host/StoreLookup.h"
#include "tests/support/FailureOf.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/TempStore.h"

namespace xel::testing {
namespace {

// The search value is bound; names must be identifiers, and a missing table is the database's
// error.
TEST(StoreLookupTest, FindsTheResultColumnOfTheMatchingRowWithTheValueBound) {
  TempStore store;
  store.Db().Execute(
      "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, Cf_Tipo) "
      "VALUES ('0001', 'O''Brien', '16', 'N'), ('0001', 'VACIA', NULL, 'T')");
  RecordingConnection db{store.Db()};
  auto find = [&](const std::string& value, const std::string& column,
                  const std::string& table = "XEL_Configuracion") {
    return BuscarCampoEnStore(db, table, "Cf_Variable", value, column);
  };
  EXPECT_EQ(find("O'Brien", "Cf_Valor"), "16");
  EXPECT_EQ(find("O'Brien", "cf_tipo"), "N") << "column names without regard to case";
  EXPECT_EQ(find("VACIA", "Cf_Valor") + find("x' OR '1'='1", "Cf_Valor"), "") << "NULL: empty";
  EXPECT_EQ(db.Statements().back(), "SELECT Cf_Valor FROM XEL_Configuracion WHERE Cf_Variable = ?");
  db.Clear();
  for (const auto& [table, column, number] :
       {std::tuple{"XEL_Configuracion", "Cf_Valor FROM XEL_Clase_Variable --",
                   err::InvalidProcedureCall},
        {"XEL_Configuracion;", "Cf_Valor", err::InvalidProcedureCall},
        {"XEL_No_Existe", "Cf_Valor", err::DatabaseError}}) {
    EXPECT_EQ(FailureOf([&] { find("x", column, table); }).Number(), number) << table << column;
  }
  EXPECT_EQ(db.Statements().size(), 1u) << "only the statement on a table that is not there";
}

}  // namespace
}  // namespace xel::testing
