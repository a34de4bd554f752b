// Menus declared from raw bytes (any identifiers, parents and name lengths) make the reports their look-ups predict.
#include "../core/report_collector.h"
#include "application/implementation/kwi_system_application_menu.h"
using namespace kwImplementation;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    GetMenuRegistry().clear();
    kwTest::ReportCollector reports;
    for (; size >= 4; data += 4, size -= 4) { // menu and flags, item, parent (0xFF: none), name length
        Kelpwright::Application::ApplicationMenu menu(data[0] & 3);
        const std::uint16_t item = data[1] == 0xFF ? 0xFFFF : data[1] % 8, parent = data[2] == 0xFF ? 0xFFFF : data[2] % 8;
        const bool duplicate = FindMenuItem(menu, item), placed = parent == 0xFFFF || FindMenuItem(menu, parent);
        const std::string name(data[3] < 0xF0 ? data[3] % 3 : 1u << (data[3] & 15), 'n');
        // Looking 0xFFFF up is reported once above and once more inside AddMenuItem.
        if ((menu.AddMenuItem(item, name, parent, data[0] & 4, data[0] & 8, data[0] & 16) != nullptr) != placed ||
            reports.Take().size() != 2u * (item == 0xFFFF) + duplicate + !placed) __builtin_trap();
    }
    return 0;
}
