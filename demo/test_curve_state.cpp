// Skidwell: the curve test state: permanent rings and the grey sampled curve
// on opening, the marker with its tangent, side line and the segment's control
// points at every simulation step, all drawn by the shared scene frame.
#include "test_curve_state.h"

#include "application/kw_realtime_application.h"
#include "application_globals.h"
#include "game/kw_game_application.h"
#include "visualization/scene_view.h"

#include <vector>

using Skidwell::BezierSegment;
using Skidwell::Color;
using Skidwell::Vector3;

namespace {

const Kelpwright::Game::GameStateIdentifier kTestCurveStateIdentifier = 2;

const Color kWhite = 0xFFFFFFFF;
const Color kGrey = 0xFF808080;
const Color kGreen = 0xFF00FF00;
const Color kDarkGreen = 0xFF008800;
const Color kRed = 0xFFFF0000;
const Color kMagenta = 0xFFFF00FF;
const Color kPurple = 0xFF880088;
const Color kTeal = 0xFF008888;
const Color kCyan = 0xFF00FFFF;

const float kRingRadii[] = {0.024f, 0.025f, 0.026f, 0.027f};
const size_t kSamplesPerSegment = 25;
const float kParameterStep = 0.01f;
const float kMarkerRadius = 0.05f;
const float kDirectionLength = 0.5f;

// Looks straight down on y = 0: +x to the right, -z towards the top.
const Skidwell::SceneCamera kCamera = {Vector3(0.0f, 5.0f, 0.0f), Vector3(0.0f, 0.0f, 0.0f),
                                       Vector3(0.0f, 0.0f, -1.0f)};

// Integer part: the segment the marker is on; fraction: t within it.
float sCurveParameter = 0.0f;

std::vector<Vector3> ControlPoints()
{
    return {Vector3(-1.0f, 0.0f, 0.0f), Vector3(-1.0f, 0.0f, 0.5f), Vector3(0.0f, 0.0f, 0.25f),
            Vector3(1.0f, 0.0f, 0.5f),  Vector3(1.0f, 0.0f, 0.0f),  Vector3(0.0f, 0.0f, -1.0f)};
}

} // namespace

TestCurveState::TestCurveState()
    : GameStateInterface(kTestCurveStateIdentifier)
    , mDrawAxes(true)
{
}

TestCurveState::~TestCurveState() {}

float TestCurveState::GetCurveParameter() { return sCurveParameter; }

void TestCurveState::ResetCurveParameter() { sCurveParameter = 0.0f; }

// Runs before the OpenGL context exists: it only prepares drawing data.
bool TestCurveState::OnOpen()
{
    mDrawAxes = true;
    gApplication->SetWindowTitle("Skidwell: Curve Test");

    const std::vector<Vector3> points = ControlPoints();
    // Four close white circles per point show as one thick ring.
    for (const Vector3& point : points) {
        for (float radius : kRingRadii) {
            mVisualization.AddPermanentCircle(point, radius, kWhite, true);
        }
    }

    mCurve.BuildFromPoints(points, true);
    std::vector<Vector3> samples;
    mCurve.SamplePoints(samples, kSamplesPerSegment);
    // Left open on purpose: a gap of one sample step stays before (-1, 0, 0).
    mVisualization.AddPermanentPath(samples, kGrey, false);

    return GameStateInterface::OnOpen();
}

void TestCurveState::OnSimulate()
{
    mVisualization.ClearTemporaryPrimitives();
    // Before the state has opened there is no segment to stand on.
    if (mCurve.GetSegmentCount() == 0) {
        return;
    }

    // Incremented before use: the first step stands at t = 0.01, not at the start.
    sCurveParameter += kParameterStep;
    if (static_cast<size_t>(sCurveParameter) >= mCurve.GetSegmentCount()) {
        sCurveParameter = 0.0f;
    }
    const size_t segmentIndex = static_cast<size_t>(sCurveParameter);
    const float t = sCurveParameter - static_cast<float>(segmentIndex);
    const BezierSegment& segment = mCurve.GetSegment(segmentIndex);

    const Vector3 position = Skidwell::EvaluateBezier(t, segment.p0, segment.p1, segment.p2, segment.p3);
    const Vector3 derivative =
        Skidwell::EvaluateBezierDerivative(t, segment.p0, segment.p1, segment.p2, segment.p3);
    const Vector3 side = derivative.Normalized().Cross(Vector3(0.0f, 1.0f, 0.0f));

    mVisualization.AddCircle(position, kMarkerRadius, kGreen, true);
    mVisualization.AddLine(position, position + derivative.Normalized() * kDirectionLength, kGreen);
    mVisualization.AddLine(position, position + derivative.Normalized() * -kDirectionLength, kDarkGreen);
    mVisualization.AddLine(position, position + side.Normalized() * kDirectionLength, kRed);
    mVisualization.AddCircle(segment.p0, kMarkerRadius, kMagenta, true);
    mVisualization.AddCircle(segment.p1, kMarkerRadius, kPurple, true);
    mVisualization.AddCircle(segment.p2, kMarkerRadius, kTeal, true);
    mVisualization.AddCircle(segment.p3, kMarkerRadius, kCyan, true);
}

void TestCurveState::OnRender() { Skidwell::RenderSceneFrame(kCamera, mDrawAxes, mVisualization); }

void TestCurveState::OnClose() { gGameApplication->SetActionHandler(nullptr); }
