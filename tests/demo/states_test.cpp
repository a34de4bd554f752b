// Tests of the two game states without a window: frames call by call and without allocations, the
// curve test's trajectory hashed to the bit (the same in every build), the demo's menu, exit and figure.
#include "application/implementation/kwi_realtime_application_run.h"
#include "application/implementation/kwi_system_application_menu.h"
#include "application_globals.h"
#include "demo_state.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "math/float_bits.h"
#include "test_curve_state.h"
#include "visualization/recording_gl.h"

#include <cstdlib>

#include <gtest/gtest.h>

// This program counts every allocation and release, for the steady frames below.
static int sHeapCalls = 0;
void* operator new(std::size_t size)
{
    void* memory = (++sHeapCalls, std::malloc(size != 0 ? size : 1));
    return memory != nullptr ? memory : throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { sHeapCalls += memory != nullptr, std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept
{
    sHeapCalls += memory != nullptr, std::free(memory);
}

using Skidwell::Vector3;

namespace {

// The states reach the application through the global pointers, as in the program, which starts without
// menus.
void PublishApplication()
{
    static Kelpwright::Game::GameApplication application;
    gGameApplication = &application, gApplication = &application;
    TestCurveState::ResetCurveParameter(), DemoState::ResetSpinAngle(),
        kwImplementation::GetMenuRegistry().clear();
}

std::uint64_t Fnv(const void* bytes, size_t count, std::uint64_t hash = 0xcbf29ce484222325ull)
{
    for (size_t i = 0; i < count; ++i)
        hash = (hash ^ static_cast<const unsigned char*>(bytes)[i]) * 0x100000001b3ull;
    return hash;
}

} // namespace

TEST(States, FramesOfBothStatesCallByCallAndWithoutAllocations)
{
    // Clear, the fixed projection, the camera looking down (-z up), the axes unlit, the empty store.
    const std::string frame =
        "glClearColor(0.129999995 0.129999995 0.140000001 1) glClear(0x4100) glEnable(0xb71) "
        "glMatrixMode(0x1701) glLoadMatrixf(1.58289719 0 0 0 0 2.11052966 0 0 0 0 -1.00020003 -1 0 0 -0.100020006 0) "
        "glMatrixMode(0x1700) glLoadIdentity() glPushMatrix() glLoadMatrixf(1 0 -0 0 0 0 1 0 0 -1 -0 0 0 0 0 1) glTranslatef(";
    const std::string axes =
        ") glDisable(0xb50) glDisable(0xde1) glDisable(0xb57) glBegin(0x1) glColor3f(1 0 0) glVertex3f(0 0 0) "
        "glVertex3f(1 0 0) glColor3f(0 1 0) glVertex3f(0 0 0) glVertex3f(0 1 0) glColor3f(0 0 1) glVertex3f(0 0 0) "
        "glVertex3f(0 0 1) glColor3f(0.5 0 0) glVertex3f(0 0 0) glVertex3f(-1 0 0) glColor3f(0 0.5 0) glVertex3f(0 0 0) "
        "glVertex3f(0 -1 0) glColor3f(0 0 0.5) glVertex3f(0 0 0) glVertex3f(0 0 -1) glEnd() glEnable(0xb50) "
        "glEnable(0xde1) glEnable(0xb57) glPushMatrix() glDisable(0xb50) glBegin(0x1) glEnd() glBegin(0x4) glEnd() "
        "glEnable(0xb50) glPopMatrix() glPopMatrix()";
    PublishApplication();
    TestCurveState curveTest;
    DemoState demo;
    EXPECT_EQ(kwTest::GlText([&] { curveTest.OnRender(); }), frame + "-0 -5 -0" + axes);
    EXPECT_EQ(kwTest::GlText([&] { demo.OnRender(); }), frame + "-0 -5 1.625" + axes);
    // Opened and one step on, the stores hold everything each state draws: rings, curve, marker, figure.
    ASSERT_TRUE(curveTest.OnOpen());
    curveTest.OnSimulate();
    demo.OnSimulate();
    const std::string text =
        kwTest::GlText([&] { curveTest.OnRender(); }) + kwTest::GlText([&] { demo.OnRender(); });
    EXPECT_EQ(Fnv(text.data(), text.size()), 0xae6fc2a078725c3dull);

    // Once warmed up, frames of either state allocate and free nothing.
    for (Kelpwright::Game::GameStateInterface* state :
         std::initializer_list<Kelpwright::Game::GameStateInterface*>{&curveTest, &demo}) {
        for (int frame = 0; frame < 300; ++frame) {
            sHeapCalls = frame == 2 ? 0 : sHeapCalls;
            kwClearGlText(), state->OnSimulate(), state->OnSimulate(), state->OnRender();
        }
        EXPECT_EQ(sHeapCalls, 0) << "state " << state->GetIdentifier();
    }
}

// 64-bit FNV-1a over every coordinate's IEEE bytes, least significant first as x86 stores them: after
// each step the points of every temporary path, then every line's ends.
TEST(States, CurveTestTrajectoryIsTheSameInEveryBuild)
{
    static_assert(sizeof(Vector3) == 12, "x, y and z without padding");
    PublishApplication();
    struct TracedState : TestCurveState {
        void OnSimulate() override
        {
            TestCurveState::OnSimulate();
            for (const Skidwell::PathPrimitive& path : GetVisualization().GetTemporaryPaths())
                hash = Fnv(path.points.data(), path.points.size() * sizeof(Vector3), hash);
            for (const Skidwell::LinePrimitive& line : GetVisualization().GetTemporaryLines())
                hash = Fnv(&line.end, sizeof(Vector3), Fnv(&line.start, sizeof(Vector3), hash));
            if (++steps == 600 || steps == 3600)
                hashes[steps / 3600] = hash;
        }
        std::uint64_t hash = 0xcbf29ce484222325ull, hashes[2] = {0, 0};
        int steps = 0;
    } state;
    Kelpwright::Game::ChangeToGameState(
        state.GetIdentifier()); // driven by the machine, drawn into the recording OpenGL
    while (state.steps < 3600)
        kwClearGlText(), Kelpwright::Game::UpdateCurrentGameState();
    EXPECT_EQ(state.hashes[0], 0xa1a0d74e9e306ca2ull);
    EXPECT_EQ(state.hashes[1], 0x4cdc2c9964cbba31ull);
}

TEST(States, DemoDeclaresFileExitOnceClosesOnExitAndTurnsItsRadius)
{
    PublishApplication();
    DemoState state;
    unsigned char& running = kwImplementation::GetRealtimeApplicationState().running;
    const auto choose = [&](unsigned short item) {
        running = 1, kwImplementation::GetGameApplicationHandler().OnMenuAction(0, item);
    };
    std::string stillRunning; // after "File", after "Exit", for each opening; then after "Exit" once closed
    testing::internal::CaptureStdout(); // without a window, attaching the menu reports
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(state.OnOpen());
        choose(0), stillRunning += std::to_string(running), choose(1),
            stillRunning += std::to_string(running);
        state.OnClose();
    }
    choose(1), stillRunning += std::to_string(running), running = 0;
    EXPECT_EQ(stillRunning, "10101");
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("already exists"), std::string::npos);
    const std::vector<Kelpwright::Application::MenuItem>& bar = kwImplementation::GetMenuRoot(0)->children;
    ASSERT_TRUE(bar.size() == 1 && bar[0].children.size() == 1);
    EXPECT_EQ(bar[0].displayName + std::to_string(bar[0].identifier) + bar[0].children[0].displayName,
              "File0Exit");

    state
        .OnSimulate(); // one step: the radius line from (0, 0, -0.5) ends at about (0.0013565, 0, -0.7158958)
    EXPECT_EQ(DemoState::GetSpinAngle(), 0.006283f);
    EXPECT_EQ(kwTest::Hex(state.GetVisualization().GetTemporaryLines().at(1).end),
              kwTest::Hex(Vector3(0.0013564908f, 0, -0.71589577f)));
    std::uint64_t ends =
        0xcbf29ce484222325ull; // every step's radius end: sums, sines and cosines formed in double
    for (int step = 1; step < 500; ++step)
        state.OnSimulate(),
            ends = Fnv(&state.GetVisualization().GetTemporaryLines().at(1).end, sizeof(Vector3), ends);
    EXPECT_EQ(kwTest::Bits(DemoState::GetSpinAngle()), 0x40490E8Eu); // about 3.1415
    EXPECT_EQ(ends, 0xcc431ff41024dc80ull);
}
