// Kelpwright web backend: what the window backend, the DOM menu bar and the
// OpenGL subset share. The page holds one window element at a time; its
// JavaScript record (Module.kwWindow) keeps the elements and the queue of
// events that listeners fill and the event drain empties.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"

#include <cstdint>

namespace kwImplementation {
namespace Web {

// True while the handle names the window element on the page: from its
// creation until it is destroyed. Only pointer values are compared, so a stale
// handle (the recorded window after a run) is safe to pass.
bool IsLiveWindow(WindowHandle window);

// Stands for the window's own handling of its events (the drain's dispatch),
// as a window procedure value of the menu binding.
std::intptr_t OwnWindowProcedureValue();

// A menu item the user chose in the window's menu bar, taken off the queue.
void DispatchMenuChoice(WindowHandle window, unsigned int itemIdentifier);

// A right-click on the drawing surface at page position (x, y).
void DispatchContextMenuRequest(WindowHandle window, unsigned int x, unsigned int y);

} // namespace Web
} // namespace kwImplementation
