#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Database.h"
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"
#include "tests/support/StoreTest.h"

namespace xel {
namespace {

using testing::CreateTestTable;
using testing::FailureOf;
using ::testing::HasSubstr;
using testing::Insert;
using testing::Keys;

// What every backend's connection does alike, on a store with the schema and a table of its own.
struct ConnectionTest : testing::StoreTest {
  void SetUp() override {
    StoreTest::SetUp();
    if (!IsSkipped()) {
      CreateTestTable(Db());
    }
  }
  std::string ValueOf(const std::string& expression, const std::string& rest = "") {
    return testing::ValueOf(Db(), expression, rest);
  }
};

TEST_P(ConnectionTest, ReadsRowsForwardByColumnNameInAnyCase) {
  Insert(Db(), "a", "uno");
  Insert(Db(), "b", "dos");
  auto rs = Db().Execute("SELECT k AS Cv_Id, v FROM t ORDER BY k");
  EXPECT_EQ(rs->Field("cv_id").Text(), "a");
  EXPECT_EQ(rs->Field("CV_ID").Text(), "a");
  rs->MoveNext();
  EXPECT_EQ(rs->Field("V").Text(), "dos");
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());

  EXPECT_EQ(FailureOf([&] { rs->Field("v"); }).Number(), err::NoCurrentRecord);
  EXPECT_EQ(FailureOf([&] { rs->MoveNext(); }).Number(), err::NoCurrentRecord);
  EXPECT_EQ(FailureOf([&] { rs->Field("missing"); }).Number(), err::ItemNotFound);
  rs->Close();
  EXPECT_EQ(FailureOf([&] { rs->Eof(); }).Number(), err::ObjectClosed);
}

TEST_P(ConnectionTest, TellsNullApartFromEmptyTextAndGivesNumbersAsText) {
  Db().Execute("INSERT INTO t (k, v) VALUES ('null', NULL)");
  Insert(Db(), "empty", "");
  auto rs = Db().Execute("SELECT k, v FROM t ORDER BY k");
  EXPECT_FALSE(rs->Field("v").IsNull());
  EXPECT_EQ(rs->Field("v").Text(), "");
  rs->MoveNext();
  EXPECT_TRUE(rs->Field("v").IsNull());
  EXPECT_EQ(rs->Field("v").Text(), "");

  EXPECT_EQ(ValueOf("41"), "41");
  EXPECT_EQ(ValueOf("2.5"), "2.5");
  EXPECT_EQ(ValueOf("count(*)", "FROM t"), "2");
}

TEST_P(ConnectionTest, TextsComeBackAsTypedWhateverTheirCharactersAndLength) {
  // Long enough to be read in several parts, with emoji across the parts' ends.
  std::string longText;
  for (int i = 0; i < 1500; ++i) {
    longText += "año🚀x";
  }
  const std::vector<std::string> texts = {"Facturación electrónica", "ñÑ áéíóúü ¿¡ €",
                                          "🚀 cohete 👩‍💻", "中文 ελληνικά", longText};
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string key = "quoted" + std::to_string(i);
    Insert(Db(), key, texts[i]);
    EXPECT_EQ(ValueOf("v", "FROM t WHERE k = '" + key + "'"), texts[i]) << i;
    Db().Execute("INSERT INTO t (k, v) VALUES (?, ?)", {texts[i], texts[i]});
    auto bound = Db().Execute("SELECT v FROM t WHERE k = ?", {texts[i]});
    EXPECT_EQ(bound->Field("v").Text(), texts[i]) << i;
  }
}

TEST_P(ConnectionTest, BoundValuesNeverChangeTheStatement) {
  const std::string hostile = "x'); DELETE FROM t; --";
  Db().Execute("INSERT INTO t (k, v) VALUES (?, ?)", {"O'Brien", hostile});
  Db().Execute("INSERT INTO t (k, v) VALUES (?, ?)", {"vacío", ""});
  EXPECT_EQ(Db().Execute("SELECT v FROM t WHERE k = ?", {"O'Brien"})->Field("v").Text(), hostile);
  EXPECT_FALSE(Db().Execute("SELECT v FROM t WHERE k = ?", {"vacío"})->Field("v").IsNull());
  EXPECT_EQ(Keys(Db()), (std::vector<std::string>{"O'Brien", "vacío"}));

  RuntimeError tooFew =
      FailureOf([&] { Db().Execute("INSERT INTO t (k, v) VALUES (?, ?)", {"a"}); });
  EXPECT_EQ(tooFew.Description(), "The statement takes 2 values; 1 were given.");
}

TEST_P(ConnectionTest, CountsTheRowsOnlyWritingStatementsChange) {
  auto inserted = Db().Execute("INSERT INTO t (k, v) VALUES ('a', 'x'), ('b', 'x'), ('c', 'y')");
  EXPECT_TRUE(inserted->Eof());
  EXPECT_EQ(Db().RecordsAffected(), 3);
  Db().Execute("UPDATE t SET v = 'z' WHERE v = 'x'");
  EXPECT_EQ(Db().RecordsAffected(), 2);
  Db().Execute("SELECT * FROM t");
  EXPECT_EQ(Db().RecordsAffected(), 0);
  Db().Execute("DELETE FROM t WHERE k = 'nothing'");
  EXPECT_EQ(Db().RecordsAffected(), 0);
  Db().Execute("DELETE FROM t WHERE k = 'a'");
  Db().Execute("CREATE TABLE u (x text)");
  EXPECT_EQ(Db().RecordsAffected(), 0);
}

