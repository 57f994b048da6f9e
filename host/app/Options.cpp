// The command line, read by CLI11 into Options.
//
// MakeParser declares the program's global options once, on the program: CLI11 takes them before
// or after any command, as every command falls through to the program for what it does not know.
// Each command is one Add... function that declares its operands and options into Options.
//   - A new command: add its value to Options::Command, write `void AddFoo(CLI::App& program,
//     Options& options)` that starts with `CLI::App& foo = Command(program, "foo",
//     Options::Command::Foo, "what it does", options)` and declares its operands
//     (`Operand(foo, "NAME", options.field, "...")`, `->required()` when it must be given) and
//     options (`foo.add_option("--name", options.field, "...")`, `foo.add_flag(...)`), call it
//     from MakeParser, and run it from main.cpp.
//   - A new global option: one more Global(...) line in AddGlobalOptions; every command's help
//     then names it. An environment variable that stands in for it is read through the
//     Environment that ReadCommandLine is given, as TakeStoreConnection reads XEL02_DB.
// The man page and the shell's completion are made from this parser at build time.

#include "host/app/Options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "host/app/StoreConnection.h"
#include "platform/text/RuntimeError.h"

namespace xel::app {

namespace {

constexpr const char* kProgram = "xel02";
constexpr const char* kGlobalGroup = "Global options, before or after the command";
constexpr size_t kHelpWidth = 80;
constexpr size_t kNameColumn = 26;

// `text` broken into lines of at most `width` characters at its blanks; its own line breaks kept.
std::string Wrapped(const std::string& text, size_t width) {
  std::string wrapped;
  size_t lineStart = 0;
  for (size_t at = 0; at < text.size();) {
    size_t wordEnd = std::min(text.find_first_of(" \n", at), text.size());
    if (at > lineStart && wordEnd - lineStart > width) {
      wrapped.back() = '\n';
      lineStart = wrapped.size();
    }
    wrapped += text.substr(at, wordEnd - at);
    if (wordEnd < text.size()) {
      wrapped += text[wordEnd];
      if (text[wordEnd] == '\n') {
        lineStart = wrapped.size();
      }
    }
    at = wordEnd + 1;
  }
  return wrapped;
}

// CLI11's help with its texts wrapped to a terminal's width.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter() {
    label("SUBCOMMAND", "COMMAND");
    column_width(kNameColumn);
  }
  // One blank line between the groups of options, where CLI11 leaves two.
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override {
    std::string help = CLI::Formatter::make_help(app, std::move(name), mode);
    for (size_t at = help.find("\n\n\n"); at != std::string::npos; at = help.find("\n\n\n", at)) {
      help.erase(at, 1);
    }
    return help;
  }
  std::string make_description(const CLI::App* app) const override {
    return Wrapped(CLI::Formatter::make_description(app), kHelpWidth);
  }
  std::string make_footer(const CLI::App* app) const override {
    return Wrapped(CLI::Formatter::make_footer(app), kHelpWidth);
  }
  std::string make_option_desc(const CLI::Option* option) const override {
    return Wrapped(CLI::Formatter::make_option_desc(option), kHelpWidth - kNameColumn);
  }
  std::string make_subcommand(const CLI::App* command) const override {
    std::ostringstream line;
    CLI::detail::format_help(line, command->get_name(),
                             Wrapped(command->get_description(), kHelpWidth - kNameColumn),
                             kNameColumn);
    return line.str();
  }
};

// A command of the program, which also takes the program's global options, and sets
// options.command when it is given.
CLI::App& Command(CLI::App& program, const std::string& name, Options::Command command,
                  const std::string& description, Options& options) {
  CLI::App& sub = *program.add_subcommand(name, description);
  sub.fallthrough();
  sub.group("Commands");
  std::string globals;
  for (const CLI::Option* option :
       program.get_options([](const CLI::Option* o) { return o->get_group() == kGlobalGroup; })) {
    globals += (globals.empty() ? "" : ", ") + option->get_name();
  }
  sub.footer("Global options, as in 'xel02 --help': " + globals + ".");
  sub.parse_complete_callback([&options, command] { options.command = command; });
  return sub;
}

// An operand of a command, shown by its name alone.
CLI::Option* Operand(CLI::App& command, const std::string& name, std::string& into,
                     const std::string& description) {
  return command.add_option(name, into, description)->type_name("");
}

