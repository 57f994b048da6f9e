#include "platform/data/SqlText.h"

namespace xel {
namespace {

bool IsTagStart(char c) {
  return IsSqlWordChar(c) && c != '$' && !(c >= '0' && c <= '9');
}

// The end of a piece quoted with `quote` whose opening quote stands at `start`; a doubled quote
// stands for the quote itself and, with `backslashEscapes`, a backslash takes the next character.
size_t EndOfQuoted(std::string_view text, size_t start, char quote, bool backslashEscapes = false) {
  size_t at = start + 1;
  while (at < text.size()) {
    if (backslashEscapes && text[at] == '\\') {
      at += 2;
    } else if (text[at] != quote) {
      ++at;
    } else if (at + 1 < text.size() && text[at + 1] == quote) {
      at += 2;
    } else {
      return at + 1;
    }
  }
  return text.size();
}

size_t EndOfLineComment(std::string_view text, size_t start) {
  size_t end = text.find('\n', start);
  return end == std::string_view::npos ? text.size() : end;
}

size_t EndOfBlockComment(std::string_view text, size_t start, bool nested) {
  size_t depth = 0;
  size_t at = start;
  while (at + 1 < text.size()) {
    if (text[at] == '/' && text[at + 1] == '*' && (nested || depth == 0)) {
      ++depth;
      at += 2;
    } else if (text[at] == '*' && text[at + 1] == '/') {
      at += 2;
      if (--depth == 0) {
        return at;
      }
    } else {
      ++at;
    }
  }
  return text.size();
}

// A dollar-quoted text, $$...$$ or $tag$...$tag$; `start` itself when the '$' opens none (as in a
// parameter $1).
size_t EndOfDollarQuoted(std::string_view text, size_t start) {
  size_t tagEnd = start + 1;
  if (tagEnd < text.size() && IsTagStart(text[tagEnd])) {
    while (tagEnd < text.size() && IsSqlWordChar(text[tagEnd]) && text[tagEnd] != '$') {
      ++tagEnd;
    }
  }
  if (tagEnd >= text.size() || text[tagEnd] != '$') {
    return start;
  }
  std::string_view tag = text.substr(start, tagEnd + 1 - start);
  size_t close = text.find(tag, tagEnd + 1);
  return close == std::string_view::npos ? text.size() : close + tag.size();
}

size_t EndOfBracketed(std::string_view text, size_t start, SqlDialect dialect) {
  if (dialect == SqlDialect::SqlServer) {
    return EndOfQuoted(text, start, ']');
  }
  size_t close = text.find(']', start);
  return close == std::string_view::npos ? text.size() : close + 1;
}

}  // namespace

bool IsSqlWordChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
         u == '$' || u >= 0x80;
}

bool IsSqlBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

size_t EndOfWord(std::string_view text, size_t start) {
  size_t end = start;
  while (end < text.size() && IsSqlWordChar(text[end])) {
    ++end;
  }
  return end;
}

size_t EndOfQuotedOrComment(std::string_view text, size_t start, SqlDialect dialect) {
  char c = text[start];
  char next = start + 1 < text.size() ? text[start + 1] : '\0';
  bool postgres = dialect == SqlDialect::PostgreSql;
  if (c == '\'' || c == '"' || (c == '`' && dialect == SqlDialect::Sqlite)) {
    return EndOfQuoted(text, start, c);
  }
  if (postgres && (c == 'E' || c == 'e') && next == '\'') {
    return EndOfQuoted(text, start + 1, '\'', true);
  }
  if (postgres && c == '$') {
    return EndOfDollarQuoted(text, start);
  }
  if (c == '[' && !postgres) {
    return EndOfBracketed(text, start, dialect);
  }
  if (c == '-' && next == '-') {
    return EndOfLineComment(text, start);
  }
  if (c == '/' && next == '*') {
    return EndOfBlockComment(text, start, dialect != SqlDialect::Sqlite);
  }
  return start;
}

namespace {
bool IsCall(std::string_view text, size_t wordStart, size_t wordEnd) {
  if (wordStart > 0 && text[wordStart - 1] == '.') {
    return false;
  }
  size_t at = wordEnd;
  while (at < text.size() && IsSqlBlank(text[at])) {
    ++at;
  }
  return at < text.size() && text[at] == '(';
}
}  // namespace

std::string RenameCalls(std::string_view statement, SqlDialect dialect,
                        const std::function<std::string(std::string_view name)>& rename) {
  std::string renamed;
  renamed.reserve(statement.size());
  size_t at = 0;
  while (at < statement.size()) {
    size_t end = EndOfQuotedOrComment(statement, at, dialect);
    if (end > at) {
      renamed.append(statement.substr(at, end - at));
    } else if (IsSqlWordChar(statement[at])) {
      end = EndOfWord(statement, at);
      std::string_view word = statement.substr(at, end - at);
      std::string other = IsCall(statement, at, end) ? rename(word) : std::string();
      renamed.append(other.empty() ? word : std::string_view(other));
    } else {
      end = at + 1;
      renamed += statement[at];
    }
    at = end;
  }
  return renamed;
}

StatementCount CountStatements(std::string_view text, SqlDialect dialect) {
  int statements = 0;
  bool inStatement = false;
  auto countContent = [&] {
    if (!inStatement) {
      inStatement = true;
      ++statements;
    }
  };
  size_t at = 0;
  while (at < text.size()) {
    char c = text[at];
    size_t end = EndOfQuotedOrComment(text, at, dialect);
    if (end > at) {
      if (c != '-' && c != '/') {
        countContent();
      }
    } else if (IsSqlWordChar(c)) {
      end = EndOfWord(text, at);
      countContent();
    } else {
      end = at + 1;
      if (c == ';') {
        inStatement = false;
      } else if (!IsSqlBlank(c)) {
        countContent();
      }
    }
    at = end;
  }
  return statements == 0   ? StatementCount::None
         : statements == 1 ? StatementCount::One
                           : StatementCount::Several;
}

}  // namespace xel
