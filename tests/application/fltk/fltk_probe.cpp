// Test support: the platform probe for the FLTK backend. Reads the X server's
// view of windows (geometry, WM_NAME, map state), reads the Fl_Menu_Bar's items,
// queues real X events (WM_DELETE_WINDOW, a right-button press, a menu pick
// message) and counts presents by wrapping glXSwapBuffers.
#include "fltk_probe.h"
#include "platform_probe.h"

#include "application/implementation/fltk/kwi_fltk_window_parts.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdint>

#if defined(KW_LSAN_SUPPRESSIONS)
// LeakSanitizer reads these options before main; harmless without a sanitizer.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0:suppressions=" KW_LSAN_SUPPRESSIONS; }
#endif

namespace {
int sPresentedFrames = 0;
} // namespace

// Every present, by the loop or for an expose, is a glXSwapBuffers call; this
// definition in the test program counts them and hands each to the GL library.
extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    typedef void (*SwapBuffersFunction)(Display*, GLXDrawable);
    static const SwapBuffersFunction next = reinterpret_cast<SwapBuffersFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    ++sPresentedFrames;
    next(display, drawable);
}

namespace kwTest {

namespace {

// A bare window that counts the events its own handling receives.
class PlainWindow : public Fl_Window {
public:
    PlainWindow() : Fl_Window(300, 300, 240, 160, "Plain window") { end(); }
    int handle(int event) override
    {
        ++eventsSeen;
        return Fl_Window::handle(event);
    }
    int eventsSeen = 0;
};

// Null for a handle that no longer names a window (it may have been deleted).
Fl_Window* LiveWindow(WindowHandle window)
{
    return kwImplementation::Fltk::IsLiveWindow(window) ? static_cast<Fl_Window*>(window) : nullptr;
}

Window XWindowOf(WindowHandle window)
{
    Fl_Window* live = LiveWindow(window);
    return live != nullptr ? fl_xid(live) : 0;
}

Fl_Menu_Bar* VisibleMenuBar(Fl_Window& window)
{
    Fl_Menu_Bar* bar = FindChild<Fl_Menu_Bar>(window);
    return bar != nullptr && bar->visible() && bar->menu() != nullptr ? bar : nullptr;
}

unsigned int IdentifierOf(const Fl_Menu_Item& item)
{
    return static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(item.user_data()) & 0xFFFF);
}

// Reads one level of an FLTK menu array; returns the item after its terminator.
// The backend keeps a separator as an invisible item under the divider it draws.
const Fl_Menu_Item* ReadLevel(const Fl_Menu_Item* item, std::vector<MenuEntry>& entries)
{
    for (; item->text != nullptr;) {
        const int flags = item->flags;
        const bool checked = (flags & FL_MENU_TOGGLE) != 0 && (flags & FL_MENU_VALUE) != 0;
        entries.push_back(MenuEntry{item->text, IdentifierOf(*item),
                                    ((flags & FL_MENU_INACTIVE) != 0 ? 3u : 0u) + (checked ? 8u : 0u),
                                    (flags & FL_MENU_INVISIBLE) != 0, {}});
        item = (flags & FL_SUBMENU) != 0 ? ReadLevel(item + 1, entries.back().children) : item + 1;
    }
    return item + 1;
}

Atom PickAtom() { return XInternAtom(fl_display, "KELPWRIGHT_TEST_MENU_PICK", False); }

// Runs, ahead of FLTK, for the pick message: chooses the bar's item carrying the
// identifier the way the menu does when the user releases the button on it.
// The message then reaches the window's own handling as any X event does.
int OnPickMessage(void* event, void*)
{
    const XEvent& xevent = *static_cast<const XEvent*>(event);
    Fl_Window* window = xevent.type == ClientMessage && xevent.xclient.message_type == PickAtom()
                            ? fl_find(xevent.xclient.window)
                            : nullptr;
    Fl_Menu_Bar* bar = window != nullptr ? VisibleMenuBar(*window) : nullptr;
    for (int index = 0; bar != nullptr && index < bar->menu()->size(); ++index) {
        const Fl_Menu_Item& item = bar->menu()[index];
        if (item.text != nullptr && IdentifierOf(item) == static_cast<unsigned int>(xevent.xclient.data.l[0])) {
            bar->picked(&item);
            break;
        }
    }
    return 0;
}

void SendAndSync(XEvent& event)
{
    XSendEvent(fl_display, event.xany.window, False, NoEventMask, &event);
    XSync(fl_display, False);
}

void SendClientMessage(WindowHandle window, Atom type, long data)
{
    XEvent event = XEvent();
    event.xclient.type = ClientMessage;
    event.xclient.window = XWindowOf(window);
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = data;
    if (event.xclient.window != 0) {
        SendAndSync(event);
    }
}

} // namespace

