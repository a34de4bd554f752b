// Kelpwright: declared menus. A menu is a tree of items held in a process-wide
// registry under its identifier; ApplicationMenu is only a handle to it.
#pragma once

#include "application/kw_application_types.h"

#include <list>
#include <string>

namespace Kelpwright {
namespace Application {

// As a parent: "top level". As an item identifier: refused by the lookups.
const MenuItemIdentifier kInvalidMenuItemIdentifier = 0xFFFF;

struct MenuItem {
    std::list<MenuItem> children; // a list: an added item never moves the ones before it
    std::string displayName; // empty: a separator in the window menu
    MenuItemIdentifier identifier;
    bool isEnabled;
    bool isChecked;
    bool isVisible;
};

class ApplicationMenu {
public:
    explicit ApplicationMenu(const MenuIdentifier& menuIdentifier);
    ~ApplicationMenu() {}

    const MenuIdentifier& GetIdentifier() const { return mIdentifier; }

    // Appends an item at the top level (parentIdentifier kInvalidMenuItemIdentifier)
    // or as the last child of parentIdentifier. Returns the item, which stays
    // valid for the life of the process however many items are added after
    // it, or null when nothing was added.
    MenuItem* AddMenuItem(const MenuItemIdentifier& itemIdentifier, const std::string& displayName,
                          const MenuItemIdentifier& parentIdentifier, bool isEnabled, bool isChecked,
                          bool isVisible);

private:
    MenuIdentifier mIdentifier;
};

} // namespace Application
} // namespace Kelpwright
