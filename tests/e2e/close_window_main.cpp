// A small tool for the run command: asks the window with the given title to
// close, the way a window manager does (WM_DELETE_WINDOW).
#include "x11_session.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kw_close_window TITLE\n");
        return 2;
    }
    kwE2e::X11Session session;
    const kwE2e::Window window = session.IsOpen() ? session.WaitForWindow(argv[1], 5.0) : 0;
    if (window == 0) {
        std::fprintf(stderr, "no window titled \"%s\"\n", argv[1]);
        return 1;
    }
    session.RequestClose(window);
    return 0;
}
