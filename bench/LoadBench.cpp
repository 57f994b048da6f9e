// The full tree load against the floor: both tables read with two plain SELECTs through the same
// connection into memory. On each backend: the load's one query per class costs a round trip to a
// server, which two SELECTs do not.

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "bench/BenchEditor.h"

namespace xel::bench {
namespace {

void ReadTable(Connection& db, const std::string& text, const std::vector<std::string>& columns,
               std::vector<std::string>& into) {
  auto rows = db.Execute(text);
  while (!rows->Eof()) {
    for (const auto& column : columns) {
      into.push_back(rows->Field(column).Text());
    }
    rows->MoveNext();
  }
  rows->Close();
}

void BM_TwoSelectFloor(benchmark::State& state, Backend backend) {
  BenchEditor bench(kStoreSizes[state.range(0)], backend);
  for (auto _ : state) {
    std::vector<std::string> values;
    ReadTable(bench.Db(), "SELECT * FROM XEL_Clase_Variable",
              {"Cv_Cve_Clase_Variable", "Cv_Id", "Cv_Padre", "Cv_Descripcion"}, values);
    ReadTable(bench.Db(), "SELECT * FROM XEL_Configuracion",
              {"Cv_Cve_Clase_Variable", "Cf_Variable"}, values);
    benchmark::DoNotOptimize(values.data());
  }
  state.counters["nodes"] = bench.Editor().tvVariables.Nodes().Count();
}

void BM_CargaArbol(benchmark::State& state, Backend backend) {
  BenchEditor bench(kStoreSizes[state.range(0)], backend);
  for (auto _ : state) {
    bench.Reload();
  }
  state.counters["nodes"] = bench.Editor().tvVariables.Nodes().Count();
}

[[maybe_unused]] const bool kRegistered = [] {
  for (auto [name, run] : {std::pair{"BM_TwoSelectFloor", &BM_TwoSelectFloor},
                           std::pair{"BM_CargaArbol", &BM_CargaArbol}}) {
    RegisterOnEachBackend(name, run, [](benchmark::internal::Benchmark* b) {
      b->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
    });
  }
  return true;
}();

}  // namespace
}  // namespace xel::bench
