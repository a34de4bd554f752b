// Test support: the Win32 probe. USER32 reads windows, classes and menus back and posts the messages the
// system would. Presents are counted by the recording opengl32.dll, where GDI32's SwapBuffers ends.
#include "application/platform/platform_probe.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>

extern "C" int kwPresentedFrames();
extern "C" int kwDeviceContextsPresentedTo();

namespace kwTest {
namespace {

std::set<HMENU> sMenus; // every menu a description has shown

HWND ToWindow(kwImplementation::WindowHandle window) { return static_cast<HWND>(window); }

std::string Hex(ULONG_PTR value)
{
    char text[32] = {};
    std::snprintf(text, sizeof(text), "0x%08llX", static_cast<unsigned long long>(value));
    return text;
}

void DescribeMenu(HMENU menu, std::string& text)
{
    sMenus.insert(menu);
    text += "[";
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char name[64] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(MENUITEMINFOA);
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = name;
        item.cch = sizeof(name);
        GetMenuItemInfoA(menu, position, TRUE, &item);
        if (position > 0) {
            text += ",";
        }
        const bool separator = (item.fType & MFT_SEPARATOR) != 0;
        text += std::string(separator ? "-" : name) + "#" + std::to_string(item.wID) + ":" +
            std::to_string(item.fState);
        if (item.hSubMenu != nullptr) {
            DescribeMenu(item.hSubMenu, text);
        }
    }
    text += "]";
}

void PostActivate(HWND window, WPARAM wParam) { PostMessageA(window, WM_ACTIVATE, wParam, 0); }

int sCharacters = 0;

// Sees each message as a drain takes it from the queue.
LRESULT CALLBACK CountCharacters(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const MSG*>(lParam)->message == WM_CHAR) {
        ++sCharacters;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A mouse event through the system's input path, as the mouse driver gives it.
void SendMouse(DWORD flags, DWORD data)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof(INPUT));
}

} // namespace

void Send(kwImplementation::WindowHandle window, Event event, unsigned int value)
{
    const HWND hwnd = ToWindow(window);
    const bool odd = value % 2 != 0;
    const LPARAM position = MAKELPARAM(400, 300);
    switch (event) {
    case Event::Activate:
        // A minimised window's deactivation (high word set) activates too: the whole wParam counts.
        PostActivate(hwnd, odd ? WA_CLICKACTIVE : MAKEWPARAM(WA_INACTIVE, 1));
        break;
    case Event::Deactivate:
        PostActivate(hwnd, WA_INACTIVE);
        break;
    case Event::Paint:
        PostMessageA(hwnd, WM_PAINT, 0, 0);
        break;
    case Event::Resize:
        SetWindowPos(hwnd, nullptr, 0, 0, odd ? 700 : 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case Event::Key:
        PostMessageA(hwnd, WM_KEYDOWN, odd ? VK_ESCAPE : 'A', 0);
        break;
    case Event::ContextMenu: // a right click: the default processing of its release sends WM_CONTEXTMENU
        PostMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, position);
        PostMessageA(hwnd, WM_RBUTTONUP, 0, position);
        break;
    case Event::Mouse:
        PostMessageA(hwnd, odd ? WM_LBUTTONDOWN : WM_MOUSEMOVE, 0, position);
        break;
    case Event::Command:
        PostMessageA(hwnd, WM_COMMAND, value, 0);
        break;
    case Event::Close:
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    }
}

void Flush() {}

std::string DescribeWindow(kwImplementation::WindowHandle window)
{
    RECT r = {};
    char title[64] = {};
    GetWindowRect(ToWindow(window), &r);
    GetWindowTextA(ToWindow(window), title, sizeof(title));
    const bool shown = IsWindowVisible(ToWindow(window)) && !IsIconic(ToWindow(window));
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
        std::to_string(r.bottom) + " " + title + (shown ? "" : " (not shown)");
}

std::string DescribeMenuBar(kwImplementation::WindowHandle window)
{
    const HMENU bar = GetMenu(ToWindow(window));
    if (bar == nullptr) {
        return "none";
    }
    std::string text;
    DescribeMenu(bar, text);
    return text;
}

