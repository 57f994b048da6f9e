// What only the embedded store does; what every backend does alike is in ConnectionTest.cpp.

#include <gtest/gtest.h>

#include "platform/data/Database.h"
#include "tests/platform/TestTable.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

struct SqliteConnectionTest : TableTest {};

// The database may undo a whole transaction by itself (SQLite does after a full disk); a ROLLBACK
// sent as a statement stands in for that here.
TEST_P(SqliteConnectionTest, TransactionEndedByTheDatabaseIsNeverReportedAsCommitted) {
  Db().BeginTrans();
  Insert(Db(), "lost", "x");
  Db().Execute("ROLLBACK");
  EXPECT_EQ(FailureOf([&] { Insert(Db(), "alone", "x"); }).Number(), err::DatabaseError);
  EXPECT_EQ(FailureOf([&] { Db().CommitTrans(); }).Number(), err::DatabaseError);
  EXPECT_FALSE(Db().InTransaction());
  EXPECT_TRUE(Keys(Db()).empty());
  Db().BeginTrans();
  Db().Execute("ROLLBACK");
  Db().RollbackTrans();
  EXPECT_FALSE(Db().InTransaction());
}

// A store file may come from anyone: no statement rewrites the schema behind SQLite's back, and the
// store's own triggers cannot call the program's functions. getdate() stamps to the millisecond.
TEST_P(SqliteConnectionTest, DistrustsWhatTheStoreFileHolds) {
  EXPECT_EQ(ValueOf(Db(), "trusted_schema", "FROM pragma_trusted_schema"), "0");
  Db().Execute("PRAGMA writable_schema=ON");
  EXPECT_EQ(FailureOf([&] {
              Db().Execute("UPDATE sqlite_master SET sql = 'CREATE TABLE t (x)' WHERE name = 't'");
            }).Number(),
            err::DatabaseError);
  EXPECT_EQ(ValueOf(Db(), "length(getdate())"), "23");
  Db().Execute("CREATE TRIGGER stamp AFTER INSERT ON t BEGIN UPDATE t SET v = getdate(); END");
  EXPECT_EQ(FailureOf([&] { Insert(Db(), "k", "v"); }).Description(), "unsafe use of getdate()");
}

// A store's log is written ahead, so that readers never wait for a writer; an unknown kind of
// store is refused without showing its password.
TEST_P(SqliteConnectionTest, OpensStoresWithTheLogAheadAndRefusesUnknownKinds) {
  EXPECT_EQ(ValueOf(Db(), "journal_mode", "FROM pragma_journal_mode"), "wal");
  RuntimeError unknown = FailureOf([] { OpenConnection("mysql:host=db;password=s3cret"); });
  EXPECT_EQ(unknown.Number(), err::ProviderNotFound);
  EXPECT_EQ(unknown.Description().find("s3cret"), std::string::npos);
  EXPECT_EQ(FailureOf([] { OpenConnection("sqlite:"); }).Number(), err::DatabaseError);
}

INSTANTIATE_TEST_SUITE_P(On, SqliteConnectionTest, ::testing::Values(Backend::Sqlite), BackendName);

}  // namespace
}  // namespace xel::testing
