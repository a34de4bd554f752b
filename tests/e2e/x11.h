// What a user or a window manager does to a program's window through the X server.
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <string>
#include <vector>

struct Rect { int x, y, w, h; }; // in root-window coordinates

// Windows of a program under test may vanish between two requests.
inline Display* Open() { return XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }), XOpenDisplay(nullptr); }

// The window titled `title` below `parent` (a window manager's frame included),
// looked for again every 0.1 s for up to `seconds`.
inline Window Find(Display* display, const char* title, double seconds, Window parent = 0)
{
    Window root, up, *children = nullptr, found = 0;
    unsigned int count = 0;
    XQueryTree(display, parent ? parent : DefaultRootWindow(display), &root, &up, &children, &count);
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        found = XFetchName(display, children[i], &name) && name == std::string(title) ? children[i] : Find(display, title, 0, children[i]);
        XFree(name);
    }
    XFree(children);
    return found || seconds <= 0 ? found : (usleep(100000), Find(display, title, seconds - 0.1, parent));
}

// What the program draws into: its window's child at the window's centre, if any.
inline Rect Surface(Display* display, Window window)
{
    XWindowAttributes a;
    Window child = 0;
    Rect r{0, 0, 0, 0};
    XGetWindowAttributes(display, window, &a);
    XTranslateCoordinates(display, window, window, a.width / 2, a.height / 2, &r.x, &r.y, &child);
    if (child) XGetWindowAttributes(display, window = child, &a);
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &r.x, &r.y, &child);
    return Rect{r.x, r.y, a.width, a.height};
}

// The area's pixels as 0xRRGGBB, row by row from the top.
inline std::vector<unsigned long> Grab(Display* display, const Rect& r)
{
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), r.x, r.y, r.w, r.h, AllPlanes, ZPixmap);
    for (int i = 0; image && i < r.w * r.h; ++i) pixels.push_back(XGetPixel(image, i % r.w, i / r.w) & 0xFFFFFF);
    if (image) XDestroyImage(image);
    return pixels;
}

inline void Click(Display* display, int x, int y)
{
    XTestFakeMotionEvent(display, -1, x, y, 0);
    XTestFakeButtonEvent(display, 1, True, 150); // delays in milliseconds, kept by the server
    XTestFakeButtonEvent(display, 1, False, 150);
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
