#pragma once

#include <string>
#include <string_view>

namespace xel {

// The argument part of this process's command line: the arguments after the program's own path,
// joined by single blanks.
std::string ProcessArguments();

// The same, from the system's record of a command line: the program and its arguments, each
// ended by a NUL character.
std::string ArgumentsOf(std::string_view recordedCommandLine);

}  // namespace xel
