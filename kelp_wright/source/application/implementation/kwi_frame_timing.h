// Kelpwright: real-time frames. While real time is on, the run measures each
// frame with the frame clock, and with a frame-rate cap waits out what is
// left of a frame after presenting it. While it is off nothing here reads a
// clock or waits.
#pragma once

namespace Kelpwright {
namespace Application {
class FrameClockInterface;
} // namespace Application
} // namespace Kelpwright

namespace kwImplementation {

struct FrameTiming {
    bool realTime = false;
    float frameRateCap = 0.0f; // frames a second; 0: no cap
    float frameTime = 0.0f; // seconds, measured by the last MeasureFrame
    bool measuring = false; // a frame start has been read in this run
    double frameStart = 0.0; // clock seconds at the last MeasureFrame
};

FrameTiming& GetFrameTiming();

// A run's first measured frame starts when it is measured.
void ResetFrameTiming();

// Reads the clock: the time since the last measurement becomes the frame time.
void MeasureFrame();

// With a cap: waits until 1/frameRateCap s after the last measurement.
void WaitOutFrame();

// The clock used while no program clock is set: the system's monotonic clock,
// or one a backend gives in its place (the web's animation frames). Null
// restores the system's.
void SetDefaultFrameClock(Kelpwright::Application::FrameClockInterface* clock);

} // namespace kwImplementation
