#include "platform/com/ComRuntime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace xel::testing
