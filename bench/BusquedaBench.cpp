// One search of the largest store, as F3 in the tree runs it: the store's one query, the walk of
// the tree to the next match and the click on it. The text matches one variable only, already
// selected, so the walk goes once round the whole tree to come back to it: its worst case.

#include <benchmark/benchmark.h>

#include "bench/BenchEditor.h"
#include "store/Schema.h"

namespace xel::bench {
namespace {

constexpr int kF3 = 114;

void BM_SearchLargest(benchmark::State& state, Backend backend) {
  BenchEditor bench(kStoreSizes[2], backend);
  CreateSchema(bench.Db());  // a store generated before the search gets the store's function
  frmXEL02& editor = bench.Editor();
  dynamic_cast<TextBox&>(*editor.FindControl("txtBuscar")).SetText("EJEMPLO 99998");
  bench.Tree().UserKeyDown(kF3, 0);
  if (Node found = bench.Tree().SelectedItem(); !found || found.Key() != "KCORREO_99998") {
    state.SkipWithError("the search did not find the one variable it looks for");
    return;
  }
  for (auto _ : state) {
    bench.Tree().UserKeyDown(kF3, 0);
  }
  state.counters["nodes"] = bench.Tree().Nodes().Count();
}

[[maybe_unused]] const bool kRegistered = [] {
  RegisterOnEachBackend(
      "BM_SearchLargest", &BM_SearchLargest,
      [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond); });
  return true;
}();

}  // namespace
}  // namespace xel::bench
