#include <gtest/gtest.h>

#include "host/StoreLookup.h"
#include "tests/support/FailureOf.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/TempStore.h"

namespace xel::testing {
namespace {

// The search value is bound; names must be identifiers.
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
  EXPECT_EQ(find("O'Brien", "cf_tipo"), "N") << "column names without regard to case";
  EXPECT_EQ(find("VACIA", "Cf_Valor") + find("x' OR '1'='1", "Cf_Valor"), "") << "NULL: empty";
  EXPECT_EQ(db.Statements().back(), "SELECT Cf_Valor FROM XEL_Configuracion WHERE Cf_Variable = ?");
  db.Clear();
  for (const auto& [table, column] :
       {std::pair{"XEL_Configuracion", "Cf_Valor FROM XEL_Clase_Variable --"},
        {"XEL_Configuracion;", "Cf_Valor"}}) {
    EXPECT_EQ(FailureOf([&] { find("x", column, table); }).Number(), err::InvalidProcedureCall)
        << table << column;
  }
  EXPECT_TRUE(db.Statements().empty()) << "a name that is not an identifier is never sent";
}

}  // namespace
}  // namespace xel::testing
