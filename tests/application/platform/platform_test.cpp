// Platform tests in real windows, the same cases for both backends (USER32 under Wine, FLTK natively).
// Each TEST is one run of the realtime application with the fixture as its handler. The handler calls,
// the reports and what the test notes go into a transcript, compared with an expected-output file;
// updates are only counted.
#include "application/platform/platform_probe.h"
#include "golden_file.h"
#include "visualization/recording_gl.h"

#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_realtime_application.h"
#include "core/kw_error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>

using namespace Kelpwright::Application;
using namespace kwImplementation;

namespace kwTest {
namespace {

#ifdef _WIN32
const std::string kBackend = "windows";
#else
const std::string kBackend = "fltk";
#endif

// A run that a fault keeps going ends after this long.
const std::chrono::seconds kRunDeadline(60);
// The window system's own focus changes at showing are over once none has come for this long.
const std::chrono::milliseconds kFocusQuiet(1000);

const char* YesNo(bool fact) { return fact ? "yes" : "no"; }

class PlatformTest : public testing::Test,
                     public ApplicationHandlerInterface,
                     public Kelpwright::Core::Error::ErrorHandlerInterface {
protected:
    void SetUp() override
    {
        Kelpwright::Core::Error::AddErrorHandler(this);
        GetMenuRegistry().clear(); // each test declares its menus afresh
        // A name with '@' (a symbol in FLTK labels), a disabled item (3), a separator (4), a checked item
        // (5), an invisible item (6) with its child (7), a pop-up (8).
        menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
        menu.AddMenuItem(2, "Open @ Home", 1, true, false, true);
        menu.AddMenuItem(3, "Revert", 1, false, false, true);
        menu.AddMenuItem(4, "", 1, true, false, true);
        menu.AddMenuItem(5, "Autosave", 1, true, true, true);
        menu.AddMenuItem(6, "Secret", 1, true, false, false);
        menu.AddMenuItem(7, "In", 6, true, false, true);
        menu.AddMenuItem(8, "Recent", 1, true, false, true);
        menu.AddMenuItem(9, "First", 8, true, false, true);
    }

    // A run leaves its window handle and menu records behind; the next test starts without them.
    void TearDown() override
    {
        Kelpwright::Core::Error::RemoveErrorHandler(this);
        GetRealtimeApplicationState().windowHandle = nullptr;
        GetWindowsToMenus().clear();
        GetHandlersToMenus().clear();
    }

    static WindowHandle Window() { return GetRealtimeApplicationState().windowHandle; }

    void Note(const std::string& line) { transcript += line + "\n"; }

    // True once no activation has arrived for kFocusQuiet; asked at every pass.
    bool FocusSettled()
    {
        const auto now = std::chrono::steady_clock::now();
        if (counts["OnBecomeActive"] + counts["OnBecomeInactive"] != activationsSeen) {
            activationsSeen = counts["OnBecomeActive"] + counts["OnBecomeInactive"];
            lastActivation = now;
        }
        return now - lastActivation >= kFocusQuiet;
    }

    // Repeats of one report in a row are noted once: how often a message passes a lost window varies.
    void OnErrorFired(const std::string& message) override
    {
        std::string line = "report " + message;
        if (line.back() == '\n') {
            line.replace(line.size() - 1, 1, "\\n");
        }
        if (transcript.size() < line.size() + 1 ||
            transcript.compare(transcript.size() - line.size() - 1, line.size(), line) != 0) {
            Note(line);
        }
    }

    void Call(const std::string& name, bool noted)
    {
        ++counts[name];
        if (noted) {
            Note(name);
        }
    }
    void CollectWindowProperties(WindowProperties&) override
    {
        Call("CollectWindowProperties", true);
        onCollect();
    }
    void OnWindowOpen() override
    {
        Call("OnWindowOpen", true);
        onOpen();
    }
    void OnWindowClose() override { Call("OnWindowClose", true); }
    void OnBecomeActive() override { Call("OnBecomeActive", noteActivations); }
    void OnBecomeInactive() override { Call("OnBecomeInactive", noteActivations); }
    void OnRealtimeUpdate() override
    {
        ++passes;
        onUpdate(passes);
        Flush(); // what the update sent reaches the window system
        if (std::chrono::steady_clock::now() - started > kRunDeadline) {
            ADD_FAILURE() << "the run went on past its deadline";
            application.Close();
        }
    }
    void OnMenuAction(const MenuIdentifier& menuIdentifier, const MenuItemIdentifier& item) override
    {
        Call("OnMenuAction menu " + std::to_string(menuIdentifier) + " item " + std::to_string(item),
             noteMenuActions);
        onMenuAction(item);
    }
    // Input is only counted: the window system's own (the pointer where it happens to be) varies.
    void OnKeyDown(const KeyEvent&) override { Call("OnKeyDown", false); }
    void OnKeyUp(const KeyEvent&) override { Call("OnKeyUp", false); }
    void OnPointerMove(const PointerPosition&) override { Call("OnPointerMove", false); }
    void OnButtonDown(const PointerButton&, const PointerPosition&) override { Call("OnButtonDown", false); }
    void OnButtonUp(const PointerButton&, const PointerPosition&) override { Call("OnButtonUp", false); }
    void OnWheel(const float&, const PointerPosition&) override { Call("OnWheel", false); }
    void OnDrawingSizeChange(const DrawingSize&) override { Call("OnDrawingSizeChange", false); }

    std::string transcript;
    std::map<std::string, int> counts; // of every handler call
    int passes = 0;
    bool noteActivations = false; // the window system's own would make the transcript vary
    bool noteMenuActions = true;
    std::function<void()> onCollect = [] {};
    std::function<void()> onOpen = [] {};
    std::function<void(int pass)> onUpdate = [](int) {};
    std::function<void(MenuItemIdentifier item)> onMenuAction = [](MenuItemIdentifier) {};
    RealtimeApplication application{*this};
    ApplicationMenu menu{1};

private:
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastActivation = started;
    int activationsSeen = 0;
};

// What the window system shows at the first update, with the title and bar set in OnWindowOpen: the
// default rectangle, the bar, how the backend made the window and its drawing surface, the context's
// OpenGL calls.
TEST_F(PlatformTest, WindowAsOpened)
{
    onOpen = [&] {
        application.SetWindowTitle("Set While Opening");
        application.SetWindowMenu(menu);
        application.Close(); // before the loop: no effect
    };
    onUpdate = [&](int) {
        Note("window " + DescribeWindow(Window()));
        Note("menu bar " + DescribeMenuBar(Window()));
        transcript += DescribeCreation(Window());
        transcript += TakeGlText(); // presents are only counted
        application.Close();
    };
    kwClearGlText();
    application.Execute();
    Note("teardown");
    transcript += TakeGlText();

    ExpectMatchesGolden("platform_window_" + kBackend + ".txt", transcript);
}

// Three runs in one process. The last run's teardown posts a quit request: FLTK drops it at the next
// window's making, Win32 leaves it queued, so there the next run ends at its first drain. The window
// handle stays recorded after a run, so the second and third runs report it and go on.
TEST_F(PlatformTest, RunsInOneProcess)
{
    int presentedBefore = 0;
    // A title set before the window exists is dropped. The window manager's close request ends the run
    // in the next drain, before another update.
    onCollect = [&] { application.SetWindowTitle("Too Early"); };
    onUpdate = [&](int pass) {
        if (pass == 1) {
            Note("window " + DescribeWindow(Window()));
            Note("close request");
            Send(Window(), Event::Close, 0);
        }
    };
    application.Execute();
    Note("updates " + std::to_string(passes));

    // A Close from an update ends the run after that pass: the pass is still presented, teardown is not.
    for (int run = 0; run < 2; ++run) {
        passes = 0;
        onUpdate = [&](int pass) {
            if (pass == 2) {
                presentedBefore = PresentedFrames();
                application.Close();
            }
        };
        application.Execute();
        Note("updates " + std::to_string(passes));
        if (passes == 2) {
            Note("presents after the closing update " + std::to_string(PresentedFrames() - presentedBefore));
        }
    }

    application.SetWindowTitle("Too Late"); // the window is gone: nothing to change
    ExpectMatchesGolden("platform_runs_" + kBackend + ".txt", transcript);
}

// Each focus change of the backend's list, once the window system's own are over, and the handler call
// it raises (none for some).
TEST_F(PlatformTest, ActivationChanges)
{
    size_t row = 0;
    onUpdate = [&](int) {
        if (!noteActivations) {
            noteActivations = FocusSettled();
            return;
        }
        const std::string change = SendFocusChange(Window(), row);
        ++row;
        if (change.empty()) {
            noteActivations = false; // the window's own deactivation as it goes
            application.Close();
        } else {
            Note("focus change: " + change);
        }
    };
    application.Execute();

    ExpectMatchesGolden("platform_activation_" + kBackend + ".txt", transcript);
}

// Menu commands as the window system delivers them, one a pass. The storm counts the plain ones.
TEST_F(PlatformTest, MenuCommands)
{
    menu.AddMenuItem(10, "Twice", 1, true, false, true);
    menu.AddMenuItem(10, "Twice", 8, true, false, true);
    const unsigned int kCommands[] = {
        9, // an item of a pop-up; its action re-attaches the menu, rebuilding the bar under the dispatch
        5, // the checked item
        10, // an identifier declared twice
    };
    std::string barBefore;
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
        }
        if (row == sizeof(kCommands) / sizeof(kCommands[0])) {
            Note(std::string("bar unchanged, the checked item still checked: ") +
                 YesNo(DescribeMenuBar(Window()) == barBefore));
            application.Close();
            return;
        }
        Note("command " + std::to_string(kCommands[row]));
        Send(Window(), Event::Command, kCommands[row]);
    };
    application.Execute();

