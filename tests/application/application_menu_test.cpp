// Tests of the declared-menu model: the item tree, duplicate and missing-parent
// reports, identifiers shared between menus, handles sharing one menu, lookup
// order and stored flags. The registry is process-wide, so each test uses a
// menu identifier of its own.
#include "application/implementation/kwi_system_application_menu.h"
#include "application/kw_application_menu.h"
#include "core/kw_error.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using Kelpwright::Application::MenuItem;
using kwImplementation::FindMenuItem;
using kwImplementation::GetMenuRoot;

namespace {

typedef std::vector<std::string> Messages;

class ReportCollector : public Kelpwright::Core::Error::ErrorHandlerInterface {
public:
    ReportCollector() { Kelpwright::Core::Error::AddErrorHandler(this); }
    ~ReportCollector() override { Kelpwright::Core::Error::RemoveErrorHandler(this); }
    void OnErrorFired(const std::string& message) override { messages.push_back(message); }

    Messages messages;
};

// "name(id)[children]" for each item, e.g. "File(0)[Exit(1)]".
std::string Describe(const std::vector<MenuItem>& items)
{
    std::string text;
    for (const MenuItem& item : items) {
        if (!text.empty()) {
            text += " ";
        }
        text += item.displayName + "(" + std::to_string(item.identifier) + ")";
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

MenuItem* Add(ApplicationMenu& menu, unsigned short item, const char* name, unsigned short parent)
{
    return menu.AddMenuItem(item, name, parent, true, false, true);
}

// The registry outlives each test: every test starts and ends without the
// menus this file uses, so repeated and shuffled runs see the same registry.
class ApplicationMenuTest : public testing::Test {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }

    static void Forget()
    {
        const Kelpwright::Application::MenuIdentifier menus[] = {0, 10, 11, 12, 13, 14, 15, 16, 17, 18};
        for (Kelpwright::Application::MenuIdentifier menu : menus) {
            kwImplementation::GetMenuRegistry().erase(menu);
        }
    }
};

} // namespace

TEST_F(ApplicationMenuTest, FileExitTreeAndItsMisuse)
{
    ReportCollector reports;
    ApplicationMenu menu(0);
    EXPECT_EQ(DescribeMenu(0), "");

    MenuItem* file = Add(menu, 0, "File", kInvalidMenuItemIdentifier);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file, &GetMenuRoot(0)->children.back());
    MenuItem* exitItem = Add(menu, 1, "Exit", 0);
    ASSERT_NE(exitItem, nullptr);
    EXPECT_EQ(exitItem, &GetMenuRoot(0)->children[0].children.back());
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1)]");
    EXPECT_TRUE(reports.messages.empty());

    // A parent that names no item: reported, nothing added.
    EXPECT_EQ(Add(menu, 2, "Orphan", 7), nullptr);
    EXPECT_EQ(reports.messages, Messages{"kwExternalError: Menu(0) does not have an item with identifier: 7"});
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1)]");

    // A duplicate is reported and added all the same, at any level.
    reports.messages.clear();
    ASSERT_NE(Add(menu, 1, "Again", kInvalidMenuItemIdentifier), nullptr);
    ASSERT_NE(Add(menu, 1, "Deeper", 1), nullptr);
    const std::string duplicate = "kwExternalError: itemIdentifier(1) already exists in menu(0) and is not safe to duplicate.";
    EXPECT_EQ(reports.messages, (Messages{duplicate, duplicate}));
    // Parent 1 resolves to the shallower "Again", not to "Exit".
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1)] Again(1)[Deeper(1)]");
}

TEST_F(ApplicationMenuTest, SameIdentifierInTwoMenusIsAccepted)
{
    ReportCollector reports;
    ApplicationMenu first(10);
    ApplicationMenu second(11);
    Add(first, 1, "One", kInvalidMenuItemIdentifier);
    Add(second, 1, "Uno", kInvalidMenuItemIdentifier);
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(DescribeMenu(10), "One(1)");
    EXPECT_EQ(DescribeMenu(11), "Uno(1)");
}

