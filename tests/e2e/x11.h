// What a user or a window manager does to a program's window through the X server.
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace kwTest {

// Polls `condition` every 50 ms until it holds or `seconds` pass; returns whether it held.
template <typename Condition> bool WaitFor(double seconds, Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Windows of a program under test may vanish between two requests: their errors are ignored.
inline Display* Open()
{
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return XOpenDisplay(nullptr);
}

// The window titled `title` at or below `parent` (also inside a window manager's frame), or 0.
inline Window Find(Display* display, const char* title, Window parent)
{
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    XQueryTree(display, parent, &root, &up, &children, &count);
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        const bool named = XFetchName(display, children[i], &name) != 0 && name == std::string(title);
        found = named ? children[i] : Find(display, title, children[i]);
        XFree(name);
    }
    XFree(children);
    return found;
}

// The child at the centre of `window` if there is one, else `window`; `a` gets its attributes.
inline Window Surface(Display* display, Window window, XWindowAttributes& a)
{
    Window child = 0;
    int x = 0;
    int y = 0;
    XGetWindowAttributes(display, window, &a);
    XTranslateCoordinates(display, window, window, a.width / 2, a.height / 2, &x, &y, &child);
    if (child != 0 && XGetWindowAttributes(display, child, &a) != 0) {
        return child;
    }
    XGetWindowAttributes(display, window, &a);
    return window;
}

// The pixels of a rectangle of `window`, 0xRRGGBB by rows; empty if it could not be read.
inline std::vector<unsigned long> Grab(Display* display, Window window, int x, int y, int w, int h)
{
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, window, x, y, w, h, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    for (int i = 0; i < w * h; ++i) {
        pixels.push_back(XGetPixel(image, i % w, i / w) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return pixels;
}

// A left click at (x, y) of `window`, pressed `wait` milliseconds after the pointer arrives.
inline void Click(Display* display, Window window, int x, int y, int wait = 150)
{
    XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
    XTestFakeButtonEvent(display, 1, True, wait);
    XTestFakeButtonEvent(display, 1, False, 150);
    XSync(display, False);
}

// What a window manager sends when the user presses the close box.
inline void RequestClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

} // namespace kwTest
