// A tiny game built against the installed package: one state driven one frame.
#include "core/kw_noncopyable.h"
#include "game/kw_game_state_machine.h"

#include <cstdio>

struct CountingState : Kelpwright::Game::GameStateInterface, Kelpwright::Core::Noncopyable {
    CountingState() : GameStateInterface(7) {}
    void OnSimulate() override { std::printf("consumer: a step of state %d\n", GetIdentifier()); }
};

int main()
{
    CountingState state;
    Kelpwright::Game::ChangeToGameState(state.GetIdentifier());
    Kelpwright::Game::UpdateCurrentGameState();
}
