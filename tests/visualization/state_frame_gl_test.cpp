// Tests of the two game states' frames: the exact projection, camera matrix
// and translation each state loads, the axes, and repeated frames.
#include "demo_state.h"
#include "gl_recorder.h"
#include "test_curve_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace GlRecorder;

namespace {

std::vector<std::uint32_t> Bits(const std::vector<float>& values)
{
    std::vector<std::uint32_t> bits;
    for (float value : values) {
        std::uint32_t pattern;
        std::memcpy(&pattern, &value, sizeof(pattern));
        bits.push_back(pattern);
    }
    return bits;
}

const std::vector<std::uint32_t> kProjectionBits = {0x3FCA9C60, 0, 0, 0, 0, 0x400712EB, 0, 0,
                                                    0, 0, 0xBF80068E, 0xBF800000, 0, 0, 0xBDCCD74A, 0};
// 1, 0, -0, 0 | 0, 0, 1, 0 | 0, -1, -0, 0 | 0, 0, 0, 1: side +x, up -z, looking along -y.
const std::vector<std::uint32_t> kViewBits = {0x3F800000, 0, 0x80000000, 0, 0, 0, 0x3F800000, 0,
                                              0, 0xBF800000, 0x80000000, 0, 0, 0, 0, 0x3F800000};

class StateFrame : public testing::Test {
protected:
    void SetUp() override { Clear(); }

    // The frame's two matrices, its translation and its axes, then a repeat.
    static void ExpectFrame(Kelpwright::Game::GameStateInterface& state, const Call& translation)
    {
        state.OnRender();
        const std::vector<Call> matrices = CallsNamed("glLoadMatrixf");
        ASSERT_EQ(2u, matrices.size());
        EXPECT_EQ(kProjectionBits, Bits(matrices[0].floats));
        EXPECT_EQ(kViewBits, Bits(matrices[1].floats));
        EXPECT_EQ((std::vector<Call>{translation}), CallsNamed("glTranslatef"));
        // The axes with their negative halves: six coloured segments.
        EXPECT_EQ(6u, CallsNamed("glColor3f").size());

        const std::vector<Call> first = GetCalls();
        Clear();
        state.OnRender();
        EXPECT_EQ(first, GetCalls());
    }
};

TEST_F(StateFrame, CurveTestLooksDownFromFiveAboveTheOrigin)
{
    TestCurveState state;
    ExpectFrame(state, Translate(-0.0f, -5.0f, -0.0f));
}

TEST_F(StateFrame, DemoIsCentredOnZMinusOnePointSixTwoFive)
{
    DemoState state;
    ExpectFrame(state, Translate(-0.0f, -5.0f, 1.625f));
}

TEST_F(StateFrame, DemoBeforeAnyStepDrawsOnlyTheAxes)
{
    DemoState state;
    state.OnRender();
    EXPECT_EQ(12u, CallsNamed("glVertex3f").size());
    EXPECT_TRUE(CallsNamed("glColor3ub").empty());

    Clear();
    DemoState::ResetSpinAngle();
    state.OnSimulate();
    state.OnRender();
    // The x-axis line, the radius line and two 25-segment circles after the axes.
    EXPECT_EQ(12u + 2u + 2u + 50u + 50u, CallsNamed("glVertex3f").size());
    EXPECT_EQ(4u, CallsNamed("glColor3ub").size());
}

} // namespace
