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
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TempStore.h"

namespace xel {
namespace {

using testing::CreateTestTable;
using testing::FailureOf;
using testing::Insert;
using testing::Keys;
using testing::TempStore;

// What only the embedded store does; what every backend does alike is in ConnectionTest.cpp.
struct SqliteConnectionTest : ::testing::Test {
  TempStore store{TempStore::Contents::Empty};
  Connection& db = store.Db();

  void SetUp() override { CreateTestTable(db); }
  std::string ValueOf(const std::string& expression, const std::string& rest = "") {
    return testing::ValueOf(db, expression, rest);
  }
};

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

  auto unknown = [] { OpenConnection("mysql:host=db;password=s3cret"); };
  EXPECT_EQ(FailureOf(unknown).Number(), err::ProviderNotFound);
  EXPECT_EQ(FailureOf(unknown).Description().find("s3cret"), std::string::npos);
  EXPECT_EQ(FailureOf([] { OpenConnection("sqlite:"); }).Number(), err::DatabaseError);
}

}  // namespace
}  // namespace xel
