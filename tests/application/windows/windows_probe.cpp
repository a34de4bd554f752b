// Test support: the Win32 probe. USER32 reads windows and menus back and posts the messages the
// system would. Presents are counted by the recording opengl32.dll, where GDI32's SwapBuffers ends.
#include "application/platform/platform_probe.h"

#include <windows.h>

#include <algorithm>
#include <set>

extern "C" int kwPresentedFrames();

namespace kwTest {
namespace {

std::set<HMENU> sMenus; // every menu a description has shown

void Describe(HMENU menu, std::string& text)
{
    text += "[", sMenus.insert(menu);
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char name[64] = {};
        MENUITEMINFOA item = {sizeof(MENUITEMINFOA),
                              MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING,
                              0,
                              0,
                              0,
                              nullptr,
                              nullptr,
                              nullptr,
                              0,
                              name,
                              sizeof(name),
                              nullptr};
        GetMenuItemInfoA(menu, position, TRUE, &item);
        text += std::string(position > 0 ? "," : "") + (item.fType & MFT_SEPARATOR ? "-" : name) + "#" +
            std::to_string(item.wID) + ":" + std::to_string(item.fState);
        item.hSubMenu != nullptr ? Describe(item.hSubMenu, text) : void();
    }
    text += "]";
}

} // namespace

void Send(kwImplementation::WindowHandle window, Event event, unsigned int value)
{
    const HWND hwnd = static_cast<HWND>(window);
    const bool odd = value % 2 != 0;
    // Activation goes by the whole wParam: a minimised window's deactivation activates.
    const UINT messages[] = {WM_ACTIVATE,
                             WM_ACTIVATE,
                             WM_PAINT,
                             0,
                             WM_KEYDOWN,
                             WM_CONTEXTMENU,
                             UINT(odd ? WM_LBUTTONDOWN : WM_MOUSEMOVE),
                             WM_COMMAND,
                             WM_CLOSE};
    const WPARAM wParams[] = {odd ? WA_CLICKACTIVE : MAKEWPARAM(WA_INACTIVE, 1),
                              WA_INACTIVE,
                              0,
                              0,
                              WPARAM(odd ? VK_ESCAPE : 'A'),
                              WPARAM(hwnd),
                              0,
                              value,
                              0};
    event == Event::Resize
        ? SetWindowPos(hwnd, nullptr, 0, 0, odd ? 700 : 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)
        : PostMessageA(hwnd, messages[int(event)], wParams[int(event)], MAKELPARAM(400, 300));
}

void Flush() {}

std::string Describe(kwImplementation::WindowHandle window)
{
    RECT r = {};
    char title[64] = {};
    GetWindowRect(static_cast<HWND>(window), &r);
    GetWindowTextA(static_cast<HWND>(window), title, sizeof(title));
    std::string text = std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
        "," + std::to_string(r.bottom) + " " + title;
    return GetMenu(static_cast<HWND>(window)) != nullptr
        ? (Describe(GetMenu(static_cast<HWND>(window)), text), text)
        : text;
}

int PresentedFrames() { return kwPresentedFrames(); }

int LiveMenus(kwImplementation::WindowHandle window)
{
    return Describe(window), static_cast<int>(std::count_if(sMenus.begin(), sMenus.end(), IsMenu));
}

} // namespace kwTest
