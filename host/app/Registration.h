#pragma once

#include <filesystem>

#include "host/app/Options.h"

namespace xel::app {

// The component library this program uses: the one $XEL02_LIBRARY names, otherwise the one
// installed beside the program, otherwise the one built with it.
std::filesystem::path ComponentLibrary();

// Registers the component in the user's registry, as its installer would, when neither the user's
// nor the machine's registry names a library that is there.
void EnsureComponentRegistered();

// xel02 register / unregister [--system]: the component library records or removes its entries in
// the user's registry, or with --system in the machine's. Returns the process's exit code.
int RunRegistrationCommand(const Options& options);

}  // namespace xel::app
