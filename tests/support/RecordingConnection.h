#pragma once

#include <string>
#include <vector>

#include "platform/data/ConnectionDecorator.h"

namespace xel::testing {

// Passes every call on to another connection and writes down, in order, what was asked of it:
// each statement's text as sent, and "BeginTrans", "CommitTrans" and "RollbackTrans". A call is
// written down before it is passed on, so a call that fails is in the record too.
class RecordingConnection : public ConnectionDecorator {
 public:
  explicit RecordingConnection(Connection& inner) : ConnectionDecorator(inner) {}

  const std::vector<std::string>& Calls() const { return calls_; }
  const std::vector<std::string>& Statements() const { return statements_; }
  void Clear() {
    calls_.clear();
    statements_.clear();
  }

 protected:
  void Before(Call call, const std::string& text, const Parameters&) override {
    calls_.push_back(call == Call::Execute ? text : NameOf(call));
    if (call == Call::Execute) {
      statements_.push_back(text);
    }
  }

 private:
  std::vector<std::string> calls_, statements_;
};

}  // namespace xel::testing
