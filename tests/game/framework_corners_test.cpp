// Sharp corners: the machine's own identifier passed back to it, a state gone before it is opened,
// copies of self-registering objects, and report blocks under the caller's stream flags.
#include "game/kw_game_application.h"
#include "game/kw_game_state_machine.h"
#include "recording_state.h"

#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

using namespace Kelpwright::Game;

struct ClosingState : GameStateInterface {
    using GameStateInterface::GameStateInterface;
    void OnClose() override { onClose(); }
    std::function<void()> onClose;
};
static_assert(!std::is_copy_constructible<ClosingState>::value && !std::is_copy_assignable<ClosingState>::value, "");
static_assert(!std::is_copy_constructible<GameApplication>::value && !std::is_copy_assignable<GameApplication>::value, "");

TEST(FrameworkCornersTest, MachineNeverNamesAStateItDoesNotHold)
{
    kwTest::Log log;
    kwTest::ReportCollector reports; // declared first: it also hears the removals at the end
    kwImplementation::GameStateMachine& machine = kwImplementation::GetGameStateMachine();
    kwTest::RecordingState removed(3, log), opened(2, log);
    machine.ChangeToState(3);
    machine.RemoveState(machine.GetCurrentState());
    EXPECT_EQ(machine.FindState(3), nullptr);

    ClosingState closing(1);
    closing.onClose = [&] { machine.RemoveState(2); };
    machine.ChangeToState(1);
    machine.ChangeToState(2);
    EXPECT_EQ(machine.GetCurrentState(), kInvalidGameState);
    EXPECT_EQ(reports.Take(), kwTest::Log{"kwInternalError: Trying to open GameState with id(2) which does not exists in Game Machine."});
    EXPECT_EQ(log, (kwTest::Log{"3:OnOpen", "3:OnClose"}));
}

TEST(FrameworkCornersTest, ReportLineIsDecimalWhateverTheCallerLeftOnTheStream)
{
    std::ostringstream out;
    std::streambuf* previous = std::cout.rdbuf(out.rdbuf());
    std::cout << std::hex << std::showpos;
    Kelpwright::Core::Error::ReportErrorIf(true, "f.cpp", 77, "kwExternalError");
    EXPECT_EQ(std::cout.flags(), std::ios::hex | std::ios::showpos | std::ios::skipws);
    std::cout.rdbuf(previous);
    std::cout << std::dec << std::noshowpos;
    EXPECT_NE(out.str().find("FILE f.cpp[77]\n"), std::string::npos);
}