void SendKeyPress(Window window, KeySym key)
{
    XEvent event = XEvent();
    event.xkey.type = KeyPress;
    event.xkey.window = window;
    event.xkey.root = RootWindow(fl_display, fl_screen);
    event.xkey.keycode = XKeysymToKeycode(fl_display, key);
    event.xkey.same_screen = True;
    SendAndSync(event);
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
    SendAndSync(event);
}

WindowRectangle GetOuterRectangle(WindowHandle window)
{
    // Under a window manager the outer rectangle is its frame: the ancestor
    // that is a child of the root window.
    Window outer = XWindowOf(window);
    for (Window root = 0, parent = outer; parent != root && parent != 0;) {
        outer = parent;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(fl_display, outer, &root, &parent, &children, &count);
        XFree(children);
    }
    XWindowAttributes attributes = XWindowAttributes();
    if (outer != 0) {
        XGetWindowAttributes(fl_display, outer, &attributes);
    }
    const int border = attributes.border_width * 2;
    return {{attributes.x, attributes.y, attributes.x + attributes.width + border,
             attributes.y + attributes.height + border}};
}

std::string GetWindowTitle(WindowHandle window)
{
    char* name = nullptr;
    const std::string title = XWindowOf(window) != 0 && XFetchName(fl_display, XWindowOf(window), &name) != 0 ? name : "";
    XFree(name);
    return title;
}

bool WindowExists(WindowHandle window) { return LiveWindow(window) != nullptr; }

bool IsWindowShown(WindowHandle window)
{
    XWindowAttributes attributes = XWindowAttributes();
    return XWindowOf(window) != 0 && XGetWindowAttributes(fl_display, XWindowOf(window), &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

bool IsRenderingContextCurrent() { return glXGetCurrentContext() != nullptr; }

int CountPresentedFrames() { return sPresentedFrames; }

bool ReadMenuBar(WindowHandle window, std::vector<MenuEntry>& entries)
{
    entries.clear();
    Fl_Window* live = LiveWindow(window);
    Fl_Menu_Bar* bar = live != nullptr ? VisibleMenuBar(*live) : nullptr;
    if (bar != nullptr) {
        ReadLevel(bar->menu(), entries);
    }
    return bar != nullptr;
}

void QueueCloseRequest(WindowHandle window)
{
    SendClientMessage(window, XInternAtom(fl_display, "WM_PROTOCOLS", False),
                      static_cast<long>(XInternAtom(fl_display, "WM_DELETE_WINDOW", False)));
}

void QueueMenuCommand(WindowHandle window, unsigned int identifier)
{
    static const bool pickHandlerInstalled = (Fl::add_system_handler(OnPickMessage, nullptr), true);
    (void)pickHandlerInstalled;
    SendClientMessage(window, PickAtom(), static_cast<long>(identifier));
}

// Only the press: it is the one event of the request, as WM_CONTEXTMENU is on
// Win32. It goes below any menu bar: a press on the bar would open its menu.
void QueueContextMenuRequest(WindowHandle window)
{
    if (Fl_Window* live = LiveWindow(window)) {
        SendButtonPress(fl_xid(live), live->w() / 2, (live->h() + kwImplementation::Fltk::kMenuBarHeight) / 2, Button3);
    }
}

void DrainQueuedEvents()
{
    if (fl_display != nullptr) {
        XSync(fl_display, False);
    }
    Fl::check();
}

WindowHandle CreatePlainWindow()
{
    Fl_Window* window = new PlainWindow();
    window->show();
    XSync(fl_display, False);
    return window;
}

void DestroyPlainWindow(WindowHandle window) { delete dynamic_cast<PlainWindow*>(LiveWindow(window)); }

int CountEventsSeenByPlainWindow(WindowHandle window)
{
    PlainWindow* plain = dynamic_cast<PlainWindow*>(LiveWindow(window));
    return plain != nullptr ? plain->eventsSeen : 0;
}

} // namespace kwTest