    ExpectMatchesGolden("platform_menu_commands.txt", transcript);
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

// 100,000 events of every kind the window handles, 100 between frames, from a window without focus;
// every hundredth menu action re-attaches the menu. Then a menu without items, then a close request.
TEST_F(PlatformTest, StormOfEventsBetweenFrames)
{
    const int kStormPasses = 1000;
    const int kEventsPerPass = 100;
    int first = 0; // the storm's first pass
    int presentedBefore = 0;
    int menusBefore = 0;
    std::string barBefore;
    noteMenuActions = false;
    onOpen = [&] {
        application.SetWindowTitle("Storm");
        application.SetWindowMenu(menu);
    };
    onMenuAction = [&](MenuItemIdentifier) {
        if (++counts["menu actions"] % 100 == 0) {
            application.SetWindowMenu(menu);
        }
    };
    onUpdate = [&](int pass) {
        if (pass == 1) {
            Send(Window(), Event::Deactivate, 0);
        }
        if (first == 0 && FocusSettled()) {
            first = pass;
            counts.clear();
            presentedBefore = PresentedFrames();
            menusBefore = LiveMenus(Window());
            barBefore = DescribeMenuBar(Window());
            Note("window before " + DescribeWindow(Window()));
        }
        const int stormPass = pass - first;
        if (first == 0 || stormPass > kStormPasses) {
            return;
        }
        if (stormPass < kStormPasses) {
            for (int event = stormPass * kEventsPerPass; event < (stormPass + 1) * kEventsPerPass; ++event) {
                SendStormEvent(Window(), event);
            }
            return;
        }
        for (const auto& count : counts) {
            Note(count.first + " x" + std::to_string(count.second));
        }
        // A present each pass and more for paints, however the window system merges them.
        Note(std::string("more presents than passes: ") +
             YesNo(PresentedFrames() - presentedBefore > kStormPasses));
        Note("window after " + DescribeWindow(Window()));
        Note(std::string("bar unchanged: ") + YesNo(DescribeMenuBar(Window()) == barBefore));
        Note("menus added " + std::to_string(LiveMenus(Window()) - menusBefore));
        application.SetWindowMenu(ApplicationMenu(2));
        Note("after a menu without items, menu bar " + DescribeMenuBar(Window()) + ", menus added " +
             std::to_string(LiveMenus(Window()) - menusBefore));
        Note("close request");
        Send(Window(), Event::Close, 0);
    };
    application.Execute();
    Note("storm passes " + std::to_string(passes - first));

    ExpectMatchesGolden("platform_storm.txt", transcript);
}

// The window-menu reports and the condition of each, in phases of one run.
TEST_F(PlatformTest, WindowMenuReports)
{
    struct : ApplicationHandlerInterface {
    } other;
    struct : ApplicationHandlerInterface {
    } late;
    onCollect = [&] {
        Note("attach before the window exists");
        application.SetWindowMenu(menu);
        Note("Execute from CollectWindowProperties");
        application.Execute();
    };
    onOpen = [&] { application.SetWindowMenu(menu); };
    onUpdate = [&](int pass) {
        if (pass == 1) {
            Note("Execute from an update");
            application.Execute();
            // Its procedure chains to the window's own, or every message would call it again.
            Note("a second handler attaches the menu, then a command");
            RealtimeApplication{other}.SetWindowMenu(menu);
            Send(Window(), Event::Command, 2);
        } else {
            application.Close();
        }
    };
    application.Execute();
    Note("attach after the run");
    RealtimeApplication{late}.SetWindowMenu(menu);

    ExpectMatchesGolden("platform_window_menu_reports.txt", transcript);
}

#ifdef _WIN32
// A key press is translated in the drain, and its character message follows it: the menu bar's
// keyboard access (Alt and a letter) depends on it.
TEST_F(PlatformTest, DrainTranslatesKeyPresses)
{
    int characters = 0;
    onUpdate = [&](int pass) {
        if (pass == 1) {
            characters = TranslatedCharacters();
            Send(Window(), Event::Key, 0);
        } else {
            characters = TranslatedCharacters() - characters;
            application.Close();
        }
    };
    application.Execute();

    EXPECT_EQ(characters, 1) << "character messages that followed the key press";
}

// A paint gets a device context and releases it, and GetDC hands a released one out again: after the
// first paint, later ones present to no new device context.
TEST_F(PlatformTest, PaintsReleaseTheirDeviceContexts)
{
    const int kPaints = 4;
    int afterFirstPaint = 0;
    onUpdate = [&](int pass) {
        if (pass == 2) {
            afterFirstPaint = DeviceContextsPresentedTo();
        }
        if (pass <= kPaints) {
            Send(Window(), Event::Paint, 0);
        } else {
            application.Close();
        }
    };
    application.Execute();

    EXPECT_EQ(DeviceContextsPresentedTo(), afterFirstPaint) << "a paint presented to a new device context";
}
#endif

} // namespace
} // namespace kwTest
