#pragma once

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
    History,
    Revert
  };
  Command command = Command::Editor;
  std::string db;          // --db CONNECTION; empty: the demo store in the user's data folder
  std::string traceSql;    // --trace-sql FILE
  std::string screenshot;  // --screenshot FILE
  bool apply = false;      // schema --apply
  bool demo = false;       // schema --demo
  bool system = false;     // register/unregister --system

  // list, get, set, export and import: their operands and options.
  std::string classCode;        // list CLASS, export --class CODE
  std::string key;              // get KEY, set KEY VALUE
  std::string value;            // set KEY VALUE
  std::string file;             // import FILE
  std::string format = "json";  // export --format json|csv
  bool dryRun = false;          // import --dry-run, revert --dry-run

  // history, revert and export --as-of.
  std::string change;       // revert CHANGE
  std::string since;        // history --since DATE
  std::string user;         // history --user NAME
  std::string pruneBefore;  // history --prune-before DATE
  std::string asOf;         // export --as-of DATE
};

// Reads the arguments after the program's name; a wrong one is an error whose text says why.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

std::string UsageText();

// The demo store's connection string: a SQLite file in the user's data folder.
std::string DemoStoreConnection();

}  // namespace xel::app
