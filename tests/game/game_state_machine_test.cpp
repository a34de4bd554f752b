// Tests of the game state machine: the fixed-step float arithmetic, the order
// of close and open, removal, unregistered identifiers (report, then nothing
// changes), duplicate registration and self-registration of states.
#include "game/kw_game_state_machine.h"

#include "recording_state.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using Kelpwright::Game::kInvalidGameState;
using kwImplementation::GameStateMachine;
using kwImplementation::GetGameStateMachine;
using kwTest::RecordingState;
using kwTest::ReportCollector;

namespace {

std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

typedef std::vector<std::string> Log;

// Every test leaves the process-wide machine as it found it: empty, nothing current.
class GameStateMachineTest : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(GetGameStateMachine().GetStateCount(), 0u);
        EXPECT_EQ(GetGameStateMachine().GetCurrentState(), kInvalidGameState);
    }

    Log log;
    ReportCollector reports;
};

} // namespace

TEST_F(GameStateMachineTest, StepsFollowSinglePrecisionArithmetic)
{
    GameStateMachine machine;
    RecordingState state(1, log);
    machine.AddState(&state);
    machine.ChangeToState(1);
    log.clear();

    const std::uint32_t expectedTime[6] = {0x3BDA7410, 0x3B5A7418, 0x31800000, 0x3BDA7418, 0x3B5A7428, 0x32000000};
    const size_t expectedSteps[6] = {1, 2, 2, 1, 2, 2};
    for (int frame = 0; frame < 6; ++frame) {
        log.clear();
        machine.UpdateState(kInvalidGameState);
        Log expected(expectedSteps[frame], "1:OnSimulate");
        expected.insert(expected.end(), {"1:OnUpdate", "1:OnRender", "1:OnPostRender"});
        EXPECT_EQ(log, expected) << "frame " << frame + 1;
        EXPECT_EQ(Bits(machine.GetSimulationTime()), expectedTime[frame]) << "frame " << frame + 1;
        if (frame == 2) {
            // About 4e-9 is left over: neither used up nor a whole step.
            EXPECT_EQ(machine.GetSimulationTime(), 3.7252903e-9f);
            EXPECT_NE(machine.GetSimulationTime(), 0.0f);
            EXPECT_NE(machine.GetSimulationTime(), 0.01f);
        }
    }

    ASSERT_EQ(state.deltaTimes.size(), 6u);
    for (float deltaTime : state.deltaTimes) {
        EXPECT_EQ(Bits(deltaTime), 0x3C888889u); // 0.016666668f
    }
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameStateMachineTest, UpdateByIdentifierDrivesThatState)
{
    GameStateMachine machine;
    RecordingState current(1, log);
    RecordingState other(2, log);
    machine.AddState(&current);
    machine.AddState(&other);
    machine.ChangeToState(1);
    log.clear();

    machine.UpdateState(2);
    EXPECT_EQ(log, (Log{"2:OnSimulate", "2:OnUpdate", "2:OnRender", "2:OnPostRender"}));
}

