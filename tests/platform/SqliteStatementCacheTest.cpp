// The SQLite store compiles each statement shape once, its quoted values lifted out and bound;
// what a statement means must not change by that.

#include <gtest/gtest.h>

#include "platform/SqliteDialect.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TempStore.h"

namespace xel::testing {
namespace {

TEST(LiftQuotedTexts, TurnsEachQuotedTextIntoAMarkerAndKeepsItsValue) {
  std::string text = "SELECT * FROM T WHERE a = 'it''s' AND b = '?' -- 'c'\n AND \"n'\" = ''";
  EXPECT_EQ(LiftQuotedTexts(text), (std::vector<std::string>{"it's", "?", ""}));
  EXPECT_EQ(text, "SELECT * FROM T WHERE a = ? AND b = ? -- 'c'\n AND \"n'\" = ?");
}

TEST(LiftQuotedTexts, LeavesOtherStatementsAndStatementsWithTheirOwnMarkersAlone) {
  for (std::string text : {"CREATE TABLE T (a TEXT DEFAULT 'x')",
                           "SELECT * FROM T WHERE a = ? "
                           "AND b = 'y'",
                           "SELECT 'unclosed"}) {
    std::string before = text;
    EXPECT_TRUE(LiftQuotedTexts(text).empty()) << before;
    EXPECT_EQ(text, before);
  }
}

TEST(SqliteStatementCache, StatementsThatDifferOnlyInValuesGiveEachTheirOwnRows) {
  TempStore store(TempStore::Contents::Empty);
  Connection& db = store.Db();
  db.Execute("CREATE TABLE T (k TEXT, v TEXT DEFAULT 'none')");
  for (std::string value : {"uno", "it''s", "a ? mark", "", "dos"}) {
    db.Execute("INSERT INTO T (k) VALUES ('" + value + "')");
  }
  db.Execute("UPDATE T SET v = 'it''s ' || k WHERE k = 'it''s'");
  for (std::string value : {"uno", "it''s", "a ? mark", "", "dos"}) {
    auto rows = db.Execute("SELECT k, v FROM T WHERE k = '" + value + "'");
    ASSERT_FALSE(rows->Eof()) << value;
    EXPECT_EQ(rows->Field("v").Text(), value == "it''s" ? "it's it's" : "none");
    rows->MoveNext();
    EXPECT_TRUE(rows->Eof());
  }
  auto literal = db.Execute("SELECT 'a' || 'b' AS x");
  EXPECT_EQ(literal->Field("x").Text(), "ab");
}

TEST(SqliteStatementCache, AFailedStatementLeavesItsCompiledFormReadyForTheNextUse) {
  TempStore store(TempStore::Contents::Empty);
  Connection& db = store.Db();
  db.Execute("CREATE TABLE T (k TEXT PRIMARY KEY)");
  db.Execute("INSERT INTO T (k) VALUES ('a')");
  EXPECT_EQ(FailureOf([&] { db.Execute("INSERT INTO T (k) VALUES ('a')"); }).Number(),
            err::DatabaseError);
  db.Execute("INSERT INTO T (k) VALUES ('b')");
  EXPECT_EQ(db.RecordsAffected(), 1);
  EXPECT_EQ(
      FailureOf([&] { db.Execute(std::string("SELECT * FROM T WHERE k = 'a\0b'", 31)); }).Number(),
      err::DatabaseError)
      << "a NUL inside a value is refused, lifted or not";
}

}  // namespace
}  // namespace xel::testing
