#include "platform/text/CommandLine.h"

#include <fstream>
#include <iterator>

#include "platform/text/RuntimeError.h"

namespace xel {

std::string ProcessArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  if (!in) {
    throw RuntimeError(err::InvalidProcedureCall, "The command line of the process cannot be read");
  }
  return ArgumentsOf(std::string(std::istreambuf_iterator<char>(in), {}));
}

std::string CmdValor(std::string_view linea, std::string_view argumento) {
  const size_t posicion = linea.find(argumento);
  if (posicion == std::string_view::npos) {
    return "";
  }
  const std::string_view resto = linea.substr(posicion + argumento.size());
  return std::string(resto.substr(0, resto.find(" /")));
}

std::string ArgumentsOf(std::string_view recordedCommandLine) {
  std::string arguments;
  size_t programEnd = recordedCommandLine.find('\0');
  if (programEnd == std::string_view::npos) {
    return arguments;
  }
  for (size_t start = programEnd + 1; start < recordedCommandLine.size();) {
    size_t end = recordedCommandLine.find('\0', start);
    if (end == std::string_view::npos) {
      end = recordedCommandLine.size();
    }
    if (start > programEnd + 1) {
      arguments += ' ';
    }
    arguments += recordedCommandLine.substr(start, end - start);
    start = end + 1;
  }
  return arguments;
}

}  // namespace xel
