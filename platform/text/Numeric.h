#pragma once

#include <string_view>

namespace xel {

// Whether a text reads as a number as a whole: blanks around it allowed, then an optional sign,
// digits with an optional decimal point and fraction (".5" and "5." count) and an optional exponent
// (e or E, an optional sign, digits). The empty text, a lone sign and "1e" do not.
bool ReadsAsNumber(std::string_view text);

// The text without the blanks before and after it.
std::string_view TrimBlanks(std::string_view text);

}  // namespace xel
