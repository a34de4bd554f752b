// Test support for the game framework: a game state that logs every callback
// as "<identifier>:<callback>" into a shared list, and the list of callbacks
// one frame should make.
#pragma once

#include "../core/report_collector.h"
#include "core/kw_noncopyable.h"
#include "game/kw_game_state.h"

#include <functional>
#include <string>
#include <vector>

namespace kwTest {

// One frame of the given state: its simulation steps, then update, render and post-render.
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
        if (onUpdate) {
            onUpdate();
        }
    }
    void OnRender() override { Record("OnRender"); }
    void OnPostRender() override { Record("OnPostRender"); }
    bool OnOpen() override { Record("OnOpen"); return GameStateInterface::OnOpen(); }
    void OnClose() override { Record("OnClose"); }

    std::vector<float> deltaTimes;
    std::function<void()> onUpdate; // runs after OnUpdate is logged

private:
    void Record(const char* callback) { mLog.push_back(std::to_string(GetIdentifier()) + ":" + callback); }

    Log& mLog;
};

} // namespace kwTest
