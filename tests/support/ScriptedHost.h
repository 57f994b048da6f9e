#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "component/HostServices.h"

namespace xel::testing {

// One message the component showed.
struct Message {
  std::string prompt;
  long code;
  std::string title;
  long owner;
  std::string source;
  std::string errorId;
};

// The host's session service for tests: hands out the connection it was given, records every
// message and answers from a script (OK when nothing is scripted).
class ScriptedSession : public SessionService {
 public:
  explicit ScriptedSession(Connection& connection) : connection_(&connection) {}

  void SetConnection(Connection& connection) { connection_ = &connection; }
  Connection& Conexion() override { return *connection_; }
  long Mensaje(const std::string& prompt, long code, const std::string& title, long owner,
               const std::string& source, const std::string& errorId) override;

  // The answer to the next message; later messages take the next answers. `meanwhile` runs while
  // that message is shown, before it is answered.
  void Answer(long button, std::function<void()> meanwhile = {}) {
    answers_.push_back({button, std::move(meanwhile)});
  }
  std::string Usuario() override { return usuario; }
  // The session's user.
  std::string usuario = "ana";

  const std::vector<Message>& Messages() const { return messages_; }
  std::vector<std::string> ErrorIds() const;
  // Each message's identifier with its code: what tells one message from another.
  using Aviso = std::pair<std::string, long>;
  std::vector<Aviso> Avisos() const;
  void ClearMessages() { messages_.clear(); }

 private:
  Connection* connection_;
  struct Scripted {
    long button;
    std::function<void()> meanwhile;
  };
  std::deque<Scripted> answers_;
  std::vector<Message> messages_;
};

// One call of BuscarCampo, as the component made it.
struct Lookup {
  std::string table, searchColumn, searchValue, resultColumn;
  long number;
  std::string extra1, extra2, extra3;
};

// The host's utility service for tests: look-ups answered by a function the test gives (the real
// store's look-up, or a failure), every call recorded.
class ScriptedUtility : public UtilityService {
 public:
  using Finder = std::function<std::string(const Lookup&)>;
  explicit ScriptedUtility(Finder finder) : finder_(std::move(finder)) {}

  std::string BuscarCampo(const std::string& table, const std::string& searchColumn,
                          const std::string& searchValue, const std::string& resultColumn,
                          long number, const std::string& extra1, const std::string& extra2,
                          const std::string& extra3) override;
  long EnviarTeclas(const std::string& keys, long flag) override;
  std::string TextoTransaccion(const std::string& text, const std::string& key) override;

  void SetFinder(Finder finder) { finder_ = std::move(finder); }
  // What EnviarTeclas does with the keys (a scripted screen moves the focus).
  std::function<void(const std::string&)> onKeys;

  const std::vector<Lookup>& Lookups() const { return lookups_; }
  const std::vector<std::string>& SentKeys() const { return sentKeys_; }
  struct TransactionCall {
    std::string text, key;
  };
  const std::vector<TransactionCall>& TransactionCalls() const { return transactionCalls_; }

 private:
  Finder finder_;
  std::vector<Lookup> lookups_;
  std::vector<std::string> sentKeys_;
  std::vector<TransactionCall> transactionCalls_;
};

}  // namespace xel::testing
