#pragma once

#include <string>
#include <vector>

#include "platform/Database.h"

namespace xel::testing {

// Passes every call on to another connection and writes down, in order, what was asked of it:
// each statement's text as sent, and "BeginTrans", "CommitTrans" and "RollbackTrans". A call is
// written down before it is passed on, so a call that fails is in the record too.
class RecordingConnection : public Connection {
 public:
  explicit RecordingConnection(Connection& inner) : inner_(inner) {}

  const std::vector<std::string>& Calls() const { return calls_; }
  const std::vector<std::string>& Statements() const { return statements_; }
  void Clear();

  long RecordsAffected() const override { return inner_.RecordsAffected(); }
  void BeginTrans() override;
  void CommitTrans() override;
  void RollbackTrans() override;
  bool InTransaction() const override { return inner_.InTransaction(); }
  SqlDialect Dialect() const override { return inner_.Dialect(); }

 protected:
  std::unique_ptr<Recordset> DoExecute(const std::string& text,
                                       const Parameters& parameters) override;

 private:
  Connection& inner_;
  std::vector<std::string> calls_;
  std::vector<std::string> statements_;
};

}  // namespace xel::testing
