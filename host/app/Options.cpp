#include "host/app/Options.h"

#include <cstdlib>
#include <filesystem>

#include "platform/Numeric.h"

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

// register|unregister [--system]
std::optional<Options> ParseRegistration(const std::vector<std::string>& arguments,
                                         std::string& error) {
  Options options;
  options.command =
      arguments[0] == "register" ? Options::Command::Register : Options::Command::Unregister;
  for (size_t at = 1; at < arguments.size(); ++at) {
    if (arguments[at] != "--system") {
      error = "unknown argument: " + arguments[at];
      return std::nullopt;
    }
    options.system = true;
  }
  return options;
}

// The commands that work on the store's classes and variables without the editor, with the
// operands each takes, in order.
struct StoreCommand {
  const char* name;
  Options::Command command;
  size_t requiredOperands;
  std::vector<std::string Options::*> operands;
  const char* synopsis;
};
const StoreCommand kStoreCommands[] = {
    {"list", Options::Command::List, 0, {&Options::classCode}, "list [CLASS]"},
    {"get", Options::Command::Get, 1, {&Options::key}, "get KEY"},
    {"set", Options::Command::Set, 2, {&Options::key, &Options::value}, "set KEY VALUE"},
    {"export", Options::Command::Export, 0, {}, "export [--class CODE] [--format json|csv]"},
    {"import", Options::Command::Import, 1, {&Options::file}, "import FILE [--dry-run]"},
    {"history",
     Options::Command::History,
     0,
     {&Options::key},
     "history [KEY | --class CODE] [--since DATE] [--user NAME] [--format text|json]"},
    {"revert", Options::Command::Revert, 1, {&Options::change}, "revert CHANGE [--dry-run]"},
};

// The options of one command beyond --db, each with the field its value goes to.
struct CommandOption {
  Options::Command command;
  const char* name;
  std::string Options::*value;
};
const CommandOption kCommandOptions[] = {
    {Options::Command::Export, "--class", &Options::classCode},
    {Options::Command::Export, "--format", &Options::format},
    {Options::Command::Export, "--as-of", &Options::asOf},
    {Options::Command::History, "--class", &Options::classCode},
    {Options::Command::History, "--format", &Options::format},
    {Options::Command::History, "--since", &Options::since},
    {Options::Command::History, "--user", &Options::user},
    {Options::Command::History, "--prune-before", &Options::pruneBefore},
};

std::string Options::*ValueOption(Options::Command command, const std::string& name) {
  for (const CommandOption& option : kCommandOptions) {
    if (option.command == command && name == option.name) {
      return option.value;
    }
  }
  return nullptr;
}

// The host's own "/USR name" names the session's user; the commands leave it to the host.
std::vector<std::string> WithoutHostArguments(const std::vector<std::string>& arguments) {
  std::vector<std::string> kept;
  for (size_t at = 0; at < arguments.size(); ++at) {
    if (arguments[at] == "/USR") {
      ++at;
    } else {
      kept.push_back(arguments[at]);
    }
  }
  return kept;
}

const StoreCommand* StoreCommandNamed(const std::string& name) {
  for (const StoreCommand& command : kStoreCommands) {
    if (name == command.name) {
      return &command;
    }
  }
  return nullptr;
}

// A value rather than an option: what does not start with "-", "-" itself, and a negative number.
bool IsOperand(const std::string& argument) {
  return argument.size() < 2 || argument[0] != '-' || ReadsAsNumber(argument);
}

