// Kelpwright: real-time frame measurement and the frame-rate cap, on the
// replaceable frame clock (the system's monotonic clock by default).
#include "application/implementation/kwi_frame_timing.h"

#include "application/implementation/kwi_platform_window.h"
#include "application/kw_frame_clock.h"

#include <chrono>

using Kelpwright::Application::FrameClockInterface;

namespace kwImplementation {

namespace {

class SystemFrameClock : public FrameClockInterface {
public:
    double NowSeconds() override
    {
        const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration<double>(sinceEpoch).count();
    }

    void WaitUntil(double seconds) override
    {
        // A platform wait may wake early; it is asked again for what is left.
        for (double now = NowSeconds(); now < seconds; now = NowSeconds()) {
            Platform::WaitSeconds(seconds - now);
        }
    }
};

SystemFrameClock sSystemClock;
FrameClockInterface* sDefaultClock = &sSystemClock;
FrameClockInterface* sClock = &sSystemClock;
FrameTiming sTiming;

} // namespace

FrameTiming& GetFrameTiming() { return sTiming; }

void ResetFrameTiming()
{
    sTiming.measuring = false;
    sTiming.frameTime = 0.0f;
}

void MeasureFrame()
{
    const double now = sClock->NowSeconds();
    sTiming.frameTime = sTiming.measuring ? static_cast<float>(now - sTiming.frameStart) : 0.0f;
    sTiming.frameStart = now;
    sTiming.measuring = true;
}

void WaitOutFrame()
{
    if (sTiming.frameRateCap > 0.0f && sTiming.measuring) {
        sClock->WaitUntil(sTiming.frameStart + 1.0 / static_cast<double>(sTiming.frameRateCap));
    }
}

void SetDefaultFrameClock(FrameClockInterface* clock)
{
    FrameClockInterface* const previous = sDefaultClock;
    sDefaultClock = clock != nullptr ? clock : &sSystemClock;
    // A clock the program set stays in use.
    if (sClock == previous) {
        sClock = sDefaultClock;
    }
}

} // namespace kwImplementation

namespace Kelpwright {
namespace Application {

void SetFrameClock(FrameClockInterface* clock)
{
    kwImplementation::sClock = clock != nullptr ? clock : kwImplementation::sDefaultClock;
}

} // namespace Application
} // namespace Kelpwright
