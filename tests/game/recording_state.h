// Test support for the game framework: a game state that logs every callback
// as "<identifier>:<callback>" into a shared list, and an error handler that
// collects report messages while it exists.
#pragma once

#include "core/kw_error.h"
#include "core/kw_noncopyable.h"
#include "game/kw_game_state.h"

#include <functional>
#include <string>
#include <vector>

namespace kwTest {

class RecordingState : public Kelpwright::Game::GameStateInterface, public Kelpwright::Core::Noncopyable {
public:
    RecordingState(Kelpwright::Game::GameStateIdentifier identifier, std::vector<std::string>& log)
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
    bool OnOpen() override
    {
        Record("OnOpen");
        return GameStateInterface::OnOpen();
    }
    void OnClose() override { Record("OnClose"); }

    std::vector<float> deltaTimes;
    std::function<void()> onUpdate; // runs after OnUpdate is logged

private:
    void Record(const char* callback) { mLog.push_back(std::to_string(GetIdentifier()) + ":" + callback); }

    std::vector<std::string>& mLog;
};

class ReportCollector : public Kelpwright::Core::Error::ErrorHandlerInterface {
public:
    ReportCollector() { Kelpwright::Core::Error::AddErrorHandler(this); }
    ~ReportCollector() override { Kelpwright::Core::Error::RemoveErrorHandler(this); }
    void OnErrorFired(const std::string& message) override { messages.push_back(message); }

    std::vector<std::string> messages;
};

} // namespace kwTest
