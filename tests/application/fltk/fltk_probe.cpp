// Test support: the FLTK probe. Reads the X server's view of the window and the Fl_Menu_Bar's items, sends
// real X events (the close request as the end-to-end driver does) or picks a bar item, counts presents.
#include "application/platform/platform_probe.h"
#include "e2e/x11.h"

#include "application/implementation/fltk/kwi_fltk_window_parts.h"

#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <GL/glx.h>
#include <dlfcn.h>

static int sPresented = 0;
// Counts every present, then passes it on to the real library.
extern "C" void glXSwapBuffers(Display* dpy, GLXDrawable drawable)
{
    ++sPresented;
    reinterpret_cast<void (*)(Display*, GLXDrawable)>(dlsym(RTLD_NEXT, "glXSwapBuffers"))(dpy, drawable);
}

namespace kwTest {
namespace {

Fl_Window& Of(kwImplementation::WindowHandle window) { return *static_cast<Fl_Window*>(window); }
// The bar, attached before the view was added, while it shows.
Fl_Menu_Bar* Bar(kwImplementation::WindowHandle window)
{
    Fl_Menu_Bar* bar = dynamic_cast<Fl_Menu_Bar*>(Of(window).child(0));
    return bar != nullptr && bar->visible() ? bar : nullptr;
}
unsigned int Identifier(const Fl_Menu_Item& item) { return fl_uintptr_t(item.user_data()) & 0xFFFF; }

// One level of the bar's items (a separator is an invisible item); returns what follows it.
const Fl_Menu_Item* Describe(const Fl_Menu_Item* item, std::string& text)
{
    for (text += "["; item->label() != nullptr;
         item = item->submenu() ? Describe(item + 1, text) : item + 1) {
        text += std::string(text.back() == '[' ? "" : ",") + (item->visible() ? item->label() : "-") + "#" +
            std::to_string(Identifier(*item)) + ":" +
            std::to_string((item->active() ? 0 : 3) + (item->value() ? 8 : 0));
    }
    text += "]";
    return item + 1;
}

} // namespace

void Send(kwImplementation::WindowHandle window, Event event, unsigned int value)
{
    XEvent x = XEvent();
    const Window xid = x.xany.window = fl_xid(&Of(window));
    x.type = event == Event::Key             ? KeyPress
        : value % 2 && event == Event::Mouse ? ButtonRelease
                                             : ButtonPress;
    x.xbutton.x = x.xbutton.y = 100; // below the bar
    x.xbutton.button = event == Event::ContextMenu ? Button3 : Button1;
    switch (event) {
    case Event::Activate:
        XSetInputFocus(fl_display, xid, RevertToNone, CurrentTime);
        return;
    case Event::Deactivate:
        XSetInputFocus(fl_display, None, RevertToNone, CurrentTime);
        return;
    case Event::Paint:
        XClearArea(fl_display, fl_xid(Of(window).resizable()->as_window()), 0, 0, 0, 0, True);
        return;
    case Event::Resize:
        XResizeWindow(fl_display, xid, value % 2 ? 700 : 800, 600);
        return;
    case Event::Key:
        x.xkey.keycode = XKeysymToKeycode(fl_display, value % 2 ? XK_Escape : XK_a);
        break;
    case Event::ContextMenu:
    case Event::Mouse:
        break;
    case Event::Command: // chosen right away, as a release on the item does
        for (int index = 0; Bar(window) != nullptr && index < Bar(window)->size(); ++index) {
            const Fl_Menu_Item& item = Bar(window)->menu()[index];
            if (item.label() != nullptr && Identifier(item) == (value & 0xFFFF)) {
                Bar(window)->picked(&item);
                return;
            }
        }
        return;
    case Event::Close: // the server's default focus again, then the window manager's request
        XSetInputFocus(fl_display, PointerRoot, RevertToNone, CurrentTime);
        RequestClose(fl_display, xid);
        return;
    }
    XSendEvent(fl_display, xid, False, NoEventMask, &x);
}

void Flush() { XSync(fl_display, False); }

std::string Describe(kwImplementation::WindowHandle window)
{
    XWindowAttributes a = XWindowAttributes();
    char* title = nullptr;
    XGetWindowAttributes(fl_display, fl_xid(&Of(window)), &a);
    XFetchName(fl_display, fl_xid(&Of(window)), &title);
    std::string text = std::to_string(a.x) + "," + std::to_string(a.y) + "," + std::to_string(a.x + a.width) +
        "," + std::to_string(a.y + a.height) + " " + title;
    XFree(title);
    if (Bar(window) != nullptr) {
        Describe(Bar(window)->menu(), text);
    }
    return text;
}

int PresentedFrames() { return sPresented; }

int LiveMenus(kwImplementation::WindowHandle)
{
    return static_cast<int>(kwImplementation::Fltk::CountLiveMenus());
}

} // namespace kwTest
