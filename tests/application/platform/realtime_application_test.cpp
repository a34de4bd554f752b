// Platform tests of the realtime application in real windows: the order of
// handler calls over a run, the window's geometry and caption, and Close or a
// close request from each place they can come from.
#include "platform_probe.h"
#include "recording_handler.h"

#include "application/kw_application_menu.h"
#include "application/kw_realtime_application.h"

#include <gtest/gtest.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using Kelpwright::Application::RealtimeApplication;
using kwImplementation::GetRealtimeApplicationState;

namespace kwTest {
namespace {


typedef std::vector<std::string> Names;

class RealtimeApplicationTest : public ApplicationRunTest {
protected:
    WindowHandle Window() const { return GetRealtimeApplicationState().windowHandle; }
};

TEST_F(RealtimeApplicationTest, RunCallsTheHandlerInOrderWithTheContextCurrentOnlyInTheLoop)
{
    std::vector<WindowRectangle> rectangles;
    std::vector<std::string> titles;
    std::vector<bool> shown;
    bool existsWhenOpened = false;
    bool shownWhenOpened = true;
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            existsWhenOpened = WindowExists(Window());
            shownWhenOpened = IsWindowShown(Window());
        }
        if (name == "OnRealtimeUpdate") {
            rectangles.push_back(GetOuterRectangle(Window()));
            titles.push_back(GetWindowTitle(Window()));
            shown.push_back(IsWindowShown(Window()));
            if (count == 3) {
                application.Close();
            }
        }
    });

    EXPECT_EQ(handler.NamesWithoutActivation(),
              (Names{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate", "OnRealtimeUpdate",
                     "OnRealtimeUpdate", "OnWindowClose"}));
    // The context is made after OnWindowOpen and deleted before the window is
    // destroyed at teardown; activation may come either side of it.
    for (const RecordingHandler::Call& call : handler.calls) {
        if (call.name != "OnBecomeActive" && call.name != "OnBecomeInactive") {
            EXPECT_EQ(call.contextCurrent, call.name == "OnRealtimeUpdate") << call.name;
        }
    }
    // Activation, when the window system reports it, comes once the window exists.
    ASSERT_GE(handler.calls.size(), 2u);
    EXPECT_EQ(handler.calls[1].name, "OnWindowOpen");

    // The handle is recorded before OnWindowOpen; the window is shown only later.
    EXPECT_TRUE(existsWhenOpened);
    EXPECT_FALSE(shownWhenOpened);

    ASSERT_EQ(rectangles.size(), 3u);
    EXPECT_EQ(rectangles[0].left, 50);
    EXPECT_EQ(rectangles[0].top, 50);
    EXPECT_EQ(rectangles[0].right, 850);
    EXPECT_EQ(rectangles[0].bottom, 650);
    EXPECT_EQ(titles[0], "Kelpwright Project");
    EXPECT_TRUE(shown[0]);

    EXPECT_FALSE(WindowExists(Window()));
    EXPECT_EQ(GetRealtimeApplicationState().created, 0);
    EXPECT_EQ(GetRealtimeApplicationState().running, 0);
}

TEST_F(RealtimeApplicationTest, WindowTakesTheSizeTheHandlerAsksForAndTheTitleSetWhenItOpens)
{
    handler.width = 1024;
    handler.height = 768;
    WindowRectangle rectangle = {};
    std::string titleInLoop;
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            application.SetWindowTitle("Set While Opening");
        }
        if (name == "OnRealtimeUpdate" && count == 1) {
            rectangle = GetOuterRectangle(Window());
            titleInLoop = GetWindowTitle(Window());
            application.Close();
        }
    });

    EXPECT_EQ(rectangle.left, 50);
    EXPECT_EQ(rectangle.top, 50);
    EXPECT_EQ(rectangle.right, 1074);
    EXPECT_EQ(rectangle.bottom, 818);
    EXPECT_EQ(titleInLoop, "Set While Opening");
}

