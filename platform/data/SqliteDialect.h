#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace xel {

// Carries a statement written for the host's server into SQLite's dialect. The server's
// IsNull(a, b) is written ifnull(a, b) (SQLite reads "IsNull" as an operator and cannot parse it as
// a call). Only a whole word IsNull, in any letter case, followed after optional blanks by "(" and
// not qualified by a schema is changed; quoted texts, quoted names and comments are left exactly
// as they are.
std::string CarryIsNullAsIfNull(std::string_view statement);

// Lifts the quoted texts out of a SELECT, INSERT, UPDATE or DELETE that has no ? markers of its
// own: each 'text' becomes a ? marker and its value (quotes undoubled) is returned in order. The
// statements the editor sends differ only in their quoted values, so they share one compiled
// form. Any other statement is left as it is and gives no values.
std::vector<std::string> LiftQuotedTexts(std::string& statement);

}  // namespace xel
