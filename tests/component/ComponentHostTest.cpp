// The component library as a host meets it: registered through its own entry point, found through
// the registry, loaded, asked for Pantalla. Every scenario runs in a process of its own, since the
// library's start-up happens once per process.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "component/Pantalla.h"
#include "editor/frmXEL02.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/InProcServer.h"
#include "platform/com/Registry.h"
#include "tests/component/HostEnvironment.h"
#include "tests/support/FailureOf.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempStore.h"

namespace xel::testing {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kSessionClass = "{5B2B545E-DE81-4C34-8300-284CE96D1F49}";
constexpr const char* kUtilityClass = "{5B2B545E-DE81-4C34-8300-284CE96D1F4A}";

// The component library loaded as a host loads it, with its four entry points.
struct ComponentLibrary {
  void* handle = dlopen(XEL02_LIBRARY, RTLD_NOW | RTLD_LOCAL);

  template <class Entry>
  Entry Find(const char* name) const {
    return reinterpret_cast<Entry>(dlsym(handle, name));
  }
  com::HResult Register() const { return Find<com::RegisterServerEntry>("DllRegisterServer")(); }
  com::HResult Unregister() const {
    return Find<com::UnregisterServerEntry>("DllUnregisterServer")();
  }
  com::HResult CanUnloadNow() const { return Find<com::CanUnloadNowEntry>("DllCanUnloadNow")(); }
  std::shared_ptr<com::ClassFactory> Factory() const {
    void* factory = nullptr;
    auto getClassObject = Find<com::GetClassObjectEntry>("DllGetClassObject");
    EXPECT_EQ(getClassObject(std::string(ids::CLSID_Pantalla).c_str(),
                             std::string(com::IID_IClassFactory).c_str(), &factory),
              com::hr::Ok);
    return com::Adopt(static_cast<com::ClassFactory*>(factory));
  }
};

// A host with its registry in a folder of its own, its services over a store, and its screen.
struct ComponentHost : ::testing::Test {
  TempFolder folder;
  std::filesystem::path registryFile = folder / "registry";
  ScopedVariable registry{"XEL02_REGISTRY", registryFile.string()};
  TempStore store{TempStore::Contents::Demo};
  RecordingConnection db{store.Db()};
  std::shared_ptr<ScriptedSession> session = std::make_shared<ScriptedSession>(db);
  std::shared_ptr<ScriptedUtility> utility =
      std::make_shared<ScriptedUtility>([](const Lookup&) { return std::string(); });
  ScriptedUi ui;
  Names created;  // the host's classes the component created, in order

  // What a host does at start: the component is installed (registered) and its own two service
  // classes are registered in the process.
  ComponentLibrary Install() {
    ComponentLibrary library;
    EXPECT_NE(library.handle, nullptr) << dlerror();
    EXPECT_EQ(library.Register(), com::hr::Ok);
    return library;
  }
  std::vector<com::ClassObjectRegistration> RegisterServices() {
    std::vector<com::ClassObjectRegistration> registrations;
    registrations.push_back(RegisterSession());
    registrations.push_back(RegisterUtility([this] { return utility; }));
    return registrations;
  }
  com::ClassObjectRegistration RegisterSession() {
    return com::RegisterClassObject(
        kSessionClass, std::string(ids::ProgID_SessionService),
        com::MakeClassFactory<SessionService>(std::string(ids::IID_SessionService), [this] {
          created.push_back("SessionService");
          return session;
        }));
  }
  com::ClassObjectRegistration RegisterUtility(
      std::function<std::shared_ptr<UtilityService>()> make) {
    return com::RegisterClassObject(
        kUtilityClass, std::string(ids::ProgID_UtilityService),
        com::MakeClassFactory<UtilityService>(std::string(ids::IID_UtilityService), [this, make] {
          created.push_back("UtilityService");
          return make();
        }));
  }
  static std::shared_ptr<_Pantalla> CreatePantalla() {
    return com::CreateObject<_Pantalla>(ids::ProgID_Pantalla, ids::IID__Pantalla);
  }
};

TEST_F(ComponentHost, ExportsTheFourServerEntryPointsAndKeepsEverythingElseInside) {
  InFreshProcess([&] {
    ComponentLibrary library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    for (const char* entry :
         {"DllRegisterServer", "DllUnregisterServer", "DllGetClassObject", "DllCanUnloadNow"}) {
      EXPECT_NE(dlsym(library.handle, entry), nullptr) << entry;
    }
    EXPECT_EQ(dlsym(library.handle, "_ZTVN3xel8frmXEL02E"), nullptr) << "the editor's vtable";
  });
}

TEST_F(ComponentHost, RegistrationWritesAndRemovesExactlyItsOwnEntries) {
  InFreshProcess([&] {
    const std::string foreign =
        "# this workstation\n"
        "class\t{AAAAAAAA-0000-0000-0000-000000000000}\tVelmora.Other\t/opt/other.so\n"
        "typelib\t{BBBBBBBB-0000-0000-0000-000000000000}\tOther\t1.0\t/opt/other.so\n";
    WriteFile(registryFile, foreign);
    ComponentLibrary library = Install();
    EXPECT_EQ(library.Register(), com::hr::Ok) << "registering twice";

    com::Registry written = com::Registry::Load(registryFile);
    EXPECT_EQ(written.FindClass("XEL02.Pantalla"),
              (com::ClassEntry{std::string(ids::CLSID_Pantalla), "XEL02.Pantalla", XEL02_LIBRARY}));
    EXPECT_EQ(written.FindTypeLib(ids::LIBID_XEL02),
              (com::TypeLibEntry{std::string(ids::LIBID_XEL02), "XEL02", "2.0", XEL02_LIBRARY}));
    std::string text = ReadFile(registryFile);
    EXPECT_EQ(text.substr(0, foreign.size()), foreign);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5) << "no entry twice";

    EXPECT_EQ(library.Unregister(), com::hr::Ok);
    EXPECT_EQ(ReadFile(registryFile), foreign);
    EXPECT_EQ(library.Unregister(), com::hr::Ok) << "nothing left to remove is no failure";
    EXPECT_EQ(ReadFile(registryFile), foreign);
  });
}