TEST_F(RealtimeApplicationTest, CloseFromTheUpdateStillPresentsThatPassThenEndsTheRun)
{
    std::vector<int> presentedAtUpdate;
    Run([&](const std::string& name, int count) {
        if (name == "OnRealtimeUpdate") {
            presentedAtUpdate.push_back(CountPresentedFrames());
            if (count == 2) {
                application.Close();
            }
        }
    });

    ASSERT_EQ(presentedAtUpdate.size(), 2u);
    EXPECT_GE(presentedAtUpdate[1] - presentedAtUpdate[0], 1);
    // Teardown presents nothing, so the one present after the last update is that pass's own.
    EXPECT_EQ(CountPresentedFrames() - presentedAtUpdate[1], 1);
}

TEST_F(RealtimeApplicationTest, CloseFromAMenuActionHandlesTheRestOfTheQueueThenTearsDown)
{
    ApplicationMenu menu(7);
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(2, "Exit", 1, true, false, true);
    menu.AddMenuItem(3, "Other", 1, true, false, true);
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            application.SetWindowMenu(menu);
        }
        if (name == "OnRealtimeUpdate" && count == 1) {
            QueueMenuCommand(Window(), 2);
            QueueMenuCommand(Window(), 3);
        }
        if (name == "OnMenuAction" && count == 1) {
            application.Close();
        }
    });

    EXPECT_EQ(handler.NamesWithoutActivation(),
              (Names{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate", "OnMenuAction", "OnMenuAction",
                     "OnWindowClose"}));
    std::vector<unsigned int> items;
    for (const RecordingHandler::Call& call : handler.calls) {
        if (call.name == "OnMenuAction") {
            EXPECT_EQ(call.first, 0u);
            items.push_back(call.second);
        }
        if (call.name == "OnWindowClose") {
            // Raised while the window is destroyed at teardown, after the context is gone.
            EXPECT_FALSE(call.contextCurrent);
        }
    }
    EXPECT_EQ(items, (std::vector<unsigned int>{2, 3}));
    EXPECT_FALSE(WindowExists(Window()));
}

TEST_F(RealtimeApplicationTest, CloseBeforeTheLoopStartsHasNoEffect)
{
    for (const std::string closingCallback : {"CollectWindowProperties", "OnWindowOpen"}) {
        SCOPED_TRACE(closingCallback);
        ResetApplicationLayer();
        handler.calls.clear();
        Run([&](const std::string& name, int count) {
            if (name == closingCallback) {
                application.Close();
            }
            if (name == "OnRealtimeUpdate" && count == 2) {
                application.Close();
            }
        });
        EXPECT_EQ(handler.Count("OnRealtimeUpdate"), 2);
        EXPECT_EQ(handler.Count("OnWindowClose"), 1);
    }
}

TEST_F(RealtimeApplicationTest, CloseRequestRaisesOnWindowCloseOnceAndEndsTheRunAfterThatDrain)
{
    Run([&](const std::string& name, int count) {
        if (name == "OnRealtimeUpdate" && count == 1) {
            QueueCloseRequest(Window());
        }
    });

    EXPECT_EQ(handler.NamesWithoutActivation(),
              (Names{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate", "OnWindowClose"}));
    // Raised inside the loop's drain, so the context was still current.
    EXPECT_TRUE(handler.calls.back().contextCurrent);
    EXPECT_FALSE(WindowExists(Window()));
    EXPECT_EQ(GetRealtimeApplicationState().created, 0);
}

TEST_F(RealtimeApplicationTest, SecondExecuteDuringARunReportsAndOpensNothing)
{
    RecordingHandler secondHandler;
    RealtimeApplication secondApplication(secondHandler);
    ReportRecorder reports;
    WindowHandle windowBefore = nullptr;
    WindowHandle windowAfter = nullptr;
    Run([&](const std::string& name, int count) {
        if (name == "OnRealtimeUpdate" && count == 1) {
            windowBefore = Window();
            secondApplication.Execute();
            windowAfter = Window();
            application.Close();
        }
    });

    EXPECT_EQ(reports.messages,
              (Names{"kwExternalError: Kelpwright currently supports only a single application at a time."}));
    EXPECT_TRUE(secondHandler.calls.empty());
    EXPECT_EQ(windowAfter, windowBefore);
    // The first run was not disturbed: it ends as usual.
    EXPECT_EQ(handler.Count("OnWindowClose"), 1);
}

} // namespace
} // namespace kwTest
