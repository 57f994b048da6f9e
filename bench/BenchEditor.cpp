#include "bench/BenchEditor.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "host/HostServices.h"
#include "platform/OdbcConnection.h"
#include "platform/TreeView.h"
#include "store/Historial.h"
#include "store/Schema.h"
#include "store/Sql.h"

namespace xel::bench {

void NoScreen::ReportUnhandledError(long number, const std::string& description) {
  std::cerr << "unhandled error " << number << ": " << description << "\n";
}

namespace {

// The time the editor waits for a server varies with whatever else the machine does: it is taken
// over several runs.
constexpr double kServerMinimumSeconds = 3;

std::string PostgreSqlServer() {
  const char* server = std::getenv("XEL02_BENCH_PG");
  return server ? server : "";
}

// Has the server write out what it holds in memory now rather than while SQLite's commits wait for
// the disk. A user the server does not allow to is left to the server's own pace.
void CheckpointServer() {
  try {
    OpenConnection(PostgreSqlServer())->Execute("CHECKPOINT");
  } catch (const RuntimeError& e) {
    std::cerr << "The server was not checkpointed: " << e.Description() << "\n";
  }
}

}  // namespace

bool PostgreSqlNamed() {
  return !PostgreSqlServer().empty();
}

namespace {

std::string ShapeName(StoreShape shape) {
  return std::to_string(shape.classes) + "_" + std::to_string(shape.variables);
}

// A connection to the server's schema of that shape's store, of that kind.
std::unique_ptr<Connection> OpenServerStore(StoreShape shape, const std::string& server,
                                            const std::string& kind = "") {
  auto db = OpenConnection(server);
  const std::string schema = RequireIdentifier("xel02_bench_" + kind + ShapeName(shape));
  db->Execute("CREATE SCHEMA IF NOT EXISTS " + schema);
  db->Execute("SET search_path TO " + schema);
  DeclaraHistorialPropio(*db);  // as the xel02 program's sessions do
  return db;
}

}  // namespace

std::string PostgreSqlHost() {
  return OdbcAttribute(PostgreSqlServer(), "Server");
}

int PostgreSqlPort() {
  const std::string port = OdbcAttribute(PostgreSqlServer(), "Port");
  return port.empty() ? 5432 : std::stoi(port);
}

std::unique_ptr<Connection> OpenBenchStoreAt(StoreShape shape, const std::string& host, int port) {
  const std::string server = WithOdbcAttribute(
      WithOdbcAttribute(PostgreSqlServer(), "Server", host), "Port", std::to_string(port));
  auto db = OpenServerStore(shape, server);
  if (!HasSchema(*db)) {
    throw RuntimeError(err::DatabaseError, "the store " + ShapeName(shape) + " was not generated");
  }
  return db;
}

void ReadBothTables(Connection& db) {
  std::vector<std::string> values;
  auto read = [&](const std::string& text, const std::vector<std::string>& columns) {
    auto rows = db.Execute(text);
    for (; !rows->Eof(); rows->MoveNext()) {
      for (const auto& column : columns) {
        values.push_back(rows->Field(column).Text());
      }
    }
    rows->Close();
  };
  read("SELECT * FROM XEL_Clase_Variable",
       {"Cv_Cve_Clase_Variable", "Cv_Id", "Cv_Padre", "Cv_Descripcion"});
  read("SELECT * FROM XEL_Configuracion", {"Cv_Cve_Clase_Variable", "Cf_Variable"});
  benchmark::DoNotOptimize(values.data());
}

std::unique_ptr<Connection> OpenBenchStore(StoreShape shape, Backend backend,
                                           const std::string& kind) {
  std::unique_ptr<Connection> db;
  if (backend == Backend::Sqlite) {
    const std::string file = "xel02-bench-" + kind + std::to_string(shape.classes) + "-" +
                             std::to_string(shape.variables) + ".db";
    db = OpenConnection("sqlite:" + (std::filesystem::temp_directory_path() / file).string());
  } else {
    db = OpenServerStore(shape, PostgreSqlServer(), kind);
  }
  if (!HasSchema(*db)) {
    RunInTransaction(*db, [&] {
      CreateSchema(*db);
      GenerateStore(*db, shape);
    });
  }
  return db;
}

void GenerateEveryStore() {
  for (StoreShape shape : kStoreSizes) {
    OpenBenchStore(shape, Backend::Sqlite);
    if (PostgreSqlNamed()) {
      OpenBenchStore(shape, Backend::PostgreSql);
    }
  }
  if (PostgreSqlNamed()) {
    CheckpointServer();
  }
  sync();
}

void RegisterOnEachBackend(const std::string& name, void (*run)(benchmark::State&, Backend),
                           const std::function<void(benchmark::internal::Benchmark*)>& configure,
                           benchmark::IterationCount iterations) {
  auto add = [&](const std::string& fullName, Backend backend) {
    benchmark::internal::Benchmark* added =
        benchmark::RegisterBenchmark(fullName.c_str(), run, backend);
    configure(added);
    if (iterations > 0) {
      added->Iterations(iterations);
    } else if (backend == Backend::PostgreSql) {
      added->MinTime(kServerMinimumSeconds);
    }
    if (backend == Backend::PostgreSql) {
      added->UseRealTime();  // the server works in a process of its own
    }
  };
  add(name, Backend::Sqlite);
  if (PostgreSqlNamed()) {
    add(name + "/PostgreSql", Backend::PostgreSql);
  }
}

BenchEditor::BenchEditor(StoreShape shape, Backend backend)
    : BenchEditor(OpenBenchStore(shape, backend), ModoDeCarga::PorClase) {}

BenchEditor::BenchEditor(std::unique_ptr<Connection> db, ModoDeCarga modo) : db_(std::move(db)) {
  // Every question is answered OK; any other message is a fault of the run, so it is shown.
  auto session = std::make_shared<HostSession>(
      *db_,
      [](const std::string& prompt, long code, const std::string&, const std::string&) {
        if (code != MsgCode::OkCancelQuestion) {
          std::cerr << prompt << "\n";
        }
        return MsgCode::Ok;
      },
      "bench");
  publico_.sessionService = session;
  publico_.utilityService = std::make_shared<HostUtility>(*session, [](const std::string&) {});
  editor_ = std::make_unique<frmXEL02>(runtime_, publico_);
  editor_->SetModoDeCarga(modo);
  editor_->Show();
}

BenchEditor::~BenchEditor() = default;

void BenchEditor::Reload() {
  editor_->tvVariables.UserKeyUp(KeyCode::F5, 0);
}

}  // namespace xel::bench
