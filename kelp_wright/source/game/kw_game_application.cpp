// Kelpwright: GameApplication runs the realtime application with the single
// GameApplicationHandler, which opens the first state when the window opens,
// drives the current state once per loop pass and forwards menu actions.
#include "game/kw_game_application.h"

#include "core/kw_error.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"

using Kelpwright::Application::ApplicationHandlerInterface;
using Kelpwright::Application::MenuIdentifier;
using Kelpwright::Application::MenuItemIdentifier;
using Kelpwright::Core::Error::ReportErrorIf;
using Kelpwright::Game::kInvalidGameState;

namespace kwImplementation {

GameApplicationHandler::GameApplicationHandler()
    : gameApplication(nullptr)
    , actionHandler(nullptr)
{
}

GameApplicationHandler::~GameApplicationHandler() {}

void GameApplicationHandler::OnWindowOpen()
{
    const GameApplicationState& state = GetGameApplicationState();
    ReportErrorIf(gameApplication == nullptr, __FILE__, __LINE__,
                  "kwInternalError: Game Application has not been set.");
    ReportErrorIf(state.initialGameState == kInvalidGameState, __FILE__, __LINE__,
                  "kwInternalError: initial game state is invalid.");
    Kelpwright::Game::ChangeToGameState(state.initialGameState);
}

void GameApplicationHandler::OnRealtimeUpdate() { Kelpwright::Game::UpdateCurrentGameState(); }

void GameApplicationHandler::OnMenuAction(const MenuIdentifier& menuIdentifier,
                                          const MenuItemIdentifier& itemIdentifier)
{
    if (actionHandler != nullptr) {
        actionHandler->OnMenuAction(menuIdentifier, itemIdentifier);
    }
}

void GameApplicationHandler::OnAuxiliaryAction(const MenuIdentifier& first, const MenuItemIdentifier& second)
{
    if (actionHandler != nullptr) {
        actionHandler->OnAuxiliaryAction(first, second);
    }
}

GameApplicationHandler& GetGameApplicationHandler()
{
    static GameApplicationHandler handler;
    return handler;
}

GameApplicationState& GetGameApplicationState()
{
    static GameApplicationState state;
    return state;
}

} // namespace kwImplementation

namespace Kelpwright {
namespace Game {

GameApplication::GameApplication()
    : RealtimeApplication(kwImplementation::GetGameApplicationHandler())
{
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    kwImplementation::GameApplicationState& state = kwImplementation::GetGameApplicationState();
    ReportErrorIf(state.instanceExists, __FILE__, __LINE__,
                  "kwExternalError: Only a single game application instance can exist at a time.");
    ReportErrorIf(handler.gameApplication != nullptr, __FILE__, __LINE__,
                  "kwInternalError: GameApplication has already been set?");
    // Both reports go on: the handler follows the newest application.
    state.instanceExists = true;
    handler.gameApplication = this;
}

// The handler keeps pointing here: a later GameApplication is reported as a
// second one even after this one is gone.
GameApplication::~GameApplication() { kwImplementation::GetGameApplicationState().instanceExists = false; }

void GameApplication::RunGame(const GameStateIdentifier& stateIdentifier)
{
    ReportErrorIf(stateIdentifier == kInvalidGameState, __FILE__, __LINE__,
                  "kwExternalError: Expected stateIdentifier to be a valid game state.");
    kwImplementation::GetGameApplicationState().initialGameState = stateIdentifier;
    Execute();
}

void GameApplication::SetActionHandler(ApplicationHandlerInterface* actionHandler)
{
    kwImplementation::GetGameApplicationHandler().actionHandler = actionHandler;
}

} // namespace Game
} // namespace Kelpwright
