// Tests of the game framework without a window: the machine's calls, single-precision steps and
// reports as call scripts, and the game application's checks of its use.
#include "../core/report_collector.h"
#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "game/kwi_game_application_handler.h"
#include "golden_file.h"
#include "math/float_bits.h"

#include <functional>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

using namespace Kelpwright::Game;
using kwImplementation::GetGameStateMachine;
using kwTest::Log;

namespace {

const float kFrameTime = 0.016666668f;

// Logs each callback as "<identifier>:<name>"; a frame is one entry, "1:frame,render,post".
struct RecordingState : GameStateInterface {
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
        onClose();
    }
    void Record(const char* name) { log.push_back(std::to_string(GetIdentifier()) + ":" + name); }

    Log& log;
    std::function<void()> onClose = [] {};
};

// Runs one call script on the process-wide machine, made afresh, and describes what the states saw,
// the reports and what the machine holds; the states left are then destroyed unseen, newest first.
std::string RunScript(const std::string& calls)
{
    Log log;
    kwTest::ReportCollector reports;
    std::vector<std::unique_ptr<RecordingState>> states;
    GetGameStateMachine() = kwImplementation::GameStateMachine();
    std::istringstream in(calls);
    char kind = 0;
    while (in >> kind) {
        GameStateIdentifier identifier = 0;
        if (kind != 't' && kind != 'r' && kind != 'x') {
            in >> identifier;
        }
        switch (kind) {
        case 'n':
            states.push_back(std::make_unique<RecordingState>(identifier, log));
            break;
        case 'x':
            states.pop_back();
            break;
        case '>':
            ChangeToGameState(identifier);
            break;
        case 'u':
            GetGameStateMachine().UpdateState(identifier);
            break;
        case '-':
            RemoveGameState(identifier);
            break;
        case 'r':
            RemoveGameState(GetGameStateMachine().GetCurrentState());
            break;
        case 'c':
            states.front()->onClose = [identifier] { RemoveGameState(identifier); };
            break;
        case 't':
            log.push_back("time " + kwTest::Hex(GetGameStateMachine().GetSimulationTime()));
            break;
        default:
            ADD_FAILURE() << "unknown call " << kind;
        }
    }
    std::string text = calls + "\n";
    for (const std::string& entry : log) {
        text += "  " + entry + "\n";
    }
    text += "  current " + std::to_string(GetGameStateMachine().GetCurrentState()) + ", " +
        std::to_string(GetGameStateMachine().GetStateCount()) + " registered\n";
    for (const std::string& report : reports.Take()) {
        text += "  report: " + report + "\n";
    }
    while (!states.empty()) {
        states.pop_back();
    }
    EXPECT_EQ(GetGameStateMachine().GetStateCount(), 0u) << "a destroyed state is still registered";
    return text;
}

} // namespace

TEST(GameStateMachine, CallScripts)
{
    // "n1" makes state 1 (it registers itself), "x" destroys the newest state, ">2" changes to 2
    // (0: none), "u1" updates 1 (0: the current one), "-2" removes 2, "r" removes the current state by
    // the machine's own reference, "c2" makes the first state's OnClose remove 2, "t" logs the
    // simulation time's bits.
    const char* const kScripts[] = {
        "n1 >1 u0 t u0 t u0 t u0 t u0 t u0 t", // steps 1, 2, 2, 1, 2, 2; 2^-28 s left after the third frame
        "n1 >1 u0 >0 t u0 t", // no current state: no frame, and no time passes
        "n1 n2 >1 >2", // a change closes before it opens
        "n1 >1 >1", // no shortcut for the current state
        "n1 n2 >1 -1", // removing the current state closes it
        "n1 n2 >1 -2", // removing another calls nothing on it
        "n1 n2 >1 u2", // an identifier names the state driven, current or not
        "n1 >1 >9 u9 -9", // unknown identifiers: reported, the current stays open
        "n2 n2 >2 x x", // a duplicate replaces the entry; the older one finds none when it goes
        "n3 >3 x", // destroyed while current: closed through the base, whose OnClose is empty
        "n0 >0 u0", // the invalid identifier is entered, but never driven
        "n1 >1 r", // the reference that the closing clears
        "n1 n2 >1 c2 >2", // the state to open is gone when it is looked up
    };
    std::string transcript;
    for (const char* script : kScripts) {
        transcript += RunScript(script);
    }
    kwTest::ExpectMatchesGolden("state_machine_calls.txt", transcript);
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
        GameApplication first;
        EXPECT_EQ(reports.Take(), Log{});
        GameApplication second;
        EXPECT_EQ(handler.gameApplication, &second) << "the handler follows the newest application";
        const std::string single =
            "kwExternalError: Only a single game application instance can exist at a time.";
        EXPECT_EQ(reports.Take(), (Log{single, alreadySet}));
    }
    GameApplication later; // the handler still names the last one; the flag was cleared
    EXPECT_EQ(reports.Take(), Log{alreadySet});

    // A run marked as created returns at once, after RunGame's own check.
    kwImplementation::GetRealtimeApplicationState().created = 1;
    later.RunGame(kInvalidGameState);
    kwImplementation::GetRealtimeApplicationState().created = 0;
    const Log afterRun = reports.Take();
    ASSERT_FALSE(afterRun.empty());
    EXPECT_EQ(afterRun[0], "kwExternalError: Expected stateIdentifier to be a valid game state.");
}
