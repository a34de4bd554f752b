// Tests of the game framework without a window: the machine's single-precision steps, its calls and
// reports, states registering themselves, and the game application's checks and forwarding.
#include "../core/report_collector.h"
#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "math/float_bits.h"

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

using Kelpwright::Game::GameStateIdentifier;
using Kelpwright::Game::kInvalidGameState;
using kwImplementation::GetGameStateMachine;
using kwTest::Log;

namespace {

const float kFrameTime = 0.016666668f;
const std::string kFrame = "1:frame,render,post";

// Logs each callback as "<identifier>:<name>"; a frame is one entry, "1:frame,render,post".
struct RecordingState : Kelpwright::Game::GameStateInterface {
    RecordingState(GameStateIdentifier identifier, Log& log)
        : GameStateInterface(identifier)
        , log(log)
    {
    }
    void OnSimulate() override { Record("step"); }
    void OnUpdate(float deltaTime) override
    {
        EXPECT_EQ(deltaTime, kFrameTime);
        Record("frame");
    }
    void OnRender() override { log.back() += ",render"; }
    void OnPostRender() override { log.back() += ",post"; }
    bool OnOpen() override
    {
        Record("open");
        return true;
    }
    void OnClose() override
    {
        Record("close");
        if (onClose) {
            onClose();
        }
    }
    void Record(const char* name) { log.push_back(std::to_string(GetIdentifier()) + ":" + name); }

    Log& log;
    std::function<void()> onClose;
};

// States 1 and 2 and a machine of the test's own; each case leaves the process-wide machine empty.
class GameStateMachineTest : public testing::Test {
protected:
    void SetUp() override
    {
        states[0] = std::make_unique<RecordingState>(1, log);
        states[1] = std::make_unique<RecordingState>(2, log);
    }
    void TearDown() override
    {
        states[0].reset();
        states[1].reset();
        EXPECT_EQ(GetGameStateMachine().GetStateCount(), 0u) << "a state is still registered";
        EXPECT_EQ(GetGameStateMachine().GetCurrentState(), kInvalidGameState) << "a state is still current";
    }
    // Runs calls such as "+1 >2 u1 -2": add state 1, change to 2, update 1, remove 2.
    void Run(const std::string& calls)
    {
        std::istringstream in(calls);
        char kind = 0;
        while (in >> kind) {
            GameStateIdentifier identifier = 0;
            in >> identifier;
            switch (kind) {
            case '+':
                machine.AddState(states.at(identifier - 1u).get());
                break;
            case '>':
                machine.ChangeToState(identifier);
                break;
            case 'u':
                machine.UpdateState(identifier);
                break;
            case '-':
                machine.RemoveState(identifier);
                break;
            default:
                ADD_FAILURE() << "unknown call " << kind;
            }
        }
    }
    Log Take() { return Log(std::move(log)); }

    Log log;
    kwTest::ReportCollector reports;
    kwImplementation::GameStateMachine machine;
    std::array<std::unique_ptr<RecordingState>, 2> states;
};

std::string Formatted(const char* format, int identifier)
{
    char text[160];
    std::snprintf(text, sizeof text, format, identifier);
    return text;
}

} // namespace

TEST_F(GameStateMachineTest, StepsFollowSinglePrecisionTime)
{
    // Five steps of 0.01 s for every three frames of 1/60 s, the time rounded to float after each sum.
    const struct {
        int steps;
        std::uint32_t timeLeft;
    } kFrames[] = {
        {1, 0x3BDA7410}, {2, 0x3B5A7418}, {2, 0x31800000}, // 2^-28 s left over, not 0 nor 0.01
        {1, 0x3BDA7418}, {2, 0x3B5A7428}, {2, 0x32000000},
    };
    Run("+1 >1");
    Take();
    for (const auto& frame : kFrames) {
        SCOPED_TRACE(&frame - kFrames);
        Run("u0");
        Log expected(frame.steps, "1:step");
        expected.push_back(kFrame);
        EXPECT_EQ(Take(), expected);
        EXPECT_EQ(kwTest::Bits(machine.GetSimulationTime()), frame.timeLeft);
    }
}

