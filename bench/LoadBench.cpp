// The full tree load against the floor: both tables read with two plain SELECTs through the same
// connection into memory.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchEditor.h"

namespace xel::bench {
namespace {

constexpr StoreShape kSizes[] = {{1000, 10000}, {5000, 50000}, {10000, 100000}};

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

void BM_TwoSelectFloor(benchmark::State& state) {
  BenchEditor bench(kSizes[state.range(0)]);
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
BENCHMARK(BM_TwoSelectFloor)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_CargaArbol(benchmark::State& state) {
  BenchEditor bench(kSizes[state.range(0)]);
  for (auto _ : state) {
    bench.Reload();
  }
  state.counters["nodes"] = bench.Editor().tvVariables.Nodes().Count();
}
BENCHMARK(BM_CargaArbol)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace xel::bench
