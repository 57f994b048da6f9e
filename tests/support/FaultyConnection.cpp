#include "tests/support/FaultyConnection.h"

#include "tests/support/ScriptedUi.h"

namespace xel::testing {

void FaultyConnection::FailCall(int k, RuntimeError error, Counting counting) {
  if (k < 1) {
    FailScript("FailCall counts calls from 1, not from " + std::to_string(k));
  }
  error_ = std::move(error);
  counting_ = counting;
  remaining_ = k;
  failed_ = false;
}

void FaultyConnection::Before(Call call, const std::string&, const Parameters&) {
  if (!error_ || (counting_ == Counting::ExecuteOnly && call != Call::Execute)) {
    return;
  }
  if (--remaining_ == 0) {
    RuntimeError error = *error_;
    error_.reset();
    failed_ = true;
    throw error;
  }
}

}  // namespace xel::testing
