// Input and the drawing size in real windows, the same cases for both backends (USER32 under Wine,
// FLTK natively): keys, buttons, the wheel and the pointer, given through the window system as a user
// gives them, arrive as the handler's callbacks with the right codes and drawing-surface positions.
// Each TEST is one run; its steps act, then wait with a deadline for the callback that answers them.
#include "application/platform/platform_probe.h"

#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_realtime_application.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#define NATIVE(windowsCode, xKeysym) (windowsCode)
#else
#include <X11/keysym.h>
#define NATIVE(windowsCode, xKeysym) (xKeysym)
#endif

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>
#include <vector>

using namespace Kelpwright::Application;
using namespace kwImplementation;

namespace kwTest {
namespace {

// A step that a fault leaves waiting fails after this long.
const std::chrono::seconds kStepDeadline(10);

// A key as the test sends it and as the handler must get it.
struct Stroke {
    Key key;
    int nativeCode;
};

const Stroke kShift = {Key::Shift, NATIVE(VK_SHIFT, XK_Shift_L)};
const Stroke kControl = {Key::Control, NATIVE(VK_CONTROL, XK_Control_L)};
const Stroke kAlt = {Key::Alt, NATIVE(VK_MENU, XK_Alt_L)};
const Stroke kEnter = {Key::Enter, NATIVE(VK_RETURN, XK_Return)};
const Stroke kLetter = {Key::R, NATIVE('R', XK_r)};

WindowHandle Window() { return GetRealtimeApplicationState().windowHandle; }

// Types the chords one after the other, each pressed in order and let go in reverse.
std::function<void()> Type(const std::vector<std::vector<Stroke>>& chords)
{
    return [chords] {
        for (const std::vector<Stroke>& chord : chords) {
            for (const Stroke& stroke : chord) {
                SendKey(Window(), stroke.nativeCode, KeyAction::Press);
            }
            for (auto stroke = chord.rbegin(); stroke != chord.rend(); ++stroke) {
                SendKey(Window(), stroke->nativeCode, KeyAction::Release);
            }
        }
    };
}

std::string KeyLine(const char* what, const Stroke& stroke)
{
    return std::string(what) + " key " + std::to_string(static_cast<int>(stroke.key)) + " code " +
        std::to_string(stroke.nativeCode);
}

std::string At(const PointerPosition& position)
{
    return std::to_string(position.x) + "," + std::to_string(position.y);
}

using Size = std::pair<int, int>; // width, height

Size SizeOf(const DrawingSize& size) { return Size(size.width, size.height); }

class InputTest : public testing::Test, public ApplicationHandlerInterface {
protected:
    // One thing the user does, then what the run waits for before the next step.
    struct Step {
        std::function<void()> act;
        std::function<bool()> done;
    };

    void SetUp() override { GetMenuRegistry().clear(); } // each test declares its menus afresh

    void TearDown() override
    {
        GetRealtimeApplicationState().windowHandle = nullptr;
        GetWindowsToMenus().clear();
        GetHandlersToMenus().clear();
    }

    // Waits for `line` among the callbacks that came after the step acted.
    Step Await(const std::function<void()>& act, const std::string& line)
    {
        return Step{act, [this, line] {
                        return std::find(log.begin() + static_cast<std::ptrdiff_t>(stepStart), log.end(),
                                         line) != log.end();
                    }};
    }

    // The window gets the keyboard, as a click on it would give it. What arrived while the window was
    // shown (the pointer where it happened to be) is left out.
    Step Focus()
    {
        return Step{[] { SetKeyboardFocus(Window(), true); },
                    [this] {
                        log.clear();
                        return active;
                    }};
    }

    void Run()
    {
        application.Execute();
        EXPECT_EQ(current, steps.size()) << "steps done; the callbacks: " << testing::PrintToString(log);
    }

    void OnWindowOpen() override { onOpen(); }
    void OnBecomeActive() override { active = true; }
    void OnBecomeInactive() override { active = false; }
    void OnKeyDown(const KeyEvent& event) override
    {
        log.push_back(KeyLine("down", Stroke{event.key, event.nativeCode}) +
                      (event.isRepeat ? " repeat" : ""));
    }
    void OnKeyUp(const KeyEvent& event) override
    {
        log.push_back(KeyLine("up", Stroke{event.key, event.nativeCode}));
    }
    void OnPointerMove(const PointerPosition& position) override { log.push_back("move " + At(position)); }
    void OnButtonDown(const PointerButton& button, const PointerPosition& position) override
    {
        log.push_back("press " + std::to_string(static_cast<int>(button)) + " at " + At(position));
    }
    void OnButtonUp(const PointerButton& button, const PointerPosition& position) override
    {
        log.push_back("release " + std::to_string(static_cast<int>(button)) + " at " + At(position));
    }
    void OnWheel(const float& notches, const PointerPosition& position) override
    {
        log.push_back("wheel " + std::to_string(notches) + " at " + At(position));
    }
    void OnDrawingSizeChange(const DrawingSize& size) override { sizes.push_back(SizeOf(size)); }
    void OnMenuAction(const MenuIdentifier&, const MenuItemIdentifier& item) override
    {
        log.push_back("menu item " + std::to_string(item));
    }

