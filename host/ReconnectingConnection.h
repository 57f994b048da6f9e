#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/data/Database.h"

namespace xel {

// The host's connection to its store as its session service hands it out. When the server has
// ended the session (a restart, an administrator's kill, a dropped link), the next call made
// outside a transaction first opens a new connection with the same connection string, once, and
// runs on it; a transaction on a server begins with a read that finds out. A read that found the
// link broken runs again on the new connection; a write is never repeated, since nobody can tell
// whether the server ran it before the link broke: it fails, and the user tries again. Inside a
// transaction nothing reconnects: the transaction went with its session, so its writes fail and
// its owner rolls it back.
class ReconnectingConnection : public Connection {
 public:
  using Opener = std::function<std::unique_ptr<Connection>()>;

  // `open` is the connection in use now; `reopen` makes a new one to the same store.
  ReconnectingConnection(std::unique_ptr<Connection> open, Opener reopen)
      : current_(std::move(open)), reopen_(std::move(reopen)) {}

  long RecordsAffected() const override { return current_->RecordsAffected(); }
  void BeginTrans() override;
  void CommitTrans() override { current_->CommitTrans(); }
  void RollbackTrans() override { current_->RollbackTrans(); }
  bool InTransaction() const override { return current_->InTransaction(); }
  bool Lost() const override { return current_->Lost(); }
  SqlDialect Dialect() const override { return current_->Dialect(); }

 protected:
  std::unique_ptr<Recordset> DoExecute(const std::string& text,
                                       const Parameters& parameters) override;

 private:
  // Replaces a lost connection with a new one, unless a transaction still holds it.
  void RelinkWhenLost();

  std::unique_ptr<Connection> current_;
  Opener reopen_;
};

}  // namespace xel