TEST_F(ComponentHost, ARegistryThatCannotBeWrittenIsAFailedRegistration) {
  InFreshProcess([&] {
    WriteFile(folder / "plain", "");
    ScopedVariable unwritable("XEL02_REGISTRY", (folder / "plain/registry").string());
    ComponentLibrary library;
    EXPECT_EQ(library.Register(), com::hr::ClassRegistration);
    EXPECT_EQ(library.Unregister(), com::hr::Ok) << "nothing registered there";
  });
}

TEST_F(ComponentHost, TheFirstPantallaStartsTheComponentOnceAndAllShareOneWindow) {
  InFreshProcess([&] {
    Install();
    auto services = RegisterServices();
    auto first = CreatePantalla();
    EXPECT_EQ(created, (Names{"SessionService", "UtilityService"}));
    auto second = CreatePantalla();
    EXPECT_EQ(created, (Names{"SessionService", "UtilityService"})) << "no second start-up";
    EXPECT_NE(first.get(), second.get());

    std::shared_ptr<frmXEL02> window = first->GetPantalla();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(first->GetPantalla().get(), window.get());
    EXPECT_EQ(second->GetPantalla().get(), window.get());
    EXPECT_FALSE(window->Loaded()) << "handing the window out neither loads nor shows it";
  });
}

TEST_F(ComponentHost, TheWindowRunsOnTheHostsScreenServicesAndParent) {
  struct Parent : ParentObject {
    int unloads = 0;
    std::string Property(const std::string&) override { return ""; }
    void Unload() override { ++unloads; }
  };
  InFreshProcess([&] {
    Install();
    auto services = RegisterServices();
    auto pantalla = CreatePantalla();
    pantalla->SetUi(ui);
    auto parent = std::make_shared<Parent>();
    auto window = pantalla->GetPantalla();
    window->SetPadre(parent);
    window->Show();

    EXPECT_EQ(ui.Shown(), (Names{"frmXEL02"}));
    EXPECT_GT(window->tvVariables.Nodes().Count(), 1) << "the tree loaded from the host's store";
    EXPECT_FALSE(db.Statements().empty());
    window->Controles.ClickExit();
    EXPECT_EQ(parent->unloads, 1);
  });
}

TEST_F(ComponentHost, UntilTheHostHandsOverItsScreenEscapedErrorsGoToStandardError) {
  InFreshProcess([&] {
    Install();
    auto services = RegisterServices();
    auto window = CreatePantalla()->GetPantalla();
    window->Show();
    EXPECT_TRUE(ui.Shown().empty());

    utility->SetFinder([](const Lookup&) -> std::string {
      throw RuntimeError(err::DatabaseError, "connection lost");
    });
    TreeNodes& nodes = window->tvVariables.Nodes();
    Node variable;
    for (long i = 2; i <= nodes.Count() && !variable; ++i) {
      if (nodes.Item(i).Text() == nodes.Item(i).Tag()) {
        variable = nodes.Item(i);
      }
    }
    ASSERT_TRUE(variable) << "the demo store has variables";
    ::testing::internal::CaptureStderr();
    window->tvVariables.UserClick(variable);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("connection lost"), std::string::npos);
  });
}

