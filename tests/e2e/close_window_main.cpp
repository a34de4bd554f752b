// For the run script: asks the window titled TITLE to close, the way a window
// manager does (WM_DELETE_WINDOW).
#include "x11.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) return std::fprintf(stderr, "usage: kw_close_window TITLE\n"), 2;
    Display* display = kwE2e::OpenDisplay();
    const Window window = display ? kwE2e::WaitForWindow(display, argv[1], 5.0) : 0;
    if (!window) return std::fprintf(stderr, "no window titled \"%s\"\n", argv[1]), 1;
    kwE2e::RequestClose(display, window);
    return XCloseDisplay(display), 0;
}
