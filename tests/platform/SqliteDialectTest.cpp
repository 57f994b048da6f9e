#include <gtest/gtest.h>

#include "platform/SqliteDialect.h"

namespace xel {
namespace {

TEST(SqliteDialectTest, CarriesIsNullCallsInAnyCaseAndSpacing) {
  EXPECT_EQ(CarryIsNullAsIfNull("SELECT IsNull(MAX(Cv_id), 0) as Clave FROM T "),
            "SELECT ifnull(MAX(Cv_id), 0) as Clave FROM T ");
  EXPECT_EQ(CarryIsNullAsIfNull("SELECT isnull (a,b), ISNULL\n\t(c,d)"),
            "SELECT ifnull (a,b), ifnull\n\t(c,d)");
}

TEST(SqliteDialectTest, LeavesQuotedTextNamesCommentsAndOtherWordsAlone) {
  for (const char* untouched : {
           "SELECT 'IsNull(' FROM t",
           "SELECT 'it''s IsNull(x)' FROM t",
           "SELECT \"IsNull(\" FROM t",
           "SELECT [IsNull(] FROM t",
           "SELECT a -- IsNull(b)\nFROM t",
           "SELECT a /* IsNull(b) */ FROM t",
           "SELECT MyIsNull(a), IsNullish(a), IsNull_(a) FROM t",
           "SELECT a FROM t WHERE a ISNULL",
           "SELECT 'unclosed IsNull(",
       }) {
    EXPECT_EQ(CarryIsNullAsIfNull(untouched), untouched);
  }
  EXPECT_EQ(CarryIsNullAsIfNull("SELECT 'a''', IsNull(b, '') FROM t"),
            "SELECT 'a''', ifnull(b, '') FROM t");
}

}  // namespace
}  // namespace xel
