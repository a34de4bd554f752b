// Tests of the curve test state: its permanent drawing after opening, the
// marker of each simulation step with exact positions and directions, the
// reset of the shared parameter, and a step before the curve exists.
#include "demo_test_support.h"
#include "game/kwi_game_application_handler.h"
#include "math/bezier_curve.h"
#include "test_curve_state.h"

using Skidwell::Vector3;

namespace {

const std::vector<Vector3> kControlPoints = {Vector3(-1, 0, 0), Vector3(-1, 0, 0.5f), Vector3(0, 0, 0.25f),
                                             Vector3(1, 0, 0.5f), Vector3(1, 0, 0),   Vector3(0, 0, -1)};

// Segment 0 of the closed curve through the control points.
Skidwell::BezierSegment FirstSegment()
{
    Skidwell::BezierCurve curve;
    curve.BuildFromPoints(kControlPoints, true);
    return curve.GetSegment(0);
}

class TestCurveStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        PublishTestApplication();
        TestCurveState::ResetCurveParameter();
    }

    void Steps(int count)
    {
        for (int i = 0; i < count; ++i) {
            mState.OnSimulate();
        }
    }
    const std::vector<Skidwell::PathPrimitive>& Paths() const { return mState.GetVisualization().GetTemporaryPaths(); }
    const std::vector<Skidwell::LinePrimitive>& Lines() const { return mState.GetVisualization().GetTemporaryLines(); }

    TestCurveState mState;
};

TEST_F(TestCurveStateTest, OpeningAddsTwentyFourRingsThenTheOpenGreyCurve)
{
    ASSERT_TRUE(mState.OnOpen());
    const std::vector<Skidwell::PathPrimitive>& paths = mState.GetVisualization().GetPermanentPaths();
    ASSERT_EQ(25u, paths.size());
    EXPECT_TRUE(Paths().empty());

    // Four white rings per point, in point order.
    Skidwell::Visualization rings;
    for (const Vector3& point : kControlPoints) {
        for (float radius : {0.024f, 0.025f, 0.026f, 0.027f}) {
            rings.AddPermanentCircle(point, radius, 0xFFFFFFFF, true);
        }
    }
    for (size_t ring = 0; ring < 24; ++ring) {
        SCOPED_TRACE(ring);
        ExpectSamePath(rings.GetPermanentPaths()[ring], paths[ring]);
    }

    const Skidwell::PathPrimitive& curve = paths[24];
    EXPECT_EQ(0xFF808080u, curve.color);
    EXPECT_FALSE(curve.closed);
    ASSERT_EQ(150u, curve.points.size());
    // Each segment's first sample is exactly its control point, starting at (-1, 0, 0).
    for (size_t k = 0; k < kControlPoints.size(); ++k) {
        EXPECT_EQ(Bits({kControlPoints[k]}), Bits({curve.points[25 * k]})) << k;
    }
}

TEST_F(TestCurveStateTest, FirstStepDrawsTheMarkerAtOneHundredthOfSegmentZero)
{
    ASSERT_TRUE(mState.OnOpen());
    Steps(1);
    EXPECT_EQ(0.01f, TestCurveState::GetCurveParameter());
    ASSERT_EQ(5u, Paths().size());
    ASSERT_EQ(3u, Lines().size());

    const Skidwell::BezierSegment segment = FirstSegment();
    const Vector3 marker = Skidwell::EvaluateBezier(0.01f, segment.p0, segment.p1, segment.p2, segment.p3);
    ExpectSamePath(Circle(marker, 0.05f, 0xFF00FF00), Paths()[0]);
    const Skidwell::Color lineColors[3] = {0xFF00FF00, 0xFF008800, 0xFFFF0000};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Bits({marker}), Bits({Lines()[i].start})) << i;
        EXPECT_EQ(lineColors[i], Lines()[i].color) << i;
    }

    // Segment 0's control points; 0.45833334 is the float that 0.4583333 names.
    ExpectSamePath(Circle(Vector3(-1, 0, 0), 0.05f, 0xFFFF00FF), Paths()[1]);
    ExpectSamePath(Circle(Vector3(-1.1666666f, 0, 0.25f), 0.05f, 0xFF880088), Paths()[2]);
    ExpectSamePath(Circle(Vector3(-1.1666666f, 0, 0.45833334f), 0.05f, 0xFF008888), Paths()[3]);
    ExpectSamePath(Circle(Vector3(-1, 0, 0.5f), 0.05f, 0xFF00FFFF), Paths()[4]);

    // The next step replaces the marker rather than adding a second one.
    Steps(1);
    EXPECT_EQ(5u, Paths().size());
    EXPECT_EQ(3u, Lines().size());
}