    // Each pass acts for the next step once the one before is done, or waits.
    void OnRealtimeUpdate() override
    {
        const auto now = std::chrono::steady_clock::now();
        if (acted && steps[current].done()) {
            ++current;
            acted = false;
        }
        if (current == steps.size()) {
            application.Close();
        } else if (!acted) {
            acted = true;
            stepStart = log.size();
            stepBegan = now;
            steps[current].act();
            Flush();
        } else if (now - stepBegan > kStepDeadline) {
            ADD_FAILURE() << "step " << current + 1 << " waited in vain";
            application.Close();
        }
    }

    std::vector<Step> steps;
    std::vector<std::string> log; // input callbacks and menu actions, one a line
    std::vector<Size> sizes; // from OnDrawingSizeChange
    std::function<void()> onOpen = [] {};
    RealtimeApplication application{*this};
    ApplicationMenu menu{1};

private:
    bool active = false;
    bool acted = false;
    size_t current = 0;
    size_t stepStart = 0;
    std::chrono::steady_clock::time_point stepBegan;
};

// Each chord pressed in order and let go in reverse: one down and one up a key, with its codes.
TEST_F(InputTest, KeyCodes)
{
    const std::vector<std::vector<Stroke>> kChords = {
        {kLetter},
        {{Key::Digit7, NATIVE('7', XK_7)}},
        {{Key::Space, NATIVE(VK_SPACE, XK_space)}},
        {{Key::Left, NATIVE(VK_LEFT, XK_Left)}},
        {{Key::F5, NATIVE(VK_F5, XK_F5)}},
        {kEnter},
        {kShift, kLetter}, // shift does not change the letter's code
        {kControl, kLetter},
        {kAlt, kShift}, // alt with another key: no menu
        {{Key::Unknown, NATIVE(VK_HOME, XK_Home)}}, // a key outside the set
    };
    steps.push_back(Focus());
    std::vector<std::string> expected;
    for (const std::vector<Stroke>& chord : kChords) {
        steps.push_back(Await(Type({chord}), KeyLine("up", chord.front())));
        for (const Stroke& stroke : chord) {
            expected.push_back(KeyLine("down", stroke));
        }
        for (auto stroke = chord.rbegin(); stroke != chord.rend(); ++stroke) {
            expected.push_back(KeyLine("up", *stroke));
        }
    }
    Run();

    EXPECT_EQ(log, expected);
}

// A key held while the window loses the keyboard and gets it back.
TEST_F(InputTest, HeldKey)
{
    const std::string down = KeyLine("down", kLetter);
    const std::string repeat = down + " repeat";
    const std::string up = KeyLine("up", kLetter);
    steps.push_back(Focus());
    steps.push_back(Await([] { SendKey(Window(), kLetter.nativeCode, KeyAction::Press); }, down));
    // The window loses the keyboard: the key is released, as its release will not come here.
    steps.push_back(Await([] { SetKeyboardFocus(Window(), false); }, up));
    // The keyboard back, the key still held: its repeats are repeats, not a new press.
    steps.push_back(Await(
        [] {
            SetKeyboardFocus(Window(), true);
            SendKey(Window(), kLetter.nativeCode, KeyAction::Repeat);
        },
        repeat));
    steps.push_back(Await([] { SendKey(Window(), kLetter.nativeCode, KeyAction::Release); }, up));
    Run();

    EXPECT_EQ(std::count(log.begin(), log.end(), down), 1) << testing::PrintToString(log);
    EXPECT_EQ(std::count(log.begin(), log.end(), up), 2) << testing::PrintToString(log);
    EXPECT_EQ(std::count(log.begin(), log.end(), repeat), static_cast<std::ptrdiff_t>(log.size()) - 3);
}

// Buttons, the wheel and moves in drawing-surface pixels under a menu bar, then a drag that leaves
// the window, followed to its release outside.
TEST_F(InputTest, Pointer)
{
    const PointerPosition kInside = {30, 40};
    const PointerPosition kOutside = {-40, 40};
    const std::string at = " at " + At(kInside);
    const struct {
        std::function<void()> act;
        std::string line;
    } kActions[] = {
        {[&] { MovePointer(Window(), kInside.x, kInside.y); }, "move " + At(kInside)},
        {[] { SendButton(Window(), PointerButton::Right, true); }, "press 1" + at},
        {[] { SendButton(Window(), PointerButton::Right, false); }, "release 1" + at},
        {[] { SendButton(Window(), PointerButton::Middle, true); }, "press 2" + at},
        {[] { SendButton(Window(), PointerButton::Middle, false); }, "release 2" + at},
        {[] { SendWheel(Window(), 1); }, "wheel 1.000000" + at},
        {[] { SendWheel(Window(), -1); }, "wheel -1.000000" + at},
        // The drag, with the left button.
        {[] { SendButton(Window(), PointerButton::Left, true); }, "press 0" + at},
        {[&] { MovePointer(Window(), kOutside.x, kOutside.y); }, "move " + At(kOutside)},
        {[] { SendButton(Window(), PointerButton::Left, false); }, "release 0 at " + At(kOutside)},
#ifdef _WIN32
        // The capture taken away while the button is held (Wine does so as a menu bar goes): released
        // then, as its release may not come here. When it does, it is dropped.
        {[&] { MovePointer(Window(), kInside.x, kInside.y); }, "move " + At(kInside)},
        {[] { SendButton(Window(), PointerButton::Left, true); }, "press 0" + at},
        {[] { ReleaseCapture(); }, "release 0" + at},
        {[] {
             SendButton(Window(), PointerButton::Left, false);
             MovePointer(Window(), 31, 40);
         },
         "move 31,40"},
#endif
    };
    onOpen = [&] {
        menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
        application.SetWindowMenu(menu);
    };
    steps.push_back(Focus());
    std::vector<std::string> expected;
    for (const auto& action : kActions) {
        steps.push_back(Await(action.act, action.line));
        expected.push_back(action.line);
    }
    Run();

    EXPECT_EQ(log, expected);
}

// The drawing size as the window is made, resized, and gets a menu bar and loses it: each change
// arrives once, the size the window system gives the surface.
TEST_F(InputTest, DrawingSize)
{
    std::vector<Size> surfaces; // noted before the next change
    const auto kChanges = [this](size_t count) { return [this, count] { return sizes.size() >= count; }; };
    const auto kNoteThen = [&](const std::function<void()>& act) {
        return [&surfaces, act] {
            surfaces.push_back(SizeOf(SurfaceSize(Window())));
            act();
        };
    };
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    steps.push_back({[] {}, kChanges(1)});
    steps.push_back({kNoteThen([] { Send(Window(), Event::Resize, 1); }), kChanges(2)});
    steps.push_back({kNoteThen([&] { application.SetWindowMenu(menu); }), kChanges(3)});
    steps.push_back({kNoteThen([&] { application.SetWindowMenu(ApplicationMenu(2)); }), kChanges(4)});
    steps.push_back({kNoteThen([] {}), [] { return true; }});
    Run();

    ASSERT_EQ(sizes.size(), 4u);
    EXPECT_EQ(sizes, surfaces) << "the callbacks' sizes, then the surfaces the window system has";
    EXPECT_NE(sizes[1], sizes[0]) << "a resize";
    EXPECT_EQ(sizes[2].first, sizes[1].first) << "a menu bar keeps the width";
    EXPECT_LT(sizes[2].second, sizes[1].second) << "and takes height";
    EXPECT_EQ(sizes[3], sizes[1]) << "the bar gone";
}

// Keys reach the menu bar after they are reported: Alt with an item's marked letter opens its menu,
// where the marked letter of an item chooses it (and belongs to the menu: it is no key press of the
// window). Win32 also opens the bar with F10.
TEST_F(InputTest, KeyboardOpensMenuBar)
{
    const Stroke kF = {Key::F, NATIVE('F', XK_f)};
    const Stroke kO = {Key::O, NATIVE('O', XK_o)};
    onOpen = [&] {
        menu.AddMenuItem(1, "&File", kInvalidMenuItemIdentifier, true, false, true);
        menu.AddMenuItem(2, "&Open", 1, true, false, true);
        menu.AddMenuItem(3, "&Close", 1, true, false, true);
        application.SetWindowMenu(menu);
    };
    steps.push_back(Focus());
    steps.push_back(Await(Type({{kAlt, kF}, {kO}}), "menu item 2"));
#ifdef _WIN32
    steps.push_back(Await(Type({{{Key::F10, VK_F10}}, {{Key::Down, VK_DOWN}}, {kEnter}}), "menu item 2"));
#else
    // Enter on the title (FLTK opens the menu on its title) chooses nothing; a letter typed after the
    // menu closed is the window's again.
    steps.push_back(Await(Type({{kAlt, kF}, {kEnter}}), KeyLine("up", kAlt)));
    steps.push_back(Await(Type({{kLetter}}), KeyLine("up", kLetter)));
#endif
    Run();

    EXPECT_EQ(std::count(log.begin(), log.end(), "menu item 2"), NATIVE(2, 1)) << testing::PrintToString(log);
    EXPECT_EQ(std::count(log.begin(), log.end(), "menu item 1"), 0) << "a pop-up's title is no command";
    EXPECT_EQ(std::count(log.begin(), log.end(), KeyLine("down", kO)), 0) << "the menu's key";
    EXPECT_FALSE(application.IsKeyDown(Key::Alt)) << "its release was seen";
}

} // namespace
} // namespace kwTest
