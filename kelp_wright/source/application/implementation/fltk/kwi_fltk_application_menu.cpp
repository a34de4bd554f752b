// Kelpwright FLTK backend: the platform steps of the window-menu binding. A
// menu handle is a small list of entries; attaching one builds an Fl_Menu_Bar
// across the top of the window from it. Chosen items and right-clicks reach
// the binding before the window's own handling; destroying a menu frees its
// entries and sub-menus. Calls: Fl_Menu_Bar, Fl_Menu_::copy,
// Fl_Menu_Item::popup, Fl::add_system_handler, fl_find.
#include "application/implementation/fltk/kwi_fltk_window_parts.h"
#include "application/implementation/kwi_window_menu_binding.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <vector>

using Kelpwright::Application::MenuItemIdentifier;

namespace kwImplementation {

namespace {

struct BackendMenu;

struct BackendMenuEntry {
    std::string label; // as FLTK draws it; empty for a separator
    MenuItemIdentifier identifier;
    unsigned int state;
    bool isSeparator;
    BackendMenu* subMenu;
};

// A deque keeps every label where it is while entries go in at the front, so
// the menu bars built from it may point at them.
struct BackendMenu {
    std::deque<BackendMenuEntry> entries;
};

struct FltkMenuBackend {
    // Every menu from CreateMenu until DestroyMenu frees it.
    std::vector<std::unique_ptr<BackendMenu>> menus;
    // Windows with the menu hook in front of their own handling. FLTK clears
    // an entry when its window is deleted, so a new window that happens to get
    // the same address starts unhooked.
    std::list<Fl_Widget*> hookedWindows;
    bool systemHandlerInstalled = false;

