// Test support: declared menu items as text, "name(id)[children]" for each item, e.g. " File(0)[ Exit(1) ]";
// flags as "~" disabled, "*" checked, "?" invisible after the identifier.
#pragma once

#include "application/kw_application_menu.h"

#include <list>
#include <string>

namespace kwTest {

inline std::string Describe(const std::list<Kelpwright::Application::MenuItem>& items)
{
    std::string text;
    for (const Kelpwright::Application::MenuItem& item : items) {
        text += " " + item.displayName + "(" + std::to_string(item.identifier) + ")";
        text += std::string(item.isEnabled ? "" : "~") + (item.isChecked ? "*" : "") +
            (item.isVisible ? "" : "?");
        if (!item.children.empty()) {
            text += "[" + Describe(item.children) + " ]";
        }
    }
    return text;
}

} // namespace kwTest
