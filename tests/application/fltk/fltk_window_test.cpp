// Platform tests that only the FLTK backend has: X focus as activation (and a
// menu's grab as none), an expose answered by a present, the GLX visual, how the
// bar draws separators and check boxes, the GL child giving room to the bar, and
// FLTK's Escape key.
#include "platform_probe.h"
#include "recording_handler.h"

#include "application/implementation/fltk/kwi_fltk_window_parts.h"
#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_application_menu.h"
#include "application/kw_realtime_application.h"

// Before the X headers, whose macros (None, Bool) clash with GoogleTest's names.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <GL/gl.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using kwImplementation::GetRealtimeApplicationState;

namespace kwTest {
namespace {


Fl_Window* ApplicationWindow() { return static_cast<Fl_Window*>(GetRealtimeApplicationState().windowHandle); }

template <typename Widget>
Widget* FindChild(Fl_Window& window)
{
    for (int index = 0; index < window.children(); ++index) {
        if (Widget* child = dynamic_cast<Widget*>(window.child(index))) {
            return child;
        }
    }
    return nullptr;
}

// The GL child's rectangle in its window, as the X server has it.
WindowRectangle XGeometryOfRenderingView()
{
    Fl_Gl_Window* view = FindChild<Fl_Gl_Window>(*ApplicationWindow());
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, fl_xid(view), &attributes);
    return WindowRectangle{attributes.x, attributes.y, attributes.x + attributes.width, attributes.y + attributes.height};
}

void SetFocus(Window window)
{
    XSetInputFocus(fl_display, window, RevertToPointerRoot, CurrentTime);
    XSync(fl_display, False);
}

void SendKeyPress(Window window, KeySym key)
{
    XEvent event = XEvent();
    event.xkey.type = KeyPress;
    event.xkey.window = window;
    event.xkey.root = RootWindow(fl_display, fl_screen);
    event.xkey.keycode = XKeysymToKeycode(fl_display, key);
    event.xkey.same_screen = True;
    XSendEvent(fl_display, window, False, NoEventMask, &event);
    XSync(fl_display, False);
}

void SendButtonPress(Window window, int x, int y, unsigned int button)
{
    XEvent event = XEvent();
    event.xbutton.type = ButtonPress;
    event.xbutton.window = window;
    event.xbutton.root = RootWindow(fl_display, fl_screen);
    event.xbutton.x = x;
    event.xbutton.y = y;
    Window child = 0;
    XTranslateCoordinates(fl_display, window, event.xbutton.root, x, y, &event.xbutton.x_root, &event.xbutton.y_root,
                          &child);
    event.xbutton.button = button;
    event.xbutton.same_screen = True;
    XSendEvent(fl_display, window, False, NoEventMask, &event);
    XSync(fl_display, False);
}

class FltkWindowTest : public ApplicationRunTest {
protected:
    void TearDown() override
    {
        // Later cases expect the server's default focus.
        if (fl_display != nullptr) {
            SetFocus(PointerRoot);
        }
    }

    // The calls recorded from the given OnRealtimeUpdate onwards.
    std::vector<std::string> NamesFromUpdate(int update) const
    {
        std::vector<std::string> names;
        int updates = 0;
        for (const RecordingHandler::Call& call : handler.calls) {
            updates += call.name == "OnRealtimeUpdate" ? 1 : 0;
            if (updates >= update) {
                names.push_back(call.name);
            }
        }
        return names;
    }
};

TEST_F(FltkWindowTest, KeyboardFocusOfTheWindowIsItsActivation)
{
    Run([&](const std::string& name, int count) {
        if (name != "OnRealtimeUpdate") {
            return;
        }
        if (count == 2 || count == 6) {
            SetFocus(None);
        }
        if (count == 4) {
            SetFocus(fl_xid(ApplicationWindow()));
        }
        if (count == 8) {
            application.Close();
        }
    });

    // Each focus change is handled in the next pass's drain, once.
    EXPECT_EQ(NamesFromUpdate(4),
              (std::vector<std::string>{"OnRealtimeUpdate", "OnBecomeActive", "OnRealtimeUpdate", "OnRealtimeUpdate",
                                        "OnBecomeInactive", "OnRealtimeUpdate", "OnRealtimeUpdate", "OnWindowClose"}));
}

TEST_F(FltkWindowTest, OpeningTheBarsMenuIsNoActivationChange)
{
    ApplicationMenu menu(1);
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(2, "Exit", 1, true, false, true);
    bool menuWasOpen = false;
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            application.SetWindowMenu(menu);
        }
        if (name != "OnRealtimeUpdate") {
            return;
        }
        if (count == 2) {
            SetFocus(fl_xid(ApplicationWindow()));
        }
        if (count == 4) {
            // A press on "File" opens its menu inside the next drain; the
            // timer, run by the menu's own event loop, closes it with Escape
            // (an open menu takes every key, whichever window it is sent to).
            Fl::add_timeout(0.1, [](void* open) {
                *static_cast<bool*>(open) = Fl::grab() != nullptr;
                SendKeyPress(fl_xid(ApplicationWindow()), XK_Escape);
            }, &menuWasOpen);
            SendButtonPress(fl_xid(ApplicationWindow()), 10, 10, Button1);
        }
        if (count == 6) {
            application.Close();
        }
    });

    EXPECT_TRUE(menuWasOpen);
    EXPECT_EQ(NamesFromUpdate(3), (std::vector<std::string>{"OnRealtimeUpdate", "OnRealtimeUpdate", "OnRealtimeUpdate",
                                                             "OnRealtimeUpdate", "OnWindowClose"}));
}

