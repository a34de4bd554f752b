// For the run script: asks the window titled TITLE to close as a window manager would.
#include "x11.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    Display* display = argc == 2 ? Open() : nullptr;
    const Window window = display ? Find(display, argv[1], 5.0) : 0;
    if (window) RequestClose(display, window);
    else std::fprintf(stderr, "usage: kw_close_window TITLE, the title of a window on the display\n");
    return window ? 0 : 1;
}
