#pragma once

#include <string>
#include <string_view>

namespace xel {

// Carries a statement written for the host's server into SQLite's dialect. The server's
// IsNull(a, b) is written ifnull(a, b) (SQLite reads "IsNull" as an operator and cannot parse it as
// a call). Only a whole word IsNull, in any letter case, followed after optional blanks by "(" is
// changed; quoted texts, quoted names and comments are left exactly as they are.
std::string CarryIsNullAsIfNull(std::string_view statement);

}  // namespace xel
