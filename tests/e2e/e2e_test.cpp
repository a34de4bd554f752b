// End to end: the shipped programs of each build, started as a user starts them
// (Windows builds through Wine), judged by their windows' pixels, clicked, and
// closed the way a window manager closes them.
#include <gtest/gtest.h>

#include "x11.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kwE2e {
namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// A program in its own process group, printing into a file; killed if still running at the end.
struct Program {
    Program(std::vector<std::string> command, const std::string& file)
        : log(file)
    {
        if ((pid = fork()) != 0) return;
        setpgid(0, 0);
        // A sanitizer build reads the leak suppressions of third-party libraries.
        setenv("LSAN_OPTIONS", "suppressions=" KW_SOURCE_DIR "/tests/application/fltk/lsan.supp", 0);
        const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(output, 1), dup2(output, 2);
        std::vector<char*> arguments;
        for (std::string& part : command) arguments.push_back(&part[0]);
        arguments.push_back(nullptr);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    ~Program()
    {
        if (pid > 0 && code < 0 && kill(-pid, SIGKILL) == 0) waitpid(pid, nullptr, 0);
    }
    bool Exited(double seconds)
    {
        for (double end = Now() + seconds; code < 0 && Now() < end; Sleep(10)) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return code >= 0;
    }
    std::string Output() const { std::ifstream file(log); return {std::istreambuf_iterator<char>(file), {}}; }
    std::string log;
    pid_t pid;
    int code = -1;
};

// Pixels whose every channel lies between those of `low` and `high` (0xRRGGBB).
struct Colour {
    unsigned low, high;
};
const Colour kBackground{0x202023, 0x222225}, kWhite{0xE6E6E6, 0xFFFFFF}, kGrey{0x747474, 0x8C8C8C},
    kRed{0xDC0000, 0xFF2828}, kBlue{0x0000DC, 0x2828FF}, kDarkRed{0x740000, 0x8C1E1E}, kGreen{0x00D700, 0x28FF28};

// Count and mean position of the pixels of colour `c` in a square of the surface.
struct Hits {
    int count;
    double x, y;
};
Hits Find(const std::vector<unsigned long>& pixels, const Rect& s, Colour c, int left, int top, int right, int bottom)
{
    Hits hits{0, 0, 0};
    for (int y = std::max(top, 0); y <= std::min(bottom, s.h - 1); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, s.w - 1); ++x) {
            bool in = true;
            for (int shift = 0; shift < 24; shift += 8) {
                const unsigned v = pixels[y * s.w + x] >> shift & 255;
                in = in && v >= (c.low >> shift & 255) && v <= (c.high >> shift & 255);
            }
            if (in) hits = {hits.count + 1, hits.x + x, hits.y + y};
        }
    }
    return hits.count ? Hits{hits.count, hits.x / hits.count, hits.y / hits.count} : hits;
}

// Pixels near the plane's point (x, z) as the view shows it: eye 5 above the
// plane, +x right, -z up, f = 1 / tan(35 radians), aspect 4:3.
int Near(const std::vector<unsigned long>& pixels, const Rect& s, double x, double z, int r, Colour c)
{
    const double f = 1 / std::tan(35.0);
    const int px = static_cast<int>((1 + f / (4.0 / 3.0) * x / 5) / 2 * s.w), py = static_cast<int>((1 + f * z / 5) / 2 * s.h);
    return Find(pixels, s, c, px - r, py - r, px + r, py + r).count;
}

class EndToEnd : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        // Wine's 32-bit loader needs a machine that can execute IA-32 code.
        if (GetParam() == "win32" && std::system("/usr/lib/wine/wine --version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "this machine cannot run 32-bit Windows programs";
        ASSERT_NE(display, nullptr) << "no X display";
    }
    ~EndToEnd() override
    {
        if (display) XCloseDisplay(display);
    }

    // Starts the build's program and waits for its window (Wine may first make its prefix).
    Window Start(const std::string& name, const char* title)
    {
        const bool wine = GetParam() != "linux";
        const std::string file = (wine ? KW_SOURCE_DIR "/build/" + GetParam() : KW_BINARY_DIR) + ("/" + name) + (wine ? ".exe" : "");
        EXPECT_EQ(access(file.c_str(), X_OK), 0) << file << " was not built";
        std::vector<std::string> command{file};
        if (wine) command.insert(command.begin(), KW_SOURCE_DIR "/scripts/wine-run.sh");
        program.reset(new Program(command, name.substr(name.find('/') + 1) + "-" + GetParam() + ".out"));
        const Window window = WaitForWindow(display, title, 90);
        EXPECT_NE(window, 0u) << "no window titled \"" << title << "\"; the program printed:\n" << program->Output();
        return window;
    }
    void ExpectCleanExit(double seconds)
    {
        ASSERT_TRUE(program->Exited(seconds)) << "still running " << seconds << " s after being told to end";
        EXPECT_EQ(program->code, 0);
        EXPECT_EQ(program->Output().find("ASSERTION FAILED!"), std::string::npos) << program->Output();
    }

    Display* display = OpenDisplay();
    std::unique_ptr<Program> program;
};