// An option of the program that every command takes too, in the place its help gives it.
void Global(CLI::App& program, const std::string& name, std::string& into, const std::string& value,
            const std::string& description) {
  program.add_option(name, into, description)->type_name(value)->group(kGlobalGroup);
}

// A command's --format: its default form, or the other one.
void FormatOption(CLI::App& command, Options& options, const std::string& byDefault,
                  const std::string& other) {
  command.add_option("--format", options.format, byDefault + " (the default) or " + other)
      ->check(CLI::IsMember({byDefault, other}))
      ->type_name("FORMAT");
}

void AddGlobalOptions(CLI::App& program, Options& options, bool& version) {
  Global(program, "--db", options.db, "CONNECTION",
         "The store: sqlite:PATH, or odbc: followed by an ODBC connection string, best a data "
         "source whose password stays in ~/.odbc.ini, e.g. odbc:DSN=erp (default: XEL02_DB, "
         "else a demo store in the user's data folder)");
  Global(program, "--db-file", options.dbFile, "FILE",
         "The store's connection string read from FILE, which must be yours and readable by you "
         "alone (chmod 600): a password in it stays out of sight of other users, as it would not "
         "on the command line");
  Global(program, "--trace-sql", options.traceSql, "FILE",
         "Write every statement and transaction call to FILE, one per line, control characters "
         "escaped; the file is made readable by you alone");
  program
      .add_option("--load", options.load,
                  "How the editor reads its tree: classes, two statements per class (the "
                  "default), or bulk, both tables in two statements, for a server far away "
                  "(default: XEL02_LOAD, else classes)")
      ->check(CLI::IsMember({"classes", "bulk"}))
      ->type_name("HOW")
      ->group("The editor (without a command)");
  program
      .add_option("--screenshot", options.screenshot,
                  "Draw the editor into a PNG file, without a display, and end")
      ->type_name("FILE")
      ->group("The editor (without a command)");
  program.add_flag("--version", version, "Print the version and end");
}

void AddSchema(CLI::App& program, Options& options) {
  CLI::App& schema =
      Command(program, "schema", Options::Command::Schema,
              "Print the statements that make the store's tables on that server", options);
  CLI::Option* apply =
      schema.add_flag("--apply", options.apply, "Run them instead (only what is missing is made)");
  schema.add_flag("--demo", options.demo, "Also fill an empty store with the demo settings")
      ->needs(apply);
}

void AddRegistration(CLI::App& program, Options& options) {
  CLI::App& add = Command(program, "register", Options::Command::Register,
                          "Record the editor component in the user's registry", options);
  add.footer("The library $XEL02_LIBRARY names, or the one installed with xel02.\n" +
             add.get_footer());
  CLI::App& remove = Command(program, "unregister", Options::Command::Unregister,
                             "Remove the editor component from the user's registry", options);
  for (CLI::App* command : {&add, &remove}) {
    command->add_flag("--system", options.system,
                      "In the machine's registry instead, for every user "
                      "(/var/lib/xel02/registry)");
  }
}

void AddList(CLI::App& program, Options& options) {
  CLI::App& list = Command(program, "list", Options::Command::List,
                           "Print the tree, or one class and everything under it", options);
  Operand(list, "CLASS", options.classCode, "The code of the class to start from");
  list.footer(
      "One line per entry, fields separated by tabs: \"class PATH DESCRIPTION\" and then its "
      "variables as \"variable PATH KEY VALUE\", PATH being the class codes from the top level "
      "joined by \"/\". A tab, line break, backslash or other control character in a field is "
      "written escaped, as \\t, \\n, \\r, \\\\, \\xHH or \\uHHHH.\n" +
      list.get_footer());
}

void AddGet(CLI::App& program, Options& options) {
  CLI::App& get = Command(program, "get", Options::Command::Get,
                          "Print a variable's value: as stored into a pipe or a file, with "
                          "control characters escaped on a terminal",
                          options);
  Operand(get, "KEY", options.key, "The variable's key")->required();
}

void AddSet(CLI::App& program, Options& options) {
  CLI::App& set = Command(program, "set", Options::Command::Set,
                          "Give an existing variable a new value, as its type takes it", options);
  Operand(set, "KEY", options.key, "The variable's key")->required();
  Operand(set, "VALUE", options.value, "N a number, B 0 or 1, T any text; never empty")->required();
  set.footer(
      "A value that starts with \"-\" and is not a number goes after \"--\":\n"
      "  xel02 set KEY -- -x\n" +
      set.get_footer());
}

