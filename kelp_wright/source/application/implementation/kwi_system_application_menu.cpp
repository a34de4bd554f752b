// Kelpwright: declared menus. The registry maps each menu identifier to a root
// item whose children are the menu's top-level items; ApplicationMenu handles
// only name an entry of it.
#include "application/implementation/kwi_system_application_menu.h"

#include "core/kw_error.h"

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using Kelpwright::Application::MenuIdentifier;
using Kelpwright::Application::MenuItem;
using Kelpwright::Application::MenuItemIdentifier;
using Kelpwright::Core::Error::ReportErrorIf;

namespace kwImplementation {

namespace {

MenuItem MakeEmptyItem()
{
    MenuItem item;
    item.identifier = kInvalidMenuItemIdentifier;
    item.isEnabled = false;
    item.isChecked = false;
    item.isVisible = false;
    return item;
}

// Direct children first, then each child's subtree in list order.
MenuItem* SearchChildren(MenuItem& node, MenuItemIdentifier itemIdentifier)
{
    for (MenuItem& child : node.children) {
        if (child.identifier == itemIdentifier) {
            return &child;
        }
    }
    for (MenuItem& child : node.children) {
        if (MenuItem* found = SearchChildren(child, itemIdentifier)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

std::map<MenuIdentifier, MenuItem>& GetMenuRegistry()
{
    static std::map<MenuIdentifier, MenuItem> registry;
    return registry;
}

std::set<MenuItemIdentifier>& GetSafeForDuplicationRegistry()
{
    static std::set<MenuItemIdentifier> registry;
    return registry;
}

MenuItem* FindMenuItem(const ApplicationMenu& menu, const MenuItemIdentifier& itemIdentifier)
{
    ReportErrorIf(itemIdentifier == kInvalidMenuItemIdentifier, __FILE__, __LINE__,
                  "kwExternalError: Cannot search for a menuItem with invalid identifier.");
    ReportErrorIf(GetSafeForDuplicationRegistry().count(itemIdentifier) != 0, __FILE__, __LINE__,
                  "kwExternalError: Cannot access or modify menuItem(%d) because it is safe for duplication.",
                  static_cast<int>(itemIdentifier));

    auto entry = GetMenuRegistry().find(menu.GetIdentifier());
    if (entry == GetMenuRegistry().end()) {
        ReportErrorIf(true, __FILE__, __LINE__,
                      "+kwExternalError: Menu(%d) does not exist, trying to access item(%d).",
                      static_cast<int>(menu.GetIdentifier()), static_cast<int>(itemIdentifier));
        return nullptr;
    }
    return SearchChildren(entry->second, itemIdentifier);
}

const MenuItem* GetMenuRoot(const MenuIdentifier& menuIdentifier)
{
    auto entry = GetMenuRegistry().find(menuIdentifier);
    if (entry == GetMenuRegistry().end()) {
        ReportErrorIf(true, __FILE__, __LINE__,
                      "kwInternalError: Trying to access item for a menu that does not exist: %d",
                      static_cast<int>(menuIdentifier));
        return nullptr;
    }
    return &entry->second;
}

} // namespace kwImplementation

namespace Kelpwright {
namespace Application {

ApplicationMenu::ApplicationMenu(const MenuIdentifier& menuIdentifier)
    : mIdentifier(menuIdentifier)
{
    kwImplementation::GetMenuRegistry().insert(
        std::make_pair(mIdentifier, kwImplementation::MakeEmptyItem()));
}

MenuItem* ApplicationMenu::AddMenuItem(const MenuItemIdentifier& itemIdentifier,
                                       const std::string& displayName,
                                       const MenuItemIdentifier& parentIdentifier, bool isEnabled,
                                       bool isChecked, bool isVisible)
{
    auto& registry = kwImplementation::GetMenuRegistry();
    auto entry = registry.insert(std::make_pair(mIdentifier, kwImplementation::MakeEmptyItem())).first;
    MenuItem& root = entry->second;

    if (kwImplementation::GetSafeForDuplicationRegistry().count(itemIdentifier) == 0) {
        // The duplicate is reported and still added.
        ReportErrorIf(
            kwImplementation::FindMenuItem(*this, itemIdentifier) != nullptr, __FILE__, __LINE__,
            "kwExternalError: itemIdentifier(%d) already exists in menu(%d) and is not safe to duplicate.",
            static_cast<int>(itemIdentifier), static_cast<int>(mIdentifier));
    }

    MenuItem item;
    item.displayName = displayName;
    item.identifier = itemIdentifier;
    item.isEnabled = isEnabled;
    item.isChecked = isChecked;
    item.isVisible = isVisible;

    std::list<MenuItem>* siblings = &root.children;
    if (parentIdentifier != kInvalidMenuItemIdentifier) {
        MenuItem* parent = kwImplementation::FindMenuItem(*this, parentIdentifier);
        if (parent == nullptr) {
            ReportErrorIf(true, __FILE__, __LINE__,
                          "kwExternalError: Menu(%d) does not have an item with identifier: %d",
                          static_cast<int>(mIdentifier), static_cast<int>(parentIdentifier));
            return nullptr;
        }
        siblings = &parent->children;
    }
    siblings->push_back(item);
    return &siblings->back();
}

} // namespace Application
} // namespace Kelpwright
