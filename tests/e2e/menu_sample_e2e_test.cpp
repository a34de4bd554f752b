// End to end: the menu sample program, started as a user would, is closed by
// choosing "File" then "Exit" with real pointer clicks, or by the window
// manager's close request; either way it exits with code 0.
#include "program_builds.h"
#include "program_process.h"
#include "x11_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace kwE2e {
namespace {

const char* const kProgram = "examples/kw_menu_sample";
const char* const kTitle = "Kelpwright Menu Sample";

class MenuSampleEndToEnd : public BuildProgramTest {
protected:
    MenuSampleEndToEnd()
        : BuildProgramTest(kProgram)
    {
    }

    // Waits for a pop-up menu window that was not there before and does not
    // cover the point that opened it (some toolkits also pop up a window that
    // highlights the bar's entry).
    Window WaitForNewPopup(const std::vector<Window>& before, int clickX, int clickY)
    {
        for (int attempt = 0; attempt < 50; ++attempt) {
            for (Window popup : mSession.PopupWindows()) {
                const ScreenRectangle area = mSession.Frame(popup);
                const bool coversClick = clickX >= area.x && clickX < area.x + area.width && clickY >= area.y &&
                                         clickY < area.y + area.height;
                if (std::find(before.begin(), before.end(), popup) == before.end() && !coversClick) {
                    return popup;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return 0;
    }
};

TEST_P(MenuSampleEndToEnd, ChoosingFileThenExitEndsTheProgram)
{
    const std::string build = GetParam();
    ProgramProcess program(LaunchCommand(build, kProgram), ArtifactPath("menu-sample-" + build + ".out"));
    const Window window = WaitForProgramWindow(program, kTitle);
    ASSERT_NE(window, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));

    // "File" is the first entry of the menu bar, just above the drawing surface.
    const ScreenRectangle surface = mSession.DrawingSurface(window);
    const std::vector<Window> popupsBefore = mSession.PopupWindows();
    const int fileX = surface.x + 15;
    const int fileY = surface.y - 9;
    mSession.Click(fileX, fileY);
    const Window popup = WaitForNewPopup(popupsBefore, fileX, fileY);
    ASSERT_NE(popup, 0u) << "clicking \"File\" opened no menu";

    // "Exit" is the first entry of the pop-up.
    const ScreenRectangle popupFrame = mSession.Frame(popup);
    mSession.Click(popupFrame.x + popupFrame.width / 2, popupFrame.y + 10);
    ASSERT_TRUE(program.WaitForExit(10.0)) << "\"Exit\" did not end the program";
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_EQ(program.Output().find("ASSERTION FAILED!"), std::string::npos) << program.Output();
}

TEST_P(MenuSampleEndToEnd, CloseRequestEndsTheProgram)
{
    const std::string build = GetParam();
    ProgramProcess program(LaunchCommand(build, kProgram), ArtifactPath("menu-sample-close-" + build + ".out"));
    const Window window = WaitForProgramWindow(program, kTitle);
    ASSERT_NE(window, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    mSession.RequestClose(window);
    ASSERT_TRUE(program.WaitForExit(10.0));
    EXPECT_EQ(program.ExitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Builds, MenuSampleEndToEnd, testing::ValuesIn(BuildsUnderTest()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace kwE2e
