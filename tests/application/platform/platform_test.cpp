// Platform tests in real windows, the same for both backends: a storm of events between frames with
// the window-menu reports around it, then Close from an update.
#include "application/platform/platform_probe.h"
#include "core/report_collector.h"

#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_realtime_application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

using namespace Kelpwright::Application;
using namespace kwImplementation;

namespace kwTest {
namespace {

const std::string kBar = "[File#1:0[Open#2:0,Revert#3:3,-#4:0,Autosave#5:8,Recent#8:0[First#9:0]]]";

// The fixture is the handler: it records the calls (activation, to which the
// window system adds its own, only counted) and runs `script` after each.
class PlatformTest : public testing::Test, public ApplicationHandlerInterface {
protected:
    // The menu the storm attaches.
    void SetUp() override
    {
        const MenuItemIdentifier parents[] = {kInvalidMenuItemIdentifier, 1, 1, 1, 1, 1, 6, 1, 8};
        const char* names[] = {"File", "Open", "Revert", "", "Autosave", "Secret", "In", "Recent", "First"};
        for (MenuItemIdentifier item = 1; item <= 9; ++item) { // 3 disabled, 5 checked, 6 invisible
            menu.AddMenuItem(item, names[item - 1], parents[item - 1], item != 3, item == 5, item != 6);
        }
    }
    void Record(const std::string& name)
    {
        (name.compare(0, 8, "OnBecome") == 0 ? lastActivation : calls.emplace_back()) = name;
        script(name, ++counts[name]);
    }
    void CollectWindowProperties(WindowProperties&) override { Record("CollectWindowProperties"); }
    void OnWindowOpen() override { Record("OnWindowOpen"); }
    void OnWindowClose() override { Record("OnWindowClose"); }
    void OnBecomeActive() override { Record("OnBecomeActive"); }
    void OnBecomeInactive() override { Record("OnBecomeInactive"); }
    void OnRealtimeUpdate() override { Record("OnRealtimeUpdate"); }
    void OnMenuAction(const MenuIdentifier& m, const MenuItemIdentifier& i) override
    {
        ++chosen[i | m << 16];
        Record("OnMenuAction");
    }

