// Platform tests in real windows, the same cases for both backends (USER32 under Wine, FLTK natively).
// Each TEST is one run of the realtime application with the fixture as its handler.
#include "application/platform/platform_probe.h"
#include "core/report_collector.h"
#include "golden_file.h"
#include "visualization/recording_gl.h"

#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_realtime_application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>

using namespace Kelpwright::Application;
using namespace kwImplementation;

namespace kwTest {
namespace {

#ifdef _WIN32
const char* const kBackend = "windows";
#else
const char* const kBackend = "fltk";
#endif

// A run that a fault keeps going ends after this long.
const std::chrono::seconds kRunDeadline(60);
// The window system's own focus changes at showing are over once none has come for this long.
const std::chrono::milliseconds kFocusQuiet(300);

// The File menu the runs attach: a disabled item (3), a checked one (5), a separator (4), an invisible
// item (6) with its child (7), and a pop-up (8).
struct DeclaredItem {
    MenuItemIdentifier identifier;
    const char* name;
    MenuItemIdentifier parent;
    bool enabled;
    bool checked;
    bool visible;
};
const DeclaredItem kFileMenu[] = {
    {1, "File", kInvalidMenuItemIdentifier, true, false, true},
    {2, "Open", 1, true, false, true},
    {3, "Revert", 1, false, false, true},
    {4, "", 1, true, false, true},
    {5, "Autosave", 1, true, true, true},
    {6, "Secret", 1, true, false, false},
    {7, "In", 6, true, false, true},
    {8, "Recent", 1, true, false, true},
    {9, "First", 8, true, false, true},
};

std::string Action(MenuIdentifier menu, MenuItemIdentifier item)
{
    return "menu " + std::to_string(menu) + " item " + std::to_string(item);
}

Log Unique(Log log)
{
    log.erase(std::unique(log.begin(), log.end()), log.end());
    return log;
}

class PlatformTest : public testing::Test, public ApplicationHandlerInterface {
protected:
    void SetUp() override
    {
        GetMenuRegistry().clear(); // each test declares its menus afresh
        for (const DeclaredItem& item : kFileMenu) {
            menu.AddMenuItem(item.identifier, item.name, item.parent, item.enabled, item.checked,
                             item.visible);
        }
    }

    // A run leaves its window handle and menu records behind; the next test starts without them.
    void TearDown() override
    {
        GetRealtimeApplicationState().windowHandle = nullptr;
        GetWindowsToMenus().clear();
        GetHandlersToMenus().clear();
    }

    static WindowHandle Window() { return GetRealtimeApplicationState().windowHandle; }

    // True once no activation has arrived for kFocusQuiet; asked at every pass.
    bool FocusSettled()
    {
        const auto now = std::chrono::steady_clock::now();
        if (activations.size() != activationsSeen) {
            activationsSeen = activations.size();
            lastActivation = now;
        }
        return now - lastActivation >= kFocusQuiet;
    }

    void CollectWindowProperties(WindowProperties&) override
    {
        calls.emplace_back("CollectWindowProperties");
        onCollect();
    }
    void OnWindowOpen() override
    {
        calls.emplace_back("OnWindowOpen");
        onOpen();
    }
    void OnWindowClose() override { calls.emplace_back("OnWindowClose"); }
    void OnBecomeActive() override { activations.emplace_back("OnBecomeActive"); }
    void OnBecomeInactive() override { activations.emplace_back("OnBecomeInactive"); }
    // Updates are counted, not logged; what `onUpdate` sent is flushed to the window system.
    void OnRealtimeUpdate() override
    {
        ++passes;
        onUpdate(passes);
        Flush();
        if (std::chrono::steady_clock::now() - started > kRunDeadline) {
            ADD_FAILURE() << "the run went on past its deadline";
            application.Close();
        }
    }
    void OnMenuAction(const MenuIdentifier& menuIdentifier, const MenuItemIdentifier& item) override
    {
        ++actions[Action(menuIdentifier, item)];
        onMenuAction(item);
    }

