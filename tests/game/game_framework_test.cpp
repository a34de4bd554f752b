// Tests of the game framework: the machine's single-precision steps, the order
// of close and open, removal, reports for unknown identifiers and duplicates,
// and the game application's checks and callbacks (driven without a window).
#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "math/float_bits.h"
#include "recording_state.h"

#include <memory>
#include <tuple>

#include <gtest/gtest.h>

using Kelpwright::Game::kInvalidGameState;
using kwImplementation::GetGameStateMachine;
using kwTest::Frame;
using kwTest::Log;
using kwTest::RecordingState;

namespace {

// Each case leaves the process-wide machine empty with nothing current.
class GameFramework : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(GetGameStateMachine().GetStateCount() + GetGameStateMachine().GetCurrentState(), 0u); }
    Log Take() { return Log(std::move(log)); }

    kwImplementation::GameStateMachine machine;
    Log log;
    kwTest::ReportCollector reports;
};

} // namespace

TEST_F(GameFramework, StepsFollowSinglePrecisionTimeAndPauseWithoutACurrentState)
{
    RecordingState state(1, log);
    machine.AddState(&state);
    machine.UpdateState(kInvalidGameState); // nothing current: nothing runs, no time passes
    machine.ChangeToState(1);
    EXPECT_EQ(Take(), Log{"1:OnOpen"});
    // After the third frame 2^-28 s is left; frame 7 starts from frame 6's time after a pause.
    const std::uint32_t time[7] = {0x3BDA7410, 0x3B5A7418, 0x31800000, 0x3BDA7418, 0x3B5A7428, 0x32000000, 0x3BDA7420};
    const size_t steps[7] = {1, 2, 2, 1, 2, 2, 1};
    for (int frame = 0; frame < 7; ++frame) {
        if (frame == 6) {
            machine.ChangeToState(kInvalidGameState);
            machine.UpdateState(kInvalidGameState);
            machine.ChangeToState(1);
            EXPECT_EQ(Take(), (Log{"1:OnClose", "1:OnOpen"}));
        }
        machine.UpdateState(kInvalidGameState);
        EXPECT_EQ(Take(), Frame(1, steps[frame])) << frame;
        EXPECT_EQ(kwTest::Bits(machine.GetSimulationTime()), time[frame]) << frame;
    }
    EXPECT_EQ(state.deltaTimes, std::vector<float>(7, 0.016666668f));
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameFramework, ChangesCloseBeforeOpeningAndRemovingTheCurrentStateClosesIt)
{
    RecordingState first(1, log), second(2, log);
    machine.AddState(&first);
    machine.AddState(&second);
    machine.ChangeToState(1);
    machine.ChangeToState(2);
    machine.ChangeToState(2); // no shortcut for the current state
    machine.UpdateState(1);   // an identifier names the state to drive, current or not
    machine.ChangeToState(kInvalidGameState);
    EXPECT_EQ(Take(), (Log{"1:OnOpen", "1:OnClose", "2:OnOpen", "2:OnClose", "2:OnOpen", "1:OnSimulate", "1:OnUpdate",
                           "1:OnRender", "1:OnPostRender", "2:OnClose"}));
    machine.ChangeToState(1);
    machine.RemoveState(2);
    machine.RemoveState(1);
    EXPECT_EQ(Take(), (Log{"1:OnOpen", "1:OnClose"}));
    EXPECT_EQ(machine.GetStateCount() + machine.GetCurrentState(), 0u);
    machine.AddState(&first);
    machine.ChangeToState(1);
    {
        kwImplementation::GameStateMachine other; // going away, it forgets its states without closing them
        other.AddState(&first);
        other.ChangeToState(1);
    }
    EXPECT_EQ(Take(), (Log{"1:OnOpen", "1:OnOpen"}));
    EXPECT_TRUE(reports.messages.empty());

    // Unknown identifiers: reported, and the open state stays open with its time unchanged.
    const float time = machine.GetSimulationTime();
    machine.ChangeToState(9);
    machine.UpdateState(9);
    machine.RemoveState(9);
    EXPECT_EQ(reports.Take(),
              (Log{"kwExternalError: Trying to set GameState with id(9) which does not exists in Game Machine.",
                   "kwExternalError: Trying to update GameState with id(9) which does not exist in Game Machine.",
                   "kwExternalError: Trying to remove GameState with id(9) which does not exists in Game Machine."}));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(machine.GetSimulationTime(), time);
    EXPECT_EQ(machine.GetCurrentState(), 1);
    machine.RemoveState(1);
}

