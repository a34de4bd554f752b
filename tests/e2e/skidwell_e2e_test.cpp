// End to end: Skidwell started as a user starts it, in each build, under the
// test's X display. Its window is found by title, its pixels are checked where
// the scene's projection puts the rings, the curve, the axes and the marker,
// and the window manager's close request must end it with exit code 0.
#include "program_builds.h"
#include "program_process.h"
#include "scene_projection.h"
#include "x11_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace kwE2e {
namespace {

const char* const kProgram = "demo/skidwell";
const char* const kTitle = "Skidwell: Curve Test";

bool IsNear(int value, int expected, int tolerance) { return std::abs(value - expected) <= tolerance; }

bool IsWhite(const Rgb& c) { return c.red >= 230 && c.green >= 230 && c.blue >= 230; }
bool IsGrey(const Rgb& c) { return IsNear(c.red, 128, 12) && IsNear(c.green, 128, 12) && IsNear(c.blue, 128, 12); }
bool IsMarkerGreen(const Rgb& c) { return c.red <= 40 && c.green >= 215 && c.blue <= 40; }

// Pixels within `radius` of a position that pass `test`.
template <typename Test>
int CountNear(const Capture& capture, PixelPosition at, int radius, Test test)
{
    int count = 0;
    for (int y = static_cast<int>(at.y) - radius; y <= static_cast<int>(at.y) + radius; ++y) {
        for (int x = static_cast<int>(at.x) - radius; x <= static_cast<int>(at.x) + radius; ++x) {
            if (x >= 0 && y >= 0 && x < capture.area.width && y < capture.area.height && test(capture.At(x, y))) {
                ++count;
            }
        }
    }
    return count;
}

struct Centroid {
    int count;
    double x;
    double y;
};

Centroid MarkerCentroid(const Capture& capture)
{
    Centroid centroid = {0, 0.0, 0.0};
    for (int y = 0; y < capture.area.height; ++y) {
        for (int x = 0; x < capture.area.width; ++x) {
            if (IsMarkerGreen(capture.At(x, y))) {
                ++centroid.count;
                centroid.x += x;
                centroid.y += y;
            }
        }
    }
    if (centroid.count > 0) {
        centroid.x /= centroid.count;
        centroid.y /= centroid.count;
    }
    return centroid;
}

class SkidwellEndToEnd : public BuildProgramTest {
protected:
    SkidwellEndToEnd()
        : BuildProgramTest(kProgram)
    {
    }
};

TEST_P(SkidwellEndToEnd, DrawsTheCurveTestAndEndsOnCloseRequest)
{
    const std::string build = GetParam();
    ProgramProcess program(LaunchCommand(build, kProgram), ArtifactPath("skidwell-" + build + ".out"));
    ASSERT_TRUE(program.Started());

    const Window window = WaitForProgramWindow(program, kTitle);
    ASSERT_NE(window, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));

    const ScreenRectangle surface = mSession.DrawingSurface(window);
    const Capture first = mSession.Grab(surface);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const Capture second = mSession.Grab(surface);
    SaveCapture(first, ArtifactPath("skidwell-" + build + "-1.ppm"));
    SaveCapture(second, ArtifactPath("skidwell-" + build + "-2.ppm"));
    ASSERT_GT(first.area.width, 100);
    ASSERT_GT(first.area.height, 100);
    const int width = first.area.width;
    const int height = first.area.height;

    // Background (0.13, 0.13, 0.14) in a corner far from the scene.
    const Rgb corner = first.At(4, height - 5);
    EXPECT_TRUE(IsNear(corner.red, 33, 1) && IsNear(corner.green, 33, 1) && IsNear(corner.blue, 36, 1))
        << corner.red << "," << corner.green << "," << corner.blue;

    for (const auto& point : kControlPoints) {
        const PixelPosition at = ProjectCurveTestPoint(point[0], point[1], width, height);
        EXPECT_GE(CountNear(first, at, 6, IsWhite), 4) << "no white ring at (" << point[0] << ", 0, " << point[1] << ")";
    }

    for (int segment = 0; segment < 6; ++segment) {
        double x = 0.0, z = 0.0;
        CurvePoint(segment, 0.5, x, z);
        EXPECT_GE(CountNear(first, ProjectCurveTestPoint(x, z, width, height), 3, IsGrey), 1)
            << "no grey curve in the middle of segment " << segment;
    }

    // Positive x axis red, positive z axis blue, negative x half-axis dark red.
    EXPECT_GE(CountNear(first, ProjectCurveTestPoint(0.5, 0.0, width, height), 2,
                        [](const Rgb& c) { return c.red >= 220 && c.green <= 40 && c.blue <= 40; }), 1);
    EXPECT_GE(CountNear(first, ProjectCurveTestPoint(0.0, 0.5, width, height), 2,
                        [](const Rgb& c) { return c.red <= 40 && c.green <= 40 && c.blue >= 220; }), 1);
    EXPECT_GE(CountNear(first, ProjectCurveTestPoint(-0.5, 0.0, width, height), 2,
                        [](const Rgb& c) { return IsNear(c.red, 128, 12) && c.green <= 30 && c.blue <= 30; }), 1);

    const Centroid before = MarkerCentroid(first);
    const Centroid after = MarkerCentroid(second);
    ASSERT_GT(before.count, 10) << "no green marker in the first capture";
    ASSERT_GT(after.count, 10) << "no green marker in the second capture";
    EXPECT_GT(std::hypot(after.x - before.x, after.y - before.y), 3.0) << "the marker did not move";

    const auto requested = std::chrono::steady_clock::now();
    mSession.RequestClose(window);
    ASSERT_TRUE(program.WaitForExit(1.0)) << "still running a second after the close request";
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - requested).count();
    RecordProperty("secondsToExit", std::to_string(seconds));
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_EQ(program.Output().find("ASSERTION FAILED!"), std::string::npos) << program.Output();
}

INSTANTIATE_TEST_SUITE_P(Builds, SkidwellEndToEnd, testing::ValuesIn(BuildsUnderTest()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace kwE2e
