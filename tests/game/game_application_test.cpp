// Tests of the game application: its constructor checks, RunGame's report, and
// the framework handler's callbacks driven directly (window open, frames, menu
// and auxiliary actions); one real run opens a window and needs a display.
#include "game/kw_game_application.h"

#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "recording_state.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using Kelpwright::Application::ApplicationHandlerInterface;
using Kelpwright::Application::MenuIdentifier;
using Kelpwright::Application::MenuItemIdentifier;
using Kelpwright::Game::GameApplication;
using Kelpwright::Game::kInvalidGameState;
using kwImplementation::GetGameApplicationHandler;
using kwImplementation::GetGameApplicationState;
using kwImplementation::GetGameStateMachine;
using kwTest::RecordingState;
using kwTest::ReportCollector;

namespace {

typedef std::vector<std::string> Log;

// Records forwarded actions with the addresses of the references it was given.
class RecordingActionHandler : public ApplicationHandlerInterface {
public:
    struct Action {
        std::string name;
        const MenuIdentifier* first;
        const MenuItemIdentifier* second;
    };

    void OnWindowOpen() override { actions.push_back({"OnWindowOpen", nullptr, nullptr}); }
    void OnWindowClose() override { actions.push_back({"OnWindowClose", nullptr, nullptr}); }
    void OnBecomeActive() override { actions.push_back({"OnBecomeActive", nullptr, nullptr}); }
    void OnBecomeInactive() override { actions.push_back({"OnBecomeInactive", nullptr, nullptr}); }
    void OnRealtimeUpdate() override { actions.push_back({"OnRealtimeUpdate", nullptr, nullptr}); }
    void OnMenuAction(const MenuIdentifier& menuIdentifier, const MenuItemIdentifier& itemIdentifier) override
    {
        actions.push_back({"OnMenuAction", &menuIdentifier, &itemIdentifier});
    }
    void OnAuxiliaryAction(const MenuIdentifier& first, const MenuItemIdentifier& second) override
    {
        actions.push_back({"OnAuxiliaryAction", &first, &second});
    }

    std::vector<Action> actions;
};

// Each test starts from the module's state before any application existed and
// leaves the process-wide state machine empty with nothing current.
class GameApplicationTest : public testing::Test {
protected:
    void SetUp() override { ResetModule(); }
    void TearDown() override
    {
        ResetModule();
        Kelpwright::Game::ChangeToGameState(kInvalidGameState);
        EXPECT_EQ(GetGameStateMachine().GetStateCount(), 0u);
    }

    static void ResetModule()
    {
        GetGameApplicationHandler().gameApplication = nullptr;
        GetGameApplicationHandler().actionHandler = nullptr;
        GetGameApplicationState().instanceExists = false;
        GetGameApplicationState().initialGameState = kInvalidGameState;
    }

    Log log;
    ReportCollector reports;
};

} // namespace

TEST_F(GameApplicationTest, SecondInstanceMakesBothReports)
{
    GameApplication first;
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(GetGameApplicationHandler().gameApplication, &first);
    {
        GameApplication second;
        EXPECT_EQ(reports.messages, (Log{"kwExternalError: Only a single game application instance can exist at a time.",
                                         "kwInternalError: GameApplication has already been set?"}));
        EXPECT_EQ(GetGameApplicationHandler().gameApplication, &second);
    }
    EXPECT_FALSE(GetGameApplicationState().instanceExists);
}

TEST_F(GameApplicationTest, InstanceAfterAnEarlierOneIsGoneIsStillReportedAsSet)
{
    { GameApplication earlier; }
    EXPECT_FALSE(GetGameApplicationState().instanceExists);
    GameApplication later;
    EXPECT_EQ(reports.messages, Log{"kwInternalError: GameApplication has already been set?"});
    EXPECT_TRUE(GetGameApplicationState().instanceExists);
}

TEST_F(GameApplicationTest, RunGameWithInvalidStateReportsAndRunsAnyway)
{
    RecordingState state(1, log);
    GameApplication application;
    Kelpwright::Game::ChangeToGameState(1);
    log.clear();

    // A run already marked as created makes Execute return at once with its own
    // report, so RunGame can be followed without a window.
    kwImplementation::GetRealtimeApplicationState().created = 1;
    GetGameApplicationState().initialGameState = 7;
    application.RunGame(kInvalidGameState);
    kwImplementation::GetRealtimeApplicationState().created = 0;

    ASSERT_EQ(reports.messages.size(), 2u);
    EXPECT_EQ(reports.messages[0], "kwExternalError: Expected stateIdentifier to be a valid game state.");
    EXPECT_EQ(GetGameApplicationState().initialGameState, kInvalidGameState);

    // When the window opens: the invalid-state report, then no state is current.
    reports.messages.clear();
    GetGameApplicationHandler().OnWindowOpen();
    EXPECT_EQ(reports.messages, Log{"kwInternalError: initial game state is invalid."});
    EXPECT_EQ(log, Log{"1:OnClose"});
    EXPECT_EQ(GetGameStateMachine().GetCurrentState(), kInvalidGameState);

    log.clear();
    GetGameApplicationHandler().OnRealtimeUpdate();
    EXPECT_TRUE(log.empty());
}

