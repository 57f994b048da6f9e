#include "bench/BenchEditor.h"

#include <iostream>

#include "host/StoreLookup.h"
#include "platform/TreeView.h"
#include "store/Schema.h"

namespace xel::bench {

void NoScreen::ReportUnhandledError(long number, const std::string& description) {
  std::cerr << "unhandled error " << number << ": " << description << "\n";
}

namespace {
class OkSession : public SessionService {
 public:
  explicit OkSession(Connection& db) : db_(db) {}
  Connection& Conexion() override { return db_; }
  long Mensaje(const std::string& prompt, long code, const std::string&, long, const std::string&,
               const std::string& id) override {
    if (code != MsgCode::OkCancelQuestion) {
      std::cerr << id << ": " << prompt << "\n";
    }
    return MsgCode::Ok;
  }

 private:
  Connection& db_;
};

class StoreUtility : public UtilityService {
 public:
  explicit StoreUtility(Connection& db) : db_(db) {}
  std::string BuscarCampo(const std::string& table, const std::string& column,
                          const std::string& value, const std::string& result, long,
                          const std::string&, const std::string&, const std::string&) override {
    return BuscarCampoEnStore(db_, table, column, value, result);
  }
  long EnviarTeclas(const std::string&, long) override { return 0; }
  std::string TextoTransaccion(const std::string& text, const std::string&) override {
    return text;
  }

 private:
  Connection& db_;
};
}  // namespace

BenchEditor::BenchEditor(StoreShape shape)
    : path_(std::filesystem::temp_directory_path() /
            ("xel02-bench-" + std::to_string(shape.classes) + "-" +
             std::to_string(shape.variables) + ".db")) {
  bool fresh = !std::filesystem::exists(path_);
  db_ = OpenConnection("sqlite:" + path_.string());
  if (fresh) {
    CreateSchema(*db_);
    GenerateStore(*db_, shape);
  }
  publico_.sessionService = std::make_shared<OkSession>(*db_);
  publico_.utilityService = std::make_shared<StoreUtility>(*db_);
  editor_ = std::make_unique<frmXEL02>(runtime_, publico_);
  editor_->Show();
}

BenchEditor::~BenchEditor() = default;

void BenchEditor::Reload() {
  editor_->tvVariables.UserKeyUp(KeyCode::F5, 0);
}

}  // namespace xel::bench
