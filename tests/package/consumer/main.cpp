// A tiny game built against the installed Kelpwright package: one state made
// current and driven for one frame, without a window.
#include "core/kw_noncopyable.h"
#include "game/kw_game_state_machine.h"

#include <cstdio>

namespace {

class CountingState : public Kelpwright::Game::GameStateInterface, public Kelpwright::Core::Noncopyable {
public:
    CountingState()
        : GameStateInterface(7)
    {
    }
    void OnSimulate() override { ++steps; }
    int steps = 0;
};

} // namespace

int main()
{
    CountingState state;
    Kelpwright::Game::ChangeToGameState(state.GetIdentifier());
    Kelpwright::Game::UpdateCurrentGameState();
    std::printf("consumer: %d step, state %d current\n", state.steps,
                static_cast<int>(kwImplementation::GetGameStateMachine().GetCurrentState()));
    return 0;
}
