#include "host/app/EditorCommand.h"

#include <QApplication>
#include <QSettings>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "component/Pantalla.h"
#include "editor/frmXEL02.h"
#include "host/HostServices.h"
#include "host/app/Registration.h"
#include "host/app/StoreAccess.h"
#include "platform/CommandLine.h"
#include "platform/VisibleText.h"
#include "platform/com/ComRuntime.h"
#include "qt/HostScreen.h"
#include "qt/QtUiBackend.h"
#include "qt/Screenshot.h"
#include "store/Schema.h"

namespace xel::app {

namespace {

// The host's own class identifiers for its two service classes.
constexpr char kSessionClass[] = "{2B4E1F7A-6C1D-4E55-9A0B-3F1C2D9E7A10}";
constexpr char kUtilityClass[] = "{8E7D6C5B-4A39-4F28-8B17-06F5E4D3C2B1}";

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (const char* value = std::getenv(name); value && *value) {
      return true;
    }
  }
  return false;
}

// A failure before the editor can show one is told in a message box where there is a screen,
// and on the error stream always.
int Fail(const std::string& text, bool boxes) {
  std::cerr << "xel02: " << VisibleText(text) << "\n";
  if (boxes) {
    ShowMensaje(nullptr, text, MsgCode::Critical, "XEL02");
  }
  return 1;
}

// Whether a person can answer a message: not while a picture is drawn, nor on a platform that
// shows nothing.
bool Unattended(bool screenshot) {
  QString platform = QGuiApplication::platformName();
  return screenshot || platform == "offscreen" || platform == "minimal";
}

// The host's window that holds the editor: closing the editor closes it, and the program ends.
class HostWindow : public ParentObject {
 public:
  explicit HostWindow(std::function<void()> close) : close_(std::move(close)) {}
  std::string Property(const std::string& name) override {
    if (name == "Transaccion") {
      return "Variables del sistema";
    }
    throw RuntimeError(438, "Object doesn't support this property or method");
  }
  void Unload() override { close_(); }

 private:
  std::function<void()> close_;
};

// The picture shows the root's classes open, so that it shows the store, not a folded root.
void ShowFirstLevels(TreeView& tree) {
  if (tree.Nodes().Count() == 0) {
    return;
  }
  Node root = tree.Nodes().Item(1L);
  root.SetExpanded(true);
  for (Node clase = root.Child(); clase; clase = clase.Next()) {
    clase.SetExpanded(true);
  }
}

}  // namespace

int RunEditor(const Options& options, int& argc, char** argv) {
  bool screenshot = !options.screenshot.empty();
  if (screenshot && !std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  if (!screenshot && !HasDisplay()) {
    std::cerr << "xel02: there is no display to show the editor on. Run it in a desktop session, "
                 "under a virtual display (xvfb-run -a xel02 ...), or draw it into a file with "
                 "--screenshot FILE.\n";
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("XEL02");
  bool boxes = !Unattended(screenshot);

  std::unique_ptr<Connection> store;
  try {
    store = OpenStore(options);
    if (auto missing = MissingTables(*store); !missing.empty()) {
      return Fail(MissingTablesText(missing, options), boxes);
    }
  } catch (const RuntimeError& e) {
    return Fail("The store cannot be opened: " + e.Description(), boxes);
  }
  std::unique_ptr<TracedStore> traced;
  try {
    traced = std::make_unique<TracedStore>(*store, options);
  } catch (const RuntimeError& e) {
    return Fail(e.Description(), boxes);
  }
  Connection& connection = traced->Get();

  // Where the user left the editor's window, in the platform's place for the user's settings.
  QSettings places("XEL02", "xel02");
  QtUiBackend screen(screenshot ? nullptr : &places);
  if (!boxes) {
    screen.SetUnattended();
  }
  auto session = std::make_shared<HostSession>(
      connection,
      [&screen](const std::string& prompt, long code, const std::string& title,
                const std::string& errorId) {
        return screen.Message(prompt, code, title, errorId);
      },
      UsuarioDeSesion(ProcessArguments()));
  auto utility = std::make_shared<HostUtility>(*session, SendKeysToFocus);
  auto sessionClass = com::RegisterClassObject(
      kSessionClass, std::string(ids::ProgID_SessionService),
      com::MakeClassFactory<SessionService>(std::string(ids::IID_SessionService),
                                            [session] { return session; }));
  auto utilityClass = com::RegisterClassObject(
      kUtilityClass, std::string(ids::ProgID_UtilityService),
      com::MakeClassFactory<UtilityService>(std::string(ids::IID_UtilityService),
                                            [utility] { return utility; }));

  std::shared_ptr<frmXEL02> editor;
  try {
    EnsureComponentRegistered();
    auto pantalla = com::CreateObject<_Pantalla>(ids::ProgID_Pantalla, ids::IID__Pantalla);
    pantalla->SetUi(screen);
    editor = pantalla->GetPantalla();
    if (!editor) {
      return Fail("The component gave no editor window.", boxes);
    }
  } catch (const RuntimeError& e) {
    return Fail(e.Description() + " (" + std::to_string(e.Number()) + ")", boxes);
  }
  editor->SetModoDeCarga(options.load == "bulk" ? ModoDeCarga::EnBloque : ModoDeCarga::PorClase);
  // The editor may decline to close (its user chose to go on editing): the program goes on then.
  editor->SetPadre(std::make_shared<HostWindow>([&editor] {
    if (editor->Unload()) {
      QCoreApplication::quit();
    }
  }));
  editor->Show();

  int code = 0;
  if (screenshot) {
    ShowFirstLevels(dynamic_cast<TreeView&>(*editor->FindControl("tvVariables")));
    QCoreApplication::processEvents();
    if (!SaveScreenshot(screen, *editor, QString::fromStdString(options.screenshot))) {
      code = Fail("The picture could not be written to " + options.screenshot, false);
    }
  } else {
    code = QApplication::exec();
  }
  editor->Unload();
  // A message answered for want of a person means the run did not go as it should.
  return screen.UnattendedAnswers() > 0 ? 1 : code;
}

}  // namespace xel::app