TEST_F(GameApplicationTest, WindowOpenChecksThenChangesToTheInitialState)
{
    RecordingState first(1, log);
    RecordingState second(2, log);

    GetGameApplicationHandler().OnWindowOpen();
    EXPECT_EQ(reports.messages, (Log{"kwInternalError: Game Application has not been set.",
                                     "kwInternalError: initial game state is invalid."}));

    reports.messages.clear();
    GameApplication application;
    GetGameApplicationState().initialGameState = 2;
    GetGameApplicationHandler().OnWindowOpen();
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(log, Log{"2:OnOpen"});
    EXPECT_EQ(GetGameStateMachine().GetCurrentState(), 2);

    // An identifier no state has: the machine reports and state 2 stays open.
    log.clear();
    GetGameApplicationState().initialGameState = 9;
    GetGameApplicationHandler().OnWindowOpen();
    EXPECT_EQ(reports.messages,
              Log{"kwExternalError: Trying to set GameState with id(9) which does not exists in Game Machine."});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(GetGameStateMachine().GetCurrentState(), 2);
}

TEST_F(GameApplicationTest, EachRealtimeUpdateIsOneFrameOfTheCurrentState)
{
    RecordingState state(2, log);
    Kelpwright::Game::ChangeToGameState(2);

    for (int frame = 0; frame < 3; ++frame) {
        log.clear();
        GetGameApplicationHandler().OnRealtimeUpdate();
        // The step count depends on the time the process-wide machine carries.
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(Log(log.end() - 3, log.end()), (Log{"2:OnUpdate", "2:OnRender", "2:OnPostRender"}));
    }
    ASSERT_EQ(state.deltaTimes.size(), 3u);
    EXPECT_EQ(state.deltaTimes[2], 0.016666668f);

    // Activation and close events leave the states alone.
    log.clear();
    GetGameApplicationHandler().OnBecomeActive();
    GetGameApplicationHandler().OnBecomeInactive();
    GetGameApplicationHandler().OnWindowClose();
    Kelpwright::Application::WindowProperties properties = {800, 600};
    GetGameApplicationHandler().CollectWindowProperties(properties);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(properties.width, 800);
    EXPECT_EQ(properties.height, 600);
    EXPECT_EQ(GetGameStateMachine().GetCurrentState(), 2);
}

TEST_F(GameApplicationTest, ActionsReachOnlyTheRegisteredActionHandler)
{
    GameApplication application;
    RecordingActionHandler actionHandler;
    const MenuIdentifier menu = 0;
    const MenuItemIdentifier exitItem = 1;
    const MenuItemIdentifier otherItem = 4;

    // None registered: dropped.
    GetGameApplicationHandler().OnMenuAction(menu, exitItem);
    GetGameApplicationHandler().OnAuxiliaryAction(menu, exitItem);

    application.SetActionHandler(&actionHandler);
    EXPECT_EQ(GetGameApplicationHandler().actionHandler, &actionHandler);
    GetGameApplicationHandler().OnMenuAction(menu, exitItem);
    GetGameApplicationHandler().OnMenuAction(menu, otherItem);
    GetGameApplicationHandler().OnAuxiliaryAction(menu, otherItem);
    // Window callbacks are the game's, not the action handler's.
    GetGameApplicationHandler().OnWindowClose();
    GetGameApplicationHandler().OnBecomeActive();
    GetGameApplicationHandler().OnRealtimeUpdate();

    ASSERT_EQ(actionHandler.actions.size(), 3u);
    EXPECT_EQ(actionHandler.actions[0].name, "OnMenuAction");
    EXPECT_EQ(actionHandler.actions[0].first, &menu);
    EXPECT_EQ(actionHandler.actions[0].second, &exitItem);
    EXPECT_EQ(actionHandler.actions[1].name, "OnMenuAction");
    EXPECT_EQ(actionHandler.actions[1].second, &otherItem);
    EXPECT_EQ(actionHandler.actions[2].name, "OnAuxiliaryAction");
    EXPECT_EQ(actionHandler.actions[2].first, &menu);
    EXPECT_EQ(actionHandler.actions[2].second, &otherItem);

    // Cleared, as a closing state does: dropped again.
    application.SetActionHandler(nullptr);
    GetGameApplicationHandler().OnMenuAction(menu, exitItem);
    GetGameApplicationHandler().OnAuxiliaryAction(menu, exitItem);
    EXPECT_EQ(actionHandler.actions.size(), 3u);
    EXPECT_TRUE(reports.messages.empty());
}

// A real window: the first state is opened from window creation, every loop
// pass is one frame, and the state stays current after the loop ends. A run
// happens once per process (the run keeps its window handle, and Win32 leaves
// the teardown's quit message queued), as ctest runs each case.
TEST_F(GameApplicationTest, RunGameOpensTheStateAndDrivesOneFramePerPass)
{
    RecordingState other(1, log);
    RecordingState state(2, log);
    GameApplication application;
    int updates = 0;
    state.onUpdate = [&application, &updates]() {
        if (++updates == 3) {
            application.Close();
        }
    };

    application.RunGame(2);

    EXPECT_TRUE(reports.messages.empty());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "2:OnOpen");
    Log withoutSteps;
    for (const std::string& entry : log) {
        if (entry != "2:OnSimulate") {
            withoutSteps.push_back(entry);
        }
    }
    EXPECT_EQ(withoutSteps, (Log{"2:OnOpen", "2:OnUpdate", "2:OnRender", "2:OnPostRender", "2:OnUpdate", "2:OnRender",
                                 "2:OnPostRender", "2:OnUpdate", "2:OnRender", "2:OnPostRender"}));
    EXPECT_EQ(GetGameStateMachine().GetCurrentState(), 2);
    for (float deltaTime : state.deltaTimes) {
        EXPECT_EQ(deltaTime, 0.016666668f);
    }
}
