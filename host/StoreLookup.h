#pragma once

#include <string>

#include "platform/data/Database.h"

namespace xel {

// The host's one-column look-up: the result column of the first row whose search column equals
// the value, as text (NULL reads as empty); the empty text when no row matches. The value is bound,
// never spliced; table and column names must be plain identifiers, anything else is refused.
std::string BuscarCampoEnStore(Connection& connection, const std::string& table,
                               const std::string& searchColumn, const std::string& searchValue,
                               const std::string& resultColumn);

}  // namespace xel
