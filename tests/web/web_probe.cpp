// Test program of the web build: a handler that prints every callback it gets, one line each, so that the
// browser tests can send real keys, pointer moves, clicks and menu choices and read what arrived. Its
// menu: File (1) holding Check (2, checked), a separator (3), Disabled (4), Sub (5) holding Deep (6), and
// Hidden (7, not visible); Bare (8) on the bar itself. D takes the menu away, M gives it back, and C
// makes menu 1 (Pop, 9) the window's context menu, which nothing in the framework does.
#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_application_menu.h"
#include "application/kw_realtime_application.h"

#include <cstdio>

using namespace Kelpwright::Application;

namespace {

const char* const kButtons[] = {"Left", "Right", "Middle"};

class Probe : public ApplicationHandlerInterface {
public:
    Probe()
    {
        mMenu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
        mMenu.AddMenuItem(2, "Check", 1, true, true, true);
        mMenu.AddMenuItem(3, "", 1, true, false, true);
        mMenu.AddMenuItem(4, "Disabled", 1, false, false, true);
        mMenu.AddMenuItem(5, "Sub", 1, true, false, true);
        mMenu.AddMenuItem(6, "Deep", 5, true, false, true);
        mMenu.AddMenuItem(7, "Hidden", 1, true, false, false);
        mMenu.AddMenuItem(8, "Bare", kInvalidMenuItemIdentifier, true, false, true);
        mContextMenu.AddMenuItem(9, "Pop", kInvalidMenuItemIdentifier, true, false, true);
    }

    void Run() { mApplication.Execute(); }

    void OnWindowOpen() override
    {
        std::printf("open\n");
        mApplication.SetWindowTitle("Kelpwright Probe");
        mApplication.SetWindowMenu(mMenu);
    }
    void OnWindowClose() override { std::printf("close\n"); }
    void OnBecomeActive() override { std::printf("active\n"); }
    void OnBecomeInactive() override { std::printf("inactive\n"); }
    void OnMenuAction(const MenuIdentifier& menu, const MenuItemIdentifier& item) override
    {
        std::printf("menu %d %d\n", menu, item);
    }
    void OnKeyDown(const KeyEvent& event) override
    {
        std::printf("key down %d %d%s\n", static_cast<int>(event.key), event.nativeCode,
                    event.isRepeat ? " repeat" : "");
        if (event.key == Key::D) {
            mApplication.SetWindowMenu(ApplicationMenu(2)); // declared with no items
        } else if (event.key == Key::M) {
            mApplication.SetWindowMenu(mMenu);
        } else if (event.key == Key::C) {
            kwImplementation::WindowMenuRecord& record = kwImplementation::GetHandlersToMenus()[this];
            record.contextMenuHandle = kwImplementation::BuildWindowsMenu(
                *kwImplementation::GetMenuRoot(1), kwImplementation::Platform::CreateMenu(),
                record.contextMenuItems);
        }
    }
    void OnKeyUp(const KeyEvent& event) override
    {
        std::printf("key up %d %d\n", static_cast<int>(event.key), event.nativeCode);
    }
    void OnPointerMove(const PointerPosition& at) override { std::printf("move %d %d\n", at.x, at.y); }
    void OnButtonDown(const PointerButton& button, const PointerPosition& at) override
    {
        std::printf("down %s %d %d\n", kButtons[static_cast<int>(button)], at.x, at.y);
    }
    void OnButtonUp(const PointerButton& button, const PointerPosition& at) override
    {
        std::printf("up %s %d %d\n", kButtons[static_cast<int>(button)], at.x, at.y);
    }
    void OnWheel(const float& notches, const PointerPosition& at) override
    {
        std::printf("wheel %g %d %d\n", notches, at.x, at.y);
    }
    void OnDrawingSizeChange(const DrawingSize& size) override
    {
        std::printf("size %d %d\n", size.width, size.height);
    }

private:
    ApplicationMenu mMenu{0};
    ApplicationMenu mContextMenu{1};
    RealtimeApplication mApplication{*this};
};

} // namespace

int main()
{
    Probe probe;
    probe.Run();
    return 0;
}
