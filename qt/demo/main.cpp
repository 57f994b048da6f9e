// The editor window on a demo store in a temporary folder, shown on the desktop.
//
//   xel02-qt-demo [--store FILE] [--click KEY] [--screenshot FILE] [--dialog-screenshot FILE]
//
// --store keeps the store in FILE instead of a temporary one; --click selects a node by its key
// first, as a click would; --screenshot saves a picture of the window and ends;
// --dialog-screenshot presses the add command, saves a picture of the dialog it opens, cancels it
// and ends.

#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "editor/frmXEL02.h"
#include "host/StoreLookup.h"
#include "qt/HostScreen.h"
#include "qt/QtUiBackend.h"
#include "qt/Screenshot.h"
#include "store/DemoStore.h"

namespace {

using namespace xel;

class DemoSession : public SessionService {
 public:
  explicit DemoSession(Connection& db) : db_(db) {}
  Connection& Conexion() override { return db_; }
  long Mensaje(const std::string& prompt, long code, const std::string& title, long /*owner*/,
               const std::string& /*source*/, const std::string& /*errorId*/) override {
    return ShowMensaje(QApplication::activeWindow(), prompt, code, title);
  }

 private:
  Connection& db_;
};

class DemoUtility : public UtilityService {
 public:
  explicit DemoUtility(Connection& db) : db_(db) {}
  std::string BuscarCampo(const std::string& table, const std::string& searchColumn,
                          const std::string& searchValue, const std::string& resultColumn,
                          long /*number*/, const std::string& /*extra1*/,
                          const std::string& /*extra2*/, const std::string& /*extra3*/) override {
    return BuscarCampoEnStore(db_, table, searchColumn, searchValue, resultColumn);
  }
  long EnviarTeclas(const std::string& keys, long /*flag*/) override {
    SendKeysToFocus(keys);
    return 0;
  }
  std::string TextoTransaccion(const std::string& text, const std::string& /*key*/) override {
    return text;
  }

 private:
  Connection& db_;
};

// The demo's own window stands for the host's: closing the editor ends the demo.
class DemoParent : public ParentObject {
 public:
  explicit DemoParent(Form& editor) : editor_(editor) {}
  std::string Property(const std::string& name) override {
    throw RuntimeError(438, "Object doesn't support this property or method: " + name);
  }
  void Unload() override {
    editor_.Unload();
    QCoreApplication::quit();
  }

 private:
  Form& editor_;
};

void Click(frmXEL02& editor, const std::string& key) {
  if (!editor.tvVariables.Nodes().Contains(key)) {
    std::fprintf(stderr, "xel02-qt-demo: no node has the key %s\n", key.c_str());
    return;
  }
  Node node = editor.tvVariables.Nodes().Item(key);
  node.EnsureVisible();
  editor.tvVariables.UserClick(node);
}

// Pictures the dialog once the add command has opened it, then cancels it.
bool PictureOfTheAddDialog(QtUiBackend& ui, frmXEL02& editor, const QString& file) {
  if (!editor.Controles.AddAvailable()) {
    std::fprintf(stderr, "xel02-qt-demo: adding needs a class or the root clicked first\n");
    return false;
  }
  bool saved = false;
  QTimer::singleShot(0, [&] {
    saved = SaveScreenshot(ui, editor.Dialogo(), file);
    editor.Dialogo().cmdCancelar.PerformClick();
  });
  editor.Controles.ClickAdd();
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("XEL02");
  QCommandLineParser options;
  options.addHelpOption();
  QCommandLineOption storeOption("store", "The store file to open or create.", "FILE");
  QCommandLineOption clickOption("click", "The key of a node to click first.", "KEY");
  QCommandLineOption screenshotOption("screenshot", "Save a picture of the window and end.",
                                      "FILE");
  QCommandLineOption dialogOption("dialog-screenshot", "Save a picture of the add dialog and end.",
                                  "FILE");
  options.addOptions({storeOption, clickOption, screenshotOption, dialogOption});
  options.process(app);

  QTemporaryDir folder;
  QString storePath =
      options.isSet(storeOption) ? options.value(storeOption) : folder.filePath("xel02-demo.db");
  try {
    std::unique_ptr<Connection> db = OpenOrCreateDemoStore(storePath.toStdString());
    QtUiBackend ui;
    FormsRuntime runtime(ui);
    Publico publico{std::make_shared<DemoSession>(*db), std::make_shared<DemoUtility>(*db), ""};
    frmXEL02 editor(runtime, publico);
    editor.SetPadre(std::make_shared<DemoParent>(editor));
    editor.Show();
    if (options.isSet(clickOption)) {
      Click(editor, options.value(clickOption).toStdString());
    }
    if (options.isSet(screenshotOption) || options.isSet(dialogOption)) {
      QCoreApplication::processEvents();
      bool saved = !options.isSet(screenshotOption) ||
                   SaveScreenshot(ui, editor, options.value(screenshotOption));
      if (options.isSet(dialogOption)) {
        saved = PictureOfTheAddDialog(ui, editor, options.value(dialogOption)) && saved;
      }
      editor.Unload();
      return saved ? 0 : 1;
    }
    return QApplication::exec();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "xel02-qt-demo: %s\n", e.what());
    return 1;
  }
}
