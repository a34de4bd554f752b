// Benchmarks of how the curve mathematics and the debug-drawing store scale:
// BuildFromPoints and SamplePoints for 8 to 65,536 points and a simulation
// step of the store (clear, add, render into the no-op OpenGL) for 8 to 65,536
// primitives. The cost per point or primitive should stay flat (O(N)), and
// after the first round nothing is allocated.
#include "bench_support.h"

#include "math/bezier_curve.h"
#include "visualization/visualization.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using Skidwell::BezierCurve;
using Skidwell::Vector3;

namespace {

const std::int64_t kFewest = 8;
const std::int64_t kMost = 65536;

// count points on a wavy closed loop in the plane y = 0.
std::vector<Vector3> LoopPoints(std::int64_t count)
{
    std::vector<Vector3> points;
    for (std::int64_t i = 0; i < count; ++i) {
        const double angle = 6.283185307179586 * static_cast<double>(i) / static_cast<double>(count);
        const double radius = 1.0 + 0.25 * std::sin(7.0 * angle);
        points.push_back(Vector3(static_cast<float>(radius * std::cos(angle)), 0.0f,
                                 static_cast<float>(radius * std::sin(angle))));
    }
    return points;
}

void BuildFromPoints(benchmark::State& state)
{
    const std::vector<Vector3> points = LoopPoints(state.range(0));
    BezierCurve curve;
    curve.BuildFromPoints(points, true);
    const kwBench::HeapCounts before = kwBench::CurrentHeapCounts();
    for (auto _ : state) {
        curve.BuildFromPoints(points, true);
        benchmark::ClobberMemory();
    }
    kwBench::ReportHeapCounts(state, before);
    state.SetComplexityN(state.range(0));
}

// An open curve of N / 8 segments, eight samples each: N points.
void SamplePoints(benchmark::State& state)
{
    const size_t kPointsPerSegment = 8;
    BezierCurve curve;
    curve.BuildFromPoints(LoopPoints(state.range(0) / 8 + 1), false);
    std::vector<Vector3> samples;
    curve.SamplePoints(samples, kPointsPerSegment);
    const kwBench::HeapCounts before = kwBench::CurrentHeapCounts();
    for (auto _ : state) {
        curve.SamplePoints(samples, kPointsPerSegment);
        benchmark::ClobberMemory();
    }
    kwBench::ReportHeapCounts(state, before);
    state.SetComplexityN(state.range(0));
}

// One step of a store in the curve test's mix: out of every eight primitives
// five circles and three lines.
void FillStore(Skidwell::Visualization& store, const std::vector<Vector3>& centers)
{
    store.ClearTemporaryPrimitives();
    for (size_t i = 0; i < centers.size(); ++i) {
        const Vector3& center = centers[i];
        if (i % 8 < 5) {
            store.AddCircle(center, 0.05f, 0xFF00FF00, true);
        } else {
            store.AddLine(center, center + Vector3(0.5f, 0.0f, 0.0f), 0xFFFF0000);
        }
    }
}

void DebugDrawStore(benchmark::State& state)
{
    const std::vector<Vector3> centers = LoopPoints(state.range(0));
    // Two steps of warm-up: the second clear is the first with point lists to keep.
    Skidwell::Visualization store;
    for (int step = 0; step < 2; ++step) {
        FillStore(store, centers);
        store.Render();
    }
    const kwBench::HeapCounts before = kwBench::CurrentHeapCounts();
    for (auto _ : state) {
        FillStore(store, centers);
        store.Render();
    }
    kwBench::ReportHeapCounts(state, before);
    state.SetComplexityN(state.range(0));
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kNanosecond)
        ->RangeMultiplier(4)
        ->Range(kFewest, kMost)
        ->Complexity(benchmark::oN);
}

} // namespace

BENCHMARK(BuildFromPoints)->Apply(Sizes);
BENCHMARK(SamplePoints)->Apply(Sizes);
BENCHMARK(DebugDrawStore)->Apply(Sizes);