TEST_F(GameStateMachineTest, NoCurrentStateRunsNothingAndKeepsTheTime)
{
    GameStateMachine machine;
    RecordingState state(1, log);
    machine.AddState(&state);

    machine.UpdateState(kInvalidGameState);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Bits(machine.GetSimulationTime()), 0u);

    machine.ChangeToState(1);
    machine.UpdateState(kInvalidGameState);
    const float afterOneFrame = machine.GetSimulationTime();
    machine.ChangeToState(kInvalidGameState);
    log.clear();

    machine.UpdateState(kInvalidGameState);
    machine.UpdateState(kInvalidGameState);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Bits(machine.GetSimulationTime()), Bits(afterOneFrame));

    // Changing back does not reset the time either: the next frame starts from it.
    machine.ChangeToState(1);
    log.clear();
    machine.UpdateState(kInvalidGameState);
    EXPECT_EQ(log, (Log{"1:OnSimulate", "1:OnSimulate", "1:OnUpdate", "1:OnRender", "1:OnPostRender"}));

    // The process-wide machine with nothing current does the same.
    const float globalTime = GetGameStateMachine().GetSimulationTime();
    Kelpwright::Game::UpdateCurrentGameState();
    EXPECT_EQ(Bits(GetGameStateMachine().GetSimulationTime()), Bits(globalTime));
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameStateMachineTest, ChangesCloseTheCurrentStateBeforeOpening)
{
    GameStateMachine machine;
    RecordingState first(1, log);
    RecordingState second(2, log);
    machine.AddState(&first);
    machine.AddState(&second);
    EXPECT_TRUE(log.empty()); // registering opens nothing

    machine.ChangeToState(1);
    machine.ChangeToState(2);
    EXPECT_EQ(log, (Log{"1:OnOpen", "1:OnClose", "2:OnOpen"}));

    // No shortcut for the state that is already current.
    log.clear();
    machine.ChangeToState(2);
    EXPECT_EQ(log, (Log{"2:OnClose", "2:OnOpen"}));
    EXPECT_EQ(machine.GetCurrentState(), 2);

    log.clear();
    machine.ChangeToState(kInvalidGameState);
    EXPECT_EQ(log, (Log{"2:OnClose"}));
    EXPECT_EQ(machine.GetCurrentState(), kInvalidGameState);

    log.clear();
    machine.ChangeToState(kInvalidGameState);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameStateMachineTest, RemovingStates)
{
    GameStateMachine machine;
    RecordingState first(1, log);
    RecordingState second(2, log);
    machine.AddState(&first);
    machine.AddState(&second);
    machine.ChangeToState(1);
    log.clear();

    machine.RemoveState(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(machine.FindState(2), nullptr);
    EXPECT_EQ(machine.GetCurrentState(), 1);

    machine.RemoveState(1);
    EXPECT_EQ(log, (Log{"1:OnClose"}));
    EXPECT_EQ(machine.GetCurrentState(), kInvalidGameState);
    EXPECT_EQ(machine.GetStateCount(), 0u);
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameStateMachineTest, UnregisteredIdentifiersReportAndChangeNothing)
{
    GameStateMachine machine;
    RecordingState state(1, log);
    machine.AddState(&state);
    machine.ChangeToState(1);
    machine.UpdateState(kInvalidGameState);
    const float time = machine.GetSimulationTime();
    log.clear();

    machine.ChangeToState(9);
    EXPECT_EQ(reports.messages,
              Log{"kwExternalError: Trying to set GameState with id(9) which does not exists in Game Machine."});
    EXPECT_TRUE(log.empty()); // the current state stays open
    EXPECT_EQ(machine.GetCurrentState(), 1);

    reports.messages.clear();
    machine.UpdateState(9);
    EXPECT_EQ(reports.messages,
              Log{"kwExternalError: Trying to update GameState with id(9) which does not exist in Game Machine."});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Bits(machine.GetSimulationTime()), Bits(time));

    reports.messages.clear();
    machine.RemoveState(9);
    EXPECT_EQ(reports.messages,
              Log{"kwExternalError: Trying to remove GameState with id(9) which does not exists in Game Machine."});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(machine.GetStateCount(), 1u);
    EXPECT_EQ(machine.GetCurrentState(), 1);

    // The current state still runs normally: no fault repeats on later frames.
    reports.messages.clear();
    machine.UpdateState(kInvalidGameState);
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(log.back(), "1:OnPostRender");
}

TEST_F(GameStateMachineTest, DuplicateRegistrationKeepsTheNewerState)
{
    std::unique_ptr<RecordingState> older(new RecordingState(3, log));
    EXPECT_TRUE(reports.messages.empty());
    std::unique_ptr<RecordingState> newer(new RecordingState(3, log));
    EXPECT_EQ(reports.messages, Log{"kwExternalError: GameState with id(3) already exists in Game Machine."});
    EXPECT_EQ(GetGameStateMachine().FindState(3), newer.get());
    EXPECT_EQ(GetGameStateMachine().GetStateCount(), 1u);

    // The older state's removal takes out the entry, which is the newer one's
    // by now, so the newer state's own removal finds nothing.
    reports.messages.clear();
    older.reset();
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(GetGameStateMachine().FindState(3), nullptr);
    newer.reset();
    EXPECT_EQ(reports.messages,
              Log{"kwExternalError: Trying to remove GameState with id(3) which does not exists in Game Machine."});
    EXPECT_TRUE(log.empty());
}

TEST_F(GameStateMachineTest, InvalidIdentifierIsReportedAndEnteredAnyway)
{
    {
        RecordingState state(kInvalidGameState, log);
        EXPECT_EQ(reports.messages,
                  Log{"kwExternalError: GameState with id: kInvalidGameState cannot be added to Game Machine."});
        EXPECT_EQ(GetGameStateMachine().FindState(kInvalidGameState), &state);
        // 0 names no state to a change, and the current state to an update.
        Kelpwright::Game::ChangeToGameState(kInvalidGameState);
        Kelpwright::Game::UpdateCurrentGameState();
    }
    EXPECT_EQ(reports.messages.size(), 1u);
    EXPECT_TRUE(log.empty());
}

TEST_F(GameStateMachineTest, StatesRegisterThemselvesAndLeaveWhenDestroyed)
{
    {
        RecordingState first(1, log);
        RecordingState second(2, log);
        EXPECT_EQ(GetGameStateMachine().FindState(1), &first);
        EXPECT_EQ(GetGameStateMachine().FindState(2), &second);
        EXPECT_EQ(GetGameStateMachine().GetCurrentState(), kInvalidGameState);
    }
    // Never current: never opened or closed.
    EXPECT_TRUE(log.empty());

    {
        RecordingState state(2, log);
        Kelpwright::Game::ChangeToGameState(2);
        Kelpwright::Game::UpdateCurrentGameState();
        EXPECT_EQ(log.front(), "2:OnOpen");
        EXPECT_EQ(log.back(), "2:OnPostRender");
        log.clear();
    }
    // Destroyed while current: closed through the base, whose OnClose is empty.
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(GameStateMachineTest, DestroyingTheMachineCallsNoState)
{
    RecordingState state(1, log);
    {
        GameStateMachine machine;
        machine.AddState(&state);
        machine.ChangeToState(1);
        log.clear();
    }
    EXPECT_TRUE(log.empty());
}
