// What only the embedded store does; what every backend does alike is in ConnectionTest.cpp.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/data/SqliteConnection.h"
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"
#include "tests/support/TempStore.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::Insert;

struct SqliteConnectionTest : ::testing::Test {
  testing::TempStore store{testing::TempStore::Contents::Empty};
  Connection& db = store.Db();

  SqliteConnectionTest() { db.Execute("CREATE TABLE t (k text PRIMARY KEY, v text)"); }
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
  EXPECT_TRUE(testing::Keys(db).empty());
  db.BeginTrans();
  db.Execute("ROLLBACK");
  db.RollbackTrans();
  EXPECT_FALSE(db.InTransaction());
}

// Readers are never kept waiting by a writer; a second writer waits its time out and then fails,
// holding nothing.
TEST_F(SqliteConnectionTest, ASecondWriterWaitsItsTimeAndFailsWithoutATransaction) {
  SqliteConnection secondWriter(store.Path().string(), {std::chrono::milliseconds(50)});
  EXPECT_EQ(ValueOf("journal_mode", "FROM pragma_journal_mode"), "wal");
  db.BeginTrans();
  EXPECT_EQ(FailureOf([&] { secondWriter.BeginTrans(); }).Description(), "database is locked");
  EXPECT_FALSE(secondWriter.InTransaction());
  db.CommitTrans();
  secondWriter.BeginTrans();
  secondWriter.CommitTrans();
}

// A store file may come from anyone: no statement rewrites the schema behind SQLite's back, and the
// store's own triggers cannot call the program's functions. getdate() stamps to the millisecond.
TEST_F(SqliteConnectionTest, DistrustsWhatTheStoreFileHolds) {
  EXPECT_EQ(ValueOf("trusted_schema", "FROM pragma_trusted_schema"), "0");
  db.Execute("PRAGMA writable_schema=ON");
  EXPECT_EQ(FailureOf([&] {
              db.Execute("UPDATE sqlite_master SET sql = 'CREATE TABLE t (x)' WHERE name = 't'");
            }).Number(),
            err::DatabaseError);
  EXPECT_EQ(ValueOf("length(getdate())"), "23");
  db.Execute("CREATE TRIGGER stamp AFTER INSERT ON t BEGIN UPDATE t SET v = getdate(); END");
  EXPECT_EQ(FailureOf([&] { Insert(db, "k", "v"); }).Description(), "unsafe use of getdate()");
}

// Statements that differ only in their quoted values share one compiled form, the values lifted
// out and bound: a marker or an IsNull call inside a value stays text, and a NUL inside one is
// refused as it is anywhere else in a statement.
TEST_F(SqliteConnectionTest, ALiftedValueStaysOnlyAValue) {
  db.Execute("INSERT INTO t (k, v) VALUES ('a ? mark', 'IsNull(v, 0) y isnull (')");
  EXPECT_EQ(ValueOf("ISNULL(v, 'none') || k", "FROM t WHERE k = 'a ? mark'"),
            "IsNull(v, 0) y isnull (a ? mark");
  auto withNul = [&] { db.Execute(std::string("SELECT * FROM t WHERE k = 'a\0b'", 31)); };
  EXPECT_EQ(FailureOf(withNul).Number(), err::DatabaseError);
}

TEST_F(SqliteConnectionTest, OpensStoresByKindAndRefusesUnknownKinds) {
  auto path = store.Path().parent_path() / "new.db";
  auto created = OpenConnection("sqlite:" + path.string());
  EXPECT_TRUE(std::filesystem::exists(path));
  RuntimeError unknown = FailureOf([] { OpenConnection("mysql:host=db;password=s3cret"); });
  EXPECT_EQ(unknown.Number(), err::ProviderNotFound);
  EXPECT_EQ(unknown.Description().find("s3cret"), std::string::npos);
  EXPECT_EQ(FailureOf([] { OpenConnection("sqlite:"); }).Number(), err::DatabaseError);
}

}  // namespace
}  // namespace xel