TEST_F(GameStateMachineTest, NoCurrentStateRunsNothing)
{
    Run("+1 >1 u0 >0");
    Take();
    const float timeLeft = machine.GetSimulationTime();
    Run("u0");
    EXPECT_EQ(Take(), Log{});
    EXPECT_EQ(machine.GetSimulationTime(), timeLeft) << "time passed while no state was current";
}

TEST_F(GameStateMachineTest, CallsReachTheStates)
{
    const struct {
        const char* calls;
        Log log;
        GameStateIdentifier current;
    } kCalls[] = {
        {"+1 +2 >1 >2", {"1:open", "1:close", "2:open"}, 2}, // a change closes before it opens
        {"+1 >1 >1", {"1:open", "1:close", "1:open"}, 1}, // no shortcut for the current state
        {"+1 >1 >0", {"1:open", "1:close"}, kInvalidGameState}, // 0: no state current
        {"+1 +2 >1 -1", {"1:open", "1:close"}, kInvalidGameState}, // removing the current closes it
        {"+1 +2 >1 -2", {"1:open"}, 1}, // removing another calls nothing
        {"+1 +2 >1 u2",
         {"1:open", "2:step", "2:frame,render,post"},
         1}, // an identifier names the state driven
        {"+1 >1 >9 u9 -9", {"1:open"}, 1}, // unknown: the current stays open
    };
    for (const auto& row : kCalls) {
        SCOPED_TRACE(row.calls);
        machine = kwImplementation::GameStateMachine();
        Run(row.calls);
        EXPECT_EQ(Take(), row.log);
        EXPECT_EQ(machine.GetCurrentState(), row.current);
    }
}

TEST_F(GameStateMachineTest, MisuseIsReported)
{
    const char* const kSet =
        "kwExternalError: Trying to set GameState with id(%d) which does not exists in Game Machine.";
    const char* const kUpdate =
        "kwExternalError: Trying to update GameState with id(%d) which does not exist in Game Machine.";
    const char* const kRemove =
        "kwExternalError: Trying to remove GameState with id(%d) which does not exists in Game Machine.";
    const char* const kDuplicate = "kwExternalError: GameState with id(%d) already exists in Game Machine.";
    const struct {
        const char* calls;
        std::string report;
    } kMisuse[] = {
        {">9", Formatted(kSet, 9)},
        {"u9", Formatted(kUpdate, 9)},
        {"-9", Formatted(kRemove, 9)},
        {"+2 +2", Formatted(kDuplicate, 2)},
    };
    for (const auto& row : kMisuse) {
        SCOPED_TRACE(row.calls);
        Run(row.calls);
        EXPECT_EQ(reports.Take(), Log{row.report});
    }
}

TEST_F(GameStateMachineTest, RemovalByTheCurrentIdentifierItself)
{
    Run("+1 >1");
    machine.RemoveState(machine.GetCurrentState()); // a reference the closing clears
    EXPECT_EQ(machine.FindState(1), nullptr);
    EXPECT_EQ(Take(), (Log{"1:open", "1:close"}));
}

TEST_F(GameStateMachineTest, StateToOpenRemovedByTheClosingOne)
{
    Run("+1 +2 >1");
    states[0]->onClose = [this] { machine.RemoveState(2); };
    Run(">2");
    EXPECT_EQ(machine.GetCurrentState(), kInvalidGameState) << "a state the machine does not hold is current";
    EXPECT_EQ(
        reports.Take(),
        Log{"kwInternalError: Trying to open GameState with id(2) which does not exists in Game Machine."});
    EXPECT_EQ(Take(), (Log{"1:open", "1:close"}));
}