void AddExport(CLI::App& program, Options& options) {
  CLI::App& exporting = Command(program, "export", Options::Command::Export,
                                "Write the classes and the variables to standard output", options);
  exporting
      .add_option("--class", options.classCode,
                  "Only that class, its sub-classes at every depth and their variables")
      ->type_name("CODE");
  exporting
      .add_option("--as-of", options.asOf,
                  "The store as it stood at DATE (YYYY-MM-DD or YYYY-MM-DD HH:MM[:SS]), told "
                  "by its history")
      ->type_name("DATE");
  FormatOption(exporting, options, "json", "csv");
}

void AddImport(CLI::App& program, Options& options) {
  CLI::App& importing =
      Command(program, "import", Options::Command::Import,
              "Bring the store in line with a file in either export format", options);
  Operand(importing, "FILE", options.file, "The file, JSON or CSV")->required();
  importing.add_flag("--dry-run", options.dryRun,
                     "Print what would change, row by row, and write "
                     "nothing");
  importing
      .add_option("--max-size", options.maxSize,
                  "Read a file up to that size (K, M, G or T after the number: KiB, MiB, GiB, "
                  "TiB); a larger one is refused before it is read. Default 64M")
      ->transform(CLI::AsSizeValue(false).description(""))
      ->check(CLI::Validator(
          [](const std::string& bytes) {
            return bytes == "0" ? std::string("a file of no bytes holds nothing to import") : "";
          },
          "", "at least one byte"))
      ->type_name("BYTES");
  importing.footer(
      "It inserts what the store lacks and updates descriptions, values and types that differ; "
      "nothing is deleted or moved. Every row is checked first, all is written in one "
      "transaction, and a wrong row (told as FILE:LINE) changes nothing.\n" +
      importing.get_footer());
}

void AddFind(CLI::App& program, Options& options) {
  CLI::App& find = Command(program, "find", Options::Command::Find,
                           "Print the classes and variables whose key, description or value "
                           "holds TEXT, letter case and accents aside, as the editor's find",
                           options);
  Operand(find, "TEXT", options.text, "What to look for")->required();
  FormatOption(find, options, "text", "json");
  find.footer(
      "One line per match, in the tree's order: \"class PATH CODE\" or \"variable PATH KEY\", "
      "PATH being the editor's node texts from RAIZ down (\"RAIZ/Impuestos/IVA\"). Nothing found: "
      "no line, and status 0.\n" +
      find.get_footer());
}

void AddHistory(CLI::App& program, Options& options) {
  CLI::App& history = Command(program, "history", Options::Command::History,
                              "Print the store's changes, newest first: of every class and "
                              "variable, of one variable, or of a class and everything under it",
                              options);
  Operand(history, "KEY", options.key, "The variable whose changes to print");
  history
      .add_option("--class", options.classCode,
                  "The class, its sub-classes (also those deleted) and their variables")
      ->type_name("CODE");
  history.add_option("--since", options.since, "Only changes from DATE on")->type_name("DATE");
  history.add_option("--user", options.user, "Only the changes NAME made")->type_name("NAME");
  FormatOption(history, options, "text", "json");
  history
      .add_option("--prune-before", options.pruneBefore,
                  "Remove the entries older than DATE instead (the prune is itself recorded)")
      ->type_name("DATE");
  history.footer(
      "One line per change, fields separated by tabs: \"ID DATE USER DATABASE-USER KIND KEY "
      "WHAT\". DATE is YYYY-MM-DD or YYYY-MM-DD HH:MM[:SS]. The author is the session's user: "
      "\"/USR NAME\" anywhere on the command line, as the host application passes it, else the "
      "login name.\n" +
      history.get_footer());
}

void AddRevert(CLI::App& program, Options& options) {
  CLI::App& revert = Command(program, "revert", Options::Command::Revert,
                             "Bring back what one change of the history changed: an old value, "
                             "description or type, a deleted variable or class; a created one "
                             "goes",
                             options);
  Operand(revert, "CHANGE", options.change, "The change's ID, as history prints it")->required();
  revert.add_flag("--dry-run", options.dryRun, "Say what would be done, and write nothing");
}