TEST_F(ComponentHost, TheLibraryMayBeUnloadedOnlyOnceEverythingItHandedOutIsGivenBack) {
  InFreshProcess([&] {
    ComponentLibrary library = Install();
    auto services = RegisterServices();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok);

    auto pantalla = CreatePantalla();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::False);
    auto window = pantalla->GetPantalla();
    pantalla.reset();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::False) << "the window is still held";
    window.reset();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok);

    auto factory = library.Factory();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::False) << "the factory is still held";
    EXPECT_EQ(factory->LockServer(true), com::hr::Ok);
    factory.reset();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::False) << "locked";
    library.Factory()->LockServer(false);
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok);
  });
}

TEST_F(ComponentHost, AServiceThatCannotBeCreatedFailsTheCreationAndTheNextOneStartsAgain) {
  InFreshProcess([&] {
    ComponentLibrary library = Install();
    EXPECT_EQ(FailureOf([] { CreatePantalla(); }).Number(), com::err::CannotCreateObject)
        << "no session service registered";
    EXPECT_TRUE(created.empty());

    auto session = RegisterSession();
    auto failing = RegisterUtility([]() -> std::shared_ptr<UtilityService> {
      throw RuntimeError(7001, "Servicio no disponible");
    });
    RuntimeError failure = FailureOf([] { CreatePantalla(); });
    EXPECT_EQ(failure.Number(), 7001);
    EXPECT_EQ(failure.Description(), "Servicio no disponible");
    EXPECT_EQ(created, (Names{"SessionService", "UtilityService"}));
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok) << "nothing was left half made";

    auto working = RegisterUtility([this] { return utility; });
    auto pantalla = CreatePantalla();
    ASSERT_NE(pantalla->GetPantalla(), nullptr);
    EXPECT_EQ(created,
              (Names{"SessionService", "UtilityService", "SessionService", "UtilityService"}));
  });
}

TEST_F(ComponentHost, AHostClassWithoutTheContractsInterfaceFailsTheCreationWith430) {
  InFreshProcess([&] {
    Install();
    auto session = com::RegisterClassObject(
        kSessionClass, std::string(ids::ProgID_SessionService),
        com::MakeClassFactory<UtilityService>(std::string(ids::IID_UtilityService),
                                              [this] { return utility; }));
    auto services = RegisterUtility([this] { return utility; });
    EXPECT_EQ(FailureOf([] { CreatePantalla(); }).Number(), com::err::InterfaceNotSupported);
    EXPECT_TRUE(created.empty()) << "the start-up ends at the session service";
  });
}

TEST_F(ComponentHost, AnUnregisteredComponentCannotBeCreated) {
  InFreshProcess([&] {
    ComponentLibrary library = Install();
    auto services = RegisterServices();
    EXPECT_EQ(library.Unregister(), com::hr::Ok);
    RuntimeError failure = FailureOf([] { CreatePantalla(); });
    EXPECT_EQ(failure.Number(), com::err::CannotCreateObject);
    EXPECT_TRUE(created.empty()) << "the start-up never ran";
  });
}

TEST_F(ComponentHost, TheFactoryServesOnlyPantallaAndItsInterfaces) {
  InFreshProcess([&] {
    ComponentLibrary library = Install();
    auto getClassObject = library.Find<com::GetClassObjectEntry>("DllGetClassObject");
    void* object = &library;
    EXPECT_EQ(getClassObject("{00000000-0000-0000-0000-000000000001}",
                             std::string(com::IID_IClassFactory).c_str(), &object),
              com::hr::ClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject(std::string(ids::CLSID_Pantalla).c_str(), "{nonsense}", &object),
              com::hr::NoInterface);

    auto services = RegisterServices();
    auto factory = library.Factory();
    EXPECT_EQ(factory->CreateInstance(factory.get(), ids::IID__Pantalla, &object),
              com::hr::NoAggregation);
    EXPECT_EQ(factory->CreateInstance(nullptr, ids::IID_SessionService, &object),
              com::hr::NoInterface);
    EXPECT_EQ(library.CanUnloadNow(), com::hr::False) << "only the factory";
    factory.reset();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok) << "the refused object did not stay";
  });
}

}  // namespace
}  // namespace xel::testing
