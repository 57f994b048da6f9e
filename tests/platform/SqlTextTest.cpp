// Reading statement texts as their server reads them: where a statement ends decides what runs,
// so every case here is one a hostile value could try.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/data/SqlText.h"
#include "platform/data/SqliteDialect.h"

namespace xel {
namespace {

using enum StatementCount;
using enum SqlDialect;

TEST(SqlTextTest, ASemicolonOutsideQuotesAndCommentsEndsAStatementInEveryDialect) {
  for (SqlDialect dialect : {Sqlite, PostgreSql, SqlServer}) {
    for (const char* one : {"SELECT 1", "SELECT 1;", " SELECT 1 ; ; -- done\n", "SELECT ';'",
                            "SELECT 'it''s; fine'", "SELECT \"a;b\" FROM t", "SELECT 1 -- ; x",
                            "SELECT 1 /* ; x */", "SELECT 'open ; DROP"}) {
      EXPECT_EQ(CountStatements(one, dialect), One) << one;
    }
    for (const char* several : {"SELECT 1; SELECT 2", "DELETE FROM t;DROP TABLE t",
                                "SELECT 'a'';'; DROP TABLE t", "SELECT 1 /* x */; x"}) {
      EXPECT_EQ(CountStatements(several, dialect), Several) << several;
    }
    for (const char* none : {"", "  \n\t", ";", "-- only a comment", "/* x */ ; ;"}) {
      EXPECT_EQ(CountStatements(none, dialect), None) << none;
    }
  }
}

TEST(SqlTextTest, EachDialectsOwnQuotesAndCommentsAreReadAsItsServerReadsThem) {
  const struct {
    SqlDialect dialect;
    const char* text;
    StatementCount count;
  } cases[] = {
      {PostgreSql, "SELECT e'a\\\\'; DROP TABLE t", Several},
      {PostgreSql, "SELECT $$a; b$$, $f$ ' ; $$ $f$", One},
      {PostgreSql, "SELECT $1; DROP TABLE t", Several},
      {PostgreSql, "SELECT a$b$; DROP TABLE t; --$b$", Several},
      {PostgreSql, "SELECT 1 /* outer /* inner */ ; still */", One},
      {PostgreSql, "SELECT a[1]; DROP TABLE t -- ]", Several},
      {SqlServer, "SELECT [a;]]b] FROM t", One},
      {SqlServer, "SELECT `a;b`", Several},
      {SqlServer, "SELECT 1 /* a /* b */ ; */", One},
      {Sqlite, "SELECT `a;b`, [c;d]", One},
      {Sqlite, "SELECT 1 /* a /* b */ ; */", Several},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountStatements(c.text, c.dialect), c.count) << c.text;
  }
}

TEST(SqliteDialectTest, CarriesIsNullCallsOnlyOutsideQuotesNamesAndComments) {
  const std::vector<std::pair<std::string, std::string>> carried = {
      {"SELECT IsNull(MAX(Cv_id), 0) as Clave", "SELECT ifnull(MAX(Cv_id), 0) as Clave"},
      {"SELECT isnull (a,b), ISNULL\n\t(c,d)", "SELECT ifnull (a,b), ifnull\n\t(c,d)"},
      {"SELECT 'a''', IsNull(b, '') FROM t", "SELECT 'a''', ifnull(b, '') FROM t"}};
  for (const auto& [text, carriedText] : carried) {
    EXPECT_EQ(CarryIsNullAsIfNull(text), carriedText);
  }
  for (const char* untouched :
       {"SELECT 'IsNull(' FROM t", "SELECT 'it''s IsNull(x)' FROM t", "SELECT \"IsNull(\" FROM t",
        "SELECT [IsNull(] FROM t", "SELECT a -- IsNull(b)\nFROM t",
        "SELECT a /* IsNull(b) */ FROM t", "SELECT MyIsNull(a), IsNullish(a), IsNull_(a) FROM t",
        "SELECT a FROM t WHERE a ISNULL", "SELECT 'unclosed IsNull("}) {
    EXPECT_EQ(CarryIsNullAsIfNull(untouched), untouched);
  }
}

// The statement cache binds what this lifts out; a marker must stand exactly where a value was.
TEST(SqliteDialectTest, LiftsQuotedTextsOutAsMarkersUnlessTheStatementCannotTakeThem) {
  std::string text = "SELECT * FROM T WHERE a = 'it''s' AND b = '?' -- 'c'\n AND \"n'\" = ''";
  EXPECT_EQ(LiftQuotedTexts(text), (std::vector<std::string>{"it's", "?", ""}));
  EXPECT_EQ(text, "SELECT * FROM T WHERE a = ? AND b = ? -- 'c'\n AND \"n'\" = ?");
  for (std::string statement : {"CREATE TABLE T (a TEXT DEFAULT 'x')",
                                "SELECT * FROM T WHERE a = ? AND b = 'y'", "SELECT 'unclosed"}) {
    const std::string before = statement;
    EXPECT_TRUE(LiftQuotedTexts(statement).empty()) << before;
    EXPECT_EQ(statement, before);
  }
}

}  // namespace
}  // namespace xel
