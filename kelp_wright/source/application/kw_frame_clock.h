// Kelpwright: the time source of real-time frames (see
// RealtimeApplication::UseRealTime). The system clock is used unless a program
// or a test sets another one; nothing reads a clock while real time is off.
#pragma once

namespace Kelpwright {
namespace Application {

class FrameClockInterface {
public:
    virtual ~FrameClockInterface() {}
    // Seconds from any fixed origin; never decreases.
    virtual double NowSeconds() = 0;
    // Returns once NowSeconds() has reached the given time (at once if it has).
    virtual void WaitUntil(double seconds) = 0;
};

// The clock every later real-time frame reads; null restores the system clock.
// The clock is not owned and must outlive the runs that use it.
void SetFrameClock(FrameClockInterface* clock);

} // namespace Application
} // namespace Kelpwright
