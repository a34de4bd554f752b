// Platform tests that only Win32 has: the class record and window style, the
// pixel format, the window procedure's message table (activation by the whole
// wParam, paint; showing activates), WM_QUIT ahead of other messages, and a
// subclassed window: the pointer-sized procedure slot, the separator's command
// identifier and commands from controls.
#include "platform_probe.h"
#include "recording_handler.h"

#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_application_menu.h"

#include <gtest/gtest.h>

#include <windows.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;

namespace kwTest {
namespace {

HWND ApplicationWindow() { return static_cast<HWND>(kwImplementation::GetRealtimeApplicationState().windowHandle); }

typedef ApplicationRunTest Win32WindowTest;

TEST_F(Win32WindowTest, ClassRecordWindowStyleAndPixelFormat)
{
    WNDCLASSA windowClass = {};
    BOOL classFound = FALSE;
    PIXELFORMATDESCRIPTOR format = {};
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            classFound = GetClassInfoA(GetModuleHandleA(nullptr), "KelpwrightApplication", &windowClass);
            char className[64] = {};
            GetClassNameA(ApplicationWindow(), className, sizeof(className));
            EXPECT_STREQ(className, "KelpwrightApplication");
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(ApplicationWindow(), GWL_STYLE)), 0x06CF0000u);
        }
        if (name == "OnRealtimeUpdate" && count == 1) {
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(ApplicationWindow(), GWL_STYLE)), 0x06CF0000u | WS_VISIBLE);
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
    RunUpdates(1, [&](int) {
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
    });

    EXPECT_EQ(raised, (std::vector<Names>{{"OnBecomeActive"}, {"OnBecomeInactive"}, {"OnBecomeActive"}, {}}));
    EXPECT_EQ(presentsForPaint, 1);
    // Showing the window activates it, before the loop.
    ASSERT_GE(handler.calls.size(), 3u);
    EXPECT_EQ(handler.calls[2].name, "OnBecomeActive");
}

TEST_F(Win32WindowTest, MessagesQueuedBehindTheQuitMessageAreStillDispatched)
{
    ApplicationMenu menu(3);
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(2, "Exit", 1, true, false, true);
    RunUpdates(0, [&](int count) {
        if (count == 1) {
            // A posted WM_QUIT keeps its place in the queue, ahead of the command.
            PostMessageA(nullptr, WM_QUIT, 0, 0);
            QueueMenuCommand(ApplicationWindow(), 2);
        }
    }, &menu);

    EXPECT_EQ(handler.NamesWithoutActivation(), (Names{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate",
                                                        "OnMenuAction", "OnWindowClose"}));
    // The window still existed when the loop ended: destroyed at teardown, without a context.
    EXPECT_FALSE(handler.calls.back().contextCurrent);
}

TEST_F(Win32WindowTest, SubclassedWindowKeepsPointerWideProceduresSeparatorIdentifiersAndControlCommands)
{
    const WindowHandle window = CreatePlainWindow();
    const HWND hwnd = static_cast<HWND>(window);
    const std::intptr_t ownProcedure = static_cast<std::intptr_t>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
    EXPECT_EQ(kwImplementation::Platform::ReadWindowProcedure(window), ownProcedure);
    ApplicationMenu menu(4);
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(2, "", 1, false, true, true);
    menu.AddMenuItem(7, "Seven", kInvalidMenuItemIdentifier, true, false, true);
    kwImplementation::AttachMenuToWindow(window, menu, handler);

    EXPECT_EQ(static_cast<std::intptr_t>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)),
              kwImplementation::Platform::MenuWindowProcedureValue());
    EXPECT_EQ(kwImplementation::GetHandlersToMenus().at(&handler).previousProcedure, ownProcedure);
    // A control's command: notification code in the high word, its window in lParam.
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
    std::vector<MenuEntry> bar;
    const bool hasBar = ReadMenuBar(window, bar);
    DestroyPlainWindow(window);

    EXPECT_EQ(handler.ChosenItems(), std::vector<unsigned int>{7});
    // A disabled, checked separator keeps its identifier and state.
    ASSERT_TRUE(hasBar);
    ASSERT_EQ(bar.size(), 2u);
    ASSERT_EQ(bar[0].children.size(), 1u);
    EXPECT_TRUE(bar[0].children[0].isSeparator);
    EXPECT_EQ(bar[0].children[0].identifier, 2u);
    EXPECT_EQ(bar[0].children[0].state, 11u);
}

} // namespace
} // namespace kwTest
