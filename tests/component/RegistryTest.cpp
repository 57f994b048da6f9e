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

struct RegistryTest : ::testing::Test {
  TempFolder folder;
  std::filesystem::path file = folder / "registry";
};

TEST_F(RegistryTest, LivesInTheUsersConfigurationFolderUnlessTheHostNamesAnother) {
  ScopedVariable home("HOME", "/home/ana");
  {
    ScopedVariable chosen("XEL02_REGISTRY", "/srv/velmora/registry");
    ScopedVariable config("XDG_CONFIG_HOME", "/home/ana/cfg");
    EXPECT_EQ(Registry::Location(), "/srv/velmora/registry");
  }
  ScopedVariable unset("XEL02_REGISTRY", "");
  {
    ScopedVariable config("XDG_CONFIG_HOME", "/home/ana/cfg");
    EXPECT_EQ(Registry::Location(), "/home/ana/cfg/xel02/registry");
  }
  {
    ScopedVariable config("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(Registry::Location(), "/home/ana/.config/xel02/registry")
        << "a relative configuration folder does not count";
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

TEST_F(RegistryTest, WritingBackKeepsEveryLineItDoesNotOwnAsItWas) {
  const std::string foreign =
      "# registry of this workstation\n"
      "\n"
      "service\tVelmora.Backup\tnightly\n"
      "class\tbroken line\n"
      "class\t{AAAAAAAA-0000-0000-0000-000000000000}\tVelmora.Other\t/opt/other.so\n";
  WriteFile(file, foreign);
  Registry registry = Registry::Load(file);
  registry.Register(kEditor);
  registry.Save(file);
  EXPECT_EQ(ReadFile(file),
            foreign + "class\t" + kEditor.clsid + "\tVelmora.Editor\t/opt/velmora/libeditor.so\n");

  registry.UnregisterClass(kEditor.clsid);
  registry.Save(file);
  EXPECT_EQ(ReadFile(file), foreign);
}

TEST_F(RegistryTest, RegisteringAgainReplacesTheEntryOfTheSameClassOrName) {
  Registry registry;
  registry.Register(kEditor);
  ClassEntry moved = kEditor;
  moved.library = "/usr/lib/velmora/libeditor.so";
  registry.Register(moved);
  ClassEntry renumbered = kEditor;
  renumbered.clsid = "{BBBBBBBB-0000-0000-0000-000000000000}";
  registry.Register(renumbered);
  registry.Save(file);

  EXPECT_EQ(Registry::Load(file).FindClass(kEditor.progId), renumbered);
  EXPECT_FALSE(Registry::Load(file).FindClass(kEditor.clsid));
  EXPECT_EQ(ReadFile(file).find('\n'), ReadFile(file).size() - 1) << "one line only";
}

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
  EXPECT_EQ(Registry::Load(real).FindClass(kEditor.progId), kEditor);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real.parent_path()), {}), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

  WriteFile(folder / "plain", "");
  EXPECT_EQ(FailureOf([&] { registry.Save(folder / "plain/registry"); }).Number(), 75)
      << "a registry under a plain file";
}

}  // namespace
}  // namespace xel::testing
