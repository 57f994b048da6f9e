// Work on a loaded tree: moving a 1,000-node sub-tree with "-", checking the whole tree from its
// root, saving the largest tree, and the memory a loaded tree takes.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include "bench/BenchEditor.h"

namespace xel::bench {
namespace {

// A tree of `total` nodes under RAIZ in classes of 100 entries, plus, second of two siblings
// under RAIZ, a class whose sub-tree holds 1,000 nodes.
void BuildTree(TreeNodes& nodes, long total) {
  nodes.Clear();
  nodes.Add({}, tvw::Last, "K0", "RAIZ", 2);
  nodes.Add("K0", tvw::Child, "KMOVIDO", "Movido", "General").SetTag("MOVIDO");
  for (int i = 0; i < 10; ++i) {
    std::string clase = "KM" + std::to_string(i);
    nodes.Add("KMOVIDO", tvw::Child, clase, "Sub " + std::to_string(i), "General").SetTag(clase);
    for (int j = 0; j < 99; ++j) {
      std::string key = "VM" + std::to_string(i) + "_" + std::to_string(j);
      nodes.Add(clase, tvw::Child, "K" + key, key, "Variable").SetTag(key);
    }
  }
  for (long n = 0; nodes.Count() < total; ++n) {
    std::string clase = "C" + std::to_string(n);
    nodes.Add("K0", tvw::Child, "K" + clase, "Clase " + std::to_string(n), "General").SetTag(clase);
    for (int j = 0; j < 99 && nodes.Count() < total; ++j) {
      std::string key = "V" + std::to_string(n) + "_" + std::to_string(j);
      nodes.Add("K" + clase, tvw::Child, "K" + key, key, "Variable").SetTag(key);
    }
  }
}

// "-" then "+" on the 1,000-node class: two key moves, the tree back as it was.
void BM_KeyMoveOf1000Nodes(benchmark::State& state) {
  BenchEditor bench({1, 0});
  TreeView& tree = bench.Tree();
  BuildTree(tree.Nodes(), state.range(0));
  for (auto _ : state) {
    tree.Nodes().Item("KMOVIDO").SetSelected(true);
    tree.UserKeyPress('-');
    tree.UserKeyPress('+');
  }
  state.counters["nodes"] = tree.Nodes().Count();
  state.counters["moves"] = benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_KeyMoveOf1000Nodes)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

constexpr StoreShape kLargest = kStoreSizes[2];

void BM_CheckFromRoot(benchmark::State& state) {
  BenchEditor bench(kLargest);
  TreeView& tree = bench.Tree();
  bool checked = false;
  for (auto _ : state) {
    tree.UserCheck(tree.Nodes().Item(1L), checked = !checked);
  }
  state.counters["nodes"] = tree.Nodes().Count();
}
BENCHMARK(BM_CheckFromRoot)->Unit(benchmark::kMillisecond);

// The save writes every class in one transaction, then reloads the tree from the store.
void BM_SaveLargest(benchmark::State& state, Backend backend) {
  BenchEditor bench(kLargest, backend);
  for (auto _ : state) {
    dynamic_cast<FlatButton&>(*bench.Editor().FindControl("cmdGrabar")).PerformClick();
  }
  state.counters["nodes"] = bench.Tree().Nodes().Count();
}
[[maybe_unused]] const bool kSaveRegistered = [] {
  RegisterOnEachBackend(
      "BM_SaveLargest", &BM_SaveLargest,
      [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond); }, 3);
  return true;
}();

// Heap bytes per node of the loaded largest tree, its texts included.
void BM_MemoryOfLoadedTree(benchmark::State& state) {
  BenchEditor bench(kLargest);
  TreeNodes& nodes = bench.Tree().Nodes();
  double perNode = 0;
  for (auto _ : state) {
    nodes.Clear();
    size_t before = mallinfo2().uordblks;
    bench.Reload();
    size_t after = mallinfo2().uordblks;
    perNode = static_cast<double>(after - before) / static_cast<double>(nodes.Count());
  }
  state.counters["bytes_per_node"] = perNode;
  state.counters["nodes"] = nodes.Count();
}
BENCHMARK(BM_MemoryOfLoadedTree)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace xel::bench
