// Tests of the two game states' frames: the exact camera matrix and
// translation each state loads, the axes, its own store, and repeated frames.
#include "demo_state.h"
#include "gl_recorder.h"
#include "test_curve_state.h"

#include <gtest/gtest.h>

#include <vector>

using namespace GlRecorder;

namespace {

// Both states look straight down with -z up. Rows S = (1, 0, 0), V = (0, 0, -1)
// and -F = (-0, 1, -0): F is (0, -1, 0) with positive zeros, and negating them
// gives negative ones.
const std::vector<std::uint32_t> kViewBits = {0x3F800000, 0, 0x80000000, 0, 0, 0, 0x3F800000, 0,
                                              0, 0xBF800000, 0x80000000, 0, 0, 0, 0, 0x3F800000};

// The projection and the view above, the state's translation, the axes with
// their negative halves (six coloured segments), and the same again next frame.
void ExpectFrame(Kelpwright::Game::GameStateInterface& state, const Call& translation)
{
    const std::vector<Call> calls = CallsOf([&] { state.OnRender(); });
    const std::vector<Call> matrices = Named(calls, "glLoadMatrixf");
    ASSERT_EQ(2u, matrices.size());
    EXPECT_EQ(kViewBits, matrices[1].floatBits);
    EXPECT_EQ(std::vector<Call>{translation}, Named(calls, "glTranslatef"));
    EXPECT_EQ(6u, Named(calls, "glColor3f").size());
    EXPECT_EQ(calls, CallsOf([&] { state.OnRender(); }));
}

TEST(StateFrame, CurveTestLooksDownFromFiveAboveTheOrigin)
{
    TestCurveState state;
    ExpectFrame(state, Translate(-0.0f, -5.0f, -0.0f));
}

TEST(StateFrame, DemoIsCentredOnZMinusOnePointSixTwoFiveAndDrawsItsOwnFigure)
{
    DemoState state;
    ExpectFrame(state, Translate(-0.0f, -5.0f, 1.625f));
    // After a step: the axes, then the x-axis line, the radius line and two 25-segment circles.
    state.OnSimulate();
    EXPECT_EQ(12u + 2u + 2u + 50u + 50u, Named(CallsOf([&] { state.OnRender(); }), "glVertex3f").size());
}

} // namespace
