// Test support: what the platform tests need to see and do in the real window
// system. Each backend's test folder implements these against its platform
// (USER32 under Wine, FLTK/Xlib natively), so the shared tests read the same.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"

#include <array>
#include <string>
#include <vector>

namespace kwTest {

using kwImplementation::WindowHandle;

// Left, top, right, bottom.
typedef std::array<int, 4> WindowRectangle;

// One entry of a window's menu as the platform shows it.
struct MenuEntry {
    std::string name; // empty for a separator
    unsigned int identifier;
    unsigned int state; // 0, 3 (disabled), 8 (checked) or 11
    bool isSeparator;
    std::vector<MenuEntry> children; // the pop-up of this entry
};

// Outer rectangle of the window on the screen.
WindowRectangle GetOuterRectangle(WindowHandle window);
std::string GetWindowTitle(WindowHandle window);
bool WindowExists(WindowHandle window);
bool IsWindowShown(WindowHandle window);
// Whether an OpenGL context is current on this thread.
bool IsRenderingContextCurrent();
// How many times a back buffer has been presented to a window so far in this
// process: the loop's swaps and the presents that answer paint/expose alike.
int CountPresentedFrames();

// Reads the window's menu bar; false when the window has none.
bool ReadMenuBar(WindowHandle window, std::vector<MenuEntry>& entries);

// Queue an event for the loop's next drain, as the user or window manager would
// cause it.
void QueueCloseRequest(WindowHandle window);
void QueueMenuCommand(WindowHandle window, unsigned int identifier);
void QueueContextMenuRequest(WindowHandle window);

// Handles everything queued so far outside of a run (for tests that attach menus
// to a window they made themselves).
void DrainQueuedEvents();

// A bare top-level window of the platform for binding tests, and its removal.
WindowHandle CreatePlainWindow();
void DestroyPlainWindow(WindowHandle window);
// Messages (or events) that reached the plain window's own handling so far.
int CountEventsSeenByPlainWindow(WindowHandle window);

} // namespace kwTest
