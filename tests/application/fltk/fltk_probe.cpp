// Test support: the platform probe for the FLTK backend. Reads the X server's
// view of windows (geometry, WM_NAME, map state), reads the Fl_Menu_Bar's items,
// queues real X events (WM_DELETE_WINDOW, a right-button press, a menu pick
// message) and counts presents by wrapping glXSwapBuffers.
#include "platform_probe.h"

#include "application/implementation/fltk/kwi_fltk_window_parts.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <dlfcn.h>

#include <cstdint>
#include <map>

namespace {

int sPresentedFrames = 0;

} // namespace

#if defined(KW_LSAN_SUPPRESSIONS)
// LeakSanitizer reads these options before main; harmless without a sanitizer.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0:suppressions=" KW_LSAN_SUPPRESSIONS; }
#endif

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
    PlainWindow()
        : Fl_Window(300, 300, 240, 160)
    {
        end();
        copy_label("Plain window");
    }

    int handle(int event) override
    {
        ++eventsSeen;
        return Fl_Window::handle(event);
    }

    int eventsSeen = 0;
};

// Looked up by handle value only: a handle may name a window already deleted.
std::map<WindowHandle, PlainWindow*> sPlainWindows;
bool sPickHandlerInstalled = false;

const char* const kPickAtomName = "KELPWRIGHT_TEST_MENU_PICK";

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
    for (int index = 0; index < window.children(); ++index) {
        Fl_Menu_Bar* bar = dynamic_cast<Fl_Menu_Bar*>(window.child(index));
        if (bar != nullptr && bar->visible() && bar->menu() != nullptr) {
            return bar;
        }
    }
    return nullptr;
}

unsigned int IdentifierOf(const Fl_Menu_Item& item)
{
    return static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(item.user_data()) & 0xFFFF);
}

// FLTK draws "@@" as one '@'.
std::string NameOf(const Fl_Menu_Item& item)
{
    std::string name;
    for (const char* character = item.text; *character != '\0'; ++character) {
        name += *character;
        if (character[0] == '@' && character[1] == '@') {
            ++character;
        }
    }
    return name;
}

// Reads one level of an FLTK menu array; returns the item after its terminator.
const Fl_Menu_Item* ReadLevel(const Fl_Menu_Item* item, std::vector<MenuEntry>& entries)
{
    for (; item->text != nullptr;) {
        MenuEntry entry;
        entry.name = NameOf(*item);
        entry.identifier = IdentifierOf(*item);
        entry.state = ((item->flags & FL_MENU_INACTIVE) != 0 ? 3u : 0u) +
                      ((item->flags & FL_MENU_TOGGLE) != 0 && (item->flags & FL_MENU_VALUE) != 0 ? 8u : 0u);
        // The backend keeps a separator as an invisible item under the divider it draws.
        entry.isSeparator = (item->flags & FL_MENU_INVISIBLE) != 0;
        const bool hasPopUp = (item->flags & FL_SUBMENU) != 0;
        item = hasPopUp ? ReadLevel(item + 1, entry.children) : item + 1;
        entries.push_back(entry);
    }
    return item + 1;
}

Atom PickAtom() { return XInternAtom(fl_display, kPickAtomName, False); }

// Runs, ahead of FLTK, for the pick message: chooses the bar's item carrying the
// identifier the way the menu does when the user releases the button on it.
// The message then reaches the window's own handling as any X event does.
int OnPickMessage(void* event, void* data)
{
    (void)data;
    const XEvent& xevent = *static_cast<const XEvent*>(event);
    if (xevent.type != ClientMessage || xevent.xclient.message_type != PickAtom()) {
        return 0;
    }
    Fl_Window* window = fl_find(xevent.xclient.window);
    Fl_Menu_Bar* bar = window != nullptr ? VisibleMenuBar(*window) : nullptr;
    if (bar == nullptr) {
        return 0;
    }
    const unsigned int identifier = static_cast<unsigned int>(xevent.xclient.data.l[0]);
    const int size = bar->menu()->size();
    for (int index = 0; index < size; ++index) {
        const Fl_Menu_Item& item = bar->menu()[index];
        if (item.text != nullptr && IdentifierOf(item) == identifier) {
            bar->picked(&item);
            break;
        }
    }
    return 0;
}

void SendAndSync(Window target, XEvent& event)
{
    XSendEvent(fl_display, target, False, NoEventMask, &event);
    XSync(fl_display, False);
}

} // namespace

