// Kelpwright: the windowed realtime application. Execute opens one window with
// an OpenGL context and runs the loop (drain events, OnRealtimeUpdate, swap)
// until the window closes or Close is called. Free of platform headers.
#pragma once

#include "application/kw_application_handler_interface.h"

#include <string>

namespace Kelpwright {
namespace Application {

class ApplicationMenu;

class RealtimeApplication {
public:
    explicit RealtimeApplication(ApplicationHandlerInterface& handler);
    ~RealtimeApplication() {}

    void Execute();
    // Ends the loop after the current pass. Before the loop starts (from
    // CollectWindowProperties, OnWindowOpen or an activation raised while the
    // window is shown) it has no effect.
    void Close();
    void SetWindowTitle(const std::string& title);
    // Makes the declared menu the window's menu bar; choices reach this
    // application's handler as OnMenuAction.
    void SetWindowMenu(const ApplicationMenu& menu);

    // Real time, for this and later runs: each frame's time is measured (see
    // kw_frame_clock.h) and drives the game's fixed steps, vertical sync is
    // asked for where the driver offers it, and with a frameRateCap above 0 a
    // frame that presenting did not hold up waits out the rest of
    // 1/frameRateCap s. Without this call every frame counts as 1/60 s and no
    // clock is read.
    void UseRealTime(float frameRateCap = 0.0f);
    bool IsRealTime() const;
    // The last frame's measured time in seconds; 0 while real time is off.
    float GetFrameTime() const;

    // The current input, as the callbacks have reported it so far.
    bool IsKeyDown(Key key) const;
    bool IsButtonDown(PointerButton button) const;
    PointerPosition GetPointerPosition() const;
    // The drawing surface's size in pixels; 0 x 0 before the window exists.
    DrawingSize GetDrawingSize() const;

private:
    ApplicationHandlerInterface& mHandler;
};

} // namespace Application
} // namespace Kelpwright
