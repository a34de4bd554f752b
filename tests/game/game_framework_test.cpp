// Tests of the game framework without a window: the machine's single-precision steps, its calls and
// reports, states registering themselves, and the game application's checks and forwarding.
#include "../core/report_collector.h"
#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "golden_file.h"
#include "math/float_bits.h"

#include <array>
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
    // Runs one call script on a fresh machine (see kScripts) and describes what the states saw, the
    // reports and the state left current.
    std::string Run(const std::string& calls)
    {
        machine = kwImplementation::GameStateMachine();
        std::istringstream in(calls);
        char kind = 0;
        while (in >> kind) {
            GameStateIdentifier identifier = 0;
            if (kind != 't' && kind != 'r') {
                in >> identifier;
            }
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
            case 'r':
                machine.RemoveState(machine.GetCurrentState());
                break;
            case 'c':
                states[0]->onClose = [this, identifier] { machine.RemoveState(identifier); };
                break;
            case 't':
                log.push_back("time " + kwTest::Hex(machine.GetSimulationTime()));
                break;
            default:
                ADD_FAILURE() << "unknown call " << kind;
            }
        }
        states[0]->onClose = nullptr;
        std::string text = calls + "\n";
        for (const std::string& entry : log) {
            text += "  " + entry + "\n";
        }
        log.clear();
        text += "  current " + std::to_string(machine.GetCurrentState()) + ", " +
            std::to_string(machine.GetStateCount()) + " registered\n";
        for (const std::string& report : reports.Take()) {
            text += "  report: " + report + "\n";
        }
        return text;
    }

    Log log;
    kwTest::ReportCollector reports;
    kwImplementation::GameStateMachine machine;
    std::array<std::unique_ptr<RecordingState>, 2> states;
};

} // namespace

TEST_F(GameStateMachineTest, CallScripts)
{
    // "+1" adds state 1, ">2" changes to 2 (0: none), "u1" updates 1 (0: the current one), "-2" removes
    // 2, "r" removes the current state by the machine's own reference, "c2" makes state 1's OnClose
    // remove 2, "t" logs the simulation time's bits.
    const char* const kScripts[] = {
        "+1 >1 u0 t u0 t u0 t u0 t u0 t u0 t", // steps 1, 2, 2, 1, 2, 2; 2^-28 s left after the third frame
        "+1 >1 u0 >0 t u0 t", // no current state: no frame, and no time passes
        "+1 +2 >1 >2", // a change closes before it opens
        "+1 >1 >1", // no shortcut for the current state
        "+1 +2 >1 -1", // removing the current state closes it
        "+1 +2 >1 -2", // removing another calls nothing on it
        "+1 +2 >1 u2", // an identifier names the state driven, current or not
        "+1 >1 >9 u9 -9", // unknown identifiers: reported, the current stays open
        "+2 +2", // a duplicate is reported and replaces the entry
        "+1 >1 r", // the reference that the closing clears
        "+1 +2 >1 c2 >2", // the state to open is gone when it is looked up
    };
    std::string transcript;
    for (const char* script : kScripts) {
        transcript += Run(script);
    }
    EXPECT_TRUE(kwTest::MatchesGolden("state_machine_calls.txt", transcript));
}

// The stored time is compared with the step strictly. The rounded time first equals the step exactly
// after 5,368,709 frames (about 25 hours); that frame takes no step.
TEST_F(GameStateMachineTest, TimeEqualToTheStepTakesNoStep)
{
    struct Quiet : Kelpwright::Game::GameStateInterface {
        using GameStateInterface::GameStateInterface;
    } quiet(3);
    const int kFramesUntilEqual = 5368709;
    machine.AddState(&quiet);
    machine.ChangeToState(3);
    for (int frame = 0; frame < kFramesUntilEqual; ++frame) {
        machine.UpdateState(kInvalidGameState);
    }
    EXPECT_EQ(kwTest::Hex(machine.GetSimulationTime()), kwTest::Hex(0.01f));
    machine.RemoveState(3);
}

TEST_F(GameStateMachineTest, StatesRegisterThemselves)
{
    {
        RecordingState older(3, log);
        RecordingState newer(3, log);
        EXPECT_EQ(GetGameStateMachine().FindState(3), &newer) << "a duplicate replaces the older entry";
    } // the newer goes first and takes the entry; the older then finds none
    const std::string duplicate = "kwExternalError: GameState with id(3) already exists in Game Machine.";
    const std::string missing =
        "kwExternalError: Trying to remove GameState with id(3) which does not exists in Game Machine.";
    EXPECT_EQ(reports.Take(), (Log{duplicate, missing}));
    {
        RecordingState current(3, log);
        Kelpwright::Game::ChangeToGameState(3);
    } // destroyed while current: closed through the base, whose OnClose is empty
    EXPECT_EQ(log, Log{"3:open"});
}

TEST_F(GameStateMachineTest, InvalidIdentifierIsEnteredButNeverDriven)
{
    RecordingState invalid(kInvalidGameState, log);
    EXPECT_EQ(reports.Take(),
              Log{"kwExternalError: GameState with id: kInvalidGameState cannot be added to Game Machine."});
    EXPECT_EQ(GetGameStateMachine().FindState(kInvalidGameState), &invalid);
    Kelpwright::Game::ChangeToGameState(kInvalidGameState);
    Kelpwright::Game::UpdateCurrentGameState();
    EXPECT_EQ(log, Log{});
}

// Runs first among the game application cases: no GameApplication exists yet in this program.
TEST(GameApplication, ChecksItsUse)
{
    kwTest::ReportCollector reports;
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    handler.OnWindowOpen();
    const std::string notSet = "kwInternalError: Game Application has not been set.";
    EXPECT_EQ(reports.Take(), (Log{notSet, "kwInternalError: initial game state is invalid."}));
    const std::string alreadySet = "kwInternalError: GameApplication has already been set?";
    {
        Kelpwright::Game::GameApplication first;
        EXPECT_EQ(reports.Take(), Log{});
        Kelpwright::Game::GameApplication second;
        EXPECT_EQ(handler.gameApplication, &second) << "the handler follows the newest application";
        const std::string single =
            "kwExternalError: Only a single game application instance can exist at a time.";
        EXPECT_EQ(reports.Take(), (Log{single, alreadySet}));
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
