// The process watch reads the whole process list on every timer cycle: what one reading of /proc costs
// (read-only; nothing is ended).
#include <benchmark/benchmark.h>

#include "platform/Processes.h"

namespace scrivano {
namespace {

void ReadProcessListBench(benchmark::State& state) {
  std::vector<platform::ProcessInfo> processes;
  for (auto _ : state) {
    platform::ReadProcessList(processes);
    benchmark::DoNotOptimize(processes.data());
  }
  state.counters["processes"] = static_cast<double>(processes.size());
}
BENCHMARK(ReadProcessListBench)->Unit(benchmark::kMillisecond);

void ReadAvailableMemoryBench(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(platform::ReadAvailableMemory());
}
BENCHMARK(ReadAvailableMemoryBench)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace scrivano
