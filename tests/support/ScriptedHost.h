#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <ranges>
#include <string>
#include <utility>
#include <vector>

#include "component/HostServices.h"

namespace xel::testing {

// One message the component showed.
struct Message {
  std::string prompt, title, errorId;
  long code, owner;
};

// The host's session service for tests: hands out the connection it was given, records every
// message and answers from a script (OK when nothing is scripted).
class ScriptedSession : public SessionService {
 public:
  explicit ScriptedSession(Connection& connection) : connection_(&connection) {}

  void SetConnection(Connection& connection) { connection_ = &connection; }
  Connection& Conexion() override { return *connection_; }
  std::string Usuario() override { return usuario; }
  long Mensaje(const std::string& prompt, long code, const std::string& title, long owner,
               const std::string&, const std::string& errorId) override {
    messages_.push_back({prompt, title, errorId, code, owner});
    if (answers_.empty()) {
      return MsgCode::Ok;
    }
    auto [button, meanwhile] = std::move(answers_.front());
    answers_.pop_front();
    if (meanwhile) {
      meanwhile();
    }
    return button;
  }

  // The answer to the next message; later messages take the next answers. `meanwhile` runs while
  // that message is shown, before it is answered.
  void Answer(long button, std::function<void()> meanwhile = {}) {
    answers_.emplace_back(button, std::move(meanwhile));
  }
  // The session's user.
  std::string usuario = "ana";

  const std::vector<Message>& Messages() const { return messages_; }
  std::vector<std::string> ErrorIds() const {
    auto ids = messages_ | std::views::transform(&Message::errorId);
    return {ids.begin(), ids.end()};
  }
  // Each message's identifier with its code: what tells one message from another.
  using Aviso = std::pair<std::string, long>;
  std::vector<Aviso> Avisos() const {
    auto avisos =
        messages_ | std::views::transform([](auto& m) { return Aviso(m.errorId, m.code); });
    return {avisos.begin(), avisos.end()};
  }
  void ClearMessages() { messages_.clear(); }

 private:
  Connection* connection_;
  std::deque<std::pair<long, std::function<void()>>> answers_;
  std::vector<Message> messages_;
};

// One call of BuscarCampo, as the component made it.
struct Lookup {
  std::string table, searchColumn, searchValue, resultColumn;
};

// The host's utility service for tests: look-ups answered by a function the test gives (the real
// store's look-up, or a failure), every call recorded.
class ScriptedUtility : public UtilityService {
 public:
  using Finder = std::function<std::string(const Lookup&)>;
  explicit ScriptedUtility(Finder finder) : finder_(std::move(finder)) {}

  std::string BuscarCampo(const std::string& table, const std::string& searchColumn,
                          const std::string& searchValue, const std::string& resultColumn, long,
                          const std::string&, const std::string&, const std::string&) override {
    return finder_({table, searchColumn, searchValue, resultColumn});
  }
  // Recorded, and passed to onKeys (a scripted screen moves the focus).
  long EnviarTeclas(const std::string& keys, long) override {
    sentKeys_.push_back(keys);
    if (onKeys) {
      onKeys(keys);
    }
    return 0;
  }
  std::string TextoTransaccion(const std::string& text, const std::string& key) override {
    transactionCalls_.push_back({text, key});
    return "[" + key + "] " + text;
  }

  void SetFinder(Finder finder) { finder_ = std::move(finder); }
  std::function<void(const std::string&)> onKeys;

  const std::vector<std::string>& SentKeys() const { return sentKeys_; }
  struct TransactionCall {
    std::string text, key;
  };
  const std::vector<TransactionCall>& TransactionCalls() const { return transactionCalls_; }

 private:
  Finder finder_;
  std::vector<std::string> sentKeys_;
  std::vector<TransactionCall> transactionCalls_;
};

}  // namespace xel::testing
