#include "platform/com/Registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

// XEL02_REGISTRY and XDG_CONFIG_HOME are followed by the packaged program's own test; a relative
// XDG_CONFIG_HOME is not, whatever the folder a host runs in.
TEST(RegistryLocationTest, ARelativeConfigurationFolderIsIgnored) {
  ScopedVariable home("HOME", "/home/ana"), chosen("XEL02_REGISTRY", ""),
      configuration("XDG_CONFIG_HOME", "relative/cfg");
  EXPECT_EQ(Registry::Location(), "/home/ana/.config/xel02/registry");
}

// Registering again replaces the entry of the same class or name. (The modes of what is saved,
// whatever the umask, are checked by the packaged program's own test.)
TEST_F(RegistryTest, EntriesAreFoundByEitherIdentifierAndReplacedByEither) {
  const std::filesystem::path nested = folder / "a/b/registry";
  Registry registry = Registry::Load(nested);
  const ClassEntry renamed{kEditor.clsid, "Velmora.Editor2", kEditor.library},
      renumbered{"{BBBBBBBB-0000-0000-0000-000000000000}", renamed.progId, kEditor.library};
  for (const ClassEntry& entry : {renumbered, renamed, kEditor}) {
    registry.Register(entry);
  }
  registry.Register(kEditorLib);
  registry.Save(nested);
  Registry loaded = Registry::Load(nested);
  EXPECT_EQ(loaded.FindClass("velmora.EDITOR"), kEditor);
  EXPECT_EQ(loaded.FindClass("{11111111-2222-3333-4444-555555555555}"), kEditor);
  EXPECT_EQ(loaded.FindTypeLib("{66666666-7777-8888-9999-000000000000}"), kEditorLib);
  EXPECT_FALSE(loaded.FindClass("Velmora.Editor2")) << "replaced";
  EXPECT_FALSE(loaded.FindClass(renumbered.clsid)) << "replaced";
}

// A tab or a line break in a field would split its line or forge another entry; a relative
// library path would be read from whatever folder a later host runs in.
TEST_F(RegistryTest, FieldsThatWouldBreakTheirLineAreRefused) {
  Registry registry;
  for (const char* path :
       {"/opt/a\tb.so", "/opt/a\nclass\tx\ty\tz", "/opt/a\r.so", "", "opt/a.so", "./a.so"}) {
    ClassEntry entry = kEditor;
    entry.library = path;
    EXPECT_EQ(FailureOf([&] { registry.Register(entry); }).Number(), err::InvalidProcedureCall)
        << path;
  }
  const TypeLibEntry tabbed{kEditorLib.libid, kEditorLib.name, "1\t0", kEditorLib.library};
  EXPECT_EQ(FailureOf([&] { registry.Register(tabbed); }).Number(), err::InvalidProcedureCall);
  registry.Save(file);
  EXPECT_EQ(FileBytes(file), "");
}

// A link in the registry's place, or where an earlier version put its temporary file, could send
// the write to a file of someone else's choosing: neither is written through.
TEST_F(RegistryTest, SavingNeverWritesThroughALink) {
  const std::filesystem::path victim = folder / "victim";
  struct Case {
    const char* name;
    std::filesystem::path link;
    bool saved;
  };
  for (const Case& c :
       {Case{"registry", file, false},
        Case{"temporary file", file.string() + ".tmp" + std::to_string(getpid()), true}}) {
    WriteFile(victim, "kept\n");
    std::filesystem::create_symlink(victim, c.link);
    Registry registry;
    registry.Register(kEditor);
    if (c.saved) {
      registry.Save(file);
      EXPECT_EQ(FileBytes(file), LineOf(kEditor)) << c.name;
      EXPECT_EQ(FilesIn(folder.Path()), 3) << c.name << ": no temporary file left";
    } else {
      EXPECT_THAT(FailureOf([&] { registry.Save(file); }).Description(),
                  ::testing::HasSubstr(file.string() + " is refused: it is a symbolic link"));
    }
    EXPECT_EQ(FileBytes(victim), "kept\n") << c.name;
    std::filesystem::remove(c.link);
    std::filesystem::remove(file);
  }
}

}  // namespace
}  // namespace xel::testing
