// Skidwell: the curve test state: the curve figure's rings and grey curve on
// opening, the marker at every simulation step, all drawn by the shared scene
// frame.
#include "test_curve_state.h"

#include "application/kw_realtime_application.h"
#include "application_globals.h"
#include "game/kw_game_application.h"
#include "visualization/curve_figure.h"

namespace {

const Kelpwright::Game::GameStateIdentifier kTestCurveStateIdentifier = 2;

// Integer part: the segment the marker is on; fraction: t within it.
float sCurveParameter = 0.0f;

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
    Skidwell::AddCurveFigure(mVisualization, mCurve, Skidwell::CurveTestPoints());
    return GameStateInterface::OnOpen();
}

void TestCurveState::OnSimulate()
{
    mVisualization.ClearTemporaryPrimitives();
    // Before the state has opened there is no segment to stand on.
    if (mCurve.GetSegmentCount() == 0) {
        return;
    }
    sCurveParameter = Skidwell::AdvanceCurveParameter(sCurveParameter, mCurve.GetSegmentCount());
    Skidwell::AddCurveMarker(mVisualization, mCurve, sCurveParameter);
}

void TestCurveState::OnRender()
{
    Skidwell::RenderSceneFrame(Skidwell::kCurveTestCamera, mDrawAxes, mVisualization);
}

void TestCurveState::OnClose() { gGameApplication->SetActionHandler(nullptr); }
