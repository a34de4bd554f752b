// Measurement support shared by the benchmark and soak programs: heap
// operations counted by the program's own global operator new/delete, and a
// digest that the no-op OpenGL of the benchmarks can fold every call into, so
// that two ways of drawing a frame can be shown to send the same calls.
#pragma once

#include <cstddef>
#include <cstdint>

namespace benchmark {
class State;
namespace internal {
class Benchmark;
}
} // namespace benchmark

namespace kwBench {

// Calls of the replaced operator new and operator delete since start-up.
struct HeapCounts {
    std::size_t allocations;
    std::size_t frees;
};
HeapCounts CurrentHeapCounts();

// Between these two calls every OpenGL call, with each argument's bits, goes
// into a 64-bit digest; outside them the entry points do nothing.
void BeginGlDigest();
std::uint64_t EndGlDigest();

// Sets the "allocs" and "frees" counters of a benchmark (per iteration) from
// the heap counts taken before its loop.
void ReportHeapCounts(benchmark::State& state, const HeapCounts& before);

// Nanoseconds, five repetitions, reported only as aggregates, "min" among them.
void BestOfFive(benchmark::internal::Benchmark* benchmark);

} // namespace kwBench