TEST_F(TestCurveStateTest, SixHundredthStepResetsOntoTheFirstControlPoint)
{
    ASSERT_TRUE(mState.OnOpen());
    Steps(599);
    const float before = TestCurveState::GetCurveParameter();
    EXPECT_LT(before, 6.0f);
    EXPECT_EQ(6.0000424f, before + 0.01f);
    ExpectSamePath(Circle(Vector3(0, 0, -1), 0.05f, 0xFFFF00FF), Paths().at(1));

    Steps(1);
    EXPECT_EQ(0.0f, TestCurveState::GetCurveParameter());
    const Vector3 start(-1, 0, 0);
    ExpectSamePath(Circle(start, 0.05f, 0xFF00FF00), Paths().at(0));
    ASSERT_EQ(3u, Lines().size());

    // There the derivative is (-0.5, 0, 0.75): tangent and side are its unit
    // vector and that vector turned a right angle about +y.
    const Skidwell::BezierSegment segment = FirstSegment();
    EXPECT_EQ(Bits({Vector3(-0.5f, 0, 0.75f)}),
              Bits({Skidwell::EvaluateBezierDerivative(0.0f, segment.p0, segment.p1, segment.p2, segment.p3)}));
    const Vector3 tangent(-0.5547002f, 0, 0.8320503f);
    const Vector3 side(-0.8320503f, 0, -0.5547002f);
    EXPECT_EQ(Bits({Vector3(-1.2773501f, 0, 0.41602516f)}), Bits({start + tangent * 0.5f}));
    EXPECT_EQ(Bits({start, start + tangent * 0.5f, start, start + tangent * -0.5f, start, start + side * 0.5f}),
              Bits({Lines()[0].start, Lines()[0].end, Lines()[1].start, Lines()[1].end, Lines()[2].start, Lines()[2].end}));
}

TEST_F(TestCurveStateTest, StepBeforeOpeningDrawsNothingAndKeepsTheParameter)
{
    Steps(3);
    EXPECT_EQ(0.0f, TestCurveState::GetCurveParameter());
    EXPECT_TRUE(Paths().empty());
    EXPECT_TRUE(Lines().empty());
}

TEST_F(TestCurveStateTest, ClosingStopsMenuActionsAndReopeningAddsTheDrawingAgainAndKeepsTheParameter)
{
    ASSERT_TRUE(mState.OnOpen());
    Steps(150);
    struct Sink : Kelpwright::Application::ApplicationHandlerInterface {
    } sink;
    gGameApplication->SetActionHandler(&sink);
    mState.OnClose();
    EXPECT_EQ(nullptr, kwImplementation::GetGameApplicationHandler().actionHandler);

    ASSERT_TRUE(mState.OnOpen());
    const std::vector<Skidwell::PathPrimitive>& paths = mState.GetVisualization().GetPermanentPaths();
    ASSERT_EQ(50u, paths.size());
    ExpectSamePath(paths[24], paths[49]);
    Steps(1);
    // 151 steps of 0.01 in float: segment 1, just past its middle.
    EXPECT_EQ(1u, static_cast<unsigned>(TestCurveState::GetCurveParameter()));
    ExpectSamePath(Circle(Vector3(-1, 0, 0.5f), 0.05f, 0xFFFF00FF), Paths().at(1));
}

} // namespace
