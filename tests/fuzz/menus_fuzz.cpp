// Menus declared from raw bytes (any identifiers, parents and name lengths) make the reports their
// look-ups predict; between declarations the menu is attached again, to a stand-in window backend.
#include "../core/report_collector.h"
#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"

using namespace kwImplementation;

namespace {

using Menu = std::vector<std::pair<unsigned, void*>>; // identifiers and sub-menus, front first

struct : Kelpwright::Application::ApplicationHandlerInterface {
} sHandler;

const std::uint16_t kNone = 0xFFFF;

} // namespace

// Menus on the heap, so that leaks and double frees show.
namespace kwImplementation::Platform {
MenuHandle CreateMenu() { return new Menu; }
void DestroyMenu(MenuHandle menu)
{
    Menu* entries = static_cast<Menu*>(menu);
    if (entries == nullptr) {
        return;
    }
    for (const auto& entry : *entries) {
        DestroyMenu(entry.second);
    }
    delete entries;
}
void InsertMenuItem(MenuHandle menu, const MenuItemDescription& item)
{
    Menu& entries = *static_cast<Menu*>(menu);
    entries.insert(entries.begin(), {item.identifier, item.subMenu});
}
std::intptr_t ReadWindowProcedure(WindowHandle) { return 1; }
std::intptr_t MenuWindowProcedureValue() { return 2; }
void InstallMenuWindowProcedure(WindowHandle) {}
void SetMenu(WindowHandle, MenuHandle) {}
unsigned int TrackPopupMenu(MenuHandle, unsigned int, unsigned int, WindowHandle) { return 0; }
} // namespace kwImplementation::Platform

// Four bytes a declaration: menu and flags, item, parent (0xFF: none), name length.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    GetMenuRegistry().clear();
    kwTest::ReportCollector reports;
    for (; size >= 4; data += 4, size -= 4) {
        Kelpwright::Application::ApplicationMenu menu(data[0] & 3);
        const std::uint16_t item = data[1] == 0xFF ? kNone : data[1] % 8;
        const std::uint16_t parent = data[2] == 0xFF ? kNone : data[2] % 8;
        const bool duplicate = FindMenuItem(menu, item) != nullptr;
        const bool placed = parent == kNone || FindMenuItem(menu, parent) != nullptr;
        const std::string name(data[3] < 0xF0 ? data[3] % 3 : 1u << (data[3] & 15), 'n');
        reports.Take();
        const bool added =
            menu.AddMenuItem(item, name, parent, data[0] & 4, data[0] & 8, data[0] & 16) != nullptr;
        // Looking 0xFFFF up is reported inside AddMenuItem, as are a duplicate and a missing parent.
        const size_t expectedReports = (item == kNone ? 1 : 0) + (duplicate ? 1 : 0) + (placed ? 0 : 1);
        if (added != placed || reports.Take().size() != expectedReports) {
            __builtin_trap();
        }
        if ((data[0] & 32) != 0) {
            continue;
        }
        // The bar: the visible top-level items in declared order.
        AttachMenuToWindow(&sHandler, menu, sHandler);
        const Menu* bar = static_cast<Menu*>(GetHandlersToMenus()[&sHandler].menuBarHandle);
        std::vector<unsigned> shown;
        if (bar != nullptr) {
            for (const auto& entry : *bar) {
                shown.push_back(entry.first);
            }
        }
        std::vector<unsigned> declared;
        for (const auto& top : GetMenuRoot(menu.GetIdentifier())->children) {
            if (top.isVisible) {
                declared.push_back(top.identifier);
            }
        }
        if (shown != declared) {
            __builtin_trap();
        }
    }
    // No items: the bar goes, and nothing is left behind.
    Kelpwright::Application::ApplicationMenu empty(4);
    AttachMenuToWindow(&sHandler, empty, sHandler);
    return 0;
}
