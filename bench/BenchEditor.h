#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "bench/StoreGenerator.h"
#include "component/HostServices.h"
#include "editor/frmXEL02.h"
#include "platform/forms/Forms.h"

namespace xel::bench {

// A screen that shows nothing: the benchmarks measure the editor's own work.
class NoScreen : public UiBackend {
 public:
  void ShowModeless(Form&) override {}
  void ShowModal(Form& form) override { form.Hide(); }
  void Hide(Form&) override {}
  void Unloaded(Form&) override {}
  void DoEvents() override {}
  void SetMousePointer(int) override {}
  void ReportUnhandledError(long number, const std::string& description) override;
};

// The generated stores the benchmarks measure on, smallest first.
inline constexpr StoreShape kStoreSizes[] = {{1000, 10000}, {5000, 50000}, {10000, 100000}};

// Where the benchmarks' stores live: SQLite files, or a PostgreSQL database reached through ODBC,
// named by XEL02_BENCH_PG ("odbc:..."), as the host's server would be.
enum class Backend { Sqlite, PostgreSql };

// Whether XEL02_BENCH_PG names a server to measure on.
bool PostgreSqlNamed();

// The generated store of a shape on a backend, made once and kept: a file in the temporary folder
// between runs, a schema of its own in the server's database for the server's life. A store whose
// generation was cut short holds nothing and is made again.
// `kind` names stores of another kind (the history's, "history_"), made the same way.
std::unique_ptr<Connection> OpenBenchStore(StoreShape shape, Backend backend,
                                           const std::string& kind = "");
// The generated store of a shape on the PostgreSQL server, reached at another host and port (a
// proxy's); the store must have been generated.
std::unique_ptr<Connection> OpenBenchStoreAt(StoreShape shape, const std::string& host, int port);
// The server XEL02_BENCH_PG names: its host and port.
std::string PostgreSqlHost();
int PostgreSqlPort();

// Both tables read with two plain SELECTs into memory: the floor of any load.
void ReadBothTables(Connection& db);

// Makes every store of kStoreSizes that is missing, on every backend of this run, and has the
// system write everything out, so that no measurement shares the disk with a generation.
void GenerateEveryStore();

// Registers a benchmark of the store's work on SQLite under `name`, and, when XEL02_BENCH_PG names
// a server, on PostgreSQL under name + "/PostgreSql", timed by the clock on the wall; `configure`
// sets each one's arguments and units. A number of iterations, when given, holds for both;
// otherwise the library decides, over several seconds on the server.
void RegisterOnEachBackend(const std::string& name, void (*run)(benchmark::State&, Backend),
                           const std::function<void(benchmark::internal::Benchmark*)>& configure,
                           benchmark::IterationCount iterations = 0);

// A generated store of the given shape with the editor window open on it through host services
// that answer every question with OK.
class BenchEditor {
 public:
  explicit BenchEditor(StoreShape shape, Backend backend = Backend::Sqlite);
  // On a store already open, reading its tree the way `modo` says.
  BenchEditor(std::unique_ptr<Connection> db, ModoDeCarga modo);
  ~BenchEditor();

  Connection& Db() { return *db_; }
  frmXEL02& Editor() { return *editor_; }
  // The window's tree, found by name as the screen finds it.
  TreeView& Tree() { return dynamic_cast<TreeView&>(*editor_->FindControl("tvVariables")); }
  void Reload();  // F5 in the tree

 private:
  std::unique_ptr<Connection> db_;
  NoScreen screen_;
  FormsRuntime runtime_{screen_};
  Publico publico_;
  std::unique_ptr<frmXEL02> editor_;
};

}  // namespace xel::bench
