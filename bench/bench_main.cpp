// The module's benchmarks. Without arguments beyond Google Benchmark's own, it
// times every workload. With "--instructions NAME SIZE STEPS" it runs one
// workload for callgrind: collection is switched on for the measured steps
// only (run under valgrind --tool=callgrind --collect-atstart=no).
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "workloads.h"

namespace {

using varolen::bench::Workload;
using varolen::bench::WorkloadKind;

void Measure(benchmark::State& state, const WorkloadKind* kind) {
  const auto workload = kind->make(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    workload->Step();
    if (workload->Restarts()) {
      state.PauseTiming();
      workload->Restart();
      state.ResumeTiming();
    }
  }
}

int CountInstructions(const char* name, int size, long steps) {
  const WorkloadKind* kind = varolen::bench::FindWorkload(name);
  if (kind == nullptr || steps <= 0) {
    std::fprintf(stderr, "no workload \"%s\", or no steps\n", name);
    return 2;
  }
  const auto workload = kind->make(size);
  for (long step = 0; step < steps; ++step) {
    CALLGRIND_TOGGLE_COLLECT;
    workload->Step();
    CALLGRIND_TOGGLE_COLLECT;
    if (workload->Restarts()) workload->Restart();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--instructions") == 0)
    return CountInstructions(argv[2], std::atoi(argv[3]), std::atol(argv[4]));

  for (const WorkloadKind& kind : varolen::bench::WorkloadKinds()) {
    auto* registered = benchmark::RegisterBenchmark(kind.name, Measure, &kind);
    for (int size : kind.sizes) registered->Arg(size);
    registered->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
