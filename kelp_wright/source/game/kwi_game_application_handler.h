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

    // Set by the GameApplication constructor and never cleared.
    Kelpwright::Game::GameApplication* gameApplication;
    // Receives forwarded menu and auxiliary actions; null drops them.
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
