// The game-state machine under random calls made from outside and from inside the states' callbacks.
#include "game/kw_game_state_machine.h"
#include <memory>
using namespace Kelpwright::Game;
kwImplementation::GameStateMachine& sMachine = kwImplementation::GetGameStateMachine();
const unsigned char *sData, *sEnd;

struct State : GameStateInterface { // each callback spends the next input byte on a call of its own
    using GameStateInterface::GameStateInterface;
    void OnSimulate() override { Act(this); }
    bool OnOpen() override { return Act(this), true; }
    void OnClose() override { Act(this); }
    static void Act(State* self) // a byte: what to call (low 3 bits), an identifier (next 2), a slot
    {
        static std::unique_ptr<State> states[8];
        const GameStateIdentifier op = sData != sEnd ? *sData++ : 0, id = op >> 3 & 3,
                                  current = sMachine.GetCurrentState();
        if (op % 8 == 1)
            ChangeToGameState(id);
        if (op % 8 == 2)
            sMachine.UpdateState(id);
        if (op % 8 == 3)
            RemoveGameState(self != nullptr ? self->GetIdentifier() : id);
        if (op % 8 == 4 &&
            (RemoveGameState(sMachine.GetCurrentState()), current && sMachine.FindState(current)))
            __builtin_trap();
        if (op % 8 > 4 && self == nullptr)
            states[op >> 5].reset(op & 1 ? new State(id) : nullptr);
        if (self == nullptr && sData == sEnd)
            for (std::unique_ptr<State>& state : states)
                state.reset();
    }
};

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    for (sData = data, sEnd = data + size; sData != sEnd;)
        State::Act(nullptr);
    if (sMachine.GetStateCount() != 0 || sMachine.GetCurrentState() != kInvalidGameState)
        __builtin_trap();
    return 0;
}
