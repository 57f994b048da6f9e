#pragma once

#include "host/app/Options.h"

namespace xel::app {

// Registers the component in the user's registry, as its installer would, when neither the user's
// nor the machine's registry names a library that is there.
void EnsureComponentRegistered();

// xel02 register / unregister [--system]: the component library records or removes its entries in
// the user's registry, or with --system in the machine's; there only the library installed beside
// the program, whatever $XEL02_LIBRARY says. Returns the process's exit code.
int RunRegistrationCommand(const Options& options);

}  // namespace xel::app
