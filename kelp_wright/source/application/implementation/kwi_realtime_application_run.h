// Kelpwright: the platform-neutral half of the realtime application. It owns
// the run's state (handler, window handle, created and running flags, dialog
// registry), the checks and their messages, the order of handler calls and the
// loop's shape. Backends report window events upward through the Notify
// functions below and never call the handler themselves.
#pragma once

#include "application/kw_application_handler_interface.h"

#include <vector>

namespace kwImplementation {

// Opaque handle of the application window (HWND on Win32, the top-level
// window object on FLTK).
typedef void* WindowHandle;

struct RealtimeApplicationState {
    Kelpwright::Application::ApplicationHandlerInterface* handler = nullptr;
    WindowHandle windowHandle = nullptr; // recorded on window creation, never cleared
    unsigned char created = 0; // true from the start to the end of a run
    unsigned char running = 0; // compared with exactly 1
    std::vector<WindowHandle> dialogs; // modeless dialogs; nothing fills it
};

RealtimeApplicationState& GetRealtimeApplicationState();

// The whole run: checks, window, context, show, loop, teardown.
void RunRealtimeApplication(Kelpwright::Application::ApplicationHandlerInterface& handler);
void CloseRealtimeApplication();
// Turns real time on (see RealtimeApplication::UseRealTime); a later call only changes the cap.
void UseRealTime(float frameRateCap);
void SetRealtimeWindowTitle(const char* title);

// What happened to the application window, as the backend saw it.
// FocusLost: the keyboard left the window without a deactivation being reported.
enum class WindowEvent { Created, Destroyed, Activated, Deactivated, FocusLost, Paint, Other };

// Every event of the application window goes through here, in the window's
// own handling (before any default processing the platform does).
void NotifyWindowEvent(WindowEvent event, WindowHandle window);

// The quit request was taken from the event queue: the loop ends after this drain.
void NotifyQuitReceived();

} // namespace kwImplementation
