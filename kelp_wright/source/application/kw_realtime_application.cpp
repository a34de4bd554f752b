// Kelpwright: RealtimeApplication forwards to the process-wide run and to the
// window-menu binding; it holds nothing but its handler.
#include "application/kw_realtime_application.h"

#include "application/implementation/kwi_frame_timing.h"
#include "application/implementation/kwi_input_state.h"
#include "application/implementation/kwi_realtime_application_run.h"
#include "application/implementation/kwi_window_menu_binding.h"

#include <string>

namespace Kelpwright {
namespace Application {

RealtimeApplication::RealtimeApplication(ApplicationHandlerInterface& handler)
    : mHandler(handler)
{
}

void RealtimeApplication::Execute() { kwImplementation::RunRealtimeApplication(mHandler); }

void RealtimeApplication::Close() { kwImplementation::CloseRealtimeApplication(); }

void RealtimeApplication::SetWindowTitle(const std::string& title)
{
    kwImplementation::SetRealtimeWindowTitle(title.c_str());
}

void RealtimeApplication::SetWindowMenu(const ApplicationMenu& menu)
{
    kwImplementation::AttachMenuToWindow(kwImplementation::GetRealtimeApplicationState().windowHandle, menu,
                                         mHandler);
}

void RealtimeApplication::UseRealTime(float frameRateCap) { kwImplementation::UseRealTime(frameRateCap); }

bool RealtimeApplication::IsRealTime() const { return kwImplementation::GetFrameTiming().realTime; }

float RealtimeApplication::GetFrameTime() const
{
    const kwImplementation::FrameTiming& timing = kwImplementation::GetFrameTiming();
    return timing.realTime ? timing.frameTime : 0.0f;
}

bool RealtimeApplication::IsKeyDown(Key key) const
{
    const std::size_t index = static_cast<std::size_t>(key);
    return key != Key::Unknown && index < kKeyCount && kwImplementation::GetInputState().keysHeld[index];
}

bool RealtimeApplication::IsButtonDown(PointerButton button) const
{
    const std::size_t index = static_cast<std::size_t>(button);
    return index < kPointerButtonCount && kwImplementation::GetInputState().buttonsHeld[index];
}

PointerPosition RealtimeApplication::GetPointerPosition() const
{
    return kwImplementation::GetInputState().pointer;
}

DrawingSize RealtimeApplication::GetDrawingSize() const
{
    return kwImplementation::GetInputState().drawingSize;
}

} // namespace Application
} // namespace Kelpwright
