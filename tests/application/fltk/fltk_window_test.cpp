// Platform tests that only the FLTK backend has: X focus as activation (and
// neither a menu's grab nor FLTK's Escape key as anything), the GL child (its
// visual, room for the bar, an expose answered by a present), how the bar
// draws separators and check boxes, and the pop-up menu.
#include "platform_probe.h"
#include "recording_handler.h"

#include "application/implementation/fltk/kwi_fltk_window_parts.h"
#include "application/implementation/kwi_window_menu_binding.h"
#include "application/kw_application_menu.h"

// After GoogleTest (included above): the X headers' macros (None, Bool) clash with its names.
#include "fltk_probe.h"

#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <GL/gl.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

using Kelpwright::Application::ApplicationMenu;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using kwImplementation::Fltk::kMenuBarHeight;

namespace kwTest {
namespace {

Fl_Window& ApplicationWindow() { return *static_cast<Fl_Window*>(kwImplementation::GetRealtimeApplicationState().windowHandle); }
Window ApplicationXWindow() { return fl_xid(&ApplicationWindow()); }

void SetFocus(Window window)
{
    XSetInputFocus(fl_display, window, RevertToPointerRoot, CurrentTime);
    XSync(fl_display, False);
}

// The GL child's rectangle in its window, as the X server has it.
WindowRectangle XGeometryOfRenderingView()
{
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, fl_xid(FindChild<Fl_Gl_Window>(ApplicationWindow())), &attributes);
    return {{attributes.x, attributes.y, attributes.x + attributes.width, attributes.y + attributes.height}};
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
};

// Keyboard focus of the window is its activation; Escape (for which FLTK calls
// the window's callback as for the close request) and a menu's pointer grab
// change nothing.
TEST_F(FltkWindowTest, FocusIsActivationWhileEscapeAndTheBarsMenuChangeNothing)
{
    ApplicationMenu menu(1);
    menu.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(2, "Exit", 1, true, false, true);
    static bool menuWasOpen; // static: the timer callback captures nothing
    menuWasOpen = false;
    size_t update4 = 0;
    RunUpdates(11, [&](int count) {
        if (count == 2 || count == 9) {
            SetFocus(None);
        }
        if (count == 4) {
            update4 = handler.calls.size() - 1;
            SetFocus(ApplicationXWindow());
            SendKeyPress(ApplicationXWindow(), XK_Escape);
        }
        if (count == 6) {
            // A press on "File" opens its menu inside the next drain; the
            // timer, run by the menu's own event loop, closes it with Escape
            // (an open menu takes every key, whichever window it is sent to).
            Fl::add_timeout(0.1, [](void*) {
                menuWasOpen = Fl::grab() != nullptr;
                SendKeyPress(ApplicationXWindow(), XK_Escape);
            });
            SendButtonPress(ApplicationXWindow(), 10, 10, Button1);
        }
    }, &menu);

    EXPECT_TRUE(menuWasOpen);
    // Each focus change is handled in the next pass's drain, once.
    Names fromUpdate4;
    for (size_t index = update4; index < handler.calls.size(); ++index) {
        fromUpdate4.push_back(handler.calls[index].name);
    }
    EXPECT_EQ(fromUpdate4, (Names{"OnRealtimeUpdate", "OnBecomeActive", "OnRealtimeUpdate", "OnRealtimeUpdate",
                                  "OnRealtimeUpdate", "OnRealtimeUpdate", "OnRealtimeUpdate", "OnBecomeInactive",
                                  "OnRealtimeUpdate", "OnRealtimeUpdate", "OnWindowClose"}));
}

// The GL child: the visual asked for, the window's class, room for the bar
// (and the whole window back without it), and an expose answered by a present.
TEST_F(FltkWindowTest, DrawingSurfaceIsADoubleBufferedViewBelowTheBarThatAnswersExposes)
{
    ApplicationMenu full(1);
    full.AddMenuItem(1, "File", kInvalidMenuItemIdentifier, true, false, true);
    ApplicationMenu empty(2);
    std::vector<int> presented;
    RunUpdates(7, [&](int count) {
        presented.push_back(CountPresentedFrames());
        if (count == 1) {
            GLint bits[5] = {};
            const GLenum names[5] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_STENCIL_BITS, GL_DEPTH_BITS};
            for (int index = 0; index < 5; ++index) {
                glGetIntegerv(names[index], &bits[index]);
            }
            EXPECT_EQ((std::vector<GLint>(bits, bits + 4)), (std::vector<GLint>{8, 8, 8, 8}));
            EXPECT_GE(bits[4], 16);
            GLboolean doubleBuffered = GL_FALSE;
            glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
            EXPECT_EQ(doubleBuffered, GL_TRUE);
            XClassHint classHint = {nullptr, nullptr};
            XGetClassHint(fl_display, ApplicationXWindow(), &classHint);
            EXPECT_STREQ(classHint.res_class, "KelpwrightApplication");
            XFree(classHint.res_name);
            XFree(classHint.res_class);
            EXPECT_EQ(XGeometryOfRenderingView(), (WindowRectangle{{0, kMenuBarHeight, 800, 600}}));
            application.SetWindowMenu(empty);
        }
        if (count == 3) {
            std::vector<MenuEntry> entries;
            EXPECT_FALSE(ReadMenuBar(Window(), entries));
            EXPECT_EQ(XGeometryOfRenderingView(), (WindowRectangle{{0, 0, 800, 600}}));
        }
        if (count == 5) {
            XClearArea(fl_display, fl_xid(FindChild<Fl_Gl_Window>(ApplicationWindow())), 0, 0, 0, 0, True);
            XSync(fl_display, False);
        }
    }, &full);

