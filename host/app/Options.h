#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xel::app {

// What the command line asks for.
struct Options {
  enum class Command {
    Editor,
    Schema,
    Help,
    Version,
    Register,
    Unregister,
    List,
    Get,
    Set,
    Export,
    Import,
    Find
  };
  Command command = Command::Editor;
  std::string db;      // --db CONNECTION, or read from --db-file or XEL02_DB; empty: the demo store
  std::string dbFile;  // --db-file FILE
  bool dbFromEnvironment = false;  // db is XEL02_DB's
  std::string traceSql;            // --trace-sql FILE
  std::string screenshot;          // --screenshot FILE
  bool apply = false;              // schema --apply
  bool demo = false;               // schema --demo
  bool system = false;             // register/unregister --system

  // list, get, set, export and import: their operands and options.
  std::string classCode;  // list CLASS, export --class CODE
  std::string key;        // get KEY, set KEY VALUE
  std::string value;      // set KEY VALUE
  std::string file;       // import FILE
  std::string text;       // find TEXT
  std::string format;     // --format: export json|csv, find text|json; the first by default
  bool dryRun = false;    // import --dry-run
  uint64_t maxSize = 64ull << 20;  // import --max-size BYTES: the largest file read
};

// Reads the arguments after the program's name; a wrong one is an error whose text says why.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

std::string UsageText();

// The demo store's connection string: a SQLite file in the user's data folder. Without an absolute
// $XDG_DATA_HOME or $HOME, a run-time error asking for --db or HOME.
std::string DemoStoreConnection();

}  // namespace xel::app
