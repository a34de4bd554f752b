// Kelpwright: the platform-neutral window-menu binding. It keeps one record per
// handler, builds the window's menu bar from a declared menu (children walked
// backwards, each inserted at the front, so the bar shows declared order) and
// routes chosen command identifiers back to the record's handler.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"
#include "application/kw_application_menu.h"

#include <cstdint>
#include <map>
#include <vector>

namespace kwImplementation {

// Opaque menu handle (HMENU on Win32, a backend menu object on FLTK).
typedef void* MenuHandle;

struct WindowMenuRecord {
    Kelpwright::Application::ApplicationHandlerInterface* handler;
    std::intptr_t previousProcedure; // the window's own procedure before subclassing
    WindowHandle windowHandle;
    MenuHandle menuBarHandle;
    MenuHandle contextMenuHandle; // nothing sets it
    std::vector<Kelpwright::Application::MenuItemIdentifier> menuBarItems;
    std::vector<Kelpwright::Application::MenuItemIdentifier> contextMenuItems; // nothing fills it
};

std::map<Kelpwright::Application::ApplicationHandlerInterface*, WindowMenuRecord>& GetHandlersToMenus();
std::map<WindowHandle, WindowMenuRecord*>& GetWindowsToMenus();

void AttachMenuToWindow(const WindowHandle& windowHandle,
                        const Kelpwright::Application::ApplicationMenu& menu,
                        Kelpwright::Application::ApplicationHandlerInterface& handler);

// Fills menuHandle with the parent's visible children (recursively), appends
// their identifiers in walking order, and returns menuHandle, or null when the
// parent has no children at all.
MenuHandle BuildWindowsMenu(const Kelpwright::Application::MenuItem& parent, MenuHandle menuHandle,
                            std::vector<Kelpwright::Application::MenuItemIdentifier>& identifiers);

// The record of a subclassed window, or null with a report.
WindowMenuRecord* FindWindowMenuRecord(WindowHandle window);

// A command identifier chosen in the window's menus: OnMenuAction(0, id) for the
// first match in the bar's items, then independently in the pop-up's items.
void DispatchMenuCommand(const WindowMenuRecord& record,
                         Kelpwright::Application::MenuItemIdentifier itemIdentifier);

// A context-menu request at screen position (x, y).
void DispatchContextMenu(const WindowMenuRecord& record, unsigned int x, unsigned int y);

// One item as the backend inserts it.
struct MenuItemDescription {
    Kelpwright::Application::MenuItemIdentifier identifier;
    unsigned int state; // 3 when disabled, plus 8 when checked: 0, 3, 8 or 11
    const char* displayName; // null for a separator
    MenuHandle subMenu; // null when the item has no sub-menu
};

const unsigned int kMenuStateDisabled = 3;
const unsigned int kMenuStateChecked = 8;

namespace Platform {

// The window's current procedure value; 0 when it has none.
std::intptr_t ReadWindowProcedure(WindowHandle window);
// The value ReadWindowProcedure gives once the menu procedure is installed.
std::intptr_t MenuWindowProcedureValue();
// Puts the menu window procedure in front of the window's own.
void InstallMenuWindowProcedure(WindowHandle window);
MenuHandle CreateMenu();
// Frees a menu made by CreateMenu and every sub-menu it holds; null is ignored.
void DestroyMenu(MenuHandle menu);
// Inserts at position 0 of the menu.
void InsertMenuItem(MenuHandle menu, const MenuItemDescription& item);
// Attaches the bar (null detaches it).
void SetMenu(WindowHandle window, MenuHandle menu);
// Shows the pop-up and returns the chosen command, or 0 for none.
unsigned int TrackPopupMenu(MenuHandle menu, unsigned int x, unsigned int y, WindowHandle window);

} // namespace Platform

} // namespace kwImplementation
