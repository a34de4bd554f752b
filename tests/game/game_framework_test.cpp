// Tests of the game framework without a window: the machine's single-precision steps, close before
// open, removal, reports, and the game application's checks.
#include "../core/report_collector.h"
#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "math/float_bits.h"

#include <functional>
#include <sstream>

#include <gtest/gtest.h>

using Kelpwright::Game::kInvalidGameState;
using kwImplementation::GetGameStateMachine;
using kwTest::Log;

namespace {

// Logs each callback as "<identifier>:<name>", a frame as one entry "<identifier>:frame,render,post".
struct RecordingState : Kelpwright::Game::GameStateInterface {
    RecordingState(Kelpwright::Game::GameStateIdentifier identifier, Log& log)
        : GameStateInterface(identifier)
        , log(log)
    {
    }
    void OnSimulate() override { Record("step"); }
    void OnUpdate(float deltaTime) override { deltaTimes.push_back(deltaTime), Record("frame"); }
    void OnRender() override { log.back() += ",render"; }
    void OnPostRender() override { log.back() += ",post"; }
    bool OnOpen() override { return Record("open"), true; }
    void OnClose() override { Record("close"), onClose ? onClose() : void(); }
    void Record(const char* name) { log.push_back(std::to_string(GetIdentifier()) + ":" + name); }
    Log& log;
    std::vector<float> deltaTimes;
    std::function<void()> onClose;
};
// Not copyable through their bases: a copy would take the original's entry out of the machine, or pass the
// single-instance check.
template <class T>
constexpr bool kCopyable = std::is_copy_constructible<T>::value || std::is_copy_assignable<T>::value;
static_assert(!kCopyable<RecordingState> && !kCopyable<Kelpwright::Game::GameApplication>, "");

// Each case leaves the process-wide machine empty with nothing current.
struct GameFramework : testing::Test {
    void TearDown() override
    {
        EXPECT_EQ(GetGameStateMachine().GetStateCount() + GetGameStateMachine().GetCurrentState(), 0u);
    }
    Log Take() { return Log(std::move(log)); }
    // Runs calls such as "+1 >2 u1 -2" on the machine: add states[0] (which has identifier 1), change to 2,
    // update 1, remove 2.
    void Run(const std::string& calls, const std::vector<RecordingState*>& states = {})
    {
        std::istringstream in(calls);
        for (char kind = 0; in >> kind;) {
            Kelpwright::Game::GameStateIdentifier id = 0;
            in >> id;
            kind == '+'       ? machine.AddState(states.at(id - 1u))
                : kind == '>' ? machine.ChangeToState(id)
                : kind == 'u' ? machine.UpdateState(id)
                              : machine.RemoveState(id);
        }
    }
    kwImplementation::GameStateMachine machine;
    Log log;
    kwTest::ReportCollector reports;
};

} // namespace

TEST_F(GameFramework, StepsFollowSinglePrecisionTimeAndPauseWithoutACurrentState)
{
    RecordingState state(1, log);
    Run("+1 u0 >1", {&state}); // nothing current: nothing runs and no time passes
    const std::uint32_t time[7] = {0x3BDA7410, 0x3B5A7418, 0x31800000, 0x3BDA7418,
                                   0x3B5A7428, 0x32000000, 0x3BDA7420};
    for (int frame = 0; frame < 7; ++frame) {
        Run(frame == 6 ? ">0 u0 >1 u0" : "u0");
        EXPECT_EQ(kwTest::Bits(machine.GetSimulationTime()), time[frame])
            << frame; // frame 3 leaves 2^-28 s, kept over a pause
    }
    const std::string frame = "1:frame,render,post";
    EXPECT_EQ(Take(), (Log{"1:open", "1:step", frame,    "1:step",  "1:step", frame,    "1:step",
                           "1:step", frame,    "1:step", frame,     "1:step", "1:step", frame,
                           "1:step", "1:step", frame,    "1:close", "1:open", "1:step", frame}));
    EXPECT_EQ(state.deltaTimes, std::vector<float>(7, 0.016666668f));
}

