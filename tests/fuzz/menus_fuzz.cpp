// Menus declared from raw bytes (any identifiers, parents and name lengths) make the reports their
// look-ups predict; between declarations the menu is attached again, to a stand-in window backend.
#include "../core/report_collector.h"
#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"
using namespace kwImplementation;
using Menu = std::vector<std::pair<unsigned, void*>>; // identifiers and sub-menus, front first
struct : Kelpwright::Application::ApplicationHandlerInterface {
} sHandler;

namespace kwImplementation::Platform { // menus on the heap: leaks and double frees show
MenuHandle CreateMenu() { return new Menu; }
void DestroyMenu(MenuHandle menu)
{
    Menu* m = static_cast<Menu*>(menu);
    for (auto& item : m ? *m : Menu())
        DestroyMenu(item.second);
    delete m;
}
void InsertMenuItem(MenuHandle menu, const MenuItemDescription& item)
{
    Menu& m = *static_cast<Menu*>(menu);
    m.insert(m.begin(), {item.identifier, item.subMenu});
}
std::intptr_t ReadWindowProcedure(WindowHandle) { return 1; }
std::intptr_t MenuWindowProcedureValue() { return 2; }
void InstallMenuWindowProcedure(WindowHandle) {}
void SetMenu(WindowHandle, MenuHandle) {}
unsigned int TrackPopupMenu(MenuHandle, unsigned int, unsigned int, WindowHandle) { return 0; }
} // namespace kwImplementation::Platform

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    GetMenuRegistry().clear();
    kwTest::ReportCollector reports;
    for (; size >= 4; data += 4, size -= 4) { // menu and flags, item, parent (0xFF: none), name length
        Kelpwright::Application::ApplicationMenu menu(data[0] & 3);
        const std::uint16_t item = data[1] == 0xFF ? 0xFFFF : data[1] % 8,
                            parent = data[2] == 0xFF ? 0xFFFF : data[2] % 8;
        const bool duplicate = FindMenuItem(menu, item),
                   placed = parent == 0xFFFF || FindMenuItem(menu, parent);
        const std::string name(data[3] < 0xF0 ? data[3] % 3 : 1u << (data[3] & 15), 'n');
        // Looking 0xFFFF up is reported once above and once more inside AddMenuItem.
        if ((menu.AddMenuItem(item, name, parent, data[0] & 4, data[0] & 8, data[0] & 16) != nullptr) !=
                placed ||
            reports.Take().size() != 2u * (item == 0xFFFF) + duplicate + !placed)
            __builtin_trap();
        if (data[0] & 32)
            continue;
        AttachMenuToWindow(&sHandler, menu,
                           sHandler); // the bar: the visible top-level items in declared order
        const Menu* bar = static_cast<Menu*>(GetHandlersToMenus()[&sHandler].menuBarHandle);
        std::vector<unsigned> shown, declared;
        for (const auto& entry : bar ? *bar : Menu())
            shown.push_back(entry.first);
        for (const auto& top : GetMenuRoot(menu.GetIdentifier())->children)
            top.isVisible ? declared.push_back(top.identifier) : void();
        if (shown != declared)
            __builtin_trap();
    }
    Kelpwright::Application::ApplicationMenu empty(4); // no items: the bar goes, and nothing is left behind
    return AttachMenuToWindow(&sHandler, empty, sHandler), 0;
}
