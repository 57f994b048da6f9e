// xel02: the host application of the system-variables editor.

#include <iostream>
#include <string>
#include <vector>

#include "host/app/EditorCommand.h"
#include "host/app/ExchangeCommand.h"
#include "host/app/HistoryCommand.h"
#include "host/app/Options.h"
#include "host/app/Registration.h"
#include "host/app/SchemaCommand.h"
#include "host/app/VariablesCommand.h"

int main(int argc, char* argv[]) {
  using xel::app::Options;
  std::string error;
  auto options = xel::app::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::cerr << "xel02: " << error << "\n\n" << xel::app::UsageText();
    return 2;
  }
  switch (options->command) {
    case Options::Command::Help:
      std::cout << xel::app::UsageText();
      return 0;
    case Options::Command::Version:
      std::cout << "xel02 " << XEL02_VERSION << "\n";
      return 0;
    case Options::Command::Schema:
      return xel::app::RunSchemaCommand(*options);
    case Options::Command::Register:
    case Options::Command::Unregister:
      return xel::app::RunRegistrationCommand(*options);
    case Options::Command::List:
    case Options::Command::Get:
    case Options::Command::Set:
      return xel::app::RunVariablesCommand(*options);
    case Options::Command::Export:
    case Options::Command::Import:
      return xel::app::RunExchangeCommand(*options);
    case Options::Command::History:
    case Options::Command::Revert:
      return xel::app::RunHistoryCommand(*options);
    case Options::Command::Editor:
      break;
  }
  return xel::app::RunEditor(*options, argc, argv);
}