TEST_F(GameFramework, ChangesCloseBeforeOpeningRemovalClosesAndUnknownIdentifiersChangeNothing)
{
    RecordingState first(1, log), second(2, log);
    // No shortcut for the current state; an identifier names the state to drive, current or not.
    Run("+1 +2 >1 >2 >2 u1 >0 >1 -2 -1", {&first, &second});
    EXPECT_EQ(Take(),
              (Log{"1:open", "1:close", "2:open", "2:close", "2:open", "1:step", "1:frame,render,post",
                   "2:close", "1:open", "1:close"}));
    EXPECT_EQ(machine.GetStateCount() + machine.GetCurrentState(), 0u);
    Run("+1 >1", {&first});
    const float time = machine.GetSimulationTime();
    Run(">9 u9 -9");
    EXPECT_EQ(
        reports.Take(),
        (Log{
            "kwExternalError: Trying to set GameState with id(9) which does not exists in Game Machine.",
            "kwExternalError: Trying to update GameState with id(9) which does not exist in Game Machine.",
            "kwExternalError: Trying to remove GameState with id(9) which does not exists in Game Machine."}));
    EXPECT_EQ(Take(), Log{"1:open"});
    EXPECT_EQ(machine.GetSimulationTime(), time);
    EXPECT_EQ(machine.GetCurrentState(), 1);
}

TEST_F(GameFramework, StatesRegisterThemselvesDuplicatesAreReportedAndNoneGoneIsNamed)
{
    {
        RecordingState older(3, log),
            newer(3, log); // destroyed newest first: the older one's entry is gone by then
        EXPECT_EQ(GetGameStateMachine().FindState(3), &newer);
    }
    {
        RecordingState invalid(kInvalidGameState, log);
        Kelpwright::Game::ChangeToGameState(kInvalidGameState); // 0 names no state
        Kelpwright::Game::UpdateCurrentGameState();
        RecordingState state(2, log);
        Kelpwright::Game::ChangeToGameState(2);
        Kelpwright::Game::UpdateCurrentGameState();
    } // destroyed while current: closed through the base, whose OnClose is empty
    EXPECT_EQ(Take(), (Log{"2:open", "2:step", "2:frame,render,post"}));
    EXPECT_EQ(
        reports.Take(),
        (Log{"kwExternalError: GameState with id(3) already exists in Game Machine.",
             "kwExternalError: Trying to remove GameState with id(3) which does not exists in Game Machine.",
             "kwExternalError: GameState with id: kInvalidGameState cannot be added to Game Machine."}));

    // The machine never names a state it does not hold.
    kwImplementation::GameStateMachine& global = GetGameStateMachine();
    RecordingState removed(3, log), opened(2, log), closing(1, log);
    global.ChangeToState(3);
    global.RemoveState(global.GetCurrentState()); // its own current identifier, by reference
    EXPECT_EQ(global.FindState(3), nullptr);
    closing.onClose = [&] { global.RemoveState(2); }; // the state to open is gone when it is looked up
    global.ChangeToState(1);
    global.ChangeToState(2);
    EXPECT_EQ(global.GetCurrentState(), kInvalidGameState);
    EXPECT_EQ(
        reports.Take(),
        Log{"kwInternalError: Trying to open GameState with id(2) which does not exists in Game Machine."});
    EXPECT_EQ(Take(), (Log{"3:open", "3:close", "1:open", "1:close"}));
}

TEST_F(GameFramework, GameApplicationChecksItsUse)
{
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    handler.OnWindowOpen();
    {
        Kelpwright::Game::GameApplication first, second;
        EXPECT_EQ(handler.gameApplication, &second);
    }
    Kelpwright::Game::GameApplication application; // the handler still names the last one
    const std::string alreadySet = "kwInternalError: GameApplication has already been set?";
    EXPECT_EQ(reports.Take(),
              (Log{"kwInternalError: Game Application has not been set.",
                   "kwInternalError: initial game state is invalid.",
                   "kwExternalError: Only a single game application instance can exist at a time.",
                   alreadySet, alreadySet}));
    // RunGame reports an invalid first state (a run marked as created returns at once; the shipped
    // programs' end-to-end runs show a valid one opened and driven).
    kwImplementation::GetRealtimeApplicationState().created = 1;
    application.RunGame(kInvalidGameState);
    kwImplementation::GetRealtimeApplicationState().created = 0;
    EXPECT_EQ(reports.Take().at(0), "kwExternalError: Expected stateIdentifier to be a valid game state.");
}
