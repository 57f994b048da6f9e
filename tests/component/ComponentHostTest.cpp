// The component library as a host meets it: registered through its own entry point, found through
// the registry, loaded, asked for Pantalla. Every scenario runs in a process of its own, since the
// library's start-up happens once per process.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "component/Pantalla.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/InProcServer.h"
#include "platform/forms/MakerControls.h"
#include "platform/forms/TreeView.h"
#include "tests/component/HostEnvironment.h"
#include "tests/support/FailureOf.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempStore.h"

namespace xel::testing {
namespace {

using Names = std::vector<std::string>;

const std::string kSession(ids::ProgID_SessionService);
const std::string kUtility(ids::ProgID_UtilityService);
constexpr const char* kSessionClass = "{5B2B545E-DE81-4C34-8300-284CE96D1F49}";
constexpr const char* kUtilityClass = "{5B2B545E-DE81-4C34-8300-284CE96D1F4A}";

// The component library loaded as a host loads it, with its four entry points.
struct ComponentLibrary {
  void* handle = dlopen(XEL02_LIBRARY, RTLD_NOW | RTLD_LOCAL);

  template <class Entry>
  Entry Find(const char* name) const {
    return reinterpret_cast<Entry>(dlsym(handle, name));
  }
  com::RegisterServerEntry Register = Find<com::RegisterServerEntry>("DllRegisterServer");
  com::UnregisterServerEntry Unregister = Find<com::UnregisterServerEntry>("DllUnregisterServer");
  com::CanUnloadNowEntry CanUnloadNow = Find<com::CanUnloadNowEntry>("DllCanUnloadNow");
  com::HResult GetClassObject(std::string_view clsid, std::string_view iid, void** object) const {
    return Find<com::GetClassObjectEntry>("DllGetClassObject")(std::string(clsid).c_str(),
                                                               std::string(iid).c_str(), object);
  }
  std::shared_ptr<com::ClassFactory> Factory() const {
    void* factory = nullptr;
    EXPECT_EQ(GetClassObject(ids::CLSID_Pantalla, com::IID_IClassFactory, &factory), com::hr::Ok);
    return com::Adopt(static_cast<com::ClassFactory*>(factory));
  }
};

// A host with its registry in a folder of its own, its services over the demo store, and its
// screen.
struct ComponentHost : ::testing::Test {
  TempFolder folder;
  std::filesystem::path registryFile = folder / "registry";
  ScopedVariable registry{"XEL02_REGISTRY", registryFile.string()};
  TempStore store{TempStore::Contents::Demo};
  std::shared_ptr<ScriptedSession> session = std::make_shared<ScriptedSession>(store.Db());
  std::shared_ptr<ScriptedUtility> utility =
      std::make_shared<ScriptedUtility>([](const Lookup&) { return std::string(); });
  ScriptedUi ui;
  Names created;  // the host's classes the component created, in order

