// Test support: what the platform tests read from the real window system and send to it; windows/
// and fltk/ each implement it for their backend.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"
#include "application/kw_input_types.h"

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

// Input as the user gives it, through the window system's own input path (XTest; SendInput under Wine),
// to the window that has the keyboard and to where the pointer is. Keys are named by the platform's
// own code: an X keysym, a Win32 virtual-key code. Repeat: the keyboard's auto-repeat of a held key
// (X repeats a held key by itself, so there it sends nothing).
enum class KeyAction { Press, Repeat, Release };
void SendKey(kwImplementation::WindowHandle window, int nativeCode, KeyAction action);
// (x, y) of the drawing surface, as the window system places the surface; it may be outside.
void MovePointer(kwImplementation::WindowHandle window, int x, int y);
void SendButton(kwImplementation::WindowHandle window, Kelpwright::Application::PointerButton button,
                bool down);
void SendWheel(kwImplementation::WindowHandle window, int notches); // positive away from the user
// Gives the keyboard focus to the window, or takes it away as another window would.
void SetKeyboardFocus(kwImplementation::WindowHandle window, bool toWindow);
// The drawing surface's size as the window system has it.
Kelpwright::Application::DrawingSize SurfaceSize(kwImplementation::WindowHandle window);

#ifdef _WIN32
int TranslatedCharacters(); // WM_CHAR messages the drains took from the queue since the first call
int DeviceContextsPresentedTo(); // distinct ones, in this process
#endif

} // namespace kwTest
