#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "platform/data/ConnectionDecorator.h"

namespace xel {

// Passes every call to another connection and writes it down first, one line each: the statement
// text as sent (bound values after it), or BeginTrans, CommitTrans, RollbackTrans; a failure on
// the line after its call. Line breaks and other control characters in a statement, a value or a
// failure are written escaped, so that no value can forge a line of its own. What administrators
// read to see what the editor did to their store.
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

// The trace file, opened for appending. It holds every value the editor reads and writes, so it
// is made readable and writable by its owner only; a symbolic link in its place, a file of
// another user and anything but a plain file are refused with a run-time error that says why.
std::unique_ptr<std::ostream> OpenTraceFile(const std::string& path);

}  // namespace xel