TEST_P(ConnectionTest, FailingStatementsCarryTheDatabaseMessageAndLeaveTheConnectionUsable) {
  RuntimeError missing = FailureOf([&] { Db().Execute("SELECT * FROM missing"); });
  EXPECT_EQ(missing.Number(), err::DatabaseError);
  EXPECT_THAT(missing.Description(), HasSubstr(OnServer() ? "relation \"missing\" does not exist"
                                                          : "no such table: missing"));
  Insert(Db(), "a", "x");
  EXPECT_THAT(FailureOf([&] { Insert(Db(), "a", "y"); }).Description(),
              HasSubstr(OnServer() ? "duplicate key" : "UNIQUE constraint failed"));
  EXPECT_EQ(ValueOf("v", "FROM t"), "x");
}

TEST_P(ConnectionTest, RunsOneStatementPerTextAndNothingOfALongerOne) {
  EXPECT_EQ(ValueOf("1", "-- a closing comment\n"), "1");
  EXPECT_EQ(ValueOf("';'", "; "), ";");
  Insert(Db(), "a", "x");
  for (const std::string& several :
       std::vector<std::string>{"INSERT INTO t (k, v) VALUES ('x', 'y'); DROP TABLE t",
                                "DELETE FROM t WHERE k = 'x'; DELETE FROM t",
                                std::string("DELETE FROM t \0 WHERE k = 'x'", 29)}) {
    EXPECT_EQ(FailureOf([&] { Db().Execute(several); }).Number(), err::DatabaseError) << several;
  }
  EXPECT_EQ(Keys(Db()), std::vector<std::string>{"a"});
  EXPECT_EQ(FailureOf([&] { Db().Execute("  "); }).Number(), err::DatabaseError);
  EXPECT_EQ(FailureOf([&] { Db().Execute("-- nothing\n;"); }).Number(), err::DatabaseError);
}

TEST_P(ConnectionTest, RollbackUndoesCommitKeepsAndBothNeedABegin) {
  EXPECT_EQ(FailureOf([&] { Db().CommitTrans(); }).Number(), err::NoTransaction);
  EXPECT_EQ(FailureOf([&] { Db().RollbackTrans(); }).Number(), err::NoTransaction);
  Db().BeginTrans();
  Insert(Db(), "undone", "x");
  EXPECT_EQ(FailureOf([&] { Db().BeginTrans(); }).Number(), err::DatabaseError);
  EXPECT_TRUE(Db().InTransaction());
  Db().RollbackTrans();
  EXPECT_FALSE(Db().InTransaction());
  Db().BeginTrans();
  Insert(Db(), "kept", "x");
  Db().CommitTrans();
  EXPECT_EQ(Keys(Db()), std::vector<std::string>{"kept"});
}

TEST_P(ConnectionTest, AnotherEditorSeesCommittedWorkOnly) {
  auto other = Store().OpenAnother();
  Db().BeginTrans();
  Insert(Db(), "pending", "x");
  EXPECT_TRUE(Keys(*other).empty());
  Db().CommitTrans();
  EXPECT_EQ(Keys(*other), std::vector<std::string>{"pending"});
  Insert(Db(), "alone", "x");  // outside a transaction each statement commits by itself
  EXPECT_EQ(Keys(*other), (std::vector<std::string>{"alone", "pending"}));
}

TEST_P(ConnectionTest, AFailingStatementInATransactionUndoesOnlyItself) {
  Db().BeginTrans();
  Insert(Db(), "a", "x");
  EXPECT_EQ(FailureOf([&] { Insert(Db(), "a", "again"); }).Number(), err::DatabaseError);
  Insert(Db(), "b", "x");
  Db().CommitTrans();
  EXPECT_EQ(Keys(Db()), (std::vector<std::string>{"a", "b"}));
}

TEST_P(ConnectionTest, RunInTransactionCommitsWorkOrRollsItBackWhole) {
  RunInTransaction(Db(), [&] { Insert(Db(), "a", "x"); });
  auto failing = [&] {
    RunInTransaction(Db(), [&] {
      Insert(Db(), "b", "x");
      RunInTransaction(Db(), [&] { Insert(Db(), "a", "again"); });  // joins, then fails
    });
  };
  EXPECT_EQ(FailureOf(failing).Number(), err::DatabaseError);
  EXPECT_FALSE(Db().InTransaction());
  EXPECT_EQ(Keys(Db()), std::vector<std::string>{"a"});
}

TEST_P(ConnectionTest, GetdateInAnInsertStampsTheCurrentLocalTime) {
  Db().Execute("INSERT INTO t (k, v) VALUES ('a', getdate())");
  std::string stamp = ValueOf("v", "FROM t");
  std::tm parsed{};
  std::istringstream in(stamp);
  in >> std::get_time(&parsed, "%Y-%m-%d %H:%M:%S");
  ASSERT_FALSE(in.fail()) << stamp;
  parsed.tm_isdst = -1;
  EXPECT_LE(std::abs(std::difftime(std::mktime(&parsed), std::time(nullptr))), 5.0) << stamp;
}

XEL_ON_EVERY_BACKEND(ConnectionTest);

}  // namespace
}  // namespace xel
