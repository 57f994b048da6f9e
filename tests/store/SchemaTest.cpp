#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Schema.h"
#include "store/Sql.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TempStore.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::TempStore;

struct SchemaTest : ::testing::Test {
  TempStore store;
  Connection& db = store.Db();

  void InsertClass(const std::string& code, const std::string& id, const std::string& parent) {
    db.Execute(
        "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Padre, Cv_Id, "
        "Cv_Descripcion, Fecha_Ult_Modif) VALUES('" +
        Quote(code) + "', '" + Quote(parent) + "', '" + Quote(id) + "', 'x',getdate())");
  }
  void InsertVariable(const std::string& key) {
    db.Execute(
        "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
        "Cf_Descripcion, Cf_Tipo,Fecha_Ult_Modif ) VALUES('0001', '" +
        Quote(key) + "', '16', 'Tasa','N',getdate())");
  }
  std::string NextKeyBase(const std::string& filters = "") {
    auto rs = db.Execute(
        "SELECT IsNull(MAX(Cv_id), 0) as Clave FROM XEL_Clase_Variable "
        "WHERE ISNUMERIC(Cv_id) = 1 " +
        filters);
    return rs->Field("Clave").Text();
  }
};

TEST_F(SchemaTest, CreatingTheSchemaMakesBothTablesAndKeepsRowsWhenRepeated) {
  TempStore bare{TempStore::Contents::Empty};
  EXPECT_EQ(MissingTables(bare.Db()),
            (std::vector<std::string>{sql::XEL_Clase_Variable, sql::XEL_Configuracion}));
  EXPECT_FALSE(HasSchema(bare.Db()));

  EXPECT_TRUE(HasSchema(db));
  InsertClass("0001", "0001", "0000");
  CreateSchema(db);
  EXPECT_FALSE(db.InTransaction());
  EXPECT_EQ(NextKeyBase(), "0001");
}

TEST_F(SchemaTest, KeysAreUniqueWithoutRegardToCaseButPositionsMayRepeat) {
  InsertClass("0001", "0005", "0000");
  InsertClass("0002", "0005", "0000");  // a store with a repeated position still loads
  EXPECT_EQ(FailureOf([&] { InsertClass("0001", "0006", "0000"); }).Number(), err::DatabaseError);

  InsertVariable("IVA");
  EXPECT_EQ(FailureOf([&] { InsertVariable("iva"); }).Number(), err::DatabaseError);
  auto noKey = [&] { db.Execute("INSERT INTO XEL_Configuracion (Cf_Valor) VALUES('1')"); };
  EXPECT_EQ(FailureOf(noKey).Number(), err::DatabaseError);
}

TEST_F(SchemaTest, KeyGeneratorStatementTakesTheLargestNumericPositionAsText) {
  EXPECT_EQ(NextKeyBase(), "0");
  InsertClass("0001", "0001", "0000");
  InsertClass("0002", "0007", "0003");
  InsertClass("0003", "A12", "0003");
  EXPECT_EQ(NextKeyBase(), "0007");
  EXPECT_EQ(NextKeyBase(" AND Cv_Padre = '0000'"), "0001");
  EXPECT_EQ(NextKeyBase(" AND Cv_Padre = '0009'"), "0");

  InsertClass("0004", "999", "0000");
  InsertClass("0005", "1000", "0000");
  EXPECT_EQ(NextKeyBase(), "999");  // text order, as the column holds text
}

}  // namespace
}  // namespace xel
