#include "tests/support/TempStore.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "platform/data/OdbcConnection.h"
#include "store/DemoStore.h"
#include "store/Schema.h"
#include "tests/support/ScriptedUi.h"

namespace xel::testing {
namespace {

constexpr char kServerVariable[] = "XEL02_TEST_PG";

std::string ServerConnectionString() {
  const char* value = std::getenv(kServerVariable);
  return value ? value : "";
}

}  // namespace

TempStore::TempStore(Contents contents, Backend backend) {
  if (std::string why = Unavailable(backend); !why.empty()) {
    FailScript(why);
  }
  if (backend == Backend::Sqlite) {
    file_ = folder_.emplace() / "store.db";
    connectionString_ = "sqlite:" + file_.string();
  } else {
    // A name no other test of any process uses at the same time.
    static std::atomic<int> counter{0};
    database_ = "xel02_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    server_ = OpenConnection(ServerConnectionString());
    server_->Execute("CREATE DATABASE " + database_);
    connectionString_ = WithOdbcAttribute(ServerConnectionString(), "Database", database_);
  }
  db_ = OpenConnection(connectionString_);
  if (contents != Contents::Empty) {
    CreateSchema(*db_);
  }
  if (contents == Contents::Demo) {
    SeedDemoStore(*db_);
  }
}

TempStore::~TempStore() {
  db_.reset();
  try {
    if (server_) {
      server_->Execute("DROP DATABASE " + database_ + " WITH (FORCE)");
    }
  } catch (const std::exception&) {
    // The throwaway server goes with everything on it anyway.
  }
}

std::string TempStore::Unavailable(Backend backend) {
  if (backend == Backend::PostgreSql && ServerConnectionString().empty()) {
    return std::string(kServerVariable) +
           " names no PostgreSQL server; run the tests through scripts/with-postgres.sh (as "
           "scripts/test.sh does) to include the suites on PostgreSQL.";
  }
  return "";
}

}  // namespace xel::testing
