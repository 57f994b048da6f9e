#pragma once

#include "host/app/Options.h"

namespace xel::app {

// xel02 find TEXT [--format text|json]: the editor's find on the store the options name, without a
// screen. Returns the process's exit code.
int RunFindCommand(const Options& options);

}  // namespace xel::app
