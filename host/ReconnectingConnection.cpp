#include "host/ReconnectingConnection.h"

#include <string_view>

#include "platform/text/AsciiCase.h"

namespace xel {

namespace {

// A statement that only reads can run twice without harm.
bool OnlyReads(std::string_view text) {
  size_t start = text.find_first_not_of(" \t\r\n");
  std::string_view verb = "SELECT";
  return start != std::string_view::npos && SameIgnoringCase(text.substr(start, verb.size()), verb);
}

}  // namespace

void ReconnectingConnection::RelinkWhenLost() {
  if (!current_->Lost() || current_->InTransaction()) {
    return;
  }
  try {
    current_ = reopen_();
  } catch (const RuntimeError& e) {
    throw RuntimeError(e.Number(),
                       "The connection to the database server was lost, and the server does not "
                       "answer a new one: " +
                           e.Description());
  }
}

void ReconnectingConnection::BeginTrans() {
  // A transaction cannot move to a new session once begun, so a server's session is tried first
  // with a read, which a lost link lets run again on a new one.
  if (current_->Dialect() != SqlDialect::Sqlite && !current_->InTransaction()) {
    DoExecute("SELECT 1", {});
  }
  current_->BeginTrans();
}

std::unique_ptr<Recordset> ReconnectingConnection::DoExecute(const std::string& text,
                                                             const Parameters& parameters) {
  RelinkWhenLost();
  try {
    return current_->Execute(text, parameters);
  } catch (const RuntimeError&) {
    if (!current_->Lost() || current_->InTransaction() || !OnlyReads(text)) {
      throw;
    }
  }
  RelinkWhenLost();
  return current_->Execute(text, parameters);
}

}  // namespace xel
