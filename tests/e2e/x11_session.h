// End-to-end test support: what a user (or window manager) does to a program's
// window through the X server: find it by title, read its pixels, click, and
// ask it to close with WM_DELETE_WINDOW.
#pragma once

#include <string>
#include <vector>

// Kept free of Xlib's header, whose macros clash with other headers.
struct _XDisplay;

namespace kwE2e {

// An X window identifier.
typedef unsigned long Window;

struct Rgb {
    int red;
    int green;
    int blue;
};

// A rectangle of the screen, in root-window coordinates.
struct ScreenRectangle {
    int x;
    int y;
    int width;
    int height;
};

// Pixels of one capture, row by row from the top.
struct Capture {
    ScreenRectangle area;
    std::vector<Rgb> pixels;
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * area.width + x]; }
};

class X11Session {
public:
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool IsOpen() const { return mDisplay != nullptr; }

    // The first viewable top-level window whose title is exactly `title`, or 0
    // when none appears within `seconds`.
    Window WaitForWindow(const std::string& title, double seconds);
    bool WindowExists(Window window);
    std::string Title(Window window);
    ScreenRectangle Frame(Window window);
    // The window's largest viewable descendant without children of its own:
    // the surface the program draws into (the window itself when it has none).
    ScreenRectangle DrawingSurface(Window window);
    // Viewable override-redirect windows (pop-up menus), newest last.
    std::vector<Window> PopupWindows();

    Capture Grab(const ScreenRectangle& area);

    void Click(int rootX, int rootY);
    void RequestClose(Window window);

private:
    Window FindByTitle(Window parent, const std::string& title, int depth);
    void CollectLeaves(Window window, std::vector<Window>& leaves);

    _XDisplay* mDisplay;
};

} // namespace kwE2e
