#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FailureOf.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/TempStore.h"

namespace xel {
namespace {

using testing::FailureOf;
using testing::FaultyConnection;
using testing::RecordingConnection;
using testing::TempStore;
using Calls = std::vector<std::string>;

struct ConnectionDoublesTest : ::testing::Test {
  TempStore store{TempStore::Contents::Empty};
  RuntimeError fault{err::DatabaseError, "disk on fire"};

  void SetUp() override { store.Db().Execute("CREATE TABLE t (k text)"); }
  long Rows() { return store.Db().Execute("SELECT count(*) AS n FROM t")->Field("n").AsLong(); }
};

TEST_F(ConnectionDoublesTest, RecordingKeepsEveryCallInOrderAndPassesItOn) {
  RecordingConnection recording(store.Db());
  recording.BeginTrans();
  recording.Execute("INSERT INTO t VALUES ('a') ");
  recording.CommitTrans();
  recording.BeginTrans();
  recording.RollbackTrans();
  EXPECT_EQ(recording.Calls(), (Calls{"BeginTrans", "INSERT INTO t VALUES ('a') ", "CommitTrans",
                                      "BeginTrans", "RollbackTrans"}));
  EXPECT_EQ(recording.Statements(), Calls{"INSERT INTO t VALUES ('a') "});
  EXPECT_EQ(recording.RecordsAffected(), 1);
  EXPECT_EQ(Rows(), 1);

  recording.Clear();
  EXPECT_TRUE(recording.Calls().empty());
  EXPECT_TRUE(recording.Statements().empty());
}

TEST_F(ConnectionDoublesTest, FaultyFailsTheChosenCallWithoutPassingItOn) {
  RecordingConnection below(store.Db());
  FaultyConnection faulty(below);
  faulty.FailCall(3, fault);
  faulty.BeginTrans();
  faulty.Execute("INSERT INTO t VALUES ('a')");
  RuntimeError failure = FailureOf([&] { faulty.Execute("INSERT INTO t VALUES ('b')"); });
  EXPECT_EQ(failure.Number(), err::DatabaseError);
  EXPECT_EQ(failure.Description(), "disk on fire");
  EXPECT_TRUE(faulty.Failed());
  faulty.CommitTrans();  // one failure only: later calls pass again
  EXPECT_EQ(below.Calls(), (Calls{"BeginTrans", "INSERT INTO t VALUES ('a')", "CommitTrans"}));
  EXPECT_EQ(Rows(), 1);
}

TEST_F(ConnectionDoublesTest, FaultyCanCountStatementsOnly) {
  FaultyConnection faulty(store.Db());
  faulty.FailCall(2, fault, FaultyConnection::Counting::ExecuteOnly);
  faulty.BeginTrans();
  faulty.Execute("INSERT INTO t VALUES ('a')");
  faulty.CommitTrans();
  EXPECT_FALSE(faulty.Failed());
  EXPECT_EQ(FailureOf([&] { faulty.Execute("SELECT * FROM t"); }).Description(), "disk on fire");
  faulty.FailCall(1, fault);
  EXPECT_EQ(FailureOf([&] { faulty.RollbackTrans(); }).Description(), "disk on fire");
}

TEST_F(ConnectionDoublesTest, RecordingAboveFaultyRecordsTheFailedAttempt) {
  FaultyConnection faulty(store.Db());
  RecordingConnection recording(faulty);
  faulty.FailCall(1, fault);
  EXPECT_EQ(FailureOf([&] { recording.BeginTrans(); }).Number(), err::DatabaseError);
  EXPECT_FALSE(recording.InTransaction());
  EXPECT_EQ(recording.Calls(), Calls{"BeginTrans"});
}

}  // namespace
}  // namespace xel
