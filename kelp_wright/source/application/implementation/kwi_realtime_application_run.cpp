// Kelpwright: the run of the realtime application, shared by every backend.
// The sequence here is the whole contract: checks, CollectWindowProperties,
// window creation (raising OnWindowOpen), context, show, the loop of
// drain / OnRealtimeUpdate / present, and teardown in reverse.
#include "application/implementation/kwi_realtime_application_run.h"

#include "application/implementation/kwi_frame_timing.h"
#include "application/implementation/kwi_input_state.h"
#include "application/implementation/kwi_platform_window.h"
#include "core/kw_error.h"

using Kelpwright::Application::ApplicationHandlerInterface;
using Kelpwright::Application::WindowProperties;
using Kelpwright::Core::Error::ReportErrorIf;

namespace kwImplementation {

namespace {

const WindowProperties kDefaultWindowProperties = {800, 600};

RealtimeApplicationState sState;

// In real time a pass also measures its frame and, with a cap, waits out the
// rest of it; otherwise it reads no clock.
void RunLoop()
{
    const FrameTiming& timing = GetFrameTiming();
    do {
        Platform::DrainEvents();
        if (sState.running != 1) {
            break;
        }
        if (timing.realTime) {
            MeasureFrame();
        }
        sState.handler->OnRealtimeUpdate();
        Platform::PresentFrame();
        if (timing.realTime) {
            WaitOutFrame();
        }
    } while (sState.running == 1);
}

void OnWindowCreated(WindowHandle window)
{
    ReportErrorIf(sState.windowHandle != nullptr, __FILE__, __LINE__,
                  "kwInternalError: Expected window handle to be unused at this moment.");
    sState.windowHandle = window;
    if (sState.handler != nullptr) {
        sState.handler->OnWindowOpen();
    }
}

void OnWindowDestroyed()
{
    if (sState.handler != nullptr) {
        sState.handler->OnWindowClose();
    }
    Platform::PostQuit();
}

} // namespace

RealtimeApplicationState& GetRealtimeApplicationState() { return sState; }

void RunRealtimeApplication(ApplicationHandlerInterface& handler)
{
    if (sState.created) {
        ReportErrorIf(true, __FILE__, __LINE__,
                      "kwExternalError: Kelpwright currently supports only a single application at a time.");
        return;
    }
    if (sState.running == 1) {
        ReportErrorIf(true, __FILE__, __LINE__,
                      "kwInternalError: Expected application not to be running at this moment.");
        return;
    }

    WindowProperties properties = kDefaultWindowProperties;
    sState.created = 1;
    sState.handler = &handler;
    ResetInputState();
    ResetFrameTiming();
    handler.CollectWindowProperties(properties);

    // NOTE: OnWindowOpen runs inside this call, before any rendering context exists.
    const WindowHandle window = Platform::CreateApplicationWindow(properties);
    ReportErrorIf(sState.windowHandle == nullptr, __FILE__, __LINE__,
                  "kwInternalError, Expected window handle to be valid.");
    ReportErrorIf(sState.windowHandle != window, __FILE__, __LINE__,
                  "kwInternalError, Expected window handle to match.");
    if (sState.windowHandle == nullptr) {
        sState.created = 0;
        return;
    }

    Platform::CreateRenderingContext(sState.windowHandle);
    if (GetFrameTiming().realTime) {
        Platform::RequestVerticalSync();
    }
    Platform::ShowApplicationWindow(window);
    Platform::BeginFrameLoop(sState.windowHandle);
    // Set only now, so a Close before the loop starts has no effect.
    sState.running = 1;

    RunLoop();

    Platform::EndFrameLoop();
    Platform::DestroyRenderingContext(sState.windowHandle);
    // Raises OnWindowClose here when the loop was ended by Close.
    Platform::DestroyApplicationWindow(sState.windowHandle);
    sState.created = 0;
}

void CloseRealtimeApplication() { sState.running = 0; }

void UseRealTime(float frameRateCap)
{
    FrameTiming& timing = GetFrameTiming();
    timing.frameRateCap = frameRateCap > 0.0f ? frameRateCap : 0.0f;
    if (timing.realTime) {
        return;
    }
    timing.realTime = true;
    // A run already past its context set-up asks for vertical sync now.
    if (sState.running == 1) {
        Platform::RequestVerticalSync();
    }
}

void SetRealtimeWindowTitle(const char* title) { Platform::SetWindowTitle(sState.windowHandle, title); }

void NotifyWindowEvent(WindowEvent event, WindowHandle window)
{
    ReportErrorIf(sState.handler == nullptr, __FILE__, __LINE__,
                  "kwInternalError: Expected to have a valid ApplicationHandler at this moment.");
    ApplicationHandlerInterface* handler = sState.handler;
    switch (event) {
    case WindowEvent::Created:
        OnWindowCreated(window);
        break;
    case WindowEvent::Destroyed:
        OnWindowDestroyed();
        break;
    case WindowEvent::Activated:
        if (handler != nullptr) {
            handler->OnBecomeActive();
        }
        break;
    case WindowEvent::Deactivated:
        // The handler learns of the lost activation with nothing held any more.
        ReleaseHeldInput();
        if (handler != nullptr) {
            handler->OnBecomeInactive();
        }
        break;
    case WindowEvent::FocusLost:
        ReleaseHeldInput();
        break;
    case WindowEvent::Paint:
        Platform::PaintWindow(sState.windowHandle);
        break;
    case WindowEvent::Other:
        break;
    }
}

void NotifyQuitReceived() { sState.running = 0; }

} // namespace kwImplementation
