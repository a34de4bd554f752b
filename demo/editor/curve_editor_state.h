// Skidwell: the curve editor's one game state: the curve test's figure with
// its six points under the user's hand. The left button drags a ring and the
// curve is rebuilt as it moves; Space pauses and resumes the marker; R and
// File -> Reset bring the six points back; View -> Axes shows and hides the
// axes; File -> Exit ends the program.
#pragma once

#include "application/kw_application_handler_interface.h"
#include "application/kw_application_menu.h"
#include "core/kw_noncopyable.h"
#include "editor/scene_viewport.h"
#include "game/kw_game_state.h"
#include "math/bezier_curve.h"
#include "visualization/visualization.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Kelpwright {
namespace Game {
class GameApplication;
}
} // namespace Kelpwright

class CurveEditorState : public Kelpwright::Game::GameStateInterface,
                         public Kelpwright::Application::ApplicationHandlerInterface,
                         public Kelpwright::Core::Noncopyable {
public:
    // Declares the menu; the state reaches the application only through application.
    explicit CurveEditorState(Kelpwright::Game::GameApplication& application);
    ~CurveEditorState();

    void OnSimulate() override;
    void OnRender() override;
    bool OnOpen() override;
    void OnClose() override;

    void OnMenuAction(const Kelpwright::Application::MenuIdentifier& menuIdentifier,
                      const Kelpwright::Application::MenuItemIdentifier& itemIdentifier) override;
    void OnKeyDown(const Kelpwright::Application::KeyEvent& event) override;
    void OnPointerMove(const Kelpwright::Application::PointerPosition& position) override;
    void OnButtonDown(const Kelpwright::Application::PointerButton& button,
                      const Kelpwright::Application::PointerPosition& position) override;
    void OnButtonUp(const Kelpwright::Application::PointerButton& button,
                    const Kelpwright::Application::PointerPosition& position) override;
    void OnDrawingSizeChange(const Kelpwright::Application::DrawingSize& size) override;

    // Read access for tools and tests.
    const std::vector<Skidwell::Vector3>& GetPoints() const { return mPoints; }
    const Skidwell::BezierCurve& GetCurve() const { return mCurve; }
    const Skidwell::Visualization& GetVisualization() const { return mVisualization; }
    const Skidwell::Viewport& GetViewport() const { return mViewport; }

private:
    // The point whose ring is nearest the pointer, if that is within reach, or kNoPoint.
    std::size_t PickPoint(const Kelpwright::Application::PointerPosition& position) const;
    void MoveDraggedPoint(const Kelpwright::Application::PointerPosition& position);
    void ResetPoints();
    void ToggleAxes();
    // The rings and the curve, made again from mPoints.
    void RebuildFigure();

    Kelpwright::Game::GameApplication& mApplication;
    Kelpwright::Application::ApplicationMenu mMenu;
    Kelpwright::Application::MenuItem* mAxesItem; // its check mark follows mDrawAxes
    std::vector<Skidwell::Vector3> mPoints;
    Skidwell::Visualization mVisualization;
    Skidwell::BezierCurve mCurve;
    std::int32_t mSurfaceHeight;
    Skidwell::Viewport mViewport; // empty until the drawing surface's size is known
    float mCurveParameter; // the marker's; integer part: its segment, fraction: t
    std::size_t mDraggedPoint; // kNoPoint while nothing is dragged
    bool mPaused;
    bool mDrawAxes;
};
