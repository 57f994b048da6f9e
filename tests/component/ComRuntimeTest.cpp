#include "platform/com/ComRuntime.h"

#include <gtest/gtest.h>

#include "component/Pantalla.h"
#include "platform/com/Registry.h"
#include "tests/component/HostEnvironment.h"
#include "tests/support/FailureOf.h"
#include "tests/support/ScriptedHost.h"

namespace xel::testing {
namespace {

constexpr const char* kUtilityClass = "{C0FFEE00-0000-4000-8000-000000000001}";

// A host that offers its utility service as a class of its own.
struct ComRuntimeTest : ::testing::Test {
  TempFolder folder;
  ScopedVariable registry{"XEL02_REGISTRY", (folder / "registry").string()};
  int creations = 0;

  std::shared_ptr<com::ClassFactory> UtilityFactory(std::string answer) {
    return com::MakeClassFactory<UtilityService>(
        std::string(ids::IID_UtilityService), [this, answer] {
          ++creations;
          return std::make_shared<ScriptedUtility>([answer](const Lookup&) { return answer; });
        });
  }
  std::shared_ptr<UtilityService> CreateUtility(std::string_view name) {
    return com::CreateObject<UtilityService>(name, ids::IID_UtilityService);
  }
  static std::string LookUp(UtilityService& utility) {
    return utility.BuscarCampo("T", "A", "v", "B", 0, "", "", "");
  }
  void RegisterInFile(const std::string& progId, const std::filesystem::path& library) {
    com::Registry file = com::Registry::Load(com::Registry::Location());
    file.Register(com::ClassEntry{kUtilityClass, progId, library});
    file.Save(com::Registry::Location());
  }
};

TEST_F(ComRuntimeTest, AClassOfTheProcessIsCreatedByEitherIdentifierBeforeTheRegistryIsAsked) {
  RegisterInFile("Velmora.UtilityService", "/nonexistent/libvelmora.so");
  {
    auto registration =
        com::RegisterClassObject(kUtilityClass, "Velmora.UtilityService", UtilityFactory("local"));
    EXPECT_EQ(LookUp(*CreateUtility("velmora.utilityservice")), "local");
    EXPECT_EQ(LookUp(*CreateUtility(kUtilityClass)), "local");
    EXPECT_EQ(creations, 2) << "every creation makes a new object";
  }
  RuntimeError revoked = FailureOf([&] { CreateUtility("Velmora.UtilityService"); });
  EXPECT_NE(revoked.Description().find("libvelmora.so"), std::string::npos)
      << "once revoked, the registry's library is tried: " << revoked.Description();
}

TEST_F(ComRuntimeTest, AnObjectLivesExactlyAsLongAsItsLastReference) {
  std::weak_ptr<ScriptedUtility> made;
  auto registration = com::RegisterClassObject(
      kUtilityClass, "Velmora.UtilityService",
      com::MakeClassFactory<UtilityService>(std::string(ids::IID_UtilityService), [&made] {
        auto utility = std::make_shared<ScriptedUtility>([](const Lookup&) { return ""; });
        made = utility;
        return utility;
      }));
  auto object = com::CreateObject("Velmora.UtilityService");
  auto utility = com::Query<UtilityService>(object, ids::IID_UtilityService);
  object.reset();
  EXPECT_FALSE(made.expired()) << "the interface keeps the object";
  utility.reset();
  EXPECT_TRUE(made.expired());
}

TEST_F(ComRuntimeTest, AClassNobodyServesIsError429WithTheReason) {
  RuntimeError unknown = FailureOf([&] { com::CreateObject("Velmora.Nothing"); });
  EXPECT_EQ(unknown.Number(), 429);
  EXPECT_NE(unknown.Description().find("Velmora.Nothing is not registered"), std::string::npos)
      << unknown.Description();

  RegisterInFile("Velmora.Missing", "/nonexistent/libvelmora.so");
  RuntimeError missing = FailureOf([&] { com::CreateObject("Velmora.Missing"); });
  EXPECT_EQ(missing.Number(), 429);
  EXPECT_NE(missing.Description().find("/nonexistent/libvelmora.so"), std::string::npos)
      << missing.Description();

  RegisterInFile("Velmora.NoServer", XEL_COM_LIBRARY);
  RuntimeError notServer = FailureOf([&] { com::CreateObject("Velmora.NoServer"); });
  EXPECT_EQ(notServer.Number(), 429);
  EXPECT_NE(notServer.Description().find("is no component library"), std::string::npos)
      << notServer.Description();
}

}  // namespace
}  // namespace xel::testing
