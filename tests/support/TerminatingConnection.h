#pragma once

#include <string>

#include "platform/data/ConnectionDecorator.h"
#include "tests/support/ScriptedUi.h"

namespace xel::testing {

// The server's process behind a connection: its session.
inline std::string BackendPid(Connection& db) {
  return db.Execute("SELECT pg_backend_pid() AS pid")->Field("pid").Text();
}

// Passes every call on to a connection to a PostgreSQL server, and just before one chosen call has
// a second connection end the first one's server session, as an administrator's
// pg_terminate_backend or a server restart would: that call then fails as a real lost link fails.
class TerminatingConnection : public ConnectionDecorator {
 public:
  // `killer` is another connection to the same server, with the right to end sessions.
  TerminatingConnection(Connection& inner, Connection& killer)
      : ConnectionDecorator(inner), killer_(killer), pid_(BackendPid(inner)) {}

  // The session ends before the k-th call from now on (1: the next one); Execute, BeginTrans,
  // CommitTrans and RollbackTrans count.
  void TerminateAtCall(int k) {
    remaining_ = CallsFromOne(k);
    terminated_ = false;
  }
  bool Terminated() const { return terminated_; }

 protected:
  void Before(Call, const std::string&, const Parameters&) override {
    if (remaining_ > 0 && --remaining_ == 0) {
      // Waits until the session is really gone, so that the call cannot slip through first.
      killer_.Execute("SELECT pg_terminate_backend(" + pid_ + ", 10000)");
      terminated_ = true;
    }
  }

 private:
  Connection& killer_;
  std::string pid_;
  int remaining_ = 0;
  bool terminated_ = false;
};

// The sessions of the server's current database that sit inside a transaction nobody ends.
inline long OpenTransactionsOnServer(Connection& db) {
  auto sesiones = db.Execute(
      "SELECT count(*) AS n FROM pg_stat_activity WHERE datname = current_database() AND "
      "pid <> pg_backend_pid() AND state LIKE 'idle in transaction%'");
  return sesiones->Field("n").AsLong();
}

}  // namespace xel::testing
