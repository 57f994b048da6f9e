#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SqlText.h"
#include "store/Schema.h"
#include "store/Sql.h"
#include "tests/support/FailureOf.h"
#include "tests/support/StoreTest.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::TempStore;

struct SchemaTest : testing::StoreTest {
  void InsertClass(const std::string& code, const std::string& id, const std::string& parent,
                   const std::string& description = "x") {
    Db().Execute(
        "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Padre, Cv_Id, "
        "Cv_Descripcion, Fecha_Ult_Modif) VALUES('" +
        Quote(code) + "', '" + Quote(parent) + "', '" + Quote(id) + "', '" + Quote(description) +
        "',getdate())");
  }
  void InsertVariable(const std::string& key) {
    Db().Execute(
        "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
        "Cf_Descripcion, Cf_Tipo,Fecha_Ult_Modif ) VALUES('0001', '" +
        Quote(key) + "', '16', 'Tasa','N',getdate())");
  }
  std::string NextKeyBase(const std::string& filters = "") {
    auto rs = Db().Execute(
        "SELECT IsNull(MAX(Cv_id), 0) as Clave FROM XEL_Clase_Variable "
        "WHERE ISNUMERIC(Cv_id) = 1 " +
        filters);
    return rs->Field("Clave").Text();
  }
  std::vector<std::string> Column(const std::string& query, const char* column) {
    std::vector<std::string> values;
    for (auto rs = Db().Execute(query); !rs->Eof(); rs->MoveNext()) {
      values.push_back(rs->Field(column).Text());
    }
    return values;
  }
  std::string ValueOf(const std::string& expression) {
    return Db().Execute("SELECT " + expression + " AS r")->Field("r").Text();
  }
};

TEST_P(SchemaTest, CreatingTheSchemaMakesBothTablesAndKeepsRowsWhenRepeated) {
  auto bare = NewStore(TempStore::Contents::Empty);
  EXPECT_EQ(MissingTables(bare->Db()),
            (std::vector<std::string>{sql::XEL_Clase_Variable, sql::XEL_Configuracion}));
  EXPECT_FALSE(HasSchema(bare->Db()));

  EXPECT_TRUE(HasSchema(Db()));
  InsertClass("0001", "0001", "0000");
  CreateSchema(Db());
  EXPECT_FALSE(Db().InTransaction());
  EXPECT_EQ(NextKeyBase(), "0001");
}

TEST_P(SchemaTest, KeysAreUniqueAndFoundWithoutRegardToCaseButPositionsMayRepeat) {
  InsertClass("0001", "0005", "0000", "beta");
  InsertClass("0002", "0005", "0000", "Alfa");  // a store with a repeated position still loads
  InsertClass("0003", "0006", "0000", "GAMMA");
  EXPECT_EQ(FailureOf([&] { InsertClass("0001", "0007", "0000"); }).Number(), err::DatabaseError);
  EXPECT_EQ(Column("SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = '0000' ORDER BY "
                   "Cv_Descripcion ",
                   sql::Cv_Descripcion),
            (std::vector<std::string>{"Alfa", "beta", "GAMMA"}));

  InsertVariable("IVA");
  EXPECT_EQ(FailureOf([&] { InsertVariable("iva"); }).Number(), err::DatabaseError);
  EXPECT_EQ(Column("SELECT * FROM XEL_Configuracion WHERE Cf_Variable = 'Iva' ", sql::Cf_Variable),
            std::vector<std::string>{"IVA"});
  auto noKey = [&] { Db().Execute("INSERT INTO XEL_Configuracion (Cf_Valor) VALUES('1')"); };
  EXPECT_EQ(FailureOf(noKey).Number(), err::DatabaseError);
}

TEST_P(SchemaTest, KeyGeneratorStatementTakesTheLargestNumericPositionAsText) {
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

TEST_P(SchemaTest, IsNumericAndIsNullAnswerAsOnTheHostServer) {
  for (const char* number : {"'5'", "' -2.5e3 '", "'.5'", "'5.'", "'+1E+3'", "'007'"}) {
    EXPECT_EQ(ValueOf(std::string("ISNUMERIC(") + number + ")"), "1") << number;
  }
  for (const char* other :
       {"''", "' '", "'25A'", "'1e'", "'.'", "'-'", "'1 2'", "'0x1F'", "NULL"}) {
    EXPECT_EQ(ValueOf(std::string("ISNUMERIC(") + other + ")"), "0") << other;
  }
  InsertClass("0001", "0001", "0000", "");
  EXPECT_EQ(Column("SELECT IsNull(MAX(Cv_Padre), 'none') AS r FROM XEL_Clase_Variable "
                   "WHERE Cv_Id = 'missing'",
                   "r"),
            std::vector<std::string>{"none"});
  EXPECT_EQ(Column("SELECT IsNull(Cv_Descripcion, 'none') AS r FROM XEL_Clase_Variable", "r"),
            std::vector<std::string>{""});
}

TEST(SchemaStatementsTest, EachServerStatementStandsAlone) {
  for (SqlDialect dialect : {SqlDialect::Sqlite, SqlDialect::PostgreSql, SqlDialect::SqlServer}) {
    for (const std::string& statement : SchemaStatements(dialect)) {
      EXPECT_EQ(CountStatements(statement, dialect), StatementCount::One) << statement;
    }
  }
}

XEL_ON_EVERY_BACKEND(SchemaTest);

}  // namespace
}  // namespace xel
