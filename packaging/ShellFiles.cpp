// xel02_shell_files FOLDER VERSION: writes xel02.1, the manual page, and xel02.bash, the bash
// completion, from the program's own command-line parser, so that neither can drift from it.

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/app/Options.h"

namespace {

using xel::app::Options;

// Text as roff prints it: backslashes and hyphens escaped, no line starting a request.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    if (c == '\n') {
      out += "\\&";
    }
  }
  return "\\&" + out;
}

bool TakesValue(const CLI::Option& option) {
  return !option.get_positional() && option.get_type_size() != 0 && !option.get_type_name().empty();
}

// The names of an option as its help shows them: "-h, --help", "--db CONNECTION".
std::string Shown(const CLI::Option& option) {
  if (option.get_positional()) {
    return option.get_name(true);
  }
  std::string names;
  for (const std::string& name : option.get_snames()) {
    names += (names.empty() ? "-" : ", -") + name;
  }
  for (const std::string& name : option.get_lnames()) {
    names += (names.empty() ? "--" : ", --") + name;
  }
  return TakesValue(option) ? names + " " + option.get_type_name() : names;
}

// The command's options of `group`, or all of them.
void ManOptions(std::ostream& out, const CLI::App& command, const std::string& group = "") {
  for (const CLI::Option* option : command.get_options(
           [&group](const CLI::Option* o) { return group.empty() || o->get_group() == group; })) {
    out << ".TP\n.B " << Roff(Shown(*option)) << "\n" << Roff(option->get_description()) << "\n";
  }
}

// The footer's paragraphs, each its own.
void ManParagraphs(std::ostream& out, const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    out << ".PP\n" << Roff(line) << "\n";
  }
}

void WriteManPage(std::ostream& out, const CLI::App& program, const std::string& version) {
  std::string name = program.get_name();
  out << ".TH XEL02 1 \"\" \"" << name << " " << version << "\" \"User Commands\"\n"
      << ".SH NAME\n"
      << name << " \\- " << Roff(program.get_description()) << "\n"
      << ".SH SYNOPSIS\n.B " << name << "\n[OPTIONS] [COMMAND [COMMAND OPTIONS]]\n"
      << ".SH OPTIONS\n";
  for (const std::string& group : program.get_groups()) {
    out << ".SS \"" << Roff(group) << "\"\n";
    ManOptions(out, program, group);
  }
  out << ".SH COMMANDS\n";
  for (const CLI::App* command : program.get_subcommands({})) {
    auto formatter = std::dynamic_pointer_cast<CLI::Formatter>(command->get_formatter());
    std::string usage = formatter->make_usage(command, name + " " + command->get_name());
    usage = usage.substr(usage.find(':') + 2);
    out << ".SS \"" << Roff(usage.substr(0, usage.find('\n'))) << "\"\n"
        << Roff(command->get_description()) << "\n.RS\n";
    ManOptions(out, *command);
    ManParagraphs(out, command->get_footer());
    out << ".RE\n";
  }
  out << ".SH NOTES\n";
  ManParagraphs(out, program.get_footer());
}

// The words bash may complete after an option: its choices ({json,csv}), file names, or nothing.
std::string ValueCompletion(const CLI::Option& option) {
  std::string type = option.get_type_name();
  size_t open = type.find('{');
  if (open != std::string::npos) {
    std::string choices = type.substr(open + 1, type.find('}') - open - 1);
    std::replace(choices.begin(), choices.end(), ',', ' ');
    return "COMPREPLY=($(compgen -W '" + choices + "' -- \"$cur\"))";
  }
  return type == "FILE" ? "COMPREPLY=($(compgen -f -- \"$cur\"))" : "COMPREPLY=()";
}

// The long names of a command's options, but those of `except`.
std::string OptionNames(const CLI::App& command, const CLI::App* except = nullptr) {
  std::string names;
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& name : option->get_lnames()) {
      if (!except || !except->get_option_no_throw("--" + name)) {
        names += " --" + name;
      }
    }
  }
  return names;
}

// What bash completes after each option that takes a value, by the pattern of "COMMAND OPTION"
// it answers: the command's own options for that command alone (two commands may give one name
// other choices), the program's after any command or none.
void ValueCases(const CLI::App& command, const std::string& commandPattern,
                std::map<std::string, std::string>& cases) {
  for (const CLI::Option* option : command.get_options()) {
    if (TakesValue(*option)) {
      cases[commandPattern + " --" + option->get_lnames().front() + "\""] =
          ValueCompletion(*option);
    }
  }
}

void WriteCompletion(std::ostream& out, const CLI::App& program) {
  std::string commands;
  std::string valued;
  for (const CLI::App* command : program.get_subcommands({})) {
    commands += " " + command->get_name();
  }
  for (const CLI::Option* option : program.get_options()) {
    if (TakesValue(*option)) {
      valued += "|--" + option->get_lnames().front();
    }
  }
  out << "# bash completion for xel02: its commands, their options and the program's, which go\n"
         "# before or after the command, and the values of the options that take some.\n"
         "_xel02() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "  local command='' i\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    case ${COMP_WORDS[i]} in\n"
         "      "
      << valued.substr(1)
      << ") ((i++)) ;;\n"
         "      -*) ;;\n"
         "      *) command=${COMP_WORDS[i]}; break ;;\n"
         "    esac\n"
         "  done\n"
         "  case \"$command $prev\" in\n";
  std::map<std::string, std::string> cases;
  ValueCases(program, "*\"", cases);
  for (const CLI::App* command : program.get_subcommands({})) {
    ValueCases(*command, "\"" + command->get_name(), cases);
  }
  for (const auto& [name, completion] : cases) {
    out << "    " << name << ") " << completion << "; return ;;\n";
  }
  out << "  esac\n"
         "  local words='"
      << OptionNames(program).substr(1)
      << "'\n"
         "  case $command in\n"
         "    '') [[ $cur == -* ]] || words='"
      << commands.substr(1) << "' ;;\n";
  for (const CLI::App* command : program.get_subcommands({})) {
    bool file = !command
                     ->get_options([](const CLI::Option* o) {
                       return o->get_positional() && o->get_name(true) == "FILE";
                     })
                     .empty();
    out << "    " << command->get_name() << ") words+='" << OptionNames(*command, &program) << "'"
        << (file ? "; [[ $cur == -* ]] || { COMPREPLY=($(compgen -f -- \"$cur\")); return; }" : "")
        << " ;;\n";
  }
  out << "  esac\n"
         "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
         "}\n"
         "complete -F _xel02 xel02\n";
}

bool Written(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.close();
  if (!file) {
    std::cerr << "xel02_shell_files: " << path << " cannot be written\n";
  }
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::cerr << "Usage: xel02_shell_files FOLDER VERSION\n";
    return 2;
  }
  Options options;
  bool version = false;
  std::unique_ptr<CLI::App> program = xel::app::MakeParser(options, version);
  std::ostringstream man;
  std::ostringstream completion;
  WriteManPage(man, *program, argv[2]);
  WriteCompletion(completion, *program);
  std::string folder = argv[1];
  return Written(folder + "/xel02.1", man.str()) &&
                 Written(folder + "/xel02.bash", completion.str())
             ? 0
             : 1;
}
