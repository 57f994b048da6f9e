// The doubles the fault sweeps of other suites are built on: a double that let a failing call
// through, or failed the wrong one, would let those sweeps pass without the fault ever happening.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FailureOf.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/TempStore.h"

namespace xel::testing {
namespace {

using Calls = std::vector<std::string>;

struct ConnectionDoublesTest : ::testing::Test {
  TempStore store{TempStore::Contents::Empty};
  RuntimeError fault{err::DatabaseError, "disk on fire"};
  FaultyConnection faulty{store.Db()};
  RecordingConnection recording{faulty};  // above the faulty one, so it sees every attempt

  void SetUp() override { store.Db().Execute("CREATE TABLE t (k text)"); }
  long Rows() { return store.Db().Execute("SELECT count(*) AS n FROM t")->Field("n").AsLong(); }
};

TEST_F(ConnectionDoublesTest, RecordingKeepsEveryCallInOrderAndPassesItOn) {
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
}

TEST_F(ConnectionDoublesTest, FaultyFailsOnlyTheChosenCallAndNeverPassesItOn) {
  faulty.FailCall(3, fault);
  recording.BeginTrans();
  recording.Execute("INSERT INTO t VALUES ('a')");
  RuntimeError failure = FailureOf([&] { recording.Execute("INSERT INTO t VALUES ('b')"); });
  EXPECT_EQ(failure.Number(), err::DatabaseError);
  EXPECT_EQ(failure.Description(), "disk on fire");
  recording.CommitTrans();  // one failure only: later calls pass again
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(recording.Statements().size(), 2u) << "the failed attempt is recorded above";

  faulty.FailCall(2, fault, FaultyConnection::Counting::ExecuteOnly);
  recording.BeginTrans();
  recording.Execute("SELECT * FROM t");
  recording.CommitTrans();
  EXPECT_FALSE(faulty.Failed());
  EXPECT_EQ(FailureOf([&] { recording.Execute("SELECT * FROM t"); }).Number(), err::DatabaseError);
  EXPECT_TRUE(faulty.Failed());
  faulty.FailCall(1, fault);
  EXPECT_EQ(FailureOf([&] { recording.BeginTrans(); }).Number(), err::DatabaseError);
  EXPECT_FALSE(recording.InTransaction());
}

}  // namespace
}  // namespace xel::testing
