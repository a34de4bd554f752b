// Platform tests of the window-menu binding in real windows: the menu bar read
// back from the window system, commands routed to the handler before the
// window's own handling, re-attachment, and two handlers on one window.
#include "platform_probe.h"
#include "recording_handler.h"

#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_application_menu.h"

#include <gtest/gtest.h>

#include <string>

using Kelpwright::Application::ApplicationMenu;
using kwImplementation::AttachMenuToWindow;

namespace kwTest {
namespace {

const Kelpwright::Application::MenuItemIdentifier kTop = Kelpwright::Application::kInvalidMenuItemIdentifier;
typedef std::vector<unsigned int> Items;

// "Name#identifier:state[children]" per entry; a separator is "-".
std::string Describe(const std::vector<MenuEntry>& entries)
{
    std::string text;
    for (const MenuEntry& entry : entries) {
        text += text.empty() ? "" : ",";
        text += entry.isSeparator ? "-"
                                  : entry.name + "#" + std::to_string(entry.identifier) + ":" + std::to_string(entry.state);
        if (!entry.children.empty()) {
            text += "[" + Describe(entry.children) + "]";
        }
    }
    return text;
}

class WindowMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetApplicationLayer();
        window = CreatePlainWindow();
        DrainQueuedEvents();
    }

    void TearDown() override
    {
        DestroyPlainWindow(window);
        DrainQueuedEvents();
    }

    std::string ReadBar()
    {
        std::vector<MenuEntry> entries;
        return ReadMenuBar(window, entries) ? Describe(entries) : "(no bar)";
    }

    // Queues a command, handles it, and returns how many events the window's
    // own handling saw meanwhile.
    int DeliverCommand(unsigned int identifier)
    {
        const int before = CountEventsSeenByPlainWindow(window);
        QueueMenuCommand(window, identifier);
        DrainQueuedEvents();
        return CountEventsSeenByPlainWindow(window) - before;
    }

    WindowHandle window = nullptr;
    RecordingHandler handler;
};

TEST_F(WindowMenuTest, BarShowsVisibleItemsAndRoutesTheirCommandsBeforeTheWindowsOwnHandling)
{
    // "Secret" and "Hidden" are invisible, with their subtrees.
    ApplicationMenu menu(1);
    menu.AddMenuItem(10, "File", kTop, true, false, true);
    menu.AddMenuItem(11, "Open", 10, true, false, true);
    menu.AddMenuItem(12, "Revert", 10, false, false, true);
    menu.AddMenuItem(13, "", 10, true, false, true);
    menu.AddMenuItem(14, "Autosave", 10, true, true, true);
    menu.AddMenuItem(15, "Locked", 10, false, true, true);
    menu.AddMenuItem(16, "Secret", 10, true, false, false);
    menu.AddMenuItem(17, "Inside secret", 16, true, false, true);
    menu.AddMenuItem(18, "Recent", 10, true, false, true);
    menu.AddMenuItem(19, "First", 18, true, false, true);
    menu.AddMenuItem(20, "Second", 18, true, false, true);
    menu.AddMenuItem(21, "Hidden", kTop, true, false, false);
    menu.AddMenuItem(22, "Under hidden", 21, true, false, true);
    menu.AddMenuItem(23, "Edit", kTop, true, false, true);
    menu.AddMenuItem(24, "Copy", 23, true, false, true);
    AttachMenuToWindow(window, menu, handler);

    EXPECT_EQ(ReadBar(), "File#10:0[Open#11:0,Revert#12:3,-,Autosave#14:8,Locked#15:11,"
                         "Recent#18:0[First#19:0,Second#20:0]],Edit#23:0[Copy#24:0]");

    std::vector<int> seenByWindowAtAction;
    handler.action = [&](const std::string&, int) { seenByWindowAtAction.push_back(CountEventsSeenByPlainWindow(window)); };
    const int before = CountEventsSeenByPlainWindow(window);
    EXPECT_EQ(DeliverCommand(19), 1);
    EXPECT_EQ(seenByWindowAtAction, std::vector<int>{before});
    EXPECT_EQ(DeliverCommand(13), 1); // a separator keeps its identifier
    for (unsigned int invisible : {16u, 17u, 21u, 22u, 99u}) {
        EXPECT_EQ(DeliverCommand(invisible), 1) << invisible;
    }
    EXPECT_EQ(handler.ChosenItems(), (Items{19, 13}));

    // A right-click: with no pop-up menu it raises nothing and reaches the window.
    const int beforeRightClick = CountEventsSeenByPlainWindow(window);
    QueueContextMenuRequest(window);
    DrainQueuedEvents();
    EXPECT_EQ(CountEventsSeenByPlainWindow(window) - beforeRightClick, 1);
    EXPECT_EQ(handler.calls.size(), 2u);
}

TEST_F(WindowMenuTest, ReattachingReplacesTheBarWithoutSubclassingTwiceAndAnEmptyMenuRemovesIt)
{
    ApplicationMenu first(1);
    first.AddMenuItem(10, "Alpha", kTop, true, false, true);
    first.AddMenuItem(11, "One", 10, true, false, true);
    ApplicationMenu second(2);
    second.AddMenuItem(20, "Beta", kTop, true, false, true);
    second.AddMenuItem(21, "Two", 20, true, false, true);
    ApplicationMenu empty(3);

    AttachMenuToWindow(window, first, handler);
    AttachMenuToWindow(window, second, handler);
    EXPECT_EQ(ReadBar(), "Beta#20:0[Two#21:0]");
    EXPECT_EQ(DeliverCommand(11), 1); // gone with the old bar
    EXPECT_EQ(DeliverCommand(21), 1);
    EXPECT_EQ(handler.ChosenItems(), (Items{21}));

    // Re-attaching from inside the handler, while the command is being routed
    // (the new bar's frame change reaches the window too, so only the outcome counts).
    handler.action = [&](const std::string&, int) { AttachMenuToWindow(window, first, handler); };
    DeliverCommand(21);
    EXPECT_EQ(ReadBar(), "Alpha#10:0[One#11:0]");
    EXPECT_EQ(handler.ChosenItems(), (Items{21, 21}));

    handler.action = nullptr;
    AttachMenuToWindow(window, empty, handler);
    EXPECT_EQ(ReadBar(), "(no bar)");
    EXPECT_EQ(DeliverCommand(11), 1);
    EXPECT_EQ(handler.ChosenItems(), (Items{21, 21}));
}

TEST_F(WindowMenuTest, SecondHandlerOnTheSameWindowChainsToTheWindowsOwnProcedure)
{
    RecordingHandler secondHandler;
    ApplicationMenu first(1);
    first.AddMenuItem(10, "Alpha", kTop, true, false, true);
    ApplicationMenu second(2);
    second.AddMenuItem(20, "Beta", kTop, true, false, true);

    AttachMenuToWindow(window, first, handler);
    AttachMenuToWindow(window, second, secondHandler);
    EXPECT_EQ(ReadBar(), "Beta#20:0");

    // Each command reaches the window's own handling exactly once; the window
    // now routes to the second handler only.
    EXPECT_EQ(DeliverCommand(20), 1);
    EXPECT_EQ(DeliverCommand(10), 1);
    EXPECT_EQ(secondHandler.ChosenItems(), (Items{20}));
    EXPECT_TRUE(handler.calls.empty());
}

} // namespace
} // namespace kwTest