    ASSERT_EQ(presented.size(), 7u);
    EXPECT_EQ(presented[5] - presented[4], 2); // the loop's present and the expose's
    EXPECT_EQ(presented[6] - presented[5], 1);
}

// A plain window's bar: separators, '@' in names and check boxes as FLTK needs
// them; and its pop-up menu, which has no caller in the framework: a record
// given one shows it where the right button went down and reports the choice.
TEST_F(FltkWindowTest, BarDrawsSeparatorsAsDividersKeepsCheckMarksAndPopsUpAtThePress)
{
    using namespace kwImplementation;
    ApplicationMenu menu(1);
    menu.AddMenuItem(10, "View", kInvalidMenuItemIdentifier, true, false, true);
    menu.AddMenuItem(11, "", 10, true, false, true); // first in its pop-up: nothing to draw it under
    menu.AddMenuItem(12, "Grid @ 1:1", 10, true, true, true);
    menu.AddMenuItem(13, "", 10, true, false, true);
    menu.AddMenuItem(14, "Hidden", 10, true, false, false);
    menu.AddMenuItem(15, "Zoom", 10, false, false, true);
    static Fl_Window* window = nullptr;
    window = static_cast<Fl_Window*>(CreatePlainWindow());
    DrainQueuedEvents();
    AttachMenuToWindow(window, menu, handler);

    Fl_Menu_Bar* bar = FindChild<Fl_Menu_Bar>(*window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ((WindowRectangle{{bar->x(), bar->y(), bar->x() + bar->w(), bar->y() + bar->h()}}),
              (WindowRectangle{{0, 0, 240, kMenuBarHeight}}));
    // View, its four visible entries (two kept as invisible separators), two terminators.
    const Fl_Menu_Item* items = bar->menu();
    ASSERT_EQ(items->size(), 7);
    const int flags[5] = {FL_SUBMENU, FL_MENU_INVISIBLE, FL_MENU_TOGGLE | FL_MENU_VALUE | FL_MENU_DIVIDER,
                          FL_MENU_INVISIBLE, FL_MENU_INACTIVE};
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(items[index].flags, flags[index]) << index;
    }
    EXPECT_STREQ(items[2].label(), "Grid @@ 1:1");
    // FLTK flips a check box when it is chosen; the declared state stays.
    QueueMenuCommand(window, 12);
    DrainQueuedEvents();
    EXPECT_EQ(items[2].flags, flags[2]);

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
    static int popUpPosition[2];
    popUpPosition[0] = popUpPosition[1] = 0;
    Fl::add_timeout(0.1, [](void*) {
        popUpPosition[0] = Fl::first_window()->x();
        popUpPosition[1] = Fl::first_window()->y();
        for (KeySym key : {XK_Down, XK_Down, XK_Return}) {
            SendKeyPress(fl_xid(window), key);
        }
    });
    QueueContextMenuRequest(window);
    DrainQueuedEvents();

    // The probe presses halfway across and halfway down the area below the bar.
    EXPECT_EQ(popUpPosition[0], window->x() + window->w() / 2);
    EXPECT_EQ(popUpPosition[1], window->y() + (window->h() + kMenuBarHeight) / 2);
    EXPECT_EQ(handler.calls.size(), 2u);
    EXPECT_EQ(handler.ChosenItems(), (std::vector<unsigned int>{12, 32}));
    DestroyPlainWindow(window);
}

} // namespace
} // namespace kwTest
