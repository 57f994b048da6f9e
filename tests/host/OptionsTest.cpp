#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "host/app/Options.h"

namespace xel::testing {
namespace {

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

// The program's own tests name the store by --db or by XEL02_DB; here, which one wins, an empty
// XEL02_DB, and whether the store came from the environment.
TEST(OptionsTest, DbWinsOverXel02DbAndAnEmptyXel02DbNamesNoStore) {
  const Environment envDb{{"XEL02_DB", "sqlite:env.db"}};
  const std::tuple<std::vector<std::string>, Environment, std::string> cases[] = {
      {{"get", "IVA"}, envDb, "sqlite:env.db"},
      {{"--db", "sqlite:a.db"}, envDb, "sqlite:a.db"},
      {{"get", "IVA"}, {{"XEL02_DB", ""}}, ""},
      {{"schema", "--apply", "--demo"}, envDb, "sqlite:env.db"}};
  for (const auto& [arguments, environment, db] : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    app::CommandLine line = Read(arguments, environment);
    ASSERT_TRUE(line.options) << line.errors;
    EXPECT_EQ(line.options->db, db);
    EXPECT_EQ(line.options->dbFromEnvironment, db == "sqlite:env.db");
  }
}

// The program's own tests check the exit status and the three lines; here, each reason and the
// usage line of the command that was meant.
TEST(OptionsTest, AWrongUsageSaysWhyShowsOneUsageLineAndWhereToReadMore) {
  const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
      {{"get"}, "xel02 get", "KEY is required"},
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
