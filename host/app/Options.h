#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace xel::app {

// What the command line asks for.
struct Options {
  enum class Command {
    Editor,
    Schema,
    Register,
    Unregister,
    List,
    Get,
    Set,
    Export,
    Import,
    Find,
    History,
    Revert
  };
  Command command = Command::Editor;
  std::string db;      // --db CONNECTION, or read from --db-file or XEL02_DB; empty: the demo store
  std::string dbFile;  // --db-file FILE
  bool dbFromEnvironment = false;  // db is XEL02_DB's
  std::string traceSql;            // --trace-sql FILE
  std::string screenshot;          // --screenshot FILE
  std::string load;     // --load, or XEL02_LOAD for the editor: classes (also when empty) or bulk
  bool apply = false;   // schema --apply
  bool demo = false;    // schema --demo
  bool system = false;  // register/unregister --system

  // list, get, set, export and import: their operands and options.
  std::string classCode;  // list CLASS, export --class CODE
  std::string key;        // get KEY, set KEY VALUE
  std::string value;      // set KEY VALUE
  std::string file;       // import FILE
  std::string text;       // find TEXT
  std::string format;     // --format: export json|csv, find text|json; the first by default
  bool dryRun = false;    // import --dry-run, revert --dry-run
  uint64_t maxSize = 64ull << 20;  // import --max-size BYTES: the largest file read

  // history, revert and export --as-of.
  std::string change;       // revert CHANGE
  std::string since;        // history --since DATE
  std::string user;         // history --user NAME
  std::string pruneBefore;  // history --prune-before DATE
  std::string asOf;         // export --as-of DATE
};

// The value of an environment variable, if it is set.
using Environment = std::function<std::optional<std::string>(const std::string& name)>;

// The process's own environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

// What a command line comes to: the options of the command to run, or else the text to print and
// the exit status (0 after --help or --version on the output; 2, a wrong usage, on the errors:
// why, the command's usage line and where to read more).
struct CommandLine {
  std::optional<Options> options;
  int status = 0;
  std::string output;
  std::string errors;
};

// Reads the arguments after the program's name.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments,
                            const Environment& environment);

// The parser of the whole command line, filling `options`; the man page and the shell's
// completion are made from it.
std::unique_ptr<CLI::App> MakeParser(Options& options, bool& version);

// The demo store's connection string: a SQLite file in the user's data folder. Without an absolute
// $XDG_DATA_HOME or $HOME, a run-time error asking for --db or HOME.
std::string DemoStoreConnection();

}  // namespace xel::app