// The command the arguments chose, deepest first: the program itself when they chose none.
const CLI::App& ChosenCommand(const CLI::App& program, std::string& name) {
  name = program.get_name();
  const CLI::App* chosen = &program;
  while (!chosen->get_subcommands().empty()) {
    chosen = chosen->get_subcommands().front();
    name += " " + chosen->get_name();
  }
  return *chosen;
}

// A wrong usage: why, the chosen command's usage line, and where to read more.
CommandLine WrongUsage(const CLI::App& program, const std::string& reason) {
  std::string name;
  const CLI::App& command = ChosenCommand(program, name);
  auto formatter = std::dynamic_pointer_cast<HelpFormatter>(command.get_formatter());
  return {.options = std::nullopt,
          .status = 2,
          .output = "",
          .errors = std::string(kProgram) + ": " + reason + "\n" +
                    formatter->make_usage(&command, name) + "Try '" + name +
                    " --help' for more information.\n"};
}

// The editor's way to read its tree from XEL02_LOAD when --load names none.
bool TakeLoad(Options& options, const Environment& environment, std::string& error) {
  std::optional<std::string> load = environment("XEL02_LOAD");
  if (!options.load.empty() || options.command != Options::Command::Editor || !load ||
      load->empty()) {
    return true;
  }
  if (*load != "classes" && *load != "bulk") {
    error = "XEL02_LOAD is classes or bulk, not \"" + *load + "\"";
    return false;
  }
  options.load = *load;
  return true;
}

// The arguments without the host's own "/USR name", which names the session's user and is read
// where the host's arguments are (cmdValor).
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

// What a command needs beyond what the parser checks; empty when nothing is wrong.
std::string Misuse(const Options& options) {
  if (options.command != Options::Command::Editor && !options.screenshot.empty()) {
    return "--screenshot draws the editor: it goes without a command";
  }
  if (options.command == Options::Command::History &&
      !options.key.empty() + !options.classCode.empty() + !options.pruneBefore.empty() > 1) {
    return "history takes one of KEY, --class CODE and --prune-before DATE";
  }
  if (options.command == Options::Command::Schema && options.db.empty()) {
    return "schema needs --db CONNECTION, --db-file FILE or XEL02_DB";
  }
  return "";
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::optional<std::string>(value) : std::nullopt;
}

std::unique_ptr<CLI::App> MakeParser(Options& options, bool& version) {
  auto program = std::make_unique<CLI::App>(
      "Opens the editor of the system variables on a store, "
      "or works on the store with a command.",
      kProgram);
  program->formatter(std::make_shared<HelpFormatter>());
  program->require_subcommand(0, 1);
  AddGlobalOptions(*program, options, version);
  AddSchema(*program, options);
  AddRegistration(*program, options);
  AddList(*program, options);
  AddGet(*program, options);
  AddSet(*program, options);
  AddExport(*program, options);
  AddImport(*program, options);
  AddFind(*program, options);
  AddHistory(*program, options);
  AddRevert(*program, options);
  program->footer(
      "Each command has its own help: xel02 COMMAND --help.\n"
      "Environment: XEL02_DB names the store when neither --db nor --db-file does.\n"
      "Exit status: 0 done; 1 the operation failed (unknown key, refused value, wrong file, "
      "database error); 2 wrong usage.");
  return program;
}

CommandLine ReadCommandLine(const std::vector<std::string>& arguments,
                            const Environment& environment) {
  Options options;
  bool version = false;
  std::unique_ptr<CLI::App> program = MakeParser(options, version);
  std::vector<std::string> kept = WithoutHostArguments(arguments);
  std::vector<std::string> backwards(kept.rbegin(), kept.rend());
  try {
    program->parse(backwards);
  } catch (const CLI::CallForHelp&) {
    return {.options = std::nullopt, .status = 0, .output = program->help(), .errors = ""};
  } catch (const CLI::ParseError& e) {
    return WrongUsage(*program, e.what());
  }
  if (version) {
    return {.options = std::nullopt,
            .status = 0,
            .output = std::string(kProgram) + " " + XEL02_VERSION + "\n",
            .errors = ""};
  }
  std::string error;
  if (!TakeStoreConnection(options, environment, error) || !TakeLoad(options, environment, error)) {
    return WrongUsage(*program, error);
  }
  if (std::string misuse = Misuse(options); !misuse.empty()) {
    return WrongUsage(*program, misuse);
  }
  return {.options = options, .status = 0, .output = "", .errors = ""};
}

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
