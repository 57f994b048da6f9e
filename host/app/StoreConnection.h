#pragma once

#include <string>

#include "host/app/Options.h"

namespace xel::app {

// Names the store of a command that works on one without a password on the command line: the
// connection string in the file --db-file names (refused unless only its owner, the running user,
// may read it), or in the environment variable XEL02_DB when neither --db nor --db-file is given.
// False, with the reason in `error`, when the file is refused or both --db and --db-file are given.
bool TakeStoreConnection(Options& options, const Environment& environment, std::string& error);

// The arguments that name the same store again in a command shown to the user, without its
// password: --db-file FILE, nothing when XEL02_DB names it, or --db with the password masked.
std::string StoreArguments(const Options& options);

}  // namespace xel::app
