// Kelpwright Win32 backend: the application window's keyboard, mouse and size
// messages, reported upward through the neutral input state.
#pragma once

#include <windows.h>

namespace kwImplementation {
namespace Windows {

// Reports what the message tells about keys, the pointer or the drawing size;
// every other message is left alone. The caller still passes each message on
// to the default processing (Alt and F10 open the menu bar there).
void ReportInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace Windows
} // namespace kwImplementation