TEST_F(FltkWindowTest, ExposeOfTheDrawingSurfaceIsAnsweredByAPresent)
{
    std::vector<int> presented;
    Run([&](const std::string& name, int count) {
        if (name != "OnRealtimeUpdate") {
            return;
        }
        presented.push_back(CountPresentedFrames());
        if (count == 5) {
            Fl_Gl_Window* view = FindChild<Fl_Gl_Window>(*ApplicationWindow());
            XClearArea(fl_display, fl_xid(view), 0, 0, 0, 0, True);
            XSync(fl_display, False);
        }
        if (count == 7) {
            application.Close();
        }
    });

    ASSERT_EQ(presented.size(), 7u);
    EXPECT_EQ(presented[5] - presented[4], 2); // the loop's present and the expose's
    EXPECT_EQ(presented[6] - presented[5], 1);
}

TEST_F(FltkWindowTest, ContextIsDoubleBufferedRgbaWithDepthAndStencilOnAClassedWindow)
{
    GLint bits[5] = {};
    GLboolean doubleBuffered = GL_FALSE;
    XClassHint classHint = {nullptr, nullptr};
    Run([&](const std::string& name, int count) {
        if (name == "OnRealtimeUpdate" && count == 1) {
            glGetIntegerv(GL_RED_BITS, &bits[0]);
            glGetIntegerv(GL_GREEN_BITS, &bits[1]);
            glGetIntegerv(GL_BLUE_BITS, &bits[2]);
            glGetIntegerv(GL_DEPTH_BITS, &bits[3]);
            glGetIntegerv(GL_STENCIL_BITS, &bits[4]);
            glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
            XGetClassHint(fl_display, fl_xid(ApplicationWindow()), &classHint);
            application.Close();
        }
    });

    EXPECT_EQ(bits[0], 8);
    EXPECT_EQ(bits[1], 8);
    EXPECT_EQ(bits[2], 8);
    EXPECT_GE(bits[3], 16);
    EXPECT_EQ(bits[4], 8);
    EXPECT_EQ(doubleBuffered, GL_TRUE);
    ASSERT_NE(classHint.res_class, nullptr);
    EXPECT_STREQ(classHint.res_class, "KelpwrightApplication");
    XFree(classHint.res_name);
    XFree(classHint.res_class);
}

TEST_F(FltkWindowTest, BarDrawsSeparatorsAsDividersAndKeepsDeclaredCheckMarks)
{
    ApplicationMenu menu(1);
    menu.AddMenuItem(10, "View", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(11, "", 10, true, false, true); // first in its pop-up: nothing to draw it under
    menu.AddMenuItem(12, "Grid @ 1:1", 10, true, true, true);
    menu.AddMenuItem(13, "", 10, true, false, true);
    menu.AddMenuItem(14, "Hidden", 10, true, false, false);
    menu.AddMenuItem(15, "Zoom", 10, false, false, true);
    WindowHandle window = CreatePlainWindow();
    DrainQueuedEvents();
    kwImplementation::AttachMenuToWindow(window, menu, handler);

    Fl_Menu_Bar* bar = FindChild<Fl_Menu_Bar>(*static_cast<Fl_Window*>(window));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->x(), 0);
    EXPECT_EQ(bar->y(), 0);
    EXPECT_EQ(bar->w(), 240);
    EXPECT_EQ(bar->h(), kwImplementation::Fltk::kMenuBarHeight);
    // View, its four visible entries (two kept as invisible separators), two terminators.
    const Fl_Menu_Item* items = bar->menu();
    ASSERT_EQ(bar->menu()->size(), 7);
    EXPECT_EQ(items[0].flags, FL_SUBMENU);
    EXPECT_EQ(items[1].flags, FL_MENU_INVISIBLE);
    EXPECT_EQ(items[2].flags, FL_MENU_TOGGLE | FL_MENU_VALUE | FL_MENU_DIVIDER);
    EXPECT_STREQ(items[2].label(), "Grid @@ 1:1");
    EXPECT_EQ(items[3].flags, FL_MENU_INVISIBLE);
    EXPECT_EQ(items[4].flags, FL_MENU_INACTIVE);
    std::vector<MenuEntry> entries;
    ASSERT_TRUE(ReadMenuBar(window, entries));
    ASSERT_EQ(entries.size(), 1u);
    ASSERT_EQ(entries[0].children.size(), 4u);
    EXPECT_EQ(entries[0].children[1].name, "Grid @ 1:1");

    // FLTK flips a check box when it is chosen; the declared state stays.
    QueueMenuCommand(window, 12);
    DrainQueuedEvents();
    EXPECT_EQ(items[2].flags, FL_MENU_TOGGLE | FL_MENU_VALUE | FL_MENU_DIVIDER);
    ASSERT_EQ(handler.Count("OnMenuAction"), 1);
    EXPECT_EQ(handler.calls.back().second, 12u);
    DestroyPlainWindow(window);
}

