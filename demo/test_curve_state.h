// Skidwell: the curve test state. It builds a closed Bezier curve through six
// points when it opens, draws the points and the sampled curve, and moves a
// marker along the curve one segment per simulated second.
#pragma once

#include "core/kw_noncopyable.h"
#include "game/kw_game_state.h"
#include "math/bezier_curve.h"
#include "visualization/visualization.h"

class TestCurveState : public Kelpwright::Game::GameStateInterface, public Kelpwright::Core::Noncopyable {
public:
    TestCurveState();
    ~TestCurveState();

    void OnSimulate() override;
    void OnRender() override;
    bool OnOpen() override;
    void OnClose() override;

    // Read access for tools and tests.
    const Skidwell::Visualization& GetVisualization() const { return mVisualization; }

    // The marker's parameter is shared by every instance and kept for the whole
    // program (opening and closing do not reset it); tests read and reset it.
    static float GetCurveParameter();
    static void ResetCurveParameter();

private:
    bool mDrawAxes;
    Skidwell::Visualization mVisualization;
    Skidwell::BezierCurve mCurve;
};
