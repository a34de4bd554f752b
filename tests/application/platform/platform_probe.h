// Test support: what the platform tests read from the real window system and send to it; windows/
// and fltk/ each implement it for their backend.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"

#include <string>

namespace kwTest {

enum class Event { Activate, Deactivate, Paint, Resize, Key, ContextMenu, Mouse, Command, Close };

// As the user or window manager causes it, handled in the next drain once flushed. A command's
// `value` is its identifier (and high word); otherwise it varies details.
void Send(kwImplementation::WindowHandle window, Event event, unsigned int value);
void Flush();
// "left,top,right,bottom title" of the outer rectangle and caption, then the menu bar as
// "[Name#identifier:state[pop-up],...]" with separators named "-".
std::string Describe(kwImplementation::WindowHandle window);
int PresentedFrames(); // by the loop and for paints, in this process so far
int LiveMenus(kwImplementation::WindowHandle window); // window menus not destroyed (Win32: of the bars seen)

} // namespace kwTest
