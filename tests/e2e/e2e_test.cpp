// End to end: each build's shipped programs run as a user runs them, judged by their pixels.
#include <gtest/gtest.h>

#include "x11.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sys/wait.h> // waitpid, and kill through <signal.h>

Display* const display = Open();

struct Colour {
    unsigned long low, high;
}; // bounds of each channel, 0xRRGGBB
bool In(unsigned long pixel, unsigned long mask, Colour c)
{
    return (pixel & mask) >= (c.low & mask) && (pixel & mask) <= (c.high & mask);
}
bool Is(unsigned long pixel, Colour c)
{
    return In(pixel, 0xFF0000, c) && In(pixel, 0xFF00, c) && In(pixel, 0xFF, c);
}
const Colour kBackground{0x202023, 0x222225}, kWhite{0xE6E6E6, 0xFFFFFF}, kGreen{0x00D700, 0x28FF28};

// Pixels of colour `c` within `r` of where the view puts the point (x, 0, z) on the surface
// `s`: eye 5 above the plane, +x right, -z up, f = 1 / tan(35 radians), aspect 4:3.
int Near(const std::vector<unsigned long>& pixels, const XWindowAttributes& s, double x, double z, int r,
         Colour c)
{
    const int px = int((1 + x / std::tan(35.0) / (4.0 / 3) / 5) / 2 * s.width),
              py = int((1 + z / std::tan(35.0) / 5) / 2 * s.height);
    int count = 0;
    for (int j = std::max(py - r, 0); j <= std::min(py + r, s.height - 1); ++j)
        for (int i = std::max(px - r, 0); i <= std::min(px + r, s.width - 1); ++i)
            count += Is(pixels[j * s.width + i], c);
    return count;
}

class EndToEnd : public testing::TestWithParam<std::string> {
protected:
    // Wine's 32-bit loader needs a machine that can execute IA-32 code.
    void SetUp() override
    {
        if (GetParam() == "win32" && std::system("/usr/lib/wine/wine --version >/dev/null 2>&1"))
            GTEST_SKIP();
    }
    void TearDown() override
    {
        if (pid > 0 && kill(-pid, SIGKILL) == 0)
            waitpid(pid, nullptr, 0);
    }

    // Starts the build's program in its own process group (Wine may first make its prefix); finds its
    // surface.
    void Start(const std::string& name, const char* title)
    {
        const bool wine = GetParam() != "linux";
        const std::string file = (wine ? KW_SOURCE_DIR "/build/" + GetParam() : KW_BINARY_DIR) + "/" + name +
            (wine ? ".exe" : ""),
                          command = (wine ? "exec " KW_SOURCE_DIR "/scripts/wine-run.sh " : "exec ") + file +
            " >" + log + " 2>&1";
        ASSERT_TRUE(display && access(file.c_str(), F_OK) == 0)
            << (display ? file + " was not built" : "no X display");
        setenv("LSAN_OPTIONS", "suppressions=" KW_SOURCE_DIR "/tests/application/fltk/lsan.supp",
               0); // third-party leaks
        if ((pid = fork()) == 0)
            setpgid(0, 0), execl("/bin/sh", "sh", "-c", command.c_str(), nullptr), _exit(127);
        ASSERT_NE(window = Find(display, title, 90), 0u)
            << "no window titled \"" << title << "\"; it printed:\n"
            << Output();
        for (int i = 0; Surface(display, window, s) == window && i < 50; ++i)
            usleep(100000); // a child comes later
        usleep(1500000);
        surface = Surface(display, window, s);
    }
    void ExpectCleanExit(double seconds)
    {
        int status = -1;
        for (int i = 0; i <= seconds * 100 && waitpid(pid, &status, WNOHANG) != pid; ++i, status = -1)
            usleep(10000);
        ASSERT_EQ(status, 0) << "wait status; -1: still running " << seconds << " s after being told to end";
        EXPECT_EQ(Output().find("ASSERTION FAILED!"), std::string::npos) << Output();
    }
    std::string Output() const
    {
        std::ifstream file(log);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    Window window = 0, surface = 0;
    XWindowAttributes s{}; // the surface's
    int pid = 0;
    const std::string log = KW_BINARY_DIR "/tests/e2e/" + GetParam() + ".out"; // what the program printed
};

TEST_P(EndToEnd, SkidwellDrawsTheCurveTestAndEndsOnCloseRequest)
{
    ASSERT_NO_FATAL_FAILURE(Start("demo/skidwell", "Skidwell: Curve Test"));
    const std::vector<unsigned long> first = Grab(display, surface, 0, 0, s.width, s.height),
                                     second =
                                         (usleep(700000), Grab(display, surface, 0, 0, s.width, s.height));
    ASSERT_TRUE(s.width > 100 && s.height > 100 && first.size() == s.width * s.height * 1ul &&
                second.size() == first.size());

    EXPECT_TRUE(Is(first[(s.height - 5) * s.width + 4], kBackground))
        << "background " << std::hex << first[(s.height - 5) * s.width + 4];
    // The calls are pinned below this layer; here the real view must put the rings where they belong.
    const double points[6][2] = {{-1, 0}, {-1, 0.5}, {0, 0.25}, {1, 0.5}, {1, 0}, {0, -1}};
    for (int i = 0; i < 6; ++i)
        EXPECT_GE(Near(first, s, points[i][0], points[i][1], 6, kWhite), 4)
            << "no white ring at control point " << i;
    int green[3] = {0, 0, 0}; // marker pixels in the first capture, in the second, in both
    for (size_t i = 0; i < first.size(); ++i)
        green[0] += Is(first[i], kGreen), green[1] += Is(second[i], kGreen),
            green[2] += Is(first[i], kGreen) && Is(second[i], kGreen);
    EXPECT_TRUE(green[0] > 10 && green[1] > 10 && green[2] < green[0] / 2)
        << "no green marker, or it did not move";
    RequestClose(display, window);
    ExpectCleanExit(1.0);
}

TEST_P(EndToEnd, MenuSampleEndsOnFileThenExit)
{
    ASSERT_NO_FATAL_FAILURE(Start("examples/kw_menu_sample", "Kelpwright Menu Sample"));
    const auto spot = [&](int y) {
        return Grab(display, surface, 15, y, 1, 1);
    }; // at y = 10 the menu will cover it
    Click(display, surface, 15, -9); // "File", the first entry of the bar above the drawing surface
    for (int i = 0; spot(10) == spot(60); ++i, usleep(100000))
        ASSERT_LT(i, 50) << "clicking \"File\" opened no menu";
    Click(display, surface, 15, 10, 500); // "Exit", the first entry of its menu
    ExpectCleanExit(10.0);
}

INSTANTIATE_TEST_SUITE_P(e2e, EndToEnd, testing::Values(KW_E2E_BUILDS),
                         [](const auto& info) { return info.param; });
