#include <gtest/gtest.h>

#include "host/StoreLookup.h"
#include "tests/support/FailureOf.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/TempStore.h"

namespace xel::testing {
namespace {

struct StoreLookupTest : ::testing::Test {
  TempStore store{TempStore::Contents::Schema};
  RecordingConnection db{store.Db()};
  StoreLookupTest() {
    store.Db().Execute(
        "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, Cf_Tipo) "
        "VALUES ('0001', 'O''Brien', '16', 'N'), ('0001', 'VACIA', NULL, 'T')");
  }
  std::string Find(const std::string& value, const std::string& column = "Cf_Valor") {
    return BuscarCampoEnStore(db, "XEL_Configuracion", "Cf_Variable", value, column);
  }
};

TEST_F(StoreLookupTest, FindsTheResultColumnOfTheMatchingRow) {
  EXPECT_EQ(Find("O'Brien"), "16");
  EXPECT_EQ(Find("O'Brien", "cf_tipo"), "N") << "column names without regard to case";
  EXPECT_EQ(Find("VACIA"), "") << "NULL reads as empty";
  EXPECT_EQ(Find("NADA"), "");
}

TEST_F(StoreLookupTest, TheSearchValueIsBoundAndNamesMustBeIdentifiers) {
  EXPECT_EQ(Find("x' OR '1'='1"), "");
  EXPECT_EQ(db.Statements().back(), "SELECT Cf_Valor FROM XEL_Configuracion WHERE Cf_Variable = ?");
  db.Clear();
  EXPECT_EQ(FailureOf([&] { Find("O'Brien", "Cf_Valor FROM XEL_Clase_Variable --"); }).Number(),
            err::InvalidProcedureCall);
  EXPECT_EQ(FailureOf([&] {
              BuscarCampoEnStore(db, "XEL_Configuracion;", "Cf_Variable", "x", "Cf_Valor");
            }).Number(),
            err::InvalidProcedureCall);
  EXPECT_TRUE(db.Statements().empty());
}

TEST_F(StoreLookupTest, AMissingTableIsTheDatabasesError) {
  EXPECT_EQ(FailureOf([&] {
              BuscarCampoEnStore(db, "XEL_No_Existe", "Cf_Variable", "x", "Cf_Valor");
            }).Number(),
            err::DatabaseError);
}

}  // namespace
}  // namespace xel::testing
