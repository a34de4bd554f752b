// Kelpwright: the game application's own handler and module state. The handler
// turns the realtime application's callbacks into state-machine calls and
// forwards menu actions to the action handler the open state registered.
#pragma once

#include "application/kw_application_handler_interface.h"
#include "game/kw_game_state.h"

namespace Kelpwright {
namespace Game {
class GameApplication;
} // namespace Game
} // namespace Kelpwright

namespace kwImplementation {

class GameApplicationHandler : public Kelpwright::Application::ApplicationHandlerInterface {
public:
    GameApplicationHandler();
    ~GameApplicationHandler() override;

    // Makes the initial game state current (the window is being created and no
    // OpenGL context exists yet).
    void OnWindowOpen() override;
    // One frame of the current state.
    void OnRealtimeUpdate() override;
    void OnMenuAction(const Kelpwright::Application::MenuIdentifier& menuIdentifier,
                      const Kelpwright::Application::MenuItemIdentifier& itemIdentifier) override;
    void OnAuxiliaryAction(const Kelpwright::Application::MenuIdentifier& first,
                           const Kelpwright::Application::MenuItemIdentifier& second) override;
    // Input and the drawing size go to the action handler like menu actions.
    void OnKeyDown(const Kelpwright::Application::KeyEvent& event) override;
    void OnKeyUp(const Kelpwright::Application::KeyEvent& event) override;
    void OnPointerMove(const Kelpwright::Application::PointerPosition& position) override;
    void OnButtonDown(const Kelpwright::Application::PointerButton& button,
                      const Kelpwright::Application::PointerPosition& position) override;
    void OnButtonUp(const Kelpwright::Application::PointerButton& button,
                    const Kelpwright::Application::PointerPosition& position) override;
    void OnWheel(const float& notches, const Kelpwright::Application::PointerPosition& position) override;
    void OnDrawingSizeChange(const Kelpwright::Application::DrawingSize& size) override;

    // Set by the GameApplication constructor and never cleared.
    Kelpwright::Game::GameApplication* gameApplication;
    // Receives forwarded menu and auxiliary actions, input and drawing sizes; null drops them.
    Kelpwright::Application::ApplicationHandlerInterface* actionHandler;
};

struct GameApplicationState {
    bool instanceExists = false; // true while a GameApplication exists
    Kelpwright::Game::GameStateIdentifier initialGameState = Kelpwright::Game::kInvalidGameState;
};

// The single handler every GameApplication runs with.
GameApplicationHandler& GetGameApplicationHandler();
GameApplicationState& GetGameApplicationState();

} // namespace kwImplementation
