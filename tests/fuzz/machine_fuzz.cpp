// The game-state machine under random calls made from outside and from inside the states' callbacks.
#include "game/kw_game_state_machine.h"

#include <memory>

using namespace Kelpwright::Game;

namespace {

kwImplementation::GameStateMachine& sMachine = kwImplementation::GetGameStateMachine();
const unsigned char* sData = nullptr;
const unsigned char* sEnd = nullptr;

void Act(GameStateInterface* self);

// Each callback spends the next input byte on a call of its own.
struct State : GameStateInterface {
    using GameStateInterface::GameStateInterface;
    void OnSimulate() override { Act(this); }
    bool OnOpen() override
    {
        Act(this);
        return true;
    }
    void OnClose() override { Act(this); }
};

std::unique_ptr<State> sStates[8];

// A byte: what to call (low 3 bits), an identifier (the next 2), a slot of sStates (the top 3).
void Act(GameStateInterface* self)
{
    const unsigned op = sData != sEnd ? *sData++ : 0;
    const GameStateIdentifier identifier = static_cast<GameStateIdentifier>(op >> 3 & 3);
    const GameStateIdentifier current = sMachine.GetCurrentState();
    switch (op % 8) {
    case 1:
        ChangeToGameState(identifier);
        break;
    case 2:
        sMachine.UpdateState(identifier);
        break;
    case 3:
        RemoveGameState(self != nullptr ? self->GetIdentifier() : identifier);
        break;
    case 4:
        // Removing the current state never leaves it in the table.
        RemoveGameState(sMachine.GetCurrentState());
        if (current != kInvalidGameState && sMachine.FindState(current) != nullptr) {
            __builtin_trap();
        }
        break;
    default:
        // Making and destroying states only from outside the callbacks.
        if (op % 8 > 4 && self == nullptr) {
            sStates[op >> 5].reset((op & 1) != 0 ? new State(identifier) : nullptr);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    sData = data;
    sEnd = data + size;
    while (sData != sEnd) {
        Act(nullptr);
    }
    for (std::unique_ptr<State>& state : sStates) {
        state.reset();
    }
    // Every state is gone, so none may stay registered or current.
    if (sMachine.GetStateCount() != 0 || sMachine.GetCurrentState() != kInvalidGameState) {
        __builtin_trap();
    }
    return 0;
}
