#pragma once

#include "host/app/Options.h"

namespace xel::app {

// xel02 schema: prints the statements that make a store on the server --db names, or with
// --apply runs them (and with --demo fills an empty store with the demo settings). Returns the
// process's exit code.
int RunSchemaCommand(const Options& options);

}  // namespace xel::app
