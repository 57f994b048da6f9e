#include "tests/support/TerminatingConnection.h"

#include "tests/support/ScriptedUi.h"

namespace xel::testing {

TerminatingConnection::TerminatingConnection(Connection& inner, Connection& killer)
    : ConnectionDecorator(inner),
      killer_(killer),
      pid_(inner.Execute("SELECT pg_backend_pid() AS pid")->Field("pid").Text()) {}

void TerminatingConnection::TerminateAtCall(int k) {
  if (k < 1) {
    FailScript("TerminateAtCall counts calls from 1, not from " + std::to_string(k));
  }
  remaining_ = k;
  terminated_ = false;
}

void TerminatingConnection::Before(Call, const std::string&, const Parameters&) {
  if (remaining_ > 0 && --remaining_ == 0) {
    // Waits until the session is really gone, so that the call cannot slip through first.
    killer_.Execute("SELECT pg_terminate_backend(" + pid_ + ", 10000)");
    terminated_ = true;
  }
}

long OpenTransactionsOnServer(Connection& db) {
  return db
      .Execute(
          "SELECT count(*) AS n FROM pg_stat_activity WHERE datname = current_database() AND "
          "pid <> pg_backend_pid() AND state LIKE 'idle in transaction%'")
      ->Field("n")
      .AsLong();
}

}  // namespace xel::testing
