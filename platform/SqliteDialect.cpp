#include "platform/SqliteDialect.h"

#include "platform/AsciiCase.h"

namespace xel {
namespace {

bool IsWordChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
         u == '$' || u >= 0x80;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

size_t EndOrSize(std::string_view text, size_t end) {
  return end == std::string_view::npos ? text.size() : end;
}

// The end of a text or name quoted with `quote` starting at `start`, a doubled quote standing for
// the quote itself; an unclosed one runs to the end of the statement.
size_t EndOfQuoted(std::string_view text, size_t start, char quote) {
  size_t at = start + 1;
  while (at < text.size()) {
    if (text[at] != quote) {
      ++at;
    } else if (at + 1 < text.size() && text[at + 1] == quote) {
      at += 2;
    } else {
      return at + 1;
    }
  }
  return text.size();
}

// The end of the piece that starts at `start` and that the translation must copy unchanged, or
// `start` itself when no such piece starts there.
size_t EndOfUntouchable(std::string_view text, size_t start) {
  char c = text[start];
  char next = start + 1 < text.size() ? text[start + 1] : '\0';
  if (c == '\'' || c == '"' || c == '`') {
    return EndOfQuoted(text, start, c);
  }
  if (c == '[') {
    size_t close = text.find(']', start);
    return close == std::string_view::npos ? text.size() : close + 1;
  }
  if (c == '-' && next == '-') {
    return EndOrSize(text, text.find('\n', start));
  }
  if (c == '/' && next == '*') {
    size_t close = text.find("*/", start + 2);
    return close == std::string_view::npos ? text.size() : close + 2;
  }
  return start;
}

size_t EndOfWord(std::string_view text, size_t start) {
  size_t end = start;
  while (end < text.size() && IsWordChar(text[end])) {
    ++end;
  }
  return end;
}

bool IsIsNullCall(std::string_view text, size_t wordStart, size_t wordEnd) {
  if (!SameIgnoringCase(text.substr(wordStart, wordEnd - wordStart), "IsNull")) {
    return false;
  }
  size_t at = wordEnd;
  while (at < text.size() && IsBlank(text[at])) {
    ++at;
  }
  return at < text.size() && text[at] == '(';
}

}  // namespace

std::string CarryIsNullAsIfNull(std::string_view statement) {
  std::string carried;
  carried.reserve(statement.size());
  size_t at = 0;
  while (at < statement.size()) {
    size_t end = EndOfUntouchable(statement, at);
    if (end > at) {
      carried.append(statement.substr(at, end - at));
    } else if (IsWordChar(statement[at])) {
      end = EndOfWord(statement, at);
      bool isNullCall = IsIsNullCall(statement, at, end);
      carried.append(isNullCall ? std::string_view("ifnull") : statement.substr(at, end - at));
    } else {
      end = at + 1;
      carried += statement[at];
    }
    at = end;
  }
  return carried;
}

}  // namespace xel
