#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Database.h"
#include "platform/SqliteConnection.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TempStore.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::TempStore;

struct SqliteConnectionTest : ::testing::Test {
  TempStore store{TempStore::Contents::Empty};
  Connection& db = store.Db();

  void SetUp() override { db.Execute("CREATE TABLE t (k text PRIMARY KEY, v text)"); }

  void Insert(Connection& on, const std::string& k, const std::string& v) {
    on.Execute("INSERT INTO t (k, v) VALUES ('" + k + "', '" + v + "')");
  }
  std::vector<std::string> Keys(Connection& on) {
    std::vector<std::string> keys;
    for (auto rs = on.Execute("SELECT k FROM t ORDER BY k"); !rs->Eof(); rs->MoveNext()) {
      keys.push_back(rs->Field("k").Text());
    }
    return keys;
  }
  // The value of an expression, over the rows the rest of the query names.
  std::string ValueOf(const std::string& expression, const std::string& rest = "") {
    return db.Execute("SELECT " + expression + " AS r " + rest)->Field("r").Text();
  }
};

TEST_F(SqliteConnectionTest, ReadsRowsForwardByColumnNameInAnyCase) {
  Insert(db, "a", "uno");
  Insert(db, "b", "dos");
  auto rs = db.Execute("SELECT k AS Cv_Id, v FROM t ORDER BY k");
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

TEST_F(SqliteConnectionTest, TellsNullApartFromEmptyTextAndGivesNumbersAsText) {
  db.Execute("INSERT INTO t (k, v) VALUES ('null', NULL)");
  Insert(db, "empty", "");
  auto rs = db.Execute("SELECT k, v FROM t ORDER BY k");
  EXPECT_FALSE(rs->Field("v").IsNull());
  EXPECT_EQ(rs->Field("v").Text(), "");
  rs->MoveNext();
  EXPECT_TRUE(rs->Field("v").IsNull());
  EXPECT_EQ(rs->Field("v").Text(), "");

  EXPECT_EQ(ValueOf("41"), "41");
  EXPECT_EQ(ValueOf("2.5"), "2.5");
  EXPECT_EQ(ValueOf("count(*)", "FROM t"), "2");
}

TEST_F(SqliteConnectionTest, CountsTheRowsOnlyWritingStatementsChange) {
  auto inserted = db.Execute("INSERT INTO t (k, v) VALUES ('a', 'x'), ('b', 'x'), ('c', 'y')");
  EXPECT_TRUE(inserted->Eof());
  EXPECT_EQ(db.RecordsAffected(), 3);
  db.Execute("UPDATE t SET v = 'z' WHERE v = 'x'");
  EXPECT_EQ(db.RecordsAffected(), 2);
  db.Execute("SELECT * FROM t");
  EXPECT_EQ(db.RecordsAffected(), 0);
  db.Execute("DELETE FROM t WHERE k = 'nothing'");
  EXPECT_EQ(db.RecordsAffected(), 0);
  db.Execute("DELETE FROM t WHERE k = 'a'");
  db.Execute("CREATE TABLE u (x text)");
  EXPECT_EQ(db.RecordsAffected(), 0);
}

TEST_F(SqliteConnectionTest, FailingStatementsCarryTheDatabaseMessage) {
  auto missingTable = [&] { db.Execute("SELECT * FROM missing"); };
  EXPECT_EQ(FailureOf(missingTable).Number(), err::DatabaseError);
  EXPECT_EQ(FailureOf(missingTable).Description(), "no such table: missing");
  Insert(db, "a", "x");
  EXPECT_EQ(FailureOf([&] { Insert(db, "a", "y"); }).Description(),
            "UNIQUE constraint failed: t.k");
}

TEST_F(SqliteConnectionTest, RunsOneStatementPerTextAndNothingOfALongerOne) {
  EXPECT_EQ(ValueOf("1", "-- a closing comment\n"), "1");
  auto twoStatements = [&] { db.Execute("INSERT INTO t (k, v) VALUES ('x', 'y'); DROP TABLE t"); };
  EXPECT_EQ(FailureOf(twoStatements).Number(), err::DatabaseError);
  auto cutByNul = [&] { db.Execute(std::string("DELETE FROM t \0 WHERE k = 'x'", 29)); };
  Insert(db, "a", "x");
  EXPECT_EQ(FailureOf(cutByNul).Number(), err::DatabaseError);
  EXPECT_EQ(Keys(db), std::vector<std::string>{"a"});
  EXPECT_EQ(FailureOf([&] { db.Execute("  "); }).Number(), err::DatabaseError);
}

TEST_F(SqliteConnectionTest, RollbackUndoesCommitKeepsAndBothNeedABegin) {
  EXPECT_EQ(FailureOf([&] { db.CommitTrans(); }).Number(), err::NoTransaction);
  EXPECT_EQ(FailureOf([&] { db.RollbackTrans(); }).Number(), err::NoTransaction);
  db.BeginTrans();
  Insert(db, "undone", "x");
  EXPECT_EQ(FailureOf([&] { db.BeginTrans(); }).Number(), err::DatabaseError);
  EXPECT_TRUE(db.InTransaction());
  db.RollbackTrans();
  EXPECT_FALSE(db.InTransaction());
  db.BeginTrans();
  Insert(db, "kept", "x");
  db.CommitTrans();
  EXPECT_EQ(Keys(db), std::vector<std::string>{"kept"});
}

// The database may undo a whole transaction by itself (SQLite does after a full disk); a ROLLBACK
// sent as a statement stands in for that here.
TEST_F(SqliteConnectionTest, TransactionEndedByTheDatabaseIsNeverReportedAsCommitted) {
  db.BeginTrans();
  Insert(db, "lost", "x");
  db.Execute("ROLLBACK");
  EXPECT_EQ(FailureOf([&] { Insert(db, "alone", "x"); }).Number(), err::DatabaseError);
  EXPECT_EQ(FailureOf([&] { db.CommitTrans(); }).Number(), err::DatabaseError);
  EXPECT_FALSE(db.InTransaction());
  EXPECT_TRUE(Keys(db).empty());

  db.BeginTrans();
  db.Execute("ROLLBACK");
  db.RollbackTrans();
  EXPECT_FALSE(db.InTransaction());
}

TEST_F(SqliteConnectionTest, RunInTransactionCommitsWorkOrRollsItBackWhole) {
  RunInTransaction(db, [&] { Insert(db, "a", "x"); });
  auto failing = [&] {
    RunInTransaction(db, [&] {
      Insert(db, "b", "x");
      RunInTransaction(db, [&] { Insert(db, "a", "again"); });  // joins, then fails
    });
  };
  EXPECT_EQ(FailureOf(failing).Description(), "UNIQUE constraint failed: t.k");
  EXPECT_FALSE(db.InTransaction());
  EXPECT_EQ(Keys(db), std::vector<std::string>{"a"});
}

TEST_F(SqliteConnectionTest, ReadersSeeCommittedRowsWhileAnotherEditorWrites) {
  Insert(db, "committed", "x");
  auto reader = store.OpenAnother();
  SqliteConnection secondWriter(store.Path().string(), {std::chrono::milliseconds(50)});

  EXPECT_EQ(ValueOf("journal_mode", "FROM pragma_journal_mode"), "wal");
  db.BeginTrans();
  Insert(db, "pending", "x");
  EXPECT_EQ(Keys(*reader), std::vector<std::string>{"committed"});
  EXPECT_EQ(FailureOf([&] { secondWriter.BeginTrans(); }).Description(), "database is locked");
  EXPECT_FALSE(secondWriter.InTransaction());
  db.CommitTrans();

  EXPECT_EQ(Keys(*reader), (std::vector<std::string>{"committed", "pending"}));
  secondWriter.BeginTrans();
  secondWriter.CommitTrans();
}

TEST_F(SqliteConnectionTest, GetdateStampsTheLocalTimeToTheMillisecond) {
  db.Execute("INSERT INTO t (k, v) VALUES ('a', getdate())");
  std::string stamp = db.Execute("SELECT v FROM t")->Field("v").Text();
  ASSERT_EQ(stamp.size(), 23u) << stamp;
  std::tm parsed{};
  std::istringstream(stamp) >> std::get_time(&parsed, "%Y-%m-%d %H:%M:%S");
  parsed.tm_isdst = -1;
  EXPECT_LE(std::abs(std::difftime(std::mktime(&parsed), std::time(nullptr))), 5.0) << stamp;
  EXPECT_EQ(stamp[19], '.');
}

TEST_F(SqliteConnectionTest, RunsTheServerFunctionsIsNumericAndIsNull) {
  EXPECT_EQ(ValueOf("ISNUMERIC(' -2.5e3 ') || ISNUMERIC(41) || ISNUMERIC(-0.5)"), "111");
  EXPECT_EQ(ValueOf("ISNUMERIC('25A') || ISNUMERIC('') || ISNUMERIC(NULL)"), "000");

  const std::string tricky = "IsNull(v, 0) y isnull (";
  Insert(db, "a", tricky);
  db.Execute("INSERT INTO t (k, v) VALUES ('b', NULL)");
  EXPECT_EQ(ValueOf("isnull (v, 'none')", "FROM t WHERE k = 'b'"), "none");
  EXPECT_EQ(ValueOf("ISNULL(v, 'none')", "FROM t WHERE k = 'a'"), tricky);
}

TEST_F(SqliteConnectionTest, OpensStoresByKindAndRefusesUnknownKinds) {
  auto path = store.Path().parent_path() / "new.db";
  auto created = OpenConnection("sqlite:" + path.string());
  EXPECT_TRUE(std::filesystem::exists(path));

  auto unknown = [] { OpenConnection("odbc:DSN=host;PWD=s3cret"); };
  EXPECT_EQ(FailureOf(unknown).Number(), err::ProviderNotFound);
  EXPECT_EQ(FailureOf(unknown).Description().find("s3cret"), std::string::npos);
  EXPECT_EQ(FailureOf([] { OpenConnection("sqlite:"); }).Number(), err::DatabaseError);
}

}  // namespace
}  // namespace xel
