#pragma once

#include "host/app/Options.h"

namespace xel::app {

// xel02 export and import: the store's classes and variables written to standard output as JSON
// or CSV, and such a file brought into the store (or, with --dry-run, only compared with it).
// Returns the process's exit code.
int RunExchangeCommand(const Options& options);

}  // namespace xel::app
