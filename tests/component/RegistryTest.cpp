#include "platform/com/Registry.h"

#include <gtest/gtest.h>

#include "tests/component/HostEnvironment.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

using com::ClassEntry;
using com::Registry;
using com::TypeLibEntry;

const ClassEntry kEditor{"{11111111-2222-3333-4444-555555555555}", "Velmora.Editor",
                         "/opt/velmora/libeditor.so"};
const TypeLibEntry kEditorLib{"{66666666-7777-8888-9999-000000000000}", "Editor", "1.0",
                              "/opt/velmora/libeditor.so"};

std::string LineOf(const ClassEntry& entry) {
  return "class\t" + entry.clsid + "\t" + entry.progId + "\t" + entry.library.string() + "\n";
}

struct RegistryTest : ::testing::Test {
  TempFolder folder;
  std::filesystem::path file = folder / "registry";

  long FilesIn(const std::filesystem::path& where) const {
    return std::distance(std::filesystem::directory_iterator(where), {});
  }
};

TEST_F(RegistryTest, LivesInTheUsersConfigurationFolderUnlessTheHostNamesAnother) {
  struct Case {
    const char* chosen;
    const char* configuration;
    const char* location;
  };
  for (const Case& c : {Case{"/srv/velmora/registry", "/home/ana/cfg", "/srv/velmora/registry"},
                        Case{"", "/home/ana/cfg", "/home/ana/cfg/xel02/registry"},
                        Case{"", "relative/cfg", "/home/ana/.config/xel02/registry"}}) {
    ScopedVariable home("HOME", "/home/ana"), chosen("XEL02_REGISTRY", c.chosen),
        configuration("XDG_CONFIG_HOME", c.configuration);
    EXPECT_EQ(Registry::Location(), c.location) << c.chosen << " " << c.configuration;
  }
}

TEST_F(RegistryTest, EntriesAreFoundByEitherIdentifierWhateverTheCase) {
  std::filesystem::path nested = folder / "a/b/registry";
  Registry registry = Registry::Load(nested);
  EXPECT_FALSE(registry.FindClass(kEditor.progId)) << "no file yet";
  registry.Register(kEditor);
  registry.Register(kEditorLib);
  registry.Save(nested);

  Registry loaded = Registry::Load(nested);
  EXPECT_EQ(loaded.FindClass("velmora.EDITOR"), kEditor);
  EXPECT_EQ(loaded.FindClass("{11111111-2222-3333-4444-555555555555}"), kEditor);
  EXPECT_EQ(loaded.FindTypeLib("{66666666-7777-8888-9999-000000000000}"), kEditorLib);
  EXPECT_FALSE(loaded.FindClass("Velmora.Other"));
  EXPECT_FALSE(loaded.FindClass(kEditorLib.libid)) << "a type library is no class";
}

TEST_F(RegistryTest, RegisteringAgainReplacesTheEntryOfTheSameClassOrName) {
  Registry registry;
  registry.Register(kEditor);
  ClassEntry renamed = kEditor;
  renamed.progId = "Velmora.Editor2";
  registry.Register(renamed);
  ClassEntry renumbered = renamed;
  renumbered.clsid = "{BBBBBBBB-0000-0000-0000-000000000000}";
  registry.Register(renumbered);
  registry.Save(file);
  EXPECT_EQ(ReadFile(file), LineOf(renumbered));
}

// A tab or a line break in a field would split its line or forge another entry.
TEST_F(RegistryTest, FieldsThatWouldBreakTheirLineAreRefused) {
  Registry registry;
  for (const char* path : {"/opt/a\tb.so", "/opt/a\nclass\tx\ty\tz", "/opt/a\r.so", ""}) {
    ClassEntry entry = kEditor;
    entry.library = path;
    EXPECT_EQ(FailureOf([&] { registry.Register(entry); }).Number(), err::InvalidProcedureCall)
        << path;
  }
  TypeLibEntry entry = kEditorLib;
  entry.version = "1\t0";
  EXPECT_EQ(FailureOf([&] { registry.Register(entry); }).Number(), err::InvalidProcedureCall);
  registry.Save(file);
  EXPECT_EQ(ReadFile(file), "");
}

TEST_F(RegistryTest, SavingLeavesNoTemporaryFileBehindAndFollowsALinkToTheRealFile) {
  std::filesystem::path real = folder / "shared/registry";
  std::filesystem::create_directories(real.parent_path());
  WriteFile(real, "# shared\n");
  std::filesystem::create_symlink(real, file);

  Registry registry = Registry::Load(file);
  registry.Register(kEditor);
  registry.Save(file);

  EXPECT_TRUE(std::filesystem::is_symlink(file));
  EXPECT_EQ(ReadFile(real), "# shared\n" + LineOf(kEditor));
  EXPECT_EQ(FilesIn(real.parent_path()), 1);
  EXPECT_EQ(FilesIn(folder.Path()), 2);
}

TEST_F(RegistryTest, AFailedSaveReportsTheFailureAndLeavesWhatWasThere) {
  // A folder in the registry's place cannot be replaced by the new file.
  std::filesystem::create_directories(file / "kept");
  Registry registry;
  registry.Register(kEditor);
  RuntimeError failure = FailureOf([&] { registry.Save(file); });
  EXPECT_EQ(failure.Number(), 75);
  EXPECT_NE(failure.Description().find(file.string()), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(file / "kept"));
  EXPECT_EQ(FilesIn(folder.Path()), 1) << "no temporary file left";
}

}  // namespace
}  // namespace xel::testing
