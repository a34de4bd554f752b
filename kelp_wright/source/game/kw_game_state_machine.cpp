// Kelpwright: the game state machine. It keeps the table of registered states,
// opens and closes the current one and drives it once per frame: fixed 0.01 s
// steps out of a fixed 1/60 s frame, all in 32-bit float arithmetic.
#include "game/kw_game_state_machine.h"

#include "core/kw_error.h"

using Kelpwright::Core::Error::ReportErrorIf;
using Kelpwright::Game::GameStateIdentifier;
using Kelpwright::Game::GameStateInterface;
using Kelpwright::Game::kInvalidGameState;

namespace kwImplementation {

namespace {

// The frame time is assumed, not measured: 1/60 s rounded to float (0x3C888889).
const float kFrameTime = 1.0f / 60.0f;
// One simulation step (0x3C23D70A).
const float kSimulationStep = 0.01f;
const int kMaximumStepsPerFrame = 5;
// What five steps use up; a longer measured frame counts as this long.
const float kMaximumFrameTime = 0.05f;

} // namespace

GameStateMachine::GameStateMachine()
    : mCurrentState(kInvalidGameState)
    , mSimulationTime(0.0f)
{
}

// Forgets every state without closing it: the states belong to their owners.
GameStateMachine::~GameStateMachine() { mGameStates.clear(); }

GameStateInterface* GameStateMachine::FindState(const GameStateIdentifier& identifier) const
{
    auto entry = mGameStates.find(identifier);
    return entry != mGameStates.end() ? entry->second : nullptr;
}

void GameStateMachine::AddState(GameStateInterface* state)
{
    const GameStateIdentifier identifier = state->GetIdentifier();
    ReportErrorIf(identifier == kInvalidGameState, __FILE__, __LINE__,
                  "kwExternalError: GameState with id: kInvalidGameState cannot be added to Game Machine.");
    ReportErrorIf(mGameStates.count(identifier) != 0, __FILE__, __LINE__,
                  "kwExternalError: GameState with id(%d) already exists in Game Machine.",
                  static_cast<int>(identifier));
    // Both reports go on: a duplicate replaces the older state's entry, and a
    // state under kInvalidGameState is entered but can never be named.
    mGameStates[identifier] = state;
}

// NOTE: the identifier is copied first: it may refer to mCurrentState itself
// (GetCurrentState), which closing the state sets to kInvalidGameState.
void GameStateMachine::RemoveState(const GameStateIdentifier& stateIdentifier)
{
    const GameStateIdentifier identifier = stateIdentifier;
    if (mGameStates.count(identifier) == 0) {
        ReportErrorIf(
            true, __FILE__, __LINE__,
            "kwExternalError: Trying to remove GameState with id(%d) which does not exists in Game Machine.",
            static_cast<int>(identifier));
        return;
    }
    if (mCurrentState == identifier) {
        ChangeToState(kInvalidGameState);
    }
    mGameStates.erase(identifier);
}

void GameStateMachine::ChangeToState(const GameStateIdentifier& stateIdentifier)
{
    // A copy, for the same reason as in RemoveState: the closing state's
    // OnClose may change what a reference into the machine reads.
    const GameStateIdentifier identifier = stateIdentifier;
    // An unknown target leaves the current state current and open, so the
    // table never names a current state it does not hold.
    if (identifier != kInvalidGameState && mGameStates.count(identifier) == 0) {
        ReportErrorIf(
            true, __FILE__, __LINE__,
            "kwExternalError: Trying to set GameState with id(%d) which does not exists in Game Machine.",
            static_cast<int>(identifier));
        return;
    }

    if (mCurrentState != kInvalidGameState) {
        GameStateInterface* closing = FindState(mCurrentState);
        ReportErrorIf(
            closing == nullptr, __FILE__, __LINE__,
            "kwInternalError: Trying to close GameState with id(%d) which does not exists in Game Machine.",
            static_cast<int>(mCurrentState));
        if (closing != nullptr) {
            closing->OnClose();
        }
    }

    mCurrentState = identifier;

    if (identifier != kInvalidGameState) {
        // Looked up again: the closed state's OnClose may have changed the table.
        GameStateInterface* opening = FindState(identifier);
        ReportErrorIf(
            opening == nullptr, __FILE__, __LINE__,
            "kwInternalError: Trying to open GameState with id(%d) which does not exists in Game Machine.",
            static_cast<int>(identifier));
        if (opening != nullptr) {
            opening->OnOpen();
        } else {
            // Gone by now (the closed state's OnClose removed it): no state is current.
            mCurrentState = kInvalidGameState;
        }
    }
}

void GameStateMachine::UpdateState(const GameStateIdentifier& identifier)
{
    UpdateState(identifier, kFrameTime);
}

void GameStateMachine::UpdateState(const GameStateIdentifier& identifier, float frameTime)
{
    const GameStateIdentifier target = identifier != kInvalidGameState ? identifier : mCurrentState;
    if (target == kInvalidGameState) {
        return;
    }

    GameStateInterface* state = FindState(target);
    if (state == nullptr) {
        ReportErrorIf(
            true, __FILE__, __LINE__,
            "kwExternalError: Trying to update GameState with id(%d) which does not exist in Game Machine.",
            static_cast<int>(target));
        return;
    }
    Advance(*state, frameTime);
}

void GameStateMachine::Advance(GameStateInterface& state, float frameTime)
{
    // A measured time beyond what five steps use up is dropped (a stall), as
    // is a negative one. The fixed 1/60 s passes through unchanged.
    if (!(frameTime >= 0.0f)) {
        frameTime = 0.0f;
    } else if (frameTime > kMaximumFrameTime) {
        frameTime = kMaximumFrameTime;
    }

    // NOTE: the time is stored as a float after every operation, and that
    // rounded value is what the next comparison sees (steps run 1, 2, 2, ...).
    mSimulationTime = mSimulationTime + frameTime;
    int steps = 0;
    while (mSimulationTime > kSimulationStep && steps < kMaximumStepsPerFrame) {
        state.OnSimulate();
        mSimulationTime = mSimulationTime - kSimulationStep;
        ++steps;
    }

    state.OnUpdate(frameTime);
    state.OnRender();
    state.OnPostRender();
}

GameStateMachine& GetGameStateMachine()
{
    // Made on first use, so a state constructed during static initialisation
    // still finds the machine ready.
    static GameStateMachine machine;
    return machine;
}

} // namespace kwImplementation

namespace Kelpwright {
namespace Game {

void AddGameState(GameStateInterface* state) { kwImplementation::GetGameStateMachine().AddState(state); }

void RemoveGameState(const GameStateIdentifier& identifier)
{
    kwImplementation::GetGameStateMachine().RemoveState(identifier);
}

void ChangeToGameState(const GameStateIdentifier& identifier)
{
    kwImplementation::GetGameStateMachine().ChangeToState(identifier);
}

void UpdateCurrentGameState() { kwImplementation::GetGameStateMachine().UpdateState(kInvalidGameState); }

void UpdateCurrentGameState(float frameTime)
{
    kwImplementation::GetGameStateMachine().UpdateState(kInvalidGameState, frameTime);
}

} // namespace Game
} // namespace Kelpwright
