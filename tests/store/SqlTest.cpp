#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Sql.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TempStore.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::TempStore;

struct QuoteTest : ::testing::Test {
  TempStore store;
  Connection& db = store.Db();

  void InsertVariable(const std::string& key, const std::string& value) {
    db.Execute("INSERT INTO XEL_Configuracion (Cf_Variable, Cf_Valor) VALUES('" + Quote(key) +
               "', '" + Quote(value) + "')");
  }
  std::vector<std::string> ValuesWhereKeyIs(const std::string& key) {
    std::vector<std::string> values;
    auto rs =
        db.Execute("SELECT * FROM XEL_Configuracion WHERE Cf_Variable = '" + Quote(key) + "' ");
    for (; !rs->Eof(); rs->MoveNext()) {
      values.push_back(rs->Field(sql::Cf_Valor).Text());
    }
    return values;
  }
};

const std::vector<std::string> kHostileValues = {
    "O'Brien",
    "''",
    "'",
    "'; DROP TABLE XEL_Configuracion; --",
    "' OR '1'='1",
    "x' , 'y') --",
    "C:\\ruta\\final\\",
    "\\'",
    "/* nada */ -- tampoco",
    "línea\nsiguiente\tcon tabulador",
    "Facturación “electrónica” – ‘año’",
    "🚀 cohete 👩‍💻",
    "IsNull(x, 0)",
};

TEST_F(QuoteTest, HostileValuesGoInAndComeBackByteForByte) {
  InsertVariable("OTRA", "sin cambios");
  for (size_t i = 0; i < kHostileValues.size(); ++i) {
    const std::string& hostile = kHostileValues[i];
    InsertVariable(hostile, hostile + "#" + std::to_string(i));
    EXPECT_EQ(ValuesWhereKeyIs(hostile),
              std::vector<std::string>{hostile + "#" + std::to_string(i)})
        << hostile;
    db.Execute("UPDATE XEL_Configuracion SET Cf_Valor = '" + Quote(hostile) +
               "' WHERE Cf_Variable = '" + Quote(hostile) + "' ");
    EXPECT_EQ(db.RecordsAffected(), 1) << hostile;
    EXPECT_EQ(ValuesWhereKeyIs(hostile), std::vector<std::string>{hostile});
  }
  EXPECT_EQ(ValuesWhereKeyIs("OTRA"), std::vector<std::string>{"sin cambios"});
  auto count = db.Execute("SELECT count(*) AS n FROM XEL_Configuracion");
  EXPECT_EQ(count->Field("n").AsLong(), static_cast<long>(kHostileValues.size()) + 1);
}

TEST_F(QuoteTest, DoublesQuotesOnlyAndRefusesNul) {
  EXPECT_EQ(Quote("O'Brien"), "O''Brien");
  EXPECT_EQ(Quote("''"), "''''");
  EXPECT_EQ(Quote("sin comillas \\ \""), "sin comillas \\ \"");
  RuntimeError refused = FailureOf([] { Quote(std::string("a\0b", 3)); });
  EXPECT_EQ(refused.Number(), err::InvalidProcedureCall);
  EXPECT_NE(refused.Description().find("NUL"), std::string::npos);
}

TEST(SqlNamesTest, PlainIdentifiersAreLettersDigitsAndUnderscores) {
  for (const char* name : {"Cv_id", "XEL_Clase_Variable", "_x", "a1"}) {
    EXPECT_TRUE(IsPlainIdentifier(name)) << name;
  }
  for (const char* name : {"", "1a", "Cv id", "a;b", "a'", "x--", "[a]", "\"a\"", "ñ", "a.b"}) {
    EXPECT_FALSE(IsPlainIdentifier(name)) << name;
  }
}

TEST(SqlNamesTest, Format0000PadsToFourDigitsKeepingTheSign) {
  EXPECT_EQ(Format0000(0), "0000");
  EXPECT_EQ(Format0000(7), "0007");
  EXPECT_EQ(Format0000(12), "0012");
  EXPECT_EQ(Format0000(12345), "12345");
  EXPECT_EQ(Format0000(-7), "-0007");
  EXPECT_EQ(Format0000(2147483647), "2147483647");
}

}  // namespace
}  // namespace xel
