// What every backend's connection does alike, on a store with the schema and the table t.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "store/Sql.h"
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::FailureOf;
using ::testing::HasSubstr;
using testing::Insert;
using testing::Keys;
using testing::ValueOf;
using Texts = std::vector<std::string>;

struct ConnectionTest : testing::TableTest {};

TEST_P(ConnectionTest, ReadsRowsForwardByColumnNameInAnyCaseAndTellsNullFromEmpty) {
  Insert(Db(), "a", "");
  Db().Execute("INSERT INTO t (k, v) VALUES ('b', NULL)");
  auto rs = Db().Execute("SELECT k AS Cv_Id, v FROM t ORDER BY k");
  EXPECT_EQ(rs->Field("CV_ID").Text(), "a");
  EXPECT_FALSE(rs->Field("V").IsNull());
  rs->MoveNext();
  EXPECT_TRUE(rs->Field("v").IsNull());
  EXPECT_EQ(rs->Field("v").Text(), "");
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());

  EXPECT_EQ(FailureOf([&] { rs->Field("v"); }).Number(), err::NoCurrentRecord);
  EXPECT_EQ(FailureOf([&] { rs->MoveNext(); }).Number(), err::NoCurrentRecord);
  EXPECT_EQ(FailureOf([&] { rs->Field("missing"); }).Number(), err::ItemNotFound);
  rs->Close();
  EXPECT_EQ(FailureOf([&] { rs->Eof(); }).Number(), err::ObjectClosed);
  EXPECT_EQ(ValueOf(Db(), "2.5"), "2.5");
}

TEST_P(ConnectionTest, TextsComeBackAsTypedWhetherBoundOrQuotedAndNeverChangeTheStatement) {
  // Long enough to be read in several parts, with emoji across the parts' ends.
  std::string longText;
  for (int i = 0; i < 1500; ++i) {
    longText += "año🚀x";
  }
  const Texts texts = {"Facturación ñÑ áéíóúü ¿¡ €",
                       "🚀 cohete 👩‍💻 中文 ελληνικά", longText,
                       "x'); DELETE FROM t; --", ""};
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string quoted = "q" + std::to_string(i), bound = "b" + std::to_string(i);
    Db().Execute("INSERT INTO t (k, v) VALUES ('" + quoted + "', '" + Quote(texts[i]) + "')");
    Db().Execute("INSERT INTO t (k, v) VALUES (?, ?)", {bound, texts[i]});
    for (const std::string& key : {quoted, bound}) {
      auto rs = Db().Execute("SELECT v FROM t WHERE k = ?", {key});
      EXPECT_FALSE(rs->Field("v").IsNull()) << key;
      EXPECT_EQ(rs->Field("v").Text(), texts[i]) << key;
    }
  }
  EXPECT_EQ(ValueOf(Db(), "count(*)", "FROM t"), std::to_string(2 * texts.size()));
  auto tooFew = [&] { Db().Execute("INSERT INTO t (k, v) VALUES (?, ?)", {"a"}); };
  EXPECT_EQ(FailureOf(tooFew).Description(), "The statement takes 2 values; 1 were given.");
}

TEST_P(ConnectionTest, CountsTheRowsOnlyWritingStatementsChange) {
  EXPECT_TRUE(
      Db().Execute("INSERT INTO t (k, v) VALUES ('a', 'x'), ('b', 'x'), ('c', 'y')")->Eof());
  EXPECT_EQ(Db().RecordsAffected(), 3);
  Db().Execute("UPDATE t SET v = 'z' WHERE v = 'x'");
  EXPECT_EQ(Db().RecordsAffected(), 2);
  Db().Execute("SELECT * FROM t");
  EXPECT_EQ(Db().RecordsAffected(), 0);
  Db().Execute("DELETE FROM t WHERE k = 'a'");
  Db().Execute("CREATE TABLE u (x text)");
  EXPECT_EQ(Db().RecordsAffected(), 0);
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

TEST_P(ConnectionTest, OthersSeeOnlyCommittedWorkAndEndingATransactionNeedsABegin) {
  EXPECT_EQ(FailureOf([&] { Db().CommitTrans(); }).Number(), err::NoTransaction);
  EXPECT_EQ(FailureOf([&] { Db().RollbackTrans(); }).Number(), err::NoTransaction);
  auto other = Store().OpenAnother();
  Db().BeginTrans();
  Insert(Db(), "undone", "x");
  EXPECT_EQ(FailureOf([&] { Db().BeginTrans(); }).Number(), err::DatabaseError);
  EXPECT_TRUE(Db().InTransaction());
  EXPECT_TRUE(Keys(*other).empty());
  Db().RollbackTrans();
  EXPECT_FALSE(Db().InTransaction());
  Db().BeginTrans();
  Insert(Db(), "kept", "x");
  Db().CommitTrans();
  Insert(Db(), "alone", "x");  // outside a transaction each statement commits by itself
  EXPECT_EQ(Keys(*other), (Texts{"alone", "kept"}));
}

TEST_P(ConnectionTest, AFailingStatementCarriesTheDatabaseMessageAndUndoesOnlyItself) {
  RuntimeError missing = FailureOf([&] { Db().Execute("SELECT * FROM missing"); });
  EXPECT_EQ(missing.Number(), err::DatabaseError);
  EXPECT_THAT(missing.Description(), HasSubstr(OnServer() ? "relation \"missing\" does not exist"
                                                          : "no such table: missing"));
  Db().BeginTrans();
  Insert(Db(), "a", "x");
  EXPECT_THAT(FailureOf([&] { Insert(Db(), "a", "y"); }).Description(),
              HasSubstr(OnServer() ? "duplicate key" : "UNIQUE constraint failed"));
  Insert(Db(), "b", "x");
  Db().CommitTrans();
  EXPECT_EQ(ValueOf(Db(), "v", "FROM t WHERE k = 'a'"), "x");
  EXPECT_EQ(Keys(Db()), (Texts{"a", "b"}));
}

// Work already in a transaction joins it, so that a caller can make several writes one.
TEST_P(ConnectionTest, RunInTransactionCommitsWorkOrRollsItBackWhole) {
  RunInTransaction(Db(), [&] {
    Insert(Db(), "a", "x");
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
  EXPECT_EQ(Keys(Db()), (Texts{"a", "b"}));
}

XEL_ON_EVERY_BACKEND(ConnectionTest);

}  // namespace
}  // namespace xel
