#include <gtest/gtest.h>

#include <map>

#include "host/app/Options.h"

namespace xel::testing {
namespace {

using app::Options;
using Command = Options::Command;

app::CommandLine Read(const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment = {}) {
  return app::ReadCommandLine(arguments, [&](const std::string& name) {
    auto found = environment.find(name);
    return found == environment.end() ? std::nullopt : std::optional<std::string>(found->second);
  });
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

// What a command line sets, and the field it is seen in.
struct Accepted {
  std::vector<std::string> arguments;
  std::map<std::string, std::string> environment;
  Command command;
  std::string Options::*field;
  std::string value;
};

TEST(OptionsTest, GlobalOptionsGoBeforeOrAfterTheCommandAndOperandsLandInTheirFields) {
  const std::map<std::string, std::string> envDb{{"XEL02_DB", "sqlite:env.db"}};
  const Accepted cases[] = {
      {{"--db", "sqlite:a.db", "export"}, {}, Command::Export, &Options::db, "sqlite:a.db"},
      {{"export", "--db", "sqlite:a.db"}, {}, Command::Export, &Options::db, "sqlite:a.db"},
      {{"--trace-sql", "t.log", "get", "IVA"}, {}, Command::Get, &Options::traceSql, "t.log"},
      {{"get", "IVA", "--trace-sql", "t.log"}, {}, Command::Get, &Options::traceSql, "t.log"},
      {{"get", "IVA"}, envDb, Command::Get, &Options::db, "sqlite:env.db"},
      {{"--db", "sqlite:a.db"}, envDb, Command::Editor, &Options::db, "sqlite:a.db"},
      {{"get", "IVA"}, {{"XEL02_DB", ""}}, Command::Get, &Options::db, ""},
      {{"set", "IVA", "-2.5"}, {}, Command::Set, &Options::value, "-2.5"},
      {{"set", "--", "K", "-x"}, {}, Command::Set, &Options::value, "-x"},
      {{"set", "K", ""}, {}, Command::Set, &Options::value, ""},
      {{"list", "0010"}, {}, Command::List, &Options::classCode, "0010"},
      {{"export", "--class", "0003", "--format", "csv"},
       {},
       Command::Export,
       &Options::format,
       "csv"},
      {{"import", "all.json", "--dry-run"}, {}, Command::Import, &Options::file, "all.json"},
      {{"schema", "--apply", "--demo"}, envDb, Command::Schema, &Options::db, "sqlite:env.db"},
      {{"--screenshot", "x.png"}, {}, Command::Editor, &Options::screenshot, "x.png"}};
  for (const Accepted& c : cases) {
    app::CommandLine line = Read(c.arguments, c.environment);
    std::string shown = ::testing::PrintToString(c.arguments);
    ASSERT_TRUE(line.options) << shown << ": " << line.errors;
    EXPECT_EQ(line.options->command, c.command) << shown;
    EXPECT_EQ((*line.options).*c.field, c.value) << shown;
    EXPECT_EQ(line.options->dbFromEnvironment, c.environment.count("XEL02_DB") &&
                                                   c.field == &Options::db && !c.value.empty() &&
                                                   c.value == c.environment.at("XEL02_DB"))
        << shown;
  }
}

TEST(OptionsTest, SizesAndFlagsAreReadAsTheirTypes) {
  const std::pair<std::string, uint64_t> sizes[] = {{"2K", 2048}, {"3M", 3ull << 20}, {"7", 7}};
  for (const auto& [text, bytes] : sizes) {
    EXPECT_EQ(Read({"import", "f", "--max-size", text}).options->maxSize, bytes) << text;
  }
  app::CommandLine schema = Read({"--db", "x", "schema", "--apply", "--demo"});
  EXPECT_TRUE(schema.options->apply && schema.options->demo);
  EXPECT_TRUE(Read({"unregister", "--system"}).options->system);
}

// A wrong usage and the command whose usage line answers it.
struct Wrong {
  std::vector<std::string> arguments;
  std::string command;
  std::string reason;
};

TEST(OptionsTest, AWrongUsageSaysWhyShowsOneUsageLineAndWhereToReadMore) {
  const Wrong cases[] = {
      {{"get"}, "xel02 get", "KEY is required"},
      {{"set", "IVA"}, "xel02 set", "VALUE is required"},
      {{"get", "IVA", "extra"}, "xel02 get", "extra"},
      {{"export", "--format", "xml"}, "xel02 export", "xml"},
      {{"import"}, "xel02 import", "FILE is required"},
      {{"list", "--dry-run"}, "xel02 list", "--dry-run"},
      {{"set", "IVA", "1", "--class", "0001"}, "xel02 set", "--class"},
      {{"import", "f", "--max-size", "0"}, "xel02 import", "--max-size"},
      {{"import", "f", "--max-size", "999999999999G"}, "xel02 import", "--max-size"},
      {{"import", "f", "--max-size", "1Q"}, "xel02 import", "--max-size"},
      {{"--db"}, "xel02", "--db"},
      {{"frobnicate"}, "xel02", "frobnicate"},
      {{"get", "IVA", "--screenshot", "x.png"}, "xel02 get", "--screenshot"},
      {{"schema"}, "xel02 schema", "schema needs --db"},
      {{"schema", "--db", "x", "--demo"}, "xel02 schema", "--apply"},
      {{"--db", "a", "--db-file", "b", "get", "K"}, "xel02 get", "not both"}};
  for (const Wrong& c : cases) {
    app::CommandLine line = Read(c.arguments);
    std::string shown = ::testing::PrintToString(c.arguments);
    EXPECT_FALSE(line.options) << shown;
    EXPECT_EQ(line.status, 2) << shown;
    EXPECT_EQ(line.output, "") << shown;
    std::vector<std::string> lines = Lines(line.errors);
    ASSERT_EQ(lines.size(), 3u) << shown << ": " << line.errors;
    EXPECT_EQ(lines[0].rfind("xel02: ", 0), 0u) << shown;
    EXPECT_NE(lines[0].find(c.reason), std::string::npos) << shown << ": " << lines[0];
    EXPECT_EQ(lines[1].rfind("Usage: " + c.command + " ", 0), 0u) << shown << ": " << lines[1];
    EXPECT_EQ(lines[2], "Try '" + c.command + " --help' for more information.") << shown;
  }
}

TEST(OptionsTest, EachCommandHasItsOwnHelpWithinATerminalsWidth) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--help"}, "xel02"},
      {{"get", "--help"}, "xel02 get"},
      {{"--db", "x", "export", "-h"}, "xel02 export"},
      {{"import", "--help"}, "xel02 import"}};
  for (const auto& [arguments, command] : cases) {
    app::CommandLine line = Read(arguments);
    EXPECT_FALSE(line.options);
    EXPECT_EQ(line.status, 0) << command;
    EXPECT_EQ(line.errors, "") << command;
    EXPECT_NE(line.output.find("\nUsage: " + command + " "), std::string::npos) << line.output;
    for (const std::string& text : Lines(line.output)) {
      EXPECT_LE(text.size(), 80u) << text;
    }
  }
}

}  // namespace
}  // namespace xel::testing
