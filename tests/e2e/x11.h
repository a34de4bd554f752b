// What a user or a window manager does to a program's window through the X
// server: find it by title, read its pixels, click it (XTest), ask it to close.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace kwE2e {

struct Rect {
    int x, y, w, h; // root-window coordinates
};

inline void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Windows of a program under test may vanish between two requests.
inline Display* OpenDisplay() { return XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }), XOpenDisplay(nullptr); }

// Viewable children, bottom to top.
inline std::vector<Window> Children(Display* display, Window parent)
{
    std::vector<Window> viewable;
    Window root, up, *children = nullptr;
    unsigned int count = 0;
    XWindowAttributes attributes;
    XQueryTree(display, parent, &root, &up, &children, &count);
    for (unsigned int i = 0; i < count; ++i)
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            viewable.push_back(children[i]);
    XFree(children);
    return viewable;
}

inline Window FindByTitle(Display* display, Window parent, const std::string& title)
{
    for (Window child : Children(display, parent)) {
        char* name = nullptr;
        const bool named = XFetchName(display, child, &name) && title == name;
        XFree(name);
        if (Window found = named ? child : FindByTitle(display, child, title)) return found;
    }
    return 0;
}

inline Window WaitForWindow(Display* display, const std::string& title, double seconds)
{
    Window window = 0;
    for (int i = 0; i < seconds * 10 && !window; ++i, Sleep(100))
        window = FindByTitle(display, DefaultRootWindow(display), title);
    return window;
}

inline Rect Frame(Display* display, Window window)
{
    Rect area{0, 0, 0, 0};
    XWindowAttributes attributes;
    Window child;
    if (XGetWindowAttributes(display, window, &attributes)) area.w = attributes.width, area.h = attributes.height;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &area.x, &area.y, &child);
    return area;
}

// What the program draws into: the largest viewable descendant without children.
inline Rect Surface(Display* display, Window window)
{
    const std::vector<Window> children = Children(display, window);
    Rect best = children.empty() ? Frame(display, window) : Rect{0, 0, 0, 0};
    for (Window child : children) {
        const Rect area = Surface(display, child);
        if (area.w * area.h > best.w * best.h) best = area;
    }
    return best;
}

// The area's pixels as 0xRRGGBB, row by row from the top.
inline std::vector<unsigned long> Grab(Display* display, const Rect& area)
{
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), area.x, area.y, area.w, area.h, AllPlanes, ZPixmap);
    for (int y = 0; image && y < area.h; ++y)
        for (int x = 0; x < area.w; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
    if (image) XDestroyImage(image);
    return pixels;
}

inline void Click(Display* display, int x, int y)
{
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    for (bool press : {true, false}) {
        XSync(display, False);
        Sleep(150);
        XTestFakeButtonEvent(display, 1, press, CurrentTime);
    }
    XSync(display, False);
}

// What a window manager sends when the user presses the close box.
inline void RequestClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

} // namespace kwE2e
