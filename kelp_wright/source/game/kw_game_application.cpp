// Kelpwright: GameApplication runs the realtime application with the single
// GameApplicationHandler, which opens the first state when the window opens,
// drives the current state once per loop pass and forwards menu actions.
#include "game/kw_game_application.h"

#include "application/implementation/kwi_frame_timing.h"
#include "core/kw_error.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"

using Kelpwright::Application::ApplicationHandlerInterface;
using Kelpwright::Application::DrawingSize;
using Kelpwright::Application::KeyEvent;
using Kelpwright::Application::MenuIdentifier;
using Kelpwright::Application::MenuItemIdentifier;
using Kelpwright::Application::PointerButton;
using Kelpwright::Application::PointerPosition;
using Kelpwright::Core::Error::ReportErrorIf;
using Kelpwright::Game::kInvalidGameState;

namespace kwImplementation {

namespace {

// Passes one callback on to the action handler, when one is registered.
template <typename Call> void Forward(ApplicationHandlerInterface* actionHandler, const Call& call)
{
    if (actionHandler != nullptr) {
        call(*actionHandler);
    }
}

} // namespace

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

// In real time the frame lasts what was measured; otherwise the fixed 1/60 s.
void GameApplicationHandler::OnRealtimeUpdate()
{
    const FrameTiming& timing = GetFrameTiming();
    if (timing.realTime) {
        Kelpwright::Game::UpdateCurrentGameState(timing.frameTime);
    } else {
        Kelpwright::Game::UpdateCurrentGameState();
    }
}

void GameApplicationHandler::OnMenuAction(const MenuIdentifier& menuIdentifier,
                                          const MenuItemIdentifier& itemIdentifier)
{
    Forward(actionHandler, [&](ApplicationHandlerInterface& handler) {
        handler.OnMenuAction(menuIdentifier, itemIdentifier);
    });
}

void GameApplicationHandler::OnAuxiliaryAction(const MenuIdentifier& first, const MenuItemIdentifier& second)
{
    Forward(actionHandler,
            [&](ApplicationHandlerInterface& handler) { handler.OnAuxiliaryAction(first, second); });
}

void GameApplicationHandler::OnKeyDown(const KeyEvent& event)
{
    Forward(actionHandler, [&](ApplicationHandlerInterface& handler) { handler.OnKeyDown(event); });
}

void GameApplicationHandler::OnKeyUp(const KeyEvent& event)
{
    Forward(actionHandler, [&](ApplicationHandlerInterface& handler) { handler.OnKeyUp(event); });
}

void GameApplicationHandler::OnPointerMove(const PointerPosition& position)
{
    Forward(actionHandler, [&](ApplicationHandlerInterface& handler) { handler.OnPointerMove(position); });
}

void GameApplicationHandler::OnButtonDown(const PointerButton& button, const PointerPosition& position)
{
    Forward(actionHandler,
            [&](ApplicationHandlerInterface& handler) { handler.OnButtonDown(button, position); });
}

void GameApplicationHandler::OnButtonUp(const PointerButton& button, const PointerPosition& position)
{
    Forward(actionHandler,
            [&](ApplicationHandlerInterface& handler) { handler.OnButtonUp(button, position); });
}

void GameApplicationHandler::OnWheel(const float& notches, const PointerPosition& position)
{
    Forward(actionHandler, [&](ApplicationHandlerInterface& handler) { handler.OnWheel(notches, position); });
}

void GameApplicationHandler::OnDrawingSizeChange(const DrawingSize& size)
{
    Forward(actionHandler, [&](ApplicationHandlerInterface& handler) { handler.OnDrawingSizeChange(size); });
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
