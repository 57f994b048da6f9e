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
  explicit FaultyConnection(Connection& inner) : ConnectionDecorator(inner) {}

  // The k-th call from now on (1: the next one) throws `error`; Execute, BeginTrans, CommitTrans
  // and RollbackTrans count. Only that one call fails; arming again replaces an armed failure that
  // has not happened yet.
  void FailCall(int k, RuntimeError error) {
    remaining_ = CallsFromOne(k);
    error_ = std::move(error);
    failed_ = false;
  }
  // Whether the armed failure has happened.
  bool Failed() const { return failed_; }

 protected:
  void Before(Call, const std::string&, const Parameters&) override {
    if (error_ && --remaining_ == 0) {
      failed_ = true;
      throw *std::exchange(error_, std::nullopt);
    }
  }

 private:
  std::optional<RuntimeError> error_;
  int remaining_ = 0;
  bool failed_ = false;
};

}  // namespace xel::testing
