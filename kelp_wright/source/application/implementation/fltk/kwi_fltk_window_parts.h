// Kelpwright FLTK backend: what the window backend and the FLTK menu binding
// share about a window: whether a handle still names a live window object, and
// how the menu bar and the client area (the GL child) share the window.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"

#include <cstddef>

class Fl_Window;

namespace kwImplementation {
namespace Fltk {

// Height of the menu bar across the top of a window that shows one.
const int kMenuBarHeight = 25;

// True while the handle names a window object that may be touched: the
// application window from its creation until it is destroyed, or any other
// top-level window that FLTK shows. Only pointer values are compared, so a
// stale handle (the recorded window after a run) is safe to pass.
bool IsLiveWindow(WindowHandle window);

// How many menus CreateMenu made that DestroyMenu has not freed yet.
std::size_t CountLiveMenus();

// Puts the window's menu bar, when it shows one, across the top and makes
// every other child fill the rest of the window.
void LayOutClientArea(Fl_Window& window);

} // namespace Fltk
} // namespace kwImplementation
