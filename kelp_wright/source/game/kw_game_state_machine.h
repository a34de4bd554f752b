// Kelpwright: the single game state machine. It keeps the table of registered
// states, opens and closes the current one, and drives it with fixed 0.01 s
// simulation steps out of a fixed 1/60 s frame, or out of a measured one in real time.
#pragma once

#include "game/kw_game_state.h"

#include <cstddef>
#include <map>

namespace kwImplementation {

class GameStateMachine {
public:
    GameStateMachine();
    virtual ~GameStateMachine();

    void AddState(Kelpwright::Game::GameStateInterface* state);
    void RemoveState(const Kelpwright::Game::GameStateIdentifier& identifier);
    void ChangeToState(const Kelpwright::Game::GameStateIdentifier& identifier);
    void UpdateState(const Kelpwright::Game::GameStateIdentifier& identifier);
    // The same with a measured frame time in seconds, cut to the five steps a
    // frame can take, so a stall never leaves time to catch up on later.
    void UpdateState(const Kelpwright::Game::GameStateIdentifier& identifier, float frameTime);

    // Read access for tools and tests.
    const Kelpwright::Game::GameStateIdentifier& GetCurrentState() const { return mCurrentState; }
    float GetSimulationTime() const { return mSimulationTime; }
    Kelpwright::Game::GameStateInterface*
    FindState(const Kelpwright::Game::GameStateIdentifier& identifier) const;
    size_t GetStateCount() const { return mGameStates.size(); }

private:
    void Advance(Kelpwright::Game::GameStateInterface& state, float frameTime);

    std::map<Kelpwright::Game::GameStateIdentifier, Kelpwright::Game::GameStateInterface*> mGameStates;
    Kelpwright::Game::GameStateIdentifier mCurrentState;
    float mSimulationTime;
};

// The process-wide machine behind the free functions below.
GameStateMachine& GetGameStateMachine();

} // namespace kwImplementation

namespace Kelpwright {
namespace Game {

void AddGameState(GameStateInterface* state);
void RemoveGameState(const GameStateIdentifier& identifier);
void ChangeToGameState(const GameStateIdentifier& identifier);
void UpdateCurrentGameState();
// One frame of the current state that took frameTime seconds of real time.
void UpdateCurrentGameState(float frameTime);

} // namespace Game
} // namespace Kelpwright
