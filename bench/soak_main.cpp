// The memory soak: Skidwell's curve test state runs in a real window for a
// number of frames (the first argument, one million by default) and the heap
// in use (glibc's mallinfo2(): uordblks in the arenas plus hblkhd in chunks
// mapped on their own), the resident memory (/proc/self/statm)
// and the calls of operator new and delete are taken once the warm-up frames
// have run, after every tenth of the run and at the last frame. Heap and
// resident memory are in bytes; the call counts are totals since start-up.
// Linux only (glibc, /proc).
#include "bench_support.h"

#include "application/kw_realtime_application.h"
#include "application_globals.h"
#include "game/kw_game_application.h"
#include "test_curve_state.h"

#include <GL/gl.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const unsigned long kDefaultFrames = 1000000;
const unsigned long kMostWarmUpFrames = 1000;

struct MemorySample {
    unsigned long frame;
    std::size_t arenas; // uordblks: in use in the heap's arenas
    std::size_t mapped; // hblkhd: in use in chunks mapped on their own
    std::size_t resident;
    kwBench::HeapCounts heapCounts;
};

// Read with plain system calls: stdio would allocate a buffer on the heap it measures.
std::size_t ResidentBytes()
{
    char text[128] = {};
    const int file = open("/proc/self/statm", O_RDONLY);
    if (file < 0) {
        return 0;
    }
    const ssize_t length = read(file, text, sizeof(text) - 1);
    close(file);
    unsigned long sizePages = 0;
    unsigned long residentPages = 0;
    if (length <= 0 || std::sscanf(text, "%lu %lu", &sizePages, &residentPages) != 2) {
        return 0;
    }
    return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The OpenGL driver finishes its work first: a software renderer holds heap
// memory for a frame it is still drawing, which is not growth.
MemorySample Sample(unsigned long frame)
{
    glFinish();
    const struct mallinfo2 heap = mallinfo2();
    return MemorySample{frame, heap.uordblks, heap.hblkhd, ResidentBytes(), kwBench::CurrentHeapCounts()};
}

// NOTE: glibc serves a large request from a mapping of its own until a freed
// mapping raises its threshold; a buffer the driver reallocates then moves from
// hblkhd to uordblks without any growth, so only their sum tells.
std::size_t HeapInUse(const MemorySample& sample) { return sample.arenas + sample.mapped; }

void PrintSample(const char* label, const MemorySample& sample)
{
    std::printf("%-10s %10lu %12zu %12zu %12zu %12zu %14zu %14zu\n", label, sample.frame, sample.arenas,
                sample.mapped, HeapInUse(sample), sample.resident, sample.heapCounts.allocations,
                sample.heapCounts.frees);
    std::fflush(stdout);
}

// The program's own state with a frame counter: it samples after the warm-up,
// after every tenth of the run and at the last frame, and then closes the
// application.
class SoakState : public TestCurveState {
public:
    SoakState(unsigned long frames, unsigned long warmUpFrames)
        : mFrames(frames)
        , mWarmUpFrames(warmUpFrames)
        , mFramesRun(0)
        , mStart{}
        , mEnd{}
    {
    }

    void OnPostRender() override
    {
        ++mFramesRun;
        if (mFramesRun == mWarmUpFrames) {
            mStart = Sample(mFramesRun);
            PrintSample("warm-up", mStart);
        } else if (mFramesRun == mFrames) {
            mEnd = Sample(mFramesRun);
            PrintSample("end", mEnd);
            gApplication->Close();
        } else if (mFramesRun > mWarmUpFrames && mFramesRun % (mFrames / 10) == 0) {
            PrintSample("", Sample(mFramesRun));
        }
    }

    unsigned long FramesRun() const { return mFramesRun; }
    const MemorySample& Start() const { return mStart; }
    const MemorySample& End() const { return mEnd; }

private:
    unsigned long mFrames;
    unsigned long mWarmUpFrames;
    unsigned long mFramesRun;
    MemorySample mStart;
    MemorySample mEnd;
};

long long Growth(std::size_t from, std::size_t to)
{
    return static_cast<long long>(to) - static_cast<long long>(from);
}

} // namespace

int main(int argc, char* argv[])
{
    const unsigned long frames = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : kDefaultFrames;
    if (frames < 2) {
        std::fprintf(stderr, "usage: %s [FRAMES]   (at least 2 frames)\n", argv[0]);
        return 2;
    }
    const unsigned long warmUpFrames = std::min(kMostWarmUpFrames, frames / 2);

    // Printed before the run, so that standard output's buffer exists before the warm-up ends.
    std::printf("%-10s %10s %12s %12s %12s %12s %14s %14s\n", "sample", "frame", "uordblks", "hblkhd",
                "heap in use", "resident", "operator new", "operator delete");
    std::fflush(stdout);

    SoakState state(frames, warmUpFrames);
    Kelpwright::Game::GameApplication application;
    gGameApplication = &application;
    gApplication = &application;
    application.RunGame(state.GetIdentifier());

    if (state.FramesRun() < frames) {
        std::printf("The window was closed after %lu of %lu frames; nothing to compare.\n", state.FramesRun(),
                    frames);
        return 1;
    }
    const MemorySample& start = state.Start();
    const MemorySample& end = state.End();
    std::printf(
        "Growth from frame %lu to frame %lu: heap in use %lld bytes (uordblks %lld, hblkhd %lld), resident "
        "memory %lld bytes, operator new calls %lld, operator delete calls %lld\n",
        start.frame, end.frame, Growth(HeapInUse(start), HeapInUse(end)), Growth(start.arenas, end.arenas),
        Growth(start.mapped, end.mapped), Growth(start.resident, end.resident),
        Growth(start.heapCounts.allocations, end.heapCounts.allocations),
        Growth(start.heapCounts.frees, end.heapCounts.frees));
    return HeapInUse(end) > HeapInUse(start) ? 1 : 0;
}
