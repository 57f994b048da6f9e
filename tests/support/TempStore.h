#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Database.h"

namespace xel::testing {

// A store of its own for one test: a fresh SQLite file in a new temporary directory, with an open
// connection; the directory goes away with the object.
class TempStore {
 public:
  enum class Contents {
    Empty,   // a file without tables
    Schema,  // the store's two tables, no rows
    Demo,    // the tables and the demo settings
  };

  explicit TempStore(Contents contents = Contents::Schema);

  const std::filesystem::path& Path() const { return file_; }
  std::string ConnectionString() const { return "sqlite:" + file_.string(); }
  Connection& Db() { return *db_; }
  // A second connection to the same file, as another editor would have.
  std::unique_ptr<Connection> OpenAnother() const { return OpenConnection(ConnectionString()); }

 private:
  // Removed with everything in it when the store goes, the connection being closed first.
  struct Directory {
    Directory();
    ~Directory();
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;
    std::filesystem::path path;
  };

  Directory directory_;
  std::filesystem::path file_;
  std::unique_ptr<Connection> db_;
};

}  // namespace xel::testing
