#pragma once

#include "host/app/Options.h"

namespace xel::app {

// xel02 list [CLASS], get KEY and set KEY VALUE, on the store the options name, without a screen.
// Returns the process's exit code.
int RunVariablesCommand(const Options& options);

}  // namespace xel::app
