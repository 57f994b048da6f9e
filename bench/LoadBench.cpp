// The full tree load against the floor: both tables read with two plain SELECTs through the same
// connection into memory. On each backend: the load's one query per class costs a round trip to a
// server, which two SELECTs do not.

#include <benchmark/benchmark.h>

#include <utility>

#include "bench/BenchEditor.h"

namespace xel::bench {
namespace {

void BM_TwoSelectFloor(benchmark::State& state, Backend backend) {
  BenchEditor bench(kStoreSizes[state.range(0)], backend);
  for (auto _ : state) {
    ReadBothTables(bench.Db());
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
