// The benchmark program's entry: runs the registered benchmarks and prints
// their results as one table: CPU nanoseconds per iteration, per point or
// primitive for the scaling benchmarks, heap allocations and frees per
// iteration, and the framework frame against the hand-written one.
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kwBench {

void ReportHeapCounts(benchmark::State& state, const HeapCounts& before)
{
    const HeapCounts after = CurrentHeapCounts();
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(after.allocations - before.allocations),
                                                  benchmark::Counter::kAvgIterations);
    state.counters["frees"] = benchmark::Counter(static_cast<double>(after.frees - before.frees),
                                                 benchmark::Counter::kAvgIterations);
}

void BestOfFive(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kNanosecond)->Repetitions(5)->ReportAggregatesOnly(true);
    benchmark->ComputeStatistics("min", [](const std::vector<double>& values) {
        return *std::min_element(values.begin(), values.end());
    });
}

} // namespace kwBench

namespace {

const char* const kFrameName = "CurveTestFrame";
const char* const kHandWrittenFrameName = "HandWrittenCurveTestFrame";

struct Row {
    std::string name;
    std::string time; // CPU ns per iteration
    std::string perItem; // CPU ns per point or primitive
    std::string allocations;
    std::string frees;
    std::string ratio;
    double nanoseconds;
};

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

std::string Counter(const benchmark::BenchmarkReporter::Run& run, const char* name)
{
    const auto counter = run.counters.find(name);
    return counter != run.counters.end() ? Format("%.2f", counter->second.value) : std::string();
}

class TableReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& context) override
    {
        std::printf("%d CPUs at %.0f MHz; CPU time; frames: best of five runs\n\n", context.cpu_info.num_cpus,
                    context.cpu_info.cycles_per_second / 1e6);
        return true;
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            Add(run);
        }
    }

    void Finalize() override
    {
        const Row* frame = Find(kFrameName);
        const Row* handWritten = Find(kHandWrittenFrameName);
        if (frame != nullptr && handWritten != nullptr && handWritten->nanoseconds > 0.0) {
            Find(kFrameName)->ratio = Format("%.3f", frame->nanoseconds / handWritten->nanoseconds);
        }
        std::printf("%-32s %14s %10s %12s %12s %22s\n", "benchmark", "ns/iteration", "ns/item", "allocs/iter",
                    "frees/iter", "framework/hand-written");
        for (const Row& row : mRows) {
            std::printf("%-32s %14s %10s %12s %12s %22s\n", row.name.c_str(), row.time.c_str(),
                        row.perItem.c_str(), row.allocations.c_str(), row.frees.c_str(), row.ratio.c_str());
        }
        std::fflush(stdout);
    }

private:
    void Add(const Run& run)
    {
        const std::string family = run.run_name.function_name;
        const std::string name = run.run_name.args.empty() ? family : family + "/" + run.run_name.args;
        Row row{name, "", "", "", "", "", run.GetAdjustedCPUTime()};
        if (run.error_occurred) {
            row.time = "error: " + run.error_message;
        } else if (run.run_type == Run::RT_Iteration) {
            row.time = Format("%.1f", row.nanoseconds);
            if (run.complexity_n > 0) {
                row.perItem = Format("%.2f", row.nanoseconds / static_cast<double>(run.complexity_n));
            }
            row.allocations = Counter(run, "allocs");
            row.frees = Counter(run, "frees");
        } else if (run.aggregate_name == "min") {
            row.time = Format("%.1f", row.nanoseconds);
            row.allocations = Counter(run, "allocs");
            row.frees = Counter(run, "frees");
        } else if (run.report_big_o) {
            // The least-squares fit of time = coefficient * N over all sizes.
            row.name = family + " fit (N)";
            row.perItem = Format("%.2f", row.nanoseconds);
        } else if (run.report_rms) {
            row.name = family + " fit error (RMS)";
            row.perItem = Format("%.0f%%", 100.0 * row.nanoseconds);
        } else {
            return;
        }
        mRows.push_back(row);
    }

    Row* Find(const std::string& name)
    {
        for (Row& row : mRows) {
            if (row.name == name) {
                return &row;
            }
        }
        return nullptr;
    }

    std::vector<Row> mRows;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
