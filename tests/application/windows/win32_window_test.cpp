// Platform tests that only Win32 has: the class record and window style, the
// pixel format, the window procedure's message table (activation by the whole
// wParam, paint), WM_QUIT ahead of other messages, WM_CREATE while a handle is
// recorded, commands from controls, and the pointer-sized procedure slot.
#include "platform_probe.h"
#include "recording_handler.h"

#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_application_menu.h"
#include "application/kw_realtime_application.h"

#include <gtest/gtest.h>

#include <windows.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using kwImplementation::GetRealtimeApplicationState;

namespace kwTest {
namespace {

typedef std::vector<std::string> Names;

HWND ApplicationWindow() { return static_cast<HWND>(GetRealtimeApplicationState().windowHandle); }

typedef ApplicationRunTest Win32WindowTest;

TEST_F(Win32WindowTest, ClassRecordWindowStyleAndPixelFormat)
{
    WNDCLASSA windowClass = {};
    BOOL classFound = FALSE;
    LONG styleWhenOpened = 0;
    LONG styleInLoop = 0;
    char className[64] = {};
    PIXELFORMATDESCRIPTOR format = {};
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            classFound = GetClassInfoA(GetModuleHandleA(nullptr), "KelpwrightApplication", &windowClass);
            styleWhenOpened = GetWindowLongA(ApplicationWindow(), GWL_STYLE);
            GetClassNameA(ApplicationWindow(), className, sizeof(className));
        }
        if (name == "OnRealtimeUpdate" && count == 1) {
            styleInLoop = GetWindowLongA(ApplicationWindow(), GWL_STYLE);
            const HDC deviceContext = GetDC(ApplicationWindow());
            DescribePixelFormat(deviceContext, GetPixelFormat(deviceContext), sizeof(format), &format);
            ReleaseDC(ApplicationWindow(), deviceContext);
            application.Close();
        }
    });

    ASSERT_TRUE(classFound);
    EXPECT_EQ(windowClass.style, 3u);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(windowClass.hbrBackground), 5);
    EXPECT_EQ(windowClass.hIcon, LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(windowClass.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(windowClass.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(windowClass.cbClsExtra, 0);
    EXPECT_EQ(windowClass.cbWndExtra, 0);
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);
    EXPECT_STREQ(className, "KelpwrightApplication");

    EXPECT_EQ(static_cast<DWORD>(styleWhenOpened), 0x06CF0000u);
    EXPECT_EQ(static_cast<DWORD>(styleInLoop), 0x06CF0000u | WS_VISIBLE);

    const DWORD requested = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    EXPECT_EQ(format.dwFlags & requested, requested);
    EXPECT_EQ(format.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(format.cDepthBits, 16);
    EXPECT_GE(format.cStencilBits, 8);
}

TEST_F(Win32WindowTest, WindowProcedureActivatesOnTheWholeWParamAndPresentsOnPaint)
{
    std::vector<Names> raised;
    int presentsForPaint = -1;
    Run([&](const std::string& name, int count) {
        if (name != "OnRealtimeUpdate" || count != 1) {
            return;
        }
        const auto newCallsOf = [&](UINT message, WPARAM wParam) {
            const size_t before = handler.calls.size();
            SendMessageA(ApplicationWindow(), message, wParam, 0);
            Names names;
            for (size_t index = before; index < handler.calls.size(); ++index) {
                names.push_back(handler.calls[index].name);
            }
            return names;
        };
        raised.push_back(newCallsOf(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1))); // inactive but minimised
        raised.push_back(newCallsOf(WM_ACTIVATE, 0));
        raised.push_back(newCallsOf(WM_ACTIVATE, WA_CLICKACTIVE));
        const int presentsBefore = CountPresentedFrames();
        raised.push_back(newCallsOf(WM_PAINT, 0));
        presentsForPaint = CountPresentedFrames() - presentsBefore;
        application.Close();
    });

    EXPECT_EQ(raised, (std::vector<Names>{{"OnBecomeActive"}, {"OnBecomeInactive"}, {"OnBecomeActive"}, {}}));
    EXPECT_EQ(presentsForPaint, 1);
}

TEST_F(Win32WindowTest, ShowingActivatesBeforeTheLoopAndCloseThereHasNoEffect)
{
    Run([&](const std::string& name, int count) {
        if (name == "OnBecomeActive" && handler.Count("OnRealtimeUpdate") == 0) {
            application.Close();
        }
        if (name == "OnRealtimeUpdate" && count == 2) {
            application.Close();
        }
    });

    const Names expectedStart = {"CollectWindowProperties", "OnWindowOpen", "OnBecomeActive"};
    ASSERT_GE(handler.calls.size(), 3u);
    EXPECT_EQ((Names{handler.calls[0].name, handler.calls[1].name, handler.calls[2].name}), expectedStart);
    EXPECT_EQ(handler.Count("OnRealtimeUpdate"), 2);
}

TEST_F(Win32WindowTest, MessagesQueuedBehindTheQuitMessageAreStillDispatched)
{
    ApplicationMenu menu(3);
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(2, "Exit", 1, true, false, true);
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            application.SetWindowMenu(menu);
        }
        if (name == "OnRealtimeUpdate" && count == 1) {
            // A posted WM_QUIT keeps its place in the queue, ahead of the command.
            PostMessageA(nullptr, WM_QUIT, 0, 0);
            QueueMenuCommand(ApplicationWindow(), 2);
        }
    });

    EXPECT_EQ(handler.NamesWithoutActivation(), (Names{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate",
                                                        "OnMenuAction", "OnWindowClose"}));
    // The window still existed when the loop ended: destroyed at teardown, without a context.
    EXPECT_FALSE(handler.calls.back().contextCurrent);
}