TEST_F(GameFramework, StatesRegisterThemselvesAndDuplicatesAreReported)
{
    std::unique_ptr<RecordingState> older(new RecordingState(3, log));
    std::unique_ptr<RecordingState> newer(new RecordingState(3, log));
    EXPECT_EQ(reports.Take(), Log{"kwExternalError: GameState with id(3) already exists in Game Machine."});
    EXPECT_EQ(GetGameStateMachine().FindState(3), newer.get());
    older.reset(); // takes out the entry, which is the newer state's by now
    EXPECT_EQ(GetGameStateMachine().FindState(3), nullptr);
    newer.reset();
    EXPECT_EQ(reports.Take(), Log{"kwExternalError: Trying to remove GameState with id(3) which does not exists in Game Machine."});
    {
        RecordingState invalid(kInvalidGameState, log);
        EXPECT_EQ(reports.Take(), Log{"kwExternalError: GameState with id: kInvalidGameState cannot be added to Game Machine."});
        Kelpwright::Game::ChangeToGameState(kInvalidGameState); // 0 names no state
        Kelpwright::Game::UpdateCurrentGameState();
        RecordingState state(2, log);
        Kelpwright::Game::ChangeToGameState(2);
        Kelpwright::Game::UpdateCurrentGameState();
        EXPECT_EQ(Take(), (Log{"2:OnOpen", "2:OnSimulate", "2:OnUpdate", "2:OnRender", "2:OnPostRender"}));
    } // destroyed while current: closed through the base, whose OnClose is empty
    EXPECT_TRUE(log.empty());
}

TEST_F(GameFramework, GameApplicationChecksAndForwardsToTheStatesActionHandler)
{
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    handler.OnWindowOpen();
    EXPECT_EQ(reports.Take(), (Log{"kwInternalError: Game Application has not been set.", "kwInternalError: initial game state is invalid."}));
    const std::string alreadySet = "kwInternalError: GameApplication has already been set?";
    std::unique_ptr<Kelpwright::Game::GameApplication> first(new Kelpwright::Game::GameApplication);
    EXPECT_TRUE(reports.messages.empty());
    {
        Kelpwright::Game::GameApplication second;
        EXPECT_EQ(reports.Take(), (Log{"kwExternalError: Only a single game application instance can exist at a time.", alreadySet}));
        EXPECT_EQ(handler.gameApplication, &second);
    }
    first.reset();
    Kelpwright::Game::GameApplication application; // the handler still names the last one
    EXPECT_EQ(reports.Take(), Log{alreadySet});

    // RunGame keeps an invalid first state after its report (a run already marked as created returns at once).
    RecordingState state(2, log);
    kwImplementation::GetRealtimeApplicationState().created = 1;
    application.RunGame(kInvalidGameState);
    application.RunGame(2);
    kwImplementation::GetRealtimeApplicationState().created = 0;
    EXPECT_EQ(reports.Take().at(0), "kwExternalError: Expected stateIdentifier to be a valid game state.");
    handler.OnWindowOpen();
    handler.OnRealtimeUpdate(); // one frame (its step count depends on the time the machine carries)
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front() + " " + log.back(), "2:OnOpen 2:OnPostRender");
    log.clear();

    // Menu and auxiliary actions reach the registered handler with the same references; activation reaches nobody.
    struct Actions : Kelpwright::Application::ApplicationHandlerInterface {
        void OnMenuAction(const unsigned short& menu, const unsigned short& item) override { seen.emplace_back(&menu, &item); }
        void OnAuxiliaryAction(const unsigned short& a, const unsigned short& b) override { seen.emplace_back(&b, &a); }
        void OnBecomeActive() override { seen.emplace_back(nullptr, nullptr); }
        std::vector<std::pair<const void*, const void*>> seen;
    } actions;
    const unsigned short menu = 0, item = 1;
    handler.OnMenuAction(menu, item); // none registered: dropped
    application.SetActionHandler(&actions);
    handler.OnMenuAction(menu, item);
    handler.OnAuxiliaryAction(menu, item);
    handler.OnBecomeActive();
    handler.OnWindowClose();
    application.SetActionHandler(nullptr);
    handler.OnMenuAction(menu, item);
    EXPECT_EQ(actions.seen, (std::vector<std::pair<const void*, const void*>>{{&menu, &item}, {&item, &menu}}));
    EXPECT_TRUE(log.empty() && reports.messages.empty());
}
