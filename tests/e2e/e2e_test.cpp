// End to end: each build's shipped programs run as a user runs them, judged by their pixels. Every wait
// polls its condition with a deadline long enough for Wine on a loaded machine.
#include <gtest/gtest.h>

#include "x11.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace kwTest;

namespace {

Display* const sDisplay = Open();
const double kStartSeconds = 90; // Wine may first have to make its prefix
const double kSeconds = 60;
const std::chrono::milliseconds kSteady(300); // longer than any gap between two frames

struct Colour {
    unsigned long low; // the lower bound of each channel, 0xRRGGBB
    unsigned long high;
};
const Colour kBackground{0x202023, 0x222225}; // Skidwell's
const Colour kMenuSampleBackground{0x324C65, 0x344E67}; // glClearColor(0.2, 0.3, 0.4)
const Colour kTriangleBackground{0x181831, 0x1C1C35}; // glClearColor(0.1, 0.1, 0.2)
const Colour kOrange{0xE68A00, 0xFFB030}; // glColor3f(1.0, 0.6, 0.1)
const Colour kWhite{0xE6E6E6, 0xFFFFFF};
const Colour kGreen{0x00D700, 0x28FF28};
const Colour kGrey{0x787878, 0x888888}; // the curve's 0x808080

// The six points, x and z.
const double kControlPoints[6][2] = {{-1, 0}, {-1, 0.5}, {0, 0.25}, {1, 0.5}, {1, 0}, {0, -1}};

bool Is(unsigned long pixel, Colour c)
{
    for (const unsigned long mask : {0xFF0000ul, 0xFF00ul, 0xFFul}) {
        if ((pixel & mask) < (c.low & mask) || (pixel & mask) > (c.high & mask)) {
            return false;
        }
    }
    return true;
}

int Count(const std::vector<unsigned long>& pixels, Colour c)
{
    return static_cast<int>(
        std::count_if(pixels.begin(), pixels.end(), [&](unsigned long p) { return Is(p, c); }));
}

// Where a picture lies on the surface, in pixels.
struct Picture {
    double left;
    double top;
    double width;
    double height;
};

// Skidwell's picture fills the surface; the curve editor's is the largest 4:3 rectangle centred on it.
Picture Whole(const XWindowAttributes& s) { return {0, 0, double(s.width), double(s.height)}; }
Picture Centred(const XWindowAttributes& s)
{
    const double width = std::min(double(s.width), s.height * 4.0 / 3);
    const double height = std::min(double(s.height), s.width * 3.0 / 4);
    return {(s.width - width) / 2, (s.height - height) / 2, width, height};
}

// The pixel where the view puts the point (x, 0, z) in picture `p`: eye 5 above the plane, +x right, -z
// up, f = 1 / tan(35 radians), aspect 4:3.
struct Spot {
    int x;
    int y;
};
Spot Where(const Picture& p, double x, double z)
{
    return {static_cast<int>(p.left + (1 + x / std::tan(35.0) / (4.0 / 3) / 5) / 2 * p.width),
            static_cast<int>(p.top + (1 + z / std::tan(35.0) / 5) / 2 * p.height)};
}

// Pixels of colour `c` within `r` of a pixel on a surface of `s`.
int Near(const std::vector<unsigned long>& pixels, const XWindowAttributes& s, Spot at, int r, Colour c)
{
    int count = 0;
    for (int j = std::max(at.y - r, 0); j <= std::min(at.y + r, s.height - 1); ++j) {
        for (int i = std::max(at.x - r, 0); i <= std::min(at.x + r, s.width - 1); ++i) {
            count += Is(pixels[j * s.width + i], c) ? 1 : 0;
        }
    }
    return count;
}

// Where the guide's triangle points, in degrees in the image: from the centroid of its orange pixels to
// the one farthest from it, its apex (the other corners are a tenth nearer). NaN without a triangle.
double ApexAngle(const std::vector<unsigned long>& pixels, int width)
{
    double sumX = 0;
    double sumY = 0;
    int count = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (Is(pixels[i], kOrange)) {
            sumX += static_cast<double>(i % width);
            sumY += std::floor(static_cast<double>(i) / width); // the row
            ++count;
        }
    }
    if (count < 100) {
        return std::nan("");
    }
    double farthest = -1;
    double angle = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const double dx = static_cast<double>(i % width) - sumX / count;
        const double dy = std::floor(static_cast<double>(i) / width) - sumY / count;
        if (Is(pixels[i], kOrange) && dx * dx + dy * dy > farthest) {
            farthest = dx * dx + dy * dy;
            angle = std::atan2(dy, dx) * 180 / M_PI;
        }
    }
    return angle;
}

