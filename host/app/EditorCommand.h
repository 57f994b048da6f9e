#pragma once

#include "host/app/Options.h"

namespace xel::app {

// Opens the editor on the store the options name and runs until its window closes; with
// --screenshot draws it into a PNG file instead. Returns the process's exit code.
int RunEditor(const Options& options, int& argc, char** argv);

}  // namespace xel::app
