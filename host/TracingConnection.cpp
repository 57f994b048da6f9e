#include "host/TracingConnection.h"

namespace xel {

template <class Call>
auto TracingConnection::Traced(const std::string& line, Call&& call) {
  trace_ << line << '\n';
  try {
    return call();
  } catch (const RuntimeError& e) {
    trace_ << "-- failed: " << e.Description() << '\n';
    trace_.flush();
    throw;
  }
}

std::unique_ptr<Recordset> TracingConnection::DoExecute(const std::string& text,
                                                        const Parameters& parameters) {
  std::string line = text;
  for (const std::string& value : parameters) {
    line += " -- ? = '" + value + "'";
  }
  return Traced(line, [&] { return inner_.Execute(text, parameters); });
}

void TracingConnection::BeginTrans() {
  Traced("BeginTrans", [&] { inner_.BeginTrans(); });
}

void TracingConnection::CommitTrans() {
  Traced("CommitTrans", [&] { inner_.CommitTrans(); });
  trace_.flush();
}

void TracingConnection::RollbackTrans() {
  Traced("RollbackTrans", [&] { inner_.RollbackTrans(); });
  trace_.flush();
}

}  // namespace xel
