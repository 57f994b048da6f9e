#pragma once

#include <memory>
#include <string>

#include "platform/data/Database.h"

namespace xel {

// Fills an empty store with a realistic set of business settings: a dozen classes over three
// levels and forty variables of the three types. Class codes and positions are both four-digit
// numbers but differ from each other, as in a store whose classes were added in another order than
// the tree shows. One transaction (or part of the caller's): on failure nothing is written.
void SeedDemoStore(Connection& db);

// Opens the SQLite store at `path`; a new file, or one without either of the store's tables, gets
// the tables and the demo settings. A file that holds the tables keeps its rows, even when there
// are none; one that holds a single table gets the other, empty.
std::unique_ptr<Connection> OpenOrCreateDemoStore(const std::string& path);

}  // namespace xel
