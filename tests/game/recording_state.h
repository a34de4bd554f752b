// Test support: a game state that logs each callback as "<identifier>:<name>",
// and the callbacks one frame of a state makes.
#pragma once

#include "../core/report_collector.h"
#include "core/kw_noncopyable.h"
#include "game/kw_game_state.h"

#include <string>


namespace kwTest {

inline Log Frame(int identifier, size_t steps)
{
    const std::string state = std::to_string(identifier) + ":";
    Log frame(steps, state + "OnSimulate");
    for (const char* callback : {"OnUpdate", "OnRender", "OnPostRender"}) {
        frame.push_back(state + callback);
    }
    return frame;
}

class RecordingState : public Kelpwright::Game::GameStateInterface, public Kelpwright::Core::Noncopyable {
public:
    RecordingState(Kelpwright::Game::GameStateIdentifier identifier, Log& log)
        : GameStateInterface(identifier)
        , mLog(log)
    {
    }
    void OnSimulate() override { Record("OnSimulate"); }
    void OnUpdate(float deltaTime) override
    {
        deltaTimes.push_back(deltaTime);
        Record("OnUpdate");
    }
    void OnRender() override { Record("OnRender"); }
    void OnPostRender() override { Record("OnPostRender"); }
    bool OnOpen() override { return Record("OnOpen"), GameStateInterface::OnOpen(); }
    void OnClose() override { Record("OnClose"); }

    std::vector<float> deltaTimes;

private:
    void Record(const char* callback) { mLog.push_back(std::to_string(GetIdentifier()) + ":" + callback); }

    Log& mLog;
};

} // namespace kwTest
