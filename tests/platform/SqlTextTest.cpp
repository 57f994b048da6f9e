#include <gtest/gtest.h>

#include <string>

#include "platform/SqlText.h"

namespace xel {
namespace {

constexpr SqlDialect kEveryDialect[] = {SqlDialect::Sqlite, SqlDialect::PostgreSql,
                                        SqlDialect::SqlServer};

StatementCount CountOn(SqlDialect dialect, const std::string& text) {
  return CountStatements(text, dialect);
}

TEST(SqlTextTest, ASemicolonOutsideQuotesAndCommentsEndsAStatement) {
  for (SqlDialect dialect : kEveryDialect) {
    for (const char* one : {"SELECT 1", "SELECT 1;", " SELECT 1 ; ; -- done\n", "SELECT ';'",
                            "SELECT 'it''s; fine'", "SELECT \"a;b\" FROM t", "SELECT 1 -- ; x",
                            "SELECT 1 /* ; x */", "SELECT 'open ; DROP"}) {
      EXPECT_EQ(CountOn(dialect, one), StatementCount::One) << one;
    }
    for (const char* several : {"SELECT 1; SELECT 2", "DELETE FROM t;DROP TABLE t",
                                "SELECT 'a'';'; DROP TABLE t", "SELECT 1 /* x */; x"}) {
      EXPECT_EQ(CountOn(dialect, several), StatementCount::Several) << several;
    }
    for (const char* none : {"", "  \n\t", ";", "-- only a comment", "/* x */ ; ;"}) {
      EXPECT_EQ(CountOn(dialect, none), StatementCount::None) << none;
    }
  }
}

TEST(SqlTextTest, PostgreSqlQuotingIsReadAsTheServerReadsIt) {
  auto pg = [](const std::string& text) { return CountOn(SqlDialect::PostgreSql, text); };
  EXPECT_EQ(pg("SELECT E'\\'; x'"), StatementCount::One);
  EXPECT_EQ(pg("SELECT e'a\\\\'; DROP TABLE t"), StatementCount::Several);
  // Not an escaped text: the E ends the word WHERE, and the backslash is a plain character.
  EXPECT_EQ(pg("SELECT 1 FROM t WHERE'\\'; DROP TABLE t; --'"), StatementCount::Several);
  EXPECT_EQ(pg("SELECT $$a; b$$, $f$ ' ; $$ $f$"), StatementCount::One);
  EXPECT_EQ(pg("SELECT $$ ' $$; DROP TABLE t; --'"), StatementCount::Several);
  EXPECT_EQ(pg("SELECT $1; DROP TABLE t"), StatementCount::Several);
  EXPECT_EQ(pg("SELECT a$b$; DROP TABLE t; --$b$"), StatementCount::Several);
  EXPECT_EQ(pg("SELECT 1 /* outer /* inner */ ; still */"), StatementCount::One);
  EXPECT_EQ(pg("SELECT a[1]; DROP TABLE t -- ]"), StatementCount::Several);
}

TEST(SqlTextTest, BracketsAndBackticksQuoteNamesWhereTheServerSaysSo) {
  EXPECT_EQ(CountOn(SqlDialect::SqlServer, "SELECT [a;]]b] FROM t"), StatementCount::One);
  EXPECT_EQ(CountOn(SqlDialect::SqlServer, "SELECT `a;b`"), StatementCount::Several);
  EXPECT_EQ(CountOn(SqlDialect::Sqlite, "SELECT `a;b`, [c;d]"), StatementCount::One);
  EXPECT_EQ(CountOn(SqlDialect::Sqlite, "SELECT 1 /* a /* b */ ; */"), StatementCount::Several);
  EXPECT_EQ(CountOn(SqlDialect::SqlServer, "SELECT 1 /* a /* b */ ; */"), StatementCount::One);
}

TEST(SqlTextTest, QuotedPiecesAndCommentsEndWhereTheyClose) {
  EXPECT_EQ(EndOfQuotedOrComment("'a''b' x", 0, SqlDialect::Sqlite), 6u);
  EXPECT_EQ(EndOfQuotedOrComment("-- c\nx", 0, SqlDialect::PostgreSql), 4u);
  EXPECT_EQ(EndOfQuotedOrComment("$t$ x $t$y", 0, SqlDialect::PostgreSql), 9u);
  EXPECT_EQ(EndOfQuotedOrComment("$t x", 0, SqlDialect::PostgreSql), 0u);
  EXPECT_EQ(EndOfQuotedOrComment("'unclosed", 0, SqlDialect::SqlServer), 9u);
  EXPECT_EQ(EndOfQuotedOrComment("x 'a'", 0, SqlDialect::Sqlite), 0u);
}

}  // namespace
}  // namespace xel
