// End-to-end test support: Xlib and XTest calls on the test's X display
// (XQueryTree, XFetchName, XGetImage, XTestFakeButtonEvent, XSendEvent).
#include "x11_session.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace kwE2e {

namespace {

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// The window's viewable children, bottom to top (the newest pop-up comes last).
std::vector<Window> ViewableChildren(Display* display, Window window)
{
    std::vector<Window> viewable;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) {
        return viewable;
    }
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable) {
            viewable.push_back(children[i]);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return viewable;
}

} // namespace

X11Session::X11Session()
    : mDisplay(XOpenDisplay(nullptr))
{
    // Windows of a program under test may vanish between two requests.
    XSetErrorHandler(IgnoreErrors);
}

X11Session::~X11Session()
{
    if (mDisplay != nullptr) {
        XCloseDisplay(mDisplay);
    }
}

std::string X11Session::Title(Window window)
{
    std::string title;
    XTextProperty property;
    Atom netName = XInternAtom(mDisplay, "_NET_WM_NAME", False);
    if (XGetTextProperty(mDisplay, window, &property, netName) && property.value != nullptr) {
        title.assign(reinterpret_cast<char*>(property.value), property.nitems);
        XFree(property.value);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(mDisplay, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

Window X11Session::FindByTitle(Window parent, const std::string& title, int depth)
{
    const std::vector<Window> children = ViewableChildren(mDisplay, parent);
    for (Window child : children) {
        if (Title(child) == title) {
            return child;
        }
    }
    for (Window child : children) {
        const Window found = depth > 0 ? FindByTitle(child, title, depth - 1) : 0;
        if (found != 0) {
            return found;
        }
    }
    return 0;
}

Window X11Session::WaitForWindow(const std::string& title, double seconds)
{
    const auto start = std::chrono::steady_clock::now();
    while (SecondsSince(start) < seconds) {
        Window window = FindByTitle(DefaultRootWindow(mDisplay), title, 2);
        if (window != 0) {
            return window;
        }
        Pause(100);
    }
    return 0;
}

bool X11Session::WindowExists(Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(mDisplay, window, &attributes) != 0;
}

ScreenRectangle X11Session::Frame(Window window)
{
    XWindowAttributes attributes;
    ScreenRectangle area = {0, 0, 0, 0};
    if (!XGetWindowAttributes(mDisplay, window, &attributes)) {
        return area;
    }
    Window child = 0;
    XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), 0, 0, &area.x, &area.y, &child);
    area.width = attributes.width;
    area.height = attributes.height;
    return area;
}

void X11Session::CollectLeaves(Window window, std::vector<Window>& leaves)
{
    const std::vector<Window> children = ViewableChildren(mDisplay, window);
    for (Window child : children) {
        CollectLeaves(child, leaves);
    }
    if (children.empty()) {
        leaves.push_back(window);
    }
}

ScreenRectangle X11Session::DrawingSurface(Window window)
{
    std::vector<Window> leaves;
    CollectLeaves(window, leaves);
    ScreenRectangle best = Frame(window);
    long bestArea = -1;
    for (Window leaf : leaves) {
        const ScreenRectangle area = Frame(leaf);
        if (static_cast<long>(area.width) * area.height > bestArea) {
            bestArea = static_cast<long>(area.width) * area.height;
            best = area;
        }
    }
    return best;
}

std::vector<Window> X11Session::PopupWindows()
{
    std::vector<Window> popups;
    for (Window child : ViewableChildren(mDisplay, DefaultRootWindow(mDisplay))) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(mDisplay, child, &attributes) && attributes.override_redirect) {
            popups.push_back(child);
        }
    }
    return popups;
}

Capture X11Session::Grab(const ScreenRectangle& area)
{
    Capture capture;
    capture.area = area;
    XImage* image = XGetImage(mDisplay, DefaultRootWindow(mDisplay), area.x, area.y, area.width, area.height,
                              AllPlanes, ZPixmap);
    if (image == nullptr) {
        capture.area.width = 0;
        capture.area.height = 0;
        return capture;
    }
    capture.pixels.reserve(static_cast<size_t>(area.width) * area.height);
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            capture.pixels.push_back(Rgb{static_cast<int>((pixel & image->red_mask) >> 16),
                                         static_cast<int>((pixel & image->green_mask) >> 8),
                                         static_cast<int>(pixel & image->blue_mask)});
        }
    }
    XDestroyImage(image);
    return capture;
}

void X11Session::Click(int rootX, int rootY)
{
    XTestFakeMotionEvent(mDisplay, -1, rootX, rootY, CurrentTime);
    XSync(mDisplay, False);
    Pause(150);
    XTestFakeButtonEvent(mDisplay, 1, True, CurrentTime);
    XSync(mDisplay, False);
    Pause(80);
    XTestFakeButtonEvent(mDisplay, 1, False, CurrentTime);
    XSync(mDisplay, False);
    Pause(150);
}

void X11Session::RequestClose(Window window)
{
    // What a window manager sends when the user presses the close box.
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(mDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(mDisplay, window, False, NoEventMask, &event);
    XFlush(mDisplay);
}

} // namespace kwE2e
