// What a user or a window manager does to a program's window through the X server.
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <string>
#include <vector>

// Windows of a program under test may vanish between two requests.
inline Display* Open()
{
    return XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }), XOpenDisplay(nullptr);
}

// The window titled `title` below `parent` (also in a window manager's frame), waiting up to `seconds`.
inline Window Find(Display* display, const char* title, double seconds, Window parent = 0)
{
    Window root, up, *children = nullptr, found = 0;
    unsigned int count = 0;
    XQueryTree(display, parent ? parent : DefaultRootWindow(display), &root, &up, &children, &count);
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        found = XFetchName(display, children[i], &name) && name == std::string(title)
            ? children[i]
            : Find(display, title, 0, children[i]);
        XFree(name);
    }
    XFree(children);
    return found || seconds <= 0 ? found : (usleep(100000), Find(display, title, seconds - 0.1, parent));
}

inline Window Surface(Display* display, Window window,
                      XWindowAttributes& a) // its child at its centre, if any
{
    Window child = 0;
    XGetWindowAttributes(display, window, &a);
    XTranslateCoordinates(display, window, window, a.width / 2, a.height / 2, &a.x, &a.y, &child);
    return child && XGetWindowAttributes(display, child, &a) ? child : window;
}

inline std::vector<unsigned long> Grab(Display* display, Window window, int x, int y, int w,
                                       int h) // 0xRRGGBB, by rows
{
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, window, x, y, w, h, AllPlanes, ZPixmap);
    for (int i = 0; image && i < w * h; ++i)
        pixels.push_back(XGetPixel(image, i % w, i / w) & 0xFFFFFF);
    if (image)
        XDestroyImage(image);
    return pixels;
}

inline void Click(Display* display, Window window, int x, int y,
                  int wait = 150) // wait: milliseconds before pressing
{
    XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
    XTestFakeButtonEvent(display, 1, True, wait);
    XTestFakeButtonEvent(display, 1, False, 150);
    XSync(display, False);
}

inline void RequestClose(Display* display, Window window) // as a window manager does for the close box
{
    XEvent event{};
    event.xclient = {
        ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}
