#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Sql.h"
#include "tests/support/FailureOf.h"
#include "tests/support/StoreTest.h"

namespace xel {
namespace {

using testing::FailureOf;

struct QuoteTest : testing::StoreTest {
  void InsertVariable(const std::string& key, const std::string& value) {
    Db().Execute("INSERT INTO XEL_Configuracion (Cf_Variable, Cf_Valor) VALUES('" + Quote(key) +
                 "', '" + Quote(value) + "')");
  }
  std::vector<std::string> ValuesWhereKeyIs(const std::string& key) {
    std::vector<std::string> values;
    auto rs =
        Db().Execute("SELECT * FROM XEL_Configuracion WHERE Cf_Variable = '" + Quote(key) + "' ");
    for (; !rs->Eof(); rs->MoveNext()) {
      values.push_back(rs->Field(sql::Cf_Valor).Text());
    }
    return values;
  }
};

// clang-format off
const std::vector<std::string> kHostileValues = {
    "O'Brien", "''", "'", "'; DROP TABLE XEL_Configuracion; --", "' OR '1'='1", "x' , 'y') --",
    "C:\\ruta\\final\\", "\\'", "/* nada */ -- tampoco", "línea\nsiguiente\tcon tabulador",
    "Facturación “electrónica” – ‘año’", "🚀 cohete 👩‍💻", "IsNull(x, 0)", "? ?", "{fn user()}",
    "$$; DROP TABLE XEL_Configuracion; --", "E'\\'"};
// clang-format on

TEST_P(QuoteTest, HostileValuesGoInAndComeBackByteForByte) {
  InsertVariable("OTRA", "sin cambios");
  for (size_t i = 0; i < kHostileValues.size(); ++i) {
    const std::string& hostile = kHostileValues[i];
    InsertVariable(hostile, hostile + "#" + std::to_string(i));
    EXPECT_EQ(ValuesWhereKeyIs(hostile),
              std::vector<std::string>{hostile + "#" + std::to_string(i)})
        << hostile;
    Db().Execute("UPDATE XEL_Configuracion SET Cf_Valor = '" + Quote(hostile) +
                 "' WHERE Cf_Variable = '" + Quote(hostile) + "' ");
    EXPECT_EQ(Db().RecordsAffected(), 1) << hostile;
    EXPECT_EQ(ValuesWhereKeyIs(hostile), std::vector<std::string>{hostile});
  }
  EXPECT_EQ(ValuesWhereKeyIs("OTRA"), std::vector<std::string>{"sin cambios"});
  auto count = Db().Execute("SELECT count(*) AS n FROM XEL_Configuracion");
  EXPECT_EQ(count->Field("n").AsLong(), static_cast<long>(kHostileValues.size()) + 1);
}

TEST(QuoteRuleTest, DoublesQuotesOnlyAndRefusesNul) {
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

XEL_ON_EVERY_BACKEND(QuoteTest);

}  // namespace
}  // namespace xel
