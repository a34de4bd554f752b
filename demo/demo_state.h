// Skidwell: the demo state. While open it titles the window "Skidwell: Demo",
// shows a "File" -> "Exit" menu that closes the application, and animates a
// line, two circles and a turning radius.
#pragma once

#include "application/kw_application_handler_interface.h"
#include "application/kw_application_menu.h"
#include "core/kw_noncopyable.h"
#include "game/kw_game_state.h"
#include "visualization/visualization.h"

class DemoState : public Kelpwright::Game::GameStateInterface,
                  public Kelpwright::Application::ApplicationHandlerInterface,
                  public Kelpwright::Core::Noncopyable {
public:
    DemoState();
    ~DemoState();

    void OnSimulate() override;
    void OnRender() override;
    bool OnOpen() override;
    void OnClose() override;

    void OnMenuAction(const Kelpwright::Application::MenuIdentifier& menuIdentifier,
                      const Kelpwright::Application::MenuItemIdentifier& itemIdentifier) override;

    // Read access for tools and tests.
    const Skidwell::Visualization& GetVisualization() const { return mVisualization; }

    // The radius line's angle is shared by every instance and kept for the
    // whole program (never reset by the state); tests read and reset it.
    static float GetSpinAngle();
    static void ResetSpinAngle();

private:
    bool mDrawAxes;
    Kelpwright::Application::ApplicationMenu mMenu;
    Skidwell::Visualization mVisualization;
};
