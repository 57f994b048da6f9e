#pragma once

#include "host/app/Options.h"

namespace xel::app {

// xel02 history [KEY | --class CODE] [--since DATE] [--user NAME] [--format text|json],
// xel02 history --prune-before DATE and xel02 revert CHANGE [--dry-run], on the store the options
// name. Returns the process's exit code.
int RunHistoryCommand(const Options& options);

}  // namespace xel::app
