// End-to-end test support: build folders, Wine launch and captures on disk.
#include "program_builds.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace kwE2e {

namespace {

std::string BuildFolder(const std::string& build)
{
    if (build == "linux") {
        return KW_BINARY_DIR;
    }
    return std::string(KW_SOURCE_DIR) + "/build/" + build;
}

} // namespace

std::vector<std::string> BuildsUnderTest()
{
    std::vector<std::string> builds;
    std::istringstream list(KW_E2E_BUILDS);
    std::string build;
    while (std::getline(list, build, ',')) {
        builds.push_back(build);
    }
    return builds;
}

std::string ProgramPath(const std::string& build, const std::string& relativePath)
{
    const std::string suffix = build == "linux" ? "" : ".exe";
    return BuildFolder(build) + "/" + relativePath + suffix;
}

bool ProgramBuilt(const std::string& build, const std::string& relativePath)
{
    struct stat status;
    return stat(ProgramPath(build, relativePath).c_str(), &status) == 0;
}

std::vector<std::string> LaunchCommand(const std::string& build, const std::string& relativePath)
{
    if (build == "linux") {
        return {ProgramPath(build, relativePath)};
    }
    return {std::string(KW_SOURCE_DIR) + "/scripts/wine-run.sh", ProgramPath(build, relativePath)};
}

std::string WhyNotRunnable(const std::string& build)
{
    // 32-bit Windows programs need Wine's 32-bit loader, which some machines
    // (sandboxes without IA-32 execution) cannot start at all.
    if (build == "win32" && std::system("/usr/lib/wine/wine --version >/dev/null 2>&1") != 0) {
        return "this machine cannot execute 32-bit x86 programs, so Wine cannot start the win32 build";
    }
    return "";
}

std::string ArtifactPath(const std::string& name) { return std::string(KW_E2E_ARTIFACTS) + "/" + name; }

void SaveCapture(const Capture& capture, const std::string& path)
{
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << capture.area.width << " " << capture.area.height << "\n255\n";
    for (const Rgb& pixel : capture.pixels) {
        file.put(static_cast<char>(pixel.red));
        file.put(static_cast<char>(pixel.green));
        file.put(static_cast<char>(pixel.blue));
    }
}

void BuildProgramTest::SetUp()
{
    const std::string why = WhyNotRunnable(GetParam());
    if (!why.empty()) {
        GTEST_SKIP() << why;
    }
    ASSERT_TRUE(ProgramBuilt(GetParam(), mProgram)) << ProgramPath(GetParam(), mProgram) << " was not built";
    ASSERT_TRUE(mSession.IsOpen()) << "no X display";
}

Window BuildProgramTest::WaitForProgramWindow(const ProgramProcess& program, const char* title)
{
    // Wine creates its prefix on first use, which can take a while.
    const Window window = mSession.WaitForWindow(title, 90.0);
    if (window == 0) {
        ADD_FAILURE() << "no window titled \"" << title << "\"; the program printed:\n" << program.Output();
    }
    return window;
}

} // namespace kwE2e
