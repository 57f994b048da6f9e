#pragma once

#include <string>
#include <string_view>

namespace xel {

// The argument part of this process's command line: the arguments after the program's own path,
// joined by single blanks.
std::string ProcessArguments();

// The value of one named argument of a command line, as hosts read it: the text after the first
// exact occurrence of the name, up to the next " /", untrimmed; empty when the name is absent.
std::string CmdValor(std::string_view linea, std::string_view argumento);

// The same, from the system's record of a command line: the program and its arguments, each
// ended by a NUL character.
std::string ArgumentsOf(std::string_view recordedCommandLine);

}  // namespace xel
