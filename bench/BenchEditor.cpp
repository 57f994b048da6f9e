#include "bench/BenchEditor.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "host/HostServices.h"
#include "platform/TreeView.h"
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

std::unique_ptr<Connection> OpenBenchStore(StoreShape shape, Backend backend,
                                           const std::string& kind) {
  const std::string classes = std::to_string(shape.classes);
  const std::string variables = std::to_string(shape.variables);
  std::unique_ptr<Connection> db;
  if (backend == Backend::Sqlite) {
    const std::string file = "xel02-bench-" + kind + classes + "-" + variables + ".db";
    db = OpenConnection("sqlite:" + (std::filesystem::temp_directory_path() / file).string());
  } else {
    db = OpenConnection(PostgreSqlServer());
    const std::string schema = RequireIdentifier("xel02_bench_" + kind + classes + "_" + variables);
    db->Execute("CREATE SCHEMA IF NOT EXISTS " + schema);
    db->Execute("SET search_path TO " + schema);
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
    : BenchEditor(OpenBenchStore(shape, backend)) {}

BenchEditor::BenchEditor(std::unique_ptr<Connection> db) : db_(std::move(db)) {
  // Every question is answered OK; any other message is a fault of the run, so it is shown.
  auto session = std::make_shared<HostSession>(
      *db_,
      [](const std::string& prompt, long code, const std::string&) {
        if (code != MsgCode::OkCancelQuestion) {
          std::cerr << prompt << "\n";
        }
        return MsgCode::Ok;
      },
      "bench");
  publico_.sessionService = session;
  publico_.utilityService = std::make_shared<HostUtility>(*session, [](const std::string&) {});
  editor_ = std::make_unique<frmXEL02>(runtime_, publico_);
  editor_->Show();
}

BenchEditor::~BenchEditor() = default;

void BenchEditor::Reload() {
  editor_->tvVariables.UserKeyUp(KeyCode::F5, 0);
}

}  // namespace xel::bench
