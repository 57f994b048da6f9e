// xel02: the host application of the system-variables editor.

#include <iostream>
#include <string>
#include <vector>

#include "host/app/EditorCommand.h"
#include "host/app/ExchangeCommand.h"
#include "host/app/FindCommand.h"
#include "host/app/HistoryCommand.h"
#include "host/app/Options.h"
#include "host/app/Registration.h"
#include "host/app/SchemaCommand.h"
#include "host/app/VariablesCommand.h"
#include "platform/text/VisibleText.h"

int main(int argc, char* argv[]) {
  using xel::app::Options;
  xel::app::CommandLine line = xel::app::ReadCommandLine(
      std::vector<std::string>(argv + 1, argv + argc), xel::app::ProcessEnvironment);
  if (!line.options) {
    std::cout << line.output;
    std::cerr << xel::VisibleText(line.errors, xel::LineBreaks::Kept);
    return line.status;
  }
  const Options& options = *line.options;
  switch (options.command) {
    case Options::Command::Schema:
      return xel::app::RunSchemaCommand(options);
    case Options::Command::Register:
    case Options::Command::Unregister:
      return xel::app::RunRegistrationCommand(options);
    case Options::Command::List:
    case Options::Command::Get:
    case Options::Command::Set:
      return xel::app::RunVariablesCommand(options);
    case Options::Command::Export:
    case Options::Command::Import:
      return xel::app::RunExchangeCommand(options);
    case Options::Command::Find:
      return xel::app::RunFindCommand(options);
    case Options::Command::History:
    case Options::Command::Revert:
      return xel::app::RunHistoryCommand(options);
    case Options::Command::Editor:
      break;
  }
  return xel::app::RunEditor(options, argc, argv);
}
