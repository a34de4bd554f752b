// Tests of the declared-menu model: the item tree shared by handles, reports for duplicates, missing
// parents and the invalid identifier, and which item a lookup finds when identifiers repeat.
#include "application/implementation/kwi_system_application_menu.h"

#include "../core/report_collector.h"

#include <gtest/gtest.h>

using namespace Kelpwright::Application;
using namespace kwImplementation;

namespace {

// "name(id)[children]" for each item, e.g. "File(0)[Exit(1)]".
std::string Describe(const std::vector<MenuItem>& items)
{
    std::string text;
    for (const MenuItem& item : items) {
        text += (text.empty() ? "" : " ") + item.displayName + "(" + std::to_string(item.identifier) + ")" +
            (item.children.empty() ? "" : "[" + Describe(item.children) + "]");
    }
    return text;
}

MenuItem* Add(ApplicationMenu& menu, unsigned short item, const char* name, unsigned short parent = 0xFFFF)
{
    return menu.AddMenuItem(item, name, parent, true, false, true);
}

} // namespace

TEST(ApplicationMenu, TreeSharedByHandlesWithItsMisuseReported)
{
    kwTest::ReportCollector reports;
    MenuItem* exitItem = nullptr;
    {
        ApplicationMenu first(0);
        MenuItem* file = Add(first, 0, "File");
        EXPECT_EQ(file, &GetMenuRoot(0)->children.back());
        exitItem = Add(first, 1, "Exit", 0);
    }
    ApplicationMenu menu(0), other(10); // a later handle sees the same items
    EXPECT_EQ(FindMenuItem(menu, 1), exitItem);
    Add(other, 1, "Uno"); // the same identifier in another menu is no duplicate
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(Add(menu, 2, "Orphan", 7), nullptr);
    ASSERT_NE(Add(menu, 1, "Again"), nullptr);
    ASSERT_NE(Add(menu, 1, "Deeper", 1), nullptr); // parent 1: the shallower "Again", not "Exit"
    Add(other, 0xFFFF, "Invalid");
    const std::string duplicate =
        "kwExternalError: itemIdentifier(1) already exists in menu(0) and is not safe to duplicate.";
    EXPECT_EQ(
        reports.Take(),
        (kwTest::Log{"kwExternalError: Menu(0) does not have an item with identifier: 7", duplicate,
                     duplicate, "kwExternalError: Cannot search for a menuItem with invalid identifier."}));
    EXPECT_EQ(Describe(GetMenuRoot(0)->children) + " / " + Describe(GetMenuRoot(10)->children),
              "File(0)[Exit(1)] Again(1)[Deeper(1)] / Uno(1) Invalid(65535)");
}
