#pragma once

#include <string>

#include "platform/data/Database.h"

namespace xel {

// A connection that passes every call on to another one, and lets a subclass look at each call
// first (to write it down, or to refuse it by throwing) and at each failure of the other one.
class ConnectionDecorator : public Connection {
 public:
  explicit ConnectionDecorator(Connection& inner) : inner_(inner) {}

  long RecordsAffected() const override { return inner_.RecordsAffected(); }
  void BeginTrans() override;
  void CommitTrans() override;
  void RollbackTrans() override;
  bool InTransaction() const override { return inner_.InTransaction(); }
  bool Lost() const override { return inner_.Lost(); }
  SqlDialect Dialect() const override { return inner_.Dialect(); }
  std::string StoreName() const override { return inner_.StoreName(); }

 protected:
  enum class Call { Execute, BeginTrans, CommitTrans, RollbackTrans };
  // "BeginTrans", "CommitTrans", "RollbackTrans", or "Execute".
  static const char* NameOf(Call call);

  // Before a call is passed on; `text` and `parameters` are the statement's, for Execute.
  virtual void Before(Call call, const std::string& text, const Parameters& parameters) = 0;
  // After the other connection failed a call, before the failure goes on to the caller.
  virtual void AfterFailure(const RuntimeError& /*failure*/) {}

  std::unique_ptr<Recordset> DoExecute(const std::string& text,
                                       const Parameters& parameters) override;

 private:
  template <class Pass>
  auto Forward(Call call, const std::string& text, const Parameters& parameters, Pass&& pass);

  Connection& inner_;
};

}  // namespace xel
