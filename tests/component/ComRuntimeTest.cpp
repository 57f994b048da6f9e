#include "platform/com/ComRuntime.h"

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "component/Pantalla.h"
#include "tests/component/HostEnvironment.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

using ::testing::HasSubstr;

// A window whose host gave it no services reports error 91 instead of reaching through nothing.
TEST(PublicoTest, AMissingHostServiceIsReported) {
  const Publico sinServicios;
  EXPECT_EQ(FailureOf([&] { sinServicios.Session(); }).Number(), err::ObjectVariableNotSet);
  EXPECT_EQ(FailureOf([&] { sinServicios.Utility(); }).Number(), err::ObjectVariableNotSet);
}

// A registry in a folder of its own naming a component library, a copy of the object model's run
// time, in another: as the host's installer leaves them, only their owner may change either.
struct Installation {
  TempFolder folder;
  std::filesystem::path registry = folder / "etc/registry";
  std::filesystem::path library = folder / "lib/libcopy.so";
  std::string named = library.string();  // the library as the registry names it

  Installation() {
    for (const auto& made : {registry.parent_path(), library.parent_path()}) {
      std::filesystem::create_directory(made);
      chmod(made.c_str(), 0755);
    }
    std::filesystem::copy_file(XEL_COM_LIBRARY, library);
    chmod(library.c_str(), 0755);
  }
  void WriteRegistry() const {
    WriteFile(registry,
              "class\t{C0FFEE00-0000-4000-8000-000000000003}\tVelmora.Copy\t" + named + "\n");
  }
  bool Loaded() const { return dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD) != nullptr; }
};

// Whoever can change a registry or a library decides what the program runs: only a library named
// by an absolute path, from a registry, neither of which anybody but root or the user can change
// (nor their folders), is loaded. Anything else is refused, naming the file and the reason.
TEST(TrustedLoadingTest, OnlyWhatNobodyElseCanChangeIsLoaded) {
  enum Damage { kMode, kOwner, kLink, kRelative };
  using File = std::filesystem::path Installation::*;
  const struct {
    File file;
    bool folder;  // the file's folder rather than the file
    Damage damage;
    mode_t mode;
    const char* reason;
  } cases[] = {
      {&Installation::library, false, kRelative, 0, "the path is not absolute"},
      {&Installation::library, false, kMode, 0757, "every user can write to it"},
      {&Installation::library, false, kMode, 0775, "its group can write to it"},
      {&Installation::library, true, kMode, 0777, "every user can write"},
      {&Installation::registry, false, kMode, 0646, "every user can write to it"},
      {&Installation::registry, true, kMode, 0777, "every user can write"},
      {&Installation::registry, false, kOwner, 0, "neither root nor the user"},
      {&Installation::library, false, kOwner, 0, "neither root nor the user"},
      {&Installation::registry, false, kLink, 0, "symbolic link"},
  };
  const passwd* nobody = getpwnam("nobody");
  for (const auto& c : cases) {
    if (c.damage == kOwner && (geteuid() != 0 || !nobody)) {
      continue;  // only root can give a file away
    }
    Installation at;
    ScopedVariable chosen("XEL02_REGISTRY", at.registry.string());
    std::filesystem::path refused = c.folder ? (at.*c.file).parent_path() : at.*c.file;
    if (c.damage == kRelative) {
      refused = at.named = "lib/libcopy.so";
    }
    at.WriteRegistry();
    if (c.damage == kMode) {
      chmod(refused.c_str(), c.mode);
    } else if (c.damage == kOwner) {
      ASSERT_EQ(chown(refused.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    } else if (c.damage == kLink) {
      std::filesystem::rename(refused, at.folder / "etc/real");
      std::filesystem::create_symlink(at.folder / "etc/real", refused);
    }
    EXPECT_THAT(
        FailureOf([] { com::CreateObject("Velmora.Copy"); }).Description(),
        ::testing::AllOf(HasSubstr(refused.string()), HasSubstr("is refused"), HasSubstr(c.reason)))
        << refused << " " << c.reason;
    EXPECT_FALSE(at.Loaded()) << refused << " " << c.reason;
  }
  Installation sound;
  ScopedVariable chosen("XEL02_REGISTRY", sound.registry.string());
  sound.WriteRegistry();
  for (auto [progId, reason] : {std::pair{"Velmora.Copy", "libcopy.so is no component library"},
                                {"Velmora.Nothing", "Velmora.Nothing is not registered"}}) {
    RuntimeError failure = FailureOf([progId] { com::CreateObject(progId); });
    EXPECT_EQ(failure.Number(), 429) << progId;
    EXPECT_THAT(failure.Description(), HasSubstr(reason));
  }
  EXPECT_TRUE(sound.Loaded()) << "the same files, left as installed, are loaded";
}

}  // namespace
}  // namespace xel::testing
