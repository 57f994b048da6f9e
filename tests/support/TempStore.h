#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/data/Database.h"
#include "tests/support/TempFolder.h"

namespace xel::testing {

// The kinds of store the store-level suites run on.
enum class Backend {
  Sqlite,      // a file of the embedded database
  PostgreSql,  // a database on the PostgreSQL server named by XEL02_TEST_PG, through ODBC
};

// A store of its own for one test, with an open connection: a fresh SQLite file in a new temporary
// directory, or a new database on the PostgreSQL server. The file or database goes away with the
// object.
class TempStore {
 public:
  enum class Contents {
    Empty,   // no tables
    Schema,  // the store's two tables, no rows
    Demo,    // the tables and the demo settings
  };

  explicit TempStore(Contents contents = Contents::Schema, Backend backend = Backend::Sqlite);
  ~TempStore();
  TempStore(const TempStore&) = delete;
  TempStore& operator=(const TempStore&) = delete;

  // Why stores of that backend cannot be made in this run; empty when they can. A PostgreSQL store
  // needs the server that scripts/with-postgres.sh starts and names in XEL02_TEST_PG.
  static std::string Unavailable(Backend backend);

  // The SQLite file; empty for a store on a server.
  const std::filesystem::path& Path() const { return file_; }
  std::string ConnectionString() const { return connectionString_; }
  Connection& Db() { return *db_; }
  // A second connection to the same store, as another editor would have.
  std::unique_ptr<Connection> OpenAnother() const { return OpenConnection(ConnectionString()); }

 private:
  std::optional<TempFolder> folder_;    // the SQLite file's
  std::unique_ptr<Connection> server_;  // the server's own database, which makes and drops ours
  std::string database_;
  std::filesystem::path file_;
  std::string connectionString_;
  std::unique_ptr<Connection> db_;
};

}  // namespace xel::testing