TEST_P(EndToEnd, SkidwellDrawsTheCurveTestAndEndsOnCloseRequest)
{
    const Window window = Start("demo/skidwell", "Skidwell: Curve Test");
    ASSERT_NE(window, 0u);
    Sleep(1500);
    const Rect s = Surface(display, window);
    const std::vector<unsigned long> first = Grab(display, s);
    Sleep(700);
    const std::vector<unsigned long> second = Grab(display, s);
    ASSERT_TRUE(s.w > 100 && s.h > 100 && first.size() == static_cast<size_t>(s.w * s.h) && second.size() == first.size());

    EXPECT_EQ(Find(first, s, kBackground, 4, s.h - 5, 4, s.h - 5).count, 1) << std::hex << first[(s.h - 5) * s.w + 4];
    const double points[6][2] = {{-1, 0}, {-1, 0.5}, {0, 0.25}, {1, 0.5}, {1, 0}, {0, -1}};
    for (int i = 0; i < 6; ++i) {
        const double *p = points[i], *q = points[(i + 1) % 6], *before = points[(i + 5) % 6], *after = points[(i + 2) % 6];
        EXPECT_GE(Near(first, s, p[0], p[1], 6, kWhite), 4) << "no white ring at control point " << i;
        // The middle of a uniform Catmull-Rom segment from p to q.
        const double x = (9 * (p[0] + q[0]) - before[0] - after[0]) / 16, z = (9 * (p[1] + q[1]) - before[1] - after[1]) / 16;
        EXPECT_GE(Near(first, s, x, z, 3, kGrey), 1) << "no grey curve in the middle of segment " << i;
    }
    EXPECT_GE(Near(first, s, 0.5, 0, 2, kRed), 1) << "no red +x axis";
    EXPECT_GE(Near(first, s, 0, 0.5, 2, kBlue), 1) << "no blue +z axis";
    EXPECT_GE(Near(first, s, -0.5, 0, 2, kDarkRed), 1) << "no dark red -x axis";

    const Hits before = Find(first, s, kGreen, 0, 0, s.w, s.h), after = Find(second, s, kGreen, 0, 0, s.w, s.h);
    ASSERT_TRUE(before.count > 10 && after.count > 10) << "no green marker";
    EXPECT_GT(std::hypot(after.x - before.x, after.y - before.y), 3.0) << "the marker did not move";

    RequestClose(display, window);
    ExpectCleanExit(1.0);
}

TEST_P(EndToEnd, MenuSampleEndsOnFileExit)
{
    const Window window = Start("examples/kw_menu_sample", "Kelpwright Menu Sample");
    ASSERT_NE(window, 0u);
    Sleep(1000);
    // "File" is the menu bar's first entry, just above the drawing surface; its
    // menu is a new window that does not cover the click (as a highlight would).
    const Rect s = Surface(display, window);
    const int x = s.x + 15, y = s.y - 9;
    const std::vector<Window> old = Children(display, DefaultRootWindow(display));
    Click(display, x, y);
    Rect menu{0, 0, 0, 0};
    for (int i = 0; i < 50 && !menu.w; ++i, Sleep(100)) {
        for (Window popup : Children(display, DefaultRootWindow(display))) {
            const Rect r = Frame(display, popup);
            const bool covers = x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
            if (!menu.w && !covers && std::find(old.begin(), old.end(), popup) == old.end()) menu = r;
        }
    }
    ASSERT_GT(menu.w, 0) << "clicking \"File\" opened no menu";
    Click(display, menu.x + menu.w / 2, menu.y + 10); // "Exit", its first entry
    ExpectCleanExit(10.0);
}

TEST_P(EndToEnd, MenuSampleEndsOnCloseRequest)
{
    const Window window = Start("examples/kw_menu_sample", "Kelpwright Menu Sample");
    ASSERT_NE(window, 0u);
    Sleep(500);
    RequestClose(display, window);
    ExpectCleanExit(10.0);
}

std::vector<std::string> Builds()
{
    std::istringstream list(KW_E2E_BUILDS);
    return {std::istream_iterator<std::string>(list), {}};
}
INSTANTIATE_TEST_SUITE_P(e2e, EndToEnd, testing::ValuesIn(Builds()), [](const auto& info) { return info.param; });

} // namespace
} // namespace kwE2e
