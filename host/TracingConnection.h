#pragma once

#include <ostream>

#include "platform/Database.h"

namespace xel {

// Passes every call to another connection and writes it down first, one line each: the statement
// text as sent (bound values after it), or BeginTrans, CommitTrans, RollbackTrans; a failure on
// the line after its call. What administrators read to see what the editor did to their store.
class TracingConnection : public Connection {
 public:
  TracingConnection(Connection& inner, std::ostream& trace) : inner_(inner), trace_(trace) {}

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
  template <class Call>
  auto Traced(const std::string& line, Call&& call);

  Connection& inner_;
  std::ostream& trace_;
};

}  // namespace xel
