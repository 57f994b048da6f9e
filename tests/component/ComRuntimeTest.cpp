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
#include "tests/support/ScriptedHost.h"

namespace xel::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* kUtilityClass = "{C0FFEE00-0000-4000-8000-000000000001}";

// A host whose registry names libraries that cannot serve the classes asked for.
struct ComRuntimeTest : ::testing::Test {
  TempFolder folder;
  ScopedVariable registry{"XEL02_REGISTRY", (folder / "registry").string()};

  ComRuntimeTest() {
    WriteFile(
        folder / "registry",
        std::string("class\t") + kUtilityClass +
            "\tVelmora.UtilityService\t/nonexistent/libvelmora.so\n"
            "class\t{C0FFEE00-0000-4000-8000-000000000002}\tVelmora.NoServer\t" XEL_COM_LIBRARY
            "\n");
  }
};

TEST_F(ComRuntimeTest, AClassOfTheProcessIsCreatedByEitherIdentifierBeforeTheRegistryIsAsked) {
  int creations = 0;
  {
    auto registration = com::RegisterClassObject(
        kUtilityClass, "Velmora.UtilityService",
        com::MakeClassFactory<UtilityService>(std::string(ids::IID_UtilityService), [&creations] {
          ++creations;
          return std::make_shared<ScriptedUtility>([](const Lookup&) { return "local"; });
        }));
    for (const char* name : {"velmora.utilityservice", kUtilityClass}) {
      auto utility = com::CreateObject<UtilityService>(name, ids::IID_UtilityService);
      EXPECT_EQ(utility->BuscarCampo("T", "A", "v", "B", 0, "", "", ""), "local") << name;
    }
    EXPECT_EQ(creations, 2) << "every creation makes a new object";
  }
  EXPECT_THAT(FailureOf([] { com::CreateObject("Velmora.UtilityService"); }).Description(),
              HasSubstr("libvelmora.so"))
      << "once revoked, the registry's library is tried";
}

TEST_F(ComRuntimeTest, AClassNobodyServesIsError429WithTheReason) {
  for (auto [progId, reason] : {std::pair{"Velmora.Nothing", "Velmora.Nothing is not registered"},
                                {"Velmora.UtilityService", "/nonexistent/libvelmora.so"},
                                {"Velmora.NoServer", "is no component library"}}) {
    RuntimeError failure = FailureOf([progId] { com::CreateObject(progId); });
    EXPECT_EQ(failure.Number(), 429) << progId;
    EXPECT_THAT(failure.Description(), HasSubstr(reason));
  }
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

void GiveToNobody(const std::filesystem::path& file) {
  const passwd* nobody = getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  ASSERT_EQ(chown(file.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
}

// Whoever can change a registry or a library decides what the program runs: only a library named
// by an absolute path, from a registry, neither of which anybody but root or the user can change
// (nor their folders), is loaded. Anything else is refused, naming the file and the reason.
TEST(TrustedLoadingTest, OnlyWhatNobodyElseCanChangeIsLoaded) {
  using Arrange = std::function<std::filesystem::path(Installation&)>;  // gives the refused file
  struct Case {
    const char* name;
    Arrange arrange;
    const char* reason;
    bool needsRoot;
  };
  auto mode = [](auto pick, mode_t mode) {
    return [pick, mode](Installation& at) {
      std::filesystem::path file = pick(at);
      chmod(file.c_str(), mode);
      return file;
    };
  };
  auto registry = [](Installation& at) { return at.registry; };
  auto registryFolder = [](Installation& at) { return at.registry.parent_path(); };
  auto library = [](Installation& at) { return at.library; };
  auto libraryFolder = [](Installation& at) { return at.library.parent_path(); };
  const Case cases[] = {
      {"relative library path",
       [](Installation& at) {
         at.named = "lib/libcopy.so";
         at.WriteRegistry();
         return std::filesystem::path(at.named);
       },
       "the path is not absolute", false},
      {"library writable by all", mode(library, 0757), "every user can write to it", false},
      {"library writable by its group", mode(library, 0775), "its group can write to it", false},
      {"library's folder writable by all", mode(libraryFolder, 0777), "every user can write",
       false},
      {"registry writable by all", mode(registry, 0646), "every user can write to it", false},
      {"registry's folder writable by all", mode(registryFolder, 0777), "every user can write",
       false},
      {"registry owned by another user",
       [](Installation& at) {
         GiveToNobody(at.registry);
         return at.registry;
       },
       "neither root nor the user", true},
      {"library owned by another user",
       [](Installation& at) {
         GiveToNobody(at.library);
         return at.library;
       },
       "neither root nor the user", true},
      {"registry is a link",
       [](Installation& at) {
         std::filesystem::rename(at.registry, at.folder / "etc/real");
         std::filesystem::create_symlink(at.folder / "etc/real", at.registry);
         return at.registry;
       },
       "symbolic link", false},
  };
  for (const Case& c : cases) {
    if (c.needsRoot && geteuid() != 0) {
      continue;  // only root can give a file away
    }
    Installation at;
    ScopedVariable chosen("XEL02_REGISTRY", at.registry.string());
    at.WriteRegistry();
    const std::filesystem::path refused = c.arrange(at);
    EXPECT_THAT(
        FailureOf([] { com::CreateObject("Velmora.Copy"); }).Description(),
        ::testing::AllOf(HasSubstr(refused.string()), HasSubstr("is refused"), HasSubstr(c.reason)))
        << c.name;
    EXPECT_FALSE(at.Loaded()) << c.name;
  }
  Installation sound;
  ScopedVariable chosen("XEL02_REGISTRY", sound.registry.string());
  sound.WriteRegistry();
  EXPECT_THAT(FailureOf([] { com::CreateObject("Velmora.Copy"); }).Description(),
              HasSubstr("is no component library"));
  EXPECT_TRUE(sound.Loaded()) << "the same files, left as installed, are loaded";
}

}  // namespace
}  // namespace xel::testing
