// The cost of one Skidwell frame, timed in a plain loop: the curve test's
// steps, update and drawing, as the state machine runs them in a frame, into
// the no-op OpenGL. The bench preset builds it natively, the web preset as
// WebAssembly (run under node); scripts/bench.sh prints both and their ratio.
#include "application_globals.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "test_curve_state.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// A few hundred frames: every list of the drawing store has reached its size.
const int kWarmUpFrames = 300;
const int kFramesPerRun = 3000;
const int kRuns = 7;

double RunNanosecondsPerFrame()
{
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFramesPerRun; ++frame) {
        Kelpwright::Game::UpdateCurrentGameState();
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / kFramesPerRun;
}

} // namespace

int main()
{
    // No window: the title that OnOpen sets goes nowhere.
    Kelpwright::Game::GameApplication application;
    TestCurveState state;
    gGameApplication = &application;
    gApplication = &application;
    Kelpwright::Game::ChangeToGameState(state.GetIdentifier());
    for (int frame = 0; frame < kWarmUpFrames; ++frame) {
        Kelpwright::Game::UpdateCurrentGameState();
    }
    // The best of several runs: the one least disturbed by the rest of the machine.
    double best = RunNanosecondsPerFrame();
    for (int run = 1; run < kRuns; ++run) {
        best = std::min(best, RunNanosecondsPerFrame());
    }
    std::printf("ns per frame: %.1f\n", best);
    return 0;
}
