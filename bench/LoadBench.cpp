// The full tree load against the floor: both tables read with two plain SELECTs through the same
// connection into memory. On each backend: the load's one query per class costs a round trip to a
// server, which two SELECTs do not. The reload that keeps 1,000 open classes and a selection
// against the plain reload of the largest store.

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
  state.counters["nodes"] = bench.Tree().Nodes().Count();
}

void BM_CargaArbol(benchmark::State& state, Backend backend) {
  BenchEditor bench(kStoreSizes[state.range(0)], backend);
  for (auto _ : state) {
    bench.Reload();
  }
  state.counters["nodes"] = bench.Tree().Nodes().Count();
}

// The first 1,000 classes in tree order are open and the deepest-lying of them selected, as a user
// who browsed the store leaves them; each reload opens them again and selects that node.
void BM_CargaArbolConMilAbiertos(benchmark::State& state) {
  BenchEditor bench(kStoreSizes[2]);
  TreeNodes& nodes = bench.Tree().Nodes();
  long abiertos = 0;
  for (long i = 1; i <= nodes.Count() && abiertos < 1000; ++i) {
    Node node = nodes.Item(i);
    if (node.Text() != node.Tag()) {
      node.SetExpanded(true);
      nodes.SetSelectedItem(node);
      ++abiertos;
    }
  }
  for (auto _ : state) {
    bench.Reload();
  }
  state.counters["open"] = static_cast<double>(abiertos);
}
BENCHMARK(BM_CargaArbolConMilAbiertos)->Unit(benchmark::kMillisecond);

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
