#include "tests/support/TempStore.h"

#include <stdlib.h>
#include <unistd.h>

#include <atomic>

#include "platform/data/OdbcConnection.h"
#include "store/DemoStore.h"
#include "store/Schema.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace xel::testing {
namespace {

constexpr char kServerVariable[] = "XEL02_TEST_PG";

std::string ServerConnectionString() {
  const char* value = std::getenv(kServerVariable);
  return value ? value : "";
}

// A database name no other test of any process uses at the same time.
std::string UniqueDatabaseName() {
  static std::atomic<int> counter{0};
  return "xel02_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

}  // namespace

struct TempStore::Directory : Place {
  TempFolder folder;
};

// A database of its own on the server, made and dropped through the maintenance database the
// server's connection string names.
struct TempStore::ServerDatabase : Place {
  ServerDatabase() : admin(OpenConnection(ServerConnectionString())), name(UniqueDatabaseName()) {
    admin->Execute("CREATE DATABASE " + name);
  }
  ~ServerDatabase() override {
    try {
      admin->Execute("DROP DATABASE " + name + " WITH (FORCE)");
    } catch (const std::exception&) {
      // The throwaway server goes with everything on it anyway.
    }
  }
  std::unique_ptr<Connection> admin;
  std::string name;
};

TempStore::TempStore(Contents contents, Backend backend) {
  if (std::string why = Unavailable(backend); !why.empty()) {
    FailScript(why);
  }
  if (backend == Backend::Sqlite) {
    auto directory = std::make_unique<Directory>();
    file_ = directory->folder / "store.db";
    connectionString_ = "sqlite:" + file_.string();
    place_ = std::move(directory);
  } else {
    auto database = std::make_unique<ServerDatabase>();
    connectionString_ = WithOdbcAttribute(ServerConnectionString(), "Database", database->name);
    place_ = std::move(database);
  }
  db_ = OpenConnection(connectionString_);
  if (contents != Contents::Empty) {
    CreateSchema(*db_);
  }
  if (contents == Contents::Demo) {
    SeedDemoStore(*db_);
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
