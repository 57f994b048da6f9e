#include "host/app/Options.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "host/app/StoreConnection.h"
#include "platform/Numeric.h"
#include "platform/RuntimeError.h"

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

// A size in bytes, or in KiB, MiB or GiB with the suffix K, M or G.
bool TakeSize(const std::vector<std::string>& arguments, size_t& at, uint64_t& into,
              std::string& error) {
  std::string text;
  if (!TakeValue(arguments, at, text, error)) {
    return false;
  }
  size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
  std::string suffix = text.substr(digits);
  int shift = suffix.empty()  ? 0
              : suffix == "K" ? 10
              : suffix == "M" ? 20
              : suffix == "G" ? 30
                              : -1;
  uint64_t number = digits == 0 || digits > 12 ? 0 : std::stoull(text.substr(0, digits));
  if (number == 0 || shift < 0 || number > (UINT64_MAX >> shift)) {
    error = arguments[at - 1] + " is a number of bytes, or with K, M or G after it, not " + text;
    return false;
  }
  into = number << shift;
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
  std::vector<std::string> formats =
      {};  // what --format takes, the default first; none: no --format
};
const StoreCommand kStoreCommands[] = {
    {"list", Options::Command::List, 0, {&Options::classCode}, "list [CLASS]"},
    {"get", Options::Command::Get, 1, {&Options::key}, "get KEY"},
    {"set", Options::Command::Set, 2, {&Options::key, &Options::value}, "set KEY VALUE"},
    {"export",
     Options::Command::Export,
     0,
     {},
     "export [--class CODE] [--format json|csv]",
     {"json", "csv"}},
    {"import", Options::Command::Import, 1, {&Options::file}, "import FILE [--dry-run]"},
    {"find",
     Options::Command::Find,
     1,
     {&Options::text},
     "find TEXT [--format text|json]",
     {"text", "json"}},
};

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
  const bool exporting = store.command == Options::Command::Export;
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
    } else if (argument == "--db-file") {
      taken = TakeValue(arguments, at, options.dbFile, error);
    } else if (argument == "--class" && exporting) {
      taken = TakeValue(arguments, at, options.classCode, error);
    } else if (argument == "--format" && !store.formats.empty()) {
      taken = TakeValue(arguments, at, options.format, error);
    } else if (argument == "--dry-run" && store.command == Options::Command::Import) {
      options.dryRun = true;
    } else if (argument == "--max-size" && store.command == Options::Command::Import) {
      taken = TakeSize(arguments, at, options.maxSize, error);
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
  if (options.format.empty() && !store.formats.empty()) {
    options.format = store.formats.front();
  } else if (!options.format.empty() &&
             std::ranges::find(store.formats, options.format) == store.formats.end()) {
    error =
        "--format is " + store.formats[0] + " or " + store.formats[1] + ", not " + options.format;
    return std::nullopt;
  }
  for (size_t i = 0; i < operands.size(); ++i) {
    options.*store.operands[i] = operands[i];
  }
  return options;
}
// The command and its options, as the arguments give them.
std::optional<Options> ParseArguments(const std::vector<std::string>& arguments,
                                      std::string& error) {
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
    } else if (argument == "--db" || argument == "--db-file") {
      if (!TakeValue(arguments, at, argument == "--db" ? options.db : options.dbFile, error)) {
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
  return options;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
  std::optional<Options> options = ParseArguments(arguments, error);
  if (!options || options->command == Options::Command::Help ||
      options->command == Options::Command::Version) {
    return options;
  }
  if (!TakeStoreConnection(*options, error)) {
    return std::nullopt;
  }
  if (options->command == Options::Command::Schema && options->db.empty()) {
    error = "schema needs --db CONNECTION, --db-file FILE or XEL02_DB";
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
       xel02 import FILE [--dry-run] [--max-size BYTES] [--db CONNECTION]
       xel02 find TEXT [--format text|json] [--db CONNECTION]

Opens the editor of the system variables on a store.

  --db CONNECTION     the store: sqlite:PATH, or odbc: followed by an ODBC connection string,
                      best a data source whose password stays in ~/.odbc.ini, e.g. odbc:DSN=erp
                      (default: XEL02_DB, else a demo store in the user's data folder)
  --db-file FILE      the store's connection string read from FILE, which must be yours and
                      readable by you alone (chmod 600): a password in it stays out of sight of
                      other users, as it would not on the command line
  --trace-sql FILE    write every statement and transaction call to FILE, one per line, control
                      characters escaped; the file is made readable by you alone
  --screenshot FILE   draw the editor into a PNG file, without a display, and end
  --help, --version

  schema              print the statements that make the store's tables on that server;
    --apply           run them instead (only what is missing is made)
    --demo            with --apply, also fill an empty store with the demo settings

  register            record the editor component in the user's registry: the library
                      $XEL02_LIBRARY names, or the one installed with xel02; unregister removes it
    --system          in the machine's registry instead, for every user (/var/lib/xel02/registry)

  Without a screen, on the store --db, --db-file or XEL02_DB names (default: the demo store):
  list [CLASS]        the tree, or the class CLASS and everything under it: one line per entry,
                      fields separated by tabs, "class PATH DESCRIPTION" and then its variables
                      as "variable PATH KEY VALUE", PATH being the class codes from the top level
                      joined by "/"; a tab, line break, backslash or other control character in
                      a field is written escaped, as \t, \n, \r, \\, \xHH or \uHHHH
  get KEY             print the variable's value: exactly as stored into a pipe or a file, with
                      control characters escaped on a terminal
  set KEY VALUE       give an existing variable a new value, as its type takes it: N a number,
                      B 0 or 1, T any text; never empty (a value that starts with "-" and is
                      not a number goes after "--": xel02 set KEY -- -x)
  export              write the classes (code, parent, position, description) and the variables
                      (class, key, value, type, description) to standard output
    --class CODE      only that class, its sub-classes at every depth and their variables
    --format FORMAT   json (the default) or csv
  import FILE         bring the store in line with a file in either export format: insert what
                      it lacks, update descriptions, values and types that differ; nothing is
                      deleted or moved. Every row is checked first, all is written in one
                      transaction, and a wrong row (told as FILE:LINE) changes nothing
    --dry-run         print what would change, row by row, and write nothing
    --max-size BYTES  read a file up to that size (K, M or G after the number: KiB, MiB,
                      GiB); a larger one is refused before it is read. Default 64M
  find TEXT           the classes and variables whose key, description or value holds TEXT,
                      letter case and accents aside, as the editor's find: one line each, in
                      the tree's order, "class PATH CODE" or "variable PATH KEY", PATH being the
                      editor's node texts from RAIZ down ("RAIZ/Impuestos/IVA"); none: no line
    --format FORMAT   text (the default, tab-separated as list) or json

Exit status: 0 done; 1 the operation failed (unknown key, refused value, wrong file, database
error); 2 wrong usage.
)";
}

// Only a folder of the user's own: in a shared one (the temporary folder, a relative path) another
// user could put a store of theirs, or a link to one, in the demo store's place.
std::string DemoStoreConnection() {
  std::filesystem::path folder;
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (data && std::filesystem::path(data).is_absolute()) {
    folder = data;
  } else if (home && std::filesystem::path(home).is_absolute()) {
    folder = std::filesystem::path(home) / ".local" / "share";
  } else {
    throw RuntimeError(err::InvalidProcedureCall,
                       "the demo store lives in the home folder, and HOME names none: set HOME to "
                       "the user's home folder, or name a store with --db CONNECTION");
  }
  folder /= "xel02";
  std::filesystem::create_directories(folder);
  return "sqlite:" + (folder / "demo.db").string();
}

}  // namespace xel::app
