// Tests of the two game states without a window: frames call by call and without allocations, the
// curve test's trajectory hashed to the bit (the same in every build), the demo's menu and figure.
#include "../core/report_collector.h"
#include "application/implementation/kwi_realtime_application_run.h"
#include "application/implementation/kwi_system_application_menu.h"
#include "application/menu_description.h"
#include "application_globals.h"
#include "demo_state.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "golden_file.h"
#include "math/float_bits.h"
#include "test_application.h"
#include "test_curve_state.h"
#include "visualization/recording_gl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

// This program counts every allocation and release, for the steady frames below.
static int sHeapCalls = 0;
void* operator new(std::size_t size)
{
    ++sHeapCalls;
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}
static void Release(void* memory)
{
    if (memory != nullptr) {
        ++sHeapCalls;
    }
    std::free(memory);
}
void operator delete(void* memory) noexcept { Release(memory); }
void operator delete(void* memory, std::size_t) noexcept { Release(memory); }

using Skidwell::Vector3;

namespace {

const std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;

// 64-bit FNV-1a over bytes: IEEE floats least significant byte first, as x86 stores them.
std::uint64_t Fnv(const void* bytes, size_t count, std::uint64_t hash = kFnvOffset)
{
    for (size_t i = 0; i < count; ++i) {
        hash = (hash ^ static_cast<const unsigned char*>(bytes)[i]) * 0x100000001b3ull;
    }
    return hash;
}

std::string Frame(Kelpwright::Game::GameStateInterface& state)
{
    return kwTest::GlText([&] { state.OnRender(); });
}

// The states reach the application through the global pointers, as in the program, which starts
// without menus, with both animations at their start and with a machine that has simulated nothing.
class StatesTest : public testing::Test {
protected:
    void SetUp() override
    {
        kwTest::TestApplication();
        TestCurveState::ResetCurveParameter();
        DemoState::ResetSpinAngle();
        kwImplementation::GetMenuRegistry().clear();
        kwImplementation::GetGameStateMachine() = kwImplementation::GameStateMachine();
    }
};

} // namespace

TEST_F(StatesTest, FramesBeforeOpening)
{
    // Clear, the fixed projection, the camera looking down (-z up), the axes unlit, the empty store.
    TestCurveState curveTest;
    DemoState demo;
    curveTest.OnSimulate(); // no curve yet: nothing to stand on, nothing stored
    kwTest::ExpectMatchesGolden("curve_test_empty_frame.txt", Frame(curveTest));
    kwTest::ExpectMatchesGolden("demo_empty_frame.txt", Frame(demo));
}

// The figure: the x line, the inner circle, its radius, the outer circle. The curve test's frames are
// hashed below.
TEST_F(StatesTest, DemoFrameAfterOneStep)
{
    DemoState demo;
    demo.OnSimulate();
    kwTest::ExpectMatchesGolden("demo_frame_after_one_step.txt", Frame(demo));
}

TEST_F(StatesTest, SteadyFramesAllocateNothing)
{
    TestCurveState curveTest;
    DemoState demo;
    ASSERT_TRUE(curveTest.OnOpen());
    const int kWarmUpFrames = 2; // the lists reach their sizes in the first steps
    for (Kelpwright::Game::GameStateInterface* state :
         {static_cast<Kelpwright::Game::GameStateInterface*>(&curveTest),
          static_cast<Kelpwright::Game::GameStateInterface*>(&demo)}) {
        for (int frame = 0; frame < 300; ++frame) {
            if (frame == kWarmUpFrames) {
                sHeapCalls = 0;
            }
            kwClearGlText();
            state->OnSimulate();
            state->OnSimulate();
            state->OnRender();
        }
        EXPECT_EQ(sHeapCalls, 0) << "heap calls in the steady frames of state " << state->GetIdentifier();
    }
}

// Every frame's OpenGL calls (the 24 white rings, the grey curve's 150 samples left open, the marker with
// its lines and its segment's control points), hashed as the machine drives the state: after 360 frames
// (600 steps, one lap ending on the reset to (-1, 0, 0)) and after 2,160 (3,600 steps).
TEST_F(StatesTest, CurveTestTrajectoryIsTheSameInEveryBuild)
{
    TestCurveState state;
    Kelpwright::Game::ChangeToGameState(state.GetIdentifier());
    std::uint64_t hash = kFnvOffset;
    std::uint64_t hashAfterOneLap = 0;
    for (int frame = 1; frame <= 2160; ++frame) {
        kwClearGlText();
        Kelpwright::Game::UpdateCurrentGameState();
        hash = Fnv(kwGlText(), std::strlen(kwGlText()), hash);
        if (frame == 360) {
            hashAfterOneLap = hash;
        }
    }
    EXPECT_EQ(hashAfterOneLap, 0x8863aff2f6bc37c1ull);
    EXPECT_EQ(hash, 0x1d1fa389e7136a6dull);
    Kelpwright::Game::ChangeToGameState(Kelpwright::Game::kInvalidGameState);
}

TEST_F(StatesTest, DemoMenuClosesOnExitOnly)
{
    DemoState state;
    unsigned char& running = kwImplementation::GetRealtimeApplicationState().running;
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    kwTest::ReportCollector reports;
    testing::internal::CaptureStdout(); // the reports' printed blocks stay out of the test log
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        ASSERT_TRUE(state.OnOpen());
        running = 1;
        handler.OnMenuAction(0, 0);
        EXPECT_EQ(running, 1) << "\"File\" closed the application";
        handler.OnMenuAction(0, 1);
        EXPECT_EQ(running, 0) << "\"Exit\" did not close the application";
        state.OnClose();
    }
    running = 1;
    handler.OnMenuAction(0, 1);
    EXPECT_EQ(running, 1) << "a closed state still got the menu action";
    running = 0;
    testing::internal::GetCapturedStdout();
    // Each opening attaches the menu, which without a window is reported; declaring again would be too.
    const std::string noWindow =
        "kwInternalError: Invalid parameter; windowHandle, expected a non-NULL HWND object.\n";
    EXPECT_EQ(reports.Take(), kwTest::Log(2, noWindow));
    ASSERT_NE(kwImplementation::GetMenuRoot(0), nullptr);
    EXPECT_EQ(kwTest::Describe(kwImplementation::GetMenuRoot(0)->children), " File(0)[ Exit(1) ]");
}

TEST_F(StatesTest, DemoRadiusTurnsInDoublePrecisionSteps)
{
    DemoState state;
    state.OnSimulate();
    EXPECT_EQ(DemoState::GetSpinAngle(), 0.006283f);
    std::uint64_t ends = kFnvOffset; // every step's radius end: sums, sines and cosines formed in double
    for (int step = 1; step < 500; ++step) {
        state.OnSimulate();
        ASSERT_EQ(state.GetVisualization().GetTemporaryLines().size(), 2u) << "only the latest step's figure";
        ends = Fnv(&state.GetVisualization().GetTemporaryLines()[1].end, sizeof(Vector3), ends);
    }
    EXPECT_EQ(kwTest::Bits(DemoState::GetSpinAngle()), 0x40490E8Eu); // about 3.1415
    EXPECT_EQ(ends, 0xcc431ff41024dc80ull);
}
