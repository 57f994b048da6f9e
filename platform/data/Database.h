#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/data/SqlText.h"
#include "platform/text/RuntimeError.h"

namespace xel {

// One value of a result row. The store tells a NULL apart from the empty text; code that only
// shows values reads a NULL as the empty text.
class FieldValue {
 public:
  static FieldValue Null() { return FieldValue(); }
  explicit FieldValue(std::string text) : isNull_(false), text_(std::move(text)) {}

  bool IsNull() const { return isNull_; }
  const std::string& Text() const { return text_; }
  // The value as a 32-bit whole number, blanks around it allowed ("0041" gives 41). A NULL or a
  // text that is not a whole number is a type mismatch; a number beyond 32 bits an overflow.
  long AsLong() const;

  bool operator==(const FieldValue&) const = default;

 private:
  FieldValue() = default;

  bool isNull_ = true;
  std::string text_;
};

// The rows of one result, read forward once. Columns are named without regard to letter case.
// Reading a field needs a current row; after Close nothing can be read any more.
class Recordset {
 public:
  virtual ~Recordset() = default;

  // True once the last row has been passed (at once for a result without rows).
  virtual bool Eof() const = 0;
  virtual void MoveNext() = 0;
  virtual void Close() = 0;
  virtual FieldValue Field(std::string_view name) const = 0;
};

// An open connection to a store. Statements are whole texts; a failing one throws a RuntimeError
// with err::DatabaseError and the database's own message. A text holds exactly one statement.
class Connection {
 public:
  using Parameters = std::vector<std::string>;

  virtual ~Connection() = default;

  // Runs one statement. A query returns its rows; any other statement returns a recordset that is
  // already at its end. The options are accepted for the callers' sake and have no effect.
  std::unique_ptr<Recordset> Execute(const std::string& text, long options = -1) {
    static_cast<void>(options);
    return DoExecute(text, {});
  }
  // Runs one statement whose ? markers take the given texts, in order, as bound values.
  std::unique_ptr<Recordset> Execute(const std::string& text, const Parameters& parameters) {
    return DoExecute(text, parameters);
  }
  // The rows the last Execute inserted, changed or deleted; 0 after any other statement.
  virtual long RecordsAffected() const = 0;

  // One transaction at a time. Commit and rollback need the transaction begun with BeginTrans.
  virtual void BeginTrans() = 0;
  virtual void CommitTrans() = 0;
  virtual void RollbackTrans() = 0;
  // Whether a transaction begun with BeginTrans has not been committed or rolled back yet.
  virtual bool InTransaction() const = 0;

  // Whether the link to the server was found broken by a call that failed on it: a lost connection
  // runs nothing more, and whatever transaction it had is gone with it. An embedded store is never
  // lost.
  virtual bool Lost() const { return false; }

  // The server behind the connection, for the few statements (the store's tables) that must be
  // written differently for each; the editor's own statements are the same everywhere.
  virtual SqlDialect Dialect() const = 0;
  // The store as a person tells it apart from others in a window's title: a file's name, or a
  // server and its database; never anything that could hold a password. Empty when unknown.
  virtual std::string StoreName() const { return {}; }

 protected:
  virtual std::unique_ptr<Recordset> DoExecute(const std::string& text,
                                               const Parameters& parameters) = 0;
};

// The failure of a commit or rollback while no transaction is open, the same for every backend.
RuntimeError NoTransactionActive();

// Runs some work as one transaction: committed when it ends normally, rolled back when it throws
// (the failure then goes on to the caller unchanged). Work started while a transaction is already
// open becomes part of it, and that transaction's owner commits or rolls back the whole.
void RunInTransaction(Connection& db, const std::function<void()>& work);

// Opens the store a connection string names: "sqlite:PATH" opens (and creates when absent) the
// SQLite file at PATH; "odbc:" followed by an ODBC connection string connects to a database server
// through its ODBC driver. Any other kind of store is refused with err::ProviderNotFound.
std::unique_ptr<Connection> OpenConnection(const std::string& connectionString);

}  // namespace xel
