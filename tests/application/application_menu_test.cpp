// Tests of the declared-menu model: the item tree shared by handles, which item a lookup finds when
// identifiers repeat, and the reports for misuse, each call noted with its result and reports.
#include "application/implementation/kwi_system_application_menu.h"

#include "../core/report_collector.h"
#include "application/menu_description.h"
#include "golden_file.h"

#include <gtest/gtest.h>

using namespace Kelpwright::Application;
using namespace kwImplementation;

namespace {

const MenuItemIdentifier kTop = kInvalidMenuItemIdentifier;

using kwTest::Describe;

class ApplicationMenuTest : public testing::Test {
protected:
    void SetUp() override { GetMenuRegistry().clear(); }
    void TearDown() override { GetSafeForDuplicationRegistry().clear(); }

    // The call, the item it returned and the reports it made.
    void Note(const std::string& call, const MenuItem* result)
    {
        transcript += call + ":" + (result != nullptr ? Describe({*result}) : " none") + "\n";
        for (const std::string& report : reports.Take()) {
            transcript += "  report: " + report + "\n";
        }
    }
    MenuItem* Add(ApplicationMenu& menu, MenuItemIdentifier item, const std::string& name,
                  MenuItemIdentifier parent = kTop)
    {
        const std::string call = "add " + std::to_string(menu.GetIdentifier()) + "/" + std::to_string(item) +
            " \"" + name + "\" under " + std::to_string(parent);
        MenuItem* added = menu.AddMenuItem(item, name, parent, true, false, true);
        Note(call, added);
        return added;
    }
    void Find(ApplicationMenu& menu, MenuItemIdentifier item)
    {
        return Note("find " + std::to_string(menu.GetIdentifier()) + "/" + std::to_string(item),
                    FindMenuItem(menu, item));
    }
    void Tree(MenuIdentifier menu)
    {
        transcript += "menu " + std::to_string(menu) + ":" + Describe(GetMenuRoot(menu)->children) + "\n";
    }

    std::string transcript;
    kwTest::ReportCollector reports;
};

} // namespace

TEST_F(ApplicationMenuTest, Declarations)
{
    MenuItem* exitItem = nullptr;
    {
        ApplicationMenu first(0);
        Add(first, 0, "File");
        exitItem = Add(first, 1, "Exit", 0);
    }
    ApplicationMenu menu(0); // made after the first handle is gone: the items stay
    EXPECT_EQ(FindMenuItem(menu, 1), exitItem) << "the item as it sits in its parent's list";
    ApplicationMenu other(10);
    Add(other, 1, "Uno"); // the same identifier in another menu is no duplicate
    Add(menu, 2, "Orphan", 7);
    Add(menu, 1, "Again");
    Add(menu, 1, "Deeper", 0);
    // An item kept since its declaration stays where it is while its list grows: its check mark shows.
    exitItem->isChecked = true;
    Find(menu, 1); // the shallower match wins
    Add(menu, 3, "Under", 1);
    Add(other, kTop, "Invalid");
    Note("add 10/4 flags", other.AddMenuItem(4, "Greyed", kTop, false, false, true));
    Note("add 10/5 flags", other.AddMenuItem(5, "Ticked", kTop, true, true, true));
    Note("add 10/6 flags", other.AddMenuItem(6, "Hidden", 5, true, false, false));
    Tree(0);
    Tree(10);

    // Identifiers marked safe for duplication are not checked when added, and never looked up.
    GetSafeForDuplicationRegistry().insert(9);
    Add(menu, 9, "Spacer");
    Add(menu, 9, "Spacer");
    Find(menu, 9);
    Tree(0);

    kwTest::ExpectMatchesGolden("menu_declarations.txt", transcript);
}