TEST_F(GameStateMachineTest, StatesRegisterThemselves)
{
    {
        RecordingState older(3, log);
        RecordingState newer(3, log);
        EXPECT_EQ(GetGameStateMachine().FindState(3), &newer) << "a duplicate replaces the older entry";
    } // the newer goes first and takes the entry; the older then finds none
    EXPECT_EQ(
        reports.Take(),
        (Log{
            "kwExternalError: GameState with id(3) already exists in Game Machine.",
            "kwExternalError: Trying to remove GameState with id(3) which does not exists in Game Machine."}));
    {
        RecordingState current(3, log);
        Kelpwright::Game::ChangeToGameState(3);
    } // destroyed while current: closed through the base, whose OnClose is empty
    EXPECT_EQ(Take(), Log{"3:open"});
}

TEST_F(GameStateMachineTest, InvalidIdentifierIsEnteredButNeverDriven)
{
    RecordingState invalid(kInvalidGameState, log);
    EXPECT_EQ(reports.Take(),
              Log{"kwExternalError: GameState with id: kInvalidGameState cannot be added to Game Machine."});
    EXPECT_EQ(GetGameStateMachine().FindState(kInvalidGameState), &invalid);
    Kelpwright::Game::ChangeToGameState(kInvalidGameState);
    Kelpwright::Game::UpdateCurrentGameState();
    EXPECT_EQ(Take(), Log{});
}

// Runs first among the game application cases: no GameApplication exists yet in this program.
TEST(GameApplication, ChecksItsUse)
{
    kwTest::ReportCollector reports;
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    handler.OnWindowOpen();
    EXPECT_EQ(reports.Take(),
              (Log{"kwInternalError: Game Application has not been set.",
                   "kwInternalError: initial game state is invalid."}));
    const std::string alreadySet = "kwInternalError: GameApplication has already been set?";
    {
        Kelpwright::Game::GameApplication first;
        EXPECT_EQ(reports.Take(), Log{});
        Kelpwright::Game::GameApplication second;
        EXPECT_EQ(handler.gameApplication, &second) << "the handler follows the newest application";
        EXPECT_EQ(reports.Take(),
                  (Log{"kwExternalError: Only a single game application instance can exist at a time.",
                       alreadySet}));
    }
    Kelpwright::Game::GameApplication later; // the handler still names the last one; the flag was cleared
    EXPECT_EQ(reports.Take(), Log{alreadySet});

    // A run marked as created returns at once, after RunGame's own check.
    kwImplementation::GetRealtimeApplicationState().created = 1;
    later.RunGame(kInvalidGameState);
    kwImplementation::GetRealtimeApplicationState().created = 0;
    const Log afterRun = reports.Take();
    ASSERT_FALSE(afterRun.empty());
    EXPECT_EQ(afterRun[0], "kwExternalError: Expected stateIdentifier to be a valid game state.");
}

TEST(GameApplication, ForwardsActionsToTheActionHandler)
{
    struct : Kelpwright::Application::ApplicationHandlerInterface {
        void OnMenuAction(const std::uint16_t& menu, const std::uint16_t& item) override
        {
            calls.push_back("menu " + std::to_string(menu) + " " + std::to_string(item));
        }
        void OnAuxiliaryAction(const std::uint16_t& first, const std::uint16_t& second) override
        {
            calls.push_back("auxiliary " + std::to_string(first) + " " + std::to_string(second));
        }
        Log calls;
    } actions;
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    Kelpwright::Game::GameApplication application;
    application.SetActionHandler(&actions);
    handler.OnMenuAction(3, 7);
    handler.OnMenuAction(3, 7);
    handler.OnAuxiliaryAction(4, 9);
    application.SetActionHandler(nullptr);
    handler.OnMenuAction(1, 1); // dropped
    EXPECT_EQ(actions.calls, (Log{"menu 3 7", "menu 3 7", "auxiliary 4 9"}));
}
