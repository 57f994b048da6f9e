#include "tests/support/ScriptedHost.h"

namespace xel::testing {

long ScriptedSession::Mensaje(const std::string& prompt, long code, const std::string& title,
                              long owner, const std::string& source, const std::string& errorId) {
  messages_.push_back({prompt, code, title, owner, source, errorId});
  if (answers_.empty()) {
    return MsgCode::Ok;
  }
  Scripted answer = std::move(answers_.front());
  answers_.pop_front();
  if (answer.meanwhile) {
    answer.meanwhile();
  }
  return answer.button;
}

std::vector<std::string> ScriptedSession::ErrorIds() const {
  std::vector<std::string> ids;
  for (const auto& message : messages_) {
    ids.push_back(message.errorId);
  }
  return ids;
}

std::vector<ScriptedSession::Aviso> ScriptedSession::Avisos() const {
  std::vector<Aviso> avisos;
  for (const auto& message : messages_) {
    avisos.emplace_back(message.errorId, message.code);
  }
  return avisos;
}

std::string ScriptedUtility::BuscarCampo(const std::string& table, const std::string& searchColumn,
                                         const std::string& searchValue,
                                         const std::string& resultColumn, long number,
                                         const std::string& extra1, const std::string& extra2,
                                         const std::string& extra3) {
  lookups_.push_back(
      {table, searchColumn, searchValue, resultColumn, number, extra1, extra2, extra3});
  return finder_(lookups_.back());
}

long ScriptedUtility::EnviarTeclas(const std::string& keys, long /*flag*/) {
  sentKeys_.push_back(keys);
  if (onKeys) {
    onKeys(keys);
  }
  return 0;
}

std::string ScriptedUtility::TextoTransaccion(const std::string& text, const std::string& key) {
  transactionCalls_.push_back({text, key});
  return "[" + key + "] " + text;
}

}  // namespace xel::testing
