// The benchmarks run once every store they read has been generated and written out.

#include <benchmark/benchmark.h>

#include <exception>
#include <iostream>

#include "bench/BenchEditor.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  try {
    xel::bench::GenerateEveryStore();
  } catch (const std::exception& e) {
    std::cerr << "The benchmarks' stores could not be made: " << e.what() << "\n";
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
