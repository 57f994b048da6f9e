#pragma once

#include <string>

#include "platform/data/ConnectionDecorator.h"

namespace xel::testing {

// Passes every call on to a connection to a PostgreSQL server, and just before one chosen call has
// a second connection end the first one's server session, as an administrator's
// pg_terminate_backend or a server restart would: that call then fails as a real lost link fails.
class TerminatingConnection : public ConnectionDecorator {
 public:
  // `killer` is another connection to the same server, with the right to end sessions.
  TerminatingConnection(Connection& inner, Connection& killer);

  // The session ends before the k-th call from now on (1: the next one); Execute, BeginTrans,
  // CommitTrans and RollbackTrans count.
  void TerminateAtCall(int k);
  bool Terminated() const { return terminated_; }

 protected:
  void Before(Call call, const std::string& text, const Parameters& parameters) override;

 private:
  Connection& killer_;
  std::string pid_;
  int remaining_ = 0;
  bool terminated_ = false;
};

// The sessions of the server's current database that sit inside a transaction nobody ends.
long OpenTransactionsOnServer(Connection& db);

}  // namespace xel::testing
