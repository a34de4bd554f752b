// Tests of the declared-menu model: the item tree shared by handles, which item a lookup finds when
// identifiers repeat, and the reports for misuse, each with its exact text.
#include "application/implementation/kwi_system_application_menu.h"

#include "../core/report_collector.h"

#include <gtest/gtest.h>

using namespace Kelpwright::Application;
using namespace kwImplementation;

namespace {

const MenuItemIdentifier kTopLevel = kInvalidMenuItemIdentifier;

// "name(id)[children]" for each item, e.g. "File(0)[Exit(1)]"; flags as "~" disabled, "*" checked,
// "?" invisible after the identifier.
std::string Describe(const std::vector<MenuItem>& items)
{
    std::string text;
    for (const MenuItem& item : items) {
        if (!text.empty()) {
            text += " ";
        }
        text += item.displayName + "(" + std::to_string(item.identifier) + ")";
        text += std::string(item.isEnabled ? "" : "~") + (item.isChecked ? "*" : "") +
            (item.isVisible ? "" : "?");
        if (!item.children.empty()) {
            text += "[" + Describe(item.children) + "]";
        }
    }
    return text;
}

std::string DescribeMenu(MenuIdentifier menu) { return Describe(GetMenuRoot(menu)->children); }

MenuItem* Add(ApplicationMenu& menu, MenuItemIdentifier item, const char* name,
              MenuItemIdentifier parent = kTopLevel)
{
    return menu.AddMenuItem(item, name, parent, true, false, true);
}

class ApplicationMenuTest : public testing::Test {
protected:
    void SetUp() override { GetMenuRegistry().clear(); }
    void TearDown() override { GetSafeForDuplicationRegistry().clear(); }

    kwTest::ReportCollector reports;
};

} // namespace

TEST_F(ApplicationMenuTest, HandlesShareTheRegistry)
{
    MenuItem* exitItem = nullptr;
    {
        ApplicationMenu first(0);
        MenuItem* file = Add(first, 0, "File");
        EXPECT_EQ(file, &GetMenuRoot(0)->children.back()) << "the new item as it sits in its parent's list";
        exitItem = Add(first, 1, "Exit", 0);
    }
    ApplicationMenu later(0); // made after the first handle is gone: the items stay
    EXPECT_EQ(FindMenuItem(later, 1), exitItem);
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1)]");
    EXPECT_EQ(reports.Take(), kwTest::Log{});
}

TEST_F(ApplicationMenuTest, FlagsAreStoredAsPassed)
{
    ApplicationMenu menu(3);
    menu.AddMenuItem(1, "Greyed", kTopLevel, false, false, true);
    menu.AddMenuItem(2, "Ticked", kTopLevel, true, true, true);
    menu.AddMenuItem(3, "Hidden", 2, true, false, false);
    EXPECT_EQ(DescribeMenu(3), "Greyed(1)~ Ticked(2)*[Hidden(3)?]");
}

TEST_F(ApplicationMenuTest, ShallowerMatchWins)
{
    ApplicationMenu menu(0);
    Add(menu, 1, "First");
    Add(menu, 5, "Deep", 1);
    MenuItem* second = Add(menu, 5, "Second"); // a duplicate, reported and added
    EXPECT_EQ(FindMenuItem(menu, 5), second);
    Add(menu, 7, "Under", 5);
    EXPECT_EQ(DescribeMenu(0), "First(1)[Deep(5)] Second(5)[Under(7)]");
}

TEST_F(ApplicationMenuTest, MisuseIsReported)
{
    ApplicationMenu menu(0);
    ApplicationMenu other(10);
    Add(menu, 0, "File");
    Add(menu, 1, "Exit", 0);
    Add(other, 1, "Uno"); // the same identifier in another menu is no duplicate
    EXPECT_EQ(reports.Take(), kwTest::Log{});

    const std::string duplicate =
        "kwExternalError: itemIdentifier(1) already exists in menu(0) and is not safe to duplicate.";
    EXPECT_EQ(Add(menu, 2, "Orphan", 7), nullptr);
    EXPECT_EQ(reports.Take(),
              kwTest::Log{"kwExternalError: Menu(0) does not have an item with identifier: 7"});
    ASSERT_NE(Add(menu, 1, "Again"), nullptr);
    EXPECT_EQ(reports.Take(), kwTest::Log{duplicate}) << "at the top level";
    ASSERT_NE(Add(menu, 1, "Deeper", 0), nullptr);
    EXPECT_EQ(reports.Take(), kwTest::Log{duplicate}) << "under an item";
    ASSERT_NE(Add(other, kInvalidMenuItemIdentifier, "Invalid"), nullptr);
    EXPECT_EQ(reports.Take(),
              kwTest::Log{"kwExternalError: Cannot search for a menuItem with invalid identifier."});
    EXPECT_EQ(DescribeMenu(0), "File(0)[Exit(1) Deeper(1)] Again(1)");
    EXPECT_EQ(DescribeMenu(10), "Uno(1) Invalid(65535)");
}

TEST_F(ApplicationMenuTest, UndeclaredMenuIsReported)
{
    ApplicationMenu menu(4);
    GetMenuRegistry().clear(); // the handle outlives its entry
    EXPECT_EQ(FindMenuItem(menu, 2), nullptr);
    EXPECT_EQ(GetMenuRoot(4), nullptr);
    EXPECT_EQ(reports.Take(),
              (kwTest::Log{"+kwExternalError: Menu(4) does not exist, trying to access item(2).",
                           "kwInternalError: Trying to access item for a menu that does not exist: 4"}));
}

TEST_F(ApplicationMenuTest, SafeForDuplicationIsNeverLookedUp)
{
    GetSafeForDuplicationRegistry().insert(9);
    ApplicationMenu menu(0);
    Add(menu, 9, "Spacer");
    Add(menu, 9, "Spacer");
    EXPECT_EQ(reports.Take(), kwTest::Log{}) << "adding such an identifier is not checked for duplicates";
    EXPECT_EQ(DescribeMenu(0), "Spacer(9) Spacer(9)");
    FindMenuItem(menu, 9);
    EXPECT_EQ(
        reports.Take(),
        kwTest::Log{
            "kwExternalError: Cannot access or modify menuItem(9) because it is safe for duplication."});
}
