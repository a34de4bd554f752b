// Platform tests of the realtime application in real windows: the order of
// handler calls over a run, the window's geometry and caption, Close or a
// close request from each place they can come from, and the run's own checks.
#include "platform_probe.h"
#include "recording_handler.h"

#include "application/kw_application_menu.h"
#include "application/kw_realtime_application.h"

#include <gtest/gtest.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using kwImplementation::GetRealtimeApplicationState;

namespace kwTest {
namespace {

typedef ApplicationRunTest RealtimeApplicationTest;

// Two runs, each closed from its third update: the default window, then the
// size a handler asks for and a title set while the window opens.
TEST_F(RealtimeApplicationTest, RunOpensTheWindowAsAskedAndCallsTheHandlerInOrder)
{
    struct Case {
        int width, height;
        const char* title; // set from OnWindowOpen
        WindowRectangle rectangle;
        std::string shownTitle;
    };
    const Case cases[] = {{0, 0, nullptr, {{50, 50, 850, 650}}, "Kelpwright Project"},
                          {1024, 768, "Set While Opening", {{50, 50, 1074, 818}}, "Set While Opening"}};
    for (const Case& run : cases) {
        SCOPED_TRACE(run.shownTitle);
        ResetApplicationLayer();
        handler.calls.clear();
        handler.width = run.width;
        handler.height = run.height;
        std::vector<int> presentedAtUpdate;
        Run([&](const std::string& name, int count) {
            if (name == "OnWindowOpen") {
                // The handle is recorded before OnWindowOpen; the window is shown only later.
                EXPECT_TRUE(WindowExists(Window()));
                EXPECT_FALSE(IsWindowShown(Window()));
                if (run.title != nullptr) {
                    application.SetWindowTitle(run.title);
                }
            }
            if (name == "OnRealtimeUpdate") {
                presentedAtUpdate.push_back(CountPresentedFrames());
                if (count == 1) {
                    EXPECT_TRUE(IsWindowShown(Window()));
                    EXPECT_EQ(GetOuterRectangle(Window()), run.rectangle);
                    EXPECT_EQ(GetWindowTitle(Window()), run.shownTitle);
                }
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
        // Every pass presents, the closing one too; teardown presents nothing.
        ASSERT_EQ(presentedAtUpdate.size(), 3u);
        EXPECT_GE(presentedAtUpdate[2] - presentedAtUpdate[1], 1);
        EXPECT_EQ(CountPresentedFrames() - presentedAtUpdate[2], 1);

        EXPECT_FALSE(WindowExists(Window()));
        EXPECT_EQ(GetRealtimeApplicationState().created, 0);
        EXPECT_EQ(GetRealtimeApplicationState().running, 0);
    }
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

    EXPECT_EQ(handler.NamesWithoutActivation(), (Names{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate",
                                                        "OnMenuAction", "OnMenuAction", "OnWindowClose"}));
    EXPECT_EQ(handler.ChosenItems(), (std::vector<unsigned int>{2, 3}));
    // Raised while the window is destroyed at teardown, after the context is gone.
    EXPECT_FALSE(handler.calls.back().contextCurrent);
    EXPECT_FALSE(WindowExists(Window()));
}

TEST_F(RealtimeApplicationTest, CloseBeforeTheLoopStartsHasNoEffect)
{
    // Activation comes before the loop where the window system activates a
    // window as it is shown (USER32 does).
    for (const std::string closingCallback : {"CollectWindowProperties", "OnWindowOpen", "OnBecomeActive"}) {
        SCOPED_TRACE(closingCallback);
        ResetApplicationLayer();
        handler.calls.clear();
        Run([&](const std::string& name, int count) {
            if ((name == closingCallback && handler.Count("OnRealtimeUpdate") == 0) ||
                (name == "OnRealtimeUpdate" && count == 2)) {
                application.Close();
            }
        });
        EXPECT_EQ(handler.Count("OnRealtimeUpdate"), 2);
        EXPECT_EQ(handler.Count("OnWindowClose"), 1);
    }
}

TEST_F(RealtimeApplicationTest, CloseRequestRaisesOnWindowCloseOnceAndEndsTheRunAfterThatDrain)
{
    RunUpdates(0, [&](int count) {
        if (count == 1) {
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
    Kelpwright::Application::RealtimeApplication secondApplication(secondHandler);
    ReportRecorder reports;
    RunUpdates(1, [&](int) {
        const WindowHandle windowBefore = Window();
        secondApplication.Execute();
        EXPECT_EQ(Window(), windowBefore);
    });

    EXPECT_EQ(reports.messages,
              (Names{"kwExternalError: Kelpwright currently supports only a single application at a time."}));
    EXPECT_TRUE(secondHandler.calls.empty());
    // The first run was not disturbed: it ends as usual.
    EXPECT_EQ(handler.Count("OnWindowClose"), 1);
}

TEST_F(RealtimeApplicationTest, CreationWhileAWindowHandleIsRecordedReportsAndTakesTheNewWindow)
{
    const WindowHandle stale = CreatePlainWindow();
    GetRealtimeApplicationState().windowHandle = stale;
    ReportRecorder reports;
    RunUpdates(1, [&](int) { EXPECT_NE(Window(), stale); });

    EXPECT_EQ(reports.messages, (Names{"kwInternalError: Expected window handle to be unused at this moment."}));
    EXPECT_EQ(handler.Count("OnRealtimeUpdate"), 1);
    EXPECT_TRUE(WindowExists(stale));
    DestroyPlainWindow(stale);
}

} // namespace
} // namespace kwTest