TEST_F(ApplicationMenuTest, InvalidItemIdentifierIsReportedByTheLookup)
{
    ReportCollector reports;
    ApplicationMenu menu(12);
    ASSERT_NE(Add(menu, kInvalidMenuItemIdentifier, "Invalid", kInvalidMenuItemIdentifier), nullptr);
    EXPECT_EQ(reports.messages, Messages{"kwExternalError: Cannot search for a menuItem with invalid identifier."});
    EXPECT_EQ(DescribeMenu(12), "Invalid(65535)");

    // The lookup reports and still searches.
    reports.messages.clear();
    EXPECT_EQ(FindMenuItem(menu, kInvalidMenuItemIdentifier), &GetMenuRoot(12)->children[0]);
    EXPECT_EQ(reports.messages.size(), 1u);
}

TEST_F(ApplicationMenuTest, HandlesWithOneIdentifierShareTheItems)
{
    ReportCollector reports;
    MenuItem* item = nullptr;
    {
        ApplicationMenu first(13);
        item = Add(first, 3, "Three", kInvalidMenuItemIdentifier);
        ApplicationMenu second(13); // an existing menu is left as it is
        EXPECT_EQ(FindMenuItem(second, 3), item);
        Add(second, 4, "Four", 3);
    }
    ApplicationMenu later(13);
    EXPECT_EQ(FindMenuItem(later, 3), &GetMenuRoot(13)->children[0]);
    EXPECT_EQ(DescribeMenu(13), "Three(3)[Four(4)]");
    EXPECT_TRUE(reports.messages.empty());
}

TEST_F(ApplicationMenuTest, LookupPrefersShallowerThenEarlierMatches)
{
    ReportCollector reports;
    ApplicationMenu menu(14);
    Add(menu, 1, "First", kInvalidMenuItemIdentifier);
    Add(menu, 5, "Grandchild", 1);
    Add(menu, 5, "Second", kInvalidMenuItemIdentifier);
    EXPECT_EQ(reports.messages.size(), 1u); // the duplicate 5
    MenuItem* found = FindMenuItem(menu, 5);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->displayName, "Second");

    // Among deeper matches the earlier child's subtree wins, whatever was added first.
    ApplicationMenu other(15);
    Add(other, 1, "A", kInvalidMenuItemIdentifier);
    Add(other, 2, "B", kInvalidMenuItemIdentifier);
    Add(other, 7, "UnderB", 2);
    Add(other, 7, "UnderA", 1);
    found = FindMenuItem(other, 7);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->displayName, "UnderA");
    EXPECT_EQ(FindMenuItem(other, 9), nullptr);
}

TEST_F(ApplicationMenuTest, FlagsAreStoredAsPassed)
{
    ApplicationMenu menu(16);
    for (unsigned short flags = 0; flags < 8; ++flags) {
        MenuItem* item = menu.AddMenuItem(flags, flags == 0 ? "" : "Item", kInvalidMenuItemIdentifier, (flags & 1) != 0,
                                          (flags & 2) != 0, (flags & 4) != 0);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->children.empty());
    }
    // Checked after all were added: adding never touches the others.
    const MenuItem* root = GetMenuRoot(16);
    ASSERT_EQ(root->children.size(), 8u);
    for (unsigned short flags = 0; flags < 8; ++flags) {
        const MenuItem& item = root->children[flags];
        EXPECT_EQ(item.identifier, flags);
        EXPECT_EQ(item.isEnabled, (flags & 1) != 0) << flags;
        EXPECT_EQ(item.isChecked, (flags & 2) != 0) << flags;
        EXPECT_EQ(item.isVisible, (flags & 4) != 0) << flags;
    }
    EXPECT_EQ(root->children[0].displayName, "");
}

TEST_F(ApplicationMenuTest, MissingMenusAreReported)
{
    ReportCollector reports;
    EXPECT_EQ(GetMenuRoot(18), nullptr);
    EXPECT_EQ(reports.messages, Messages{"kwInternalError: Trying to access item for a menu that does not exist: 18"});

    // A handle whose entry has gone: the lookup reports, AddMenuItem makes the entry again.
    reports.messages.clear();
    ApplicationMenu menu(17);
    kwImplementation::GetMenuRegistry().erase(17);
    EXPECT_EQ(FindMenuItem(menu, 3), nullptr);
    EXPECT_EQ(reports.messages, Messages{"+kwExternalError: Menu(17) does not exist, trying to access item(3)."});
    reports.messages.clear();
    ASSERT_NE(Add(menu, 3, "Three", kInvalidMenuItemIdentifier), nullptr);
    EXPECT_TRUE(reports.messages.empty());
    EXPECT_EQ(DescribeMenu(17), "Three(3)");
}