  // What a host does at start: the component is installed (registered) and its own two service
  // classes are served in the process.
  ComponentLibrary Install() {
    ComponentLibrary library;
    EXPECT_NE(library.handle, nullptr) << dlerror();
    EXPECT_EQ(library.Register(), com::hr::Ok);
    return library;
  }
  std::pair<com::ClassObjectRegistration, com::ClassObjectRegistration> ServeBoth() {
    return {Serve<SessionService>(kSession, [this] { return session; }),
            Serve<UtilityService>(kUtility, [this] { return utility; })};
  }
  // Serves the class progId through the interface of Service; every creation makes its object
  // with make.
  template <class Service>
  com::ClassObjectRegistration Serve(const std::string& progId,
                                     std::function<std::shared_ptr<Service>()> make) {
    const bool session = std::is_same_v<Service, SessionService>;
    return com::RegisterClassObject(
        progId == kSession ? kSessionClass : kUtilityClass, progId,
        com::MakeClassFactory<Service>(
            std::string(session ? ids::IID_SessionService : ids::IID_UtilityService),
            [this, progId, make] {
              created.push_back(progId);
              return make();
            }));
  }
  static std::shared_ptr<_Pantalla> CreatePantalla() {
    return com::CreateObject<_Pantalla>(ids::ProgID_Pantalla, ids::IID__Pantalla);
  }
};

TEST_F(ComponentHost, RegistrationWritesAndRemovesExactlyItsOwnEntries) {
  InFreshProcess([&] {
    const std::string foreign =
        "# this workstation\n"
        "\n"
        "service\tVelmora.Backup\tnightly\n"
        "class\tbroken line\n"
        "class\t{AAAAAAAA-0000-0000-0000-000000000000}\tVelmora.Other\t/opt/other.so\n"
        "typelib\t{BBBBBBBB-0000-0000-0000-000000000000}\tOther\t1.0\t/opt/other.so\n";
    WriteFile(registryFile, foreign);
    ComponentLibrary library = Install();
    EXPECT_EQ(library.Register(), com::hr::Ok) << "registering twice";
    EXPECT_EQ(FileBytes(registryFile), foreign + "typelib\t" + std::string(ids::LIBID_XEL02) +
                                           "\tXEL02\t2.0\t" + XEL02_LIBRARY + "\nclass\t" +
                                           std::string(ids::CLSID_Pantalla) + "\tXEL02.Pantalla\t" +
                                           XEL02_LIBRARY + "\n");
    EXPECT_EQ(library.Unregister(), com::hr::Ok);
    EXPECT_EQ(FileBytes(registryFile), foreign);
  });
}

// The first Pantalla runs the start-up; every Pantalla hands out the same window, and the library
// may go only once all it handed out is given back; its factory serves nothing else.
TEST_F(ComponentHost, TheComponentStartsOnceSharesOneWindowAndMayGoOnlyWhenAllIsGivenBack) {
  InFreshProcess([&] {
    ComponentLibrary library = Install();
    auto services = ServeBoth();
    auto first = CreatePantalla();
    auto second = CreatePantalla();
    EXPECT_EQ(created, (Names{kSession, kUtility})) << "one start-up, session service first";
    std::shared_ptr<_frmXEL02> window = first->GetPantalla();
    EXPECT_EQ(second->GetPantalla().get(), window.get());
    EXPECT_FALSE(window->Ventana().Loaded()) << "handing the window out neither loads nor shows it";
    first.reset();
    second.reset();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::False) << "the window is still held";
    window.reset();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok);

    // The factory serves only Pantalla and its interfaces.
    void* object = &library;
    EXPECT_EQ(library.GetClassObject("{00000000-0000-0000-0000-000000000001}",
                                     com::IID_IClassFactory, &object),
              com::hr::ClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(library.GetClassObject(ids::CLSID_Pantalla, "{nonsense}", &object),
              com::hr::NoInterface);
    auto factory = library.Factory();
    EXPECT_EQ(factory->CreateInstance(factory.get(), ids::IID__Pantalla, &object),
              com::hr::NoAggregation);
    EXPECT_EQ(factory->CreateInstance(nullptr, ids::IID_SessionService, &object),
              com::hr::NoInterface);
    EXPECT_EQ(factory->LockServer(true), com::hr::Ok);
    factory.reset();
    EXPECT_EQ(library.CanUnloadNow(), com::hr::False) << "locked";
    library.Factory()->LockServer(false);
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok) << "the refused objects did not stay";
  });
}

// Until the host hands over its screen, an error escaping the window is told on the error stream;
// Salir asks the host's window to unload.
TEST_F(ComponentHost, TheWindowRunsHeadlessUntilTheHostHandsOverItsScreen) {
  struct Parent : ParentObject {
    int unloads = 0;
    std::string Property(const std::string&) override { return ""; }
    void Unload() override { ++unloads; }
  };
  InFreshProcess([&] {
    Install();
    auto services = ServeBoth();
    auto pantalla = CreatePantalla();
    auto window = pantalla->GetPantalla();
    auto parent = std::make_shared<Parent>();
    window->SetPadre(parent);
    Form& form = window->Ventana();
    form.Show();
    TreeView& tree = ControlOf<TreeView>(form, "tvVariables");
    utility->SetFinder([](const Lookup&) -> std::string {
      throw RuntimeError(err::DatabaseError, "connection lost");
    });
    ::testing::internal::CaptureStderr();
    tree.UserClick(tree.Nodes().Item("KIVA"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("connection lost"), std::string::npos);
    pantalla->SetUi(ui);
    tree.UserClick(tree.Nodes().Item("KIVA"));
    EXPECT_EQ(ui.UnhandledErrors().size(), 1u);
    ControlOf<ToolbarZul>(form, "Controles").ClickExit();
    EXPECT_EQ(parent->unloads, 1);
  });
}

// The start-up creates the session service and then the utility service; it completes only with
// both, and a failure leaves nothing behind for the next creation, which starts again.
TEST_F(ComponentHost, AFailedStartUpFailsTheCreationAndTheNextOneStartsAgain) {
  InFreshProcess([&] {
    ComponentLibrary library = Install();
    EXPECT_EQ(FailureOf([] { CreatePantalla(); }).Number(), com::err::CannotCreateObject)
        << "no session service served";
    {
      auto notASession = Serve<UtilityService>(kSession, [this] { return utility; });
      EXPECT_EQ(FailureOf([] { CreatePantalla(); }).Number(), com::err::InterfaceNotSupported);
    }
    auto services = ServeBoth();
    auto failing = Serve<UtilityService>(kUtility, []() -> std::shared_ptr<UtilityService> {
      throw RuntimeError(7001, "Servicio no disponible");
    });
    EXPECT_EQ(FailureOf([] { CreatePantalla(); }).Number(), 7001);
    EXPECT_EQ(library.CanUnloadNow(), com::hr::Ok) << "nothing was left half made";

    auto working = Serve<UtilityService>(kUtility, [this] { return utility; });
    ASSERT_NE(CreatePantalla()->GetPantalla(), nullptr);
    EXPECT_EQ(created, (Names{kSession, kSession, kUtility, kSession, kUtility}));
  });
}

}  // namespace
}  // namespace xel::testing