WindowRectangle GetOuterRectangle(WindowHandle window)
{
    Window outer = XWindowOf(window);
    if (outer == 0) {
        return WindowRectangle{0, 0, 0, 0};
    }
    // Under a window manager the outer rectangle is its frame: the ancestor
    // that is a child of the root window.
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(fl_display, outer, &root, &parent, &children, &count);
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == 0) {
            break;
        }
        outer = parent;
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, outer, &attributes);
    const int border = attributes.border_width * 2;
    return WindowRectangle{attributes.x, attributes.y, attributes.x + attributes.width + border,
                           attributes.y + attributes.height + border};
}

std::string GetWindowTitle(WindowHandle window)
{
    const Window xid = XWindowOf(window);
    if (xid != 0) {
        char* name = nullptr;
        XFetchName(fl_display, xid, &name);
        const std::string title = name != nullptr ? name : "";
        if (name != nullptr) {
            XFree(name);
        }
        return title;
    }
    Fl_Window* live = LiveWindow(window);
    return live != nullptr && live->label() != nullptr ? live->label() : "";
}

bool WindowExists(WindowHandle window) { return LiveWindow(window) != nullptr; }

bool IsWindowShown(WindowHandle window)
{
    const Window xid = XWindowOf(window);
    if (xid == 0) {
        return false;
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, xid, &attributes);
    return attributes.map_state == IsViewable;
}

bool IsRenderingContextCurrent() { return glXGetCurrentContext() != nullptr; }

int CountPresentedFrames() { return sPresentedFrames; }

bool ReadMenuBar(WindowHandle window, std::vector<MenuEntry>& entries)
{
    entries.clear();
    Fl_Window* live = LiveWindow(window);
    Fl_Menu_Bar* bar = live != nullptr ? VisibleMenuBar(*live) : nullptr;
    if (bar == nullptr) {
        return false;
    }
    ReadLevel(bar->menu(), entries);
    return true;
}

void QueueCloseRequest(WindowHandle window)
{
    const Window xid = XWindowOf(window);
    if (xid == 0) {
        return;
    }
    XEvent event = XEvent();
    event.xclient.type = ClientMessage;
    event.xclient.window = xid;
    event.xclient.message_type = XInternAtom(fl_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(fl_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    SendAndSync(xid, event);
}

void QueueMenuCommand(WindowHandle window, unsigned int identifier)
{
    const Window xid = XWindowOf(window);
    if (xid == 0) {
        return;
    }
    if (!sPickHandlerInstalled) {
        Fl::add_system_handler(OnPickMessage, nullptr);
        sPickHandlerInstalled = true;
    }
    XEvent event = XEvent();
    event.xclient.type = ClientMessage;
    event.xclient.window = xid;
    event.xclient.message_type = PickAtom();
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(identifier);
    SendAndSync(xid, event);
}

void QueueContextMenuRequest(WindowHandle window)
{
    Fl_Window* live = LiveWindow(window);
    const Window xid = XWindowOf(window);
    if (xid == 0) {
        return;
    }
    // Below any menu bar: a press on the bar would open the bar's menu.
    const int x = live->w() / 2;
    const int y = (live->h() + kwImplementation::Fltk::kMenuBarHeight) / 2;
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(fl_display, xid, RootWindow(fl_display, fl_screen), x, y, &rootX, &rootY, &child);

    // Only the press: it is the one event of the request, as WM_CONTEXTMENU is on Win32.
    XEvent event = XEvent();
    event.xbutton.type = ButtonPress;
    event.xbutton.window = xid;
    event.xbutton.root = RootWindow(fl_display, fl_screen);
    event.xbutton.time = CurrentTime;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.x_root = rootX;
    event.xbutton.y_root = rootY;
    event.xbutton.button = Button3;
    event.xbutton.same_screen = True;
    SendAndSync(xid, event);
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
    PlainWindow* window = new PlainWindow();
    window->show();
    XSync(fl_display, False);
    const WindowHandle handle = static_cast<Fl_Window*>(window);
    sPlainWindows[handle] = window;
    return handle;
}

void DestroyPlainWindow(WindowHandle window)
{
    auto plain = sPlainWindows.find(window);
    if (plain != sPlainWindows.end()) {
        plain->second->hide();
        delete plain->second;
        sPlainWindows.erase(plain);
    }
}

int CountEventsSeenByPlainWindow(WindowHandle window)
{
    auto plain = sPlainWindows.find(window);
    return plain != sPlainWindows.end() ? plain->second->eventsSeen : 0;
}

} // namespace kwTest
