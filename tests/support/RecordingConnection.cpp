#include "tests/support/RecordingConnection.h"

namespace xel::testing {

void RecordingConnection::Clear() {
  calls_.clear();
  statements_.clear();
}

void RecordingConnection::Before(Call call, const std::string& text, const Parameters&) {
  if (call == Call::Execute) {
    calls_.push_back(text);
    statements_.push_back(text);
  } else {
    calls_.push_back(NameOf(call));
  }
}

}  // namespace xel::testing
