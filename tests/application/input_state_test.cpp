// Input and the drawing size without a window: what the backends report, as the handler and the
// queries see it, and the same through the game application's handler to its action handler.
#include "../core/report_collector.h"
#include "application/implementation/kwi_input_state.h"
#include "application/implementation/kwi_realtime_application_run.h"
#include "game/kw_game_application.h"
#include "game/kwi_game_application_handler.h"

#include <gtest/gtest.h>

#include <string>

using namespace Kelpwright::Application;
using namespace kwImplementation;
using kwTest::Log;

namespace {

std::string Text(const PointerPosition& position)
{
    return std::to_string(position.x) + "," + std::to_string(position.y);
}

std::string Code(Key key) { return std::to_string(static_cast<int>(key)); }

struct RecordingHandler : ApplicationHandlerInterface {
    void OnKeyDown(const KeyEvent& event) override { Key("down", event); }
    void OnKeyUp(const KeyEvent& event) override { Key("up", event); }
    void OnPointerMove(const PointerPosition& position) override { log.push_back("move " + Text(position)); }
    void OnButtonDown(const PointerButton& button, const PointerPosition& position) override
    {
        log.push_back("press " + std::to_string(static_cast<int>(button)) + " " + Text(position));
    }
    void OnButtonUp(const PointerButton& button, const PointerPosition& position) override
    {
        log.push_back("release " + std::to_string(static_cast<int>(button)) + " " + Text(position));
    }
    void OnWheel(const float& notches, const PointerPosition& position) override
    {
        log.push_back("wheel " + std::to_string(notches) + " " + Text(position));
    }
    void OnDrawingSizeChange(const DrawingSize& size) override
    {
        log.push_back("size " + std::to_string(size.width) + "x" + std::to_string(size.height));
    }
    void Key(const char* what, const KeyEvent& event)
    {
        log.push_back(std::string(what) + " " + Code(event.key) + "/" + std::to_string(event.nativeCode) +
                      (event.isRepeat ? " repeat" : ""));
    }
    Log log;
};

// One of each report, with the repeats and releases a backend cannot tell apart from new ones.
void ReportInput()
{
    NotifyKeyDown(Key::A, 65, false);
    NotifyKeyDown(Key::A, 65, false); // held already: a repeat whatever the platform says
    NotifyKeyDown(Key::Space, 32, true);
    NotifyKeyDown(Key::Unknown, 999, false);
    NotifyKeyDown(Key::Unknown, 999, false); // unknown keys are not tracked
    NotifyKeyUp(Key::Space, 32);
    NotifyKeyUp(Key::Space, 32); // not held any more: dropped
    NotifyKeyDown(Key::Shift, 16, false);
    NotifyPointerMove({3, 4});
    NotifyPointerMove({3, 4}); // the same place: dropped
    NotifyButtonDown(PointerButton::Right, {5, 6});
    NotifyWheel(-1.5f, {7, 8});
    NotifyDrawingSize({800, 575});
    NotifyDrawingSize({800, 575}); // the same size: dropped
}

const std::string kA = Code(Key::A);
const std::string kSpace = Code(Key::Space);
const std::string kShift = Code(Key::Shift);
const Log kExpected = {
    "down " + kA + "/65",
    "down " + kA + "/65 repeat",
    "down " + kSpace + "/32 repeat",
    "down 0/999",
    "down 0/999",
    "up " + kSpace + "/32",
    "down " + kShift + "/16",
    "move 3,4",
    "press 1 5,6",
    "wheel -1.500000 7,8",
    "size 800x575",
    // Losing activation releases what is held, the keys in code order, then the buttons.
    "up " + kA + "/65",
    "up " + kShift + "/16",
    "release 1 7,8",
};

class InputTest : public testing::Test {
protected:
    void SetUp() override { ResetInputState(); }
    void TearDown() override { GetRealtimeApplicationState().handler = nullptr; }

    RecordingHandler recorder;
    RealtimeApplication application{recorder};
};

} // namespace

TEST_F(InputTest, ReportsBecomeCallbacksAndQueries)
{
    GetRealtimeApplicationState().handler = &recorder;
    ReportInput();
    EXPECT_TRUE(application.IsKeyDown(Key::A));
    EXPECT_TRUE(application.IsKeyDown(Key::Shift));
    EXPECT_TRUE(application.IsButtonDown(PointerButton::Right));
    EXPECT_EQ(Text(application.GetPointerPosition()), "7,8");
    EXPECT_EQ(application.GetDrawingSize().height, 575);

    NotifyWindowEvent(WindowEvent::Deactivated, nullptr);
    EXPECT_EQ(recorder.log, kExpected);
    EXPECT_FALSE(application.IsKeyDown(Key::A)) << "a key stuck after the window lost activation";
    EXPECT_FALSE(application.IsButtonDown(PointerButton::Right));
}

TEST_F(InputTest, GameApplicationForwardsToItsActionHandler)
{
    kwTest::ReportCollector reports; // a second GameApplication in this program is reported
    Kelpwright::Game::GameApplication game;
    GetRealtimeApplicationState().handler = &GetGameApplicationHandler();
    game.SetActionHandler(&recorder);
    ReportInput();
    ReleaseHeldInput();
    game.SetActionHandler(nullptr);
    ReportInput(); // dropped: no action handler
    EXPECT_EQ(recorder.log, kExpected);
}
