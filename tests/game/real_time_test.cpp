// Real time without a window: the frame clock replaced by a scripted one, the run's frame
// measurement and cap, and the game machine's steps from measured frame times.
#include "application/implementation/kwi_frame_timing.h"
#include "application/kw_frame_clock.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Kelpwright::Game;
using kwImplementation::GetFrameTiming;

namespace {

// Time stands still until a wait moves it on; every read and wait is counted.
struct ScriptedClock : Kelpwright::Application::FrameClockInterface {
    double NowSeconds() override
    {
        ++reads;
        return now;
    }
    void WaitUntil(double seconds) override
    {
        waits.push_back(seconds);
        now = seconds;
    }
    double now = 100.0;
    int reads = 0;
    std::vector<double> waits;
};

struct CountingState : GameStateInterface {
    CountingState()
        : GameStateInterface(7)
    {
    }
    void OnSimulate() override { ++steps; }
    void OnUpdate(float deltaTime) override { updates.push_back(deltaTime); }
    int steps = 0;
    std::vector<float> updates;
};

class RealTime : public testing::Test {
protected:
    void SetUp() override
    {
        Kelpwright::Application::SetFrameClock(&clock);
        // A fresh machine, with no time accumulated by earlier tests, holding only this state.
        kwImplementation::GetGameStateMachine() = kwImplementation::GameStateMachine();
        AddGameState(&state);
        ChangeToGameState(7);
        kwImplementation::ResetFrameTiming();
    }
    void TearDown() override
    {
        ChangeToGameState(kInvalidGameState);
        GetFrameTiming() = kwImplementation::FrameTiming();
        Kelpwright::Application::SetFrameClock(nullptr);
    }

    // Steps taken by one frame of the given length.
    int Steps(float frameTime)
    {
        const int before = state.steps;
        UpdateCurrentGameState(frameTime);
        return state.steps - before;
    }

    ScriptedClock clock;
    CountingState state;
};

} // namespace

TEST_F(RealTime, MeasuredFramesDriveTheSteps)
{
    const struct {
        float frameTime;
        int steps;
    } kFrames[] = {
        {0.035f, 3}, // 0.005 left
        {0.004f, 0}, // 0.009: not yet a step
        {0.002f, 1}, // 0.011
        {0.0f, 0}, // a frame too quick to measure
        {-1.0f, 0}, // never backwards
        {0.5f, 5}, // a stall costs five steps ...
        {0.0f, 0}, // ... and nothing is left over to catch up on
        {0.02f, 2}, // 0.021
    };
    for (const auto& frame : kFrames) {
        SCOPED_TRACE(frame.frameTime);
        EXPECT_EQ(Steps(frame.frameTime), frame.steps);
    }
    // OnUpdate is told the time the steps used: no more than five steps' worth, never below zero.
    const std::vector<float> kUpdates = {0.035f, 0.004f, 0.002f, 0.0f, 0.0f, 0.05f, 0.0f, 0.02f};
    EXPECT_EQ(state.updates, kUpdates);
}

TEST_F(RealTime, FramesAreMeasuredBetweenReads)
{
    GetFrameTiming().realTime = true;
    kwImplementation::MeasureFrame();
    EXPECT_EQ(GetFrameTiming().frameTime, 0.0f) << "the first frame has nothing to be measured from";
    clock.now += 0.025;
    kwImplementation::MeasureFrame();
    EXPECT_EQ(GetFrameTiming().frameTime, static_cast<float>(0.025));

    // The game application's handler hands the measured time to the machine.
    kwImplementation::GetGameApplicationHandler().OnRealtimeUpdate();
    EXPECT_EQ(state.steps, 2);
    ASSERT_EQ(state.updates.size(), 1u);
    EXPECT_EQ(state.updates[0], static_cast<float>(0.025));
}

TEST_F(RealTime, CapWaitsOutTheRestOfTheFrame)
{
    GetFrameTiming().realTime = true;
    kwImplementation::MeasureFrame();
    kwImplementation::WaitOutFrame();
    EXPECT_TRUE(clock.waits.empty()) << "no cap: no wait";

    GetFrameTiming().frameRateCap = 50.0f;
    kwImplementation::MeasureFrame(); // at 100 s
    clock.now += 0.005; // drawing and presenting took 5 ms of the 20 ms a frame has
    kwImplementation::WaitOutFrame();
    ASSERT_EQ(clock.waits.size(), 1u);
    EXPECT_EQ(clock.waits[0], 100.0 + 1.0 / 50.0);
    kwImplementation::MeasureFrame();
    EXPECT_EQ(GetFrameTiming().frameTime, static_cast<float>(1.0 / 50.0))
        << "the next frame is measured after the wait";
}

// Without real time the game application's frame is the fixed 1/60 s and no clock is read.
TEST_F(RealTime, FixedFramesReadNoClock)
{
    kwImplementation::GetGameApplicationHandler().OnRealtimeUpdate();
    ASSERT_EQ(state.updates.size(), 1u);
    EXPECT_EQ(state.updates[0], 1.0f / 60.0f);
    EXPECT_EQ(clock.reads, 0);
}
