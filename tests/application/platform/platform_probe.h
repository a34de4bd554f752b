// Test support: what the platform tests read from the real window system and send to it; windows/
// and fltk/ each implement it for their backend.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"

#include <string>

namespace kwTest {

enum class Event { Activate, Deactivate, Paint, Resize, Key, ContextMenu, Mouse, Command, Close };

// As the user or window manager causes it, handled in the next drain once flushed. A command's
// `value` is its menu item identifier plus a high word; for the others it only varies details.
void Send(kwImplementation::WindowHandle window, Event event, unsigned int value);
void Flush();

// "left,top,right,bottom title" of the outer rectangle and the caption, "(not shown)" after it when the
// window is hidden or minimised.
std::string DescribeWindow(kwImplementation::WindowHandle window);
// The menu bar as the window system shows it, "[Name#identifier:state[pop-up],...]" with separators
// named "-" and the state 3 for disabled, 8 for checked ("_" after an item FLTK draws a divider under);
// "none" without a bar.
std::string DescribeMenuBar(kwImplementation::WindowHandle window);
// How the backend made the window and its drawing surface, one fact per line.
std::string DescribeCreation(kwImplementation::WindowHandle window);

int PresentedFrames(); // by the loop and for paints, in this process so far
int LiveMenus(kwImplementation::WindowHandle window); // window menus not destroyed (Win32: of the bars seen)

// Sends the row-th of the focus changes the activation test tries on this window system and names it;
// "" past the last.
std::string SendFocusChange(kwImplementation::WindowHandle window, size_t row);

#ifdef _WIN32
int TranslatedCharacters(); // WM_CHAR messages the drains took from the queue since the first call
int DeviceContextsPresentedTo(); // distinct ones, in this process
#endif

} // namespace kwTest
