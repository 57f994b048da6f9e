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

void FaultyConnection::Count(bool isExecute) {
  if (!error_ || (counting_ == Counting::ExecuteOnly && !isExecute)) {
    return;
  }
  if (--remaining_ == 0) {
    RuntimeError error = *error_;
    error_.reset();
    failed_ = true;
    throw error;
  }
}

std::unique_ptr<Recordset> FaultyConnection::DoExecute(const std::string& text,
                                                       const Parameters& parameters) {
  Count(true);
  return inner_.Execute(text, parameters);
}

void FaultyConnection::BeginTrans() {
  Count(false);
  inner_.BeginTrans();
}

void FaultyConnection::CommitTrans() {
  Count(false);
  inner_.CommitTrans();
}

void FaultyConnection::RollbackTrans() {
  Count(false);
  inner_.RollbackTrans();
}

}  // namespace xel::testing