TEST_F(Win32WindowTest, CreationWhileAWindowHandleIsRecordedReportsAndTakesTheNewWindow)
{
    HWND stale = CreateWindowExA(0, "STATIC", "stale", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    GetRealtimeApplicationState().windowHandle = stale;
    ReportRecorder reports;
    HWND windowInLoop = nullptr;
    Run([&](const std::string& name, int count) {
        if (name == "OnRealtimeUpdate" && count == 1) {
            windowInLoop = ApplicationWindow();
            application.Close();
        }
    });
    const bool staleSurvived = IsWindow(stale) != FALSE;
    DestroyWindow(stale);

    EXPECT_EQ(reports.messages, (Names{"kwInternalError: Expected window handle to be unused at this moment."}));
    EXPECT_NE(windowInLoop, stale);
    EXPECT_EQ(handler.Count("OnRealtimeUpdate"), 1);
    EXPECT_TRUE(staleSurvived);
}

TEST_F(Win32WindowTest, CommandFromAControlStillRaisesOnMenuAction)
{
    const WindowHandle window = CreatePlainWindow();
    ApplicationMenu menu(4);
    menu.AddMenuItem(7, "Seven", kInvalidMenuItemIdentifier, true, false, true);
    kwImplementation::AttachMenuToWindow(window, menu, handler);

    // Notification code in the high word, the control's window in lParam.
    SendMessageA(static_cast<HWND>(window), WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(window));
    DestroyPlainWindow(window);

    ASSERT_EQ(handler.calls.size(), 1u);
    EXPECT_EQ(handler.calls[0].name, "OnMenuAction");
    EXPECT_EQ(handler.calls[0].second, 7u);
}

TEST_F(Win32WindowTest, ProcedureSlotIsReadAndWrittenAtFullPointerWidth)
{
    const WindowHandle window = CreatePlainWindow();
    const std::intptr_t ownProcedure = static_cast<std::intptr_t>(GetClassLongPtrA(static_cast<HWND>(window), GCLP_WNDPROC));
    EXPECT_EQ(kwImplementation::Platform::ReadWindowProcedure(window), ownProcedure);

    ApplicationMenu menu(5);
    menu.AddMenuItem(1, "One", kInvalidMenuItemIdentifier, true, false, true);
    kwImplementation::AttachMenuToWindow(window, menu, handler);

    EXPECT_EQ(static_cast<std::intptr_t>(GetWindowLongPtrA(static_cast<HWND>(window), GWLP_WNDPROC)),
              kwImplementation::Platform::MenuWindowProcedureValue());
    EXPECT_EQ(kwImplementation::GetHandlersToMenus().at(&handler).previousProcedure, ownProcedure);
    DestroyPlainWindow(window);
}

TEST_F(Win32WindowTest, SeparatorKeepsItsCommandIdentifierInTheWindowMenu)
{
    const WindowHandle window = CreatePlainWindow();
    ApplicationMenu menu(6);
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(2, "", 1, false, true, true);
    kwImplementation::AttachMenuToWindow(window, menu, handler);

    std::vector<MenuEntry> bar;
    ASSERT_TRUE(ReadMenuBar(window, bar));
    DestroyPlainWindow(window);
    ASSERT_EQ(bar.size(), 1u);
    ASSERT_EQ(bar[0].children.size(), 1u);
    EXPECT_TRUE(bar[0].children[0].isSeparator);
    EXPECT_EQ(bar[0].children[0].identifier, 2u);
    EXPECT_EQ(bar[0].children[0].state, 11u);
}

} // namespace
} // namespace kwTest
