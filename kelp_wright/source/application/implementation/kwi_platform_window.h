// Kelpwright: the steps a window backend supplies to the run sequence. Exactly
// one backend (windows/, fltk/ or web/) is compiled into a build. A backend
// reports events upward with NotifyWindowEvent / NotifyQuitReceived, input and
// the drawing size with the Notify functions of kwi_input_state.h, and never
// calls the application handler itself.
#pragma once

#include "application/implementation/kwi_realtime_application_run.h"

namespace kwImplementation {
namespace Platform {

// Registers the window class and creates the window at (50, 50) with the given
// outer size, titled "Kelpwright Project", not yet shown. Creation raises
// WindowEvent::Created before this returns. Returns the new window's handle.
WindowHandle CreateApplicationWindow(const Kelpwright::Application::WindowProperties& properties);

// Double-buffered RGBA context (32 colour, 16 depth, 8 stencil bits), made
// current on this thread, the first back buffer cleared to black.
void CreateRenderingContext(WindowHandle window);

// Makes the window visible (update, then show).
void ShowApplicationWindow(WindowHandle window);

// Acquires what the loop presents with (the loop's device context).
void BeginFrameLoop(WindowHandle window);

// Handles every event already queued without waiting; reports the quit request
// with NotifyQuitReceived and keeps draining after it.
void DrainEvents();

// Presents the back buffer of the frame just drawn.
void PresentFrame();

// Releases what BeginFrameLoop acquired.
void EndFrameLoop();

// Makes no context current and deletes the one made at set-up.
void DestroyRenderingContext(WindowHandle window);

// Destroys the window if it still exists, which raises WindowEvent::Destroyed.
void DestroyApplicationWindow(WindowHandle window);

// Answers a paint/expose of the window by presenting the back buffer.
void PaintWindow(WindowHandle window);

// Queues the quit request that a later DrainEvents reports.
void PostQuit();

// Changes the caption; does nothing useful for a null window.
void SetWindowTitle(WindowHandle window, const char* title);

// Real time only: asks the driver to present in step with the display
// (swap interval 1) where it offers that; nothing where it does not.
void RequestVerticalSync();

// Real time only: blocks the thread for about this many seconds (it may wake
// a little early).
void WaitSeconds(double seconds);

} // namespace Platform
} // namespace kwImplementation
