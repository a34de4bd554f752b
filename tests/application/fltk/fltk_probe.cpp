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

#include <cstdlib>

static int sPresented = 0;
// Counts every present, then passes it on to the real library.
extern "C" void glXSwapBuffers(Display* dpy, GLXDrawable drawable)
{
    ++sPresented;
    using Swap = void (*)(Display*, GLXDrawable);
    reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"))(dpy, drawable);
}

namespace kwTest {
namespace {

Fl_Window& Of(kwImplementation::WindowHandle window) { return *static_cast<Fl_Window*>(window); }

Window TopLevel(kwImplementation::WindowHandle window) { return fl_xid(&Of(window)); }

Window View(kwImplementation::WindowHandle window) { return fl_xid(Of(window).resizable()->as_window()); }

// The bar, attached before the view was added, while it shows.
Fl_Menu_Bar* Bar(kwImplementation::WindowHandle window)
{
    Fl_Menu_Bar* bar = dynamic_cast<Fl_Menu_Bar*>(Of(window).child(0));
    return bar != nullptr && bar->visible() ? bar : nullptr;
}

unsigned int Identifier(const Fl_Menu_Item& item) { return item.argument() & 0xFFFF; }

// One level of the bar's items (a separator is an invisible item); returns what follows it.
const Fl_Menu_Item* DescribeLevel(const Fl_Menu_Item* item, std::string& text)
{
    text += "[";
    for (bool first = true; item->label() != nullptr; first = false) {
        const int state = (item->active() ? 0 : 3) + (item->value() ? 8 : 0);
        text += std::string(first ? "" : ",") + (item->visible() ? item->label() : "-") + "#" +
            std::to_string(Identifier(*item)) + ":" + std::to_string(state);
        if ((item->flags & FL_MENU_DIVIDER) != 0) {
            text += "_";
        }
        item = item->submenu() ? DescribeLevel(item + 1, text) : item + 1;
    }
    text += "]";
    return item + 1;
}

void Pick(kwImplementation::WindowHandle window, unsigned int identifier)
{
    Fl_Menu_Bar* bar = Bar(window);
    for (int index = 0; bar != nullptr && index < bar->size(); ++index) {
        const Fl_Menu_Item& item = bar->menu()[index];
        if (item.label() != nullptr && Identifier(item) == identifier) {
            bar->picked(&item); // as a release on the item does
            return;
        }
    }
}

} // namespace

void Send(kwImplementation::WindowHandle window, Event event, unsigned int value)
{
    const bool odd = value % 2 != 0;
    XEvent x = XEvent();
    x.xany.window = TopLevel(window);
    x.xbutton.x = 100; // below the bar
    x.xbutton.y = 100;
    switch (event) {
    case Event::Activate:
        XSetInputFocus(fl_display, TopLevel(window), RevertToNone, CurrentTime);
        return;
    case Event::Deactivate:
        XSetInputFocus(fl_display, None, RevertToNone, CurrentTime);
        return;
    case Event::Paint:
        XClearArea(fl_display, View(window), 0, 0, 0, 0, True);
        return;
    case Event::Resize:
        XResizeWindow(fl_display, TopLevel(window), odd ? 700 : 800, 600);
        return;
    case Event::Key:
        x.type = KeyPress;
        x.xkey.keycode = XKeysymToKeycode(fl_display, odd ? XK_Escape : XK_a);
        break;
    case Event::ContextMenu: // a right click; its press asks for the context menu
        x.type = ButtonPress;
        x.xbutton.button = Button3;
        XSendEvent(fl_display, TopLevel(window), False, NoEventMask, &x);
        x.type = ButtonRelease;
        break;
    case Event::Mouse: // as on Win32: a press of the left button, or a move
        x.type = odd ? ButtonPress : MotionNotify;
        x.xbutton.button = odd ? Button1 : 0; // 0: a motion's is_hint
        break;
    case Event::Command:
        Pick(window, value & 0xFFFF);
        return;
    case Event::Close: // the server's default focus again, then the window manager's request
        XSetInputFocus(fl_display, PointerRoot, RevertToNone, CurrentTime);
        RequestClose(fl_display, TopLevel(window));
        return;
    }
    XSendEvent(fl_display, TopLevel(window), False, NoEventMask, &x);
}

void Flush() { XSync(fl_display, False); }

std::string DescribeWindow(kwImplementation::WindowHandle window)
{
    XWindowAttributes a = XWindowAttributes();
    char* title = nullptr;
    XGetWindowAttributes(fl_display, TopLevel(window), &a);
    XFetchName(fl_display, TopLevel(window), &title);
    std::string text = std::to_string(a.x) + "," + std::to_string(a.y) + "," + std::to_string(a.x + a.width) +
        "," + std::to_string(a.y + a.height) + " " + title;
    XFree(title);
    return text + (a.map_state == IsViewable ? "" : " (not shown)");
}

std::string DescribeMenuBar(kwImplementation::WindowHandle window)
{
    std::string text = "none";
    if (Bar(window) != nullptr) {
        text.clear();
        DescribeLevel(Bar(window)->menu(), text);
    }
    return text;
}

std::string DescribeCreation(kwImplementation::WindowHandle window)
{
    XClassHint hint = XClassHint();
    XGetClassHint(fl_display, TopLevel(window), &hint);
    std::string text = "class " + std::string(hint.res_class != nullptr ? hint.res_class : "none") + "\n";
    XFree(hint.res_name);
    XFree(hint.res_class);
    XWindowAttributes view = XWindowAttributes();
    XGetWindowAttributes(fl_display, View(window), &view);
    text += "view " + std::to_string(view.x) + "," + std::to_string(view.y) + " " +
        std::to_string(view.width) + "x" + std::to_string(view.height) + "\n";
    XVisualInfo pattern = XVisualInfo();
    pattern.visualid = XVisualIDFromVisual(view.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(fl_display, VisualIDMask, &pattern, &count);
    const struct {
        const char* name;
        int attribute;
    } kAttributes[] = {{"rgba", GLX_RGBA},       {"double buffer", GLX_DOUBLEBUFFER},
                       {"red", GLX_RED_SIZE},    {"green", GLX_GREEN_SIZE},
                       {"blue", GLX_BLUE_SIZE},  {"stencil", GLX_STENCIL_SIZE},
                       {"depth", GLX_DEPTH_SIZE}};
    for (const auto& attribute : kAttributes) {
        int value = 0;
        glXGetConfig(fl_display, visual, attribute.attribute, &value);
        if (attribute.attribute == GLX_DEPTH_SIZE) {
            value = value >= 16 ? 16 : 0; // at least 16 bits
        }
        text += "visual " + std::string(attribute.name) + " " + std::to_string(value) + "\n";
    }
    XFree(visual);
    return text;
}

int PresentedFrames() { return sPresented; }

int LiveMenus(kwImplementation::WindowHandle)
{
    return static_cast<int>(kwImplementation::Fltk::CountLiveMenus());
}

void SendKey(kwImplementation::WindowHandle, int nativeCode, KeyAction action)
{
    if (action != KeyAction::Repeat) {
        const KeyCode key = XKeysymToKeycode(fl_display, static_cast<KeySym>(nativeCode));
        XTestFakeKeyEvent(fl_display, key, action == KeyAction::Press, CurrentTime);
    }
}

void MovePointer(kwImplementation::WindowHandle window, int x, int y)
{
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(fl_display, View(window), DefaultRootWindow(fl_display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(fl_display, DefaultScreen(fl_display), rootX, rootY, CurrentTime);
}

void SendButton(kwImplementation::WindowHandle, Kelpwright::Application::PointerButton button, bool down)
{
    const unsigned int kButtons[] = {Button1, Button3, Button2}; // left, right, middle
    XTestFakeButtonEvent(fl_display, kButtons[static_cast<int>(button)], down, CurrentTime);
}

// Button 4 turns the wheel a notch away from the user, button 5 towards.
void SendWheel(kwImplementation::WindowHandle, int notches)
{
    for (int notch = 0; notch < std::abs(notches); ++notch) {
        XTestFakeButtonEvent(fl_display, notches > 0 ? Button4 : Button5, True, CurrentTime);
        XTestFakeButtonEvent(fl_display, notches > 0 ? Button4 : Button5, False, CurrentTime);
    }
}

void SetKeyboardFocus(kwImplementation::WindowHandle window, bool toWindow)
{
    XSetInputFocus(fl_display, toWindow ? TopLevel(window) : None, RevertToNone, CurrentTime);
}

Kelpwright::Application::DrawingSize SurfaceSize(kwImplementation::WindowHandle window)
{
    XWindowAttributes view = XWindowAttributes();
    XGetWindowAttributes(fl_display, View(window), &view);
    return {view.width, view.height};
}

std::string SendFocusChange(kwImplementation::WindowHandle window, size_t row)
{
    const struct {
        const char* name;
        int type;
        int mode;
        int detail;
        bool toView; // else to the top-level window
    } kChanges[] = {
        {"FocusIn, normal, nonlinear", FocusIn, NotifyNormal, NotifyNonlinear, false},
        {"FocusOut, normal, nonlinear", FocusOut, NotifyNormal, NotifyNonlinear, false},
        {"FocusIn, grab", FocusIn, NotifyGrab, NotifyNonlinear, false},
        {"FocusIn, ungrab", FocusIn, NotifyUngrab, NotifyNonlinear, false},
        {"FocusIn of the view", FocusIn, NotifyNormal, NotifyNonlinear, true},
        {"FocusIn, normal, pointer", FocusIn, NotifyNormal, NotifyPointer, false},
        {"FocusOut, grab", FocusOut, NotifyGrab, NotifyNonlinear, false},
        {"FocusOut, ungrab", FocusOut, NotifyUngrab, NotifyNonlinear, false},
        {"FocusOut to an inferior", FocusOut, NotifyNormal, NotifyInferior, false},
        {"FocusOut, while grabbed", FocusOut, NotifyWhileGrabbed, NotifyNonlinear, false},
        {"FocusIn from an inferior", FocusIn, NotifyNormal, NotifyInferior, false},
    };
    if (row >= sizeof(kChanges) / sizeof(kChanges[0])) {
        return "";
    }
    XEvent event = XEvent();
    event.xfocus.type = kChanges[row].type;
    event.xfocus.display = fl_display;
    event.xfocus.window = kChanges[row].toView ? View(window) : TopLevel(window);
    event.xfocus.mode = kChanges[row].mode;
    event.xfocus.detail = kChanges[row].detail;
    XSendEvent(fl_display, TopLevel(window), False, NoEventMask, &event);
    return kChanges[row].name;
}

} // namespace kwTest
