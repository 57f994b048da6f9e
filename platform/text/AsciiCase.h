#pragma once

#include <algorithm>
#include <string_view>

namespace xel {

// Compares names the way the store does: letters without regard to case (only the ASCII ones,
// which is all that table, column and function names use).
inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace xel
