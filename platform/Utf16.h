#pragma once

#include <string>
#include <string_view>

namespace xel {

// Texts live in UTF-8 throughout the system; ODBC drivers take and give them as UTF-16. Characters
// beyond the basic plane (emoji) travel as surrogate pairs.

// A UTF-8 text in UTF-16. A text that is not well-formed UTF-8 (a stray or missing continuation
// byte, an over-long form, an encoded surrogate, a character past U+10FFFF) cannot be carried
// faithfully and is refused with err::InvalidProcedureCall.
std::u16string Utf8ToUtf16(std::string_view text);

// A UTF-16 text in UTF-8; a surrogate without its other half becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace xel
