// Test support: the platform probe on Win32. Reads windows and menus back with
// USER32, posts the messages the system would, and counts presents and live
// menus by pointing this program's imports of SwapBuffers and CreateMenu here.
#include "platform_probe.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace kwTest {
namespace {

// Points the program's import `name` (the framework is linked in) at `hook`; returns the system's function.
template <typename Function> Function Hook(const char* name, Function hook)
{
    BYTE* image = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* headers = PIMAGE_NT_HEADERS(image + PIMAGE_DOS_HEADER(image)->e_lfanew);
    auto* module = PIMAGE_IMPORT_DESCRIPTOR(image + headers->OptionalHeader.DataDirectory[1].VirtualAddress);
    for (; module->Name != 0; ++module) {
        auto* slot = PIMAGE_THUNK_DATA(image + module->FirstThunk);
        for (auto* entry = PIMAGE_THUNK_DATA(image + module->OriginalFirstThunk); entry->u1.AddressOfData != 0; ++entry, ++slot) {
            const char* imported = PIMAGE_IMPORT_BY_NAME(image + entry->u1.AddressOfData)->Name;
            DWORD protection = 0;
            if (!IMAGE_SNAP_BY_ORDINAL(entry->u1.Ordinal) && std::strcmp(imported, name) == 0 &&
                VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection)) {
                const ULONG_PTR original = slot->u1.Function;
                slot->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
                hook = reinterpret_cast<Function>(original);
            }
        }
    }
    return hook;
}

int sPresented = 0;
std::set<HMENU> sMenus;
BOOL WINAPI CountingSwapBuffers(HDC deviceContext);
HMENU WINAPI RecordingCreateMenu();
const auto sSwapBuffers = Hook("SwapBuffers", &CountingSwapBuffers);
const auto sCreateMenu = Hook("CreateMenu", &RecordingCreateMenu);
BOOL WINAPI CountingSwapBuffers(HDC deviceContext) { return ++sPresented, sSwapBuffers(deviceContext); }
HMENU WINAPI RecordingCreateMenu() { return *sMenus.insert(sCreateMenu()).first; }

void Describe(HMENU menu, std::string& text)
{
    text += "[";
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char name[64] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = name;
        item.cch = sizeof(name);
        GetMenuItemInfoA(menu, position, TRUE, &item);
        text += std::string(position > 0 ? "," : "") + (item.fType & MFT_SEPARATOR ? "-" : name) + "#" +
                std::to_string(item.wID) + ":" + std::to_string(item.fState);
        if (item.hSubMenu != nullptr) {
            Describe(item.hSubMenu, text);
        }
    }
    text += "]";
}

} // namespace

void Send(kwImplementation::WindowHandle window, Event event, unsigned int value)
{
    const HWND hwnd = static_cast<HWND>(window);
    const bool odd = value % 2 != 0;
    // Activation goes by the whole wParam: a minimised window's deactivation counts as activation.
    const UINT messages[] = {WM_ACTIVATE, WM_ACTIVATE, WM_PAINT, 0, WM_KEYDOWN, WM_CONTEXTMENU,
                             UINT(odd ? WM_LBUTTONDOWN : WM_MOUSEMOVE), WM_COMMAND, WM_CLOSE};
    const WPARAM wParams[] = {odd ? WA_CLICKACTIVE : MAKEWPARAM(WA_INACTIVE, 1), WA_INACTIVE, 0, 0,
                              WPARAM(odd ? VK_ESCAPE : 'A'), WPARAM(hwnd), 0, value, 0};
    if (event == Event::Resize) {
        SetWindowPos(hwnd, nullptr, 0, 0, odd ? 700 : 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        PostMessageA(hwnd, messages[int(event)], wParams[int(event)], MAKELPARAM(400, 300)); // in the client area
    }
}

void Flush() {}

std::string Describe(kwImplementation::WindowHandle window)
{
    RECT r = {};
    char title[64] = {};
    GetWindowRect(static_cast<HWND>(window), &r);
    GetWindowTextA(static_cast<HWND>(window), title, sizeof(title));
    std::string text = std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                       std::to_string(r.bottom) + " " + title;
    if (GetMenu(static_cast<HWND>(window)) != nullptr) {
        Describe(GetMenu(static_cast<HWND>(window)), text);
    }
    return text;
}

int PresentedFrames() { return sPresented; }

int LiveMenus() { return static_cast<int>(std::count_if(sMenus.begin(), sMenus.end(), IsMenu)); }

} // namespace kwTest