    ~FltkMenuBackend()
    {
        for (Fl_Widget*& window : hookedWindows) {
            Fl::release_widget_pointer(window);
        }
    }
};

FltkMenuBackend sMenus;

// '@' starts a symbol in an FLTK label; the declared name is shown as written.
std::string LabelFor(const char* displayName)
{
    std::string label;
    for (const char* character = displayName; *character != '\0'; ++character) {
        label += *character;
        if (*character == '@') {
            label += '@';
        }
    }
    return label;
}

// The item's identifier travels in its callback argument, FLTK's integer view
// of the item's user data.
MenuItemIdentifier IdentifierOf(const Fl_Menu_Item& item)
{
    return static_cast<MenuItemIdentifier>(item.argument() & 0xFFFF);
}

int FlagsFor(const BackendMenuEntry& entry)
{
    int flags = 0;
    if ((entry.state & kMenuStateDisabled) != 0) {
        flags |= FL_MENU_INACTIVE;
    }
    if ((entry.state & kMenuStateChecked) != 0) {
        flags |= FL_MENU_TOGGLE | FL_MENU_VALUE;
    }
    // NOTE: FLTK has no separator item; it draws a divider under the item
    // before. The separator stays in the array as an invisible item, so the
    // menu still carries its identifier and state in declared order.
    if (entry.isSeparator) {
        flags |= FL_MENU_INVISIBLE;
    }
    if (entry.subMenu != nullptr) {
        flags |= FL_SUBMENU;
    }
    return flags;
}

// Appends the menu's entries (sub-menus inline, each list closed by an empty
// item), the FLTK menu-array layout.
void Flatten(const BackendMenu& menu, Fl_Callback* callback, std::vector<Fl_Menu_Item>& items)
{
    int previousVisible = -1;
    for (const BackendMenuEntry& entry : menu.entries) {
        if (entry.isSeparator && previousVisible >= 0) {
            items[previousVisible].flags |= FL_MENU_DIVIDER;
        }
        Fl_Menu_Item item = Fl_Menu_Item();
        item.text = entry.label.c_str();
        item.callback_ = callback;
        item.argument(static_cast<long>(entry.identifier));
        item.flags = FlagsFor(entry);
        if (!entry.isSeparator) {
            previousVisible = static_cast<int>(items.size());
        }
        items.push_back(item);
        if (entry.subMenu != nullptr) {
            Flatten(*entry.subMenu, callback, items);
        }
    }
    items.push_back(Fl_Menu_Item());
}

// A bar item was chosen: its identifier goes to the window's record.
void OnMenuItemPicked(Fl_Widget* widget, void* data)
{
    Fl_Menu_* bar = static_cast<Fl_Menu_*>(widget);
    // FLTK flips a check box when it is picked; the bar keeps the declared state.
    Fl_Menu_Item* picked = const_cast<Fl_Menu_Item*>(bar->mvalue());
    // Enter on a pop-up's title (the menu opened from the keyboard) picks the title: like a Win32
    // pop-up entry, it is no command.
    if (picked != nullptr && picked->submenu()) {
        return;
    }
    if (picked != nullptr && (picked->flags & FL_MENU_TOGGLE) != 0) {
        picked->flags ^= FL_MENU_VALUE;
    }
    WindowMenuRecord* record = FindWindowMenuRecord(static_cast<WindowHandle>(bar->window()));
    if (record != nullptr) {
        DispatchMenuCommand(*record,
                            static_cast<MenuItemIdentifier>(reinterpret_cast<std::uintptr_t>(data) & 0xFFFF));
    }
}

bool IsHooked(WindowHandle window)
{
    for (Fl_Widget* hooked : sMenus.hookedWindows) {
        if (hooked != nullptr && hooked == static_cast<Fl_Widget*>(static_cast<Fl_Window*>(window))) {
            return true;
        }
    }
    return false;
}

void Hook(Fl_Window& window)
{
    for (auto entry = sMenus.hookedWindows.begin(); entry != sMenus.hookedWindows.end();) {
        if (*entry == nullptr) {
            Fl::release_widget_pointer(*entry);
            entry = sMenus.hookedWindows.erase(entry);
        } else {
            ++entry;
        }
    }
    sMenus.hookedWindows.push_back(&window);
    Fl::watch_widget_pointer(sMenus.hookedWindows.back());
}

Fl_Menu_Bar* FindMenuBar(Fl_Window& window)
{
    for (int index = 0; index < window.children(); ++index) {
        if (Fl_Menu_Bar* bar = dynamic_cast<Fl_Menu_Bar*>(window.child(index))) {
            return bar;
        }
    }
    return nullptr;
}

// The menu binding's hook in front of FLTK's own handling of a window: a press
// of the right button (FLTK's FL_PUSH with button 3) asks for the context menu
// at its screen position. The event then goes on to FLTK unchanged.
int OnSystemEvent(void* event, void* data)
{
    (void)data;
    const XEvent& xevent = *static_cast<const XEvent*>(event);
    if (xevent.type != ButtonPress || xevent.xbutton.button != Button3) {
        return 0;
    }
    Fl_Window* clicked = fl_find(xevent.xbutton.window);
    if (clicked == nullptr) {
        return 0;
    }
    const WindowHandle window = static_cast<WindowHandle>(clicked->top_window());
    if (IsHooked(window)) {
        if (WindowMenuRecord* record = FindWindowMenuRecord(window)) {
            DispatchContextMenu(*record, static_cast<unsigned int>(xevent.xbutton.x_root),
                                static_cast<unsigned int>(xevent.xbutton.y_root));
        }
    }
    return 0;
}

} // namespace

namespace Fltk {

std::size_t CountLiveMenus() { return sMenus.menus.size(); }

void LayOutClientArea(Fl_Window& window)
{
    Fl_Menu_Bar* bar = FindMenuBar(window);
    const int top = bar != nullptr && bar->visible() ? kMenuBarHeight : 0;
    if (bar != nullptr) {
        bar->resize(0, 0, window.w(), kMenuBarHeight);
    }
    for (int index = 0; index < window.children(); ++index) {
        Fl_Widget* child = window.child(index);
        if (child != bar) {
            child->resize(0, top, window.w(), window.h() - top);
        }
    }
    // Later resizes of the window scale from this layout.
    window.init_sizes();
    window.redraw();
}

} // namespace Fltk

namespace Platform {

// A window's own handling is FLTK's dispatch of its events.
std::intptr_t ReadWindowProcedure(WindowHandle window)
{
    if (!Fltk::IsLiveWindow(window)) {
        return 0;
    }
    if (IsHooked(window)) {
        return MenuWindowProcedureValue();
    }
    return reinterpret_cast<std::intptr_t>(&Fl::handle_);
}

std::intptr_t MenuWindowProcedureValue() { return reinterpret_cast<std::intptr_t>(&OnSystemEvent); }

void InstallMenuWindowProcedure(WindowHandle window)
{
    if (!sMenus.systemHandlerInstalled) {
        Fl::add_system_handler(OnSystemEvent, nullptr);
        sMenus.systemHandlerInstalled = true;
    }
    if (Fltk::IsLiveWindow(window) && !IsHooked(window)) {
        Hook(*static_cast<Fl_Window*>(window));
    }
}

MenuHandle CreateMenu()
{
    sMenus.menus.push_back(std::unique_ptr<BackendMenu>(new BackendMenu()));
    return sMenus.menus.back().get();
}

// The binding detaches a bar before destroying it, so no Fl_Menu_Bar points
// at these labels any more; the bar widget itself stays, hidden, because the
// bar's own callback may be running (a menu re-attached from OnMenuAction).
void DestroyMenu(MenuHandle menu)
{
    for (auto owned = sMenus.menus.begin(); owned != sMenus.menus.end(); ++owned) {
        if (owned->get() == menu) {
            const std::unique_ptr<BackendMenu> doomed = std::move(*owned);
            sMenus.menus.erase(owned);
            for (const BackendMenuEntry& entry : doomed->entries) {
                DestroyMenu(entry.subMenu);
            }
            return;
        }
    }
}

void InsertMenuItem(MenuHandle menu, const MenuItemDescription& item)
{
    if (menu == nullptr) {
        return;
    }
    const bool isSeparator = item.displayName == nullptr;
    BackendMenuEntry entry = {isSeparator ? std::string() : LabelFor(item.displayName), item.identifier,
                              item.state, isSeparator, static_cast<BackendMenu*>(item.subMenu)};
    static_cast<BackendMenu*>(menu)->entries.push_front(entry);
}

void SetMenu(WindowHandle window, MenuHandle menu)
{
    if (!Fltk::IsLiveWindow(window)) {
        return;
    }
    Fl_Window& target = *static_cast<Fl_Window*>(window);
    Fl_Menu_Bar* bar = FindMenuBar(target);
    if (menu == nullptr) {
        // NOTE: hidden, not deleted: a menu may be replaced from inside the
        // bar's own callback.
        if (bar != nullptr) {
            bar->hide();
            bar->menu(nullptr);
        }
    } else {
        if (bar == nullptr) {
            bar = new Fl_Menu_Bar(0, 0, target.w(), Fltk::kMenuBarHeight);
            target.add(bar);
        }
        std::vector<Fl_Menu_Item> items;
        Flatten(*static_cast<BackendMenu*>(menu), OnMenuItemPicked, items);
        bar->copy(items.data());
        bar->show();
    }
    Fltk::LayOutClientArea(target);
}

unsigned int TrackPopupMenu(MenuHandle menu, unsigned int x, unsigned int y, WindowHandle window)
{
    (void)window;
    if (menu == nullptr) {
        return 0;
    }
    std::vector<Fl_Menu_Item> items;
    Flatten(*static_cast<BackendMenu*>(menu), nullptr, items);
    if (items.size() < 2) {
        return 0;
    }
    // popup() places the menu relative to the window of the last event.
    const int offsetX = Fl::event_x_root() - Fl::event_x();
    const int offsetY = Fl::event_y_root() - Fl::event_y();
    const Fl_Menu_Item* chosen =
        items.front().popup(static_cast<int>(x) - offsetX, static_cast<int>(y) - offsetY);
    return chosen != nullptr ? IdentifierOf(*chosen) : 0;
}

} // namespace Platform

} // namespace kwImplementation
