// Kelpwright: game states, known to the state machine by 16-bit identifiers.
// A state registers itself on construction and leaves the machine when it is
// destroyed, so its owner never talks to the machine directly.
#pragma once

#include <cstdint>

namespace Kelpwright {
namespace Game {

typedef std::uint16_t GameStateIdentifier;

// Stands for "no state": cannot be added, and means "the current state" to UpdateState.
const GameStateIdentifier kInvalidGameState = 0;

class GameStateInterface {
public:
    explicit GameStateInterface(const GameStateIdentifier& stateIdentifier);
    // Pure with a body: the class is abstract although every callback has a default.
    virtual ~GameStateInterface() = 0;
    // The machine knows a state by its address: a copy would take the
    // original's entry with it when it is destroyed.
    GameStateInterface(const GameStateInterface&) = delete;
    GameStateInterface& operator=(const GameStateInterface&) = delete;

    virtual void OnSimulate() {}
    virtual void OnUpdate(float deltaTime) { (void)deltaTime; }
    virtual void OnRender() {}
    virtual void OnPostRender() {}
    virtual bool OnOpen() { return true; }
    virtual void OnClose() {}

    const GameStateIdentifier& GetIdentifier() const { return mIdentifier; }

private:
    const GameStateIdentifier mIdentifier;
};

} // namespace Game
} // namespace Kelpwright
