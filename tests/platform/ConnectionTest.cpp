// What every backend's connection does alike, on a store with the schema and the table t.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "store/Sql.h"
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

using ::testing::HasSubstr;
using Texts = std::vector<std::string>;

struct ConnectionTest : TableTest {};

TEST_P(ConnectionTest, ReadsRowsForwardByColumnNameInAnyCaseAndTellsNullFromEmpty) {
  Db().Execute("INSERT INTO t (k, v) VALUES ('a', ''), ('b', NULL)");
  auto rs = Db().Execute("SELECT k AS Cv_Id, v FROM t ORDER BY k");
  EXPECT_EQ(rs->Field("CV_ID").Text() + rs->Field("V").Text(), "a");
  EXPECT_FALSE(rs->Field("v").IsNull());
  rs->MoveNext();
  EXPECT_TRUE(rs->Field("v").IsNull());
  rs->MoveNext();
  EXPECT_EQ(FailureOf([&] { rs->MoveNext(); }).Number(), err::NoCurrentRecord);
  EXPECT_EQ(FailureOf([&] { rs->Field("missing"); }).Number(), err::ItemNotFound);
}

// Texts that mean something to a statement or an encoding, quoted and bound, come back byte for
// byte and never reach another row.
TEST_P(ConnectionTest, TextsComeBackAsTypedWhetherBoundOrQuotedAndNeverChangeTheStatement) {
  std::string longText;  // read in several parts, with emoji across the parts' ends
  for (int i = 0; i < 1500; ++i) {
    longText += "año🚀x";
  }
  // clang-format off
  const Texts texts = {"Facturación ñÑ €", "🚀 👩‍💻 中文 ελληνικά", longText, "", "O'Brien", "''",
      "x'); DELETE FROM t; --", "' OR '1'='1", "C:\\ruta\\", "\\'", "E'\\'", "/* x */ -- y",
      "línea\nsiguiente\t", "IsNull(x, 0)", "? ?", "{fn user()}", "$$; DELETE FROM t; --"};
  // clang-format on
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string quoted = "q" + std::to_string(i), bound = "b" + std::to_string(i);
    Db().Execute("INSERT INTO t (k, v) VALUES ('" + quoted + "', '" + Quote(texts[i]) + "')");
    Insert(Db(), bound, texts[i]);
    for (const std::string& key : {quoted, bound}) {
      auto rs = Db().Execute("SELECT v FROM t WHERE k = '" + Quote(key) + "'");
      EXPECT_FALSE(rs->Field("v").IsNull()) << key;
      EXPECT_EQ(rs->Field("v").Text(), texts[i]) << key;
    }
  }
  EXPECT_EQ(ValueOf(Db(), "count(*)", "FROM t"), std::to_string(2 * texts.size()));
  auto tooFew = [&] { Db().Execute("INSERT INTO t (k, v) VALUES (?, ?)", {"a"}); };
  EXPECT_EQ(FailureOf(tooFew).Number(), err::DatabaseError);
}

TEST_P(ConnectionTest, RunsOneStatementPerTextAndNothingOfALongerOne) {
  EXPECT_EQ(ValueOf(Db(), "1", "-- a closing comment\n"), "1");
  EXPECT_EQ(ValueOf(Db(), "';'", "; "), ";");
  Insert(Db(), "a", "x");
  for (const std::string& refused :
       Texts{"INSERT INTO t (k, v) VALUES ('x', 'y'); DROP TABLE t",
             "DELETE FROM t WHERE k = 'x'; DELETE FROM t",
             std::string("DELETE FROM t \0 WHERE k = 'x'", 29), "  ", "-- nothing\n;"}) {
    EXPECT_EQ(FailureOf([&] { Db().Execute(refused); }).Number(), err::DatabaseError) << refused;
  }
  EXPECT_EQ(Keys(Db()), Texts{"a"});
}

// Others see only committed work; a failing statement carries the database's words and undoes
// only itself; work already in a transaction joins it.
TEST_P(ConnectionTest, TransactionsCommitOrRollBackWholeAndNeedABegin) {
  EXPECT_EQ(FailureOf([&] { Db().CommitTrans(); }).Number(), err::NoTransaction);
  auto other = Store().OpenAnother();
  Db().BeginTrans();
  Insert(Db(), "undone", "x");
  EXPECT_EQ(FailureOf([&] { Db().BeginTrans(); }).Number(), err::DatabaseError);
  EXPECT_TRUE(Keys(*other).empty());
  Db().RollbackTrans();
  RunInTransaction(Db(), [&] {
    Insert(Db(), "a", "x");
    EXPECT_THAT(FailureOf([&] { Insert(Db(), "a", "y"); }).Description(),
                HasSubstr(OnServer() ? "duplicate key" : "UNIQUE constraint failed"));
    RunInTransaction(Db(), [&] { Insert(Db(), "b", "x"); });
  });
  auto failing = [&] {
    RunInTransaction(Db(), [&] {
      Insert(Db(), "c", "x");
      Insert(Db(), "a", "again");
    });
  };
  EXPECT_EQ(FailureOf(failing).Number(), err::DatabaseError);
  EXPECT_FALSE(Db().InTransaction());
  Insert(Db(), "d", "x");  // outside a transaction each statement commits by itself
  EXPECT_EQ(Keys(*other), (Texts{"a", "b", "d"}));
}

XEL_ON_EVERY_BACKEND(ConnectionTest);

}  // namespace
}  // namespace xel::testing
