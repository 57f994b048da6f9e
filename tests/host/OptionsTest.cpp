#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "host/app/Options.h"

namespace xel::testing {
namespace {

using app::Options;
using Command = Options::Command;
using Environment = std::map<std::string, std::string>;

app::CommandLine Read(const std::vector<std::string>& arguments, const Environment& env = {}) {
  return app::ReadCommandLine(arguments, [&](const std::string& name) {
    auto found = env.find(name);
    return found == env.end() ? std::nullopt : std::optional<std::string>(found->second);
  });
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// The program's own tests run each command with its store named by --db; what they leave out is
// here: XEL02_DB and its precedence, values that look like options, and each field an operand
// lands in.
TEST(OptionsTest, GlobalOptionsGoBeforeOrAfterTheCommandAndOperandsLandInTheirFields) {
  const Environment envDb{{"XEL02_DB", "sqlite:env.db"}};
  const std::tuple<std::vector<std::string>, Environment, Command, std::string Options::*,
                   std::string>
      cases[] = {
          {{"export", "--db", "sqlite:a.db"}, {}, Command::Export, &Options::db, "sqlite:a.db"},
          {{"get", "IVA"}, envDb, Command::Get, &Options::db, "sqlite:env.db"},
          {{"--db", "sqlite:a.db"}, envDb, Command::Editor, &Options::db, "sqlite:a.db"},
          {{"get", "IVA"}, {{"XEL02_DB", ""}}, Command::Get, &Options::db, ""},
          {{"set", "IVA", "-2.5"}, {}, Command::Set, &Options::value, "-2.5"},
          {{"set", "--", "K", "-x"}, {}, Command::Set, &Options::value, "-x"},
          {{"set", "K", ""}, {}, Command::Set, &Options::value, ""},
          {{"schema", "--apply", "--demo"}, envDb, Command::Schema, &Options::db, "sqlite:env.db"}};
  for (const auto& [arguments, environment, command, field, value] : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    app::CommandLine line = Read(arguments, environment);
    ASSERT_TRUE(line.options) << line.errors;
    EXPECT_EQ(line.options->command, command);
    EXPECT_EQ((*line.options).*field, value);
    EXPECT_EQ(line.options->dbFromEnvironment, value == "sqlite:env.db");
  }
  EXPECT_EQ(Read({"import", "f", "--max-size", "3M"}).options->maxSize, 3ull << 20);
  EXPECT_TRUE(Read({"unregister", "--system"}).options->system);
}

// The program's own tests check the exit status and the three lines; here, each reason and the
// usage line of the command that was meant.
TEST(OptionsTest, AWrongUsageSaysWhyShowsOneUsageLineAndWhereToReadMore) {
  const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
      {{"get"}, "xel02 get", "KEY is required"},
      {{"set", "IVA"}, "xel02 set", "VALUE is required"},
      {{"export", "--format", "xml"}, "xel02 export", "xml"},
      {{"set", "IVA", "1", "--class", "0001"}, "xel02 set", "--class"},
      {{"import", "f", "--max-size", "1Q"}, "xel02 import", "--max-size"},
      {{"--db"}, "xel02", "--db"},
      {{"frobnicate"}, "xel02", "frobnicate"},
      {{"get", "IVA", "--screenshot", "x.png"}, "xel02 get", "--screenshot"},
      {{"schema"}, "xel02 schema", "schema needs --db"},
      {{"schema", "--db", "x", "--demo"}, "xel02 schema", "--apply"},
      {{"--db", "a", "--db-file", "b", "get", "K"}, "xel02 get", "not both"}};
  for (const auto& [arguments, command, reason] : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    app::CommandLine line = Read(arguments);
    EXPECT_TRUE(!line.options && line.status == 2 && line.output.empty()) << line.output;
    std::vector<std::string> lines = Lines(line.errors);
    ASSERT_EQ(lines.size(), 3u) << line.errors;
    EXPECT_EQ(lines[0].rfind("xel02: ", 0), 0u);
    EXPECT_NE(lines[0].find(reason), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].rfind("Usage: " + command + " ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], "Try '" + command + " --help' for more information.");
  }
}

TEST(OptionsTest, EachCommandHasItsOwnHelpWithinATerminalsWidth) {
  for (const auto& [arguments, command] :
       {std::pair<std::vector<std::string>, std::string>{{"--help"}, "xel02"},
        {{"--db", "x", "export", "-h"}, "xel02 export"}}) {
    app::CommandLine line = Read(arguments);
    EXPECT_TRUE(!line.options && line.status == 0 && line.errors.empty()) << command;
    EXPECT_NE(line.output.find("\nUsage: " + command + " "), std::string::npos) << line.output;
    for (const std::string& text : Lines(line.output)) {
      EXPECT_LE(text.size(), 80u) << text;
    }
  }
}

}  // namespace
}  // namespace xel::testing
