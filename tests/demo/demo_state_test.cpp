// Tests of the demo state: its menu declared once however often it opens,
// "Exit" closing the application, menu actions forwarded only while it is
// open, and the animated figure with its exact radius line.
#include "application/implementation/kwi_realtime_application_run.h"
#include "application/implementation/kwi_system_application_menu.h"
#include "demo_state.h"
#include "demo_test_support.h"
#include "game/kwi_game_application_handler.h"

#include <cmath>

using Skidwell::Vector3;

namespace {

class DemoStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        PublishTestApplication();
        DemoState::ResetSpinAngle();
    }

    void TearDown() override { kwImplementation::GetRealtimeApplicationState().running = 0; }

    unsigned char& Running() { return kwImplementation::GetRealtimeApplicationState().running; }

    DemoState mState;
};

// The declared menu 0 must be exactly "File" holding "Exit".
void ExpectFileExitMenu()
{
    const Kelpwright::Application::MenuItem* root = kwImplementation::GetMenuRoot(0);
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(1u, root->children.size());
    const Kelpwright::Application::MenuItem& file = root->children[0];
    EXPECT_EQ("File", file.displayName);
    EXPECT_EQ(0u, file.identifier);
    EXPECT_TRUE(file.isEnabled);
    EXPECT_FALSE(file.isChecked);
    EXPECT_TRUE(file.isVisible);
    ASSERT_EQ(1u, file.children.size());
    const Kelpwright::Application::MenuItem& exit = file.children[0];
    EXPECT_EQ("Exit", exit.displayName);
    EXPECT_EQ(1u, exit.identifier);
    EXPECT_TRUE(exit.isEnabled);
    EXPECT_FALSE(exit.isChecked);
    EXPECT_TRUE(exit.isVisible);
    EXPECT_TRUE(exit.children.empty());
}

TEST_F(DemoStateTest, EveryOpeningAttachesTheSameFileExitMenu)
{
    ReportRecorder reports;
    ASSERT_TRUE(mState.OnOpen());
    ExpectFileExitMenu();
    EXPECT_EQ(static_cast<Kelpwright::Application::ApplicationHandlerInterface*>(&mState),
              kwImplementation::GetGameApplicationHandler().actionHandler);

    mState.OnClose();
    ASSERT_TRUE(mState.OnOpen());
    ExpectFileExitMenu();
    EXPECT_EQ(0u, reports.CountContaining("already exists"));
    mState.OnClose();
}

TEST_F(DemoStateTest, ExitClosesTheApplicationAndFileDoesNothing)
{
    Running() = 1;
    mState.OnMenuAction(0, 0);
    EXPECT_EQ(1, Running());
    mState.OnMenuAction(0, 1);
    EXPECT_EQ(0, Running());
}

TEST_F(DemoStateTest, MenuActionsReachTheStateOnlyWhileItIsOpen)
{
    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    ASSERT_TRUE(mState.OnOpen());
    Running() = 1;
    handler.OnMenuAction(0, 1);
    EXPECT_EQ(0, Running());

    mState.OnClose();
    EXPECT_EQ(nullptr, handler.actionHandler);
    Running() = 1;
    handler.OnMenuAction(0, 1);
    EXPECT_EQ(1, Running());
}

TEST_F(DemoStateTest, OneStepDrawsTheAxisLineBothCirclesAndTheRadius)
{
    mState.OnSimulate();
    EXPECT_EQ(0.006283f, DemoState::GetSpinAngle());

    const Skidwell::Visualization& visualization = mState.GetVisualization();
    ASSERT_EQ(2u, visualization.GetTemporaryLines().size());
    const Skidwell::LinePrimitive& axis = visualization.GetTemporaryLines()[0];
    ExpectSameVector(Vector3(-10, 0, 0), axis.start);
    ExpectSameVector(Vector3(10, 0, 0), axis.end);
    EXPECT_EQ(0xFF8080FFu, axis.color);

    const Skidwell::LinePrimitive& radius = visualization.GetTemporaryLines()[1];
    ExpectSameVector(Vector3(0, 0, -0.5f), radius.start);
    ExpectSameVector(Vector3(0.0013564908f, 0, -0.71589577f), radius.end);
    EXPECT_NEAR(0.0013565, radius.end.x, 1e-7);
    EXPECT_NEAR(-0.7158958, radius.end.z, 1e-7);
    EXPECT_EQ(0xFFA0A0B0u, radius.color);

    ASSERT_EQ(2u, visualization.GetTemporaryPaths().size());
    ExpectSamePath(Circle(Vector3(0, 0, -0.5f), 0.2159f, 0xFFA0A0B0), visualization.GetTemporaryPaths()[0]);
    ExpectSamePath(Circle(Vector3(0, 0, -0.5f), 0.2979f, 0xFF404050), visualization.GetTemporaryPaths()[1]);
    EXPECT_TRUE(visualization.GetPermanentPaths().empty());
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
