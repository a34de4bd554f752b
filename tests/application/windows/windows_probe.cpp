// Test support: the Win32 probe. USER32 reads windows and menus back and posts the
// messages the system would; presents and live menus are counted by pointing this
// program's imports of SwapBuffers and CreateMenu (the framework is linked in) here.
#include "platform_probe.h"

#include <windows.h>

#include <algorithm>
#include <set>

namespace kwTest {
namespace {

int sPresented = 0;
std::set<HMENU> sMenus;
BOOL(WINAPI* sSwapBuffers)(HDC) = nullptr;
HMENU(WINAPI* sCreateMenu)() = nullptr;
BOOL WINAPI CountingSwapBuffers(HDC deviceContext) { return ++sPresented, sSwapBuffers(deviceContext); }
HMENU WINAPI RecordingCreateMenu() { return *sMenus.insert(sCreateMenu()).first; }

template <typename Function> void Redirect(IMAGE_THUNK_DATA* slot, Function& system, Function hook)
{
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    system = reinterpret_cast<Function>(slot->u1.Function);
    slot->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
}

const bool sRedirected = [] {
    BYTE* image = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto& imports = PIMAGE_NT_HEADERS(image + PIMAGE_DOS_HEADER(image)->e_lfanew)->OptionalHeader.DataDirectory[1];
    for (auto* module = PIMAGE_IMPORT_DESCRIPTOR(image + imports.VirtualAddress); module->Name != 0; ++module) {
        auto* slot = PIMAGE_THUNK_DATA(image + module->FirstThunk);
        for (auto* entry = PIMAGE_THUNK_DATA(image + module->OriginalFirstThunk); entry->u1.AddressOfData != 0; ++entry, ++slot) {
            const std::string name = IMAGE_SNAP_BY_ORDINAL(entry->u1.Ordinal) ? "" : PIMAGE_IMPORT_BY_NAME(image + entry->u1.AddressOfData)->Name;
            name == "SwapBuffers" ? Redirect(slot, sSwapBuffers, &CountingSwapBuffers) : void();
            name == "CreateMenu" ? Redirect(slot, sCreateMenu, &RecordingCreateMenu) : void();
        }
    }
    return true;
}();

void Describe(HMENU menu, std::string& text)
{
    text += "[";
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char name[64] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item), item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = name, item.cch = sizeof(name);
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
    const UINT messages[] = {WM_ACTIVATE, WM_ACTIVATE, WM_PAINT, 0, WM_KEYDOWN, WM_CONTEXTMENU,
                             UINT(odd ? WM_LBUTTONDOWN : WM_MOUSEMOVE), WM_COMMAND, WM_CLOSE};
    const WPARAM wParams[] = {odd ? WA_CLICKACTIVE : MAKEWPARAM(WA_INACTIVE, 1), WA_INACTIVE, 0, 0,
                              WPARAM(odd ? VK_ESCAPE : 'A'), WPARAM(hwnd), 0, value, 0};
    event == Event::Resize ? SetWindowPos(hwnd, nullptr, 0, 0, odd ? 700 : 800, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)
                           : PostMessageA(hwnd, messages[int(event)], wParams[int(event)], MAKELPARAM(400, 300));
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
    return GetMenu(static_cast<HWND>(window)) != nullptr ? (Describe(GetMenu(static_cast<HWND>(window)), text), text) : text;
}

int PresentedFrames() { return sPresented; }

int LiveMenus() { return static_cast<int>(std::count_if(sMenus.begin(), sMenus.end(), IsMenu)); }

} // namespace kwTest
