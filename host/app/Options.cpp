#include "host/app/Options.h"

#include <cstdlib>
#include <filesystem>

namespace xel::app {

namespace {
bool TakeValue(const std::vector<std::string>& arguments, size_t& at, std::string& into,
               std::string& error) {
  if (at + 1 >= arguments.size()) {
    error = arguments[at] + " needs a value";
    return false;
  }
  into = arguments[++at];
  return true;
}
}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  size_t at = 0;
  if (!arguments.empty() && arguments[0] == "schema") {
    options.command = Options::Command::Schema;
    at = 1;
  }
  for (; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    bool schema = options.command == Options::Command::Schema;
    if (argument == "--help" || argument == "-h") {
      options.command = Options::Command::Help;
    } else if (argument == "--version") {
      options.command = Options::Command::Version;
    } else if (argument == "--db") {
      if (!TakeValue(arguments, at, options.db, error)) {
        return std::nullopt;
      }
    } else if (argument == "--trace-sql" && !schema) {
      if (!TakeValue(arguments, at, options.traceSql, error)) {
        return std::nullopt;
      }
    } else if (argument == "--screenshot" && !schema) {
      if (!TakeValue(arguments, at, options.screenshot, error)) {
        return std::nullopt;
      }
    } else if (argument == "--apply" && schema) {
      options.apply = true;
    } else if (argument == "--demo" && schema) {
      options.demo = true;
    } else {
      error = "unknown argument: " + argument;
      return std::nullopt;
    }
  }
  if (options.command == Options::Command::Schema && options.db.empty()) {
    error = "schema needs --db CONNECTION";
    return std::nullopt;
  }
  return options;
}

std::string UsageText() {
  return R"(Usage: xel02 [--db CONNECTION] [--trace-sql FILE] [--screenshot FILE]
       xel02 schema --db CONNECTION [--apply] [--demo]

Opens the editor of the system variables on a store.

  --db CONNECTION     the store: sqlite:PATH, or odbc: followed by an ODBC connection string,
                      e.g. "odbc:Driver={PostgreSQL Unicode};Server=db;Database=erp;Uid=me;Pwd=..."
                      (default: a demo store in the user's data folder, made when absent)
  --trace-sql FILE    write every statement and transaction call to FILE, one per line
  --screenshot FILE   draw the editor into a PNG file, without a display, and end
  --help, --version

  schema              print the statements that make the store's tables on that server;
    --apply           run them instead (only what is missing is made)
    --demo            with --apply, also fill an empty store with the demo settings
)";
}

std::string DemoStoreConnection() {
  std::filesystem::path folder;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    folder = data;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = std::filesystem::path(home) / ".local" / "share";
  } else {
    folder = std::filesystem::temp_directory_path();
  }
  folder /= "xel02";
  std::filesystem::create_directories(folder);
  return "sqlite:" + (folder / "demo.db").string();
}

}  // namespace xel::app
