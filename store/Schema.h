#pragma once

#include <string>
#include <vector>

#include "platform/Database.h"

namespace xel {

// The two tables of an embedded SQLite store, with the indexes the tree's reads use: classes by
// parent and position, variables by class and key. Position numbers are not made unique: a store
// holding the same position twice must still load, and saving the tree renumbers every class.
// Keys compare without regard to letter case, as on the host's server. Creates only what is
// missing, in one transaction (or as part of the caller's).
void CreateSchema(Connection& db);

// The store tables an SQLite file lacks, by name; empty when it holds both.
std::vector<std::string> MissingTables(Connection& db);
bool HasSchema(Connection& db);

}  // namespace xel
