// Kelpwright: the Win32 menu steps of the window-menu binding and the menu
// window procedure that subclasses a window to pick out its menu commands.
// USER32: GetWindowLongA/SetWindowLongA (GetWindowLongPtrA/SetWindowLongPtrA on 64-bit), CallWindowProcA,
// DefWindowProcA, CreateMenu, DestroyMenu, InsertMenuItemA, SetMenu, TrackPopupMenu.
#include "application/implementation/kwi_window_menu_binding.h"

#include <windows.h>

#include <string>

// NOTE: windows.h maps InsertMenuItem to InsertMenuItemA, which would rename the binding's own step.
#undef InsertMenuItem

using Kelpwright::Application::MenuItemIdentifier;

namespace kwImplementation {

namespace {

const UINT kPopupFlags = TPM_RETURNCMD | TPM_NONOTIFY; // 0x0180

#if !defined(_WIN64)
static_assert(sizeof(MENUITEMINFOA) == 48, "the item description of 32-bit Windows, with its bitmap field");
#endif

HWND ToWindow(WindowHandle window) { return static_cast<HWND>(window); }
HMENU ToMenu(MenuHandle menu) { return static_cast<HMENU>(menu); }

// Sits in front of the window's own procedure; every message goes on to it unchanged.
LRESULT CALLBACK MenuWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WindowMenuRecord* record = FindWindowMenuRecord(hwnd);
    if (record == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    // Read before dispatching: the handler may attach another menu meanwhile.
    // Win32 hands the window procedure over as an integer (SetWindowLongPtr).
    const WNDPROC previousProcedure =
        reinterpret_cast<WNDPROC>(record->previousProcedure); // NOLINT(performance-no-int-to-ptr): Win32's
    switch (message) {
    case WM_COMMAND:
        DispatchMenuCommand(*record, LOWORD(wParam));
        break;
    case WM_CONTEXTMENU:
        DispatchContextMenu(*record, LOWORD(lParam), HIWORD(lParam));
        break;
    default:
        break;
    }
    return CallWindowProcA(previousProcedure, hwnd, message, wParam, lParam);
}

} // namespace

namespace Platform {

// The procedure slot is pointer-sized on 64-bit Windows, where the 32-bit calls would truncate it.
#if defined(_WIN64)
std::intptr_t ReadWindowProcedure(WindowHandle window)
{
    return static_cast<std::intptr_t>(GetWindowLongPtrA(ToWindow(window), GWLP_WNDPROC));
}

void InstallMenuWindowProcedure(WindowHandle window)
{
    SetWindowLongPtrA(ToWindow(window), GWLP_WNDPROC, static_cast<LONG_PTR>(MenuWindowProcedureValue()));
}
#else
std::intptr_t ReadWindowProcedure(WindowHandle window)
{
    return static_cast<std::intptr_t>(GetWindowLongA(ToWindow(window), GWL_WNDPROC));
}

void InstallMenuWindowProcedure(WindowHandle window)
{
    SetWindowLongA(ToWindow(window), GWL_WNDPROC, static_cast<LONG>(MenuWindowProcedureValue()));
}
#endif

std::intptr_t MenuWindowProcedureValue() { return reinterpret_cast<std::intptr_t>(&MenuWindowProcedure); }

MenuHandle CreateMenu() { return ::CreateMenu(); }

// DestroyMenu also destroys the sub-menus the menu holds.
void DestroyMenu(MenuHandle menu) { ::DestroyMenu(ToMenu(menu)); }

void InsertMenuItem(MenuHandle menu, const MenuItemDescription& item)
{
    // InsertMenuItemA copies the text; the copy here only provides a writable buffer.
    std::string name = item.displayName != nullptr ? item.displayName : "";

    MENUITEMINFOA info = {};
    info.cbSize = sizeof(MENUITEMINFOA); // 48 on 32-bit Windows
    info.fMask = MIIM_STATE | MIIM_ID;
    info.wID = item.identifier;
    info.fState = item.state;
    if (item.displayName != nullptr) {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = &name[0];
    } else {
        info.fMask |= MIIM_TYPE;
        info.fType = MFT_SEPARATOR;
    }
    if (item.subMenu != nullptr) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = ToMenu(item.subMenu);
    }
    InsertMenuItemA(ToMenu(menu), 0, TRUE, &info);
}

void SetMenu(WindowHandle window, MenuHandle menu) { ::SetMenu(ToWindow(window), ToMenu(menu)); }

unsigned int TrackPopupMenu(MenuHandle menu, unsigned int x, unsigned int y, WindowHandle window)
{
    // With TPM_RETURNCMD the result is the chosen command, 0 for none (or for no menu at all).
    return static_cast<unsigned int>(::TrackPopupMenu(ToMenu(menu), kPopupFlags, static_cast<int>(x),
                                                      static_cast<int>(y), 0, ToWindow(window), nullptr));
}

} // namespace Platform

} // namespace kwImplementation
