// The tree load over a slow link: the PostgreSQL server behind a proxy of the benchmark's own that
// holds every chunk 2 ms in each direction (4 ms a round trip). The load per class, the load in two
// reads and the two-SELECT floor, on a store of 500 classes and on the 1k / 10k store. Measured
// only when XEL02_BENCH_PG names a server.

#include <benchmark/benchmark.h>

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

#include "bench/BenchEditor.h"
#include "bench/DelayingProxy.h"

namespace xel::bench {
namespace {

constexpr StoreShape kSlowLinkStores[] = {{500, 5000}, {1000, 10000}};
constexpr std::chrono::milliseconds kHold{2};

// The store of the benchmark's argument, generated when missing (straight to the server), then
// reached through the proxy.
std::unique_ptr<Connection> ThroughProxy(const benchmark::State& state,
                                         const DelayingProxy& proxy) {
  const StoreShape shape = kSlowLinkStores[state.range(0)];
  OpenBenchStore(shape, Backend::PostgreSql);
  return OpenBenchStoreAt(shape, "127.0.0.1", proxy.Port());
}

template <class Measure>
void OverTheLink(benchmark::State& state, Measure measure) {
  std::optional<DelayingProxy> proxy;
  try {
    proxy.emplace(PostgreSqlHost(), PostgreSqlPort(), kHold);
    measure(state, ThroughProxy(state, *proxy));
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

void Load(benchmark::State& state, ModoDeCarga modo) {
  OverTheLink(state, [modo](benchmark::State& s, std::unique_ptr<Connection> db) {
    BenchEditor bench(std::move(db), modo);
    for (auto _ : s) {
      bench.Reload();
    }
    s.counters["nodes"] = bench.Tree().Nodes().Count();
  });
}

void BM_SlowLinkPerClass(benchmark::State& state) {
  Load(state, ModoDeCarga::PorClase);
}

void BM_SlowLinkBulk(benchmark::State& state) {
  Load(state, ModoDeCarga::EnBloque);
}

void BM_SlowLinkFloor(benchmark::State& state) {
  OverTheLink(state, [](benchmark::State& s, std::unique_ptr<Connection> db) {
    for (auto _ : s) {
      ReadBothTables(*db);
    }
  });
}

// A load per class on the larger store takes seconds; each measure runs a fixed, small number of
// times so that the whole stays within a minute or two.
[[maybe_unused]] const bool kRegistered = [] {
  if (!PostgreSqlNamed()) {
    return false;
  }
  struct Measure {
    const char* name;
    void (*run)(benchmark::State&);
    int iterations;
  };
  for (const Measure& m : {Measure{"BM_SlowLinkPerClass", &BM_SlowLinkPerClass, 2},
                           Measure{"BM_SlowLinkBulk", &BM_SlowLinkBulk, 10},
                           Measure{"BM_SlowLinkFloor", &BM_SlowLinkFloor, 10}}) {
    benchmark::RegisterBenchmark(m.name, m.run)
        ->DenseRange(0, 1)
        ->Iterations(m.iterations)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace xel::bench
