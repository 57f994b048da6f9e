#pragma once

#include "platform/data/Database.h"

namespace xel::bench {

// A store of realistic shape: classes nested up to four levels (about one in twenty at the top),
// variables of the three types spread over the classes, Spanish names and descriptions. The same
// seed gives the same store.
struct StoreShape {
  int classes;
  int variables;
};

void GenerateStore(Connection& db, StoreShape shape, unsigned seed = 2026);

}  // namespace xel::bench