    Log calls;
    Log activations;
    std::map<std::string, int> actions; // "menu M item I" -> OnMenuAction calls
    int passes = 0;
    std::function<void()> onCollect = [] {};
    std::function<void()> onOpen = [] {};
    std::function<void(int pass)> onUpdate = [](int) {};
    std::function<void(MenuItemIdentifier item)> onMenuAction = [](MenuItemIdentifier) {};
    ReportCollector reports;
    RealtimeApplication application{*this};
    ApplicationMenu menu{1};

private:
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    size_t activationsSeen = 0;
    std::chrono::steady_clock::time_point lastActivation = std::chrono::steady_clock::now();
};

// What the window system shows at the first update, with the title and bar set in OnWindowOpen: the
// default rectangle, the bar, how the backend made the window and its drawing surface, the handler and
// context calls so far. A Close before the loop has no effect.
TEST_F(PlatformTest, WindowAsOpened)
{
    onOpen = [&] {
        application.SetWindowTitle("Set While Opening");
        application.SetWindowMenu(menu);
        application.Close();
    };
    std::string transcript;
    onUpdate = [&](int) {
        transcript = "window " + DescribeWindow(Window()) + "\n";
        transcript += "menu bar " + DescribeMenuBar(Window()) + "\n";
        transcript += DescribeCreation(Window());
        for (const std::string& call : calls) {
            transcript += "call " + call + "\n";
        }
        // Creation calls only: the presents of paints vary with the window system.
        std::string context = OneCallPerLine(kwGlText());
        for (size_t start = 0; start < context.size();) {
            const size_t end = context.find('\n', start);
            const std::string line = context.substr(start, end - start);
            if (line.compare(0, 3, "wgl") == 0 && line.compare(0, 14, "wglSwapBuffers") != 0) {
                transcript += line + "\n";
            }
            start = end + 1;
        }
        application.Close();
    };
    kwClearGlText();
    application.Execute();

    EXPECT_EQ(passes, 1) << "updates of a run closed at its first";
    EXPECT_TRUE(MatchesGolden(std::string("platform_window_") + kBackend + ".txt", transcript));
    EXPECT_EQ(reports.messages, Log{});
}

// A Close from an update ends the run after that pass: the pass is still presented, teardown is not.
TEST_F(PlatformTest, CloseFromAnUpdateEndsTheRunAfterThatPass)
{
    int presentedBefore = 0;
    onUpdate = [&](int pass) {
        if (pass == 2) {
            presentedBefore = PresentedFrames();
            application.Close();
        }
    };
    application.Execute();

    EXPECT_EQ(passes, 2) << "updates of a run closed at its second";
    EXPECT_EQ(calls, (Log{"CollectWindowProperties", "OnWindowOpen", "OnWindowClose"}));
    EXPECT_EQ(PresentedFrames() - presentedBefore, 1) << "presents after the closing update";
}

// The window manager's close request ends the run in the next drain, before another update.
TEST_F(PlatformTest, CloseRequestEndsTheRun)
{
    onUpdate = [&](int pass) {
        if (pass == 1) {
            Send(Window(), Event::Close, 0);
        }
    };
    application.Execute();

    EXPECT_EQ(passes, 1) << "updates after the close request";
    EXPECT_EQ(calls, (Log{"CollectWindowProperties", "OnWindowOpen", "OnWindowClose"}));
}

// Each focus change of the backend's table raises its handler call or none: sent at one pass, read at
// the next, once the window system's own focus changes are over.
TEST_F(PlatformTest, ActivationChanges)
{
    const std::vector<ActivationCase> cases = ActivationCases();
    std::vector<Log> raised(cases.size());
    size_t row = 0;
    bool sending = false;
    onUpdate = [&](int) {
        if (!sending) {
            sending = FocusSettled();
        } else {
            raised[row] = activations;
            ++row;
        }
        activations.clear();
        if (!sending) {
            return;
        }
        if (row == cases.size()) {
            application.Close();
            return;
        }
        SendActivationCase(Window(), row);
    };
    application.Execute();

    ASSERT_EQ(row, cases.size()) << "focus changes sent before the run ended";
    for (size_t index = 0; index < cases.size(); ++index) {
        SCOPED_TRACE(cases[index].change);
        const std::string expected = cases[index].expected;
        EXPECT_EQ(raised[index], expected.empty() ? Log{} : Log{expected}) << "handler calls of the change";
    }
}

// Menu commands as the window system delivers them, each sent at one pass and read at the next. The
// pop-up item's action re-attaches the menu, which rebuilds the bar under the dispatch.
TEST_F(PlatformTest, MenuCommands)
{
    menu.AddMenuItem(10, "Twice", 1, true, false, true);
    menu.AddMenuItem(10, "Twice", 8, true, false, true);
    ASSERT_EQ(reports.Take(),
              Log{"kwExternalError: itemIdentifier(10) already exists in menu(1) and is not safe "
                  "to duplicate."});
    const struct {
        const char* what;
        unsigned int command; // the item identifier, plus a high word
        const char* expected; // the menu action raised, or none when empty
    } kCases[] = {
        {"a declared item", 2, "menu 0 item 2"},
        {"an item of a pop-up", 9, "menu 0 item 9"},
        {"the checked item", 5, "menu 0 item 5"},
        {"an identifier declared twice", 10, "menu 0 item 10"},
        {"an invisible item", 6, ""},
        {"the child of an invisible item", 7, ""},
        {"an undeclared identifier", 999, ""},
        {"a declared item with a high word", 2 | 1U << 16, "menu 0 item 2"},
    };
    const size_t kCount = sizeof(kCases) / sizeof(kCases[0]);
    std::vector<std::map<std::string, int>> raised(kCount);
    std::string barBefore;
    std::string barAfter;
    onOpen = [&] { application.SetWindowMenu(menu); };
    onMenuAction = [&](MenuItemIdentifier item) {
        if (item == 9) {
            application.SetWindowMenu(menu);
        }
    };
    onUpdate = [&](int pass) {
        const size_t row = static_cast<size_t>(pass) - 1;
        if (row == 0) {
            barBefore = DescribeMenuBar(Window());
        } else {
            raised[row - 1] = actions;
        }
        actions.clear();
        if (row == kCount) {
            barAfter = DescribeMenuBar(Window());
            application.Close();
            return;
        }
        Send(Window(), Event::Command, kCases[row].command);
    };
    application.Execute();

    for (size_t row = 0; row < kCount; ++row) {
        SCOPED_TRACE(kCases[row].what);
        const std::string expected = kCases[row].expected;
        const std::map<std::string, int> once = {{expected, 1}};
        const std::map<std::string, int> none;
        EXPECT_EQ(raised[row], expected.empty() ? none : once) << "menu actions";
    }
    EXPECT_EQ(barAfter, barBefore) << "the bar after the commands: the checked item stays checked";
    EXPECT_EQ(reports.messages, Log{});
}

// The event number `event` of the storm: a cycle of ten kinds, one key in a thousand replaced by a
// resize, details varying. Commands: a known item (2 or 9), an invisible one (6 or 7) and an
// undeclared one, half of them with a high word.
void SendStormEvent(WindowHandle window, int event)
{
    const Event kCycle[10] = {Event::Activate, Event::Deactivate,  Event::Paint, Event::Key,
                              Event::Key,      Event::ContextMenu, Event::Mouse, Event::Command,
                              Event::Command,  Event::Command};
    const unsigned int slot = static_cast<unsigned int>(event % 10);
    const unsigned int variant = static_cast<unsigned int>(event / 10 + event / 100);
    const unsigned int highWord = (variant & 2) << 15;
    const unsigned int commands[3] = {variant % 2 != 0 ? 2U : 9U, variant % 2 != 0 ? 6U : 7U, 999};
    if (event % 1000 == 3) {
        Send(window, Event::Resize, static_cast<unsigned int>(event / 1000));
    } else if (kCycle[slot] == Event::Command) {
        Send(window, Event::Command, commands[slot - 7] | highWord);
    } else {
        Send(window, kCycle[slot], variant);
    }
}

// 100,000 events of every kind the window handles, 100 between frames; every hundredth menu action
// re-attaches the menu. Then a menu without items, then a close request.
TEST_F(PlatformTest, StormOfEventsBetweenFrames)
{
    const int kStormPasses = 1000;
    const int kEventsPerPass = 100;
    const int kEachKind = kStormPasses * kEventsPerPass / 10; // resizes replace a few keys
    int menuActions = 0;
    int first = 0; // the storm's first pass
    int presentedBefore = 0;
    int menusBefore = 0;
    std::string windowBefore;
    std::string barBefore;
    onOpen = [&] {
        application.SetWindowTitle("Storm");
        application.SetWindowMenu(menu);
    };
    onMenuAction = [&](MenuItemIdentifier) {
        ++menuActions;
        if (menuActions % 100 == 0) {
            application.SetWindowMenu(menu);
        }
    };
    onUpdate = [&](int pass) {
        if (pass == 1) {
            Send(Window(), Event::Deactivate, 0); // the storm starts from a window without focus
        }
        if (first == 0 && FocusSettled()) {
            first = pass;
            activations.clear();
            presentedBefore = PresentedFrames();
            menusBefore = LiveMenus(Window());
            windowBefore = DescribeWindow(Window());
            barBefore = DescribeMenuBar(Window());
        }
        if (first == 0) {
            return;
        }
        const int stormPass = pass - first;
        if (stormPass < kStormPasses) {
            for (int event = stormPass * kEventsPerPass; event < (stormPass + 1) * kEventsPerPass; ++event) {
                SendStormEvent(Window(), event);
            }
            return;
        }
        if (stormPass > kStormPasses) {
            return; // the close request failed to end the run
        }
        const int total = static_cast<int>(activations.size());
        const int actives =
            static_cast<int>(std::count(activations.begin(), activations.end(), "OnBecomeActive"));
        EXPECT_EQ(actives, kEachKind) << "activations during the storm";
        EXPECT_EQ(total - actives, kEachKind) << "deactivations during the storm";
        EXPECT_EQ(activations.back(), "OnBecomeInactive") << "the storm's last activation change";
        EXPECT_EQ(actions,
                  (std::map<std::string, int>{{Action(0, 2), kEachKind / 2}, {Action(0, 9), kEachKind / 2}}))
            << "menu actions: invisible or undeclared commands and right clicks raise none";
        // A present each pass and more for paints, however the window system merges them.
        EXPECT_GT(PresentedFrames() - presentedBefore, kStormPasses) << "presents during the storm";
        EXPECT_EQ(windowBefore, "50,50,850,650 Storm") << "before the storm: the default rectangle";
        EXPECT_EQ(DescribeWindow(Window()), "50,50,750,650 Storm") << "after the storm: the last resize";
        EXPECT_EQ(DescribeMenuBar(Window()), barBefore) << "the bar after re-attaching it a hundred times";
        EXPECT_EQ(LiveMenus(Window()), menusBefore) << "menus left after re-attaching: none piled up";

        application.SetWindowMenu(ApplicationMenu(2));
        EXPECT_EQ(DescribeMenuBar(Window()), "none") << "a menu without items removes the bar";
        EXPECT_EQ(LiveMenus(Window()), menusBefore - 3) << "the bar and its two pop-ups destroyed";
        Send(Window(), Event::Close, 0);
    };
    application.Execute();

    EXPECT_EQ(passes - first, kStormPasses) << "storm passes: the close request ended the run";
    EXPECT_EQ(calls.back(), "OnWindowClose");
    EXPECT_EQ(static_cast<int>(std::count(calls.begin(), calls.end(), "OnWindowClose")), 1)
        << "window closes";
    EXPECT_EQ(reports.messages, Log{});
}

// The window-menu reports and the condition of each, in phases of one run.
TEST_F(PlatformTest, WindowMenuReports)
{
    struct : ApplicationHandlerInterface {
    } other;
    struct : ApplicationHandlerInterface {
    } late;
    const std::string kSingle =
        "kwExternalError: Kelpwright currently supports only a single application at a time.";
    onCollect = [&] {
        // Attaching before the window exists.
        application.SetWindowMenu(menu);
        EXPECT_EQ(
            reports.Take(),
            Log{"kwInternalError: Invalid parameter; windowHandle, expected a non-NULL HWND object.\n"});
        // A second run while the first is being made.
        application.Execute();
        EXPECT_EQ(reports.Take(), Log{kSingle}) << "Execute from CollectWindowProperties";
    };
    onOpen = [&] { application.SetWindowMenu(menu); };
    onUpdate = [&](int pass) {
        if (pass == 1) {
            // A second run from an update.
            application.Execute();
            EXPECT_EQ(reports.Take(), Log{kSingle}) << "Execute from an update";
            // A second handler takes the window's commands; its procedure chains to the window's own.
            RealtimeApplication{other}.SetWindowMenu(menu);
            Send(Window(), Event::Command, 2);
        } else if (pass == 2) {
            EXPECT_EQ(reports.Take(), Log{});
            EXPECT_EQ(actions, (std::map<std::string, int>{})) << "a command after another handler attached";
            // The window lost from the records, then a command.
            GetWindowsToMenus().erase(Window());
            Send(Window(), Event::Command, 2);
        } else if (pass == 3) {
            EXPECT_EQ(Unique(reports.Take()),
                      Log{"kwInternalError: Expected to find window in the WindowsToMenus container."});
            GetWindowsToMenus()[Window()] = &GetHandlersToMenus()[this];
            Send(Window(), Event::Command, 2);
        } else {
            EXPECT_EQ(actions, (std::map<std::string, int>{{Action(0, 2), 1}}))
                << "once the window is found again";
            application.Close();
        }
    };
    application.Execute();
    // Attaching after the run, to the window it destroyed.
    RealtimeApplication{late}.SetWindowMenu(menu);

    EXPECT_EQ(passes, 4) << "updates of the run";
    EXPECT_EQ(reports.messages,
              Log{"kwInternalError: Invalid parameter windowHandle has no window with a procedure."});
}

// An Execute that finds the running flag already set returns at once: no window, no handler call.
TEST_F(PlatformTest, RunningFlagRefusesExecute)
{
    GetRealtimeApplicationState().running = 1;
    application.Execute();
    GetRealtimeApplicationState().running = 0;

    EXPECT_EQ(calls, Log{}) << "handler calls of a refused run";
    EXPECT_EQ(reports.messages,
              Log{"kwInternalError: Expected application not to be running at this moment."});
}

// A run that finds the previous run's window handle still recorded reports it and goes on.
TEST_F(PlatformTest, StaleWindowHandleIsReported)
{
    onUpdate = [&](int) { application.Close(); };
    int previousWindow = 0;
    GetRealtimeApplicationState().windowHandle = &previousWindow;
    application.Execute();

    EXPECT_EQ(reports.messages, Log{"kwInternalError: Expected window handle to be unused at this moment."});
    EXPECT_EQ(calls, (Log{"CollectWindowProperties", "OnWindowOpen", "OnWindowClose"}))
        << "the run after the report";
    EXPECT_EQ(passes, 1) << "updates of the run after the report";
}

} // namespace
} // namespace kwTest
