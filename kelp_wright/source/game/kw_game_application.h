// Kelpwright: a game application runs the realtime application with the
// framework's own handler, which makes the first state current when the window
// opens, drives the current state once per loop pass and forwards menu actions.
#pragma once

#include "application/kw_realtime_application.h"
#include "game/kw_game_state.h"

namespace Kelpwright {
namespace Game {

class GameApplication : public Kelpwright::Application::RealtimeApplication {
public:
    GameApplication();
    ~GameApplication();
    // A copy would bypass the single-instance check and clear its flag on destruction.
    GameApplication(const GameApplication&) = delete;
    GameApplication& operator=(const GameApplication&) = delete;

    // Runs the whole application with stateIdentifier as the first state.
    void RunGame(const GameStateIdentifier& stateIdentifier);

    // The handler that receives forwarded menu actions; null clears it.
    void SetActionHandler(Kelpwright::Application::ApplicationHandlerInterface* actionHandler);
};

} // namespace Game
} // namespace Kelpwright
