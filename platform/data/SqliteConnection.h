#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/data/Database.h"

struct sqlite3;
struct sqlite3_stmt;

namespace xel {

struct FinalizeSqliteStatement {
  void operator()(sqlite3_stmt* statement) const;
};

// A connection to a store kept in one SQLite file, speaking the host server's dialect as far as the
// editor's statements need it: getdate(), ISNUMERIC(x) and IsNull(a, b). Several editors may share
// the file: readers see the last committed state while another connection writes, and a writer
// waits for another writer up to the busy timeout, then fails.
class SqliteConnection : public Connection {
 public:
  struct Options {
    std::chrono::milliseconds busyTimeout{5000};
  };

  // Opens the file, creating it when absent; ":memory:" opens a private store in memory.
  explicit SqliteConnection(const std::string& path);
  SqliteConnection(const std::string& path, Options options);
  ~SqliteConnection() override;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  long RecordsAffected() const override { return recordsAffected_; }
  // Takes the file's write lock at once, so that a second writer fails here, before it has changed
  // anything, rather than half-way through its work. A second BeginTrans on this connection before
  // the first transaction ends is refused.
  void BeginTrans() override;
  void CommitTrans() override;
  void RollbackTrans() override;
  bool InTransaction() const override { return transactionBegun_; }
  SqlDialect Dialect() const override { return SqlDialect::Sqlite; }
  // The file's name without its folder; nothing for a store in memory.
  std::string StoreName() const override { return storeName_; }

 protected:
  std::unique_ptr<Recordset> DoExecute(const std::string& text,
                                       const Parameters& parameters) override;

 private:
  struct CloseDatabase {
    void operator()(sqlite3* db) const;
  };
  // Compiled statements are kept by their text, their quoted values lifted out, so that the
  // thousands of look-ups of a tree load compile once.
  static constexpr size_t kPreparedLimit = 64;
  sqlite3_stmt* Prepared(const std::string& text);

  void Configure(Options options);
  void RunControlStatement(const char* text);
  void EndTransaction(const char* text);
  void RequireTransaction() const;
  // SQLite undoes a whole transaction by itself after some failures (a full disk, for instance);
  // the statements after that must not run outside the transaction their caller believes open.
  bool TransactionEndedByDatabase() const;

  std::unique_ptr<sqlite3, CloseDatabase> db_;
  std::unordered_map<std::string, std::unique_ptr<sqlite3_stmt, FinalizeSqliteStatement>> prepared_;
  long recordsAffected_ = 0;
  bool transactionBegun_ = false;
  std::string storeName_;
};

}  // namespace xel
