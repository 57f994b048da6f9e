#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

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
    const std::string inLine = "[^\n]*";
    EXPECT_THAT(line.errors,
                ::testing::MatchesRegex("xel02: " + inLine + reason + inLine +
                                        "\nUsage: " + command + " " + inLine + "\nTry '" + command +
                                        " --help' for more information\\.\n"));
  }
}

TEST(OptionsTest, EachCommandHasItsOwnHelpWithinATerminalsWidth) {
  for (const auto& [arguments, command] :
       {std::pair<std::vector<std::string>, std::string>{{"--help"}, "xel02"},
        {{"--db", "x", "export", "-h"}, "xel02 export"}}) {
    app::CommandLine line = Read(arguments);
    EXPECT_TRUE(!line.options && line.status == 0 && line.errors.empty()) << command;
    EXPECT_NE(line.output.find("\nUsage: " + command + " "), std::string::npos) << line.output;
    EXPECT_THAT(line.output, ::testing::Not(::testing::ContainsRegex("[^\n]{81}")))
        << "a line wider than 80 columns";
  }
}

}  // namespace
}  // namespace xel::testing
