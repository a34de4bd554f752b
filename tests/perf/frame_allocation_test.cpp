// Frames of both game states, once warmed up, neither allocate nor free: this program's operator new and delete count.
#include "application_globals.h"
#include "demo_state.h"
#include "game/kw_game_application.h"
#include "test_curve_state.h"
#include "recording_gl.h"

#include <gtest/gtest.h>

#include <cstdlib>

static int sHeapCalls = 0;
void* operator new(std::size_t size)
{
    void* memory = (++sHeapCalls, std::malloc(size + 1));
    return memory != nullptr ? memory : (std::abort(), nullptr);
}
void operator delete(void* memory) noexcept { sHeapCalls += memory != nullptr, std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { sHeapCalls += memory != nullptr, std::free(memory); }

TEST(FrameAllocation, SteadyFramesOfBothStatesAllocateAndFreeNothing)
{
    Kelpwright::Game::GameApplication application;
    gApplication = gGameApplication = &application;
    TestCurveState curve;
    DemoState demo;
    curve.OnOpen(); // builds the curve; the title goes to no window
    for (auto* state : std::initializer_list<Kelpwright::Game::GameStateInterface*>{&curve, &demo}) {
        for (int frame = 0; frame < 303; ++frame) {
            sHeapCalls = frame == 3 ? 0 : sHeapCalls; // counted after three frames of warm-up
            kwRecordedGlCalls()->clear();
            for (int step = 0; step < 2; ++step) state->OnSimulate();
            state->OnRender();
        }
        EXPECT_EQ(0, sHeapCalls) << "state " << state->GetIdentifier();
    }
}
