// Tests of the declared-menu model: the item tree, duplicate and missing-parent
// reports, identifiers shared between menus, handles sharing one menu, lookup
// order and stored flags. The registry is process-wide, so each test uses a
// menu identifier of its own.
#include "application/implementation/kwi_system_application_menu.h"
#include "application/kw_application_menu.h"

#include "../core/report_collector.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using Kelpwright::Application::MenuItem;
using kwImplementation::FindMenuItem;
using kwImplementation::GetMenuRoot;
using kwTest::Log;

namespace {

// "name(id)[children]" for each item, e.g. "File(0)[Exit(1)]".
std::string Describe(const std::vector<MenuItem>& items)
{
    std::string text;
    for (const MenuItem& item : items) {
        text += (text.empty() ? "" : " ") + item.displayName + "(" + std::to_string(item.identifier) + ")";
        if (!item.children.empty()) {
            text += "[" + Describe(item.children) + "]";
        }
    }
    return text;
}

std::string DescribeMenu(unsigned short menuIdentifier)
{
    const MenuItem* root = GetMenuRoot(menuIdentifier);
    return root != nullptr ? Describe(root->children) : "<none>";
}

// A top-level item (no parent given) or a child of parent, enabled, unchecked and visible.
MenuItem* Add(ApplicationMenu& menu, unsigned short item, const char* name,
              unsigned short parent = kInvalidMenuItemIdentifier)
{
    return menu.AddMenuItem(item, name, parent, true, false, true);
}

// The registry outlives each test: every test starts and ends with it empty,
// so repeated and shuffled runs see the same registry.
class ApplicationMenuTest : public testing::Test {
protected:
    void SetUp() override { kwImplementation::GetMenuRegistry().clear(); }
    void TearDown() override { kwImplementation::GetMenuRegistry().clear(); }

    kwTest::ReportCollector reports;
};

} // namespace

TEST_F(ApplicationMenuTest, FileExitTreeSharedByHandlesAndItsMisuse)
{
    MenuItem* exitItem = nullptr;
    {
        ApplicationMenu first(0);
        EXPECT_EQ(DescribeMenu(0), "");
        MenuItem* file = Add(first, 0, "File");
        EXPECT_EQ(file, &GetMenuRoot(0)->children.back());
        exitItem = Add(first, 1, "Exit", 0);
        EXPECT_EQ(exitItem, &GetMenuRoot(0)->children[0].children.back());
    }
    // A later handle with the same identifier leaves the menu as it is and sees its items.
    ApplicationMenu menu(0);
    EXPECT_EQ(FindMenuItem(menu, 1), exitItem);
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1)]");
    // The same identifier in another menu is no duplicate.
    ApplicationMenu other(10);
    Add(other, 1, "Uno");
    EXPECT_EQ(DescribeMenu(10), "Uno(1)");
    EXPECT_TRUE(reports.messages.empty());

    // A parent that names no item: reported, nothing added.
    EXPECT_EQ(Add(menu, 2, "Orphan", 7), nullptr);
    EXPECT_EQ(reports.Take(), Log{"kwExternalError: Menu(0) does not have an item with identifier: 7"});
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1)]");

    // A duplicate is reported and added all the same, at any level.
    ASSERT_NE(Add(menu, 1, "Again"), nullptr);
    ASSERT_NE(Add(menu, 1, "Deeper", 1), nullptr);
    const std::string duplicate = "kwExternalError: itemIdentifier(1) already exists in menu(0) and is not safe to duplicate.";
    EXPECT_EQ(reports.messages, (Log{duplicate, duplicate}));
    // Parent 1 resolves to the shallower "Again", not to "Exit".
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1)] Again(1)[Deeper(1)]");
}

TEST_F(ApplicationMenuTest, LookupPrefersShallowerThenEarlierMatches)
{
    ApplicationMenu menu(14);
    Add(menu, 1, "First");
    Add(menu, 5, "Grandchild", 1);
    Add(menu, 5, "Second");
    EXPECT_EQ(reports.messages.size(), 1u); // the duplicate 5
    EXPECT_EQ(FindMenuItem(menu, 5), &GetMenuRoot(14)->children[1]);

    // Among deeper matches the earlier child's subtree wins, whatever was added first.
    ApplicationMenu other(15);
    Add(other, 1, "A");
    Add(other, 2, "B");
    Add(other, 7, "UnderB", 2);
    Add(other, 7, "UnderA", 1);
    EXPECT_EQ(FindMenuItem(other, 7), &GetMenuRoot(15)->children[0].children[0]);
    EXPECT_EQ(FindMenuItem(other, 9), nullptr);
}

TEST_F(ApplicationMenuTest, FlagsAreStoredAsPassed)
{
    ApplicationMenu menu(16);
    for (unsigned short flags = 0; flags < 8; ++flags) {
        menu.AddMenuItem(flags, flags == 0 ? "" : "Item", kInvalidMenuItemIdentifier, (flags & 1) != 0,
                         (flags & 2) != 0, (flags & 4) != 0);
    }
    // Read after all were added: adding never touches the others. E enabled, C checked, V visible.
    std::string stored;
    for (const MenuItem& item : GetMenuRoot(16)->children) {
        stored += item.displayName + std::to_string(item.identifier) + (item.isEnabled ? "E" : "-") +
                  (item.isChecked ? "C" : "-") + (item.isVisible ? "V" : "-") + " ";
    }
    EXPECT_EQ(stored, "0--- Item1E-- Item2-C- Item3EC- Item4--V Item5E-V Item6-CV Item7ECV ");
}

TEST_F(ApplicationMenuTest, InvalidIdentifiersAndMissingMenusAreReported)
{
    ApplicationMenu menu(12);
    ASSERT_NE(Add(menu, kInvalidMenuItemIdentifier, "Invalid"), nullptr);
    EXPECT_EQ(reports.Take(), Log{"kwExternalError: Cannot search for a menuItem with invalid identifier."});
    EXPECT_EQ(DescribeMenu(12), "Invalid(65535)");
    // The lookup reports and still searches.
    EXPECT_EQ(FindMenuItem(menu, kInvalidMenuItemIdentifier), &GetMenuRoot(12)->children[0]);
    EXPECT_EQ(reports.Take().size(), 1u);

    EXPECT_EQ(GetMenuRoot(18), nullptr);
    EXPECT_EQ(reports.Take(), Log{"kwInternalError: Trying to access item for a menu that does not exist: 18"});
    // A handle whose entry has gone: the lookup reports, AddMenuItem makes the entry again.
    kwImplementation::GetMenuRegistry().erase(12);
    EXPECT_EQ(FindMenuItem(menu, 3), nullptr);
    EXPECT_EQ(reports.Take(), Log{"+kwExternalError: Menu(12) does not exist, trying to access item(3)."});
    ASSERT_NE(Add(menu, 3, "Three"), nullptr);
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(DescribeMenu(12), "Three(3)");
}
