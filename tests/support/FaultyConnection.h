#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/data/ConnectionDecorator.h"
#include "tests/support/ScriptedUi.h"

namespace xel::testing {

// Passes every call on to another connection, except one chosen call, which throws a given error
// instead and never reaches the other connection: the way to make a statement, a begin, a commit
// or a rollback fail at an exact point of a test.
class FaultyConnection : public ConnectionDecorator {
 public:
  // Which calls count towards the failing one. RecordsAffected and InTransaction never count.
  enum class Counting {
    AllCalls,     // Execute, BeginTrans, CommitTrans and RollbackTrans
    ExecuteOnly,  // Execute only; the transaction calls pass through uncounted
  };

  explicit FaultyConnection(Connection& inner) : ConnectionDecorator(inner) {}

  // The k-th counted call from now on (1: the next one) throws `error`. Only that one call fails;
  // arming again replaces an armed failure that has not happened yet.
  void FailCall(int k, RuntimeError error, Counting counting = Counting::AllCalls) {
    remaining_ = CallsFromOne(k);
    error_ = std::move(error);
    counting_ = counting;
    failed_ = false;
  }
  // Whether the armed failure has happened.
  bool Failed() const { return failed_; }

 protected:
  void Before(Call call, const std::string&, const Parameters&) override {
    if (error_ && (counting_ == Counting::AllCalls || call == Call::Execute) && --remaining_ == 0) {
      failed_ = true;
      throw *std::exchange(error_, std::nullopt);
    }
  }

 private:
  std::optional<RuntimeError> error_;
  Counting counting_ = Counting::AllCalls;
  int remaining_ = 0;
  bool failed_ = false;
};

}  // namespace xel::testing
