#include "host/TracingConnection.h"

namespace xel {

void TracingConnection::Before(Call call, const std::string& text, const Parameters& parameters) {
  if (call != Call::Execute) {
    trace_ << NameOf(call) << std::endl;  // the end of a transaction is on disk at once
    return;
  }
  trace_ << text;
  for (const std::string& value : parameters) {
    trace_ << " -- ? = '" << value << "'";
  }
  trace_ << '\n';
}

void TracingConnection::AfterFailure(const RuntimeError& failure) {
  trace_ << "-- failed: " << failure.Description() << std::endl;
}

}  // namespace xel
