// Tests of the game application: its constructor checks, RunGame's report, and
// the framework handler's callbacks driven directly (window open, frames, menu
// and auxiliary actions); one real run opens a window and needs a display.
#include "game/kw_game_application.h"

#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "recording_state.h"

#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

using Kelpwright::Application::MenuIdentifier;
using Kelpwright::Application::MenuItemIdentifier;
using Kelpwright::Game::GameApplication;
using Kelpwright::Game::kInvalidGameState;
using kwImplementation::GetGameApplicationState;
using kwImplementation::GetGameStateMachine;
using kwTest::Log;
using kwTest::RecordingState;

namespace {

// A callback's name with the addresses of the references it was given.
typedef std::tuple<std::string, const void*, const void*> Action;

class RecordingActionHandler : public Kelpwright::Application::ApplicationHandlerInterface {
public:
    void OnWindowOpen() override { actions.emplace_back("OnWindowOpen", nullptr, nullptr); }
    void OnWindowClose() override { actions.emplace_back("OnWindowClose", nullptr, nullptr); }
    void OnBecomeActive() override { actions.emplace_back("OnBecomeActive", nullptr, nullptr); }
    void OnBecomeInactive() override { actions.emplace_back("OnBecomeInactive", nullptr, nullptr); }
    void OnRealtimeUpdate() override { actions.emplace_back("OnRealtimeUpdate", nullptr, nullptr); }
    void OnMenuAction(const MenuIdentifier& menu, const MenuItemIdentifier& item) override
    {
        actions.emplace_back("OnMenuAction", &menu, &item);
    }
    void OnAuxiliaryAction(const MenuIdentifier& first, const MenuItemIdentifier& second) override
    {
        actions.emplace_back("OnAuxiliaryAction", &first, &second);
    }

    std::vector<Action> actions;
};

// Each test starts from the module's state before any application existed and
// leaves the process-wide state machine empty with nothing current.
class GameApplicationTest : public testing::Test {
protected:
    void SetUp() override
    {
        handler.gameApplication = nullptr;
        handler.actionHandler = nullptr;
        GetGameApplicationState().instanceExists = false;
        GetGameApplicationState().initialGameState = kInvalidGameState;
    }
    void TearDown() override
    {
        EXPECT_EQ(GetGameStateMachine().GetStateCount(), 0u);
        EXPECT_EQ(GetGameStateMachine().GetCurrentState(), kInvalidGameState);
    }
    Log Take() { return kwTest::Take(log); }

    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    Log log;
    kwTest::ReportCollector reports;
};

} // namespace

TEST_F(GameApplicationTest, ASecondInstanceIsReported)
{
    const std::string alreadySet = "kwInternalError: GameApplication has already been set?";
    {
        GameApplication first;
        EXPECT_TRUE(reports.messages.empty());
        EXPECT_EQ(handler.gameApplication, &first);
        {
            GameApplication second;
            EXPECT_EQ(reports.Take(),
                      (Log{"kwExternalError: Only a single game application instance can exist at a time.", alreadySet}));
            EXPECT_EQ(handler.gameApplication, &second);
        }
        EXPECT_FALSE(GetGameApplicationState().instanceExists);
    }
    // The handler still names the earlier application, so a later one is reported as set.
    GameApplication later;
    EXPECT_EQ(reports.messages, Log{alreadySet});
    EXPECT_TRUE(GetGameApplicationState().instanceExists);
}

TEST_F(GameApplicationTest, WindowOpenChangesToTheStateRunGameWasGiven)
{
    RecordingState first(1, log);
    RecordingState second(2, log);
    handler.OnWindowOpen();
    EXPECT_EQ(reports.Take(), (Log{"kwInternalError: Game Application has not been set.",
                                   "kwInternalError: initial game state is invalid."}));

    GameApplication application;
    GetGameApplicationState().initialGameState = 2;
    handler.OnWindowOpen();
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(Take(), Log{"2:OnOpen"});

    // An identifier no state has: the machine reports and state 2 stays open.
    GetGameApplicationState().initialGameState = 9;
    handler.OnWindowOpen();
    EXPECT_EQ(reports.Take(),
              Log{"kwExternalError: Trying to set GameState with id(9) which does not exists in Game Machine."});
    EXPECT_TRUE(log.empty());

    // RunGame reports an invalid state and keeps it all the same. A run already
    // marked as created makes Execute return at once with its own report, so
    // RunGame can be followed without a window.
    kwImplementation::GetRealtimeApplicationState().created = 1;
    application.RunGame(kInvalidGameState);
    kwImplementation::GetRealtimeApplicationState().created = 0;
    ASSERT_EQ(reports.messages.size(), 2u);
    EXPECT_EQ(reports.Take()[0], "kwExternalError: Expected stateIdentifier to be a valid game state.");
    EXPECT_EQ(GetGameApplicationState().initialGameState, kInvalidGameState);
    // When the window opens: the invalid-state report, then no state is current.
    handler.OnWindowOpen();
    EXPECT_EQ(reports.messages, Log{"kwInternalError: initial game state is invalid."});
    EXPECT_EQ(Take(), Log{"2:OnClose"});
    EXPECT_EQ(GetGameStateMachine().GetCurrentState(), kInvalidGameState);
    handler.OnRealtimeUpdate();
    EXPECT_TRUE(log.empty());
}

TEST_F(GameApplicationTest, ActionsReachOnlyTheRegisteredActionHandler)
{
    RecordingState state(2, log);
    Kelpwright::Game::ChangeToGameState(2);
    GameApplication application;
    RecordingActionHandler actionHandler;
    const MenuIdentifier menu = 0;
    const MenuItemIdentifier exitItem = 1;
    const MenuItemIdentifier otherItem = 4;

    handler.OnMenuAction(menu, exitItem); // none registered: dropped
    application.SetActionHandler(&actionHandler);
    handler.OnMenuAction(menu, exitItem);
    handler.OnMenuAction(menu, otherItem);
    handler.OnAuxiliaryAction(menu, otherItem);
    // Activation and close events are the game's to ignore: neither the states
    // nor the action handler see them. An update is one frame of the state.
    Take();
    handler.OnBecomeActive();
    handler.OnBecomeInactive();
    handler.OnWindowClose();
    EXPECT_TRUE(log.empty());
    handler.OnRealtimeUpdate();
    EXPECT_EQ(Take().back(), "2:OnPostRender");

    // Cleared, as a closing state does: dropped again.
    application.SetActionHandler(nullptr);
    handler.OnMenuAction(menu, exitItem);
    handler.OnAuxiliaryAction(menu, exitItem);
    EXPECT_EQ(actionHandler.actions, (std::vector<Action>{Action("OnMenuAction", &menu, &exitItem),
                                                          Action("OnMenuAction", &menu, &otherItem),
                                                          Action("OnAuxiliaryAction", &menu, &otherItem)}));
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
    // The step counts depend on the time the process-wide machine carries.
    log.erase(std::remove(log.begin(), log.end(), "2:OnSimulate"), log.end());
    Log expected{"2:OnOpen"};
    for (int pass = 0; pass < 3; ++pass) {
        expected.insert(expected.end(), {"2:OnUpdate", "2:OnRender", "2:OnPostRender"});
    }
    EXPECT_EQ(log, expected);
    EXPECT_EQ(GetGameStateMachine().GetCurrentState(), 2);
    EXPECT_EQ(state.deltaTimes, std::vector<float>(3, 0.016666668f));
}
