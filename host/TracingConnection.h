#pragma once

#include <ostream>

#include "platform/ConnectionDecorator.h"

namespace xel {

// Passes every call to another connection and writes it down first, one line each: the statement
// text as sent (bound values after it), or BeginTrans, CommitTrans, RollbackTrans; a failure on
// the line after its call. What administrators read to see what the editor did to their store.
class TracingConnection : public ConnectionDecorator {
 public:
  TracingConnection(Connection& inner, std::ostream& trace)
      : ConnectionDecorator(inner), trace_(trace) {}

 protected:
  void Before(Call call, const std::string& text, const Parameters& parameters) override;
  void AfterFailure(const RuntimeError& failure) override;

 private:
  std::ostream& trace_;
};

}  // namespace xel
