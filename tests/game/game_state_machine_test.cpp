// Tests of the game state machine: the fixed-step float arithmetic, the order
// of close and open, removal, unregistered identifiers (report, then nothing
// changes), duplicate registration and self-registration of states.
#include "game/kw_game_state_machine.h"

#include "recording_state.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

using Kelpwright::Game::ChangeToGameState;
using Kelpwright::Game::kInvalidGameState;
using Kelpwright::Game::UpdateCurrentGameState;
using kwImplementation::GameStateMachine;
using kwImplementation::GetGameStateMachine;
using kwTest::Frame;
using kwTest::Log;
using kwTest::RecordingState;

namespace {

std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Every test leaves the process-wide machine as it found it: empty, nothing current.
class GameStateMachineTest : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(GetGameStateMachine().GetStateCount(), 0u);
        EXPECT_EQ(GetGameStateMachine().GetCurrentState(), kInvalidGameState);
    }

    Log Take() { return kwTest::Take(log); }

    GameStateMachine machine;
    Log log;
    kwTest::ReportCollector reports;
};

} // namespace

TEST_F(GameStateMachineTest, StepsFollowSinglePrecisionArithmeticAndStopWithNoCurrentState)
{
    RecordingState state(1, log);
    machine.AddState(&state);
    machine.UpdateState(kInvalidGameState);
    machine.ChangeToState(1);
    EXPECT_EQ(Take(), Log{"1:OnOpen"});

    // After the third frame 2^-28 s (about 4e-9) is left: neither used up nor a whole step.
    // The seventh frame starts from the sixth's time: a pause without a current state keeps it.
    const std::uint32_t expectedTime[7] = {0x3BDA7410, 0x3B5A7418, 0x31800000, 0x3BDA7418,
                                           0x3B5A7428, 0x32000000, 0x3BDA7420};
    const size_t expectedSteps[7] = {1, 2, 2, 1, 2, 2, 1};
    for (int frame = 0; frame < 7; ++frame) {
        if (frame == 6) {
            machine.ChangeToState(kInvalidGameState);
            machine.UpdateState(kInvalidGameState);
            UpdateCurrentGameState(); // the process-wide machine has nothing current either
            machine.ChangeToState(1);
            EXPECT_EQ(Take(), (Log{"1:OnClose", "1:OnOpen"}));
        }
        machine.UpdateState(kInvalidGameState);
        EXPECT_EQ(Take(), Frame(1, expectedSteps[frame])) << "frame " << frame + 1;
        EXPECT_EQ(Bits(machine.GetSimulationTime()), expectedTime[frame]) << "frame " << frame + 1;
    }
    EXPECT_EQ(state.deltaTimes, std::vector<float>(7, 0.016666668f)); // 0x3C888889
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameStateMachineTest, ChangesCloseTheCurrentStateBeforeOpeningAndRemovalsCloseIt)
{
    RecordingState first(1, log);
    RecordingState second(2, log);
    machine.AddState(&first);
    machine.AddState(&second);
    EXPECT_TRUE(log.empty()); // registering opens nothing

    machine.ChangeToState(1);
    machine.ChangeToState(2);
    EXPECT_EQ(Take(), (Log{"1:OnOpen", "1:OnClose", "2:OnOpen"}));
    // No shortcut for the state that is already current.
    machine.ChangeToState(2);
    EXPECT_EQ(Take(), (Log{"2:OnClose", "2:OnOpen"}));
    // An identifier names the state to drive, current or not.
    machine.UpdateState(1);
    EXPECT_EQ(Take(), Frame(1, 1));
    machine.ChangeToState(kInvalidGameState);
    EXPECT_EQ(Take(), Log{"2:OnClose"});
    EXPECT_EQ(machine.GetCurrentState(), kInvalidGameState);
    machine.ChangeToState(kInvalidGameState);
    EXPECT_TRUE(log.empty());

    // Removing another state calls nothing on it; removing the current one closes it.
    machine.ChangeToState(1);
    Take();
    machine.RemoveState(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(machine.FindState(2), nullptr);
    EXPECT_EQ(machine.GetCurrentState(), 1);
    machine.RemoveState(1);
    EXPECT_EQ(Take(), Log{"1:OnClose"});
    EXPECT_EQ(machine.GetCurrentState(), kInvalidGameState);
    EXPECT_EQ(machine.GetStateCount(), 0u);

    // A machine going away forgets its states without closing them.
    {
        GameStateMachine other;
        other.AddState(&first);
        other.ChangeToState(1);
        Take();
    }
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameStateMachineTest, UnregisteredIdentifiersReportAndChangeNothing)
{
    RecordingState state(1, log);
    machine.AddState(&state);
    machine.ChangeToState(1);
    machine.UpdateState(kInvalidGameState);
    const std::uint32_t time = Bits(machine.GetSimulationTime());
    Take();

    machine.ChangeToState(9);
    machine.UpdateState(9);
    machine.RemoveState(9);
    EXPECT_EQ(reports.Take(),
              (Log{"kwExternalError: Trying to set GameState with id(9) which does not exists in Game Machine.",
                   "kwExternalError: Trying to update GameState with id(9) which does not exist in Game Machine.",
                   "kwExternalError: Trying to remove GameState with id(9) which does not exists in Game Machine."}));
    EXPECT_TRUE(log.empty()); // the current state stays open
    EXPECT_EQ(Bits(machine.GetSimulationTime()), time);
    EXPECT_EQ(machine.GetStateCount(), 1u);
    EXPECT_EQ(machine.GetCurrentState(), 1);

    // The current state still runs normally: no fault repeats on later frames.
    machine.UpdateState(kInvalidGameState);
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(log.back(), "1:OnPostRender");
}

TEST_F(GameStateMachineTest, StatesEnterAndLeaveTheProcessWideMachineThemselves)
{
    std::unique_ptr<RecordingState> older(new RecordingState(3, log));
    std::unique_ptr<RecordingState> newer(new RecordingState(3, log));
    EXPECT_EQ(reports.Take(), Log{"kwExternalError: GameState with id(3) already exists in Game Machine."});
    EXPECT_EQ(GetGameStateMachine().FindState(3), newer.get());
    EXPECT_EQ(GetGameStateMachine().GetStateCount(), 1u);
    // The older state's removal takes out the entry, which is the newer one's
    // by now, so the newer state's own removal finds nothing.
    older.reset();
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(GetGameStateMachine().FindState(3), nullptr);
    newer.reset();
    EXPECT_EQ(reports.Take(),
              Log{"kwExternalError: Trying to remove GameState with id(3) which does not exists in Game Machine."});

    {
        RecordingState invalid(kInvalidGameState, log);
        EXPECT_EQ(reports.messages,
                  Log{"kwExternalError: GameState with id: kInvalidGameState cannot be added to Game Machine."});
        EXPECT_EQ(GetGameStateMachine().FindState(kInvalidGameState), &invalid);
        // 0 names no state to a change, and the current state to an update.
        ChangeToGameState(kInvalidGameState);
        UpdateCurrentGameState();
    }
    EXPECT_EQ(reports.Take().size(), 1u);
    EXPECT_TRUE(log.empty()); // states never current are never opened or closed

    {
        RecordingState state(2, log);
        ChangeToGameState(2);
        UpdateCurrentGameState();
        EXPECT_EQ(log.front(), "2:OnOpen");
        EXPECT_EQ(Take().back(), "2:OnPostRender");
    }
    // Destroyed while current: closed through the base, whose OnClose is empty.
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(reports.messages.empty());
}
