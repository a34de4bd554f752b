// Kelpwright: attaches declared menus to a window and routes chosen commands
// back to the handler. The platform steps (subclassing, menu handles, item
// insertion, attaching the bar, pop-up tracking) come from the backend.
#include "application/implementation/kwi_window_menu_binding.h"

#include "application/implementation/kwi_system_application_menu.h"
#include "core/kw_error.h"

using Kelpwright::Application::ApplicationHandlerInterface;
using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::MenuItem;
using Kelpwright::Application::MenuItemIdentifier;
using Kelpwright::Core::Error::ReportErrorIf;

namespace kwImplementation {

namespace {

// Creates the record of a handler's first attachment, subclassing the window
// once. Returns null (after a report) when the window has no procedure.
WindowMenuRecord* CreateRecord(WindowHandle windowHandle, ApplicationHandlerInterface& handler)
{
    std::intptr_t previous = Platform::ReadWindowProcedure(windowHandle);
    if (previous == 0) {
        ReportErrorIf(true, __FILE__, __LINE__,
                      "kwInternalError: Invalid parameter windowHandle has no window with a procedure.");
        return nullptr;
    }

    auto subclassed = GetWindowsToMenus().find(windowHandle);
    if (previous == Platform::MenuWindowProcedureValue() && subclassed != GetWindowsToMenus().end()) {
        // Already subclassed for another handler: chain to the window's original
        // procedure, or the menu procedure would call itself for every message.
        previous = subclassed->second->previousProcedure;
    } else {
        Platform::InstallMenuWindowProcedure(windowHandle);
    }

    WindowMenuRecord record = {&handler, previous, windowHandle, nullptr, nullptr, {}, {}};
    WindowMenuRecord& stored = GetHandlersToMenus()[&handler];
    stored = record;
    GetWindowsToMenus()[windowHandle] = &stored;
    return &stored;
}

unsigned int MenuItemState(const MenuItem& item)
{
    unsigned int state = 0;
    if (!item.isEnabled) {
        state += kMenuStateDisabled;
    }
    if (item.isChecked) {
        state += kMenuStateChecked;
    }
    return state;
}

void DispatchIfListed(const WindowMenuRecord& record, const std::vector<MenuItemIdentifier>& items,
                      MenuItemIdentifier itemIdentifier)
{
    for (MenuItemIdentifier listed : items) {
        if (listed == itemIdentifier) {
            // Copies: the handler may re-attach a menu, which empties the list.
            const Kelpwright::Application::MenuIdentifier menuIdentifier = 0;
            const MenuItemIdentifier chosen = listed;
            record.handler->OnMenuAction(menuIdentifier, chosen);
            return;
        }
    }
}

} // namespace

std::map<ApplicationHandlerInterface*, WindowMenuRecord>& GetHandlersToMenus()
{
    static std::map<ApplicationHandlerInterface*, WindowMenuRecord> handlersToMenus;
    return handlersToMenus;
}

std::map<WindowHandle, WindowMenuRecord*>& GetWindowsToMenus()
{
    static std::map<WindowHandle, WindowMenuRecord*> windowsToMenus;
    return windowsToMenus;
}

void AttachMenuToWindow(const WindowHandle& windowHandle, const ApplicationMenu& menu,
                        ApplicationHandlerInterface& handler)
{
    if (windowHandle == nullptr) {
        ReportErrorIf(true, __FILE__, __LINE__,
                      "kwInternalError: Invalid parameter; windowHandle, expected a non-NULL HWND object.\n");
        return;
    }

    auto existing = GetHandlersToMenus().find(&handler);
    WindowMenuRecord* record =
        existing != GetHandlersToMenus().end() ? &existing->second : CreateRecord(windowHandle, handler);
    if (record == nullptr) {
        return;
    }

    // From here on the record's own window is used. The old bar is detached,
    // then destroyed with its sub-menus, so re-attaching does not pile up menus.
    if (record->menuBarHandle != nullptr) {
        Platform::SetMenu(record->windowHandle, nullptr);
        Platform::DestroyMenu(record->menuBarHandle);
        record->menuBarHandle = nullptr;
        record->menuBarItems.clear();
    }

    const MenuItem* root = GetMenuRoot(menu.GetIdentifier());
    MenuHandle bar = Platform::CreateMenu();
    record->menuBarHandle = root != nullptr ? BuildWindowsMenu(*root, bar, record->menuBarItems) : nullptr;
    // A menu without top-level items leaves the window without a bar; the
    // empty one made for it is never attached, so it goes at once.
    if (record->menuBarHandle == nullptr) {
        Platform::DestroyMenu(bar);
    }
    Platform::SetMenu(record->windowHandle, record->menuBarHandle);
}

MenuHandle BuildWindowsMenu(const MenuItem& parent, MenuHandle menuHandle,
                            std::vector<MenuItemIdentifier>& identifiers)
{
    if (parent.children.empty()) {
        return nullptr;
    }
    // Walked backwards and inserted at the front: the menu shows declared order.
    for (auto child = parent.children.rbegin(); child != parent.children.rend(); ++child) {
        if (!child->isVisible) {
            continue;
        }
        identifiers.push_back(child->identifier);

        MenuItemDescription description = {child->identifier, MenuItemState(*child),
                                           child->displayName.empty() ? nullptr : child->displayName.c_str(),
                                           nullptr};
        if (!child->children.empty()) {
            description.subMenu = BuildWindowsMenu(*child, Platform::CreateMenu(), identifiers);
        }
        Platform::InsertMenuItem(menuHandle, description);
    }
    return menuHandle;
}

WindowMenuRecord* FindWindowMenuRecord(WindowHandle window)
{
    auto entry = GetWindowsToMenus().find(window);
    if (entry == GetWindowsToMenus().end()) {
        ReportErrorIf(true, __FILE__, __LINE__,
                      "kwInternalError: Expected to find window in the WindowsToMenus container.");
        return nullptr;
    }
    return entry->second;
}

void DispatchMenuCommand(const WindowMenuRecord& record, MenuItemIdentifier itemIdentifier)
{
    DispatchIfListed(record, record.menuBarItems, itemIdentifier);
    DispatchIfListed(record, record.contextMenuItems, itemIdentifier);
}

void DispatchContextMenu(const WindowMenuRecord& record, unsigned int x, unsigned int y)
{
    const unsigned int command =
        Platform::TrackPopupMenu(record.contextMenuHandle, x, y, record.windowHandle);
    if (command != 0) {
        const Kelpwright::Application::MenuIdentifier menuIdentifier = 0;
        const MenuItemIdentifier itemIdentifier = static_cast<MenuItemIdentifier>(command & 0xFFFF);
        record.handler->OnMenuAction(menuIdentifier, itemIdentifier);
    }
}

} // namespace kwImplementation
