// Kelpwright: the process-wide registries of declared menus and the lookups
// the window-menu binding uses to build a window's menu bar.
#pragma once

#include "application/kw_application_menu.h"

#include <map>
#include <set>

namespace kwImplementation {

// Menu identifier -> root item; the root's children are the top-level items.
std::map<Kelpwright::Application::MenuIdentifier, Kelpwright::Application::MenuItem>& GetMenuRegistry();

// Identifiers that may occur any number of times in a menu and so may never be
// looked up. Nothing in the framework adds to it.
std::set<Kelpwright::Application::MenuItemIdentifier>& GetSafeForDuplicationRegistry();

// The item with that identifier anywhere in the menu, or null. A shallower match
// wins over a deeper one; among deeper matches the earlier child's subtree wins.
Kelpwright::Application::MenuItem*
FindMenuItem(const Kelpwright::Application::ApplicationMenu& menu,
             const Kelpwright::Application::MenuItemIdentifier& itemIdentifier);

// The root item of a declared menu, or null (with a report) when it is not declared.
const Kelpwright::Application::MenuItem*
GetMenuRoot(const Kelpwright::Application::MenuIdentifier& menuIdentifier);

} // namespace kwImplementation
