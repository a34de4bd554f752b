// Kelpwright: the game state base. A state enters the single state machine at
// the end of its base constructor and leaves it in its base destructor, so its
// owner never talks to the machine directly.
#include "game/kw_game_state.h"

#include "game/kw_game_state_machine.h"

namespace Kelpwright {
namespace Game {

GameStateInterface::GameStateInterface(const GameStateIdentifier& stateIdentifier)
    : mIdentifier(stateIdentifier)
{
    AddGameState(this);
}

// NOTE: runs after the derived part is gone, so a current state being removed
// here is closed through this base's empty OnClose, not its own.
GameStateInterface::~GameStateInterface() { RemoveGameState(mIdentifier); }

} // namespace Game
} // namespace Kelpwright
