// Test support: the platform probe on Win32. Reads windows and menus back with
// USER32 (GetWindowRect, GetWindowTextA, IsWindow, IsWindowVisible, GetMenu,
// GetMenuItemCount, GetMenuItemInfoA), queues events with PostMessageA, asks WGL
// for the current context, and counts presents by redirecting this program's
// import of SwapBuffers.
#include "platform_probe.h"

#include <windows.h>

#include <cstring>
#include <map>

namespace kwTest {

namespace {

HWND ToWindow(WindowHandle window) { return static_cast<HWND>(window); }

// ---- Presents: every SwapBuffers call of this program goes through the counter.

typedef BOOL(WINAPI* SwapBuffersFunction)(HDC);
SwapBuffersFunction sSystemSwapBuffers = nullptr;
int sPresentedFrames = 0;

BOOL WINAPI CountingSwapBuffers(HDC deviceContext)
{
    ++sPresentedFrames;
    return sSystemSwapBuffers(deviceContext);
}

// Replaces the program's import address slot of SwapBuffers (the framework is
// linked statically, so its calls all go through that one slot).
bool RedirectSwapBuffers()
{
    unsigned char* image = reinterpret_cast<unsigned char*>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* ntHeaders =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = ntHeaders->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(image + imports.VirtualAddress); module->Name != 0;
         ++module) {
        auto* lookup = reinterpret_cast<IMAGE_THUNK_DATA*>(image + module->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(image + module->FirstThunk);
        for (; lookup->u1.AddressOfData != 0; ++lookup, ++slot) {
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(image + lookup->u1.AddressOfData);
            if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal) ||
                std::strcmp(reinterpret_cast<const char*>(byName->Name), "SwapBuffers") != 0) {
                continue;
            }
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &protection);
            sSystemSwapBuffers = reinterpret_cast<SwapBuffersFunction>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(&CountingSwapBuffers);
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), protection, &protection);
        }
    }
    return true;
}

// Installed before any test runs.
const bool sSwapBuffersRedirected = RedirectSwapBuffers();

// ---- Plain windows: a class of the probe's own that counts what reaches it.

std::map<HWND, int> sMessagesSeen;

LRESULT CALLBACK PlainWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++sMessagesSeen[hwnd];
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void ReadMenu(HMENU menu, std::vector<MenuEntry>& entries)
{
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char name[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = name;
        info.cch = sizeof(name);
        GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        const bool isSeparator = (info.fType & MFT_SEPARATOR) != 0;
        entries.push_back(MenuEntry{isSeparator ? "" : name, info.wID, info.fState, isSeparator, {}});
        if (info.hSubMenu != nullptr) {
            ReadMenu(info.hSubMenu, entries.back().children);
        }
    }
}

} // namespace

WindowRectangle GetOuterRectangle(WindowHandle window)
{
    RECT rectangle = {};
    GetWindowRect(ToWindow(window), &rectangle);
    return {{rectangle.left, rectangle.top, rectangle.right, rectangle.bottom}};
}

std::string GetWindowTitle(WindowHandle window)
{
    char title[256] = {};
    GetWindowTextA(ToWindow(window), title, sizeof(title));
    return title;
}

bool WindowExists(WindowHandle window) { return IsWindow(ToWindow(window)) != FALSE; }

bool IsWindowShown(WindowHandle window) { return IsWindowVisible(ToWindow(window)) != FALSE; }

bool IsRenderingContextCurrent() { return wglGetCurrentContext() != nullptr; }

int CountPresentedFrames() { return sPresentedFrames; }

bool ReadMenuBar(WindowHandle window, std::vector<MenuEntry>& entries)
{
    entries.clear();
    const HMENU bar = GetMenu(ToWindow(window));
    if (bar != nullptr) {
        ReadMenu(bar, entries);
    }
    return bar != nullptr;
}

void QueueCloseRequest(WindowHandle window) { PostMessageA(ToWindow(window), WM_CLOSE, 0, 0); }

// A choice from a menu: high word 0, no control.
void QueueMenuCommand(WindowHandle window, unsigned int identifier)
{
    PostMessageA(ToWindow(window), WM_COMMAND, MAKEWPARAM(identifier, 0), 0);
}

void QueueContextMenuRequest(WindowHandle window)
{
    PostMessageA(ToWindow(window), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(120, 80));
}

void DrainQueuedEvents()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

WindowHandle CreatePlainWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KelpwrightProbeWindow";
    RegisterClassA(&windowClass); // fails harmlessly when already registered
    return CreateWindowExA(0, windowClass.lpszClassName, "Kelpwright probe window", WS_OVERLAPPEDWINDOW, 100, 100, 320,
                           240, nullptr, nullptr, windowClass.hInstance, nullptr);
}

void DestroyPlainWindow(WindowHandle window) { DestroyWindow(ToWindow(window)); }

int CountEventsSeenByPlainWindow(WindowHandle window) { return sMessagesSeen[ToWindow(window)]; }

} // namespace kwTest
