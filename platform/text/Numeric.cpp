#include "platform/text/Numeric.h"

namespace xel {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Moves past the digits at `at` and tells how many there were.
size_t SkipDigits(std::string_view text, size_t& at) {
  size_t start = at;
  while (at < text.size() && IsDigit(text[at])) {
    ++at;
  }
  return at - start;
}

void SkipSign(std::string_view text, size_t& at) {
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    ++at;
  }
}

bool SkipChar(std::string_view text, size_t& at, char lower, char upper) {
  if (at < text.size() && (text[at] == lower || text[at] == upper)) {
    ++at;
    return true;
  }
  return false;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool ReadsAsNumber(std::string_view text) {
  std::string_view number = TrimBlanks(text);
  size_t at = 0;
  SkipSign(number, at);
  size_t digits = SkipDigits(number, at);
  if (SkipChar(number, at, '.', '.')) {
    digits += SkipDigits(number, at);
  }
  if (digits == 0) {
    return false;
  }
  if (SkipChar(number, at, 'e', 'E')) {
    SkipSign(number, at);
    if (SkipDigits(number, at) == 0) {
      return false;
    }
  }
  return at == number.size();
}

}  // namespace xel