    std::vector<std::string> calls;
    ReportCollector reports;
    std::string lastActivation;
    std::map<std::string, int> counts;
    std::map<unsigned int, int> chosen; // item + (menu << 16) -> OnMenuAction calls
    std::function<void(const std::string& name, int count)> script;
    RealtimeApplication application{*this};
    ApplicationMenu menu{1};
};

// 100,000 events of the kinds the window handles, 100 between frames; every hundredth known command
// re-attaches the menu (OnWindowOpen did so 10,000 times). Before them a second Execute, a second handler, a
// window lost from the records; after them a close request. Attaching before the window or after the run
// reports. Then a run closed from an update.
TEST_F(PlatformTest, StormOfEventsBetweenFramesThenACloseRequestThenARunClosedFromAnUpdate)
{
    const int kFrames = 1000, kEach = kFrames * 10; // ten of each kind a frame, resizes fewer
    struct : ApplicationHandlerInterface {
    } other, late;
    int menus = 0, presented = 0;
    script = [&](const std::string& name, int count) {
        const WindowHandle window = GetRealtimeApplicationState().windowHandle;
        const bool opening = name == "CollectWindowProperties" || name == "OnWindowOpen";
        for (int attach = name == "OnWindowOpen" ? 10000
                                                 : opening || (name == "OnMenuAction" && count % 100 == 0);
             attach > 0; --attach) {
            application.SetWindowMenu(menu);
        }
        if (opening) {
            menus = name == "OnWindowOpen" ? menus : LiveMenus(window);
            application.SetWindowTitle("Set While Opening");
            application.Close(); // before the loop: no effect
        }
        if (name != "OnRealtimeUpdate") {
            return;
        }
        if (count == 1) {
            EXPECT_EQ(Describe(window) + std::to_string(LiveMenus(window) - menus),
                      "50,50,850,650 Set While Opening" + kBar + "3")
                << "the default size, the title, the bar and its three menus before the storm";
            application.Execute();
            RealtimeApplication{other}.SetWindowMenu(menu);
            Send(window, Event::Deactivate, 0);
        } else if (count == 2) {
            GetWindowsToMenus().erase(window);
        } else if (count == 3) {
            GetWindowsToMenus()[window] = &GetHandlersToMenus()[this];
            counts["OnBecomeActive"] = 0;
            counts["OnBecomeInactive"] = 0;
            menus = LiveMenus(window);
            presented = PresentedFrames();
        } else if (count == 3 + kFrames) {
            EXPECT_EQ(counts["OnBecomeActive"], kEach) << "activations counted since the storm began";
            EXPECT_EQ(counts["OnBecomeInactive"], kEach) << "deactivations counted since the storm began";
            EXPECT_EQ(lastActivation, "OnBecomeInactive") << "the storm's last activation change";
            EXPECT_EQ(chosen, (std::map<unsigned int, int>{{2, kEach / 2}, {9, kEach / 2}}))
                << "menu actions by item: invisible or undeclared commands and context menus raise none";
            // One present a pass, and more for the paints: however the window system merges them, at least
            // one.
            EXPECT_GT(PresentedFrames() - presented, kFrames) << "presents during the storm's passes";
            EXPECT_EQ(Describe(window) + std::to_string(LiveMenus(window) - menus),
                      "50,50,750,650 Set While Opening" + kBar + "0")
                << "after the storm: no menus piled up by re-attaching";
            application.SetWindowMenu(ApplicationMenu(2)); // no items: no bar, and its three menus go
            EXPECT_EQ(Describe(window) + std::to_string(LiveMenus(window) - menus),
                      "50,50,750,650 Set While Opening-3")
                << "a menu without items removes the bar and its menus";
            Send(window, Event::Close, 0);
        } else if (count == 3 + kFrames + 50) {
            application.Close(); // a fault kept the run going
        }
        count < 3 ? Send(window, Event::Command, 2)
                  : void(); // to the second handler, then to the lost window
        for (int event = (count - 3) * 100; count >= 3 && count < 3 + kFrames && event < (count - 2) * 100;
             ++event) {
            // Details vary by event and frame; a resize every tenth frame; commands known, invisible or
            // undeclared, half with a high word.
            const unsigned int slot = event % 10, variant = event / 10 + event / 100;
            const unsigned int command[3] = {variant % 2 ? 2u : 9u, variant % 2 ? 6u : 7u, 999};
            const bool resize = event % 1000 == 3;
            Send(window,
                 resize          ? Event::Resize
                     : slot == 3 ? Event::Key
                                 : static_cast<Event>(std::min(slot, 7u)),
                 resize         ? event / 1000
                     : slot < 7 ? variant
                                : command[slot - 7] | (variant & 2) << 15);
        }
        Flush();
    };
    application.Execute();
    RealtimeApplication{late}.SetWindowMenu(menu);

    EXPECT_EQ(counts["OnRealtimeUpdate"], 3 + kFrames) << "passes until the close request ended the run";
    EXPECT_EQ(calls.back() + std::to_string(counts["OnWindowClose"]), "OnWindowClose1")
        << "the last call, and how often the window closed";
    reports.messages.erase(std::unique(reports.messages.begin(), reports.messages.end()),
                           reports.messages.end());
    EXPECT_EQ(reports.messages,
              (Log{"kwInternalError: Invalid parameter; windowHandle, expected a non-NULL HWND object.\n",
                   "kwExternalError: Kelpwright currently supports only a single application at a time.",
                   "kwInternalError: Expected to find window in the WindowsToMenus container.",
                   "kwInternalError: Invalid parameter windowHandle has no window with a procedure."}))
        << "reports of the run, repeats removed";

    // The next run, closed from an update: that pass is still presented, then the run tears down.
    calls.clear();
    counts.clear();
    GetRealtimeApplicationState().windowHandle = nullptr;
    script = [&](const std::string& name, int count) {
        if (name == "OnRealtimeUpdate" && count == 2) {
            presented = PresentedFrames();
            application.Close();
        }
    };
    application.Execute();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate",
                                        "OnRealtimeUpdate", "OnWindowClose"}))
        << "a Close from an update ends the run after that pass";
    EXPECT_EQ(PresentedFrames() - presented, 1) << "the closing pass presents, teardown does not";
}

// An Execute that finds the running flag already set returns at once: no window, no handler call.
TEST_F(PlatformTest, RunningFlagRefusesExecute)
{
    script = [](const std::string&, int) {};
    reports.Take(); // the menu, declared again when an earlier test in this process did so
    GetRealtimeApplicationState().running = 1;
    application.Execute();
    GetRealtimeApplicationState().running = 0;

    EXPECT_TRUE(calls.empty()) << "handler calls of a refused run";
    EXPECT_EQ(reports.messages,
              Log{"kwInternalError: Expected application not to be running at this moment."});
}

// A run that finds the previous run's window handle still recorded reports it and goes on.
TEST_F(PlatformTest, StaleWindowHandleIsReported)
{
    script = [&](const std::string& name, int) {
        if (name == "OnRealtimeUpdate") {
            application.Close();
        }
    };
    int previousWindow = 0;
    GetRealtimeApplicationState().windowHandle = &previousWindow;
    reports.Take(); // the menu, declared again when an earlier test in this process did so
    application.Execute();
    GetRealtimeApplicationState().windowHandle = nullptr;

    EXPECT_EQ(reports.messages, Log{"kwInternalError: Expected window handle to be unused at this moment."});
    EXPECT_EQ(calls,
              (std::vector<std::string>{"CollectWindowProperties", "OnWindowOpen", "OnRealtimeUpdate",
                                        "OnWindowClose"}))
        << "the run after the report";
}

} // namespace
} // namespace kwTest