class EndToEnd : public testing::TestWithParam<std::string> {
protected:
    // Wine's 32-bit loader needs a machine that can execute IA-32 code.
    void SetUp() override
    {
        if (GetParam() == "win32" && std::system("/usr/lib/wine/wine --version >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "this machine cannot run 32-bit Windows programs";
        }
    }
    void TearDown() override
    {
        if (pid > 0 && kill(-pid, SIGKILL) == 0) {
            waitpid(pid, nullptr, 0);
        }
    }

    // Starts the build's program in a process group of its own and waits for its window, then for the
    // drawing surface (FLTK's GL child comes after the window) to show `background` in its corner.
    void Start(const std::string& name, const char* title, Colour background)
    {
        const bool wine = GetParam() != "linux";
        const std::string directory = wine ? KW_SOURCE_DIR "/build/" + GetParam() : KW_BINARY_DIR;
        const std::string file = directory + "/" + name + (wine ? ".exe" : "");
        const std::string runner = wine ? KW_SOURCE_DIR "/scripts/wine-run.sh " : "";
        const std::string command = "exec " + runner + file + " >" + log + " 2>&1";
        ASSERT_NE(sDisplay, nullptr) << "no X display";
        ASSERT_EQ(access(file.c_str(), F_OK), 0) << file << " was not built";
        // fontconfig's leaks in the FLTK build.
        setenv("LSAN_OPTIONS", "suppressions=" KW_SOURCE_DIR "/tests/application/fltk/lsan.supp", 0);
        pid = fork();
        if (pid == 0) {
            setpgid(0, 0);
            execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            _exit(127);
        }
        const bool found = WaitFor(kStartSeconds, [&] {
            window = Find(sDisplay, title, DefaultRootWindow(sDisplay));
            return window != 0;
        });
        ASSERT_TRUE(found) << "no window titled \"" << title << "\" appeared; the program printed:\n"
                           << Output();
        const bool drawn = WaitFor(kSeconds, [&] {
            surface = Surface(sDisplay, window, s);
            return s.width > 100 && s.height > 100 && Is(Pixel(4, s.height - 5), background);
        });
        ASSERT_TRUE(drawn) << "the background colour never showed in the surface's bottom left corner, last "
                           << std::hex << Pixel(4, s.height - 5);
    }
    unsigned long Pixel(int x, int y) const
    {
        const std::vector<unsigned long> pixel = Capture(x, y, 1, 1);
        return pixel.empty() ? 0 : pixel[0];
    }
    // A rectangle of the surface as the screen shows it, with what covers it: Wine's surface reads
    // black under a menu.
    std::vector<unsigned long> Capture(int x, int y, int width, int height) const
    {
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        XTranslateCoordinates(sDisplay, surface, DefaultRootWindow(sDisplay), x, y, &rootX, &rootY, &child);
        return Grab(sDisplay, DefaultRootWindow(sDisplay), rootX, rootY, width, height);
    }
    std::vector<unsigned long> Capture() const { return Capture(0, 0, s.width, s.height); }
    // The same once it has not changed for kSteady; empty if it never held still.
    std::vector<unsigned long> SteadyCapture(int x, int y, int width, int height) const
    {
        std::vector<unsigned long> last;
        auto since = std::chrono::steady_clock::now();
        const bool steady = WaitFor(kSeconds, [&] {
            const std::vector<unsigned long> now = Capture(x, y, width, height);
            if (now.empty() || now != last) {
                last = now;
                since = std::chrono::steady_clock::now();
                return false;
            }
            return std::chrono::steady_clock::now() - since >= kSteady;
        });
        if (!steady) {
            last.clear();
        }
        return last;
    }
    // Clicks the bar's first entry, above the surface's top left, and waits for its menu to cover (15, 10)
    // but not (15, 60); then the menu's corner as it shows, once steady.
    std::vector<unsigned long> OpenFirstMenu()
    {
        Click(sDisplay, surface, 15, -9);
        const bool opened = WaitFor(kSeconds, [&] { return Pixel(15, 10) != Pixel(15, 60); });
        EXPECT_TRUE(opened) << "clicking the bar's first entry opened no menu";
        return SteadyCapture(0, 0, 100, 45);
    }
    void ExpectCleanExit()
    {
        int status = -1;
        const bool ended = WaitFor(kSeconds, [&] { return waitpid(pid, &status, WNOHANG) == pid; });
        ASSERT_TRUE(ended) << "still running " << kSeconds << " s after being told to end";
        pid = 0;
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "exit code";
        EXPECT_EQ(Output().find("ASSERTION FAILED!"), std::string::npos) << Output();
    }
    // Whether a white ring shows where the curve editor's picture puts (x, 0, z).
    bool RingAt(double x, double z) const
    {
        const std::vector<unsigned long> pixels = Capture();
        return pixels.size() == static_cast<size_t>(s.width) * s.height &&
            Near(pixels, s, Where(Centred(s), x, z), 6, kWhite) >= 4;
    }
    bool AllRingsShow() const
    {
        return std::all_of(std::begin(kControlPoints), std::end(kControlPoints),
                           [&](const double* point) { return RingAt(point[0], point[1]); });
    }
    // The pointer to (x, 0, z) of the curve editor's picture, and a button pressed or released there.
    void PointerTo(double x, double z) const
    {
        const Spot at = Where(Centred(s), x, z);
        XWarpPointer(sDisplay, None, surface, 0, 0, 0, 0, at.x, at.y);
        XSync(sDisplay, False);
    }
    void Button(bool down) const
    {
        XTestFakeButtonEvent(sDisplay, 1, down ? True : False, CurrentTime);
        XSync(sDisplay, False);
    }
    // The window 200 pixels wider and 100 lower, as a user makes it: through Wine's own frame, its bottom
    // right corner dragged; the Linux program, without a frame of its own here, as a window manager does.
    void Widen() const
    {
        XWindowAttributes outer{};
        XGetWindowAttributes(sDisplay, window, &outer);
        if (GetParam() == "linux") {
            XResizeWindow(sDisplay, window, outer.width + 200, outer.height - 100);
            XSync(sDisplay, False);
            return;
        }
        XWarpPointer(sDisplay, None, window, 0, 0, 0, 0, outer.width - 2, outer.height - 2);
        Button(true);
        XWarpPointer(sDisplay, None, window, 0, 0, 0, 0, outer.width + 198, outer.height - 102);
        Button(false);
    }
    std::string Output() const
    {
        std::ifstream file(log);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    Window window = 0;
    Window surface = 0;
    XWindowAttributes s{}; // the surface's
    pid_t pid = 0;
    const std::string log = KW_BINARY_DIR "/tests/e2e/" + GetParam() + ".out"; // what the program printed
};

TEST_P(EndToEnd, SkidwellDrawsTheCurveTest)
{
    ASSERT_NO_FATAL_FAILURE(Start("demo/skidwell", "Skidwell: Curve Test", kBackground));
    const std::vector<unsigned long> first = Capture();
    ASSERT_EQ(first.size(), static_cast<size_t>(s.width) * s.height) << "the first capture failed";

    // The drawing calls are pinned below this layer; here the real view must put the rings where they belong.
    for (int i = 0; i < 6; ++i) {
        EXPECT_GE(Near(first, s, Where(Whole(s), kControlPoints[i][0], kControlPoints[i][1]), 6, kWhite), 4)
            << "no white ring at control point " << i;
    }
    const int marker = Count(first, kGreen);
    ASSERT_GT(marker, 10) << "no green marker in the first capture";

    // The marker moves: a later capture shows it, less than half of it where it was.
    int stayed = 0;
    const bool moved = WaitFor(kSeconds, [&] {
        const std::vector<unsigned long> later = Capture();
        if (later.size() != first.size() || Count(later, kGreen) <= 10) {
            return false;
        }
        stayed = 0;
        for (size_t i = 0; i < first.size(); ++i) {
            stayed += Is(first[i], kGreen) && Is(later[i], kGreen) ? 1 : 0;
        }
        return stayed < marker / 2;
    });
    EXPECT_TRUE(moved) << "the green marker never moved; " << stayed << " of its " << marker
                       << " pixels stayed";

    RequestClose(sDisplay, window);
    ExpectCleanExit();
}

TEST_P(EndToEnd, MenuSampleEndsOnFileExit)
{
    ASSERT_NO_FATAL_FAILURE(
        Start("examples/kw_menu_sample", "Kelpwright Menu Sample", kMenuSampleBackground));
    OpenFirstMenu(); // "File"
    Click(sDisplay, surface, 15, 10, 500); // "Exit", the first entry of that menu
    ExpectCleanExit();
}

// The guide's game: "Pause" stops the triangle and shows its check mark, "Pause" again restarts it
// and takes the mark away, "Quit" ends the run.
TEST_P(EndToEnd, TriangleGamePausesAndQuits)
{
    ASSERT_NO_FATAL_FAILURE(Start("examples/kw_triangle_game", "Kelpwright Triangle", kTriangleBackground));
    const std::vector<unsigned long> unchecked = OpenFirstMenu(); // "Game"
    Click(sDisplay, surface, 15, 10); // "Pause", the first entry
    const std::vector<unsigned long> paused = SteadyCapture(0, 60, s.width, s.height - 60);
    EXPECT_FALSE(paused.empty()) << "the triangle still turns after \"Pause\"";
    EXPECT_TRUE(OpenFirstMenu() != unchecked) << "no check mark beside \"Pause\"";

    Click(sDisplay, surface, 15, 10);
    const bool turning = WaitFor(kSeconds, [&] { return Capture(0, 60, s.width, s.height - 60) != paused; });
    EXPECT_TRUE(turning) << "the triangle did not turn again after the second \"Pause\"";
    EXPECT_TRUE(OpenFirstMenu() == unchecked) << "the check mark stayed beside \"Pause\"";
    Click(sDisplay, surface, 15, 28); // "Quit", the second entry
    ExpectCleanExit();
}

// The guide's game runs in real time: a quarter of a circle a second of wall time, however fast frames
// come. The apex is followed from capture to capture (each well under half a turn apart) for 2.5 s.
TEST_P(EndToEnd, TriangleGameTurnsInRealTime)
{
    const double kDegreesPerSecond = 90;
    const double kTolerance = 0.25;
    ASSERT_NO_FATAL_FAILURE(Start("examples/kw_triangle_game", "Kelpwright Triangle", kTriangleBackground));
    double last = ApexAngle(Capture(), s.width);
    ASSERT_FALSE(std::isnan(last)) << "no triangle in the first capture";
    const auto start = std::chrono::steady_clock::now();
    double turned = 0;
    double seconds = 0;
    const bool measured = WaitFor(kSeconds, [&] {
        const double angle = ApexAngle(Capture(), s.width);
        if (std::isnan(angle)) {
            return false;
        }
        turned += std::remainder(angle - last, 360.0);
        last = angle;
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return seconds >= 2.5;
    });
    ASSERT_TRUE(measured) << "the triangle was lost after " << seconds << " s";
    EXPECT_NEAR(std::fabs(turned) / seconds, kDegreesPerSecond, kDegreesPerSecond * kTolerance)
        << "degrees a second, " << turned << " in " << seconds << " s";
    RequestClose(sDisplay, window);
    ExpectCleanExit();
}

// The curve editor in one run: in a wider window every ring is where a centred 4:3 picture puts it (a
// stretched one would move four of them), a dragged ring stays where it is dropped with the curve through
// it, and File -> Exit ends the run.
TEST_P(EndToEnd, CurveEditorEditsTheCurve)
{
    ASSERT_NO_FATAL_FAILURE(Start("demo/editor/skidwell_editor", "Skidwell: Curve Editor", kBackground));
    const double* from = kControlPoints[2];
    const double kTo[2] = {0.4, -0.2}; // away from the curve and the axes

    // A wider window.
    const int width = s.width;
    Widen();
    const bool resized = WaitFor(kSeconds, [&] {
        surface = Surface(sDisplay, window, s);
        return s.width != width && AllRingsShow();
    });
    EXPECT_TRUE(resized) << "the rings are not where a centred 4:3 picture puts them on a " << s.width
                         << " x " << s.height << " surface";
    EXPECT_EQ(Near(Capture(), s, Where(Centred(s), kTo[0], kTo[1]), 10, kGrey), 0)
        << "the curve passes there already";

    // The drag.
    PointerTo(from[0], from[1]);
    Button(true);
    PointerTo(kTo[0], kTo[1]);
    Button(false);
    const bool dropped =
        WaitFor(kSeconds, [&] { return RingAt(kTo[0], kTo[1]) && !RingAt(from[0], from[1]); });
    EXPECT_TRUE(dropped) << "the ring is not where it was dropped";
    EXPECT_GE(Near(Capture(), s, Where(Centred(s), kTo[0], kTo[1]), 10, kGrey), 5)
        << "the curve misses the ring";

    OpenFirstMenu(); // "File"
    Click(sDisplay, surface, 15, 28); // "Exit", the second entry
    ExpectCleanExit();
}

INSTANTIATE_TEST_SUITE_P(e2e, EndToEnd, testing::Values(KW_E2E_BUILDS),
                         [](const auto& info) { return info.param; });

} // namespace