// The pop-up path has no caller in the framework; a record given a pop-up menu
// shows it where the right button went down and reports the chosen item.
TEST_F(FltkWindowTest, ContextMenuPopsUpAtThePressAndReportsTheChosenItem)
{
    using namespace kwImplementation;
    ApplicationMenu bar(1);
    bar.AddMenuItem(30, "Edit", kInvalidMenuItemIdentifier, true, false, true);
    static WindowHandle window = nullptr;
    window = CreatePlainWindow();
    DrainQueuedEvents();
    AttachMenuToWindow(window, bar, handler);
    // FLTK places a pop-up relative to the window of the last mouse event;
    // make that the plain window, away from the screen's origin.
    QueueContextMenuRequest(window);
    DrainQueuedEvents();
    WindowMenuRecord& record = GetHandlersToMenus()[&handler];
    record.contextMenuHandle = Platform::CreateMenu();
    Platform::InsertMenuItem(record.contextMenuHandle, MenuItemDescription{32, 0, "Paste", nullptr});
    Platform::InsertMenuItem(record.contextMenuHandle, MenuItemDescription{31, 0, "Cut", nullptr});

    // The pop-up runs its own event loop inside the drain; the timer picks the
    // second item with the keyboard.
    static int popUpPosition[2] = {};
    Fl::add_timeout(0.1, [](void*) {
        popUpPosition[0] = Fl::first_window()->x();
        popUpPosition[1] = Fl::first_window()->y();
        const Window xid = fl_xid(static_cast<Fl_Window*>(window));
        SendKeyPress(xid, XK_Down);
        SendKeyPress(xid, XK_Down);
        SendKeyPress(xid, XK_Return);
    });
    QueueContextMenuRequest(window);
    DrainQueuedEvents();

    // The probe presses halfway across and halfway down the area below the bar.
    const Fl_Window& plain = *static_cast<Fl_Window*>(window);
    EXPECT_EQ(popUpPosition[0], plain.x() + plain.w() / 2);
    EXPECT_EQ(popUpPosition[1], plain.y() + (plain.h() + Fltk::kMenuBarHeight) / 2);
    ASSERT_EQ(handler.calls.size(), 1u);
    EXPECT_EQ(handler.calls[0].name, "OnMenuAction");
    EXPECT_EQ(handler.calls[0].second, 32u);
    DestroyPlainWindow(window);
}

TEST_F(FltkWindowTest, DrawingSurfaceGivesRoomToTheBarAndTakesTheWholeWindowBackWithoutIt)
{
    ApplicationMenu full(1);
    full.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    full.AddMenuItem(2, "Exit", 1, true, false, true);
    ApplicationMenu empty(2);
    WindowRectangle withBar = {};
    WindowRectangle withoutBar = {};
    bool barAfterEmptyMenu = true;
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen") {
            application.SetWindowMenu(full);
        }
        if (name == "OnRealtimeUpdate" && count == 2) {
            withBar = XGeometryOfRenderingView();
            application.SetWindowMenu(empty);
        }
        if (name == "OnRealtimeUpdate" && count == 4) {
            std::vector<MenuEntry> entries;
            barAfterEmptyMenu = ReadMenuBar(GetRealtimeApplicationState().windowHandle, entries);
            withoutBar = XGeometryOfRenderingView();
            application.Close();
        }
    });

    const int bar = kwImplementation::Fltk::kMenuBarHeight;
    EXPECT_EQ(withBar.left, 0);
    EXPECT_EQ(withBar.top, bar);
    EXPECT_EQ(withBar.right, 800);
    EXPECT_EQ(withBar.bottom, 600);
    EXPECT_FALSE(barAfterEmptyMenu);
    EXPECT_EQ(withoutBar.left, 0);
    EXPECT_EQ(withoutBar.top, 0);
    EXPECT_EQ(withoutBar.right, 800);
    EXPECT_EQ(withoutBar.bottom, 600);
}

TEST_F(FltkWindowTest, EscapeKeyDoesNotCloseTheWindowButTheCloseRequestDoesOnce)
{
    Run([&](const std::string& name, int count) {
        if (name == "OnRealtimeUpdate" && count == 1) {
            // FLTK calls a window's callback for Escape as for the close request.
            SetFocus(fl_xid(ApplicationWindow()));
            SendKeyPress(fl_xid(ApplicationWindow()), XK_Escape);
        }
        if (name == "OnRealtimeUpdate" && count == 3) {
            QueueCloseRequest(GetRealtimeApplicationState().windowHandle);
        }
    });

    EXPECT_EQ(handler.Count("OnRealtimeUpdate"), 3);
    ASSERT_EQ(handler.Count("OnWindowClose"), 1);
    EXPECT_EQ(handler.NamesWithoutActivation().back(), "OnWindowClose");
}

} // namespace
} // namespace kwTest
