// Tests of the demo state: its menu declared once however often it opens,
// "Exit" closing the application, menu actions forwarded only while it is
// open, and the animated figure with its exact radius line.
#include "application/implementation/kwi_realtime_application_run.h"
#include "application/implementation/kwi_system_application_menu.h"
#include "demo_state.h"
#include "demo_test_support.h"
#include "game/kwi_game_application_handler.h"

#include <string>

using Kelpwright::Application::MenuItem;
using Kelpwright::Application::MenuItemIdentifier;
using Skidwell::Vector3;

namespace {

class DemoStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        PublishTestApplication();
        DemoState::ResetSpinAngle();
    }
    void TearDown() override { Running() = 0; }
    static unsigned char& Running() { return kwImplementation::GetRealtimeApplicationState().running; }

    DemoState mState;
};

// An enabled, unchecked, visible item.
void ExpectItem(const MenuItem& item, const std::string& name, MenuItemIdentifier identifier, size_t childCount)
{
    EXPECT_EQ(name, item.displayName);
    EXPECT_EQ(identifier, item.identifier);
    EXPECT_TRUE(item.isEnabled && !item.isChecked && item.isVisible) << name;
    EXPECT_EQ(childCount, item.children.size()) << name;
}

TEST_F(DemoStateTest, EveryOpeningAttachesTheSameFileExitMenu)
{
    for (int opening = 0; opening < 2; ++opening) {
        // Without a window, attaching the menu reports; declaring an item twice would too.
        testing::internal::CaptureStdout();
        const bool opened = mState.OnOpen();
        EXPECT_EQ(std::string::npos, testing::internal::GetCapturedStdout().find("already exists"));
        EXPECT_TRUE(opened);
        const MenuItem* root = kwImplementation::GetMenuRoot(0);
        ASSERT_NE(nullptr, root);
        ASSERT_EQ(1u, root->children.size());
        ExpectItem(root->children[0], "File", 0, 1);
        ExpectItem(root->children[0].children.at(0), "Exit", 1, 0);
        mState.OnClose();
    }
}

TEST_F(DemoStateTest, ExitClosesTheApplicationOnlyWhileTheStateIsOpenAndFileDoesNothing)
{
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    ASSERT_TRUE(mState.OnOpen());
    Running() = 1;
    handler.OnMenuAction(0, 0);
    EXPECT_EQ(1, Running());
    handler.OnMenuAction(0, 1);
    EXPECT_EQ(0, Running());

    mState.OnClose();
    Running() = 1;
    handler.OnMenuAction(0, 1);
    EXPECT_EQ(1, Running());
}

TEST_F(DemoStateTest, OneStepDrawsTheAxisLineBothCirclesAndTheRadius)
{
    mState.OnSimulate();
    EXPECT_EQ(0.006283f, DemoState::GetSpinAngle());

    const std::vector<Skidwell::LinePrimitive>& lines = mState.GetVisualization().GetTemporaryLines();
    ASSERT_EQ(2u, lines.size());
    // The radius line ends at about (0.0013565, 0, -0.7158958).
    EXPECT_EQ(Bits({Vector3(-10, 0, 0), Vector3(10, 0, 0), Vector3(0, 0, -0.5f), Vector3(0.0013564908f, 0, -0.71589577f)}),
              Bits({lines[0].start, lines[0].end, lines[1].start, lines[1].end}));
    EXPECT_EQ(0xFF8080FFu, lines[0].color);
    EXPECT_EQ(0xFFA0A0B0u, lines[1].color);

    const std::vector<Skidwell::PathPrimitive>& circles = mState.GetVisualization().GetTemporaryPaths();
    ASSERT_EQ(2u, circles.size());
    ExpectSamePath(Circle(Vector3(0, 0, -0.5f), 0.2159f, 0xFFA0A0B0), circles[0]);
    ExpectSamePath(Circle(Vector3(0, 0, -0.5f), 0.2979f, 0xFF404050), circles[1]);
}

TEST_F(DemoStateTest, StepsReplaceTheFigureAndTheAngleSurvivesReopening)
{
    mState.OnSimulate();
    const Vector3 firstEnd = mState.GetVisualization().GetTemporaryLines().at(1).end;
    ASSERT_TRUE(mState.OnOpen());
    mState.OnClose();
    mState.OnSimulate();

    // 0.006283 added twice, each sum formed in double and stored as a float.
    EXPECT_EQ(0.012566f, DemoState::GetSpinAngle());
    EXPECT_EQ(2u, mState.GetVisualization().GetTemporaryLines().size());
    EXPECT_EQ(2u, mState.GetVisualization().GetTemporaryPaths().size());
    const Vector3 secondEnd = mState.GetVisualization().GetTemporaryLines()[1].end;
    // Turning clockwise on screen: towards +x, away from -z.
    EXPECT_GT(secondEnd.x, firstEnd.x);
    EXPECT_GT(secondEnd.z, firstEnd.z);
}

} // namespace
