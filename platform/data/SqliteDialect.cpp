#include "platform/data/SqliteDialect.h"

#include "platform/data/SqlText.h"
#include "platform/text/AsciiCase.h"

namespace xel {
std::string CarryIsNullAsIfNull(std::string_view statement) {
  return RenameCalls(statement, SqlDialect::Sqlite, [](std::string_view name) {
    return SameIgnoringCase(name, "IsNull") ? std::string("ifnull") : std::string();
  });
}

namespace {
bool IsLiftable(std::string_view statement) {
  size_t start = 0;
  while (start < statement.size() && IsSqlBlank(statement[start])) {
    ++start;
  }
  std::string_view verb = statement.substr(start, EndOfWord(statement, start) - start);
  for (std::string_view dml : {"SELECT", "INSERT", "UPDATE", "DELETE"}) {
    if (SameIgnoringCase(verb, dml)) {
      return true;
    }
  }
  return false;
}

std::string Unquoted(std::string_view quoted) {
  std::string value;
  for (size_t at = 1; at + 1 < quoted.size(); ++at) {
    value += quoted[at];
    if (quoted[at] == '\'' && quoted[at + 1] == '\'') {
      ++at;
    }
  }
  return value;
}
}  // namespace

std::vector<std::string> LiftQuotedTexts(std::string& statement) {
  if (!IsLiftable(statement)) {
    return {};
  }
  std::string lifted;
  std::vector<std::string> values;
  size_t at = 0;
  while (at < statement.size()) {
    size_t end = EndOfQuotedOrComment(statement, at, SqlDialect::Sqlite);
    char c = statement[at];
    if (end > at && c == '\'') {
      std::string_view quoted(statement.data() + at, end - at);
      if (quoted.size() < 2 || quoted.back() != '\'') {
        return {};  // an unclosed text: the database reports it as written
      }
      values.push_back(Unquoted(quoted));
      lifted += '?';
    } else if (end > at) {
      lifted.append(statement, at, end - at);
    } else {
      if (c == '?') {
        return {};  // the statement binds its own values
      }
      end = at + 1;
      lifted += c;
    }
    at = end;
  }
  statement = std::move(lifted);
  return values;
}

}  // namespace xel