std::string DescribeCreation(kwImplementation::WindowHandle window)
{
    const HWND hwnd = ToWindow(window);
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    std::string text = "class " + std::string(className) + "\n";
    const struct {
        const char* name;
        int index;
    } kClassFields[] = {{"class style", GCL_STYLE}, {"class brush", GCLP_HBRBACKGROUND}};
    for (const auto& field : kClassFields) {
        text += std::string(field.name) + " " + Hex(GetClassLongPtrA(hwnd, field.index)) + "\n";
    }
    const struct {
        const char* name;
        bool holds;
    } kFacts[] = {
        {"class icon IDI_APPLICATION",
         GetClassLongPtrA(hwnd, GCLP_HICON) ==
             reinterpret_cast<ULONG_PTR>(LoadIconA(nullptr, IDI_APPLICATION))},
        {"class cursor IDC_ARROW",
         GetClassLongPtrA(hwnd, GCLP_HCURSOR) ==
             reinterpret_cast<ULONG_PTR>(LoadCursorA(nullptr, IDC_ARROW))},
    };
    for (const auto& fact : kFacts) {
        text += std::string(fact.name) + (fact.holds ? " yes" : " no") + "\n";
    }
    text += "style " + Hex(static_cast<ULONG>(GetWindowLongA(hwnd, GWL_STYLE))) + "\n";
    text += "extended style " + Hex(static_cast<ULONG>(GetWindowLongA(hwnd, GWL_EXSTYLE))) + "\n";
    return text;
}

int PresentedFrames() { return kwPresentedFrames(); }

int LiveMenus(kwImplementation::WindowHandle window)
{
    DescribeMenuBar(window);
    return static_cast<int>(std::count_if(sMenus.begin(), sMenus.end(), IsMenu));
}

// The high word set (a minimised window) makes a deactivation activate: the whole wParam counts.
std::string SendFocusChange(kwImplementation::WindowHandle window, size_t row)
{
    const struct {
        const char* name;
        WPARAM wParam;
    } kChanges[] = {{"WA_ACTIVE", WA_ACTIVE},
                    {"WA_INACTIVE", WA_INACTIVE},
                    {"WA_CLICKACTIVE", WA_CLICKACTIVE},
                    {"WA_INACTIVE", WA_INACTIVE},
                    {"WA_INACTIVE with the high word 1", MAKEWPARAM(WA_INACTIVE, 1)}};
    if (row >= sizeof(kChanges) / sizeof(kChanges[0])) {
        return "";
    }
    PostActivate(ToWindow(window), kChanges[row].wParam);
    return kChanges[row].name;
}

// NOTE: Wine takes the key state back from X (where the key is up) when the window gets the focus, so a
// held key's repeat is posted as the keyboard driver marks it: bit 30, the key was down.
void SendKey(kwImplementation::WindowHandle window, int nativeCode, KeyAction action)
{
    if (action == KeyAction::Repeat) {
        PostMessageA(ToWindow(window), WM_KEYDOWN, static_cast<WPARAM>(nativeCode), 1 | LPARAM(1) << 30);
        return;
    }
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(nativeCode);
    input.ki.dwFlags = action == KeyAction::Release ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

// The cursor is placed, then a move of no distance reports it where it is.
void MovePointer(kwImplementation::WindowHandle window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(ToWindow(window), &point);
    SetCursorPos(point.x, point.y);
    SendMouse(MOUSEEVENTF_MOVE, 0);
}

void SendButton(kwImplementation::WindowHandle, Kelpwright::Application::PointerButton button, bool down)
{
    const DWORD kFlags[][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                               {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN},
                               {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN}};
    SendMouse(kFlags[static_cast<int>(button)][down ? 1 : 0], 0);
}

void SendWheel(kwImplementation::WindowHandle, int notches)
{
    SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(notches * WHEEL_DELTA));
}

void SetKeyboardFocus(kwImplementation::WindowHandle window, bool toWindow)
{
    SetFocus(toWindow ? ToWindow(window) : nullptr);
}

Kelpwright::Application::DrawingSize SurfaceSize(kwImplementation::WindowHandle window)
{
    RECT client = {};
    GetClientRect(ToWindow(window), &client);
    return {client.right, client.bottom};
}

int TranslatedCharacters()
{
    static const HHOOK hook =
        SetWindowsHookExA(WH_GETMESSAGE, CountCharacters, nullptr, GetCurrentThreadId());
    return hook != nullptr ? sCharacters : -1;
}

int DeviceContextsPresentedTo() { return kwDeviceContextsPresentedTo(); }

} // namespace kwTest
