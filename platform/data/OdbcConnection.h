#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/data/Database.h"

namespace xel {

// A connection to a database server through its ODBC driver (PostgreSQL or Microsoft SQL Server).
// Texts cross to the driver as wide characters, so accented texts and emoji are stored as typed.
// Each result is read whole when its statement runs. Failures carry the driver's own message.
class OdbcConnection : public Connection {
 public:
  // Connects with an ODBC connection string ("Driver={...};Server=...;..."), never prompting.
  // A server other than PostgreSQL or SQL Server is refused: the store's tables and functions
  // exist only for those.
  explicit OdbcConnection(const std::string& odbcString);
  ~OdbcConnection() override;
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  long RecordsAffected() const override { return recordsAffected_; }
  // The statements between BeginTrans and CommitTrans or RollbackTrans form one transaction; the
  // others commit one by one. A second BeginTrans before the first transaction ends is refused.
  // A statement that fails inside a transaction undoes only itself, as on SQL Server (for
  // PostgreSQL this is its driver's standard level of rollback on errors, Protocol=7.4-2).
  void BeginTrans() override;
  // A commit that fails leaves nothing half done: the transaction is rolled back and over.
  void CommitTrans() override;
  void RollbackTrans() override;
  bool InTransaction() const override { return transactionBegun_; }
  // The driver's own verdict, which it reaches when a call finds the server gone.
  bool Lost() const override;
  SqlDialect Dialect() const override { return dialect_; }
  // "server/database", as the driver reports them.
  std::string StoreName() const override { return storeName_; }

 protected:
  std::unique_ptr<Recordset> DoExecute(const std::string& text,
                                       const Parameters& parameters) override;

 private:
  struct Handles;

  void EndTransaction(bool commit);

  std::unique_ptr<Handles> handles_;
  SqlDialect dialect_ = SqlDialect::SqlServer;
  std::string storeName_;
  long recordsAffected_ = 0;
  bool transactionBegun_ = false;
};

// The value of one attribute (Server, Port...) of an ODBC connection string, with or without the
// "odbc:" of a store, keys compared without regard to case; empty when it has none.
std::string OdbcAttribute(std::string_view odbcString, std::string_view key);
// The same connection string with one attribute (Database, Pwd...) set to another value.
std::string WithOdbcAttribute(const std::string& odbcString, std::string_view key,
                              std::string_view value);

}  // namespace xel
