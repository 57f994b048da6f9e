#include "tests/support/RecordingConnection.h"

namespace xel::testing {

void RecordingConnection::Clear() {
  calls_.clear();
  statements_.clear();
}

std::unique_ptr<Recordset> RecordingConnection::DoExecute(const std::string& text,
                                                          const Parameters& parameters) {
  calls_.push_back(text);
  statements_.push_back(text);
  return inner_.Execute(text, parameters);
}

void RecordingConnection::BeginTrans() {
  calls_.push_back("BeginTrans");
  inner_.BeginTrans();
}

void RecordingConnection::CommitTrans() {
  calls_.push_back("CommitTrans");
  inner_.CommitTrans();
}

void RecordingConnection::RollbackTrans() {
  calls_.push_back("RollbackTrans");
  inner_.RollbackTrans();
}

}  // namespace xel::testing