// list|get|set|export|import, their operands, --db and their own options; after "--" everything
// is an operand.
std::optional<Options> ParseStoreCommand(const StoreCommand& store,
                                         const std::vector<std::string>& arguments,
                                         std::string& error) {
  Options options;
  options.command = store.command;
  std::vector<std::string> operands;
  bool onlyOperands = false;
  const bool history = store.command == Options::Command::History;
  if (history) {
    options.format = "text";
  }
  for (size_t at = 1; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    bool taken = true;
    if (onlyOperands || IsOperand(argument)) {
      operands.push_back(argument);
    } else if (argument == "--") {
      onlyOperands = true;
    } else if (argument == "--help" || argument == "-h") {
      options.command = Options::Command::Help;
      return options;
    } else if (argument == "--db") {
      taken = TakeValue(arguments, at, options.db, error);
    } else if (auto value = ValueOption(store.command, argument)) {
      taken = TakeValue(arguments, at, options.*value, error);
    } else if (argument == "--dry-run" && (store.command == Options::Command::Import ||
                                           store.command == Options::Command::Revert)) {
      options.dryRun = true;
    } else {
      error = "unknown argument: " + argument;
      taken = false;
    }
    if (!taken) {
      return std::nullopt;
    }
  }
  if (operands.size() < store.requiredOperands || operands.size() > store.operands.size()) {
    error = std::string("wrong number of arguments; use: xel02 ") + store.synopsis;
    return std::nullopt;
  }
  if (options.format != "json" && options.format != (history ? "text" : "csv")) {
    error = std::string("--format is ") + (history ? "text or json" : "json or csv") + ", not " +
            options.format;
    return std::nullopt;
  }
  for (size_t i = 0; i < operands.size(); ++i) {
    options.*store.operands[i] = operands[i];
  }
  if (history &&
      !options.key.empty() + !options.classCode.empty() + !options.pruneBefore.empty() > 1) {
    error = "history takes one of KEY, --class CODE and --prune-before DATE";
    return std::nullopt;
  }
  return options;
}
}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& hostArguments,
                                    std::string& error) {
  const std::vector<std::string> arguments = WithoutHostArguments(hostArguments);
  if (!arguments.empty() && (arguments[0] == "register" || arguments[0] == "unregister")) {
    return ParseRegistration(arguments, error);
  }
  if (const StoreCommand* command = arguments.empty() ? nullptr : StoreCommandNamed(arguments[0])) {
    return ParseStoreCommand(*command, arguments, error);
  }
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
       xel02 register|unregister [--system]
       xel02 list [CLASS] [--db CONNECTION]
       xel02 get KEY [--db CONNECTION]
       xel02 set KEY VALUE [--db CONNECTION]
       xel02 export [--class CODE] [--format json|csv] [--db CONNECTION]
       xel02 import FILE [--dry-run] [--db CONNECTION]
       xel02 history [KEY | --class CODE] [--since DATE] [--user NAME] [--format text|json]
       xel02 history --prune-before DATE
       xel02 revert CHANGE [--dry-run]
       xel02 export --as-of DATE [--class CODE] [--format json|csv]

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

  register            record the editor component in the user's registry: the library
                      $XEL02_LIBRARY names, or the one installed with xel02; unregister removes it
    --system          in the machine's registry instead, for every user (/var/lib/xel02/registry)

  Without a screen, on the store --db names (default: the demo store):
  list [CLASS]        the tree, or the class CLASS and everything under it: one line per entry,
                      fields separated by tabs, "class PATH DESCRIPTION" and then its variables
                      as "variable PATH KEY VALUE", PATH being the class codes from the top level
                      joined by "/"; a tab, line break or backslash in a field is written as
                      \t, \n, \r or \\
  get KEY             print the variable's value
  set KEY VALUE       give an existing variable a new value, as its type takes it: N a number,
                      B 0 or 1, T any text; never empty (a value that starts with "-" and is
                      not a number goes after "--": xel02 set KEY -- -x)
  export              write the classes (code, parent, position, description) and the variables
                      (class, key, value, type, description) to standard output
    --class CODE      only that class, its sub-classes at every depth and their variables
    --format FORMAT   json (the default) or csv
  history [KEY]       the changes of the store, newest first: of every class and variable, of
                      one variable, or of a class and everything under it; tab-separated fields
                      "ID DATE USER DATABASE-USER KIND KEY WHAT"
    --class CODE      the class CODE, its sub-classes (also those deleted) and their variables
    --since DATE      only changes from DATE on (YYYY-MM-DD, YYYY-MM-DD HH:MM[:SS])
    --user NAME       only the changes NAME made
    --format FORMAT   text (the default) or json
    --prune-before DATE  remove the entries older than DATE (itself recorded)
  revert CHANGE       bring back what the change numbered CHANGE changed: an old value,
                      description or type; a deleted variable or class; a created one goes
    --dry-run         say what would be done, and write nothing
  export --as-of DATE the store as it stood at DATE, in the export formats
  /USR NAME           the user the history names (default: the login name)

  import FILE         bring the store in line with a file in either export format: insert what
                      it lacks, update descriptions, values and types that differ; nothing is
                      deleted or moved. Every row is checked first, all is written in one
                      transaction, and a wrong row (told as FILE:LINE) changes nothing
    --dry-run         print what would change, row by row, and write nothing

Exit status: 0 done; 1 the operation failed (unknown key, refused value, wrong file, database
error); 2 wrong usage.
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
